#include "core/base/text_files.h"

#include "core/base/convert.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five bytes that have no character.
constexpr std::array<char16_t, 32> high_block = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

void decode_cp1252(QByteArrayView bytes, char16_t* out) {
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char16_t u = b;
        if (b >= 0x80 && b < 0xA0 && high_block[b - 0x80] != 0)
            u = high_block[b - 0x80];
        *out++ = u;
    }
}

QString decode_cp1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    decode_cp1252(bytes, reinterpret_cast<char16_t*>(out.data()));
    return out;
}

namespace {

// The Windows-1252 byte of a character, or -1 when it has none.
int cp1252_byte(char16_t u) {
    // The five bytes without a character read as U+0081 etc. and must write back unchanged.
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u < 0xA0 && high_block[u - 0x80] == 0))
        return u;
    for (int i = 0; i < 32; ++i)
        if (high_block[i] == u)
            return 0x80 + i;
    return -1;
}

} // namespace

QByteArray encode_cp1252(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar ch : text) {
        const int b = cp1252_byte(ch.unicode());
        *dst++ = static_cast<char>(b < 0 ? '?' : b);
    }
    return out;
}

void append_cp1252(QByteArray& out, QStringView text) {
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char* dst = out.data() + at;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        const int b = u < 0x80 ? u : cp1252_byte(u);
        *dst++ = static_cast<char>(b < 0 ? '?' : b);
    }
}

bool fits_cp1252(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return cp1252_byte(c.unicode()) >= 0; });
}

QString storable_number_text(const QString& typed, int value) {
    // A blank, a line break or any control character would split the field or the line in the
    // file: then the number's own digits.
    const bool one_field = std::none_of(typed.begin(), typed.end(), [](QChar c) {
        return c.unicode() <= u' ' || c.category() == QChar::Other_Control;
    });
    return one_field && fits_cp1252(typed) ? typed : QString::number(value);
}

QString storable_date_text(QStringView typed) {
    QString date = without_direction_marks(typed);
    qsizetype begin = 0, end = date.size();
    while (begin < end && date[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && date[end - 1].unicode() <= u' ')
        --end;
    return date.sliced(begin, end - begin);
}

QString decode_text_file(const QByteArray& bytes) {
    // Editors that save as UTF-8 may put a byte-order mark first; such a file is read as UTF-8,
    // unless what follows is not UTF-8 or holds a character the next save could not write back:
    // then it is read like any other file, so a save gives back the same bytes.
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        const QByteArray rest = bytes.sliced(bom.size());
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(rest);
        return !utf8.hasError() && fits_cp1252(text) ? text : decode_cp1252(rest);
    }
    return decode_cp1252(bytes);
}

QStringList split_lines(const QString& text) {
    QStringList lines;
    for_each_line(text, [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}

namespace {

FileOpener& file_opener() {
    static FileOpener opener;
    return opener;
}

bool fail_with(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

} // namespace

void set_file_opener(FileOpener opener) {
    file_opener() = std::move(opener);
}

std::optional<QByteArray> read_whole_device(QIODevice& device, qint64 expected, QString* error) {
    QByteArray bytes;
    if (expected > max_read_size) {
        fail_with(error, QStringLiteral("the file is larger than %1, the most the program reads")
                             .arg(QLatin1String(max_read_size_text)));
        return std::nullopt;
    }
    if (expected > 0)
        bytes.reserve(expected);
    // In pieces until the device says it has ended: one read may return less than asked for,
    // and an error partway must not pass for the end of the file.
    constexpr qint64 piece = qint64(1) << 20;
    for (;;) {
        const qint64 at = bytes.size();
        if (at >= max_read_size) {
            fail_with(error, QStringLiteral("the file is larger than %1, the most the program reads")
                                 .arg(QLatin1String(max_read_size_text)));
            return std::nullopt;
        }
        const qint64 want = std::min(piece, max_read_size - at);
        bytes.resize(at + want);
        const qint64 got = device.read(bytes.data() + at, want);
        if (got < 0) {
            fail_with(error,
                      QStringLiteral("reading failed after %1 bytes: %2").arg(at).arg(device.errorString()));
            return std::nullopt;
        }
        bytes.resize(at + got);
        if (got == 0)
            break;
    }
    if (expected >= 0 && bytes.size() < expected) {
        fail_with(error,
                  QStringLiteral("the file ended after %1 of its %2 bytes").arg(bytes.size()).arg(expected));
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> read_whole_file(const QString& path, QString* error) {
    // Not opened before it is known to be a regular file: opening a pipe waits for a writer.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        fail_with(error, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        fail_with(error, S_ISDIR(st.st_mode)
                             ? QStringLiteral("it is a folder, not a file")
                             : QStringLiteral("it is not a regular file (a device or a pipe)"));
        return std::nullopt;
    }
    const qint64 size = static_cast<qint64>(st.st_size);
    if (const FileOpener& opener = file_opener()) {
        const std::unique_ptr<QIODevice> device = opener(path);
        return read_whole_device(*device, size, error);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        fail_with(error, file.errorString());
        return std::nullopt;
    }
    return read_whole_device(file, size, error);
}

QString excerpt(QStringView text, qsizetype max) {
    if (text.size() <= max)
        return text.toString();
    return text.first(max).toString() + QStringLiteral("... (%1 characters in all)").arg(text.size());
}

std::optional<QStringList> read_text_lines(const QString& path, QString* error) {
    const auto bytes = read_whole_file(path, error);
    if (!bytes)
        return std::nullopt;
    return split_lines(decode_text_file(*bytes));
}

bool write_file_atomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Unbuffered, so that a disk that fills up fails the write here: an error met only when the
    // buffer is flushed does not stop QSaveFile::commit from replacing the file with a cut one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool write_export_file(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo info(path);
    if (!info.exists() || info.isFile()) {
        QSaveFile file(path);
        const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                        file.write(bytes) == bytes.size() && file.flush() && file.commit();
        if (!ok && error)
            *error = file.errorString();
        return ok;
    }
    // A device or a pipe takes the bytes where it is; a regular file in its place would break
    // whatever reads from it.
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                    file.write(bytes) == bytes.size() && file.flush();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

bool write_text_lines(const QString& path, const QStringList& lines) {
    QString text;
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    text.reserve(total);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return write_file_atomically(path, encode_cp1252(text));
}

FileStamp::Look FileStamp::look_of(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<quint64>(st.st_ino)};
}

void FileStamp::take(const QString& path) {
    path_ = path;
    look_ = look_of(path);
}

bool FileStamp::changed(const QString& path) const {
    return !path_.isEmpty() && path == path_ && !(look_of(path) == look_);
}
