#include "core/systems/guar_results.h"

#include <algorithm>
#include <bit>

#include "core/base/common_routines.h"

PositionMask rotate_mask(PositionMask mask, int v) {
    const PositionMask full = (PositionMask{1} << v) - 1;
    return ((mask << 1) | (mask >> (v - 1))) & full;
}

PositionMask positions_mask(const TicketPositions& positions, int m) {
    PositionMask mask = 0;
    for (int j = 0; j < m; ++j)
        mask |= PositionMask{1} << (positions[j] - 1);
    return mask;
}

std::vector<PositionMask> placement_classes(int v, int i) {
    std::vector<PositionMask> reps;
    if (i < 1 || i > v)
        return reps;
    // Every class has its smallest member among the subsets holding position 1, so only those are
    // walked (in increasing order, by the next-subset-of-equal-size step).
    const PositionMask last = PositionMask{1} << v;
    for (PositionMask rest = (PositionMask{1} << (i - 1)) - 1; (rest << 1) < last;) {
        const PositionMask mask = (rest << 1) | 1;
        PositionMask r = mask;
        bool smallest = true;
        for (int k = 1; k < v && smallest; ++k) {
            r = rotate_mask(r, v);
            smallest = r >= mask;
        }
        if (smallest)
            reps.push_back(mask);
        if (rest == 0)
            break;
        const PositionMask low = rest & (~rest + 1);
        const PositionMask ripple = rest + low;
        rest = ripple | (((rest ^ ripple) >> 2) / low);
    }
    return reps;
}

std::vector<PositionMask> ticket_masks(const SystemTickets& tickets, int16_t v, int16_t m) {
    std::vector<PositionMask> masks;
    masks.reserve(static_cast<size_t>(tickets.count() * v));
    for (int16_t b = 1; b <= tickets.count(); ++b)
        for (int16_t k = 1; k <= v; ++k)
            masks.push_back(positions_mask(rotation_positions(tickets, b, k, v, m), m));
    return masks;
}

namespace {

// For each position, the tickets that hold it as a bit set; a placement's hit counts are then a
// bit-sliced sum of i such sets, a word of 64 tickets at a time.
struct Incidence {
    size_t words = 0;
    std::vector<uint64_t> bits; // [position][word]

    Incidence(int v, std::span<const PositionMask> tickets) : words((tickets.size() + 63) / 64) {
        bits.assign(static_cast<size_t>(v) * words, 0);
        for (size_t n = 0; n < tickets.size(); ++n)
            for (int p = 0; p < v; ++p)
                if (tickets[n] >> p & 1)
                    bits[p * words + n / 64] |= uint64_t{1} << (n % 64);
    }

    PackedHits hits(PositionMask placement) const {
        std::array<const uint64_t*, 32> rows{};
        int i = 0;
        for (PositionMask rest = placement; rest != 0; rest &= rest - 1)
            rows[i++] = bits.data() + std::countr_zero(rest) * words;
        PackedHits h = 0;
        for (size_t w = 0; w < words; ++w) {
            uint64_t b0 = 0, b1 = 0, b2 = 0; // count of hits per ticket, bit by bit (at most 6)
            for (int r = 0; r < i; ++r) {
                const uint64_t x = rows[r][w];
                const uint64_t c0 = b0 & x;
                b0 ^= x;
                const uint64_t c1 = b1 & c0;
                b1 ^= c0;
                b2 |= c1;
            }
            h += hit_unit(2) * std::popcount(~b2 & b1 & ~b0) + hit_unit(3) * std::popcount(~b2 & b1 & b0) +
                 hit_unit(4) * std::popcount(b2 & ~b1 & ~b0) + hit_unit(5) * std::popcount(b2 & ~b1 & b0) +
                 hit_unit(6) * std::popcount(b2 & b1 & ~b0);
        }
        return h;
    }
};

} // namespace

RowExtremes row_extremes(int v, int i, std::span<const PositionMask> tickets) {
    RowExtremes e;
    if (i > max_ticket_size)
        return e; // the bit-sliced counts hold at most 7
    const Incidence inc(v, tickets);
    bool first = true;
    for (const PositionMask p : placement_classes(v, i)) {
        const PackedHits h = inc.hits(p);
        if (first || h < e.worst)
            e.worst = h;
        if (first || h > e.best)
            e.best = h;
        first = false;
    }
    return e;
}

float guar_average(int v, int m, int n_tickets, int i, int j) {
    if (j > i || j > m || i - j > v - m)
        return 0.0f;
    const double value = n_tickets * binomial(static_cast<int16_t>(m), static_cast<int16_t>(j)) *
                         binomial(static_cast<int16_t>(v - m), static_cast<int16_t>(i - j)) /
                         binomial(static_cast<int16_t>(v), static_cast<int16_t>(i));
    return static_cast<float>(value);
}

GuarTables guar_tables(const SystemInfo& info, const SystemTickets& tickets) {
    GuarTables g;
    const std::vector<PositionMask> masks = ticket_masks(tickets, info.v, info.m);
    const int n = static_cast<int>(masks.size());
    for (int i = 2; i <= info.m; ++i) {
        const RowExtremes e = row_extremes(info.v, i, masks);
        for (int j = 2; j <= 6; ++j) {
            g.avg(i, j) = guar_average(info.v, info.m, n, i, j);
            g.min(i, j) = static_cast<int16_t>(hit_count(e.worst, j));
            g.max(i, j) = static_cast<int16_t>(hit_count(e.best, j));
        }
    }
    return g;
}

void get_guar_results(const QString& name, GuarAvg& guar_avg, GuarMinMax& guar_min, GuarMinMax& guar_max) {
    const std::optional<SystemInfo> info = find_system(name);
    if (!info)
        return;
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(name, count, tickets);
    if (count == 0)
        return;
    const GuarTables g = guar_tables(*info, tickets);
    for (int i = 2; i <= 6; ++i)
        for (int j = 2; j <= 6; ++j) {
            guar_avg(i, j) = g.avg(i, j);
            guar_min(i, j) = g.min(i, j);
            guar_max(i, j) = g.max(i, j);
        }
}
