#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class TextTable;

// Forecasting abilities: how often the rows of a targeted set held k of the drawn numbers (and the
// bonus) compared with a random set of the same size.

// Rows 1..10 of the results grid: row 2k - 3 is class k, row 2k - 2 class k+bonus.
inline constexpr int fa_class_rows = 10;
QString fa_class_label(int row);

// A grid of the classes and their factors: two columns, the header row and the class column fixed.
void lay_out_fa_grid(TextTable& grid, int rows, const QString& factor_header);

// [k][0]: probability of exactly k of the drawn numbers in a random set; [k][1]: the same times
// the probability of exactly one, for the bonus classes. Only k = 2..6 are filled.
using FaTable = std::array<std::array<float, 2>, 7>;
FaTable fa_expected(int16_t play_n, int16_t pick_n, int16_t set_size);

// Column 0 of every data row as a day serial with its time of day; nullopt where the text is no date.
std::vector<std::optional<double>> grid_dates(const TextTable& grid);

// Over dates of the data rows 1..n (dates[r - 1] for row r), in ascending order, compared by
// whole days. find_start: the first row on or after from, 0 when there is none or an unreadable
// date comes first. find_end: the row before the first one after to (the last row when none is
// after it, or when an unreadable date comes first).
int find_start(double from, std::span<const std::optional<double>> dates);
int find_end(double to, std::span<const std::optional<double>> dates);

// Pairs (i, j) with a[i] = b[j] > 0: a number held twice in b counts twice.
int intersect(std::span<const int16_t> a, std::span<const int16_t> b);

// A number cell as a 16-bit integer; 0 (no number) when it cannot be read.
int16_t number_cell(QStringView text);

struct FaRows {
    int first = 0;
    int last = 0;
};

struct FaCounts {
    std::array<std::array<int, 2>, 7> hits{}; // [m][0] m matches, [m][1] m matches and the bonus
    int evaluated = 0;
};

// Matches every draw of draw_rows (draws table: numbers in columns 2.., bonus in column 8) against
// every set row of set_rows with the same date and time (set grid: numbers in columns 1..size).
// Rows whose date cannot be read are left out. A draw with two set rows of its date counts twice.
FaCounts count_fa_hits(const TextTable& draws, std::span<const std::optional<double>> draw_dates,
                       FaRows draw_rows, const TextTable& sets,
                       std::span<const std::optional<double>> set_dates, FaRows set_rows, int16_t pick_n,
                       int16_t set_size);

// The text of one class: the ratio of observed to expected hits at hundredths, halves to even,
// or "1" when it is 1 or less or cannot be formed (no draw evaluated, an expectation of 0).
QString fa_ratio_text(int hits, int evaluated, float expected);

// Column 1 of rows 1..10.
std::array<QString, fa_class_rows> fa_result_texts(const FaCounts& counts, const FaTable& expected);

class LottoDocument;
class TsetDocument;

// What calculating the forecasting abilities of the current set on the current lotto gave.
struct FaRun {
    // done, or the first thing missing: a lotto, its numbers, a set, its size.
    enum Status { done, no_lotto, bad_lotto, no_tset, bad_tset_size } status = done;
    FaTable expected{};
    // Whether both the draws and the set have rows in the period (else every class shows "1").
    bool counted = false;
    int evaluated = 0;
    std::array<QString, fa_class_rows> texts;
};
// Matches each draw of from..to with the set row of its date. The draws and rows are those the
// documents hold now, unsaved edits included; a document without rows (its window closed) gives
// no count.
FaRun run_fa(const LottoDocument& lotto, const TsetDocument& tset, double from, double to);
// What a calculation was made for: "lotto, set name, from to to".
QString fa_basis_text(const QString& lotto, const QString& set, double from, double to);
