#pragma once

// What the search is after: the published rows to reproduce, and the options of a run.

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/systems/guar_results.h"
#include "core/systems/system_catalogue.h"

namespace wheel_search {

using Gaps = std::array<int16_t, 6>;
using HitRow = std::array<int, 5>; // counts of tickets with 2..6 hits

struct Candidate {
    Gaps gaps{};
    PositionMask mask = 0; // rotation starting at position 1
};

// A published row of the results table that the tickets must reproduce.
struct Target {
    std::string_view name;
    int row;
    HitRow worst;
    HitRow best;
    bool stretch; // searched only in the bounded second stage
};

inline constexpr std::array<Target, 11> targets{{
    {"10_3_6", 2, {2, 0, 0, 0, 0}, {4, 0, 0, 0, 0}, false},
    {"10_3_6", 3, {6, 1, 0, 0, 0}, {3, 3, 0, 0, 0}, false},
    {"10_3_6", 4, {6, 4, 0, 0, 0}, {2, 3, 2, 0, 0}, false},
    {"10_3_6", 5, {2, 6, 2, 0, 0}, {3, 2, 3, 1, 0}, false},
    {"10_3_6", 6, {0, 4, 6, 0, 0}, {1, 4, 4, 0, 1}, false},
    {"10_4_6", 4, {15, 12, 1, 0, 0}, {12, 9, 4, 0, 0}, false},
    {"12_3_5", 5, {17, 12, 0, 0, 0}, {16, 8, 1, 1, 0}, false},
    {"20_4_6", 2, {37, 0, 0, 0, 0}, {42, 0, 0, 0, 0}, false},
    {"20_4_6", 3, {90, 7, 0, 0, 0}, {86, 12, 0, 0, 0}, false},
    {"20_4_6", 4, {145, 25, 1, 0, 0}, {132, 28, 4, 0, 0}, false},
    // Rows 5 and 6 of 20_4_6 are a stretch goal: one bounded attempt, rows 2 to 4 kept.
}};

inline constexpr std::array<Target, 2> stretch_targets{{
    {"20_4_6", 5, {182, 57, 5, 0, 0}, {179, 58, 4, 2, 0}, true},
    {"20_4_6", 6, {191, 101, 15, 0, 0}, {197, 96, 14, 1, 1}, true},
}};

struct Options {
    uint64_t seed = 1;
    std::string only;
    std::string out;
    std::string start;
    long long stretch_moves = 0;        // 0: no stretch attempt
    long long target_moves = 5'000'000; // per attempt
    int attempts = 200;
    int cover_weight = 2;
    int outside_weight = 1;
    double t_hi = 2.0;
    double t_lo = 0.2;
    bool fresh_starts = false;
    int stretch_hard_weight = 3;
    int stretch_outside_weight = -1; // -1: as --outside-weight
    int stretch_rounds = 1;
    double stretch_t_hi = -1; // -1: as --t-hi
    double stretch_t_lo = -1; // -1: as --t-lo
    bool pair_descent = false;
    long long exchange_steps = 0; // 0: no exchange search
    std::string write_lp;         // write the exact model and stop
    std::string lp_solution;      // take the base tickets from a solver's solution
    int lp_keep = -1;             // with --start: keep all but this many of its base tickets (-1: free)
    bool lp_own_rows = false;     // targets are the --start wheel's own rows (a check of the model)
    int exchange_k = 3;
    int tabu_tenure = 7;
    int exchange_hard_weight = 0;
    bool exchange_free_cover = false;
};

} // namespace wheel_search
