#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The counts the rest of the program can handle: the frequency counters and the set window know
// the numbers 1..90, and a ticket holds at most six.
inline constexpr int16_t max_play_n = 90;
inline constexpr int16_t max_pick_n = 6;

// The parameters of one lotto, in the order of its parameter file.
struct LottoParams {
    int16_t play_n = 0; // numbers in play: numbers run from 1 to this
    int16_t pick_n = 0; // numbers drawn per draw and chosen per play
    float prize2 = 0, prize3 = 0, prize4 = 0, prize5 = 0, prize6 = 0;
    float prize2b = 0, prize3b = 0, prize4b = 0, prize5b = 0, prize6b = 0;
    float cost = 0;
    QString currency;

    friend bool operator==(const LottoParams&, const LottoParams&) = default;
};

// One draw: its day serial, the numbers in the order of the entry boxes and the bonus (0 = none).
struct DrawRec {
    double date = 0;
    std::array<int16_t, 6> n{};
    int16_t nb = 0;

    friend bool operator==(const DrawRec&, const DrawRec&) = default;
};
