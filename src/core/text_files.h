#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Data files are single-byte Windows-1252 text with CR LF line ends.
QString decode_cp1252(const QByteArray& bytes);
// Characters without a Windows-1252 byte become '?'.
QByteArray encode_cp1252(const QString& text);

// Reads a whole text file as lines; CR LF and LF both end a line, and a last line without an end
// counts. nullopt when the file cannot be opened.
std::optional<QStringList> read_text_lines(const QString& path);

// Writes lines, each followed by CR LF, replacing the file only once everything is written: a
// failed or interrupted save leaves the previous file whole. False on failure.
bool write_text_lines(const QString& path, const QStringList& lines);
bool write_file_atomically(const QString& path, const QByteArray& bytes);
