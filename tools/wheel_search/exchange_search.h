#pragma once

// The tabu walk over exact k-exchanges for the stretch rows.

#include "problem.h"

namespace wheel_search {

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

} // namespace wheel_search
