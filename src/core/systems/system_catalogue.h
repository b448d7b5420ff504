#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// One wheel of the catalogue: played on a set of v numbers, m numbers per ticket, guaranteeing t.
struct SystemInfo {
    std::string_view name;
    int16_t v;
    int16_t t;
    int16_t m;
    int16_t base_count;
    int16_t ticket_count() const { return static_cast<int16_t>(base_count * v); }
};

// The 41 systems in the order the Systems window lists them.
std::span<const SystemInfo> system_catalogue();
std::optional<SystemInfo> find_system(QStringView name);

// Gap g of base ticket b at (b, g), both counted from 1; row 0 and column 0 stay unused so the
// indices read as the tickets are numbered.
struct SystemTickets {
    std::vector<std::array<int16_t, 7>> rows;
    int16_t operator()(int b, int g) const { return rows[b][g]; }
    int16_t count() const { return rows.empty() ? 0 : static_cast<int16_t>(rows.size() - 1); }
};

// The base-ticket table, compiled in from wheels.txt.
std::string_view wheels_text();

struct WheelsEntry {
    QString name;
    std::vector<std::array<int16_t, 6>> gaps; // m gaps used, the rest 0
};

// Reads the wheels file format: "<name> <g1> ... <gm>" per base ticket, '#' comments, blank lines.
// A malformed line is an error naming its line number.
struct WheelsParse {
    std::vector<WheelsEntry> entries; // in file order, base tickets grouped by name
    QString error;
};
WheelsParse parse_wheels(std::string_view text);

// Loads the base tickets of the named system; a name without an entry changes nothing.
void get_system_tickets(const QString& name, int16_t& system_ticket_count, SystemTickets& system_tickets);

constexpr int max_ticket_size = 6;
using TicketPositions = std::array<int16_t, max_ticket_size>;

// Positions 1..v of rotation k of base ticket b: p1 = k, each next one a gap further, wrapping at v.
TicketPositions rotation_positions(const SystemTickets& tickets, int16_t b, int16_t k, int16_t v, int16_t m);

// Positions of ticket number (b - 1) * v + k; nullopt when the number is outside 1..count * v.
std::optional<TicketPositions> ticket_positions(const SystemTickets& tickets, int16_t ticket_number,
                                                int16_t v, int16_t m);

// The ticket's numbers taken from tset_numbers (indexed 1..v), in the order of its positions,
// separated by single blanks.
QString ticket_numbers_text(const TicketPositions& positions, int16_t m,
                            std::span<const int16_t> tset_numbers);

// One line of the current-system file, without its line end: "N<row> <numbers>".
std::optional<QString> system_file_line(const SystemTickets& tickets, int16_t row, int16_t v, int16_t m,
                                        std::span<const int16_t> tset_numbers);
