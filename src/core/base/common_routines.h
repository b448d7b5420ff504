#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class TextTable;

// Splits text at sep the way every data file of the program is read: the text is trimmed of
// blanks (U+0020 only), each piece is trimmed of trailing blanks, the working text of leading
// ones, so with sep " " a run of blanks is one separator and a trailing separator adds no piece.
// Pieces are stored from index 1; pieces[0] is never written, and elements past the new count
// keep what they held. Returns the count; past 32,767 pieces the rest of the text is ignored.
int16_t split_text(const QString& sep, const QString& text, QStringList& pieces);

// How a sort by date ended: sorted, or the first data row whose date does not parse.
struct DateSortResult {
    int bad_row = 0; // 0 when sorted
    explicit operator bool() const { return bad_row == 0; }
};

// What a sort by date does besides reordering.
struct DateSortOptions {
    int serial_col = -1;       // when >= 0, each row's day serial is written into this column first
    int* follow_row = nullptr; // when set, moved to the index where that row ends up
};

// Sorts the data rows of grid (row 0 is the header) ascending by the date in column col; rows of
// the same day keep their order. When a date does not parse, the grid is left unchanged.
DateSortResult sort_grid_by_date(TextTable& grid, int col, const DateSortOptions& options = {});

// C(n, k) as a 64-bit float, products formed in ascending order; 0 when n < k.
double binomial(int16_t n, int16_t k);

// C(K, k) * C(N - K, n - k) / C(N, n), with the intermediate quotient rounded to a 32-bit float.
float hypergeometric(int16_t N, int16_t K, int16_t n, int16_t k);
