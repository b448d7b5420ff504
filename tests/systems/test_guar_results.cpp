#include <QTest>
#include <bit>

#include "core/base/common_routines.h"
#include "core/systems/guar_results.h"

namespace {

using Row = std::array<int, 5>; // j = 2..6
using AvgRow = std::array<float, 5>;

QString qname(const SystemInfo& s) {
    return QString::fromLatin1(s.name.data(), static_cast<qsizetype>(s.name.size()));
}

Row min_row(const GuarMinMax& t, int i) {
    return {t(i, 2), t(i, 3), t(i, 4), t(i, 5), t(i, 6)};
}

// Worst and best placements over every i-subset of the positions, with no use of rotation classes.
std::pair<Row, Row> brute_force_row(const std::vector<PositionMask>& tickets, int v, int i) {
    std::pair<Row, Row> r;
    bool first = true;
    auto key = [](const Row& x) { return std::array<int, 5>{x[4], x[3], x[2], x[1], x[0]}; };
    for (uint32_t p = 0; p < (1u << v); ++p) {
        if (std::popcount(p) != i)
            continue;
        Row h{};
        for (const PositionMask t : tickets)
            if (const int n = std::popcount(p & t); n >= 2)
                ++h[n - 2];
        if (first || key(h) < key(r.first))
            r.first = h;
        if (first || key(h) > key(r.second))
            r.second = h;
        first = false;
    }
    return r;
}

} // namespace

class TestGuarResults : public QObject {
    Q_OBJECT
  private slots:
    void packed_order_is_count_6_first_data();
    void packed_order_is_count_6_first();
    void placement_classes_partition_the_subsets_data();
    void placement_classes_partition_the_subsets();
    void published_rows_data();
    void published_rows();
    void published_averages_data();
    void published_averages();
    void every_system_data();
    void every_system();
    void lookup_overwrites_every_row();
    void unknown_name_changes_nothing();
};

void TestGuarResults::packed_order_is_count_6_first_data() {
    QTest::addColumn<Row>("lower");
    QTest::addColumn<Row>("higher");
    QTest::newRow("one 6 beats many 5") << Row{900, 900, 900, 900, 0} << Row{0, 0, 0, 0, 1};
    QTest::newRow("count 2 decides last") << Row{3, 1, 0, 0, 0} << Row{4, 1, 0, 0, 0};
    QTest::newRow("10_3_6 row 3") << Row{6, 1, 0, 0, 0} << Row{3, 3, 0, 0, 0};
    QTest::newRow("largest counts") << Row{968, 969, 969, 969, 969} << Row{969, 969, 969, 969, 969};
}

void TestGuarResults::packed_order_is_count_6_first() {
    QFETCH(Row, lower);
    QFETCH(Row, higher);
    PackedHits a = 0, b = 0;
    for (int j = 2; j <= 6; ++j) {
        a += hit_unit(j) * lower[j - 2];
        b += hit_unit(j) * higher[j - 2];
    }
    QVERIFY(a < b);
    for (int j = 2; j <= 6; ++j)
        QCOMPARE(hit_count(b, j), higher[j - 2]);
}

void TestGuarResults::placement_classes_partition_the_subsets_data() {
    QTest::addColumn<int>("v");
    QTest::addColumn<int>("i");
    QTest::addColumn<int>("classes");
    QTest::newRow("10, 2") << 10 << 2 << 5;
    QTest::newRow("12, 4 with periodic classes") << 12 << 4 << 43;
    QTest::newRow("17, 3") << 17 << 3 << 40;
    QTest::newRow("20, 4") << 20 << 4 << 245;
    QTest::newRow("20, 6") << 20 << 6 << 1944;
}

// Every i-subset lies in exactly one class: the orbit sizes of the representatives add up to C(v, i).
void TestGuarResults::placement_classes_partition_the_subsets() {
    QFETCH(int, v);
    QFETCH(int, i);
    QFETCH(int, classes);
    const std::vector<PositionMask> reps = placement_classes(v, i);
    QCOMPARE(int(reps.size()), classes);
    double total = 0;
    for (const PositionMask r : reps) {
        QCOMPARE(std::popcount(r), i);
        PositionMask m = r;
        int orbit = 0;
        do {
            QVERIFY(m >= r);
            m = rotate_mask(m, v);
            ++orbit;
        } while (m != r);
        total += orbit;
    }
    QCOMPARE(total, binomial(static_cast<int16_t>(v), static_cast<int16_t>(i)));
}

void TestGuarResults::published_rows_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("i");
    QTest::addColumn<Row>("worst");
    QTest::addColumn<Row>("best");
    QTest::newRow("10_3_6 2") << "10_3_6" << 2 << Row{2, 0, 0, 0, 0} << Row{4, 0, 0, 0, 0};
    QTest::newRow("10_3_6 3") << "10_3_6" << 3 << Row{6, 1, 0, 0, 0} << Row{3, 3, 0, 0, 0};
    QTest::newRow("10_3_6 4") << "10_3_6" << 4 << Row{6, 4, 0, 0, 0} << Row{2, 3, 2, 0, 0};
    QTest::newRow("10_3_6 5") << "10_3_6" << 5 << Row{2, 6, 2, 0, 0} << Row{3, 2, 3, 1, 0};
    QTest::newRow("10_3_6 6") << "10_3_6" << 6 << Row{0, 4, 6, 0, 0} << Row{1, 4, 4, 0, 1};
    QTest::newRow("10_4_6 4") << "10_4_6" << 4 << Row{15, 12, 1, 0, 0} << Row{12, 9, 4, 0, 0};
    QTest::newRow("12_3_5 5") << "12_3_5" << 5 << Row{17, 12, 0, 0, 0} << Row{16, 8, 1, 1, 0};
    QTest::newRow("20_4_6 2") << "20_4_6" << 2 << Row{37, 0, 0, 0, 0} << Row{42, 0, 0, 0, 0};
    QTest::newRow("20_4_6 3") << "20_4_6" << 3 << Row{90, 7, 0, 0, 0} << Row{86, 12, 0, 0, 0};
    QTest::newRow("20_4_6 4") << "20_4_6" << 4 << Row{145, 25, 1, 0, 0} << Row{132, 28, 4, 0, 0};
}

void TestGuarResults::published_rows() {
    QFETCH(QString, name);
    QFETCH(int, i);
    QFETCH(Row, worst);
    QFETCH(Row, best);
    GuarAvg avg;
    GuarMinMax lo, hi;
    get_guar_results(name, avg, lo, hi);
    QCOMPARE(min_row(lo, i), worst);
    QCOMPARE(min_row(hi, i), best);
}

void TestGuarResults::published_averages_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("i");
    QTest::addColumn<AvgRow>("averages");
    QTest::newRow("10_3_6 2") << "10_3_6" << 2 << AvgRow{3.333333f, 0, 0, 0, 0};
    QTest::newRow("10_3_6 3") << "10_3_6" << 3 << AvgRow{5, 1.666667f, 0, 0, 0};
    QTest::newRow("10_3_6 4") << "10_3_6" << 4 << AvgRow{4.285714f, 3.809524f, 0.7142857f, 0, 0};
    QTest::newRow("10_3_6 5") << "10_3_6" << 5 << AvgRow{2.380953f, 4.761904f, 2.380953f, 0.2380952f, 0};
    QTest::newRow("10_3_6 6") << "10_3_6" << 6
                              << AvgRow{0.7142857f, 3.809524f, 4.285715f, 1.142857f, 0.04761905f};
    QTest::newRow("12_3_5 5") << "12_3_5" << 5 << AvgRow{15.90909f, 9.545453f, 1.590909f, 0.04545455f, 0};
    QTest::newRow("12_3_5 6 unused") << "12_3_5" << 6 << AvgRow{0, 0, 0, 0, 0};
    QTest::newRow("20_4_6 2") << "20_4_6" << 2 << AvgRow{39.47368f, 0, 0, 0, 0};
    QTest::newRow("20_4_6 3") << "20_4_6" << 3 << AvgRow{92.10527f, 8.771931f, 0, 0, 0};
    QTest::newRow("20_4_6 4") << "20_4_6" << 4 << AvgRow{140.867f, 28.89577f, 1.547989f, 0, 0};
    QTest::newRow("20_4_6 5") << "20_4_6" << 5 << AvgRow{176.0837f, 58.69452f, 6.772441f, 0.1934984f, 0};
    QTest::newRow("20_4_6 6") << "20_4_6" << 6
                              << AvgRow{193.692f, 93.91131f, 17.60833f, 1.083591f, 0.0128999f};
}

void TestGuarResults::published_averages() {
    QFETCH(QString, name);
    QFETCH(int, i);
    QFETCH(AvgRow, averages);
    GuarAvg avg;
    GuarMinMax lo, hi;
    get_guar_results(name, avg, lo, hi);
    for (int j = 2; j <= 6; ++j) {
        const float want = averages[j - 2];
        if (want == 0)
            QCOMPARE(avg(i, j), 0.0f);
        else
            QVERIFY2(std::abs(avg(i, j) - want) <= 1e-5f * want,
                     qPrintable(QString::number(avg(i, j), 'g', 9)));
    }
}

void TestGuarResults::every_system_data() {
    QTest::addColumn<QString>("name");
    for (const SystemInfo& s : system_catalogue())
        QTest::newRow(std::string(s.name).c_str()) << qname(s);
}

// Every row up to m agrees with a brute force over all placements; the guarantee shows in row t;
// cells outside the ticket's reach are 0.
void TestGuarResults::every_system() {
    QFETCH(QString, name);
    const SystemInfo info = *find_system(name);
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(name, count, tickets);
    const std::vector<PositionMask> masks = ticket_masks(tickets, info.v, info.m);
    GuarAvg avg;
    GuarMinMax lo, hi;
    get_guar_results(name, avg, lo, hi);
    QVERIFY(lo(info.t, info.t) >= 1);
    for (int i = 2; i <= 6; ++i) {
        if (i <= info.m) {
            const auto [worst, best] = brute_force_row(masks, info.v, i);
            QCOMPARE(min_row(lo, i), worst);
            QCOMPARE(min_row(hi, i), best);
        }
        double total = 0;
        for (int j = 2; j <= 6; ++j) {
            if (j > i || j > info.m || i > info.m) {
                QCOMPARE(avg(i, j), 0.0f);
                QCOMPARE(lo(i, j), int16_t{0});
                QCOMPARE(hi(i, j), int16_t{0});
            }
            total += avg(i, j) * j * (j - 1) / 2;
        }
        // Each ticket holds C(m, 2) pairs, each pair of positions is placed C(v - 2, i - 2) times.
        if (i <= info.m) {
            const double pairs = masks.size() * info.m * (info.m - 1) / 2.0 *
                                 binomial(static_cast<int16_t>(info.v - 2), static_cast<int16_t>(i - 2)) /
                                 binomial(info.v, static_cast<int16_t>(i));
            QVERIFY(std::abs(total - pairs) <= 1e-5 * pairs);
        }
    }
}

void TestGuarResults::lookup_overwrites_every_row() {
    GuarAvg avg;
    GuarMinMax lo, hi;
    get_guar_results(QStringLiteral("20_4_6"), avg, lo, hi);
    QVERIFY(hi(6, 6) > 0 && avg(6, 6) > 0);
    get_guar_results(QStringLiteral("19_4_5"), avg, lo, hi);
    for (int j = 2; j <= 6; ++j) {
        QCOMPARE(avg(6, j), 0.0f);
        QCOMPARE(lo(6, j), int16_t{0});
        QCOMPARE(hi(6, j), int16_t{0});
        QCOMPARE(hi(j, 6), int16_t{0});
    }
    // rows the published table leaves out are still there
    QVERIFY(lo(5, 4) + lo(5, 3) > 0);
    QVERIFY(hi(4, 4) > 0);
}

void TestGuarResults::unknown_name_changes_nothing() {
    GuarAvg avg;
    GuarMinMax lo, hi;
    get_guar_results(QStringLiteral("10_3_6"), avg, lo, hi);
    const auto a = avg.cell;
    const auto l = lo.cell;
    const auto h = hi.cell;
    get_guar_results(QStringLiteral("10_3_5"), avg, lo, hi);
    get_guar_results(QStringLiteral("10_3_6 "), avg, lo, hi);
    QCOMPARE(avg.cell, a);
    QCOMPARE(lo.cell, l);
    QCOMPARE(hi.cell, h);
}

QTEST_APPLESS_MAIN(TestGuarResults)
#include "test_guar_results.moc"
