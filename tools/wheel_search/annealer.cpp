#include "annealer.h"

namespace wheel_search {

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

} // namespace wheel_search
