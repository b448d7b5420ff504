#pragma once

#include "core/lotto/lotto_records.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

class DelimitedReader;

// Which columns hold what, counted from 0; -1 where there is none.
struct ColumnMap {
    int date = -1;
    int date_columns = 1; // 3: the date's fields spread over columns date to date + 2
    std::vector<int> numbers;
    int bonus = -1;
    int draw_number = -1;
};

// The text form "date=C,numbers=C1-C6,bonus=C|none,drawno=C" with columns counted from 1; bonus
// and drawno may be left out; "date=C1-C3" reads a date whose fields lie in three consecutive
// columns. *error names what is wrong.
std::optional<ColumnMap> parse_column_map(QStringView text, QString* error);
// The text form of a map whose numbers lie in consecutive columns.
QString column_map_text(const ColumnMap& map);

// A condition "COLUMN=VALUE" that keeps only the rows whose cell in COLUMN (a header name, or a
// column counted from 1) is VALUE, ignoring case and surrounding blanks.
struct ColumnFilter {
    QString column;
    QString value;
};
std::optional<ColumnFilter> parse_column_filter(QStringView text, QString* error);

// A header name compared without case, accents, blanks or punctuation: "Numéro 1" is "numero1".
QString normalized_name(QStringView name);
// The map the header's names give (Date, N1..N6 or Ball 1.., Bonus, Draw No.), when they name the
// date and pick_n numbers.
std::optional<ColumnMap> columns_from_header(const DelimitedReader& header, int pick_n);
// A map read from what the first records hold: the first column of dates (or three columns of
// numbers making day, month and year), the first run of pick_n columns of distinct numbers in
// range that most records share, and a bonus column right after it when it holds numbers in range.
std::optional<ColumnMap> suggest_columns(std::vector<QStringList> records, const LottoParams& lotto);
