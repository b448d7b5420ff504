#pragma once

#include "core/systems/guar_results.h"
#include "core/systems/system_catalogue.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <vector>

class TextTable;

// v, t and m of a system name v_t_m: the pieces of the name split at "_", each as its numeric
// value (0 for a piece that is missing or not a number).
struct SystemShape {
    int16_t v = 0;
    int16_t t = 0;
    int16_t m = 0;
};
SystemShape system_shape(const QString& name);

// A system is expanded only on a set of v numbers and for a lotto that picks m.
bool system_fits(const SystemShape& shape, int16_t tset_size, int16_t pick_n);

// Said beside the list when a picked system does not fit; shown_name is the system whose tickets
// the window still shows, empty when none.
QString misfit_note(const QString& name, const SystemShape& shape, const QString& shown_name);

// The tickets grid: a header row ("Tickets", "Numbers") over one row per ticket, "N<row>" and its
// numbers in the order of its positions. Rows 1..rows() - 1 are the tickets.
void fill_system_grid(TextTable& grid, const SystemTickets& tickets, int16_t v, int16_t m,
                      std::span<const int16_t> tset_numbers);
// One packed row of that grid, "N<row>" and the ticket's numbers; and the grid made of such rows
// under its header.
QString ticket_row(int row, const QString& numbers);
void set_ticket_rows(TextTable& grid, std::vector<QString> rows);

// The current-system file's lines: "N<row> <numbers>" for every ticket row of the grid.
QStringList system_file_lines(const TextTable& grid);
// Where the current-system file lives: the tickets of the system last expanded.
QString system_file_path(const QString& app_dir);

// The count of tickets times the cost of one play, formed in 64-bit floats, as at most 15
// significant digits.
QString system_cost_text(int ticket_count, float cost);

// The guaranteed-results grid: 12 rows and 7 columns, rows 0-1 and columns 0-1 fixed, the worst
// case of i winning numbers in row 2i - 2 and the best in row 2i - 1.
void fill_results_grid(TextTable& grid, const GuarMinMax& guar_min, const GuarMinMax& guar_max);
