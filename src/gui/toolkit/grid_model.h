#pragma once

#include "core/base/text_table.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

// Shows a TextTable to Qt views and keeps what only a view needs: column widths and row heights
// in twips, per-cell bold, the current cell and the row where the selection ends. The table is a
// document's (shared with whatever else reads it) or, when none is given, the model's own.
//
// To Qt views the model shows only the scrolling part: view row r is table row fixed_rows() + r,
// and the fixed rows and columns become the header texts.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int default_col_width = 960; // twips
    static constexpr int default_row_height = 240;
    // Role under which data() reports a bold cell, and headerData() a header with a bold fixed
    // cell (the view picks the font).
    static constexpr int bold_role = Qt::UserRole + 1;

    explicit GridModel(QObject* parent = nullptr);
    GridModel(TextTable& table, QObject* parent);

    TextTable& table() { return *table_; }
    const TextTable& table() const { return *table_; }

    // The table's cells and shape, as the table has them.
    int rows() const { return table_->rows(); }
    int cols() const { return table_->cols(); }
    void set_rows(int n) { table_->set_rows(n); }
    void set_cols(int n) { table_->set_cols(n); }
    int fixed_rows() const { return table_->fixed_rows(); }
    int fixed_cols() const { return table_->fixed_cols(); }
    void set_fixed_rows(int n) { table_->set_fixed_rows(n); }
    void set_fixed_cols(int n) { table_->set_fixed_cols(n); }
    QString text(int row, int col) const { return table_->text(row, col); }
    QStringView text_view(int row, int col) const { return table_->text_view(row, col); }
    void set_text(int row, int col, const QString& text) { table_->set_text(row, col, text); }
    // Empties every cell, keeping the dimensions; bold flags go too.
    void clear() { table_->clear(); }
    void append_rows(const std::vector<QStringList>& rows) { table_->append_rows(rows); }
    void append_packed_rows(std::vector<QString>&& rows) { table_->append_packed_rows(std::move(rows)); }
    void remove_row(int row) { table_->remove_row(row); }
    void set_column(int col, int first_row, const std::vector<QString>& texts) {
        table_->set_column(col, first_row, texts);
    }

    bool bold(int row, int col) const;
    void set_bold(int row, int col, bool on);

    int col_width(int col) const;
    void set_col_width(int col, int twips);
    int row_height(int row) const;
    void set_row_height(int row, int twips);

    // Current cell and the row where the selection ends (the grid's Row, Col and RowSel).
    int row() const { return row_; }
    int col() const { return col_; }
    int row_sel() const { return row_sel_; }
    void set_row(int r) { row_ = r; }
    void set_col(int c) { col_ = c; }
    void set_row_sel(int r) { row_sel_ = r; }

    // QAbstractTableModel: the scrolling part only.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  signals:
    // Column widths, row heights or the fixed rows and columns changed.
    void geometry_changed();

  private:
    void follow(TextTable& table);
    bool in_range(int row, int col) const { return row >= 0 && row < rows() && col >= 0 && col < cols(); }
    void on_reordered(int first_row, const std::vector<int>& order);
    void on_cells_changed(int first_row, int last_row, int first_col, int last_col);

    TextTable* table_;
    std::vector<quint64> bold_; // per table row, a bit per column (the first 64)
    std::vector<int> col_widths_;
    std::vector<int> row_heights_; // only rows whose height was set; the rest use the default
    int row_ = 0;
    int col_ = 0;
    int row_sel_ = 0;
    bool geometry_moved_ = false; // set inside a reset of the table, told after it
};
