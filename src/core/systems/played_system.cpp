#include "core/systems/played_system.h"

#include "core/base/text_table.h"
#include "core/systems/system_expansion.h"

#include <bit>

namespace {

// Placements times tickets beyond which a row of a designed system's table is not walked.
constexpr double max_row_work = 4e8;

double choose(int n, int k) {
    if (k < 0 || k > n)
        return 0;
    double c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c;
}

} // namespace

std::optional<PlayedSystem> catalogue_system(const QString& name) {
    const auto info = find_system(name);
    if (!info)
        return std::nullopt;
    int16_t count = 0;
    SystemTickets base;
    get_system_tickets(name, count, base);
    PlayedSystem system{name, false, info->v, info->m, {}};
    for (int t = 1; t <= base.count() * info->v; ++t)
        system.tickets.push_back(*ticket_positions(base, static_cast<int16_t>(t), info->v, info->m));
    return system;
}

GuarTables played_guar_tables(const PlayedSystem& system) {
    if (!system.designed)
        if (const auto info = find_system(system.name)) {
            int16_t count = 0;
            SystemTickets base;
            get_system_tickets(system.name, count, base);
            return guar_tables(*info, base);
        }
    GuarTables g;
    const int v = system.v, m = system.m, n = system.ticket_count();
    if (v < 1 || v > 64 || m < 1 || m > max_ticket_size || n == 0)
        return g;
    std::vector<uint64_t> masks;
    masks.reserve(static_cast<size_t>(n));
    for (const TicketPositions& t : system.tickets) {
        uint64_t mask = 0;
        for (int j = 0; j < m; ++j)
            mask |= uint64_t{1} << (t[j] - 1);
        masks.push_back(mask);
    }
    for (int i = 2; i <= std::min(m, v); ++i) {
        for (int j = 2; j <= 6; ++j)
            g.avg(i, j) = guar_average(v, m, n, i, j);
        if (choose(v, i) * n > max_row_work)
            continue;
        PackedHits worst = 0, best = 0;
        bool first = true;
        for (uint64_t p = (uint64_t{1} << i) - 1;;) {
            PackedHits h = 0;
            for (const uint64_t t : masks)
                h += hit_unit(std::popcount(p & t));
            if (first || h < worst)
                worst = h;
            if (first || h > best)
                best = h;
            first = false;
            // The next subset of the same size, in increasing order, until it leaves 1..v.
            const uint64_t low = p & (~p + 1);
            const uint64_t ripple = p + low;
            if (ripple == 0)
                break;
            p = ripple | (((p ^ ripple) >> 2) / low);
            if (v < 64 && (p >> v) != 0)
                break;
        }
        for (int j = 2; j <= 6; ++j) {
            g.min(i, j) = static_cast<int16_t>(hit_count(worst, j));
            g.max(i, j) = static_cast<int16_t>(hit_count(best, j));
        }
    }
    return g;
}

void fill_played_grid(TextTable& grid, const PlayedSystem& system, std::span<const int16_t> tset_numbers) {
    std::vector<QString> rows;
    rows.reserve(system.tickets.size());
    for (size_t t = 0; t < system.tickets.size(); ++t)
        rows.push_back(ticket_row(static_cast<int>(t + 1),
                                  ticket_numbers_text(system.tickets[t], system.m, tset_numbers)));
    set_ticket_rows(grid, std::move(rows));
}
