#pragma once

// One system as tables: its candidate base tickets (one per rotation class), the placement
// classes of the rows in use, and the hit vector each candidate gives each placement; scoring.

#include "search_options.h"

namespace wheel_search {

double seconds_since(std::chrono::steady_clock::time_point t0);

HitRow unpack(PackedHits h);

int distance(PackedHits h, const HitRow& target);

PackedHits pack(const HitRow& r);

std::string row_text(PackedHits h);

double combinations(int n, int k);

// Gap lists that are the smallest of their cyclic shifts and equal to none of them: one per
// rotation class of tickets, leaving out the periodic ones whose rotations repeat.
void lyndon_gap_lists(int v, int m, Gaps& g, int pos, int sum, std::vector<Candidate>& out);

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

void tabulate(Problem& pr, int row_from, int row_to);

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

std::vector<PackedHits> sums_of(const Problem& pr, const std::vector<int>& chosen);

// The difference in the most significant field where two packed vectors differ.
int field_gap(PackedHits a, PackedHits b);

// How far one row is from a published worst/best pair, smoother than the distance of the two
// extremes alone: every placement outside the pair counts too, by its first differing count (0 exactly when
// the row's extremes are the pair).
long long row_energy(const std::vector<PackedHits>& sums, int b, int e, const Target& g, int outside_weight);

int goal_distance(const Score& s, const std::vector<Target>& goals);

} // namespace wheel_search
