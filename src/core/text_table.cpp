#include "core/text_table.h"

#include <algorithm>
#include <numeric>

namespace {

// The first character of a packed row: its cell count, and this bit when each cell end takes two
// characters (rows longer than 65,535 characters, such as a line of garbage loaded as a draw).
constexpr char16_t wide_bit = 0x8000;

} // namespace

TextTable::TextTable(QObject* parent) : QObject(parent) {}

int TextTable::cell_count(const QString& packed) {
    return packed.isEmpty() ? 0 : packed[0].unicode() & ~wide_bit;
}

QStringView TextTable::cell(const QString& packed, int col) {
    const int n = cell_count(packed);
    if (col >= n)
        return {};
    const auto* p = reinterpret_cast<const char16_t*>(packed.utf16());
    if (p[0] & wide_bit) {
        const auto end_of = [p](int c) { return qsizetype(p[1 + 2 * c]) | qsizetype(p[2 + 2 * c]) << 16; };
        const qsizetype begin = col == 0 ? 1 + 2 * n : end_of(col - 1);
        return QStringView(p + begin, end_of(col) - begin);
    }
    const qsizetype begin = col == 0 ? 1 + n : p[col];
    return QStringView(p + begin, p[1 + col] - begin);
}

QString TextTable::pack(std::span<const QStringView> cells) {
    // Trailing empty cells are not stored: a row of empty cells costs nothing.
    size_t n = cells.size();
    while (n > 0 && cells[n - 1].isEmpty())
        --n;
    if (n == 0)
        return {};
    qsizetype text = 0;
    for (size_t i = 0; i < n; ++i)
        text += cells[i].size();
    const bool wide = 1 + qsizetype(n) + text > 0xffff;
    const qsizetype head = 1 + qsizetype(n) * (wide ? 2 : 1);
    QString out(head + text, Qt::Uninitialized);
    char16_t* p = reinterpret_cast<char16_t*>(out.data());
    p[0] = static_cast<char16_t>(n | (wide ? wide_bit : 0));
    qsizetype at = head;
    for (size_t i = 0; i < n; ++i) {
        std::copy(cells[i].begin(), cells[i].end(), reinterpret_cast<QChar*>(p + at));
        at += cells[i].size();
        if (wide) {
            p[1 + 2 * i] = static_cast<char16_t>(at & 0xffff);
            p[2 + 2 * i] = static_cast<char16_t>(at >> 16);
        } else {
            p[1 + i] = static_cast<char16_t>(at);
        }
    }
    return out;
}

QString TextTable::pack(const QStringList& cells) {
    std::vector<QStringView> views(cells.begin(), cells.end());
    return pack(views);
}

void TextTable::set_rows(int n) {
    n = std::max(n, 0);
    if (n == rows())
        return;
    emit reset_begins();
    rows_.resize(n);
    emit rows_resized(n);
    emit reset_ends();
}

void TextTable::set_cols(int n) {
    n = std::max(n, 0);
    if (n == cols_)
        return;
    emit reset_begins();
    if (n < cols_) {
        std::vector<QStringView> keep;
        for (QString& row : rows_) {
            if (cell_count(row) <= n)
                continue;
            keep.clear();
            for (int c = 0; c < n; ++c)
                keep.push_back(cell(row, c));
            row = pack(keep);
        }
    }
    cols_ = n;
    emit cols_resized(n);
    emit reset_ends();
}

void TextTable::set_fixed_rows(int n) {
    emit reset_begins();
    fixed_rows_ = std::max(n, 0);
    emit fixed_changed();
    emit reset_ends();
}

void TextTable::set_fixed_cols(int n) {
    emit reset_begins();
    fixed_cols_ = std::max(n, 0);
    emit fixed_changed();
    emit reset_ends();
}

QStringView TextTable::text_view(int row, int col) const {
    if (!in_range(row, col))
        return {};
    return cell(rows_[row], col);
}

bool TextTable::replace(int row, int col, QStringView text) {
    QString& packed = rows_[row];
    if (cell(packed, col) == text)
        return false;
    const int n = std::max(cell_count(packed), col + 1);
    std::vector<QStringView> cells(n);
    for (int c = 0; c < n; ++c)
        cells[c] = c == col ? text : cell(packed, c);
    packed = pack(cells);
    return true;
}

void TextTable::set_text(int row, int col, QStringView text) {
    if (!in_range(row, col))
        return;
    // The text may be a view into this very row.
    const QString copy = text.toString();
    if (replace(row, col, copy) && col == derived_from_ && derived_ >= 0 && derived_ < cols_) {
        replace(row, derived_, {});
        emit cells_changed(row, row, std::min(col, derived_), std::max(col, derived_));
        return;
    }
    emit cells_changed(row, row, col, col);
}

void TextTable::set_column(int col, int first_row, const std::vector<QString>& texts) {
    if (texts.empty() || !in_range(first_row, col) || first_row + static_cast<int>(texts.size()) > rows())
        return;
    const bool derives = col == derived_from_ && derived_ >= 0 && derived_ < cols_;
    for (size_t i = 0; i < texts.size(); ++i)
        if (replace(first_row + static_cast<int>(i), col, texts[i]) && derives)
            replace(first_row + static_cast<int>(i), derived_, {});
    const int last_row = first_row + static_cast<int>(texts.size()) - 1;
    if (derives)
        emit cells_changed(first_row, last_row, std::min(col, derived_), std::max(col, derived_));
    else
        emit cells_changed(first_row, last_row, col, col);
}

void TextTable::clear() {
    emit reset_begins();
    for (QString& row : rows_)
        row = QString();
    emit cleared();
    emit reset_ends();
}

void TextTable::take(TextTable& other) {
    emit reset_begins();
    rows_ = std::move(other.rows_);
    other.rows_.clear();
    cols_ = other.cols_;
    fixed_rows_ = other.fixed_rows_;
    fixed_cols_ = other.fixed_cols_;
    derived_from_ = other.derived_from_;
    derived_ = other.derived_;
    emit cols_resized(cols_);
    emit rows_resized(rows());
    emit cleared();
    emit fixed_changed();
    emit reset_ends();
}

void TextTable::append_rows(const std::vector<QStringList>& rows) {
    std::vector<QString> packed;
    packed.reserve(rows.size());
    for (const QStringList& cells : rows)
        packed.push_back(pack(cells.mid(0, cols_)));
    append_packed_rows(std::move(packed));
}

void TextTable::append_packed_rows(std::vector<QString>&& packed) {
    if (packed.empty())
        return;
    const int first = rows();
    const int last = first + static_cast<int>(packed.size()) - 1;
    emit rows_inserting(first, last);
    rows_.reserve(rows_.size() + packed.size());
    for (QString& row : packed)
        rows_.push_back(std::move(row));
    packed.clear();
    emit rows_inserted(first, last);
}

void TextTable::remove_row(int row) {
    if (row < 0 || row >= rows())
        return;
    emit reset_begins();
    rows_.erase(rows_.begin() + row);
    emit row_removed(row);
    emit reset_ends();
}

bool TextTable::sort_rows_by_keys(int first_row, const std::vector<double>& keys) {
    if (first_row < 0 || first_row + static_cast<int>(keys.size()) > rows())
        return false;
    if (std::is_sorted(keys.begin(), keys.end()))
        return false;
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    emit reorder_begins();
    std::vector<QString> sorted;
    sorted.reserve(order.size());
    for (int i : order)
        sorted.push_back(std::move(rows_[first_row + i]));
    std::move(sorted.begin(), sorted.end(), rows_.begin() + first_row);
    emit reordered(first_row, order);
    return true;
}

std::optional<double> TextTable::number_of(QStringView cell) {
    cell = cell.trimmed();
    // Whole numbers, such as day serials, are read without the general parser.
    double v = 0.0;
    bool ok = !cell.isEmpty() && cell.size() <= 15;
    for (qsizetype i = 0; ok && i < cell.size(); ++i) {
        ok = cell[i] >= u'0' && cell[i] <= u'9';
        v = v * 10 + (cell[i].unicode() - u'0');
    }
    if (!ok)
        v = cell.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}
