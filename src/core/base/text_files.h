#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;

// Data files are single-byte Windows-1252 text with CR LF line ends.
QString decode_cp1252(const QByteArray& bytes);
// The same into out, which holds bytes.size() characters.
void decode_cp1252(QByteArrayView bytes, char16_t* out);
// Characters without a Windows-1252 byte become '?'.
QByteArray encode_cp1252(const QString& text);
// True when every character has a Windows-1252 byte, so the text survives a save unchanged.
bool fits_cp1252(QStringView text);

// What a number typed as `typed` is kept as in a file: the text as typed, unless the file could not
// hold it as one field (a locale's own digits, a blank or a line break around the digits): then
// the ASCII digits of the value it was read as.
QString storable_number_text(const QString& typed, int value);
// What a date that parsed is kept as in a file: the text as typed without its direction marks and
// without blanks or line breaks around it.
QString storable_date_text(QStringView typed);

// A text file's bytes as text: Windows-1252, or UTF-8 when the file starts with a UTF-8 byte-order
// mark (the mark itself is dropped) and every character has a Windows-1252 byte.
QString decode_text_file(const QByteArray& bytes);
// CR LF, LF and a lone CR each end a line; a last line without an end counts.
QStringList split_lines(const QString& text);
// The same lines without a copy: calls f(QStringView line) for each.
template <class F> void for_each_line(QStringView text, F f) {
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r')
            continue;
        f(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        f(text.sliced(start));
}
// The most any file is read to: beyond it a file is refused, not read until memory runs out.
inline constexpr qint64 max_read_size = qint64(2) << 30;
inline constexpr char max_read_size_text[] = "2 GB";

// Reads the whole of a regular file. A file that is no regular file (a device, a pipe, a folder)
// is refused before it is opened, so that nothing waits on it or reads it without end; a read
// that fails or ends short of the file's size is a file that cannot be read, never a shorter
// file. nullopt with *error (why, without the path) when the file cannot be read.
std::optional<QByteArray> read_whole_file(const QString& path, QString* error = nullptr);
// The same from an open device that should hold expected bytes (-1 when it cannot say).
std::optional<QByteArray> read_whole_device(QIODevice& device, qint64 expected, QString* error = nullptr);
// Where read_whole_file reads a path from; tests give a device that fails partway. Null for the
// file itself.
using FileOpener = std::function<std::unique_ptr<QIODevice>(const QString& path)>;
void set_file_opener(FileOpener opener);

// At most max characters of text quoted in a message, the rest counted: a line of garbage must
// not make a report as long as itself.
QString excerpt(QStringView text, qsizetype max = 200);

// Reads a whole text file as lines (the two above). nullopt (with *error) when it cannot be read.
std::optional<QStringList> read_text_lines(const QString& path, QString* error = nullptr);

// Writes lines, each followed by CR LF, replacing the file only once everything is written: a
// failed or interrupted save leaves the previous file whole. False on failure.
bool write_text_lines(const QString& path, const QStringList& lines);
bool write_file_atomically(const QString& path, const QByteArray& bytes);
// Writes a file the user chose to export to: a new or regular file as write_file_atomically does
// (with what went wrong in error); an existing file that is not regular (a device, a pipe) is
// written to in place and never replaced.
bool write_export_file(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Appends text as Windows-1252 bytes, '?' for a character that has none.
void append_cp1252(QByteArray& out, QStringView text);

// How a file looked when the program last read or wrote it, so that a save can tell whether
// somebody else has changed it since (another program, a hand edit). A save replaces the file by a
// new one, so the file's identity changes with every save, whatever its size and time.
class FileStamp {
  public:
    // Takes the look of the file at path now (a missing file counts as a look too).
    void take(const QString& path);
    void clear() { path_.clear(); }
    // True when path is the file stamped and it no longer looks the same; a file never stamped
    // has not changed.
    bool changed(const QString& path) const;

  private:
    struct Look {
        bool exists = false;
        qint64 size = 0;
        qint64 modified_ns = 0;
        quint64 inode = 0;
        friend bool operator==(const Look&, const Look&) = default;
    };
    static Look look_of(const QString& path);
    QString path_;
    Look look_;
};
