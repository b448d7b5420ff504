#include "core/grid_model.h"
#include "ui/grid_view.h"

#include <QAbstractButton>
#include <QFont>
#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

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
};

QTEST_MAIN(TestGridView)
#include "test_grid_view.moc"
