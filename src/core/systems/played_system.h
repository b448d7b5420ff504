#pragma once

#include "core/systems/guar_results.h"
#include "core/systems/system_catalogue.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class TextTable;

// A system as it is played: v positions, tickets of m, and every ticket's positions. A catalogue
// system's tickets are the rotations of its base tickets; a designed system's are listed in its file.
struct PlayedSystem {
    QString name;
    bool designed = false;
    int16_t v = 0;
    int16_t m = 0;
    std::vector<TicketPositions> tickets;
    int ticket_count() const { return static_cast<int>(tickets.size()); }
};

// The catalogue system of that name, its tickets in ticket order.
std::optional<PlayedSystem> catalogue_system(const QString& name);

// The guaranteed results of any system, from its tickets. A designed system has no rotations to
// lean on, so every placement is walked; a row whose walk would take too long is left at zero.
GuarTables played_guar_tables(const PlayedSystem& system);

// The tickets grid of fill_system_grid for any system: "N<row>" and the ticket's numbers.
void fill_played_grid(TextTable& grid, const PlayedSystem& system, std::span<const int16_t> tset_numbers);
