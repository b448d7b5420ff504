#pragma once

#include <QStringList>
#include <QTableView>
#include <vector>

class GridModel;
class QPainter;

// Shows a GridModel: its fixed rows become the column headers, its fixed columns the row headers,
// and the cells where they meet fill the corner; each fixed cell is painted in its own box with
// its own text (bold when the grid says so), so a grid with several fixed rows or columns shows
// them all. Column widths are in twips (widened to hold the longest word of their header), and a
// width of 0 hides a column; a fixed row's height is
// its row height relative to a normal row. A click, or Enter, on a cell or a header sets the
// grid's current row, column and selection end, then emits grid_clicked(). A grid whose rows are
// few (results, frequencies) may also widen its columns to hold every cell's text.
class GridView : public QTableView {
    Q_OBJECT
  public:
    explicit GridView(QWidget* parent = nullptr);
    void set_grid(GridModel* grid);
    GridModel* grid() const { return grid_; }
    // When on, a key that moves the current row (arrows, Page Up/Down, Ctrl+Home/End) selects the
    // new row as a click on it does, so the highlight and what the window shows never part.
    void set_keys_select_rows(bool on) { keys_select_rows_ = on; }
    // Widens each column to its widest cell, so that no text is cut; for grids of a window's own,
    // whose rows are few, as every change of a cell measures its column again.
    void set_fit_cells(bool on);
    // Keeps a column at least as wide as the widest of texts (the forms of a date, say) in the
    // view's font, for grids whose cells are too many to measure.
    void set_min_texts(int col, const QStringList& texts);
    // The height that shows the fixed rows and data_rows rows under them.
    int full_height(int data_rows) const;
    // The width that shows every column side by side, with room for a vertical scroll bar.
    int full_width() const;

    // A fixed cell of the grid and the box it is painted in.
    struct FixedCell {
        int row;
        int col;
        QRect rect;
    };
    // The fixed cells of a header section (a scrolling column for Qt::Horizontal, a scrolling row
    // for Qt::Vertical) laid out in rect, and those of the corner in the corner's own coordinates.
    std::vector<FixedCell> header_cells(Qt::Orientation orientation, int section, const QRect& rect) const;
    std::vector<FixedCell> corner_cells() const;
    QWidget* corner() const { return corner_; }
    int fixed_row_height(int row) const;
    // A column's width: its width in twips, or more when a word of its header (or, with
    // set_fit_cells, a cell's text) would not fit.
    int col_width_px(int col) const;
    void paint_fixed_cells(QPainter& painter, QWidget* on, const std::vector<FixedCell>& cells,
                           Qt::Alignment alignment) const;

  signals:
    void grid_clicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    void apply_geometry();
    void select_cell(int grid_row, int grid_col);
    int twips_to_px(int twips) const;

    int widest_cell(int col) const;
    int cell_text_margin() const;

    GridModel* grid_ = nullptr;
    QWidget* corner_ = nullptr;
    bool keys_select_rows_ = false;
    bool fit_cells_ = false;
    std::vector<QStringList> min_texts_; // by grid column
};
