#pragma once

#include "core/lotto/lotto_records.h"

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class TextTable;

// The parameter boxes in the order Save converts them: numbers in play, numbers picked, then the
// prizes row by row (2, 2+bonus, 3, 3+bonus, ... 6+bonus) and the cost.
inline constexpr int param_text_count = 13;
using ParamTexts = std::array<QString, param_text_count>;

// Converts the texts into params one member at a time. Returns the index of the first text that
// does not convert, or -1; the members before it keep their new values. Values that convert but
// have a fault (see param_fault) change nothing and return the index of the box at fault.
int texts_to_params(const ParamTexts& texts, LottoParams& params, const QLocale& loc = QLocale());
// What the boxes show for params (same order).
ParamTexts params_to_texts(const LottoParams& params, const QLocale& loc = QLocale());

// The draw entry boxes: date, N1..N6, the bonus.
inline constexpr int draw_text_count = 8;
using DrawTexts = std::array<QString, draw_text_count>;

// What Check_draw reports for a box: "date", "n1" .. "n6", "nb".
QString draw_box_label(int box);

enum class DrawFault { none, empty, not_a_value, out_of_range };
struct DrawCheck {
    DrawFault fault = DrawFault::none;
    int box = -1; // the failing box
    DrawRec draw; // complete only when fault is none
};

// Checks the boxes in order and stops at the first failure. The date takes a time of day; the
// numbers are 16-bit, N1..N3 from 1 and N4..N6 and the bonus from 0, all up to play_n.
DrawCheck check_draw(const DrawTexts& texts, int16_t play_n, const QLocale& loc = QLocale());

// Converts the texts into draw one member at a time, without range checks. False at the first text
// that does not convert; the members before it keep their new values.
bool texts_to_draw(const DrawTexts& texts, DrawRec& draw, const QLocale& loc = QLocale());

// What Add keeps of boxes that passed check_draw as draw: the texts as typed, except what a file
// could not hold (direction marks in the date, a locale's own digits in a number).
DrawTexts storable_draw_texts(const DrawTexts& typed, const DrawRec& draw);

// Appends the draws of the table's rows that read as draws, in table order, each dated by its day.
// Returns the first row that does not read (a row being typed, a slip), or 0 when all do.
int table_draws(const TextTable& grid, std::vector<DrawRec>& draws, const QLocale& loc = QLocale());

// A draws table row as entry texts, and back. Writing also refreshes the row's hidden day serial
// (left empty when the date does not parse).
DrawTexts draw_row_texts(const TextTable& grid, int row);
void set_draw_row_texts(TextTable& grid, int row, const DrawTexts& texts, const QLocale& loc = QLocale());
