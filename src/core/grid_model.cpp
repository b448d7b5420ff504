#include "core/grid_model.h"

#include <algorithm>
#include <numeric>

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

QStringView GridModel::field(const QString& joined, int col) {
    qsizetype start = 0;
    for (int i = 0; i < col; ++i) {
        const qsizetype p = joined.indexOf(cell_separator, start);
        if (p < 0)
            return {};
        start = p + 1;
    }
    const qsizetype end = joined.indexOf(cell_separator, start);
    return QStringView(joined).sliced(start, (end < 0 ? joined.size() : end) - start);
}

void GridModel::set_rows(int n) {
    n = std::max(n, 0);
    if (n == rows())
        return;
    beginResetModel();
    rows_.resize(n);
    // Rows added later start with the default height, not that of a row removed here.
    if (static_cast<int>(row_heights_.size()) > n)
        row_heights_.resize(n);
    endResetModel();
}

void GridModel::set_cols(int n) {
    n = std::max(n, 0);
    if (n == cols_)
        return;
    beginResetModel();
    if (n < cols_) {
        for (Row& row : rows_) {
            qsizetype start = 0;
            for (int i = 0; i < n && start >= 0; ++i) {
                const qsizetype p = row.cells.indexOf(cell_separator, start);
                start = p < 0 ? -1 : p + 1;
            }
            if (start > 0)
                row.cells.truncate(start - 1);
            if (n == 0)
                row.cells.clear();
            row.bold &= n >= 64 ? ~0ull : ((1ull << n) - 1);
        }
    }
    cols_ = n;
    col_widths_.resize(n, default_col_width);
    endResetModel();
    emit geometry_changed();
}

void GridModel::set_fixed_rows(int n) {
    beginResetModel();
    fixed_rows_ = std::max(n, 0);
    endResetModel();
    emit geometry_changed();
}

void GridModel::set_fixed_cols(int n) {
    beginResetModel();
    fixed_cols_ = std::max(n, 0);
    endResetModel();
    emit geometry_changed();
}

QString GridModel::text(int row, int col) const {
    return text_view(row, col).toString();
}

QStringView GridModel::text_view(int row, int col) const {
    if (!in_range(row, col))
        return {};
    return field(rows_[row].cells, col);
}

QStringView GridModel::row_view(int row) const {
    if (row < 0 || row >= rows())
        return {};
    return rows_[row].cells;
}

void GridModel::set_text(int row, int col, const QString& text) {
    if (!in_range(row, col))
        return;
    replace_field(row, col, text);
    notify_cell(row, col);
}

void GridModel::set_column(int col, int first_row, const std::vector<QString>& texts) {
    if (texts.empty() || !in_range(first_row, col) || first_row + static_cast<int>(texts.size()) > rows())
        return;
    for (size_t i = 0; i < texts.size(); ++i)
        replace_field(first_row + static_cast<int>(i), col, texts[i]);
    if (col >= fixed_cols_ && first_row + static_cast<int>(texts.size()) > fixed_rows_) {
        const int top = std::max(first_row, fixed_rows_) - fixed_rows_;
        const int bottom = first_row + static_cast<int>(texts.size()) - 1 - fixed_rows_;
        emit dataChanged(index(top, col - fixed_cols_), index(bottom, col - fixed_cols_));
    }
}

void GridModel::replace_field(int row, int col, const QString& text) {
    QString clean = text;
    clean.remove(cell_separator);
    QString& joined = rows_[row].cells;
    const int have = static_cast<int>(joined.count(cell_separator)) + 1;
    if (col >= have)
        joined.append(QString(col - have + 1, cell_separator));
    qsizetype start = 0;
    for (int i = 0; i < col; ++i)
        start = joined.indexOf(cell_separator, start) + 1;
    qsizetype end = joined.indexOf(cell_separator, start);
    if (end < 0)
        end = joined.size();
    joined.replace(start, end - start, clean);
}

void GridModel::clear() {
    beginResetModel();
    for (Row& row : rows_)
        row = Row{};
    endResetModel();
}

bool GridModel::bold(int row, int col) const {
    return in_range(row, col) && col < 64 && (rows_[row].bold >> col & 1u);
}

void GridModel::set_bold(int row, int col, bool on) {
    if (!in_range(row, col) || col >= 64)
        return;
    if (on)
        rows_[row].bold |= 1ull << col;
    else
        rows_[row].bold &= ~(1ull << col);
    notify_cell(row, col);
}

int GridModel::col_width(int col) const {
    return col >= 0 && col < cols_ ? col_widths_[col] : default_col_width;
}

void GridModel::set_col_width(int col, int twips) {
    if (col < 0 || col >= cols_)
        return;
    col_widths_[col] = std::max(twips, 0);
    emit geometry_changed();
}

int GridModel::row_height(int row) const {
    return row >= 0 && row < static_cast<int>(row_heights_.size()) && row_heights_[row] >= 0
               ? row_heights_[row]
               : default_row_height;
}

void GridModel::set_row_height(int row, int twips) {
    if (row < 0 || row >= rows())
        return;
    if (row >= static_cast<int>(row_heights_.size()))
        row_heights_.resize(row + 1, -1);
    row_heights_[row] = std::max(twips, 0);
    emit geometry_changed();
}

QString GridModel::join_cells(const QStringList& cells) {
    QString joined;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            joined += cell_separator;
        QString cell = cells[i];
        joined += cell.remove(cell_separator);
    }
    return joined;
}

void GridModel::append_rows(const std::vector<QStringList>& rows) {
    std::vector<QString> joined;
    joined.reserve(rows.size());
    for (const QStringList& cells : rows)
        joined.push_back(join_cells(cells.mid(0, cols_)));
    append_joined_rows(std::move(joined));
}

void GridModel::append_joined_rows(std::vector<QString>&& joined) {
    if (joined.empty())
        return;
    const int first = rows();
    const bool visible = first + static_cast<int>(joined.size()) > fixed_rows_;
    if (visible)
        beginInsertRows({}, std::max(first - fixed_rows_, 0),
                        first + static_cast<int>(joined.size()) - 1 - fixed_rows_);
    rows_.reserve(rows_.size() + joined.size());
    for (QString& cells : joined)
        rows_.push_back(Row{std::move(cells), 0});
    if (visible)
        endInsertRows();
    joined.clear();
}

void GridModel::remove_row(int row) {
    if (row < 0 || row >= rows())
        return;
    beginResetModel();
    rows_.erase(rows_.begin() + row);
    if (row < static_cast<int>(row_heights_.size()))
        row_heights_.erase(row_heights_.begin() + row);
    endResetModel();
}

void GridModel::reorder(int first_row, const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(order.size());
    for (int i : order)
        sorted.push_back(std::move(rows_[first_row + i]));
    std::move(sorted.begin(), sorted.end(), rows_.begin() + first_row);
    // Persistent indexes follow their rows, so a view's selection and a window's own row marker
    // stay on the same draw.
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<int> moved_to(order.size());
        for (int i = 0; i < static_cast<int>(order.size()); ++i)
            moved_to[order[i]] = i;
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& i : from) {
            const int r = i.row() + fixed_rows_ - first_row;
            to << (r >= 0 && r < static_cast<int>(order.size())
                       ? index(first_row + moved_to[r] - fixed_rows_, i.column())
                       : i);
        }
        changePersistentIndexList(from, to);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GridModel::sort_rows_by_keys(int first_row, const std::vector<double>& keys) {
    if (first_row < 0 || first_row + static_cast<int>(keys.size()) > rows())
        return;
    // Rows already in order stay put, and the views keep their layout.
    if (std::is_sorted(keys.begin(), keys.end()))
        return;
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    reorder(first_row, order);
}

std::optional<double> GridModel::number_of(QStringView cell) {
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

void GridModel::sort_numeric(bool ascending) {
    const int first = fixed_rows_;
    if (first >= rows())
        return;
    std::vector<double> keys;
    keys.reserve(rows() - first);
    // A current column outside the grid holds no numbers: every key is 0 and nothing moves.
    const bool has_col = col_ >= 0 && col_ < cols_;
    for (int r = first; r < rows(); ++r) {
        const double v = has_col ? number_of(field(rows_[r].cells, col_)).value_or(0.0) : 0.0;
        keys.push_back(ascending ? v : -v);
    }
    sort_rows_by_keys(first, keys);
}

void GridModel::notify_cell(int row, int col) {
    if (row < fixed_rows_ || col < fixed_cols_) {
        emit headerDataChanged(row < fixed_rows_ ? Qt::Horizontal : Qt::Vertical, 0,
                               row < fixed_rows_ ? columnCount() - 1 : rowCount() - 1);
        return;
    }
    const QModelIndex i = index(row - fixed_rows_, col - fixed_cols_);
    emit dataChanged(i, i);
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(rows() - fixed_rows_, 0);
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(cols_ - fixed_cols_, 0);
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int r = index.row() + fixed_rows_, c = index.column() + fixed_cols_;
    if (role == Qt::DisplayRole)
        return text(r, c);
    if (role == bold_role)
        return bold(r, c);
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == bold_role) {
        // A header shows bold when one of its fixed cells is.
        bool any = false;
        if (orientation == Qt::Horizontal)
            for (int r = 0; r < fixed_rows_; ++r)
                any = any || bold(r, section + fixed_cols_);
        else
            for (int c = 0; c < fixed_cols_; ++c)
                any = any || bold(section + fixed_rows_, c);
        return any;
    }
    if (role != Qt::DisplayRole)
        return {};
    QStringList parts;
    if (orientation == Qt::Horizontal) {
        for (int r = 0; r < fixed_rows_; ++r)
            parts << text(r, section + fixed_cols_);
        return parts.join(u'\n');
    }
    for (int c = 0; c < fixed_cols_; ++c)
        parts << text(section + fixed_rows_, c);
    return parts.join(u"  ");
}
