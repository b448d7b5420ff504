#pragma once

#include "core/lotto/lotto_records.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// What a draw history itself says about its gaps. A weekday is a draw day from the first draw on
// it that the following weeks repeat until its draws lapse, so a game may move from one draw a
// week to two and back. Where draw numbers are known, a run of consecutive numbers shows its
// dates complete whatever their weekdays.
struct HistoryCheck {
    // Expected draw dates without a draw (day serials, ascending), never before the first stored
    // draw nor after the last.
    std::vector<double> missing;
    // Indexes into the history of draws on a weekday the game did not use around them.
    std::vector<size_t> suspicious;
    // Dates holding more than one draw, ascending, with their number of draws.
    std::vector<std::pair<double, int>> crowded;
};

// numbered: (draw number, day serial) pairs of the draws whose numbers are known, in any order.
HistoryCheck check_history(const std::vector<DrawRec>& history,
                           const std::vector<std::pair<int64_t, double>>& numbered = {});

// A run of missing draw numbers, between the dates of the draws numbered around it.
struct DrawNumberGap {
    int64_t first = 0;
    int64_t last = 0;
    double before = 0;
    double after = 0;
};

// The gaps in the draw numbers of (number, day serial) pairs, in any order, taken in date order; a
// number given twice counts once, and numbering that goes back or leaps further than the dates
// allow starts a new scheme rather than a gap.
std::vector<DrawNumberGap> draw_number_gaps(std::vector<std::pair<int64_t, double>> numbered);

// Missing draws the gaps add to those the check found by date: a gap whose dates already hold
// as many missing dates adds none.
int64_t missing_beyond_dates(const std::vector<DrawNumberGap>& gaps, const std::vector<double>& missing);

// One line per finding, by date: "missing draw: 2024-01-10 (Wednesday)", "suspicious draw: ...",
// "several draws: ...", "missing draw numbers: ...".
QStringList history_check_lines(const HistoryCheck& check, const std::vector<DrawRec>& history, int pick_n,
                                const std::vector<DrawNumberGap>& gaps = {});

// The last line of a check: "Checked 3622 draws from 1982-06-12 to 2024-01-31: 4 draw dates
// missing, 1 suspicious draw, 0 dates with several draws."
QString check_summary(const HistoryCheck& check, const std::vector<DrawRec>& history);

// Why a stored draw cannot be a draw of a lotto with numbers 1..play_n, pick_n a draw: one of its
// first pick_n numbers outside 1..play_n or given twice, or a bonus outside 0..play_n or repeating
// one of them. Empty when it can be.
QString impossible_draw_reason(const DrawRec& draw, int play_n, int pick_n);

// "3 11 19 27 35 43 bonus 7": the pick_n numbers in stored order, the bonus unless it is 0.
QString draw_numbers_text(const DrawRec& draw, int pick_n);

// A stable sort that takes one pass over a range already in order or in strictly reverse order,
// as published histories mostly are.
template <class It, class Less> void sort_stable(It first, It last, Less less) {
    if (std::is_sorted(first, last, less))
        return;
    if (std::adjacent_find(first, last, [&](const auto& a, const auto& b) { return !less(b, a); }) == last) {
        std::reverse(first, last);
        return;
    }
    std::stable_sort(first, last, less);
}
