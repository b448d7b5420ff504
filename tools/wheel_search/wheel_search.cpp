// Finds the base tickets of every catalogue system and writes them in the wheels.txt format.
//
// Everything works on rotation classes: a base ticket is a class of v tickets, and a placement
// of winning numbers is scored once per class, since rotating it does not change its hit vector.
// For each pair (ticket class, placement class) the packed hit vector that the v rotations of the
// ticket give that placement is tabulated once; a set of base tickets then scores a placement by
// adding its tickets' entries, and swapping one base ticket costs one pass over the placements.
//
// Per system: a greedy over the gap lists in lexicographic order; when it needs more base tickets
// than the catalogue allows, an exact cover (when the count is tight) or annealing; when it needs
// fewer, the spare base tickets are chosen to raise the worst cases of the results table. Systems
// with published results rows are searched until their tickets reproduce those rows.
//
// For the stretch rows of 20_4_6 there are three further searches, each starting from a wheels file
// (--only 20_4_6 --start FILE):
// - annealing in rounds (--stretch-moves);
// - a tabu walk over exact k-exchange neighbourhoods (--exchange-steps), the hard rows either a
//   filter or a weighted penalty (--exchange-hard-weight, --exchange-free-cover); a new best
//   covering is logged as wheels lines ("    best ..."), so a stopped walk can be resumed from them;
// - the whole problem as a 0/1 model for an external MIP solver (--write-lp, --lp-solution), or,
//   with a file name ending in .opb, as pseudo-Boolean constraints for a SAT-based solver:
//     apt-get install -y clasp
//     clasp model.opb --time-limit=2400 > model.out
//     wheel_search --only 20_4_6 --lp-solution model.out
//
// Deterministic for a given seed: the random moves come from a seeded generator and every budget
// is a count of moves, never a time.

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/systems/guar_results.h"
#include "core/systems/system_catalogue.h"

namespace {

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

constexpr std::array<Target, 11> targets{{
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
constexpr std::array<Target, 2> stretch_targets{{
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

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

HitRow unpack(PackedHits h) {
    HitRow r{};
    for (int j = 2; j <= 6; ++j)
        r[j - 2] = hit_count(h, j);
    return r;
}

int distance(PackedHits h, const HitRow& target) {
    int d = 0;
    for (int j = 2; j <= 6; ++j)
        d += std::abs(hit_count(h, j) - target[j - 2]);
    return d;
}

// Gap lists that are the smallest of their cyclic shifts and equal to none of them: one per
// rotation class of tickets, leaving out the periodic ones whose rotations repeat.
void lyndon_gap_lists(int v, int m, Gaps& g, int pos, int sum, std::vector<Candidate>& out) {
    if (pos == m - 1) {
        g[pos] = static_cast<int16_t>(v - sum);
        for (int r = 1; r < m; ++r) {
            int cmp = 0;
            for (int j = 0; j < m && cmp == 0; ++j)
                cmp = g[(j + r) % m] - g[j];
            if (cmp <= 0)
                return;
        }
        Candidate c;
        c.gaps = g;
        int p = 0;
        for (int j = 0; j < m; ++j) {
            c.mask |= PositionMask{1} << p;
            p += g[j];
        }
        out.push_back(c);
        return;
    }
    for (int x = 1; sum + x + (m - pos - 1) <= v; ++x) {
        g[pos] = static_cast<int16_t>(x);
        lyndon_gap_lists(v, m, g, pos + 1, sum + x, out);
    }
    g[pos] = 0;
}

struct Problem {
    SystemInfo info{};
    std::vector<Candidate> cands;
    std::vector<PositionMask> places; // placement classes of the rows in use, row after row
    std::array<int, 8> row_begin{};   // places of row i: [row_begin[i], row_begin[i + 1])
    std::vector<PackedHits> contrib;  // [candidate][place]
    std::vector<Target> goals;        // rows to reproduce
    int rows_to = 0;                  // rows t..rows_to (and 2.. when goals ask) are tabulated
    int row_from = 0;

    std::vector<std::pair<PositionMask, int>> by_class; // smallest rotation -> candidate, sorted

    size_t n_places() const { return places.size(); }

    void index_classes() {
        by_class.clear();
        for (size_t c = 0; c < cands.size(); ++c) {
            PositionMask m = cands[c].mask, low = m;
            for (int k = 1; k < info.v; ++k) {
                m = rotate_mask(m, info.v);
                low = std::min(low, m);
            }
            by_class.emplace_back(low, static_cast<int>(c));
        }
        std::sort(by_class.begin(), by_class.end());
    }

    // The candidate whose class holds the ticket, or -1 when the ticket is periodic.
    int class_of(PositionMask mask) const {
        PositionMask low = mask;
        for (int k = 1; k < info.v; ++k) {
            mask = rotate_mask(mask, info.v);
            low = std::min(low, mask);
        }
        const auto it = std::lower_bound(by_class.begin(), by_class.end(), std::make_pair(low, -1));
        return it != by_class.end() && it->first == low ? it->second : -1;
    }
    const PackedHits* contrib_of(int c) const {
        return contrib.data() + static_cast<size_t>(c) * places.size();
    }
};

void tabulate(Problem& pr, int row_from, int row_to) {
    const int v = pr.info.v;
    pr.row_from = row_from;
    pr.rows_to = row_to;
    pr.places.clear();
    pr.row_begin.fill(0);
    for (int i = 0; i < 8; ++i) {
        pr.row_begin[i] = static_cast<int>(pr.places.size());
        if (i >= row_from && i <= row_to) {
            const std::vector<PositionMask> reps = placement_classes(v, i);
            pr.places.insert(pr.places.end(), reps.begin(), reps.end());
        }
    }
    const size_t np = pr.places.size();
    pr.contrib.assign(pr.cands.size() * np, 0);
    for (size_t c = 0; c < pr.cands.size(); ++c) {
        std::array<PositionMask, 20> rot{};
        rot[0] = pr.cands[c].mask;
        for (int k = 1; k < v; ++k)
            rot[k] = rotate_mask(rot[k - 1], v);
        for (size_t p = 0; p < np; ++p) {
            PackedHits h = 0;
            for (int k = 0; k < v; ++k)
                h += hit_unit(std::popcount(pr.places[p] & rot[k]));
            pr.contrib[c * np + p] = h;
        }
    }
}

struct Score {
    int uncovered = 0;
    std::array<PackedHits, 8> worst{};
    std::array<PackedHits, 8> best{};
};

// Scores a sum vector: uncovered t-placements and the extreme placements of every tabulated row.
struct Evaluator {
    const Problem& pr;
    Score score(const std::vector<PackedHits>& sums) const {
        Score s;
        const int t = pr.info.t;
        for (int i = pr.row_from; i <= pr.rows_to; ++i) {
            PackedHits lo = ~PackedHits{0}, hi = 0;
            for (int p = pr.row_begin[i]; p < pr.row_begin[i + 1]; ++p) {
                lo = std::min(lo, sums[p]);
                hi = std::max(hi, sums[p]);
                if (i == t && hit_count(sums[p], t) == 0)
                    ++s.uncovered;
            }
            s.worst[i] = lo;
            s.best[i] = hi;
        }
        return s;
    }
};

std::vector<PackedHits> sums_of(const Problem& pr, const std::vector<int>& chosen) {
    std::vector<PackedHits> sums(pr.n_places(), 0);
    for (const int c : chosen) {
        const PackedHits* row = pr.contrib_of(c);
        for (size_t p = 0; p < sums.size(); ++p)
            sums[p] += row[p];
    }
    return sums;
}

PackedHits pack(const HitRow& r) {
    PackedHits h = 0;
    for (int j = 2; j <= 6; ++j)
        h += hit_unit(j) * static_cast<PackedHits>(r[j - 2]);
    return h;
}

// The difference in the most significant field where two packed vectors differ.
int field_gap(PackedHits a, PackedHits b) {
    const int j = 2 + (63 - std::countl_zero(a ^ b)) / hit_field_bits;
    return std::abs(hit_count(a, j) - hit_count(b, j));
}

// How far one row is from a published worst/best pair, smoother than the distance of the two
// extremes alone: every placement outside the pair counts too, by its first differing count (0 exactly when
// the row's extremes are the pair).
long long row_energy(const std::vector<PackedHits>& sums, int b, int e, const Target& g, int outside_weight) {
    const PackedHits lo = pack(g.worst), hi = pack(g.best);
    long long outside = 0;
    PackedHits low = ~PackedHits{0}, high = 0;
    for (int p = b; p < e; ++p) {
        const PackedHits s = sums[p];
        if (s < lo)
            outside += field_gap(s, lo);
        else if (s > hi)
            outside += field_gap(s, hi);
        low = std::min(low, s);
        high = std::max(high, s);
    }
    return outside_weight * outside + distance(low, g.worst) + distance(high, g.best);
}

int goal_distance(const Score& s, const std::vector<Target>& goals) {
    int d = 0;
    for (const Target& g : goals)
        d += distance(s.worst[g.row], g.worst) + distance(s.best[g.row], g.best);
    return d;
}

// Greedy over the gap lists in lexicographic order: each step takes the first candidate that covers
// the most still uncovered t-placement classes; stops when all are covered or at the cap.
std::vector<int> greedy_cover(const Problem& pr, int cap) {
    const int t = pr.info.t;
    const int b = pr.row_begin[t], e = pr.row_begin[t + 1];
    std::vector<char> covered(e - b, 0);
    std::vector<int> chosen;
    std::vector<char> used(pr.cands.size(), 0);
    int left = e - b;
    while (left > 0 && static_cast<int>(chosen.size()) < cap) {
        int best = -1, best_gain = 0;
        for (size_t c = 0; c < pr.cands.size(); ++c) {
            if (used[c])
                continue;
            const PackedHits* row = pr.contrib_of(static_cast<int>(c));
            int gain = 0;
            for (int p = b; p < e; ++p)
                gain += !covered[p - b] && hit_count(row[p], t) > 0;
            if (gain > best_gain) {
                best_gain = gain;
                best = static_cast<int>(c);
            }
        }
        if (best < 0)
            break;
        used[best] = 1;
        chosen.push_back(best);
        const PackedHits* row = pr.contrib_of(best);
        for (int p = b; p < e; ++p)
            if (!covered[p - b] && hit_count(row[p], t) > 0) {
                covered[p - b] = 1;
                --left;
            }
    }
    return chosen;
}

// Exact cover of the t-placement classes, each covered once: first solution in candidate order,
// branching on the class with the fewest usable candidates.
struct ExactCover {
    const Problem& pr;
    int t, b, e, need;
    std::vector<std::vector<int>> covers; // per candidate: classes covered, empty when it repeats one
    std::vector<char> covered;
    std::vector<int> chosen;
    long long nodes = 0;

    explicit ExactCover(const Problem& p, int count) : pr(p), t(p.info.t), need(count) {
        b = pr.row_begin[t];
        e = pr.row_begin[t + 1];
        covers.resize(pr.cands.size());
        for (size_t c = 0; c < pr.cands.size(); ++c) {
            const PackedHits* row = pr.contrib_of(static_cast<int>(c));
            bool once = true;
            for (int p = b; p < e; ++p) {
                const int h = hit_count(row[p], t);
                if (h > 1)
                    once = false;
                if (h == 1)
                    covers[c].push_back(p - b);
            }
            if (!once)
                covers[c].clear();
        }
        covered.assign(e - b, 0);
    }

    bool fits(int c) const {
        if (covers[c].empty())
            return false;
        for (const int p : covers[c])
            if (covered[p])
                return false;
        return true;
    }

    bool solve() {
        ++nodes;
        if (static_cast<int>(chosen.size()) == need)
            return std::find(covered.begin(), covered.end(), 0) == covered.end();
        int pick = -1;
        size_t fewest = SIZE_MAX;
        for (int p = 0; p < e - b; ++p) {
            if (covered[p])
                continue;
            size_t n = 0;
            for (size_t c = 0; c < covers.size(); ++c)
                if (fits(static_cast<int>(c)) &&
                    std::find(covers[c].begin(), covers[c].end(), p) != covers[c].end())
                    ++n;
            if (n < fewest) {
                fewest = n;
                pick = p;
            }
        }
        if (pick < 0 || fewest == 0)
            return false;
        for (size_t c = 0; c < covers.size(); ++c) {
            if (!fits(static_cast<int>(c)) ||
                std::find(covers[c].begin(), covers[c].end(), pick) == covers[c].end())
                continue;
            for (const int p : covers[c])
                covered[p] = 1;
            chosen.push_back(static_cast<int>(c));
            if (solve())
                return true;
            chosen.pop_back();
            for (const int p : covers[c])
                covered[p] = 0;
        }
        return false;
    }
};

double uniform01(std::mt19937_64& rng) {
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
std::vector<int> one_number_away(const Problem& pr, int c) {
    std::vector<int> near;
    const PositionMask mask = pr.cands[c].mask;
    for (int from = 0; from < pr.info.v; ++from)
        for (int to = 0; to < pr.info.v; ++to)
            if ((mask >> from & 1) && !(mask >> to & 1)) {
                const int n = pr.class_of(mask ^ (PositionMask{1} << from) ^ (PositionMask{1} << to));
                if (n >= 0)
                    near.push_back(n);
            }
    return near;
}

// Steepest descent over pairs of one-number moves on two base tickets: annealing stalls where
// every single move worsens the score but a pair of them mends it.
Annealer::Result pair_descent(const Annealer& an, std::vector<int> chosen) {
    const Problem& pr = an.pr;
    std::vector<char> used(pr.cands.size(), 0);
    for (const int c : chosen)
        used[c] = 1;
    std::vector<PackedHits> sums = sums_of(pr, chosen), one(sums.size()), two(sums.size());
    long long hard_part = 0;
    long long cur = an.energy(sums, hard_part);
    while (cur > 0) {
        long long step_best = cur;
        int s1b = -1, c1b = -1, s2b = -1, c2b = -1;
        std::vector<std::vector<int>> near(chosen.size());
        for (size_t s = 0; s < chosen.size(); ++s)
            near[s] = one_number_away(pr, chosen[s]);
        for (size_t s1 = 0; s1 < chosen.size(); ++s1) {
            const PackedHits* out1 = pr.contrib_of(chosen[s1]);
            for (const int c1 : near[s1]) {
                if (used[c1])
                    continue;
                const PackedHits* in1 = pr.contrib_of(c1);
                for (size_t p = 0; p < sums.size(); ++p)
                    one[p] = sums[p] - out1[p] + in1[p];
                if (const long long e = an.energy(one, hard_part); e < step_best) {
                    step_best = e;
                    s1b = static_cast<int>(s1);
                    c1b = c1;
                    s2b = -1;
                }
                for (size_t s2 = s1 + 1; s2 < chosen.size(); ++s2) {
                    const PackedHits* out2 = pr.contrib_of(chosen[s2]);
                    for (const int c2 : near[s2]) {
                        if (used[c2] || c2 == c1)
                            continue;
                        const PackedHits* in2 = pr.contrib_of(c2);
                        for (size_t p = 0; p < sums.size(); ++p)
                            two[p] = one[p] - out2[p] + in2[p];
                        if (const long long e = an.energy(two, hard_part); e < step_best) {
                            step_best = e;
                            s1b = static_cast<int>(s1);
                            c1b = c1;
                            s2b = static_cast<int>(s2);
                            c2b = c2;
                        }
                    }
                }
            }
        }
        if (s1b < 0)
            break;
        for (const auto& [s, c] : {std::pair{s1b, c1b}, std::pair{s2b, c2b}}) {
            if (s < 0)
                continue;
            used[chosen[s]] = 0;
            used[c] = 1;
            chosen[s] = c;
        }
        sums = sums_of(pr, chosen);
        cur = step_best;
    }
    return {chosen, cur, 0};
}

// Fills the spare slots one at a time with the class that most raises the worst placements, rows
// from m down to t compared in turn (a better worst case when all m winning numbers are in the set
// first), ties to the earlier gap list.
void pad(const Problem& pr, std::vector<int>& chosen, int count) {
    const Evaluator ev{pr};
    std::vector<char> used(pr.cands.size(), 0);
    for (const int c : chosen)
        used[c] = 1;
    std::vector<PackedHits> sums = sums_of(pr, chosen), trial(sums.size());
    while (static_cast<int>(chosen.size()) < count) {
        int best = -1;
        std::array<PackedHits, 8> best_key{};
        for (size_t c = 0; c < pr.cands.size(); ++c) {
            if (used[c])
                continue;
            const PackedHits* in = pr.contrib_of(static_cast<int>(c));
            for (size_t p = 0; p < sums.size(); ++p)
                trial[p] = sums[p] + in[p];
            const Score s = ev.score(trial);
            std::array<PackedHits, 8> key{};
            for (int i = pr.rows_to, k = 0; i >= pr.info.t; --i, ++k)
                key[k] = s.worst[i];
            if (best < 0 || key > best_key) {
                best = static_cast<int>(c);
                best_key = key;
            }
        }
        used[best] = 1;
        chosen.push_back(best);
        const PackedHits* in = pr.contrib_of(best);
        for (size_t p = 0; p < sums.size(); ++p)
            sums[p] += in[p];
    }
}

// Every choice of count classes in lexicographic order; the first that covers and meets the goals.
std::optional<std::vector<int>> exhaustive(const Problem& pr, int count) {
    const Evaluator ev{pr};
    const int n = static_cast<int>(pr.cands.size());
    std::vector<int> idx(count);
    for (int k = 0; k < count; ++k)
        idx[k] = k;
    while (true) {
        const Score s = ev.score(sums_of(pr, idx));
        if (s.uncovered == 0 && goal_distance(s, pr.goals) == 0)
            return idx;
        int k = count - 1;
        while (k >= 0 && idx[k] == n - count + k)
            --k;
        if (k < 0)
            return std::nullopt;
        ++idx[k];
        for (int r = k + 1; r < count; ++r)
            idx[r] = idx[r - 1] + 1;
    }
}

double combinations(int n, int k) {
    double r = 1;
    for (int i = 1; i <= k; ++i)
        r = r * (n - k + i) / i;
    return r;
}

struct Found {
    std::vector<Gaps> gaps;
    std::string method;
    double seconds = 0;
    std::string note;
};

std::string row_text(PackedHits h) {
    const HitRow r = unpack(h);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d %d %d %d %d", r[0], r[1], r[2], r[3], r[4]);
    return buf;
}

// The base tickets of the --only system in a wheels file given with --start, as candidates; empty
// when there is none.
std::vector<int> start_from(const Problem& pr, const Options& opt) {
    std::vector<int> chosen;
    if (opt.start.empty() || opt.only != pr.info.name)
        return chosen;
    FILE* f = std::fopen(opt.start.c_str(), "rb");
    if (!f)
        return chosen;
    std::string text;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        text.append(buf, n);
    std::fclose(f);
    for (const WheelsEntry& e : parse_wheels(text).entries) {
        if (e.name.toStdString() != pr.info.name)
            continue;
        for (const auto& gaps : e.gaps) {
            PositionMask mask = 0;
            for (int j = 0, p = 0; j < pr.info.m; p += gaps[j], ++j)
                mask |= PositionMask{1} << (p % pr.info.v);
            if (const int c = pr.class_of(mask); c >= 0)
                chosen.push_back(c);
        }
    }
    if (static_cast<int>(chosen.size()) != pr.info.base_count)
        chosen.clear();
    return chosen;
}

// Exact search over k-exchanges: every way of replacing k of the base tickets by k unused classes
// that keeps every t-set covered and the hard rows exact, enumerated in full (k = 1..3), and a tabu
// walk over those moves that minimises the distance of the soft rows. The additions are found by
// branching on the first t-set class left uncovered, so a scan visits only coverings.
struct ExchangeSearch {
    const Problem& pr;
    std::vector<Target> hard, soft;
    int max_k = 3;
    int tenure = 7;
    int t = 4;
    int qb = 0, qe = 0; // t-set classes in pr.places
    int words = 0;      // 64-bit words of a candidate bitset
    using TBits = std::array<uint64_t, 8>;
    std::vector<TBits> covers;                   // per candidate: t-set classes it covers
    std::vector<std::vector<int>> cover_list;    // per t-set class: candidates covering it
    std::vector<std::vector<uint64_t>> cover_by; // per t-set class: the same as a bitset

    // With hard_weight 0 the hard rows are a filter; otherwise they are a penalty, hard_weight
    // times their distance, and the walk may leave the coverings that keep them exact.
    int hard_weight = 0;
    // With free_cover (and a hard weight) coverage is a penalty too: every single exchange is a
    // move, not only those that keep every t-set covered.
    bool free_cover = false;

    struct Key {
        int hard = 0; // distance of the hard rows (0 when they are a filter)
        int dist = INT_MAX;
        long long outside = LLONG_MAX;
        int weight = 0;
        long long scalar() const {
            return dist == INT_MAX ? LLONG_MAX : 1000LL * (weight * hard + dist) + outside;
        }
        // Ranking of the results: only states that keep the hard rows count.
        long long exact_scalar() const { return hard == 0 ? scalar() : LLONG_MAX; }
    };

    explicit ExchangeSearch(const Problem& p, std::vector<Target> h, std::vector<Target> s)
        : pr(p), hard(std::move(h)), soft(std::move(s)) {
        t = pr.info.t;
        qb = pr.row_begin[t];
        qe = pr.row_begin[t + 1];
        if (qe - qb > 512) {
            std::fprintf(stderr, "too many t-set classes for the exchange search\n");
            std::exit(1);
        }
        const size_t n = pr.cands.size();
        words = static_cast<int>((n + 63) / 64);
        covers.assign(n, TBits{});
        cover_list.assign(qe - qb, {});
        cover_by.assign(qe - qb, std::vector<uint64_t>(words, 0));
        for (size_t c = 0; c < n; ++c) {
            const PackedHits* row = pr.contrib_of(static_cast<int>(c));
            for (int q = qb; q < qe; ++q)
                if (hit_count(row[q], t) > 0) {
                    covers[c][(q - qb) / 64] |= uint64_t{1} << ((q - qb) % 64);
                    cover_list[q - qb].push_back(static_cast<int>(c));
                    cover_by[q - qb][c / 64] |= uint64_t{1} << (c % 64);
                }
        }
    }

    // Rows of the hard goals exact: every placement inside the pair and both ends reached.
    bool hard_ok(const std::vector<PackedHits>& sums) const {
        for (const Target& g : hard) {
            const PackedHits lo = pack(g.worst), hi = pack(g.best);
            bool lo_seen = false, hi_seen = false;
            for (int p = pr.row_begin[g.row]; p < pr.row_begin[g.row + 1]; ++p) {
                const PackedHits s = sums[p];
                if (s < lo || s > hi)
                    return false;
                lo_seen |= s == lo;
                hi_seen |= s == hi;
            }
            if (!lo_seen || !hi_seen)
                return false;
        }
        return true;
    }

    Key soft_key(const std::vector<PackedHits>& sums) const {
        Key k = rows_key(sums, soft);
        if (hard_weight > 0) {
            const Key h = rows_key(sums, hard);
            k.hard = h.dist;
            k.outside += h.outside;
            k.weight = hard_weight;
            for (int q = qb; q < qe; ++q)
                k.hard += 20 * (hit_count(sums[q], t) == 0);
        }
        return k;
    }

    Key rows_key(const std::vector<PackedHits>& sums, const std::vector<Target>& rows) const {
        Key k;
        k.dist = 0;
        k.outside = 0;
        for (const Target& g : rows) {
            const PackedHits lo = pack(g.worst), hi = pack(g.best);
            PackedHits low = ~PackedHits{0}, high = 0;
            for (int p = pr.row_begin[g.row]; p < pr.row_begin[g.row + 1]; ++p) {
                const PackedHits s = sums[p];
                if (s < lo)
                    k.outside += field_gap(s, lo);
                else if (s > hi)
                    k.outside += field_gap(s, hi);
                low = std::min(low, s);
                high = std::max(high, s);
            }
            k.dist += distance(low, g.worst) + distance(high, g.best);
        }
        return k;
    }

    struct Move {
        std::array<int, 3> removed{-1, -1, -1};
        std::array<int, 3> adds{-1, -1, -1};
        int k = 0;
        Key key;
    };

    // State of one scan.
    std::vector<int> chosen;
    std::vector<char> used;
    std::vector<char> tabu_add; // classes that may not come back yet
    long long best_ever = LLONG_MAX;
    std::vector<PackedHits> base, trial;
    std::vector<int> near; // free additions when the removals left nothing uncovered
    Move cur_move, best_move;
    long long feasible = 0;

    void leaf(int k) {
        const size_t n = pr.n_places();
        // cheap rows first: hard rows are checked placement by placement with an early exit
        for (size_t p = 0; p < n; ++p) {
            PackedHits s = base[p];
            for (int a = 0; a < k; ++a)
                s += pr.contrib_of(cur_move.adds[a])[p];
            trial[p] = s;
        }
        if (hard_weight == 0 && !hard_ok(trial))
            return;
        ++feasible;
        const Key key = soft_key(trial);
        bool is_tabu = false;
        for (int a = 0; a < k; ++a)
            is_tabu |= tabu_add[cur_move.adds[a]] != 0;
        if (is_tabu && key.scalar() >= best_ever)
            return;
        if (key.scalar() < best_move.key.scalar()) {
            best_move = cur_move;
            best_move.k = k;
            best_move.key = key;
        }
    }

    // Cheap pre-check of the hard rows below t on the additions alone, before the full sums.
    bool low_rows_ok(int k) const {
        for (const Target& g : hard) {
            if (g.row >= t)
                continue;
            const PackedHits lo = pack(g.worst), hi = pack(g.best);
            for (int p = pr.row_begin[g.row]; p < pr.row_begin[g.row + 1]; ++p) {
                PackedHits s = base[p];
                for (int a = 0; a < k; ++a)
                    s += pr.contrib_of(cur_move.adds[a])[p];
                if (s < lo || s > hi)
                    return false;
            }
        }
        return true;
    }

    void add_dfs(int depth, int k, const TBits& uncovered, int min_free) {
        bool any = false;
        int first = -1, left = 0;
        for (int w = 0; w < 8; ++w) {
            if (uncovered[w] && first < 0)
                first = w * 64 + std::countr_zero(uncovered[w]);
            left += std::popcount(uncovered[w]);
            any |= uncovered[w] != 0;
        }
        if (depth == k) {
            if (!any && (hard_weight > 0 || low_rows_ok(k)))
                leaf(k);
            return;
        }
        auto take = [&](int c) {
            if (used[c])
                return;
            for (int a = 0; a < depth; ++a)
                if (cur_move.adds[a] == c)
                    return;
            cur_move.adds[depth] = c;
            TBits next = uncovered;
            for (int w = 0; w < 8; ++w)
                next[w] &= ~covers[c][w];
            add_dfs(depth + 1, k, next, any ? min_free : c + 1);
        };
        if (!any) {
            for (const int c : near)
                if (c >= min_free)
                    take(c);
            return;
        }
        if (left > 15 * (k - depth))
            return;
        if (k - depth == 1) {
            // the last addition must cover everything still uncovered
            std::vector<uint64_t> mask = cover_by[first];
            for (int w = 0; w < 8; ++w)
                for (uint64_t bits = uncovered[w]; bits; bits &= bits - 1) {
                    const int q = w * 64 + std::countr_zero(bits);
                    for (int i = 0; i < words; ++i)
                        mask[i] &= cover_by[q][i];
                }
            for (int i = 0; i < words; ++i)
                for (uint64_t bits = mask[i]; bits; bits &= bits - 1)
                    take(i * 64 + std::countr_zero(bits));
            return;
        }
        for (const int c : cover_list[first])
            take(c);
    }

    // Scans every k-exchange; returns the best admissible move (key INT_MAX when there is none).
    Move scan(const std::vector<PackedHits>& sums, int k) {
        best_move = Move{};
        feasible = 0;
        const int n = static_cast<int>(chosen.size());
        std::array<int, 3> s{0, 1, 2};
        for (int i = 0; i < k; ++i)
            s[i] = i;
        while (true) {
            base = sums;
            near.clear();
            TBits uncovered{};
            for (int i = 0; i < k; ++i) {
                const PackedHits* out = pr.contrib_of(chosen[s[i]]);
                for (size_t p = 0; p < base.size(); ++p)
                    base[p] -= out[p];
                for (const int c : one_number_away(pr, chosen[s[i]]))
                    near.push_back(c);
            }
            std::sort(near.begin(), near.end());
            near.erase(std::unique(near.begin(), near.end()), near.end());
            for (int q = qb; q < qe; ++q)
                if (hit_count(base[q], t) == 0)
                    uncovered[(q - qb) / 64] |= uint64_t{1} << ((q - qb) % 64);
            cur_move.removed = {-1, -1, -1};
            for (int i = 0; i < k; ++i)
                cur_move.removed[i] = s[i];
            if (free_cover && hard_weight > 0 && k == 1) {
                for (size_t c = 0; c < pr.cands.size(); ++c)
                    if (!used[c]) {
                        cur_move.adds[0] = static_cast<int>(c);
                        leaf(1);
                    }
            } else {
                add_dfs(0, k, uncovered, 0);
            }
            int i = k - 1;
            while (i >= 0 && s[i] == n - k + i)
                --i;
            if (i < 0)
                break;
            ++s[i];
            for (int j = i + 1; j < k; ++j)
                s[j] = s[j - 1] + 1;
        }
        return best_move;
    }

    struct Result {
        std::vector<int> chosen;
        Key key;
        long long iterations = 0;
    };

    // Tabu walk: each step takes the best admissible exchange, scanning larger k only when the
    // smaller ones offer no improvement; classes taken out may not return for `tenure` steps unless
    // they give a new best.
    Result run(std::vector<int> start, long long iterations, std::chrono::steady_clock::time_point t0,
               const char* label) {
        chosen = std::move(start);
        used.assign(pr.cands.size(), 0);
        tabu_add.assign(pr.cands.size(), 0);
        std::vector<long long> tabu_until(pr.cands.size(), -1);
        for (const int c : chosen)
            used[c] = 1;
        trial.assign(pr.n_places(), 0);
        std::vector<PackedHits> sums = sums_of(pr, chosen);
        Key cur = soft_key(sums);
        Result best{chosen, cur, 0};
        best_ever = cur.scalar();
        long long best_exact = cur.exact_scalar();
        std::fprintf(stderr, "  %s: exchange start, distance %d, outside %lld, hard rows %s\n", label,
                     cur.dist, cur.outside, hard_ok(sums) ? "exact" : "NOT exact");
        for (long long it = 0; it < iterations && best.key.exact_scalar() > 0; ++it) {
            for (size_t c = 0; c < tabu_add.size(); ++c)
                tabu_add[c] = tabu_until[c] > it;
            Move m;
            long long seen = 0;
            int k_used = 0;
            for (int k = 1; k <= max_k; ++k) {
                const Move mk = scan(sums, k);
                seen += feasible;
                k_used = k;
                if (mk.key.scalar() < m.key.scalar())
                    m = mk;
                if (m.key.scalar() < cur.scalar())
                    break;
            }
            if (m.k == 0) {
                std::fprintf(stderr, "  %s: no admissible exchange, stopping\n", label);
                break;
            }
            for (int a = 0; a < m.k; ++a) {
                const int out = chosen[m.removed[a]];
                used[out] = 0;
                tabu_until[out] = it + tenure;
            }
            for (int a = 0; a < m.k; ++a) {
                chosen[m.removed[a]] = m.adds[a];
                used[m.adds[a]] = 1;
            }
            sums = sums_of(pr, chosen);
            cur = m.key;
            best_ever = std::min(best_ever, cur.scalar());
            if (cur.exact_scalar() < best_exact) {
                best = {chosen, cur, it + 1};
                best_exact = cur.exact_scalar();
                // a stopped run still leaves its best covering in the log, as wheels lines
                for (const int c : chosen) {
                    std::fprintf(stderr, "    best %s", std::string(pr.info.name).c_str());
                    for (int j = 0; j < pr.info.m; ++j)
                        std::fprintf(stderr, " %d", pr.cands[c].gaps[j]);
                    std::fprintf(stderr, "\n");
                }
            }
            std::fprintf(
                stderr,
                "  %s: step %lld, %d-exchange of %lld admissible (k<=%d), hard %d distance %d outside "
                "%lld; best %d/%lld; %.0f s\n",
                label, it + 1, m.k, seen, k_used, cur.hard, cur.dist, cur.outside, best.key.dist,
                best.key.outside, seconds_since(t0));
        }
        return best;
    }
};

// The exact model of 20_4_6 (or any m = 6, t = 4 system with published rows 2..6) as a 0/1 linear
// program in CPLEX LP format, for an external MIP solver. Debian packages one:
//   apt-get install -y coinor-cbc
//   cbc model.lp sec 2400 solve solu model.sol
// then `wheel_search --only NAME --lp-solution model.sol` turns the solution into base tickets and
// checks it.
//
// One binary x per ticket class, 25 of them chosen. The count of tickets holding an r-set
// (r = 2..5) is a continuous variable n<r>_<class> tied to x by an equality; the hit vector of a
// placement is a linear form in the counts of its subsets (inclusion-exclusion), so every row's
// worst and best case become linear constraints: a slack that is zero exactly when a placement
// ties the leading counts of the target, small binaries for the deeper ties, and one witness
// binary per placement that may reach the target exactly. The model is invariant under the
// multipliers of Z_v, so the witness of row 6's worst case is taken from one class per orbit
// (unless the model is asked to stay near a start wheel).
struct LpWriter {
    const Problem& pr;
    std::vector<Target> all;    // rows 2..6 to reproduce
    std::vector<int> keep_from; // base tickets of a start wheel
    int keep = -1;              // all but this many of them stay (-1: no such constraint)
    int v = 0;
    std::array<std::vector<PositionMask>, 7> reps; // class representatives of r-sets, r = 2..6
    std::string rows;                              // constraint text
    std::string binaries;
    int n_rows = 0, n_bin = 0;

    explicit LpWriter(const Problem& p) : pr(p), v(p.info.v) {
        for (int r = 2; r <= 6; ++r)
            reps[r] = placement_classes(v, r);
    }

    PositionMask canonical(PositionMask m) const {
        PositionMask low = m;
        for (int k = 1; k < v; ++k) {
            m = rotate_mask(m, v);
            low = std::min(low, m);
        }
        return low;
    }
    int class_index(PositionMask m) const {
        const auto& r = reps[std::popcount(m)];
        return static_cast<int>(std::lower_bound(r.begin(), r.end(), canonical(m)) - r.begin());
    }

    // A linear form over named variables.
    using Lin = std::vector<std::pair<std::string, long long>>;
    static void add(Lin& f, const std::string& var, long long c) {
        for (auto& [n, k] : f)
            if (n == var) {
                k += c;
                return;
            }
        f.emplace_back(var, c);
    }
    static Lin plus(Lin a, const Lin& b, long long scale = 1) {
        for (const auto& [n, k] : b)
            add(a, n, k * scale);
        return a;
    }
    std::string count_var(PositionMask sub) const {
        const int r = std::popcount(sub);
        if (r == 6) {
            const int c = pr.class_of(sub);
            return c < 0 ? std::string() : "x" + std::to_string(c);
        }
        return "n" + std::to_string(r) + "_" + std::to_string(class_index(sub));
    }
    // Tickets meeting the placement in exactly j positions (j = 2..|q|), as a linear form.
    std::array<Lin, 7> hits(PositionMask q) const {
        std::array<Lin, 7> h;
        const int i = std::popcount(q);
        for (PositionMask sub = q; sub; sub = (sub - 1) & q) {
            const int r = std::popcount(sub);
            if (r < 2)
                continue;
            const std::string var = count_var(sub);
            if (var.empty())
                continue;
            for (int j = 2; j <= r && j <= i; ++j) {
                const long long sign = (r - j) % 2 ? -1 : 1;
                add(h[j], var, sign * static_cast<long long>(combinations(r, j) + 0.5));
            }
        }
        return h;
    }
    // Sum of the counts of the placement's 4-subsets.
    Lin four_sum(PositionMask q) const {
        Lin f;
        for (PositionMask sub = q; sub; sub = (sub - 1) & q)
            if (std::popcount(sub) == 4)
                add(f, count_var(sub), 1);
        return f;
    }
    static Lin var1(const std::string& n, long long c = 1) { return Lin{{n, c}}; }

    struct Stored {
        Lin f;
        std::string op;
        long long rhs = 0;
    };
    std::vector<Stored> stored; // every row again, for the pseudo-Boolean form

    // f (op) rhs, with f's constant folded into rhs by the caller.
    void row(const Lin& f, const char* op, long long rhs) {
        stored.push_back({f, op, rhs});
        std::string line = " c" + std::to_string(n_rows++) + ":";
        bool any = false;
        for (const auto& [n, k] : f) {
            if (k == 0)
                continue;
            line += k < 0 ? " - " : (any ? " + " : " ");
            line += std::to_string(std::llabs(k)) + " " + n;
            any = true;
            if (line.size() - line.rfind('\n') > 200)
                line += "\n";
        }
        if (!any)
            line += " 0 x0";
        line += std::string(" ") + op + " " + std::to_string(rhs) + "\n";
        rows += line;
    }
    std::string binary(const char* prefix) {
        const std::string n = std::string(prefix) + std::to_string(n_bin++);
        binaries += " " + n + "\n";
        return n;
    }

    std::string text() {
        auto target = [&](int row) -> const Target* {
            for (const Target& tg : all)
                if (tg.row == row)
                    return &tg;
            return nullptr;
        };
        // choose the ticket count
        Lin all_x;
        for (size_t c = 0; c < pr.cands.size(); ++c)
            all_x.emplace_back("x" + std::to_string(c), 1);
        row(all_x, "=", pr.info.base_count);
        if (keep >= 0 && !keep_from.empty()) {
            Lin near_start;
            for (const int c : keep_from)
                add(near_start, "x" + std::to_string(c), 1);
            row(near_start, ">=", static_cast<long long>(keep_from.size()) - keep);
        }
        // counts of r-sets
        for (int r = 2; r <= 5; ++r)
            for (size_t q = 0; q < reps[r].size(); ++q) {
                Lin f = var1("n" + std::to_string(r) + "_" + std::to_string(q), 1);
                for (size_t c = 0; c < pr.cands.size(); ++c) {
                    PositionMask m = pr.cands[c].mask;
                    int n = 0;
                    for (int k = 0; k < v; ++k, m = rotate_mask(m, v))
                        n += (m & reps[r][q]) == reps[r][q];
                    if (n)
                        f.emplace_back("x" + std::to_string(c), -n);
                }
                row(f, "=", 0);
            }
        // coverage
        for (size_t q = 0; q < reps[pr.info.t].size(); ++q)
            row(var1("n" + std::to_string(pr.info.t) + "_" + std::to_string(q)), ">=", 1);

        for (int i = 2; i <= 6; ++i) {
            const Target* tg = target(i);
            if (!tg)
                continue;
            const HitRow& lo = tg->worst; // counts of 2..6
            const HitRow& hi = tg->best;
            Lin wmin, wmax; // sums of witness binaries
            std::vector<PositionMask> witness_min_ok(reps[i].begin(), reps[i].end());
            if (i == 6 && keep < 0) // a start wheel to stay near breaks the symmetry
                witness_min_ok = orbit_representatives(reps[6]);
            for (const PositionMask q : reps[i]) {
                const auto h = hits(q);
                const bool may_witness_min =
                    std::binary_search(witness_min_ok.begin(), witness_min_ok.end(), q);
                if (i == 2) {
                    row(h[2], ">=", lo[0]);
                    row(h[2], "<=", hi[0]);
                    const std::string a = binary("w"), b = binary("w");
                    add(wmin, a, 1);
                    add(wmax, b, 1);
                    row(plus(h[2], var1(a, hi[0] - lo[0])), "<=", hi[0]); // a -> n2 = lo
                    row(plus(h[2], var1(b, -(hi[0] - lo[0]))), ">=", lo[0]);
                } else if (i == 3) {
                    const Lin& h3 = h[3];
                    const Lin& h2 = h[2];
                    row(h3, ">=", lo[1]);
                    row(h3, "<=", hi[1]);
                    // worst: n3 = 7 forces h2 >= 90; s = n3 - 7
                    row(plus(h2, h3, lo[0]), ">=", lo[0] + lo[0] * lo[1]);
                    // best: s = 12 - n3; h2 <= 86 + 40 s  (h2 <= 3 * 42)
                    const long long m2 = 3 * hi[0] > 0 ? 126 - hi[0] : 0;
                    row(plus(h2, h3, m2), "<=", hi[0] + m2 * hi[1]);
                    const std::string a = binary("w"), b = binary("w");
                    add(wmin, a, 1);
                    add(wmax, b, 1);
                    row(plus(h3, var1(a, 5)), "<=", lo[1] + 5);
                    row(plus(h2, var1(a, 126)), "<=", lo[0] + 126);
                    row(plus(h3, var1(b, -hi[1])), ">=", 0);
                    row(plus(h2, var1(b, -hi[0])), ">=", 0);
                } else {
                    lex_rows(i, q, h, lo, hi, may_witness_min, wmin, wmax);
                }
            }
            row(wmin, ">=", 1);
            row(wmax, ">=", 1);
        }
        std::string out =
            "\\ exact model of " + std::string(pr.info.name) + "\nMinimize\n obj: 0 x0\nSubject To\n";
        out += rows;
        out += "Binaries\n";
        for (size_t c = 0; c < pr.cands.size(); ++c)
            out += " x" + std::to_string(c) + "\n";
        out += binaries;
        out += "End\n";
        return out;
    }

    // The same model as pseudo-Boolean constraints (OPB) for a SAT-based solver such as clasp or
    // minisat+: every count n<r>_<q> becomes lo + o1 + ... + ok in the order encoding (o1 >= o2 >=
    // ...), over the range that rows 2..5 allow it (a pair on 37..42 tickets, a triple on 7..12, a
    // 4-set on 1..4, a 5-set on 0..2 for 20_4_6). Ticket class c is variable x<c + 1>. Call after
    // text().
    std::string opb_text() const {
        auto target = [&](int row) -> const Target& {
            for (const Target& tg : all)
                if (tg.row == row)
                    return tg;
            std::fprintf(stderr, "the pseudo-Boolean form needs the targets of rows 2 to 5\n");
            std::exit(1);
        };
        const std::array<std::pair<long long, long long>, 6> range{{
            {0, 0},
            {0, 0},
            {target(2).worst[0], target(2).best[0]},
            {target(3).worst[1], target(3).best[1]},
            {pr.info.t == 4 ? 1 : 0, target(4).best[2]},
            {0, target(5).best[3]},
        }};
        std::map<std::string, int> index;
        std::map<std::string, std::vector<int>> unary; // the order bits of a count
        int next = 1;
        for (size_t c = 0; c < pr.cands.size(); ++c)
            index["x" + std::to_string(c)] = next++;
        std::string order_rows;
        int n_order = 0;
        auto bits_of = [&](const std::string& n) -> const std::vector<int>& {
            auto it = unary.find(n);
            if (it != unary.end())
                return it->second;
            const auto [lo, hi] = range[n[1] - '0'];
            std::vector<int> bits;
            for (long long k = lo; k < hi; ++k)
                bits.push_back(next++);
            for (size_t k = 1; k < bits.size(); ++k) {
                order_rows +=
                    "+1 x" + std::to_string(bits[k - 1]) + " -1 x" + std::to_string(bits[k]) + " >= 0 ;\n";
                ++n_order;
            }
            return unary.emplace(n, std::move(bits)).first->second;
        };
        std::string body;
        int n_body = 0;
        for (const Stored& st : stored) {
            // A count's definition n = sum a x: each order bit is tied to the sum both ways, so
            // that the chosen tickets fix every bit by propagation alone.
            if (st.op == "=" && !st.f.empty() && st.f[0].first[0] == 'n' && st.f[0].second == 1) {
                const auto [lo, hi] = range[st.f[0].first[1] - '0'];
                std::string sum;
                long long max_sum = 0;
                for (size_t k = 1; k < st.f.size(); ++k) {
                    sum += "+" + std::to_string(-st.f[k].second) + " x" +
                           std::to_string(index.at(st.f[k].first)) + " ";
                    max_sum -= st.f[k].second;
                }
                auto negated = [&] {
                    std::string out;
                    for (size_t k = 1; k < st.f.size(); ++k)
                        out += std::to_string(st.f[k].second) + " x" +
                               std::to_string(index.at(st.f[k].first)) + " ";
                    return out;
                };
                const std::string minus_sum = negated();
                body += sum + ">= " + std::to_string(lo) + " ;\n";
                body += minus_sum + ">= " + std::to_string(-hi) + " ;\n";
                n_body += 2;
                const std::vector<int>& bits = bits_of(st.f[0].first);
                for (size_t k = 0; k < bits.size(); ++k) {
                    const long long at = lo + static_cast<long long>(k) + 1; // bit k: n >= at
                    const std::string o = " x" + std::to_string(bits[k]) + " ";
                    body += sum + "-" + std::to_string(at) + o + ">= 0 ;\n";
                    body += minus_sum + "+" + std::to_string(max_sum - at + 1) + o +
                            ">= " + std::to_string(1 - at) + " ;\n";
                    n_body += 2;
                }
                continue;
            }
            std::map<int, long long> terms;
            long long rhs = st.rhs;
            for (const auto& [name, k] : st.f) {
                if (k == 0)
                    continue;
                if (name[0] == 'n') {
                    rhs -= k * range[name[1] - '0'].first;
                    for (const int b : bits_of(name))
                        terms[b] += k;
                } else {
                    auto [it, fresh] = index.try_emplace(name, next);
                    if (fresh)
                        ++next;
                    terms[it->second] += k;
                }
            }
            const long long sign = st.op == "<=" ? -1 : 1;
            std::string line;
            for (const auto& [var, k] : terms)
                if (k != 0)
                    line += (k * sign > 0 ? "+" : "") + std::to_string(k * sign) + " x" +
                            std::to_string(var) + " ";
            if (line.empty())
                line = "+0 x1 ";
            line += st.op == "=" ? "= " : ">= ";
            line += std::to_string(rhs * sign) + " ;\n";
            body += line;
            ++n_body;
        }
        return "* #variable= " + std::to_string(next - 1) +
               " #constraint= " + std::to_string(n_body + n_order) + "\n* exact model of " +
               std::string(pr.info.name) + "\n" + order_rows + body;
    }

    // Multipliers of Z_v map rotation classes to rotation classes; one class per orbit.
    std::vector<PositionMask> orbit_representatives(const std::vector<PositionMask>& classes) const {
        std::vector<PositionMask> keep;
        for (const PositionMask q : classes) {
            bool smallest = true;
            for (int u = 2; u < v && smallest; ++u) {
                if (std::gcd(u, v) != 1)
                    continue;
                PositionMask img = 0;
                for (int p = 0; p < v; ++p)
                    if (q >> p & 1)
                        img |= PositionMask{1} << (p * u % v);
                smallest = canonical(img) >= q;
            }
            if (smallest)
                keep.push_back(q);
        }
        return keep;
    }

    // Rows 4..6: the worst case needs every placement at or above it, the best case at or below.
    // Bounds used for the big-M terms follow from rows 2 to 4 (a pair on at most 42 tickets, a
    // triple on at most 12, a 4-set on at most 4) and from the 500 tickets.
    void lex_rows(int i, PositionMask q, const std::array<Lin, 7>& h, const HitRow& lo, const HitRow& hi,
                  bool may_witness_min, Lin& wmin, Lin& wmax) {
        const long long pairs = static_cast<long long>(combinations(i, 2) + 0.5);
        const long long triples = static_cast<long long>(combinations(i, 3) + 0.5);
        const long long fours = static_cast<long long>(combinations(i, 4) + 0.5);
        const long long n_tickets = pr.info.base_count * v;
        const long long max2 = std::min(n_tickets, pairs * hi_pair());
        const long long max3 = triples * 12;
        const long long max4 = fours * 4;
        const long long L2 = lo[0], L3 = lo[1], L4 = lo[2];
        const long long U2 = hi[0], U3 = hi[1], U4 = hi[2], U5 = hi[3], U6 = hi[4];
        // ---- worst case: (.., L4, L3, L2) with nothing above 4; s = C4 - L4 + h5 + h6 >= 0 by
        // coverage, zero exactly when the placement has L4 tickets with 4 and none with more.
        Lin s = four_sum(q);
        if (i >= 5)
            s = plus(s, h[5]);
        if (i >= 6)
            s = plus(s, h[6]);
        const long long s_const = -L4; // s = form + s_const
        const long long max_s = max4 + 12 + 1;
        // h3 - L3 + L3 * s >= 0
        row(plus(h[3], s, L3), ">=", L3 - L3 * s_const);
        // t >= 1 - (L3 + 1) s - (h3 - L3)  ->  t + (L3+1) s + h3 >= 1 + L3
        const std::string t = binary("t");
        row(plus(plus(var1(t), s, L3 + 1), h[3]), ">=", 1 + L3 - (L3 + 1) * s_const);
        // h2 >= L2 - L2 (1 - t)  ->  h2 - L2 t >= 0
        row(plus(h[2], var1(t, -L2)), ">=", 0);
        if (may_witness_min) {
            const std::string w = binary("w");
            add(wmin, w, 1);
            row(plus(s, var1(w, max_s)), "<=", max_s - s_const);
            row(plus(h[3], var1(w, max3)), "<=", L3 + max3);
            row(plus(h[2], var1(w, max2)), "<=", L2 + max2);
        }
        // ---- best case
        if (i == 4) {
            // h4 <= U4 (already n4 <= 4 by the bound); s = U4 - h4
            row(h[4], "<=", U4);
            const Lin s4 = plus(Lin{}, h[4], -1); // s = U4 - h4
            best_tail(q, s4, U4, h, U3, U2, max3, max2, wmax, h[4], U4);
        } else if (i == 5) {
            row(h[5], "<=", U5);
            // s = U5 - h5; then h4 <= U4 + (max4 - U4) s
            const Lin s5 = plus(Lin{}, h[5], -1);
            const long long k4 = max4 - U4;
            row(plus(h[4], s5, -k4), "<=", U4 + k4 * U5);
            // t1: tied through h4: t1 >= 1 - (k4+1) s - (U4 - h4)
            const std::string t1 = binary("t");
            //  t1 + (k4+1)(U5 - h5) + U4 - h4 >= 1
            row(plus(plus(var1(t1), h[5], -(k4 + 1)), h[4], -1), ">=", 1 - U4 - (k4 + 1) * U5);
            tail2(t1, h, U3, U2, max3, max2);
            const std::string w = binary("w");
            add(wmax, w, 1);
            row(plus(h[5], var1(w, -U5)), ">=", 0);
            row(plus(h[4], var1(w, -U4)), ">=", 0);
            row(plus(h[3], var1(w, -U3)), ">=", 0);
            row(plus(h[2], var1(w, -U2)), ">=", 0);
        } else if (i == 6) {
            const int c = pr.class_of(q);
            if (c < 0 || (pr.cands[c].mask != q && canonical(pr.cands[c].mask) != q))
                return; // never a ticket: count 6 is 0, below the best case
            const std::string x = "x" + std::to_string(c);
            const long long max5 = 12;
            // h5 <= U5 + (max5 - U5)(1 - x)
            row(plus(h[5], var1(x, max5 - U5)), "<=", max5);
            // s = (max5 + 1)(1 - x) + (U5 - h5) >= 0, zero when x = 1 and h5 = U5
            Lin s6 = plus(var1(x, -(max5 + 1)), h[5], -1);
            const long long s6c = (max5 + 1) + U5;
            const long long k4 = max4 - U4;
            // h4 <= U4 + k4 s
            row(plus(h[4], s6, -k4), "<=", U4 + k4 * s6c);
            const std::string t1 = binary("t");
            // t1 >= 1 - (k4 + 1) s - (U4 - h4)
            row(plus(plus(var1(t1), s6, k4 + 1), h[4], -1), ">=", 1 - U4 - (k4 + 1) * s6c);
            tail2(t1, h, U3, U2, max3, max2);
            const std::string w = binary("w");
            add(wmax, w, 1);
            row(plus(var1(w), var1(x, -1)), "<=", 0);
            (void)U6;
            row(plus(h[5], var1(w, -U5)), ">=", 0);
            row(plus(h[4], var1(w, -U4)), ">=", 0);
            row(plus(h[3], var1(w, -U3)), ">=", 0);
            row(plus(h[2], var1(w, -U2)), ">=", 0);
        }
    }
    static long long hi_pair() { return 42; }

    // Given t1 = 1 when tied through count 4: h3 <= U3, and when also h3 = U3, h2 <= U2.
    void tail2(const std::string& t1, const std::array<Lin, 7>& h, long long U3, long long U2, long long max3,
               long long max2) {
        // h3 <= U3 + (max3 - U3)(1 - t1)
        row(plus(h[3], var1(t1, max3 - U3)), "<=", max3);
        // t2 >= t1 - (U3 - h3) - (max3 + 1)(1 - t1)  ->  t2 - (max3 + 2) t1 + U3 - h3 >= -(max3 + 1)
        const std::string t2 = binary("t");
        row(plus(plus(var1(t2), var1(t1, -(max3 + 2))), h[3], -1), ">=", -(max3 + 1) - U3);
        // h2 <= U2 + (max2 - U2)(1 - t2)
        row(plus(h[2], var1(t2, max2 - U2)), "<=", max2);
    }

    // Row 4's best case: s = U4 - h4 (form s4 is -h4).
    void best_tail(PositionMask, const Lin& s4, long long, const std::array<Lin, 7>& h, long long U3,
                   long long U2, long long max3, long long max2, Lin& wmax, const Lin& h4, long long U4) {
        (void)s4;
        // h3 <= U3 + (max3 - U3) s
        row(plus(h[3], h4, max3 - U3), "<=", U3 + (max3 - U3) * U4);
        const std::string t1 = binary("t");
        // t1 >= 1 - (max3 - U3 + 1) s - (U3 - h3)
        row(plus(plus(var1(t1), h4, -(max3 - U3 + 1)), h[3], -1), ">=", 1 - U3 - (max3 - U3 + 1) * U4);
        row(plus(h[2], var1(t1, max2 - U2)), "<=", max2);
        const std::string w = binary("w");
        add(wmax, w, 1);
        row(plus(h4, var1(w, -U4)), ">=", 0);
        row(plus(h[3], var1(w, -U3)), ">=", 0);
        row(plus(h[2], var1(w, -U2)), ">=", 0);
    }
};

// The chosen classes of a CBC solution file: lines "index name value reduced-cost".
std::vector<int> read_lp_solution(const std::string& path, size_t n_cands) {
    std::vector<int> chosen;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return chosen;
    static char line[1 << 16];
    while (std::fgets(line, sizeof line, f)) {
        char name[128];
        double value = 0;
        int idx = 0;
        // A SAT-based solver's model: "v x1 -x2 ...", ticket class c being x<c + 1>.
        if (line[0] == 'v' && line[1] == ' ') {
            for (char* tok = std::strtok(line + 2, " \r\n"); tok; tok = std::strtok(nullptr, " \r\n"))
                if (tok[0] == 'x') {
                    const long c = std::strtol(tok + 1, nullptr, 10) - 1;
                    if (c >= 0 && static_cast<size_t>(c) < n_cands)
                        chosen.push_back(static_cast<int>(c));
                }
            continue;
        }
        if (std::sscanf(line, "%d %127s %lf", &idx, name, &value) == 3 && name[0] == 'x' && value > 0.5) {
            const long c = std::strtol(name + 1, nullptr, 10);
            if (c >= 0 && static_cast<size_t>(c) < n_cands)
                chosen.push_back(static_cast<int>(c));
        }
    }
    std::fclose(f);
    return chosen;
}

Found search_system(const SystemInfo& info, const Options& opt, int index) {
    const auto t0 = std::chrono::steady_clock::now();
    Problem pr;
    pr.info = info;
    Gaps g{};
    lyndon_gap_lists(info.v, info.m, g, 0, 0, pr.cands);
    pr.index_classes();
    int goal_from = info.t, goal_to = info.t;
    for (const Target& tg : targets)
        if (tg.name == info.name) {
            pr.goals.push_back(tg);
            goal_from = std::min(goal_from, tg.row);
            goal_to = std::max(goal_to, tg.row);
        }
    // Padding weighs every row from t up; a search for published rows needs only those rows.
    tabulate(pr, goal_from, pr.goals.empty() ? info.m : goal_to);
    std::mt19937_64 rng(opt.seed * 1000003u + static_cast<uint64_t>(index));
    const int count = info.base_count;
    const Evaluator ev{pr};
    Found f;

    if (!opt.write_lp.empty()) {
        LpWriter w(pr);
        w.all = pr.goals;
        for (const Target& tg : stretch_targets)
            if (tg.name == info.name)
                w.all.push_back(tg);
        w.keep_from = start_from(pr, opt);
        w.keep = opt.lp_keep;
        if (opt.lp_own_rows && !w.keep_from.empty()) {
            tabulate(pr, 2, info.m);
            const Score own = Evaluator{pr}.score(sums_of(pr, w.keep_from));
            for (Target& tg : w.all) {
                tg.worst = unpack(own.worst[tg.row]);
                tg.best = unpack(own.best[tg.row]);
            }
        }
        std::string text = w.text();
        if (opt.write_lp.ends_with(".opb"))
            text = w.opb_text();
        FILE* out = std::fopen(opt.write_lp.c_str(), "wb");
        if (!out || std::fputs(text.c_str(), out) < 0 || std::fclose(out) != 0) {
            std::fprintf(stderr, "cannot write %s\n", opt.write_lp.c_str());
            std::exit(1);
        }
        std::fprintf(
            stderr, "%s: model with %d constraints, %zu ticket classes and %d other binaries in %s\n",
            std::string(info.name).c_str(), w.n_rows, pr.cands.size(), w.n_bin, opt.write_lp.c_str());
        std::exit(0);
    }
    std::vector<int> chosen = greedy_cover(pr, count);
    if (!opt.lp_solution.empty()) {
        chosen = read_lp_solution(opt.lp_solution, pr.cands.size());
        std::fprintf(stderr, "%s: %zu base tickets from %s\n", std::string(info.name).c_str(), chosen.size(),
                     opt.lp_solution.c_str());
        if (static_cast<int>(chosen.size()) != count)
            std::exit(1);
        tabulate(pr, 2, info.m);
        const Score sc = Evaluator{pr}.score(sums_of(pr, chosen));
        for (int i = 2; i <= info.m; ++i)
            std::fprintf(stderr, "  row %d worst %s best %s\n", i, row_text(sc.worst[i]).c_str(),
                         row_text(sc.best[i]).c_str());
        std::fprintf(stderr, "  uncovered %d\n", sc.uncovered);
        Found f;
        f.method = "exact model";
        for (const int c : chosen)
            f.gaps.push_back(pr.cands[c].gaps);
        return f;
    }
    if (const std::vector<int> start = start_from(pr, opt); !start.empty()) {
        // A later stage of a staged search: the searches below begin from the given base tickets.
        chosen = start;
        std::fprintf(stderr, "%s: starting from %zu base tickets of %s\n", std::string(info.name).c_str(),
                     chosen.size(), opt.start.c_str());
    }
    Score s = ev.score(sums_of(pr, chosen));
    std::fprintf(stderr, "%s: %zu ticket classes, %zu placement classes; greedy %zu base tickets%s\n",
                 std::string(info.name).c_str(), pr.cands.size(), pr.n_places(), chosen.size(),
                 s.uncovered ? " (not covering)" : "");
    const bool greedy_ok = s.uncovered == 0 && static_cast<int>(chosen.size()) == count;
    f.method = "greedy";
    if (greedy_ok && goal_distance(s, pr.goals) == 0) {
        // the greedy already meets everything
    } else if (!pr.goals.empty() && combinations(static_cast<int>(pr.cands.size()), count) <= 2e6) {
        f.method = "exhaustive";
        if (auto found = exhaustive(pr, count))
            chosen = *found;
        else
            f.note = "no choice meets the published rows";
    } else if (s.uncovered == 0 && static_cast<int>(chosen.size()) < count && pr.goals.empty()) {
        f.method = "greedy + padding";
        pad(pr, chosen, count);
    } else {
        const int per_ticket = static_cast<int>(combinations(info.m, info.t));
        const int classes = pr.row_begin[info.t + 1] - pr.row_begin[info.t];
        if (count * per_ticket == classes && pr.goals.empty()) {
            f.method = "exact cover";
            ExactCover x(pr, count);
            if (x.solve())
                chosen = x.chosen;
            else
                f.note = "no exact cover";
        } else {
            f.method = pr.goals.empty() ? "annealing" : "annealing to the published rows";
            Annealer an{pr, pr.goals, {}, pr.goals.empty() ? 1000 : opt.cover_weight, 1, nullptr};
            const std::string label = std::string(info.name);
            an.label = label.c_str();
            an.outside_weight = opt.outside_weight;
            if (static_cast<int>(chosen.size()) < count)
                pad(pr, chosen, count);
            const long long budget = pr.goals.empty() ? 2'000'000 : opt.target_moves;
            std::vector<int> best_chosen = chosen;
            long long best_energy = LLONG_MAX;
            for (int attempt = 0; attempt < opt.attempts; ++attempt) {
                if (attempt > 0 && opt.fresh_starts) {
                    // An independent start: the previous attempt's valley is already explored.
                    std::vector<char> used(pr.cands.size(), 0);
                    for (int& c : chosen) {
                        do
                            c = static_cast<int>(rng() % pr.cands.size());
                        while (used[c]);
                        used[c] = 1;
                    }
                }
                auto r = an.run(chosen, rng, budget, pr.goals.empty() ? 1.0 : opt.t_hi,
                                pr.goals.empty() ? 0.05 : opt.t_lo, 0, t0);
                if (r.energy > 0 && opt.pair_descent) {
                    const auto polished = pair_descent(an, r.chosen);
                    std::fprintf(stderr, "  %s: pair descent %lld -> %lld\n", label.c_str(), r.energy,
                                 polished.energy);
                    if (polished.energy < r.energy)
                        r = {polished.chosen, polished.energy, r.moves};
                }
                chosen = r.chosen;
                if (r.energy < best_energy) {
                    best_energy = r.energy;
                    best_chosen = r.chosen;
                }
                std::fprintf(stderr, "  %s: attempt %d, energy %lld after %lld moves, %.1f s\n",
                             label.c_str(), attempt + 1, r.energy, r.moves, seconds_since(t0));
                const Score now = ev.score(sums_of(pr, chosen));
                for (const Target& tg : pr.goals)
                    std::fprintf(stderr, "    row %d worst %s best %s\n", tg.row,
                                 row_text(now.worst[tg.row]).c_str(), row_text(now.best[tg.row]).c_str());
                if (r.energy == 0)
                    break;
            }
            chosen = best_chosen;
        }
    }
    s = ev.score(sums_of(pr, chosen));
    if (s.uncovered != 0)
        f.note += " NOT COVERING";

    // The stretch rows: one bounded attempt that keeps the rows already matched.
    std::vector<Target> soft;
    for (const Target& tg : stretch_targets)
        if (tg.name == info.name)
            soft.push_back(tg);
    if (!soft.empty() && opt.stretch_moves > 0 && s.uncovered == 0 && goal_distance(s, pr.goals) == 0) {
        const auto t1 = std::chrono::steady_clock::now();
        tabulate(pr, 2, info.m);
        Annealer an{pr, pr.goals, soft, opt.cover_weight, opt.stretch_hard_weight, nullptr};
        const std::string label = std::string(info.name) + " rows 5-6";
        an.label = label.c_str();
        an.outside_weight = opt.stretch_outside_weight >= 0 ? opt.stretch_outside_weight : opt.outside_weight;
        an.keep_hard = true;
        const Evaluator ev2{pr};
        const int before = goal_distance(ev2.score(sums_of(pr, chosen)), soft);
        // The walk soon strays from the few states that keep the matched rows, so the budget is spent
        // in rounds, each starting again from the best state kept so far.
        const int rounds = std::max(1, opt.stretch_rounds);
        const double hi = opt.stretch_t_hi > 0 ? opt.stretch_t_hi : opt.t_hi;
        const double lo = opt.stretch_t_lo > 0 ? opt.stretch_t_lo : opt.t_lo;
        int after = before;
        long long moves = 0;
        for (int round = 0; round < rounds && after > 0; ++round) {
            auto r = an.run(chosen, rng, opt.stretch_moves / rounds, hi, lo, 0, t0);
            moves += r.moves;
            if (opt.pair_descent) {
                // Pairs of one-number moves reach states that keep the matched rows where single
                // moves cannot; the hard rows weigh more than the whole distance, so none is lost.
                Annealer strict = an;
                strict.hard_weight = 1000;
                r.chosen = pair_descent(strict, r.chosen).chosen;
            }
            const Score s2 = ev2.score(sums_of(pr, r.chosen));
            const int d = goal_distance(s2, soft);
            if (s2.uncovered == 0 && goal_distance(s2, pr.goals) == 0 && d < after) {
                chosen = r.chosen;
                after = d;
            }
            std::fprintf(stderr, "  %s: round %d of %d, distance %d, %.0f s\n", label.c_str(), round + 1,
                         rounds, after, seconds_since(t1));
        }
        char buf[200];
        std::snprintf(buf, sizeof buf, "; rows 5-6 attempt: %lld moves, %.0f s, distance %d -> %d", moves,
                      seconds_since(t1), before, after);
        f.note += buf;
    }

    if (!soft.empty() && opt.exchange_steps > 0 && s.uncovered == 0 &&
        (opt.exchange_hard_weight > 0 || goal_distance(ev.score(sums_of(pr, chosen)), pr.goals) == 0)) {
        const auto t1 = std::chrono::steady_clock::now();
        if (pr.row_from != 2 || pr.rows_to != info.m)
            tabulate(pr, 2, info.m);
        const std::string label = std::string(info.name) + " exchange";
        ExchangeSearch xs(pr, pr.goals, soft);
        xs.max_k = std::clamp(opt.exchange_k, 1, 3);
        xs.tenure = opt.tabu_tenure;
        xs.hard_weight = opt.exchange_hard_weight;
        xs.free_cover = opt.exchange_free_cover;
        if (xs.free_cover)
            xs.max_k = 1;
        const ExchangeSearch::Key before = xs.soft_key(sums_of(pr, chosen));
        const auto r = xs.run(chosen, opt.exchange_steps, t1, label.c_str());
        if (r.key.exact_scalar() < before.exact_scalar())
            chosen = r.chosen;
        char buf[200];
        std::snprintf(buf, sizeof buf, "; exchange search: %lld steps, %.0f s, distance %d -> %d",
                      opt.exchange_steps, seconds_since(t1), before.dist, r.key.dist);
        f.note += buf;
    }

    s = ev.score(sums_of(pr, chosen));
    for (const int c : chosen)
        f.gaps.push_back(pr.cands[c].gaps);
    f.seconds = seconds_since(t0);
    std::fprintf(stderr, "%s: %zu base tickets by %s in %.2f s%s\n", std::string(info.name).c_str(),
                 chosen.size(), f.method.c_str(), f.seconds, f.note.c_str());
    for (const Target& tg : pr.goals)
        std::fprintf(stderr, "  row %d worst %s best %s%s\n", tg.row, row_text(s.worst[tg.row]).c_str(),
                     row_text(s.best[tg.row]).c_str(),
                     distance(s.worst[tg.row], tg.worst) + distance(s.best[tg.row], tg.best) ? " (differs)"
                                                                                             : "");
    return f;
}

std::optional<Options> parse_args(int argc, char** argv) {
    Options o;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        const bool has_value = a + 1 < argc;
        if (arg == "--seed" && has_value)
            o.seed = std::strtoull(argv[++a], nullptr, 10);
        else if (arg == "--only" && has_value)
            o.only = argv[++a];
        else if (arg == "--out" && has_value)
            o.out = argv[++a];
        else if (arg == "--stretch-moves" && has_value)
            o.stretch_moves = std::strtoll(argv[++a], nullptr, 10);
        else if (arg == "--target-moves" && has_value)
            o.target_moves = std::strtoll(argv[++a], nullptr, 10);
        else if (arg == "--attempts" && has_value)
            o.attempts = std::atoi(argv[++a]);
        else if (arg == "--cover-weight" && has_value)
            o.cover_weight = std::atoi(argv[++a]);
        else if (arg == "--outside-weight" && has_value)
            o.outside_weight = std::atoi(argv[++a]);
        else if (arg == "--stretch-hard-weight" && has_value)
            o.stretch_hard_weight = std::atoi(argv[++a]);
        else if (arg == "--start" && has_value)
            o.start = argv[++a];
        else if (arg == "--pair-descent")
            o.pair_descent = true;
        else if (arg == "--stretch-outside-weight" && has_value)
            o.stretch_outside_weight = std::atoi(argv[++a]);
        else if (arg == "--stretch-rounds" && has_value)
            o.stretch_rounds = std::atoi(argv[++a]);
        else if (arg == "--stretch-t-hi" && has_value)
            o.stretch_t_hi = std::atof(argv[++a]);
        else if (arg == "--stretch-t-lo" && has_value)
            o.stretch_t_lo = std::atof(argv[++a]);
        else if (arg == "--exchange-steps" && has_value)
            o.exchange_steps = std::strtoll(argv[++a], nullptr, 10);
        else if (arg == "--exchange-k" && has_value)
            o.exchange_k = std::atoi(argv[++a]);
        else if (arg == "--exchange-free-cover")
            o.exchange_free_cover = true;
        else if (arg == "--exchange-hard-weight" && has_value)
            o.exchange_hard_weight = std::atoi(argv[++a]);
        else if (arg == "--tabu-tenure" && has_value)
            o.tabu_tenure = std::atoi(argv[++a]);
        else if (arg == "--write-lp" && has_value)
            o.write_lp = argv[++a];
        else if (arg == "--lp-solution" && has_value)
            o.lp_solution = argv[++a];
        else if (arg == "--lp-keep" && has_value)
            o.lp_keep = std::atoi(argv[++a]);
        else if (arg == "--lp-own-rows")
            o.lp_own_rows = true;
        else if (arg == "--fresh-starts")
            o.fresh_starts = true;
        else if (arg == "--t-hi" && has_value)
            o.t_hi = std::atof(argv[++a]);
        else if (arg == "--t-lo" && has_value)
            o.t_lo = std::atof(argv[++a]);
        else
            return std::nullopt;
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> opt = parse_args(argc, argv);
    if (!opt) {
        std::fprintf(
            stderr,
            "usage: wheel_search [--seed N] [--only NAME] [--out FILE] [--start FILE] [--target-moves N] "
            "[--attempts N] [--fresh-starts] [--cover-weight N] [--outside-weight N] "
            "[--t-hi X] [--t-lo X] "
            "[--pair-descent] [--stretch-moves N] "
            "[--stretch-hard-weight N] [--stretch-outside-weight N] [--stretch-rounds N] [--stretch-t-hi X] "
            "[--stretch-t-lo X] [--exchange-steps N] [--exchange-k K] [--exchange-hard-weight W] "
            "[--exchange-free-cover] "
            "[--tabu-tenure N] "
            "[--write-lp FILE] [--lp-keep K] [--lp-own-rows] [--lp-solution FILE]\n");
        return 2;
    }
    const auto t0 = std::chrono::steady_clock::now();
    std::string body;
    int index = 0;
    for (const SystemInfo& info : system_catalogue()) {
        ++index;
        if (!opt->only.empty() && opt->only != info.name)
            continue;
        std::fprintf(stderr, "[%d/41] %s ...\n", index, std::string(info.name).c_str());
        const Found f = search_system(info, *opt, index);
        body += "\n# " + std::string(info.name) + ": " + f.method + "\n";
        for (const Gaps& g : f.gaps) {
            body += std::string(info.name);
            for (int j = 0; j < info.m; ++j)
                body += " " + std::to_string(g[j]);
            body += "\n";
        }
    }
    std::string text = "# Base tickets of the wheel catalogue, one per line: <system> <gap 1> ... <gap m>.\n"
                       "# Rotation k of a base ticket starts at position k and steps by its gaps; the v\n"
                       "# rotations of all base tickets of a system v_t_m cover every t of its v positions.\n"
                       "# Produced by tools/wheel_search (deterministic for a given seed and options):\n"
                       "#   wheel_search";
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "--out") == 0) {
            ++a;
            continue;
        }
        text += std::string(" ") + argv[a];
    }
    text += "\n# Each system's comment names the method that found its base tickets.\n";
    text += body;
    if (opt->out.empty()) {
        std::fputs(text.c_str(), stdout);
    } else {
        FILE* f = std::fopen(opt->out.c_str(), "wb");
        if (!f || std::fputs(text.c_str(), f) < 0 || std::fclose(f) != 0) {
            std::fprintf(stderr, "cannot write %s\n", opt->out.c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "all done in %.1f s\n", seconds_since(t0));
    return 0;
}
