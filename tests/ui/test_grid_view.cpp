#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"

#include <QAbstractButton>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A grid of fixed_rows + 3 rows and fixed_cols + 3 columns; fixed cell (r, c) holds "r.c".
void fill(GridModel& grid, int fixed_rows, int fixed_cols) {
    grid.set_rows(fixed_rows + 3);
    grid.set_cols(fixed_cols + 3);
    grid.set_fixed_rows(fixed_rows);
    grid.set_fixed_cols(fixed_cols);
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.cols(); ++c)
            if (r < fixed_rows || c < fixed_cols)
                grid.set_text(r, c, QStringLiteral("%1.%2").arg(r).arg(c));
}

QStringList texts(const GridModel& grid, const std::vector<GridView::FixedCell>& cells) {
    QStringList t;
    for (const GridView::FixedCell& cell : cells)
        t << grid.text(cell.row, cell.col);
    return t;
}

QImage part(QWidget* w, const QRect& rect) {
    return w->grab(rect).toImage();
}

} // namespace

// What the user sees of a grid: texts, bold flags and clicks mapped back to grid rows.
class TestGridView : public QObject {
    Q_OBJECT
  private slots:
    void bold_flags_show_in_cells_and_headers() {
        GridModel g;
        g.set_cols(3);
        g.set_rows(3);
        g.set_fixed_rows(1);
        g.set_text(0, 0, "Date");
        g.set_text(0, 1, "N1");
        g.set_bold(0, 1, true);
        g.set_text(2, 2, "Total");
        g.set_bold(2, 2, true);
        GridView view;
        view.set_grid(&g);
        const QAbstractItemModel* shown = view.model();
        QCOMPARE(shown->headerData(1, Qt::Horizontal).toString(), "N1");
        QVERIFY(shown->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!shown->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(shown->data(shown->index(1, 2), Qt::FontRole).value<QFont>().bold());
        QVERIFY(!shown->data(shown->index(0, 2), Qt::FontRole).value<QFont>().bold());

        g.set_bold(0, 0, true); // later flags reach the header too
        QVERIFY(shown->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    }

    // A fixed column puts its header cell in the table's corner, which must still show it.
    // Tab passes through a grid as one stop; the arrow keys move between its cells.
    void tab_leaves_the_grid() {
        QWidget form;
        auto* layout = new QVBoxLayout(&form);
        auto* before = new QLineEdit(&form);
        GridModel grid;
        fill(grid, 1, 0);
        auto* view = new GridView(&form);
        view->set_grid(&grid);
        auto* after = new QLineEdit(&form);
        for (QWidget* w :
             {static_cast<QWidget*>(before), static_cast<QWidget*>(view), static_cast<QWidget*>(after)})
            layout->addWidget(w);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        view->setFocus();
        view->setCurrentIndex(view->model()->index(0, 0));
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(view->currentIndex().column(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), after);
    }

    void corner_shows_the_fixed_cell() {
        GridModel g;
        g.set_cols(2);
        g.set_rows(2);
        g.set_fixed_rows(1);
        g.set_fixed_cols(1);
        GridView view;
        view.set_grid(&g);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* corner = view.findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(corner);
        const QImage empty = corner->grab().toImage();
        g.set_text(0, 0, "N");
        const QImage plain = corner->grab().toImage();
        g.set_bold(0, 0, true);
        QVERIFY(plain != empty);
        QVERIFY(corner->grab().toImage() != plain);
    }

    void clicks_set_the_grid_cell() {
        GridModel g;
        g.set_cols(2);
        g.set_rows(4);
        g.set_fixed_rows(1);
        GridView view;
        view.set_grid(&g);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy clicked(&view, &GridView::grid_clicked);
        const QModelIndex cell = view.model()->index(2, 1);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(cell).center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(g.row(), 3);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.row_sel(), 3);
    }

    void fixed_cells_data() {
        QTest::addColumn<int>("fixed_rows");
        QTest::addColumn<int>("fixed_cols");
        QTest::addColumn<QStringList>("column_header");
        QTest::addColumn<QStringList>("row_header");
        QTest::addColumn<QStringList>("corner");
        QTest::newRow("one fixed row") << 1 << 0 << QStringList{"0.0"} << QStringList{} << QStringList{};
        QTest::newRow("one of each") << 1 << 1 << QStringList{"0.1"} << QStringList{"1.0"}
                                     << QStringList{"0.0"};
        QTest::newRow("two of each, as the results grid")
            << 2 << 2 << QStringList{"0.2", "1.2"} << QStringList{"2.0", "2.1"}
            << QStringList{"0.0", "0.1", "1.0", "1.1"};
    }
    // Every fixed cell has a box of its own: the first scrolling column's header holds the fixed
    // rows top to bottom, the first scrolling row's header the fixed columns, the corner the rest.
    void fixed_cells() {
        QFETCH(int, fixed_rows);
        QFETCH(int, fixed_cols);
        QFETCH(QStringList, column_header);
        QFETCH(QStringList, row_header);
        QFETCH(QStringList, corner);
        GridModel grid;
        fill(grid, fixed_rows, fixed_cols);
        GridView view;
        view.set_grid(&grid);
        view.resize(400, 300);
        view.show();
        QHeaderView* top = view.horizontalHeader();
        const QRect col_rect(top->sectionViewportPosition(0), 0, top->sectionSize(0), top->height());
        const auto col_cells = view.header_cells(Qt::Horizontal, 0, col_rect);
        QCOMPARE(texts(grid, col_cells), column_header);
        int bottom = col_rect.top();
        for (const auto& cell : col_cells) {
            QCOMPARE(cell.rect.top(), bottom);
            bottom += cell.rect.height();
        }
        QCOMPARE(bottom, col_rect.top() + col_rect.height());
        if (fixed_cols > 0) {
            QHeaderView* side = view.verticalHeader();
            const QRect row_rect(0, side->sectionViewportPosition(0), side->width(), side->sectionSize(0));
            QCOMPARE(texts(grid, view.header_cells(Qt::Vertical, 0, row_rect)), row_header);
            QVERIFY(view.corner());
            QCOMPARE(view.corner()->size(), QSize(side->width(), top->height()));
            QCOMPARE(texts(grid, view.corner_cells()), corner);
        }
    }

    // Fixed rows keep their heights relative to a normal row: 2 and 3 rows as the results grid asks.
    void fixed_row_heights() {
        GridModel grid;
        fill(grid, 2, 2);
        grid.set_row_height(0, 2 * grid.row_height(4));
        grid.set_row_height(1, 3 * grid.row_height(4));
        GridView view;
        view.set_grid(&grid);
        view.show();
        const int normal = view.rowHeight(0);
        QCOMPARE(view.fixed_row_height(0), 2 * normal);
        QCOMPARE(view.fixed_row_height(1), 3 * normal);
        QCOMPARE(view.horizontalHeader()->height(), 5 * normal);
    }

    // A fixed column is wide enough for the longest word of its header texts, whatever its width.
    void narrow_fixed_column_holds_its_words() {
        GridModel grid;
        fill(grid, 1, 1);
        grid.set_col_width(0, 60);
        GridView view;
        view.set_grid(&grid);
        grid.set_text(0, 0, QStringLiteral("Tickets"));
        QVERIFY(view.verticalHeader()->width() >
                view.fontMetrics().horizontalAdvance(QStringLiteral("Tickets")));
        grid.set_col_width(0, 0);
        QCOMPARE(view.col_width_px(0), 0);
    }

    // A grid that fits its cells widens a column to its widest text, bold or plain, in whatever
    // font the view has, and follows texts written later; one that does not keeps its twips.
    void columns_fit_their_cells_data() {
        QTest::addColumn<bool>("fit");
        QTest::addColumn<int>("point_size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("fits");
        QTest::newRow("plain, 10 pt") << true << 10 << false << true;
        QTest::newRow("bold, 10 pt") << true << 10 << true << true;
        QTest::newRow("bold, 12 pt") << true << 12 << true << true;
        QTest::newRow("not fitted, cut") << false << 12 << true << false;
    }
    void columns_fit_their_cells() {
        QFETCH(bool, fit);
        QFETCH(int, point_size);
        QFETCH(bool, bold);
        QFETCH(bool, fits);
        GridModel grid;
        grid.set_cols(2);
        grid.set_rows(2);
        grid.set_fixed_rows(1);
        grid.set_text(0, 0, QStringLiteral("N"));
        grid.set_text(0, 1, QStringLiteral("Prize"));
        grid.set_col_width(0, 300);
        grid.set_col_width(1, 300);
        GridView view;
        // The last column would stretch to the view's edge: what is measured is its own width.
        view.horizontalHeader()->setStretchLastSection(false);
        QFont font = view.font();
        font.setPointSize(point_size);
        view.setFont(font);
        view.set_grid(&grid);
        view.set_fit_cells(fit);
        const QString text = QStringLiteral("6+bonus 150000");
        grid.append_rows({{QStringLiteral("1"), text}});
        grid.set_bold(2, 1, bold);
        grid.set_text(1, 1, QStringLiteral("2+bonus"));
        font.setBold(bold);
        const int need = QFontMetrics(font).horizontalAdvance(text);
        QCOMPARE(view.columnWidth(1) > need, fits);
        QCOMPARE(view.full_width() >= view.columnWidth(0) + view.columnWidth(1), true);
    }

    // A column too long to measure cell by cell still holds its sample texts.
    void column_holds_its_sample_texts() {
        GridModel grid;
        fill(grid, 1, 0);
        grid.set_col_width(0, 300);
        GridView view;
        QFont font = view.font();
        font.setPointSize(14);
        view.setFont(font);
        view.set_grid(&grid);
        const QStringList dates = {QStringLiteral("2026-11-28"), QStringLiteral("28/11/2026 ")};
        view.set_min_texts(0, dates);
        for (const QString& date : dates)
            QVERIFY(view.columnWidth(0) > view.fontMetrics().horizontalAdvance(date));
    }

    // Room for the header rows and as many data rows as asked, so a window can show them all.
    void full_height_holds_the_rows() {
        GridModel grid;
        fill(grid, 2, 1);
        GridView view;
        view.set_grid(&grid);
        const int normal = view.verticalHeader()->defaultSectionSize();
        QCOMPARE(view.full_height(10) - view.full_height(0), 10 * normal);
        QCOMPARE(view.full_height(0), view.horizontalHeader()->height() + 2 * view.frameWidth());
    }

    void paints_fixed_texts_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("corner, upper left") << 0 << 0;
        QTest::newRow("corner, lower right") << 1 << 1;
        QTest::newRow("column header, second fixed row") << 1 << 2;
        QTest::newRow("row header, second fixed column") << 2 << 1;
    }
    // What a cell shows changes the pixels of its own box: with its text gone, and with it bold.
    void paints_fixed_texts() {
        QFETCH(int, row);
        QFETCH(int, col);
        GridModel grid;
        fill(grid, 2, 2);
        GridView view;
        view.set_grid(&grid);
        view.resize(400, 300);
        view.show();
        QWidget* on = nullptr;
        std::vector<GridView::FixedCell> cells;
        if (row < 2 && col < 2) {
            on = view.corner();
            cells = view.corner_cells();
        } else if (row < 2) {
            on = view.horizontalHeader();
            cells = view.header_cells(Qt::Horizontal, col - 2,
                                      QRect(view.horizontalHeader()->sectionViewportPosition(col - 2), 0,
                                            view.horizontalHeader()->sectionSize(col - 2), on->height()));
        } else {
            on = view.verticalHeader();
            cells = view.header_cells(Qt::Vertical, row - 2,
                                      QRect(0, view.verticalHeader()->sectionViewportPosition(row - 2),
                                            on->width(), view.verticalHeader()->sectionSize(row - 2)));
        }
        QRect box;
        for (const auto& cell : cells)
            if (cell.row == row && cell.col == col)
                box = cell.rect;
        QVERIFY(!box.isEmpty());
        const QImage shown = part(on, box);
        grid.set_bold(row, col, true);
        QCoreApplication::processEvents();
        const QImage bold = part(on, box);
        grid.set_text(row, col, QString());
        QCoreApplication::processEvents();
        const QImage blank = part(on, box);
        QVERIFY(shown != blank);
        QVERIFY(bold != shown);
    }
};

QTEST_MAIN(TestGridView)
#include "test_grid_view.moc"
