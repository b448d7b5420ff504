#include "core/tsets/tset_files.h"

#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/base/text_table.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

bool is_blank_row(const TextTable& grid, int row) {
    for (int c = 0; c < grid.cols(); ++c)
        for (const QChar ch : grid.text_view(row, c))
            if (!ch.isSpace())
                return false;
    return true;
}

} // namespace

QString tsets_folder(const QString& app_dir) {
    return join_path(app_dir, QStringLiteral("Tsets")) + u'/';
}

QString size_folder(const QString& tsets_folder, int16_t size) {
    return join_path(tsets_folder, QString::number(size));
}

std::optional<int16_t> tset_size_from_text(const QString& text) {
    const auto size = text_to_int16(text);
    if (!size || *size < tset_min_size || *size > tset_max_size)
        return std::nullopt;
    return size;
}

QStringList list_tsets(const QString& size_folder) {
    return QDir(size_folder).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

CreateResult create_tset_file(const QString& path) {
    if (QFileInfo::exists(path))
        return CreateResult::exists;
    return write_file_atomically(path, QByteArray()) ? CreateResult::created : CreateResult::failed;
}

void Tsets_headers(TextTable& grid, int size) {
    grid.set_rows(1);
    grid.set_cols(size + 1);
    grid.clear();
    grid.set_fixed_rows(1);
    grid.set_fixed_cols(0);
    grid.set_text(0, 0, QStringLiteral("Date"));
    for (int c = 1; c <= size; ++c)
        grid.set_text(0, c, QStringLiteral("N%1").arg(c));
}

std::optional<TsetRec> read_tset_file(const QString& path, const QString& name, int16_t size,
                                      QString* error) {
    const auto bytes = read_whole_file(path, error);
    if (!bytes)
        return std::nullopt;
    const QString text = decode_text_file(*bytes);
    TsetRec set;
    set.name = name;
    set.size = size;
    QStringList pieces;
    QString line;
    int number = 0;
    int short_line = 0;
    // Line by line, without a list of every line: a file of millions of blank lines costs nothing.
    for_each_line(text, [&](QStringView view) {
        ++number;
        if (short_line > 0) {
            if (set.unread_line == 0 && !view.trimmed().isEmpty())
                set.unread_line = short_line;
            return;
        }
        line = view.toString();
        line.replace(u'\t', u' ');
        if (split_text(QStringLiteral(" "), line, pieces) < size + 1) {
            short_line = number;
            if (!view.trimmed().isEmpty())
                set.unread_line = number;
            return;
        }
        set.rows.push_back(TsetRow{pieces[1], pieces.mid(2, size)});
    });
    set.current_row = static_cast<int>(set.rows.size());
    return set;
}

std::optional<std::pair<int, int>> tset_dates_out_of_order(const TsetRec& set) {
    std::optional<double> last;
    int last_line = 0;
    for (size_t i = 0; i < set.rows.size(); ++i) {
        const auto date = date_text_to_serial(set.rows[i].date, DatePart::DateOnly);
        if (!date)
            continue;
        const int line = static_cast<int>(i) + 1;
        if (last && std::floor(*date) < std::floor(*last))
            return std::pair{last_line, line};
        last = date;
        last_line = line;
    }
    return std::nullopt;
}

void show_tset(TextTable& grid, const TsetRec& set) {
    Tsets_headers(grid, set.size);
    std::vector<QString> packed;
    packed.reserve(set.rows.size());
    std::vector<QStringView> cells;
    for (const TsetRow& row : set.rows) {
        cells.assign(1, row.date);
        cells.insert(cells.end(), row.numbers.begin(), row.numbers.end());
        packed.push_back(TextTable::pack(cells));
    }
    grid.append_packed_rows(std::move(packed));
}

std::optional<CellRef> get_Tset(const TextTable& grid, int currow, int size, std::array<int16_t, 21>& TSet) {
    for (int c = 1; c <= size && c < static_cast<int>(TSet.size()); ++c) {
        const auto value = text_to_int16(grid.text(currow, c));
        if (!value)
            return CellRef{currow, c};
        TSet[c] = *value;
    }
    return std::nullopt;
}

QString incorrect_cell_text(CellRef cell) {
    return QString::fromLatin1(msg_incorrect_cell) + QStringLiteral("%1,%2)").arg(cell.row).arg(cell.col);
}

QStringList tset_file_lines(const TextTable& grid, int size, QStringView empty_cell) {
    QStringList lines;
    lines.reserve(grid.rows());
    for (int r = 1; r < grid.rows(); ++r) {
        if (is_blank_row(grid, r))
            continue;
        // Each of the cells 0..size followed by a blank.
        QString line;
        for (int c = 0; c <= size; ++c) {
            const QStringView cell = grid.text_view(r, c);
            line += cell.isEmpty() ? empty_cell : cell;
            line += u' ';
        }
        lines.append(line);
    }
    return lines;
}

SaveResult save_tset(const QString& path, int size, TextTable& grid) {
    std::vector<int> blank;
    for (int r = 1; r < grid.rows(); ++r)
        if (is_blank_row(grid, r))
            blank.push_back(r);
    // The blank rows go only once every other date is known to parse, so a refused save leaves
    // the grid as it was.
    if (!blank.empty()) {
        for (int r = 1; r < grid.rows(); ++r)
            if (!std::binary_search(blank.begin(), blank.end(), r) &&
                !date_text_to_serial(grid.text_view(r, 0), DatePart::DateOnly))
                return SaveResult::bad_date;
        for (auto it = blank.rbegin(); it != blank.rend(); ++it)
            grid.remove_row(*it);
    }
    if (!sort_grid_by_date(grid, 0))
        return SaveResult::bad_date;
    return write_text_lines(path, tset_file_lines(grid, size)) ? SaveResult::saved : SaveResult::write_failed;
}
