#include "core/base/text_table.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

// The first character of a packed row: its cell count, and this bit when each cell end takes two
// characters (rows longer than 65,535 characters, such as a line of garbage loaded as a draw).
constexpr char16_t wide_bit = 0x8000;
constexpr qsizetype block_size = 1 << 16; // characters

} // namespace

TextTable::TextTable(QObject* parent) : QObject(parent) {}

int TextTable::cell_count(const char16_t* packed) {
    return packed ? packed[0] & ~wide_bit : 0;
}

QStringView TextTable::cell(const char16_t* p, int col) {
    const int n = cell_count(p);
    if (col >= n)
        return {};
    if (p[0] & wide_bit) {
        const auto end_of = [p](int c) { return qsizetype(p[1 + 2 * c]) | qsizetype(p[2 + 2 * c]) << 16; };
        const qsizetype begin = col == 0 ? 1 + 2 * n : end_of(col - 1);
        return QStringView(p + begin, end_of(col) - begin);
    }
    const qsizetype begin = col == 0 ? 1 + n : p[col];
    return QStringView(p + begin, p[1 + col] - begin);
}

qsizetype TextTable::length_of(const char16_t* p) {
    const int n = cell_count(p);
    if (n == 0)
        return 0;
    if (p[0] & wide_bit)
        return qsizetype(p[2 * n - 1]) | qsizetype(p[2 * n]) << 16;
    return p[n];
}

qsizetype TextTable::packed_size(std::span<const QStringView> cells, size_t& n, bool& wide) {
    // Trailing empty cells are not stored: a row of empty cells costs nothing.
    n = cells.size();
    while (n > 0 && cells[n - 1].isEmpty())
        --n;
    if (n == 0)
        return 0;
    qsizetype text = 0;
    for (size_t i = 0; i < n; ++i)
        text += cells[i].size();
    wide = 1 + qsizetype(n) + text > 0xffff;
    return 1 + qsizetype(n) * (wide ? 2 : 1) + text;
}

void TextTable::write_packed(char16_t* p, std::span<const QStringView> cells, size_t n, bool wide) {
    p[0] = static_cast<char16_t>(n | (wide ? wide_bit : 0));
    qsizetype at = 1 + qsizetype(n) * (wide ? 2 : 1);
    for (size_t i = 0; i < n; ++i) {
        std::copy(cells[i].utf16(), cells[i].utf16() + cells[i].size(), reinterpret_cast<ushort*>(p + at));
        at += cells[i].size();
        if (wide) {
            p[1 + 2 * i] = static_cast<char16_t>(at & 0xffff);
            p[2 + 2 * i] = static_cast<char16_t>(at >> 16);
        } else {
            p[1 + i] = static_cast<char16_t>(at);
        }
    }
}

QString TextTable::pack(std::span<const QStringView> cells) {
    size_t n = 0;
    bool wide = false;
    const qsizetype size = packed_size(cells, n, wide);
    QString out(size, Qt::Uninitialized);
    if (size > 0)
        write_packed(reinterpret_cast<char16_t*>(out.data()), cells, n, wide);
    return out;
}

QString TextTable::pack(const QStringList& cells) {
    std::vector<QStringView> views(cells.begin(), cells.end());
    return pack(views);
}

const char16_t* TextTable::store(std::span<const QStringView> cells) {
    size_t n = 0;
    bool wide = false;
    const qsizetype size = packed_size(cells, n, wide);
    if (size == 0)
        return nullptr;
    if (size > block_left_) {
        const qsizetype block = std::max(size, block_size);
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(block));
        free_ = blocks_.back().get();
        block_left_ = block;
    }
    char16_t* out = free_;
    free_ += size;
    block_left_ -= size;
    write_packed(out, cells, n, wide);
    stored_ += size;
    return out;
}

void TextTable::forget(const Row& row) {
    wasted_ += length_of(row.cells);
}

void TextTable::compact() {
    // Pack every row again into fresh blocks once more than half of what is stored is waste.
    if (wasted_ < block_size || wasted_ * 2 < stored_)
        return;
    auto old = std::move(blocks_);
    blocks_.clear();
    free_ = nullptr;
    block_left_ = 0;
    stored_ = 0;
    wasted_ = 0;
    std::vector<QStringView> cells;
    for (Row& row : rows_) {
        const int n = cell_count(row.cells);
        cells.resize(n);
        for (int c = 0; c < n; ++c)
            cells[c] = cell(row.cells, c);
        row.cells = store(cells);
    }
}

void TextTable::set_rows(int n) {
    n = std::max(n, 0);
    if (n == rows())
        return;
    emit reset_begins();
    for (int r = n; r < rows(); ++r)
        forget(rows_[r]);
    rows_.resize(n);
    compact();
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
        for (Row& row : rows_) {
            if (cell_count(row.cells) <= n)
                continue;
            keep.clear();
            for (int c = 0; c < n; ++c)
                keep.push_back(cell(row.cells, c));
            forget(row);
            row.cells = store(keep);
            if (derived_ >= n)
                row.key = std::numeric_limits<double>::quiet_NaN();
        }
        compact();
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
    return cell(rows_[row].cells, col);
}

std::optional<double> TextTable::derived_key(int row) const {
    if (row < 0 || row >= rows() || derived_ < 0)
        return std::nullopt;
    const Row& r = rows_[row];
    if (!std::isnan(r.key))
        return r.key;
    return number_of(cell(r.cells, derived_));
}

bool TextTable::replace(int row, int col, QStringView text) {
    Row& r = rows_[row];
    if (cell(r.cells, col) == text)
        return false;
    const int n = std::max(cell_count(r.cells), col + 1);
    std::vector<QStringView> cells(n);
    for (int c = 0; c < n; ++c)
        cells[c] = c == col ? text : cell(r.cells, c);
    // The old place is counted as waste only after the new one is written: text may lie in it.
    const Row old = r;
    r.cells = store(cells);
    forget(old);
    if (col == derived_)
        r.key = std::numeric_limits<double>::quiet_NaN();
    return true;
}

void TextTable::set_text(int row, int col, QStringView text) {
    if (!in_range(row, col))
        return;
    if (replace(row, col, text) && col == derived_from_ && derived_ >= 0 && derived_ < cols_) {
        replace(row, derived_, {});
        compact();
        emit cells_changed(row, row, std::min(col, derived_), std::max(col, derived_));
        return;
    }
    compact();
    emit cells_changed(row, row, col, col);
}

void TextTable::set_column(int col, int first_row, const std::vector<QString>& texts) {
    if (texts.empty() || !in_range(first_row, col) || first_row + static_cast<int>(texts.size()) > rows())
        return;
    const bool derives = col == derived_from_ && derived_ >= 0 && derived_ < cols_;
    for (size_t i = 0; i < texts.size(); ++i)
        if (replace(first_row + static_cast<int>(i), col, texts[i]) && derives)
            replace(first_row + static_cast<int>(i), derived_, {});
    compact();
    const int last_row = first_row + static_cast<int>(texts.size()) - 1;
    if (derives)
        emit cells_changed(first_row, last_row, std::min(col, derived_), std::max(col, derived_));
    else
        emit cells_changed(first_row, last_row, col, col);
}

void TextTable::clear() {
    emit reset_begins();
    for (Row& row : rows_)
        row = Row{};
    blocks_.clear();
    free_ = nullptr;
    block_left_ = stored_ = wasted_ = 0;
    emit cleared();
    emit reset_ends();
}

void TextTable::take(TextTable& other) {
    emit reset_begins();
    rows_ = std::move(other.rows_);
    blocks_ = std::move(other.blocks_);
    free_ = std::exchange(other.free_, nullptr);
    block_left_ = std::exchange(other.block_left_, 0);
    stored_ = std::exchange(other.stored_, 0);
    wasted_ = std::exchange(other.wasted_, 0);
    other.rows_.clear();
    other.blocks_.clear();
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

void TextTable::Appender::add(std::span<const QStringView> cells, double key) {
    if (cells.size() > static_cast<size_t>(table_.cols_))
        cells = cells.first(table_.cols_);
    rows_.push_back(Row{table_.store(cells), key});
}

void TextTable::Appender::finish() {
    if (rows_.empty())
        return;
    const int first = table_.rows();
    const int last = first + static_cast<int>(rows_.size()) - 1;
    emit table_.rows_inserting(first, last);
    table_.rows_.insert(table_.rows_.end(), rows_.begin(), rows_.end());
    rows_.clear();
    emit table_.rows_inserted(first, last);
}

void TextTable::append_rows(const std::vector<QStringList>& rows) {
    Appender appender(*this);
    std::vector<QStringView> cells;
    for (const QStringList& row : rows) {
        cells.assign(row.begin(), row.end());
        appender.add(cells);
    }
}

void TextTable::append_packed_rows(std::vector<QString>&& packed) {
    Appender appender(*this);
    std::vector<QStringView> cells;
    for (const QString& row : packed) {
        const auto* p = reinterpret_cast<const char16_t*>(row.utf16());
        const int n = row.isEmpty() ? 0 : cell_count(p);
        cells.resize(n);
        for (int c = 0; c < n; ++c)
            cells[c] = cell(p, c);
        appender.add(cells);
    }
    packed.clear();
}

void TextTable::remove_row(int row) {
    if (row < 0 || row >= rows())
        return;
    emit reset_begins();
    forget(rows_[row]);
    rows_.erase(rows_.begin() + row);
    compact();
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
    std::vector<Row> sorted;
    sorted.reserve(order.size());
    for (int i : order)
        sorted.push_back(rows_[first_row + i]);
    std::copy(sorted.begin(), sorted.end(), rows_.begin() + first_row);
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
