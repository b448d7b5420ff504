#include "covering.h"

namespace wheel_search {

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

} // namespace wheel_search
