#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A grid of text cells addressed by row and column, with fixed header rows and columns, column
// widths in twips, a current cell and a selection end row, per-cell bold and numeric sorting.
//
// Each row is kept as one string with its cells joined by a unit separator, so a grid of 100,000
// draws costs one allocation per row, not one per cell.
//
// To Qt views the model shows only the scrolling part: view row r is grid row fixed_rows() + r,
// and the fixed rows and columns become the header texts.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr QChar cell_separator = QChar(0x1f);
    static constexpr int default_col_width = 960; // twips
    static constexpr int default_row_height = 240;
    // Role under which data() reports a bold cell, and headerData() a header with a bold fixed
    // cell (the view picks the font; core has no fonts).
    static constexpr int bold_role = Qt::UserRole + 1;

    explicit GridModel(QObject* parent = nullptr);

    int rows() const { return static_cast<int>(rows_.size()); }
    int cols() const { return cols_; }
    void set_rows(int n);
    void set_cols(int n);
    int fixed_rows() const { return fixed_rows_; }
    int fixed_cols() const { return fixed_cols_; }
    void set_fixed_rows(int n);
    void set_fixed_cols(int n);

    QString text(int row, int col) const;
    // The cell without a copy; valid until the grid changes.
    QStringView text_view(int row, int col) const;
    void set_text(int row, int col, const QString& text);
    // A whole row without a copy: its cells joined by cell_separator. Cells after the last one
    // stored are empty and may be missing from it. Valid until the grid changes.
    QStringView row_view(int row) const;
    // Empties every cell, keeping the dimensions; bold flags go too.
    void clear();

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

    // Appends rows at the end in one step; cells beyond cols() are dropped.
    void append_rows(const std::vector<QStringList>& rows);
    // Appends rows already joined with cell_separator (see join_cells); the fast path for loading.
    void append_joined_rows(std::vector<QString>&& joined);
    static QString join_cells(const QStringList& cells);
    void remove_row(int row);
    // Writes texts into column col of rows first_row.. in one step (one change notification).
    void set_column(int col, int first_row, const std::vector<QString>& texts);

    // Sorts the data rows (from fixed_rows()) by the numeric value of the current column; text
    // that is not a number counts as 0. Rows with equal keys keep their order.
    void sort_numeric(bool ascending);
    // The value sort_numeric reads from a cell; nullopt for text that is not a number.
    static std::optional<double> number_of(QStringView cell);
    // Stable ascending sort of rows first_row.. by keys[row - first_row].
    void sort_rows_by_keys(int first_row, const std::vector<double>& keys);

    // QAbstractTableModel: the scrolling part only.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  signals:
    // Column widths, row heights or the fixed rows and columns changed.
    void geometry_changed();

  private:
    struct Row {
        QString cells;
        quint64 bold = 0;
    };
    static QStringView field(const QString& joined, int col);
    bool in_range(int row, int col) const { return row >= 0 && row < rows() && col >= 0 && col < cols_; }
    void reorder(int first_row, const std::vector<int>& order);
    void notify_cell(int row, int col);
    void replace_field(int row, int col, const QString& text);

    std::vector<Row> rows_;
    int cols_ = 0;
    int fixed_rows_ = 0;
    int fixed_cols_ = 0;
    std::vector<int> col_widths_;
    std::vector<int> row_heights_; // only rows whose height was set; the rest use the default
    int row_ = 0;
    int col_ = 0;
    int row_sel_ = 0;
};
