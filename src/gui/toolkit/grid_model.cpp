#include "gui/toolkit/grid_model.h"

#include <algorithm>
#include <utility>

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent), table_(new TextTable(this)) {
    follow(*table_);
}

GridModel::GridModel(TextTable& table, QObject* parent) : QAbstractTableModel(parent), table_(&table) {
    col_widths_.resize(table.cols(), default_col_width);
    bold_.resize(table.rows());
    follow(table);
}

void GridModel::follow(TextTable& t) {
    connect(&t, &TextTable::reset_begins, this, &GridModel::beginResetModel);
    connect(&t, &TextTable::reset_ends, this, [this] {
        endResetModel();
        if (std::exchange(geometry_moved_, false))
            emit geometry_changed();
    });
    connect(&t, &TextTable::fixed_changed, this, [this] { geometry_moved_ = true; });
    connect(&t, &TextTable::rows_resized, this, [this](int n) {
        bold_.resize(n);
        // Rows added later start with the default height, not that of a row removed here.
        if (static_cast<int>(row_heights_.size()) > n)
            row_heights_.resize(n);
    });
    connect(&t, &TextTable::cols_resized, this, [this](int n) {
        for (quint64& b : bold_)
            b &= n >= 64 ? ~0ull : ((1ull << n) - 1);
        col_widths_.resize(n, default_col_width);
        geometry_moved_ = true;
    });
    connect(&t, &TextTable::cleared, this, [this] { std::fill(bold_.begin(), bold_.end(), 0); });
    connect(&t, &TextTable::row_removed, this, [this](int row) {
        if (row < static_cast<int>(bold_.size()))
            bold_.erase(bold_.begin() + row);
        if (row < static_cast<int>(row_heights_.size()))
            row_heights_.erase(row_heights_.begin() + row);
    });
    connect(&t, &TextTable::rows_inserting, this, [this](int first, int last) {
        if (last >= fixed_rows())
            beginInsertRows({}, std::max(first - fixed_rows(), 0), last - fixed_rows());
    });
    connect(&t, &TextTable::rows_inserted, this, [this](int, int last) {
        bold_.resize(rows());
        if (last >= fixed_rows())
            endInsertRows();
    });
    connect(&t, &TextTable::cells_changed, this, &GridModel::on_cells_changed);
    connect(&t, &TextTable::reorder_begins, this,
            [this] { emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint); });
    connect(&t, &TextTable::reordered, this, &GridModel::on_reordered);
}

void GridModel::on_cells_changed(int first_row, int last_row, int first_col, int last_col) {
    const int fr = fixed_rows(), fc = fixed_cols();
    if (first_row < fr || first_col < fc) {
        if (first_row < fr)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (first_col < fc)
            emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
        if (last_row < fr || last_col < fc)
            return;
    }
    const int top = std::max(first_row, fr) - fr, bottom = last_row - fr;
    const int left = std::max(first_col, fc) - fc, right = last_col - fc;
    if (bottom < 0 || right < 0)
        return;
    emit dataChanged(index(top, left), index(bottom, right));
}

void GridModel::on_reordered(int first_row, const std::vector<int>& order) {
    // Bold flags travel with their rows.
    if (first_row + order.size() <= bold_.size()) {
        std::vector<quint64> moved(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            moved[i] = bold_[first_row + order[i]];
        std::copy(moved.begin(), moved.end(), bold_.begin() + first_row);
    }
    // Persistent indexes follow their rows, so a view's selection and a window's own row marker
    // stay on the same row.
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<int> moved_to(order.size());
        for (int i = 0; i < static_cast<int>(order.size()); ++i)
            moved_to[order[i]] = i;
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& i : from) {
            const int r = i.row() + fixed_rows() - first_row;
            to << (r >= 0 && r < static_cast<int>(order.size())
                       ? index(first_row + moved_to[r] - fixed_rows(), i.column())
                       : i);
        }
        changePersistentIndexList(from, to);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool GridModel::bold(int row, int col) const {
    return in_range(row, col) && col < 64 && row < static_cast<int>(bold_.size()) && (bold_[row] >> col & 1u);
}

void GridModel::set_bold(int row, int col, bool on) {
    if (!in_range(row, col) || col >= 64)
        return;
    if (static_cast<int>(bold_.size()) < rows())
        bold_.resize(rows());
    if (on)
        bold_[row] |= 1ull << col;
    else
        bold_[row] &= ~(1ull << col);
    on_cells_changed(row, row, col, col);
}

int GridModel::col_width(int col) const {
    return col >= 0 && col < static_cast<int>(col_widths_.size()) ? col_widths_[col] : default_col_width;
}

void GridModel::set_col_width(int col, int twips) {
    if (col < 0 || col >= cols())
        return;
    if (static_cast<int>(col_widths_.size()) < cols())
        col_widths_.resize(cols(), default_col_width);
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

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(rows() - fixed_rows(), 0);
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(cols() - fixed_cols(), 0);
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int r = index.row() + fixed_rows(), c = index.column() + fixed_cols();
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
            for (int r = 0; r < fixed_rows(); ++r)
                any = any || bold(r, section + fixed_cols());
        else
            for (int c = 0; c < fixed_cols(); ++c)
                any = any || bold(section + fixed_rows(), c);
        return any;
    }
    if (role != Qt::DisplayRole)
        return {};
    QStringList parts;
    if (orientation == Qt::Horizontal) {
        for (int r = 0; r < fixed_rows(); ++r)
            parts << text(r, section + fixed_cols());
        return parts.join(u'\n');
    }
    for (int c = 0; c < fixed_cols(); ++c)
        parts << text(section + fixed_rows(), c);
    return parts.join(u"  ");
}
