#include "core/analyses/fability.h"
#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/text_table.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// A draws table (date, serial, N1..N6, bonus) or a set grid (date, N1..N10) from lines of blanks.
void fill(TextTable& g, int cols, const QStringList& lines) {
    g.set_cols(cols);
    g.set_rows(1);
    std::vector<QStringList> rows;
    for (const QString& line : lines) {
        QStringList cells = line.split(u' ');
        if (cols == 9)
            cells.insert(1, QString());
        rows.push_back(cells);
    }
    g.append_rows(rows);
}

std::vector<std::optional<double>> dates(const QStringList& texts) {
    TextTable g;
    fill(g, 1, texts);
    return grid_dates(g);
}

FaCounts count_all(const TextTable& draws, const TextTable& sets, int16_t size = 10) {
    const auto dd = grid_dates(draws), sd = grid_dates(sets);
    return count_fa_hits(draws, dd, {1, draws.rows() - 1}, sets, sd, {1, sets.rows() - 1}, 6, size);
}

// "m:count" for every class with hits, then "e:evaluated".
QString summary(const FaCounts& c) {
    QStringList parts;
    for (int m = 0; m <= 6; ++m)
        for (int b = 0; b <= 1; ++b)
            if (c.hits[m][b])
                parts << QStringLiteral("%1%2:%3").arg(m).arg(b ? "b" : "").arg(c.hits[m][b]);
    parts << QStringLiteral("e:%1").arg(c.evaluated);
    return parts.join(u' ');
}

} // namespace

class TestFability : public QObject {
    Q_OBJECT
  private slots:
    void ratio_text_data() {
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("evaluated");
        QTest::addColumn<float>("expected");
        QTest::addColumn<QString>("want");
        QTest::newRow("4 / (20 x 0.1)") << 4 << 20 << 0.1f << "2";
        QTest::newRow("1 / (20 x 0.1) is below 1") << 1 << 20 << 0.1f << "1";
        QTest::newRow("1.125 halves to even") << 9 << 8 << 1.0f << "1.12";
        QTest::newRow("667.125 halves to even") << 5337 << 8 << 1.0f << "667.12";
        QTest::newRow("1.375 halves to even, up") << 11 << 8 << 1.0f << "1.38";
        QTest::newRow("1.5") << 3 << 2 << 1.0f << "1.5";
        QTest::newRow("exactly 1") << 2 << 2 << 1.0f << "1";
        QTest::newRow("no draw evaluated") << 0 << 0 << 0.1f << "1";
        QTest::newRow("expectation 0") << 3 << 20 << 0.0f << "1";
    }
    void ratio_text() {
        QFETCH(int, hits);
        QFETCH(int, evaluated);
        QFETCH(float, expected);
        QFETCH(QString, want);
        QCOMPARE(fa_ratio_text(hits, evaluated, expected), want);
    }

    void labels_and_expectations() {
        QStringList labels;
        for (int r = 1; r <= fa_class_rows; ++r)
            labels << fa_class_label(r);
        QCOMPARE(labels.join(u','), QStringLiteral("2,2+bonus,3,3+bonus,4,4+bonus,5,5+bonus,6,6+bonus"));
        // A set larger than the lotto: no class can be expected, and none may break the others.
        FaCounts c;
        c.evaluated = 10;
        c.hits[2][0] = 5;
        const FaTable none = fa_expected(8, 6, 10);
        QCOMPARE(fa_result_texts(c, none)[0], QStringLiteral("1"));
        FaTable some = none;
        some[2][0] = 0.25f;
        const auto texts = fa_result_texts(c, some);
        QCOMPARE(texts[0], QStringLiteral("2"));
        QCOMPARE(texts[1], QStringLiteral("1"));
    }

    void find_rows_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        const QStringList three{"2026-01-03", "2026-01-07", "2026-01-10"};
        QTest::newRow("inside") << three << "2026-01-04"
                                << "2026-01-09" << 2 << 2;
        QTest::newRow("whole days count, times ignored")
            << QStringList{"2026-01-03T20:00", "2026-01-07T20:00"} << "2026-01-03"
            << "2026-01-07" << 1 << 2;
        QTest::newRow("all before") << three << "2026-02-01"
                                    << "2026-03-01" << 0 << 3;
        QTest::newRow("all after") << three << "2025-01-01"
                                   << "2025-02-01" << 1 << 0;
        QTest::newRow("no rows") << QStringList{} << "2025-01-01"
                                 << "2027-01-01" << 0 << 0;
        // An unreadable date before the row sought ends the search.
        QTest::newRow("bad date first") << QStringList{"x", "2026-01-07"} << "2026-01-05"
                                        << "2026-01-05" << 0 << 2;
        QTest::newRow("bad date after the row") << QStringList{"2026-01-07", "x"} << "2026-01-05"
                                                << "2026-01-07" << 1 << 2;
    }
    void find_rows() {
        QFETCH(QStringList, rows);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, start);
        QFETCH(int, end);
        const auto d = dates(rows);
        QCOMPARE(find_start(*date_text_to_serial(from, DatePart::DateOnly), d), start);
        QCOMPARE(find_end(*date_text_to_serial(to, DatePart::DateOnly), d), end);
    }

    void intersect_counts_pairs() {
        const int16_t drawn[] = {3, 8, 11, 20, 0, 30};
        const int16_t set[] = {8, 8, 0, 11, 5, 30, 0};
        QCOMPARE(intersect(drawn, set), 4);
        QCOMPARE(number_cell(u" 12 "), int16_t(12));
        QCOMPARE(number_cell(u"7.5"), int16_t(8));
        QCOMPARE(number_cell(u"x"), int16_t(0));
        QCOMPARE(number_cell(u""), int16_t(0));
    }

    void counts_data() {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QStringList>("sets");
        QTest::addColumn<QString>("want");
        const QString set = QStringLiteral("1 2 3 4 5 6 7 8 9 10");
        const auto row = [&](const char* date) { return QString::fromLatin1(date) + u' ' + set; };
        QTest::newRow("three matches and the bonus")
            << QStringList{"2026-01-03 1 2 3 40 41 42 9"} << QStringList{row("2026-01-03")} << "3:1 3b:1 e:1";
        QTest::newRow("bonus 0 never counts")
            << QStringList{"2026-01-03 1 2 40 41 42 43 0"} << QStringList{row("2026-01-03")} << "2:1 e:1";
        QTest::newRow("no match still evaluated")
            << QStringList{"2026-01-03 40 41 42 43 44 45 1"} << QStringList{row("2026-01-03")} << "0b:1 e:1";
        QTest::newRow("set row on a day without a draw")
            << QStringList{"2026-01-03 1 2 3 4 5 6 7"} << QStringList{row("2026-01-04")} << "e:0";
        QTest::newRow("two set rows of one date: evaluated twice")
            << QStringList{"2026-01-03 1 2 40 41 42 43 0"}
            << QStringList{row("2026-01-03"), row("2026-01-03")} << "2:2 e:2";
        QTest::newRow("two draws of one date")
            << QStringList{"2026-01-03 1 2 40 41 42 43 0", "2026-01-03 1 2 3 41 42 43 0"}
            << QStringList{row("2026-01-03")} << "2:1 3:1 e:2";
        QTest::newRow("a time of day makes the dates differ")
            << QStringList{"2026-01-03T20:00 1 2 3 4 5 6 7"} << QStringList{row("2026-01-03")} << "e:0";
        QTest::newRow("a number twice in the set counts twice")
            << QStringList{"2026-01-03 1 2 40 41 42 43 0"} << QStringList{"2026-01-03 1 1 2 4 5 6 7 8 9 10"}
            << "3:1 e:1";
        QTest::newRow("unreadable dates are left out")
            << QStringList{"x 1 2 3 4 5 6 7", "2026-01-03 1 2 40 41 42 43 0"}
            << QStringList{"y " + set, row("2026-01-03")} << "2:1 e:1";
        // An unreadable number is no number, not the one of the row before.
        QTest::newRow("unreadable number cell")
            << QStringList{"2026-01-03 1 2 3 40 41 42 0", "2026-01-07 x 2 40 41 42 43 0"}
            << QStringList{row("2026-01-03"), row("2026-01-07")} << "1:1 3:1 e:2";
        QTest::newRow("more matches than classes") << QStringList{"2026-01-03 1 2 3 4 5 6 7"}
                                                   << QStringList{"2026-01-03 1 1 2 2 3 3 4 5 6 7"} << "e:1";
    }
    void counts() {
        QFETCH(QStringList, draws);
        QFETCH(QStringList, sets);
        QFETCH(QString, want);
        TextTable d, s;
        fill(d, 9, draws);
        fill(s, 11, sets);
        QCOMPARE(summary(count_all(d, s)), want);
    }

    // The join by date gives the counts of trying every set row for every draw.
    void join_equals_nested_loop() {
        QRandomGenerator rng(7);
        TextTable d, s;
        QStringList draws, sets;
        const auto date = [&] { return QDate(2026, 1, 1).addDays(rng.bounded(40)).toString(Qt::ISODate); };
        const auto numbers = [&](int n) {
            QStringList t;
            for (int i = 0; i < n; ++i)
                t << QString::number(1 + rng.bounded(20));
            return t.join(u' ');
        };
        for (int i = 0; i < 60; ++i)
            draws << date() + u' ' + numbers(7);
        for (int i = 0; i < 50; ++i)
            sets << date() + u' ' + numbers(10);
        fill(d, 9, draws);
        fill(s, 11, sets);
        QVERIFY(sort_grid_by_date(d, 0));
        QVERIFY(sort_grid_by_date(s, 0));

        FaCounts want;
        for (int dr = 1; dr < d.rows(); ++dr)
            for (int sr = 1; sr < s.rows(); ++sr) {
                if (d.text(dr, 0) != s.text(sr, 0))
                    continue;
                std::array<int16_t, 6> drawn{};
                std::array<int16_t, 10> set{};
                for (int i = 0; i < 6; ++i)
                    drawn[i] = int16_t(d.text(dr, 2 + i).toInt());
                for (int j = 0; j < 10; ++j)
                    set[j] = int16_t(s.text(sr, 1 + j).toInt());
                const int m = intersect(drawn, set);
                if (m > 0 && m <= 6)
                    ++want.hits[m][0];
                ++want.evaluated;
                const int16_t bonus = int16_t(d.text(dr, 8).toInt());
                if (m <= 6 && std::find(set.begin(), set.end(), bonus) != set.end())
                    ++want.hits[m][1];
            }
        QVERIFY(want.evaluated > 50);
        QCOMPARE(summary(count_all(d, s)), summary(want));
    }
};

QTEST_APPLESS_MAIN(TestFability)
#include "test_fability.moc"
