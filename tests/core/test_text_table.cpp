#include "core/base/text_table.h"

#include <QtTest>

// What the packed rows must never get wrong: a cell's text, whatever its length, however often
// its row is packed anew, and a derived cell that outlives the cell it came from.
class TestTextTable : public QObject {
    Q_OBJECT
  private slots:
    void cells_survive_long_rows_and_rewrites_data() {
        QTest::addColumn<int>("length");   // of the long middle cell
        QTest::addColumn<int>("rewrites"); // of another cell of every row, each packing the row anew
        QTest::newRow("short") << 3 << 0;
        QTest::newRow("a row just past 65,535 characters") << 65530 << 0;
        QTest::newRow("a megabyte in one cell") << (1 << 20) << 0;
        QTest::newRow("rewritten until the blocks are packed again") << 40 << 200;
        QTest::newRow("long and rewritten") << 70000 << 3;
    }
    void cells_survive_long_rows_and_rewrites() {
        QFETCH(int, length);
        QFETCH(int, rewrites);
        TextTable t;
        t.set_cols(3);
        const QString long_cell(length, u'7');
        std::vector<QStringList> rows;
        for (int r = 0; r < 50; ++r)
            rows.push_back({QString::number(r), long_cell, QStringLiteral("z")});
        t.append_rows(rows);
        for (int i = 0; i < rewrites; ++i)
            for (int r = 0; r < t.rows(); ++r)
                t.set_text(r, 2, QString::number(i * 1000 + r));
        for (int r = 0; r < t.rows(); ++r) {
            QCOMPARE(t.text(r, 0), QString::number(r));
            QCOMPARE(t.text_view(r, 1).size(), length);
            QCOMPARE(t.text(r, 2),
                     rewrites ? QString::number((rewrites - 1) * 1000 + r) : QStringLiteral("z"));
        }
        // A cell set from a view into the table itself.
        t.set_text(0, 2, t.text_view(1, 0));
        QCOMPARE(t.text(0, 2), QStringLiteral("1"));
    }

    void derived_cell_goes_with_its_source() {
        TextTable t;
        t.set_cols(3);
        t.set_derived_col(0, 1);
        TextTable::Appender rows(t);
        const QString date = QStringLiteral("2002-01-05"), serial = QStringLiteral("37261");
        rows.add(std::array<QStringView, 3>{date, serial, u"x"}, 37261);
        rows.add(std::array<QStringView, 3>{date, serial, u"y"});
        rows.finish();
        QCOMPARE(t.derived_key(0), std::optional<double>(37261));
        QCOMPARE(t.derived_key(1), std::optional<double>(37261)); // read from the cell
        t.set_text(0, 2, QStringLiteral("other"));                // not the source: the serial stays
        QCOMPARE(t.text(0, 1), serial);
        t.set_text(0, 0, date); // the same date again changes nothing
        QCOMPARE(t.derived_key(0), std::optional<double>(37261));
        t.set_text(0, 0, QStringLiteral("2002-01-06"));
        QCOMPARE(t.text(0, 1), QString());
        QCOMPARE(t.derived_key(0), std::nullopt);
        t.set_column(0, 1, {QStringLiteral("2002-01-07")});
        QCOMPARE(t.derived_key(1), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestTextTable)
#include "test_text_table.moc"
