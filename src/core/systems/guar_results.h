#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/systems/system_catalogue.h"

// Cell (i, j), both 0..7: i winning numbers among the set's v, j of them on one ticket.
struct GuarAvg {
    std::array<std::array<float, 8>, 8> cell{};
    float& operator()(int i, int j) { return cell[i][j]; }
    float operator()(int i, int j) const { return cell[i][j]; }
};

struct GuarMinMax {
    std::array<std::array<int16_t, 8>, 8> cell{};
    int16_t& operator()(int i, int j) { return cell[i][j]; }
    int16_t operator()(int i, int j) const { return cell[i][j]; }
};

// Overwrites rows 2..6, columns 2..6 of the three tables from the named system's tickets: every
// row up to m, zeros beyond. A name without an entry changes nothing.
void get_guar_results(const QString& name, GuarAvg& guar_avg, GuarMinMax& guar_min, GuarMinMax& guar_max);

// Hit vectors pack the counts of tickets with 2..6 hits into one integer, count 6 in the highest
// field, so the order "count 6 first, then 5, ... then 2" is plain integer order. Fields are wide
// enough for the largest system (969 tickets) and for sums of such vectors.
using PackedHits = uint64_t;
constexpr int hit_field_bits = 12;
constexpr PackedHits hit_unit(int j) {
    return j < 2 ? 0 : PackedHits{1} << (hit_field_bits * (j - 2));
}
constexpr int hit_count(PackedHits h, int j) {
    return static_cast<int>((h >> (hit_field_bits * (j - 2))) & ((1u << hit_field_bits) - 1));
}

// Positions as bits: position p is bit p - 1.
using PositionMask = uint32_t;
PositionMask rotate_mask(PositionMask mask, int v);
PositionMask positions_mask(const TicketPositions& positions, int m);

// One representative (the smallest mask among its v rotations) of every rotation class of
// i-subsets of the positions 1..v, in increasing order. A hit vector does not change when the
// placement and the tickets are rotated together, and a system's tickets are closed under
// rotation, so these are all the placements a table needs.
std::vector<PositionMask> placement_classes(int v, int i);

// All count * v tickets of a system as masks, in ticket order.
std::vector<PositionMask> ticket_masks(const SystemTickets& tickets, int16_t v, int16_t m);

struct RowExtremes {
    PackedHits worst = 0;
    PackedHits best = 0;
};
// Worst and best placement of i (at most 6) winning numbers.
RowExtremes row_extremes(int v, int i, std::span<const PositionMask> tickets);

// N * C(m, j) * C(v - m, i - j) / C(v, i) as a 32-bit float; 0 where j > i, j > m or i - j > v - m.
float guar_average(int v, int m, int n_tickets, int i, int j);

// The three tables of a system computed from its tickets (rows 2..m; row 6 stays 0 when m = 5).
struct GuarTables {
    GuarAvg avg;
    GuarMinMax min;
    GuarMinMax max;
};
GuarTables guar_tables(const SystemInfo& info, const SystemTickets& tickets);
