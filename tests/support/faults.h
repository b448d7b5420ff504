#pragma once

#include "core/base/text_files.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Faults that bind root too, unlike a read-only folder or a file without read permission. Each
// runs in a child process, so that the limit dies with it.

// Runs step in a child process. Returns what step returned, or nullopt when the child did not
// finish normally (a crash counts as a failed test, not as a result).
template <class Step> std::optional<bool> in_child_process(Step step) {
    const pid_t child = fork();
    if (child == 0)
        _exit(step() ? 0 : 1);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// Runs save in a child process that may write at most `limit` bytes to any file, as on a full
// disk.
template <class Save> std::optional<bool> save_with_file_size_limit(rlim_t limit, Save save) {
    return in_child_process([&] {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG instead
        const rlimit cap{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &cap) != 0)
            _exit(3);
        return save();
    });
}

// Runs step with no file descriptor left, so that every file it opens fails to open, as an
// unreadable file does; the limit is lifted again afterwards. Only for a child process: a failure
// to set the limit ends it as a crash.
template <class Step> void with_no_file_descriptor_left(Step step) {
    rlimit old{};
    if (getrlimit(RLIMIT_NOFILE, &old) != 0)
        _exit(3);
    int lowest_free = 0;
    while (fcntl(lowest_free, F_GETFD) != -1)
        ++lowest_free;
    rlimit cap = old;
    cap.rlim_cur = rlim_t(lowest_free);
    if (setrlimit(RLIMIT_NOFILE, &cap) != 0)
        _exit(3);
    step();
    if (setrlimit(RLIMIT_NOFILE, &old) != 0)
        _exit(3);
}

// The entries of a folder: a failed save must leave no temporary file behind.
inline QStringList folder_entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

// A device that gives the bytes of a file up to `cut`, then fails as a disk that cannot be read
// does (or, with fail false, ends there although the file is longer). Random access, so that
// its size is the file's.
class CutReadDevice final : public QIODevice {
  public:
    CutReadDevice(QByteArray bytes, qint64 cut, bool fail)
        : bytes_(std::move(bytes)), cut_(cut), fail_(fail) {
        open(QIODevice::ReadOnly);
    }
    qint64 size() const override { return bytes_.size(); }

  protected:
    qint64 readData(char* data, qint64 max) override {
        const qint64 at = pos();
        if (at >= cut_) {
            if (!fail_)
                return 0;
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        // Small pieces, as a device may give: the reader must not stop at the first.
        const qint64 n = std::min({max, cut_ - at, qint64(4096)});
        std::memcpy(data, bytes_.constData() + at, static_cast<size_t>(n));
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray bytes_;
    qint64 cut_;
    bool fail_;
};

// While it lives, every file the readers read goes through a CutReadDevice cut at `share` of
// its size.
class ReadsCutShort {
  public:
    ReadsCutShort(double share, bool fail) {
        set_file_opener([share, fail](const QString& path) -> std::unique_ptr<QIODevice> {
            QFile file(path);
            QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            const auto cut = static_cast<qint64>(static_cast<double>(bytes.size()) * share);
            return std::make_unique<CutReadDevice>(std::move(bytes), cut, fail);
        });
    }
    ~ReadsCutShort() { set_file_opener({}); }
    ReadsCutShort(const ReadsCutShort&) = delete;
    ReadsCutShort& operator=(const ReadsCutShort&) = delete;
};
