#include "core/systems/system_expansion.h"

#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/text_table.h"

namespace {

int16_t piece_value(const QStringList& pieces, int16_t count, int index) {
    if (index > count)
        return 0;
    bool ok = false;
    const int16_t value = pieces[index].toShort(&ok);
    return ok ? value : int16_t{0};
}

} // namespace

SystemShape system_shape(const QString& name) {
    QStringList pieces;
    const int16_t count = split_text(QStringLiteral("_"), name, pieces);
    return {piece_value(pieces, count, 1), piece_value(pieces, count, 2), piece_value(pieces, count, 3)};
}

bool system_fits(const SystemShape& shape, int16_t tset_size, int16_t pick_n) {
    return shape.v > 0 && shape.v == tset_size && shape.m == pick_n;
}

QString misfit_note(const QString& name, const SystemShape& shape, const QString& shown_name) {
    const QString needs = QStringLiteral("%1 is played on a set of %2 numbers with a lotto that picks %3")
                              .arg(name)
                              .arg(shape.v)
                              .arg(shape.m);
    if (shown_name.isEmpty())
        return needs + QStringLiteral("; no tickets are shown.");
    return needs + QStringLiteral("; the tickets shown are those of %1.").arg(shown_name);
}

void fill_system_grid(TextTable& grid, const SystemTickets& tickets, int16_t v, int16_t m,
                      std::span<const int16_t> tset_numbers) {
    std::vector<QString> rows;
    rows.reserve(static_cast<size_t>(tickets.count() * v));
    for (int16_t b = 1; b <= tickets.count(); ++b)
        for (int16_t k = 1; k <= v; ++k) {
            const auto row = static_cast<int16_t>((b - 1) * v + k);
            rows.push_back(ticket_row(
                row, ticket_numbers_text(rotation_positions(tickets, b, k, v, m), m, tset_numbers)));
        }
    set_ticket_rows(grid, std::move(rows));
}

QString ticket_row(int row, const QString& numbers) {
    const QString name = QStringLiteral("N%1").arg(row);
    return TextTable::pack(std::array<QStringView, 2>{name, numbers});
}

void set_ticket_rows(TextTable& grid, std::vector<QString> rows) {
    grid.set_cols(2);
    grid.set_rows(1);
    grid.clear();
    grid.append_packed_rows(std::move(rows));
    grid.set_text(0, 0, QStringLiteral("Tickets"));
    grid.set_text(0, 1, QStringLiteral("Numbers"));
}

QStringList system_file_lines(const TextTable& grid) {
    QStringList lines;
    lines.reserve(grid.rows());
    for (int r = 1; r < grid.rows(); ++r) {
        QString line;
        line.append(grid.text_view(r, 0)).append(u' ').append(grid.text_view(r, 1));
        lines << line;
    }
    return lines;
}

QString system_cost_text(int ticket_count, float cost) {
    return double_to_text(ticket_count * static_cast<double>(cost));
}

void fill_results_grid(TextTable& grid, const GuarMinMax& guar_min, const GuarMinMax& guar_max) {
    grid.clear();
    grid.set_rows(12);
    grid.set_cols(7);
    grid.set_fixed_rows(2);
    grid.set_fixed_cols(2);
    static const char* const head[2][7] = {
        {"Number of winning", "", "Number", "of tickets", "with", "winning", "balls="},
        {"balls in the targeted set", "", "2", "3", "4", "5", "6"},
    };
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 7; ++c)
            grid.set_text(r, c, QString::fromLatin1(head[r][c]));
    for (int i = 2; i <= 6; ++i) {
        grid.set_text(2 * i - 2, 0, QString::number(i));
        grid.set_text(2 * i - 2, 1, QStringLiteral("Min"));
        grid.set_text(2 * i - 1, 1, QStringLiteral("Max"));
    }
    for (int i = 2; i <= 6; ++i)
        for (int j = 2; j <= 6; ++j) {
            grid.set_text(2 * i - 2, j, QString::number(guar_min(i, j)));
            grid.set_text(2 * i - 1, j, QString::number(guar_max(i, j)));
        }
}

QString system_file_path(const QString& app_dir) {
    return join_path(app_dir, QStringLiteral("system"));
}
