#pragma once

#include "core/lotto/lotto_records.h"

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class TextTable;

// Numbers run up to 90 in every lotto the program knows.
inline constexpr int max_lotto_number = 90;

enum class FrequencyFault {
    none,
    no_draws,    // fewer than 3 draws in the table
    no_criteria, // no draw on or after From
    bad_data,    // a date or a number that does not read, a number above 90
};

struct FrequencyCount {
    FrequencyFault fault = FrequencyFault::none;
    std::array<int, max_lotto_number + 1> counts{}; // by number; [0] unused
    int draws = 0;                                  // draws counted
    // The numbers 1..play_n by frequency, highest first; equal counts keep ascending numbers.
    std::vector<int16_t> order;
};

// Sorts the draws table (layout in lotto/lotto_files.h) ascending by its hidden serial column;
// rows without a serial go last.
void sort_draws_by_serial(TextTable& draws);

// Counts, in a draws table sorted by date, how often each number was drawn in the draws from the
// first one on or after from (whole days) to the last one up to to, taking every step-th draw.
// Only the pick_n drawn numbers count, never the bonus. Blank rows are no draws and are passed
// over. from and to are day serials; a draw whose date and time equal to ends the period.
FrequencyCount calc_fr(const TextTable& draws, double from, double to, int step, int pick_n, int play_n);

// The same count over draw records, all of them: the pick_n drawn numbers of each, never the bonus,
// and the same order. A number outside 0..90 is not counted.
FrequencyCount count_draws(std::span<const DrawRec> draws, int pick_n, int play_n);

// The frequency table: "Number" and "Frequency", the numbers by frequency, a blank row and
// "Total draws".
void fill_frequency_table(TextTable& table, const FrequencyCount& count);

enum class FrequencyRule { lowest, lowest_positive, highest };
// The size numbers a rule takes from the order of a count: the most frequent first, the least
// frequent first, or the least frequent that were drawn at all, least frequent last.
// Requires size <= order.size().
std::vector<int16_t> choose_numbers(FrequencyRule rule, const FrequencyCount& count, int size);

// size distinct numbers 1..n in the order drawn, from a generator seeded with seed. Empty when
// there are not enough numbers (size > n).
std::vector<int16_t> get_rand(int size, int n, quint32 seed);
