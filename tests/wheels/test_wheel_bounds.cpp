// Schönheim's bound on values that the covering tables list, and the shipped best known sizes.
#include "core/wheels/wheel_bounds.h"

#include <QtTest>

class TestWheelBounds : public QObject {
    Q_OBJECT
  private slots:
    void schonheim_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("t");
        QTest::addColumn<qulonglong>("bound");
        const struct {
            int v, k, t;
            qulonglong bound;
        } rows[] = {{7, 3, 2, 7},    {9, 3, 2, 12},    {7, 5, 3, 5},      {8, 5, 4, 18},
                    {10, 6, 3, 7},   {11, 6, 4, 26},   {12, 6, 5, 132},   {13, 5, 3, 32},
                    {14, 6, 5, 348}, {16, 5, 3, 61},   {19, 5, 4, 787},   {20, 6, 4, 344},
                    {22, 6, 3, 77},  {23, 5, 4, 1771}, {25, 6, 4, 921},   {25, 6, 5, 9321},
                    {26, 5, 2, 37},  {30, 5, 2, 48},   {49, 6, 2, 82},    {40, 5, 3, 1016},
                    {49, 6, 3, 948}, {45, 6, 4, 9968}, {49, 5, 4, 42454}, {49, 6, 5, 325205},
                    {10, 1, 1, 10},  {10, 3, 1, 4},    {6, 6, 6, 1},      {9, 6, 6, 84}};
        for (const auto& r : rows)
            QTest::addRow("L(%d,%d,%d)", r.v, r.k, r.t) << r.v << r.k << r.t << r.bound;
    }
    void schonheim() {
        QFETCH(int, v);
        QFETCH(int, k);
        QFETCH(int, t);
        QFETCH(qulonglong, bound);
        QCOMPARE(schonheim_bound(v, k, t), bound);
        if (k >= 2 && k <= 6)
            QCOMPARE(wheel_lower_bound({v, k, t, t}), bound);
    }

    void lower_bound_of_lotto_designs_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("m");
        QTest::addColumn<qulonglong>("bound");
        // 1 if m: the tickets may leave out m - 1 numbers, no more.
        QTest::newRow("49 numbers, 1 if 6") << 49 << 6 << 1 << 6 << 8ull;
        QTest::newRow("10 numbers, 1 if 3") << 10 << 5 << 1 << 3 << 2ull;
        // The counting bound: 13,983,816 draws, 260,624 of them right 3 or more on a ticket.
        QTest::newRow("49 numbers, 3 if 6") << 49 << 6 << 3 << 6 << 54ull;
        // 120 triples, 60 of them with 2 or more on a ticket of 5.
        QTest::newRow("10 numbers, 2 if 3") << 10 << 5 << 2 << 3 << 2ull;
        QTest::newRow("a refused wheel has none") << 5 << 6 << 3 << 3 << 0ull;
    }
    void lower_bound_of_lotto_designs() {
        QFETCH(int, v);
        QFETCH(int, k);
        QFETCH(int, t);
        QFETCH(int, m);
        QFETCH(qulonglong, bound);
        QCOMPARE(wheel_lower_bound({v, k, t, m}), bound);
    }

    void best_known_data() {
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("size"); // -1: none
        QTest::newRow("first row") << 7 << 5 << 3 << 3 << 5;
        QTest::newRow("12 numbers, 4 of 6") << 12 << 6 << 4 << 4 << 41;
        QTest::newRow("Steiner system S(3,6,22)") << 22 << 6 << 3 << 3 << 77;
        QTest::newRow("20 numbers, 4 of 6") << 20 << 6 << 4 << 4 << 382;
        QTest::newRow("last row") << 25 << 6 << 5 << 5 << 9321;
        QTest::newRow("beyond the table") << 26 << 6 << 3 << 3 << -1;
        QTest::newRow("a lotto design has none") << 20 << 6 << 4 << 5 << -1;
        QTest::newRow("tickets of 4 are not listed") << 12 << 4 << 3 << 3 << -1;
    }
    void best_known() {
        QFETCH(int, v);
        QFETCH(int, k);
        QFETCH(int, t);
        QFETCH(int, m);
        QFETCH(int, size);
        const auto found = best_known_size({v, k, t, m});
        QCOMPARE(found.value_or(-1), size);
    }

    // Every entry of the table: 95 of them, none below its lower bound.
    void table_is_whole_and_above_the_bound() {
        int entries = 0;
        for (int k = 5; k <= 6; ++k)
            for (int t = 3; t <= 5; ++t)
                for (int v = 7; v <= 25; ++v) {
                    if (k == 5 && t == 5)
                        continue;
                    const auto size = best_known_size({v, k, t, t});
                    QVERIFY2(size, qPrintable(QStringLiteral("C(%1,%2,%3)").arg(v).arg(k).arg(t)));
                    QVERIFY(static_cast<uint64_t>(*size) >= schonheim_bound(v, k, t));
                    ++entries;
                }
        QCOMPARE(entries, 95);
        QVERIFY(best_known_text().find("La Jolla Covering Repository") != std::string_view::npos);
    }
};

QTEST_APPLESS_MAIN(TestWheelBounds)
#include "test_wheel_bounds.moc"
