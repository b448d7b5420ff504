#include "core/base/text_table.h"
#include "core/tsets/tset_files.h"
#include "support/faults.h"
#include "tsets/tsets_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A set row of size 10: the date, then 1..10 shifted by k.
QString row10(const char* date, int k) {
    QStringList t{QLatin1String(date)};
    for (int i = 1; i <= 10; ++i)
        t << QString::number(i + k);
    return t.join(u' ');
}

// The grid's data rows, each as its cells joined by blanks.
QStringList grid_rows(const TextTable& g) {
    QStringList rows;
    for (int r = 1; r < g.rows(); ++r)
        rows << grid_row(g, r);
    return rows;
}

void fill(TextTable& g, const QStringList& rows) {
    Tsets_headers(g, 10);
    for (const QString& r : rows)
        g.append_rows({r.split(u' ')});
}

} // namespace

class TestTsetFiles : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void headers() {
        TextTable g;
        g.set_cols(3);
        g.set_rows(5);
        g.set_text(4, 1, "old");
        Tsets_headers(g, 12);
        QCOMPARE(g.rows(), 1);
        QCOMPARE(g.cols(), 13);
        QCOMPARE(g.fixed_rows(), 1);
        QCOMPARE(g.text(0, 0), "Date");
        QCOMPARE(g.text(0, 12), "N12");
    }

    void load_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("unread_line"); // where reading stopped short of more rows
        const QByteArray a = row10("2002-01-05", 0).toLatin1(), b = row10("2002-01-09", 5).toLatin1();
        QByteArray tabbed = b;
        tabbed.replace(' ', '\t');
        QTest::newRow("two rows, trailing blanks") << a + " \r\n" + b + " \r\n" << QStringList{a, b} << 0;
        QTest::newRow("short third line ends the reading")
            << a + " \r\n" + b + " \r\n2002-01-12 1 2 3 4 5 6 7 8 9 \r\n" + a + " \r\n"
            << QStringList{a, b} << 3;
        QTest::newRow("empty line ends the reading") << a + "\r\n\r\n" + b + "\r\n" << QStringList{a} << 2;
        QTest::newRow("short last line") << a + "\r\n2002-01-12 1 2\r\n" << QStringList{a} << 2;
        QTest::newRow("blank lines at the end lose nothing") << a + "\r\n\r\n  \r\n" << QStringList{a} << 0;
        QTest::newRow("tabs read as blanks") << a + "\r\n" + tabbed + "\t\r\n" << QStringList{a, b} << 0;
        QTest::newRow("extra tokens ignored") << a + " 77 88 \r\n" << QStringList{a} << 0;
        QTest::newRow("runs of blanks, LF ends") << "   2002-01-05  1 2   3 4 5 6 7 8 9    10   \n" + b + "\n"
                                                 << QStringList{a, b} << 0;
        QTest::newRow("empty file") << QByteArray() << QStringList{} << 0;
        QTest::newRow("a million blank lines, then a row")
            << a + "\r\n" + QByteArray("\r\n").repeated(1000000) + b + "\r\n"
            << QStringList{a} << 2;
        QTest::newRow("a million blank lines at the end")
            << a + "\r\n" + QByteArray("\n").repeated(1000000) << QStringList{a} << 0;
    }

    // A hand edit that puts the rows out of date order is named as such.
    void dates_out_of_order_data() {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<int>("line"); // the first row dated before the row above it; 0: in order
        QTest::addColumn<int>("above");
        QTest::newRow("in order") << QStringList{"2002-01-05", "2002-01-09", "2002-01-09"} << 0 << 0;
        QTest::newRow("second before first") << QStringList{"2002-01-09", "2002-01-05"} << 2 << 1;
        QTest::newRow("a time of day on the same day")
            << QStringList{"2002-01-09T20:00", "2002-01-09"} << 0 << 0;
        QTest::newRow("an unreadable date passed over")
            << QStringList{"2002-01-09", "x", "2002-01-05"} << 3 << 1;
        QTest::newRow("no rows") << QStringList{} << 0 << 0;
    }
    void dates_out_of_order() {
        QFETCH(QStringList, dates);
        QFETCH(int, line);
        QFETCH(int, above);
        TsetRec set;
        set.size = 10;
        for (const QString& d : dates)
            set.rows.push_back({d, QString("1 2 3 4 5 6 7 8 9 10").split(' ')});
        const auto found = tset_dates_out_of_order(set);
        QCOMPARE(found.has_value(), line > 0);
        if (found) {
            QCOMPARE(found->second, line);
            QCOMPARE(found->first, above);
        }
    }
    void load() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        QFETCH(int, unread_line);
        QTemporaryDir dir;
        const QString path = dir.filePath("Set.v1");
        write_file(path, file);
        const auto set = read_tset_file(path, "Set.v1", 10);
        QVERIFY(set);
        TextTable g;
        show_tset(g, *set);
        QCOMPARE(grid_rows(g), rows);
        QCOMPARE(set->current_row, rows.size());
        QCOMPARE(set->unread_line, unread_line);
        QCOMPARE(g.cols(), 11);
        QVERIFY(!read_tset_file(dir.filePath("missing"), "missing", 10));
    }

    void get_Tset_data() {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("numbers"); // TSet[1..10] afterwards
        QTest::addColumn<QString>("message");
        QTest::newRow("all numbers, spaces, rounding") << "2002-01-05| 7 |8|9.5|10.5|11|12|13|14|15|16"
                                                       << "7 8 10 10 11 12 13 14 15 16"
                                                       << "";
        QTest::newRow("stops at the first bad cell, keeps the rest")
            << "2002-01-05|7|8|x|10|11|12|13|14|15|16"
            << "7 8 0 0 0 0 0 0 0 0"
            << "Incorrect data in the cell 1,3)";
        QTest::newRow("empty cell") << "2002-01-05|7|8|9|10|11|12|13|14|15|"
                                    << "7 8 9 10 11 12 13 14 15 0"
                                    << "Incorrect data in the cell 1,10)";
    }
    void get_Tset() {
        QFETCH(QString, row);
        QFETCH(QString, numbers);
        QFETCH(QString, message);
        TextTable g;
        Tsets_headers(g, 10);
        g.append_rows({row.split(u'|')});
        std::array<int16_t, 21> tset{};
        const auto bad = ::get_Tset(g, 1, 10, tset);
        QCOMPARE(bad ? incorrect_cell_text(*bad) : QString(), message);
        QStringList got;
        for (int i = 1; i <= 10; ++i)
            got << QString::number(tset[i]);
        QCOMPARE(got.join(u' '), numbers);
        // An empty set reads its header row and changes nothing.
        tset.fill(3);
        const auto header = ::get_Tset(g, 0, 10, tset);
        QVERIFY(header);
        QCOMPARE(incorrect_cell_text(*header), "Incorrect data in the cell 0,1)");
        QCOMPARE(tset[1], 3);
    }

    void save_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("lines"); // the file afterwards; empty when refused
        const QString r01 = row10("2001-03-01", 0), r02 = row10("2002-03-01", 1),
                      r03 = row10("2003-03-01", 2);
        const QString blank = QString(10, u' ');
        QTest::newRow("date order") << QStringList{r03, r01, r02} << QStringList{r01, r02, r03};
        QTest::newRow("blank rows left out") << QStringList{r02, blank, r01, blank} << QStringList{r01, r02};
        QTest::newRow("a number without a date")
            << QStringList{r01, " 1 2 3 4 5 6 7 8 9 10"} << QStringList{};
        QTest::newRow("bad date beside a blank row")
            << QStringList{r01, blank, row10("2002-02-30", 0)} << QStringList{};
    }
    void save() {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath("S");
        write_file(path, "old\r\n");
        TextTable g;
        fill(g, rows);
        const QStringList before = grid_rows(g);
        const SaveResult result = save_tset(path, 10, g);
        if (lines.isEmpty()) {
            QCOMPARE(result, SaveResult::bad_date);
            QCOMPARE(read_all(path), QByteArray("old\r\n"));
            QCOMPARE(grid_rows(g), before);
            return;
        }
        QCOMPARE(result, SaveResult::saved);
        QByteArray expected;
        for (const QString& l : lines)
            expected += l.toLatin1() + " \r\n";
        QCOMPARE(read_all(path), expected);
        QCOMPARE(grid_rows(g), lines);
        // The latest row comes back as the current one.
        const auto set = read_tset_file(path, "S", 10);
        QCOMPARE(set->current_row, lines.size());
        QCOMPARE(set->rows.back().date, lines.back().section(u' ', 0, 0));
    }

    void save_failure_keeps_file() {
        QTemporaryDir dir;
        TextTable g;
        fill(g, {row10("2001-03-01", 0)});
        // A folder where the file should be: the write fails and reports it.
        QVERIFY(QDir(dir.path()).mkdir("S"));
        QCOMPARE(save_tset(dir.filePath("S"), 10, g), SaveResult::write_failed);
    }

    // A disk that fills up halfway through the save (a file-size limit, which binds root too).
    void save_cut_short_keeps_the_old_file() {
        QTemporaryDir dir;
        const QString path = dir.filePath("S");
        const QByteArray old = row10("2001-03-01", 0).toLatin1() + " \r\n";
        write_file(path, old);
        TextTable g;
        QStringList rows;
        for (int year = 2002; year < 2030; ++year)
            rows << row10(qPrintable(QStringLiteral("%1-03-01").arg(year)), year % 7);
        fill(g, rows);
        for (const rlim_t limit : {rlim_t(0), rlim_t(old.size()), rlim_t(500)})
            QCOMPARE(
                save_with_file_size_limit(limit, [&] { return save_tset(path, 10, g) == SaveResult::saved; }),
                std::optional(false));
        QCOMPARE(read_all(path), old);
        QCOMPARE(folder_entries(dir.path()), QStringList{"S"});
    }

    void create_and_list() {
        QTemporaryDir dir;
        const QString folder = size_folder(tsets_folder(dir.path()), 10);
        QCOMPARE(folder, dir.path() + "/Tsets/10");
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(create_tset_file(folder + "/b.set"), CreateResult::created);
        QCOMPARE(read_all(folder + "/b.set"), QByteArray());
        write_file(folder + "/A", "2001-01-01 1 2 3 4 5 6 7 8 9 10 \r\n");
        QCOMPARE(create_tset_file(folder + "/A"), CreateResult::exists);
        QCOMPARE(read_all(folder + "/A").size(), 34);
        QVERIFY(QDir(folder).mkdir("sub"));
        QCOMPARE(list_tsets(folder), QStringList({"A", "b.set"}));
        QCOMPARE(tset_size_from_text(" 20 "), std::optional<int16_t>(20));
        QVERIFY(!tset_size_from_text("9"));
        QVERIFY(!tset_size_from_text("../10"));
    }
};

QTEST_GUILESS_MAIN(TestTsetFiles)
#include "test_tset_files.moc"
