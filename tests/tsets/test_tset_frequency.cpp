#include "core/base/convert.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_files.h"
#include "core/tsets/tset_frequency.h"

#include <QtTest>
#include <algorithm>

namespace {

double day(const char* iso) {
    return *date_text_to_serial(QString::fromLatin1(iso), DatePart::DateTime, QLocale::c());
}

// A draws table of "date n1 .. n6 bonus" rows, sorted by serial as the Lotto window keeps it.
void make_draws(TextTable& g, const QStringList& draws) {
    g.set_cols(draws_col::count);
    g.set_rows(1);
    g.set_fixed_rows(1);
    for (const QString& d : draws) {
        QStringList t = d.split(u' ');
        const auto serial = date_text_to_serial(t[0], DatePart::DateOnly, QLocale::c());
        t.insert(1, serial ? serial_text(*serial) : QString());
        g.append_rows({t});
    }
    sort_draws_by_serial(g);
}

// Ten draws on the first ten days of March 2002: draw k holds k, k+10, ... k+40 and k+49, and
// the bonus is always 60.
QStringList ten_draws() {
    QStringList d;
    for (int k = 1; k <= 10; ++k)
        d << QStringLiteral("2002-03-%1 %2 %3 %4 %5 %6 %7 60")
                 .arg(k, 2, 10, QLatin1Char('0'))
                 .arg(k)
                 .arg(k + 10)
                 .arg(k + 20)
                 .arg(k + 30)
                 .arg(k + 40)
                 .arg(k + 49);
    std::reverse(d.begin(), d.end()); // the sort puts them back in date order
    return d;
}

QString counted(const FrequencyCount& c, std::initializer_list<int> numbers) {
    QStringList s;
    for (int n : numbers)
        s << QString::number(c.counts[n]);
    return s.join(u' ');
}

FrequencyCount count_of(const std::vector<std::pair<int, int>>& freq) {
    FrequencyCount c;
    for (auto [n, f] : freq)
        c.counts[n] = f;
    for (auto [n, f] : freq)
        c.order.push_back(static_cast<int16_t>(n));
    std::stable_sort(c.order.begin(), c.order.end(),
                     [&](int16_t a, int16_t b) { return c.counts[a] > c.counts[b]; });
    return c;
}

QString text(const std::vector<int16_t>& v) {
    QStringList s;
    for (int16_t n : v)
        s << QString::number(n);
    return s.join(u' ');
}

} // namespace

class TestTsetFrequency : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void count_data() {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("pick");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("counts"); // of 1 2 3 11 39 48 60
        const QStringList ten = ten_draws();
        QTest::newRow("all, bonus not counted") << ten << "2002-01-01"
                                                << "2002-12-31" << 1 << 6 << 0 << 10 << "1 1 1 1 1 1 0";
        QTest::newRow("step 2 counts draws 1, 3, 5, 7, 9")
            << ten << "2002-01-01"
            << "2002-12-31" << 2 << 6 << 0 << 5 << "1 0 1 1 1 0 0";
        QTest::newRow("period by whole days") << ten << "2002-03-02T18:00"
                                              << "2002-03-03" << 1 << 6 << 0 << 2 << "0 1 1 0 0 0 0";
        QTest::newRow("To with a time after the draw")
            << ten << "2002-03-02"
            << "2002-03-03T12:00" << 1 << 6 << 0 << 2 << "0 1 1 0 0 0 0";
        QTest::newRow("five numbers picked") << ten << "2002-03-01"
                                             << "2002-03-01" << 1 << 5 << 0 << 1 << "1 0 0 1 0 0 0";
        QTest::newRow("From after To counts nothing")
            << ten << "2002-03-05"
            << "2002-03-04T12:00" << 1 << 6 << 0 << 0 << "0 0 0 0 0 0 0";
        QTest::newRow("no draw from From on") << ten << "2003-01-01"
                                              << "2003-12-31" << 1 << 6 << 2 << 0 << "";
        QTest::newRow("fewer than three draws") << ten.mid(0, 2) << "2002-01-01"
                                                << "2002-12-31" << 1 << 6 << 1 << 0 << "";
        QTest::newRow("number above 90")
            << QStringList{ten[0], "2002-03-11 91 2 3 4 5 6 0", ten[1], ten[2]} << "2002-01-01"
            << "2002-12-31" << 1 << 6 << 3 << 0 << "";
        QTest::newRow("a date that is no date")
            << QStringList{ten[0], ten[1], "2002-13-11 1 2 3 4 5 6 0"} << "2002-01-01"
            << "2002-12-31" << 1 << 6 << 3 << 0 << "";
        QTest::newRow("blank rows are no draws")
            << QStringList{ten[0], "       ", ten[1], "       ", ten[2]} << "2002-01-01"
            << "2002-12-31" << 1 << 6 << 0 << 3 << "0 0 0 0 1 1 0";
    }
    void count() {
        QFETCH(QStringList, draws);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, step);
        QFETCH(int, pick);
        QFETCH(int, fault);
        QFETCH(int, total);
        QFETCH(QString, counts);
        TextTable g;
        make_draws(g, draws);
        const FrequencyCount c = calc_fr(g, day(qPrintable(from)), day(qPrintable(to)), step, pick, 60);
        QCOMPARE(static_cast<int>(c.fault), fault);
        if (c.fault != FrequencyFault::none)
            return;
        QCOMPARE(c.draws, total);
        QCOMPARE(counted(c, {1, 2, 3, 11, 39, 48, 60}), counts);
        QCOMPARE(static_cast<int>(c.order.size()), 60);
    }

    void table() {
        FrequencyCount c = count_of({{1, 0}, {2, 3}, {3, 1}, {4, 3}});
        c.draws = 7;
        TextTable t;
        fill_frequency_table(t, c);
        QCOMPARE(t.rows(), 7);
        const QStringList expected{"Number|Frequency", "2|3", "4|3", "3|1", "1|0", "|", "Total draws|7"};
        for (int r = 0; r < t.rows(); ++r)
            QCOMPARE(t.text(r, 0) + u'|' + t.text(r, 1), expected[r]);
    }

    void rules_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("chosen");
        // Numbers 1..8: 5 and 7 never drawn; 2 and 6 tie, 3 and 8 tie.
        QTest::newRow("highest, ties in number order") << static_cast<int>(FrequencyRule::highest) << "4 2 6";
        QTest::newRow("lowest, least frequent first") << static_cast<int>(FrequencyRule::lowest) << "7 5 1";
        QTest::newRow("lowest positive skips the undrawn")
            << static_cast<int>(FrequencyRule::lowest_positive) << "3 8 1";
    }
    void rules() {
        QFETCH(int, rule);
        QFETCH(QString, chosen);
        const FrequencyCount c = count_of({{1, 1}, {2, 4}, {3, 2}, {4, 9}, {5, 0}, {6, 4}, {7, 0}, {8, 2}});
        QCOMPARE(text(choose_numbers(static_cast<FrequencyRule>(rule), c, 3)), chosen);
    }

    void positive_rules_agree_when_all_drawn() {
        const FrequencyCount c = count_of({{1, 1}, {2, 4}, {3, 2}, {4, 9}, {5, 3}});
        auto low = choose_numbers(FrequencyRule::lowest, c, 3);
        std::reverse(low.begin(), low.end());
        QCOMPARE(text(choose_numbers(FrequencyRule::lowest_positive, c, 3)), text(low));
        // Fewer drawn numbers than the size: the table's top rows.
        const FrequencyCount few = count_of({{1, 0}, {2, 5}, {3, 0}, {4, 0}});
        QCOMPARE(text(choose_numbers(FrequencyRule::lowest_positive, few, 3)), "2 1 3");
    }

    void random() {
        for (quint32 seed : {0u, 1u, 86399999u}) {
            const auto v = get_rand(20, 20, seed);
            QCOMPARE(static_cast<int>(v.size()), 20);
            auto sorted = v;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
            QCOMPARE(sorted.front(), 1);
            QCOMPARE(sorted.back(), 20);
            QCOMPARE(get_rand(20, 20, seed), v);
        }
        QVERIFY(get_rand(10, 49, 1) != get_rand(10, 49, 2));
        QVERIFY(get_rand(11, 10, 1).empty());
    }
};

QTEST_GUILESS_MAIN(TestTsetFrequency)
#include "test_tset_frequency.moc"
