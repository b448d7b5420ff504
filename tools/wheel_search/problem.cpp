#include "problem.h"

namespace wheel_search {

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

PackedHits pack(const HitRow& r) {
    PackedHits h = 0;
    for (int j = 2; j <= 6; ++j)
        h += hit_unit(j) * static_cast<PackedHits>(r[j - 2]);
    return h;
}

std::string row_text(PackedHits h) {
    const HitRow r = unpack(h);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d %d %d %d %d", r[0], r[1], r[2], r[3], r[4]);
    return buf;
}

double combinations(int n, int k) {
    double r = 1;
    for (int i = 1; i <= k; ++i)
        r = r * (n - k + i) / i;
    return r;
}

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

std::vector<PackedHits> sums_of(const Problem& pr, const std::vector<int>& chosen) {
    std::vector<PackedHits> sums(pr.n_places(), 0);
    for (const int c : chosen) {
        const PackedHits* row = pr.contrib_of(c);
        for (size_t p = 0; p < sums.size(); ++p)
            sums[p] += row[p];
    }
    return sums;
}

int field_gap(PackedHits a, PackedHits b) {
    const int j = 2 + (63 - std::countl_zero(a ^ b)) / hit_field_bits;
    return std::abs(hit_count(a, j) - hit_count(b, j));
}

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

} // namespace wheel_search
