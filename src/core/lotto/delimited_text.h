#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// Delimited text as people publish it: comma, semicolon, tab or blank-separated, quoted fields
// (RFC 4180, doubled quotes inside), CR LF, LF or CR line ends.

// The separator that stands for runs of blanks and tabs.
inline constexpr QChar blank_runs = u' ';

// Reads records one at a time without copying the text; the text must outlive the reader. Cells
// are trimmed of blanks; a quoted cell keeps what is inside its quotes.
class DelimitedReader {
  public:
    DelimitedReader(QStringView text, QChar separator);

    // Moves to the next record; false at the end of the text.
    bool next();
    // The physical line (from 1) on which the record starts.
    qsizetype line() const { return line_; }
    // The record's text without its line end (more than one line when a quoted cell holds breaks).
    QStringView raw() const { return text_.sliced(start_, end_ - start_); }
    qsizetype size() const { return static_cast<qsizetype>(cells_.size()); }
    QStringView cell(qsizetype i) const;
    // Where the cell lies in the text, or -1 when it is a copy (a quoted cell with doubled quotes).
    qsizetype cell_offset(qsizetype i) const;
    // True when every cell is empty, as for a blank line or a line of separators only.
    bool blank() const;

  private:
    struct Cell {
        qsizetype start = 0;
        qsizetype length = 0;
        bool unquoted_copy = false; // the text lies in scratch_, its doubled quotes undone
    };
    void add_cell(qsizetype from, qsizetype to);
    qsizetype read_quoted(qsizetype quote);
    bool at_line_end(qsizetype i) const;

    QStringView text_;
    QChar separator_;
    qsizetype pos_ = 0;
    qsizetype next_line_ = 1;
    qsizetype line_ = 0;
    qsizetype start_ = 0;
    qsizetype end_ = 0;
    std::vector<Cell> cells_;
    QString scratch_;
};

// The separator of most lines among the first ones: tab, semicolon, comma or bar when one of them
// parts the lines into at least min_fields cells consistently, otherwise blank_runs.
QChar detect_separator(QStringView text, int min_fields);

// A cell as a field of a delimited record: quoted when it holds the separator, a quote, a line
// break or blanks at either end.
QString quote_cell(QStringView cell, QChar separator);

// Text decoded from a file's bytes, with the name of the encoding that was used.
// The bytes of one code unit of an encoding: 2 for UTF-16, 4 for UTF-32, 1 for the rest.
int code_unit_size(const QString& encoding);

struct DecodedText {
    QString text;
    QString encoding;
    QString error; // set when the bytes could not be decoded; text is then empty
};

// Decodes bytes in the named encoding (any that Qt's converters know), or, when encoding is empty,
// in the one the bytes show: a byte-order mark, valid UTF-8, plain Windows-1252, or else the guess
// of a character-set detector.
DecodedText decode_published_text(const QByteArray& bytes, const QString& encoding);
