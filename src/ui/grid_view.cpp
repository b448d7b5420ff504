#include "ui/grid_view.h"

#include "core/grid_model.h"

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

} // namespace

GridView::GridView(QWidget* parent) : QTableView(parent) {
    // Where the fixed rows meet the fixed columns sits the table's corner button.
    corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_)
        corner_->installEventFilter(this);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    if (corner_) {
        connect(grid, &QAbstractItemModel::headerDataChanged, corner_, qOverload<>(&QWidget::update));
        connect(grid, &QAbstractItemModel::modelReset, corner_, qOverload<>(&QWidget::update));
    }
    apply_geometry();
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
        const int px = twips_to_px(grid_->col_width(c));
        const int section = c - grid_->fixed_cols();
        setColumnHidden(section, px == 0);
        if (px > 0)
            setColumnWidth(section, px);
    }
    int fixed_width = 0;
    for (int c = 0; c < grid_->fixed_cols(); ++c)
        fixed_width += twips_to_px(grid_->col_width(c));
    if (fixed_width > 0)
        verticalHeader()->setFixedWidth(fixed_width);
    int fixed_height = 0;
    for (int r = 0; r < grid_->fixed_rows(); ++r)
        fixed_height += std::max(twips_to_px(grid_->row_height(r)), fontMetrics().height() + 6);
    if (fixed_height > 0)
        horizontalHeader()->setFixedHeight(fixed_height);
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
    QTableView::keyPressEvent(event);
}

// The corner shows the text of the cells where the fixed rows meet the fixed columns, bold when
// one of them is.
bool GridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != corner_ || event->type() != QEvent::Paint || !grid_)
        return QTableView::eventFilter(watched, event);
    QStringList lines;
    bool bold = false;
    for (int r = 0; r < grid_->fixed_rows(); ++r) {
        QStringList parts;
        for (int c = 0; c < grid_->fixed_cols(); ++c) {
            parts << grid_->text(r, c);
            bold = bold || grid_->bold(r, c);
        }
        lines << parts.join(u"  ");
    }
    QStyleOptionHeader opt;
    opt.initFrom(corner_);
    opt.state = QStyle::State_None;
    if (corner_->isEnabled())
        opt.state |= QStyle::State_Enabled;
    if (corner_->isActiveWindow())
        opt.state |= QStyle::State_Active;
    opt.rect = corner_->rect();
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.text = lines.join(u'\n');
    opt.textAlignment = Qt::AlignCenter;
    QPainter painter(corner_);
    if (bold) {
        QFont f = painter.font();
        f.setBold(true);
        painter.setFont(f);
    }
    corner_->style()->drawControl(QStyle::CE_Header, &opt, &painter, corner_);
    return true;
}
