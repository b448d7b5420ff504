#pragma once

// What the wheel tests share: a brute-force count of covered subsets that trusts nothing of the
// designer, and a small random source of the tests' own.
#include "core/wheels/wheel_params.h"

#include <bit>
#include <span>
#include <vector>

// Walks every v-bit mask; fine for v up to about 20.
inline uint64_t brute_force_covered(const WheelParams& s, std::span<const Ticket> tickets) {
    uint64_t covered = 0;
    for (uint64_t set = 0; set < (uint64_t{1} << s.v); ++set) {
        if (std::popcount(set) != s.m)
            continue;
        for (const Ticket t : tickets)
            if (std::popcount(t & set) >= s.t) {
                ++covered;
                break;
            }
    }
    return covered;
}

// count tickets of k different numbers of 1..v, from a fixed linear congruential sequence.
inline std::vector<Ticket> random_tickets(int v, int k, int count, uint32_t seed) {
    std::vector<Ticket> tickets;
    uint32_t x = seed * 2654435761u + 1;
    for (int i = 0; i < count; ++i) {
        Ticket t = 0;
        while (std::popcount(t) < k) {
            x = x * 1664525u + 1013904223u;
            t |= Ticket{1} << ((x >> 8) % static_cast<uint32_t>(v));
        }
        tickets.push_back(t);
    }
    return tickets;
}
