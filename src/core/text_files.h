#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Data files are single-byte Windows-1252 text with CR LF line ends.
QString decode_cp1252(const QByteArray& bytes);
// Characters without a Windows-1252 byte become '?'.
QByteArray encode_cp1252(const QString& text);

// A text file's bytes as text: Windows-1252, or UTF-8 when the file starts with a UTF-8 byte-order
// mark (the mark itself is dropped) and every character has a Windows-1252 byte.
QString decode_text_file(const QByteArray& bytes);
// CR LF, LF and a lone CR each end a line; a last line without an end counts.
QStringList split_lines(const QString& text);
// Reads a whole text file as lines (the two above). nullopt when the file cannot be opened.
std::optional<QStringList> read_text_lines(const QString& path);

// Writes lines, each followed by CR LF, replacing the file only once everything is written: a
// failed or interrupted save leaves the previous file whole. False on failure.
bool write_text_lines(const QString& path, const QStringList& lines);
bool write_file_atomically(const QString& path, const QByteArray& bytes);
