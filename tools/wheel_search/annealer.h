#pragma once

// Simulated annealing over the base tickets, and a descent over pairs of one-number moves.

#include "problem.h"

namespace wheel_search {

inline double uniform01(std::mt19937_64& rng) {
    return static_cast<double>(rng() >> 11) * 0x1.0p-53;
}

// Simulated annealing over the base tickets: a move swaps one base ticket for an unused class.
// The energy weighs uncovered classes far above the distance from the goal rows; the result is the
// lowest-energy state seen.
struct Annealer {
    const Problem& pr;
    std::vector<Target> hard; // rows that must match
    std::vector<Target> soft; // rows to approach (stretch)
    int cover_weight = 1000;
    int hard_weight = 1;
    const char* label = "";
    int outside_weight = 1;

    // With keep_hard, only states that cover and meet the hard rows can become the result; the walk
    // may still pass through others.
    bool keep_hard = false;

    long long energy(const std::vector<PackedHits>& sums, long long& hard_part) const {
        const int t = pr.info.t;
        long long uncovered = 0;
        for (int p = pr.row_begin[t]; p < pr.row_begin[t + 1]; ++p)
            uncovered += hit_count(sums[p], t) == 0;
        hard_part = cover_weight * uncovered;
        for (const Target& g : hard)
            hard_part += hard_weight *
                         row_energy(sums, pr.row_begin[g.row], pr.row_begin[g.row + 1], g, outside_weight);
        long long e = hard_part;
        for (const Target& g : soft)
            e += row_energy(sums, pr.row_begin[g.row], pr.row_begin[g.row + 1], g, outside_weight);
        return e;
    }

    struct Result {
        std::vector<int> chosen;
        long long energy;
        long long moves;
    };

    Result run(std::vector<int> chosen, std::mt19937_64& rng, long long budget, double t_hi, double t_lo,
               long long stop_at, std::chrono::steady_clock::time_point t0) const {
        std::vector<char> used(pr.cands.size(), 0);
        for (const int c : chosen)
            used[c] = 1;
        std::vector<PackedHits> sums = sums_of(pr, chosen), trial(sums.size());
        long long hard_part = 0;
        long long cur = energy(sums, hard_part);
        Result best{chosen, keep_hard && hard_part != 0 ? LLONG_MAX : cur, 0};
        const int n = static_cast<int>(chosen.size());
        const double ratio = std::log(t_lo / t_hi);
        const long long report_every = 20'000'000;
        long long moves = 0;
        for (; moves < budget && best.energy > stop_at; ++moves) {
            const double temp =
                t_hi * std::exp(ratio * static_cast<double>(moves) / static_cast<double>(budget));
            const int slot = static_cast<int>(rng() % static_cast<uint64_t>(n));
            // Mostly small steps (one number of the ticket moved elsewhere), sometimes a fresh class.
            int fresh;
            if (rng() % 4 != 0) {
                const PositionMask mask = pr.cands[chosen[slot]].mask;
                int from, to;
                do
                    from = static_cast<int>(rng() % pr.info.v);
                while (!(mask >> from & 1));
                do
                    to = static_cast<int>(rng() % pr.info.v);
                while (mask >> to & 1);
                fresh = pr.class_of(mask ^ (PositionMask{1} << from) ^ (PositionMask{1} << to));
            } else {
                fresh = static_cast<int>(rng() % pr.cands.size());
            }
            if (fresh < 0 || used[fresh])
                continue;
            const PackedHits* out = pr.contrib_of(chosen[slot]);
            const PackedHits* in = pr.contrib_of(fresh);
            for (size_t p = 0; p < sums.size(); ++p)
                trial[p] = sums[p] - out[p] + in[p];
            const long long e = energy(trial, hard_part);
            if (e <= cur || uniform01(rng) < std::exp(static_cast<double>(cur - e) / temp)) {
                used[chosen[slot]] = 0;
                used[fresh] = 1;
                chosen[slot] = fresh;
                sums.swap(trial);
                cur = e;
                if (e < best.energy && (!keep_hard || hard_part == 0))
                    best = {chosen, e, moves};
            }
            if ((moves + 1) % report_every == 0)
                std::fprintf(stderr, "  %s: %lld moves, energy %lld, best %lld, %.0f s\n", label, moves + 1,
                             cur, best.energy, seconds_since(t0));
        }
        best.moves = moves;
        return best;
    }
};

// The classes one number away from a base ticket: one of its numbers moved to a free position.
std::vector<int> one_number_away(const Problem& pr, int c);

// Steepest descent over pairs of one-number moves on two base tickets: annealing stalls where
// every single move worsens the score but a pair of them mends it.
Annealer::Result pair_descent(const Annealer& an, std::vector<int> chosen);

} // namespace wheel_search
