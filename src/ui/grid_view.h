#pragma once

#include <QTableView>

class GridModel;
class QAbstractButton;

// Shows a GridModel: its fixed rows become the column headers, its fixed columns the row headers
// (bold where a fixed cell is bold), the cells where both meet the corner, its column widths
// (twips) the view's, and a width of 0 hides a column. A click, or Enter, on a
// cell or a header sets the grid's current row, column and selection end, then emits
// grid_clicked().
class GridView : public QTableView {
    Q_OBJECT
  public:
    explicit GridView(QWidget* parent = nullptr);
    void set_grid(GridModel* grid);
    GridModel* grid() const { return grid_; }

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

    GridModel* grid_ = nullptr;
    QAbstractButton* corner_ = nullptr;
};
