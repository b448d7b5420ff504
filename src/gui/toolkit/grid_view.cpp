#include "gui/toolkit/grid_view.h"

#include "gui/toolkit/grid_model.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionHeader>

namespace {

// Turns the grid's bold flags into the font that views and their headers draw with.
class BoldFonts : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::FontRole)
            return bold_font(QIdentityProxyModel::data(index, GridModel::bold_role).toBool());
        return QIdentityProxyModel::data(index, role);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::FontRole)
            return bold_font(
                QIdentityProxyModel::headerData(section, orientation, GridModel::bold_role).toBool());
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

  private:
    static QVariant bold_font(bool bold) {
        if (!bold)
            return {};
        QFont font = QApplication::font();
        font.setBold(true);
        return font;
    }
};

constexpr int cell_margin = 3; // px between a fixed cell's border and its text

// A header that paints each of its sections as the fixed cells of the grid behind it.
class GridHeader : public QHeaderView {
  public:
    GridHeader(Qt::Orientation orientation, GridView* view) : QHeaderView(orientation, view), view_(view) {
        setSectionsClickable(true);
    }

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        if (!view_->grid()) {
            QHeaderView::paintSection(painter, rect, section);
            return;
        }
        painter->save();
        view_->paint_fixed_cells(*painter, const_cast<GridHeader*>(this),
                                 view_->header_cells(orientation(), section, rect), defaultAlignment());
        painter->restore();
    }

  private:
    GridView* view_;
};

// Splits length into boxes of the given sizes from start on; the last box takes what rounding left.
std::vector<std::pair<int, int>> split(int start, int length, const std::vector<int>& sizes) {
    std::vector<std::pair<int, int>> boxes;
    int at = start;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int size = i + 1 == sizes.size() ? start + length - at : sizes[i];
        boxes.emplace_back(at, size);
        at += sizes[i];
    }
    return boxes;
}

} // namespace

GridView::GridView(QWidget* parent) : QTableView(parent) {
    setHorizontalHeader(new GridHeader(Qt::Horizontal, this));
    setVerticalHeader(new GridHeader(Qt::Vertical, this));
    corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_)
        corner_->installEventFilter(this);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next control; the arrow keys move between cells.
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (!grid_ || !index.isValid())
            return;
        select_cell(index.row() + grid_->fixed_rows(), index.column() + grid_->fixed_cols());
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (grid_)
            select_cell(0, section + grid_->fixed_cols());
    });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (grid_)
            select_cell(section + grid_->fixed_rows(), 0);
    });
}

void GridView::set_grid(GridModel* grid) {
    grid_ = grid;
    auto* fonts = new BoldFonts(this);
    fonts->setSourceModel(grid);
    setModel(fonts);
    connect(grid, &GridModel::geometry_changed, this, &GridView::apply_geometry);
    connect(grid, &QAbstractItemModel::modelReset, this, &GridView::apply_geometry);
    connect(grid, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation orientation) {
        // A fixed row's text can widen its column, and so can a fixed column's when cells fit.
        if (orientation == Qt::Horizontal || fit_cells_)
            apply_geometry();
        else if (corner_)
            corner_->update();
    });
    const auto cells_changed = [this] {
        if (fit_cells_)
            apply_geometry();
    };
    connect(grid, &QAbstractItemModel::dataChanged, this, cells_changed);
    connect(grid, &QAbstractItemModel::rowsInserted, this, cells_changed);
    connect(grid, &QAbstractItemModel::layoutChanged, this, cells_changed);
    apply_geometry();
}

void GridView::set_fit_cells(bool on) {
    fit_cells_ = on;
    apply_geometry();
}

void GridView::set_min_texts(int col, const QStringList& texts) {
    if (col < 0)
        return;
    if (static_cast<size_t>(col) >= min_texts_.size())
        min_texts_.resize(col + 1);
    min_texts_[col] = texts;
    apply_geometry();
}

int GridView::full_height(int data_rows) const {
    int height = 2 * frameWidth();
    if (!grid_)
        return height;
    for (int r = 0; r < grid_->fixed_rows(); ++r)
        height += fixed_row_height(r);
    return height + data_rows * verticalHeader()->defaultSectionSize();
}

int GridView::full_width() const {
    int width = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (!grid_)
        return width;
    for (int c = 0; c < grid_->cols(); ++c)
        width += col_width_px(c);
    return width;
}

int GridView::twips_to_px(int twips) const {
    return (twips * logicalDpiX() + 720) / 1440;
}

void GridView::apply_geometry() {
    if (!grid_)
        return;
    horizontalHeader()->setVisible(grid_->fixed_rows() > 0);
    verticalHeader()->setVisible(grid_->fixed_cols() > 0);
    for (int c = grid_->fixed_cols(); c < grid_->cols(); ++c) {
        const int px = col_width_px(c);
        const int section = c - grid_->fixed_cols();
        setColumnHidden(section, px == 0);
        if (px > 0)
            setColumnWidth(section, px);
    }
    int fixed_width = 0;
    for (int c = 0; c < grid_->fixed_cols(); ++c)
        fixed_width += col_width_px(c);
    if (fixed_width > 0)
        verticalHeader()->setFixedWidth(fixed_width);
    int fixed_height = 0;
    for (int r = 0; r < grid_->fixed_rows(); ++r)
        fixed_height += fixed_row_height(r);
    if (fixed_height > 0)
        horizontalHeader()->setFixedHeight(fixed_height);
    if (corner_)
        corner_->update();
}

int GridView::fixed_row_height(int row) const {
    const int normal = verticalHeader()->defaultSectionSize();
    return (grid_->row_height(row) * normal + GridModel::default_row_height / 2) /
           GridModel::default_row_height;
}

int GridView::col_width_px(int col) const {
    const int px = twips_to_px(grid_->col_width(col));
    if (px == 0)
        return 0;
    // Header texts wrap at blanks, so a column need only hold the widest word of its fixed rows.
    int widest = 0;
    for (int r = 0; r < grid_->fixed_rows(); ++r) {
        QFont font = verticalHeader()->font();
        font.setBold(grid_->bold(r, col));
        const QFontMetrics fm(font);
        for (const QString& word : grid_->text(r, col).split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, fm.horizontalAdvance(word) + 2 * cell_margin);
    }
    if (fit_cells_)
        widest = std::max(widest, widest_cell(col));
    if (static_cast<size_t>(col) < min_texts_.size())
        for (const QString& text : min_texts_[col])
            widest = std::max(widest, fontMetrics().horizontalAdvance(text) + cell_text_margin());
    return std::max(px, widest);
}

int GridView::cell_text_margin() const {
    // The item delegate keeps a margin either side of the text, and the grid line takes a pixel.
    return 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
}

int GridView::widest_cell(int col) const {
    const int margin = cell_text_margin();
    QFont bold_font = font();
    bold_font.setBold(true);
    const QFontMetrics plain(font()), bold(bold_font);
    const bool fixed = col < grid_->fixed_cols();
    int widest = 0;
    for (int r = grid_->fixed_rows(); r < grid_->rows(); ++r) {
        const QString text = grid_->text(r, col);
        if (text.isEmpty())
            continue;
        const QFontMetrics& fm = grid_->bold(r, col) ? bold : plain;
        widest = std::max(widest, fm.horizontalAdvance(text) + (fixed ? 2 * cell_margin : margin));
    }
    return widest;
}

std::vector<GridView::FixedCell> GridView::header_cells(Qt::Orientation orientation, int section,
                                                        const QRect& rect) const {
    std::vector<FixedCell> cells;
    if (!grid_)
        return cells;
    std::vector<int> sizes;
    if (orientation == Qt::Horizontal) {
        for (int r = 0; r < grid_->fixed_rows(); ++r)
            sizes.push_back(fixed_row_height(r));
        int r = 0;
        for (const auto& [top, height] : split(rect.top(), rect.height(), sizes))
            cells.push_back(
                {r++, section + grid_->fixed_cols(), QRect(rect.left(), top, rect.width(), height)});
    } else {
        for (int c = 0; c < grid_->fixed_cols(); ++c)
            sizes.push_back(col_width_px(c));
        int c = 0;
        for (const auto& [left, width] : split(rect.left(), rect.width(), sizes))
            cells.push_back(
                {section + grid_->fixed_rows(), c++, QRect(left, rect.top(), width, rect.height())});
    }
    return cells;
}

std::vector<GridView::FixedCell> GridView::corner_cells() const {
    std::vector<FixedCell> cells;
    if (!grid_ || !corner_)
        return cells;
    std::vector<int> heights, widths;
    for (int r = 0; r < grid_->fixed_rows(); ++r)
        heights.push_back(fixed_row_height(r));
    for (int c = 0; c < grid_->fixed_cols(); ++c)
        widths.push_back(col_width_px(c));
    int r = 0;
    for (const auto& [top, height] : split(0, corner_->height(), heights)) {
        int c = 0;
        for (const auto& [left, width] : split(0, corner_->width(), widths))
            cells.push_back({r, c++, QRect(left, top, width, height)});
        ++r;
    }
    return cells;
}

void GridView::paint_fixed_cells(QPainter& painter, QWidget* on, const std::vector<FixedCell>& cells,
                                 Qt::Alignment alignment) const {
    for (const FixedCell& cell : cells) {
        if (cell.rect.width() <= 0 || cell.rect.height() <= 0)
            continue;
        QStyleOptionHeader option;
        option.initFrom(on);
        option.rect = cell.rect;
        option.state |= QStyle::State_Raised;
        style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, on);
        QFont font = on->font();
        font.setBold(grid_->bold(cell.row, cell.col));
        painter.setFont(font);
        painter.setPen(on->palette().color(QPalette::ButtonText));
        painter.drawText(cell.rect.adjusted(cell_margin, 1, -cell_margin, -1),
                         int(alignment) | Qt::TextWordWrap, grid_->text(cell.row, cell.col));
    }
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint && grid_) {
        QPainter painter(corner_);
        paint_fixed_cells(painter, corner_, corner_cells(), Qt::AlignCenter);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void GridView::select_cell(int grid_row, int grid_col) {
    grid_->set_row(grid_row);
    grid_->set_col(grid_col);
    grid_->set_row_sel(grid_row);
    emit grid_clicked();
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (grid_ && current.isValid()) {
        grid_->set_row(current.row() + grid_->fixed_rows());
        grid_->set_col(current.column() + grid_->fixed_cols());
        grid_->set_row_sel(current.row() + grid_->fixed_rows());
    }
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && grid_ &&
        currentIndex().isValid()) {
        select_cell(currentIndex().row() + grid_->fixed_rows(),
                    currentIndex().column() + grid_->fixed_cols());
        return;
    }
    const int row_before = currentIndex().row();
    QTableView::keyPressEvent(event);
    if (keys_select_rows_ && grid_ && currentIndex().isValid() && currentIndex().row() != row_before)
        select_cell(currentIndex().row() + grid_->fixed_rows(),
                    currentIndex().column() + grid_->fixed_cols());
}
