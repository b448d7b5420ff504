#include "core/base/common_routines.h"
#include "core/base/text_table.h"
#include "gui/toolkit/grid_model.h"

#include <QtTest>

class TestCommonRoutines : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void split_text_data() {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("runs of blanks")
            << " "
            << "  12/31/2002   1 2  3 " << QStringList{"12/31/2002", "1", "2", "3"};
        QTest::newRow("empty") << " "
                               << "" << QStringList{};
        QTest::newRow("all blanks") << " "
                                    << "    " << QStringList{};
        QTest::newRow("comma, trimmed, no empty last") << ","
                                                       << "a, b ,c," << QStringList{"a", "b", "c"};
        QTest::newRow("comma, empty middle piece") << ","
                                                   << "1,,2" << QStringList{"1", "", "2"};
        QTest::newRow("tab is not a blank") << " "
                                            << "\ta b\t" << QStringList{"\ta", "b\t"};
        QTest::newRow("system name") << "_"
                                     << " 10_3_6 " << QStringList{"10", "3", "6"};
        QTest::newRow("multi-character separator") << "--"
                                                   << "a--b-c" << QStringList{"a", "b-c"};
        QTest::newRow("case-sensitive") << "x"
                                        << "aXb" << QStringList{"aXb"};
    }
    void split_text() {
        QFETCH(QString, sep);
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        QStringList out;
        const int16_t count = ::split_text(sep, text, out);
        QCOMPARE(count, pieces.size());
        QCOMPARE(out.mid(1, count), pieces);
    }

    void split_text_keeps_elements_past_the_count() {
        QStringList out;
        ::split_text(" ", "a b c d", out);
        QCOMPARE(::split_text(" ", "x y", out), int16_t(2));
        QCOMPARE(out, (QStringList{"", "x", "y", "c", "d"}));
        QCOMPARE(::split_text(" ", "  ", out), int16_t(0));
        QCOMPARE(out.size(), 5);
    }

    // A count holds 32,767 pieces; the rest of a longer line is ignored, the line is not lost.
    void split_text_past_the_count() {
        QStringList out;
        QCOMPARE(::split_text(",", QString(40000, u','), out), int16_t(32767));
        QString fields = QStringLiteral("2002-01-05 1 2 3 4 5 6 7");
        fields += QString(" 8").repeated(40000);
        QCOMPARE(::split_text(" ", fields, out), int16_t(32767));
        QCOMPARE(out.mid(1, 8), (QStringList{"2002-01-05", "1", "2", "3", "4", "5", "6", "7"}));
        QCOMPARE(out[32767], "8");
    }

    void binomial_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("k");
        QTest::addColumn<double>("expected");
        QTest::newRow("49 6") << 49 << 6 << 13983816.0;
        QTest::newRow("n < k") << 5 << 7 << 0.0;
        QTest::newRow("k = 0") << 6 << 0 << 1.0;
        QTest::newRow("k = n") << 6 << 6 << 1.0;
        QTest::newRow("symmetric") << 49 << 43 << 13983816.0;
        QTest::newRow("20 10") << 20 << 10 << 184756.0;
    }
    void binomial() {
        QFETCH(int, n);
        QFETCH(int, k);
        QFETCH(double, expected);
        QCOMPARE(::binomial(int16_t(n), int16_t(k)), expected);
    }

    void hypergeometric() {
        QCOMPARE(::hypergeometric(49, 6, 6, 6), static_cast<float>(1.0 / 13983816.0));
        // C(6,3) C(43,7) / C(49,10): the quotient is rounded to a float before the last product.
        const float q = static_cast<float>(20.0 / 8217822536.0);
        const float expected = static_cast<float>(static_cast<double>(q) * 32224114.0);
        QCOMPARE(::hypergeometric(49, 6, 10, 3), expected);
        QVERIFY(std::abs(expected - 644482280.0 / 8217822536.0) < 1e-7);
        QCOMPARE(::hypergeometric(49, 6, 10, 7), 0.0f);
    }

    void sort_grid_by_date() {
        TextTable grid;
        grid.set_cols(3);
        grid.set_rows(1);
        grid.append_rows({{"1/5/2002", "a", "x"}, {"12/29/2001", "b", "y"}, {"2002-01-01", "c", "z"}});
        // A view's bold flags travel with their rows.
        GridModel view(grid, nullptr);
        view.set_bold(1, 1, true);
        QCOMPARE(::sort_grid_by_date(grid, 0).bad_row, 0);
        QCOMPARE(grid.cols(), 3);
        QCOMPARE(grid.text(1, 1), "b");
        QCOMPARE(grid.text(2, 1), "c");
        QCOMPARE(grid.text(3, 1), "a");
        QVERIFY(view.bold(3, 1));

        // Already ascending: unchanged.
        QCOMPARE(::sort_grid_by_date(grid, 0).bad_row, 0);
        QCOMPARE(grid.text(1, 1), "b");

        grid.set_text(2, 0, "31/31/2002");
        QCOMPARE(::sort_grid_by_date(grid, 0).bad_row, 2);
        QCOMPARE(grid.text(1, 1), "b");
        QCOMPARE(grid.text(2, 1), "c");
        QCOMPARE(grid.text(3, 1), "a");
        QCOMPARE(grid.cols(), 3);
    }
};

QTEST_GUILESS_MAIN(TestCommonRoutines)
#include "test_common_routines.moc"
