#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs save in a child process that may write at most `limit` bytes to any file, as on a full
// disk; the limit holds for root too, unlike a read-only folder. Returns what save returned, or
// nullopt when the child did not finish normally (a crash counts as a failed test, not a save).
template <class Save> std::optional<bool> save_with_file_size_limit(rlim_t limit, Save save) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG instead
        const rlimit cap{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &cap) != 0)
            _exit(3);
        _exit(save() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// The entries of a folder: a failed save must leave no temporary file behind.
inline QStringList folder_entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}
