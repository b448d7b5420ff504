#pragma once

// Base tickets that cover every t-placement: greedy, exact cover, exhaustive, and padding of
// spare slots.

#include "problem.h"

namespace wheel_search {

// Greedy over the gap lists in lexicographic order: each step takes the first candidate that covers
// the most still uncovered t-placement classes; stops when all are covered or at the cap.
std::vector<int> greedy_cover(const Problem& pr, int cap);

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

// Fills the spare slots one at a time with the class that most raises the worst placements, rows
// from m down to t compared in turn (a better worst case when all m winning numbers are in the set
// first), ties to the earlier gap list.
void pad(const Problem& pr, std::vector<int>& chosen, int count);

// Every choice of count classes in lexicographic order; the first that covers and meets the goals.
std::optional<std::vector<int>> exhaustive(const Problem& pr, int count);

} // namespace wheel_search
