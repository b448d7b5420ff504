#include "gui/toolkit/grid_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Sorts the data rows by the numbers of column col as the documents sort their tables: keys worked
// out from the texts (text that is no number counts as 0), then one stable sort of the table under
// the model, which the model passes on to its view.
void sort_by_number(GridModel& g, int col, bool ascending) {
    std::vector<double> keys;
    for (int r = g.fixed_rows(); r < g.rows(); ++r) {
        const double v = TextTable::number_of(g.table().text_view(r, col)).value_or(0.0);
        keys.push_back(ascending ? v : -v);
    }
    g.table().sort_rows_by_keys(g.fixed_rows(), keys);
}

} // namespace

class TestGridModel : public QObject {
    Q_OBJECT
  private slots:
    void cells_by_row_and_column() {
        GridModel g;
        g.set_cols(3);
        g.set_rows(2);
        QCOMPARE(g.text(1, 2), QString());
        g.set_text(1, 2, "c");
        g.set_text(1, 0, "a");
        QCOMPARE(g.text(1, 0), "a");
        QCOMPARE(g.text(1, 1), QString());
        QCOMPARE(g.text(1, 2), "c");
        g.set_text(1, 1, "long middle");
        g.set_text(1, 1, "m");
        QCOMPARE(g.text(1, 0), "a");
        QCOMPARE(g.text(1, 1), "m");
        QCOMPARE(g.text(1, 2), "c");
        // Out of range reads empty and writes nothing.
        g.set_text(5, 0, "x");
        g.set_text(0, 3, "x");
        QCOMPARE(g.text(5, 0), QString());
        QCOMPARE(g.rows(), 2);
        // No character of a cell's text can shift its neighbours, a control character included.
        g.set_text(1, 0, QString("x") + QChar(0x1f) + "y");
        QCOMPARE(g.text(1, 0), QString("x") + QChar(0x1f) + "y");
        QCOMPARE(g.text(1, 1), "m");
    }

    void columns_grow_and_shrink() {
        GridModel g;
        g.set_cols(4);
        g.set_rows(1);
        for (int c = 0; c < 4; ++c)
            g.set_text(0, c, QString::number(c));
        g.set_bold(0, 3, true);
        g.set_cols(2);
        QCOMPARE(g.text(0, 1), "1");
        QCOMPARE(g.text(0, 2), QString());
        g.set_cols(4);
        QCOMPARE(g.text(0, 2), QString());
        QCOMPARE(g.text(0, 3), QString());
        QVERIFY(!g.bold(0, 3));
        QCOMPARE(g.col_width(3), GridModel::default_col_width);
    }

    void numeric_sort_moves_whole_rows() {
        GridModel g;
        g.set_cols(2);
        g.set_rows(1);
        g.set_fixed_rows(1);
        g.set_text(0, 0, "header");
        g.append_rows({{"10", "ten"}, {"9", "nine"}, {"x", "text"}, {"-1", "minus"}, {"9", "nine again"}});
        g.set_bold(1, 1, true);
        sort_by_number(g, 0, true);
        const QStringList asc{"minus", "text", "nine", "nine again", "ten"};
        for (int i = 0; i < asc.size(); ++i)
            QCOMPARE(g.text(i + 1, 1), asc[i]);
        QCOMPARE(g.text(0, 0), "header");
        QVERIFY(g.bold(5, 1));
        sort_by_number(g, 0, false);
        QCOMPARE(g.text(1, 1), "ten");
        QCOMPARE(g.text(5, 1), "minus");
    }

    void view_sees_the_scrolling_part() {
        GridModel g;
        g.set_cols(4);
        g.set_rows(4);
        g.set_fixed_rows(2);
        g.set_fixed_cols(1);
        g.set_text(0, 2, "Number");
        g.set_text(1, 2, "3");
        g.set_text(2, 0, "2");
        g.set_text(2, 2, "six");
        g.set_bold(2, 2, true);
        QCOMPARE(g.rowCount(), 2);
        QCOMPARE(g.columnCount(), 3);
        QCOMPARE(g.data(g.index(0, 1)).toString(), "six");
        QVERIFY(g.data(g.index(0, 1), GridModel::bold_role).toBool());
        QCOMPARE(g.headerData(1, Qt::Horizontal).toString(), "Number\n3");
        QCOMPARE(g.headerData(0, Qt::Vertical).toString(), "2");

        QSignalSpy changed(&g, &QAbstractItemModel::dataChanged);
        g.set_text(3, 3, "z");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), g.index(1, 2));
    }

    void bulk_column_and_many_rows() {
        GridModel g;
        g.set_cols(9);
        g.set_rows(1);
        std::vector<QString> rows;
        for (int i = 0; i < 100000; ++i)
            rows.push_back(
                TextTable::pack({QString::number(100000 - i), "", "1", "2", "3", "4", "5", "6", "7"}));
        g.append_packed_rows(std::move(rows));
        QCOMPARE(g.rows(), 100001);
        std::vector<QString> serials(100000, QStringLiteral("1"));
        g.set_column(1, 1, serials);
        QCOMPARE(g.text(100000, 1), "1");
        QCOMPARE(g.text(100000, 8), "7");
        g.set_fixed_rows(1);
        sort_by_number(g, 0, true);
        QCOMPARE(g.text(1, 0), "1");
        QCOMPARE(g.text(100000, 0), "100000");
        g.remove_row(1);
        QCOMPARE(g.rows(), 100000);
        QCOMPARE(g.text(1, 0), "2");
    }

    // Rows of equal keys keep their order, and rows already in order tell the view nothing.
    void sort_by_equal_keys_moves_nothing() {
        GridModel g;
        g.set_cols(2);
        g.append_rows({{"3", "b"}, {"1", "a"}, {"2", "c"}});
        QSignalSpy moved(&g, &QAbstractItemModel::layoutChanged);
        sort_by_number(g, 1, true); // no numbers: every key is 0
        QCOMPARE(g.text(0, 0), "3");
        QCOMPARE(moved.count(), 0);
        sort_by_number(g, 0, true);
        QCOMPARE(g.text(0, 0), "1");
        QCOMPARE(g.text(2, 1), "b");
    }

    void rows_added_again_take_the_default_height() {
        GridModel g;
        g.set_cols(2);
        g.set_rows(5);
        g.set_row_height(3, 900);
        g.set_row_height(4, 700);
        g.set_rows(2);
        g.set_rows(5);
        QCOMPARE(g.row_height(3), GridModel::default_row_height);
        QCOMPARE(g.row_height(4), GridModel::default_row_height);
        g.set_row_height(1, 300);
        g.set_rows(3);
        QCOMPARE(g.row_height(1), 300);
    }

    // Qt's own checker watches every signal and index through a view's eyes.
    void qt_model_contract_holds() {
        GridModel g;
        QAbstractItemModelTester tester(&g, QAbstractItemModelTester::FailureReportingMode::QtTest);
        g.set_cols(3);
        g.set_rows(1);
        g.set_fixed_rows(1);
        g.set_fixed_cols(1);
        g.append_rows({{"a", "3", "x"}, {"b", "1", "y"}, {"c", "2", "z"}});
        g.append_packed_rows({TextTable::pack({"d", "0", "w"})});
        sort_by_number(g, 1, true);
        sort_by_number(g, 1, false);
        g.table().sort_rows_by_keys(1, {4, 3, 2, 1});
        g.set_text(2, 2, "changed");
        g.remove_row(2);
        g.set_column(2, 1, {"p", "q", "r"});
        g.set_rows(2);
        g.set_cols(4);
        g.clear();
        QCOMPARE(g.rowCount(), 1);
        QCOMPARE(g.columnCount(), 3);
    }

    void widths_heights_and_current_cell() {
        GridModel g;
        g.set_cols(2);
        g.set_rows(3);
        QSignalSpy geometry(&g, &GridModel::geometry_changed);
        g.set_col_width(1, 0);
        g.set_row_height(0, 480);
        QCOMPARE(g.col_width(1), 0);
        QCOMPARE(g.row_height(0), 480);
        QCOMPARE(g.row_height(2), GridModel::default_row_height);
        QCOMPARE(geometry.count(), 2);
        g.set_row(2);
        g.set_col(1);
        g.set_row_sel(1);
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.col(), 1);
        QCOMPARE(g.row_sel(), 1);
        g.set_text(1, 1, "x");
        g.clear();
        QCOMPARE(g.text(1, 1), QString());
        QCOMPARE(g.rows(), 3);
    }
};

QTEST_GUILESS_MAIN(TestGridModel)
#include "test_grid_model.moc"
