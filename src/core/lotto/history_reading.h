#pragma once

#include "core/lotto/column_map.h"
#include "core/lotto/delimited_text.h"
#include "core/lotto/draw_dates.h"
#include "core/lotto/lotto_records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// Reading a published draw history: the checks that its bytes are delimited text, its decoding,
// and each row's date, numbers, bonus and draw number as the column map places them. The merge
// (draw_import.h) builds on these.

// The bytes of a history as text, or why they are none: empty, binary, a workbook, an HTML page,
// or not readable in the encoding (given, or detected when empty).
struct HistoryText {
    QString text;
    QString encoding; // the encoding the text was read in; empty when refused before decoding
    QString error;
};
HistoryText read_history_text(const QByteArray& bytes, const QString& encoding);

// A whole number, optionally signed; nullopt for other text.
std::optional<int64_t> whole_number(QStringView s);

// One row after its header, as read before the file's date order is known.
struct Row {
    qsizetype line = 0;
    qsizetype raw_start = 0;
    qsizetype raw_length = 0;
    qsizetype date_at = -1; // the date cell in the text, when it is not a copy
    qsizetype date_length = 0;
    PublishedDate date;
    DrawRec draw;
    int64_t draw_number = -1;
    int error = -1; // index into the reasons, or -1
    bool counted = true;
    enum class Fate : uint8_t { unmerged, added, present, conflicting };
    Fate fate = Fate::unmerged;
};

class RowReader {
  public:
    RowReader(const ColumnMap& map, const LottoParams& lotto) : map_(map), lotto_(lotto) {}

    // Reads the mapped cells into row; false with *why set when the row is not a draw.
    bool read(const DelimitedReader& r, Row& row, QString* why) const;

  private:
    const ColumnMap& map_;
    const LottoParams& lotto_;
};

// Whether the record holds exactly these cells (the header line repeated).
bool same_cells(const DelimitedReader& r, const QStringList& cells);
// The record's cells as text.
QStringList cells_of(const DelimitedReader& r);
