#pragma once

#include "core/systems/guar_results.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Average profitability of a system on a targeted set, and the draws to play for the highest prize
// class with a prize.

// Prize of class k at [k][0], of class k+bonus at [k][1]; k = 2..6 used.
using PrizeTable = std::array<std::array<float, 2>, 7>;

// Column 1 of rows 1..10 of the forecasting-abilities grid (row 2k - 3: class k, row 2k - 2:
// class k+bonus); an empty text is a factor of 1.
using FaTexts = std::array<QString, 10>;

struct ProfitInputs {
    int16_t play_n = 0;
    int16_t pick_n = 0;
    int16_t set_size = 0;
    PrizeTable prizes{};
    GuarAvg guar_avg;
    FaTexts fa;
    int tickets = 0; // tickets played per draw
    float cost = 0;  // of one play
};

// The net return per ticket and unit of stake, every step rounded to a 32-bit float. nullopt on
// what cannot be worked out: a factor that is not a number, no tickets or no set, an overflow.
std::optional<float> average_profitability(const ProfitInputs& in);

// Tickets of the system named: its base tickets times its v. A name outside the catalogue falls
// back to base_count * set_size; nullopt when that does not fit in 16 bits.
std::optional<int> profit_ticket_count(const QString& system_name, int16_t base_count, int16_t set_size);

struct TimesToPlay {
    enum class Outcome { ok, no_lotto, error };
    Outcome outcome = Outcome::error;
    int32_t times = 0;
};

// Draws to play so that, at the confidence level (a percentage), the count of drawn numbers that
// the highest prize class needs falls into the set at least once. prize_texts: the ten prize boxes
// in the order 2, 2+bonus, ... 6+bonus. no_lotto when that probability is exactly 1.
TimesToPlay how_long_to_play(int16_t play_n, int16_t pick_n, int16_t set_size,
                             const std::array<QString, 10>& prize_texts, const FaTexts& fa,
                             const QString& level_text);
