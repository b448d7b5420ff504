// The exact check against a brute-force count, on complete wheels and on wheels with known gaps.
#include "core/wheels/wheel_check.h"
#include "wheels/wheel_test_support.h"

#include <QtTest>

Q_DECLARE_METATYPE(WheelParams)
Q_DECLARE_METATYPE(std::vector<Ticket>)

namespace {

std::vector<Ticket> tickets(std::initializer_list<std::initializer_list<int>> rows) {
    std::vector<Ticket> out;
    for (const auto& row : rows)
        out.push_back(ticket_of(std::vector<int>(row)));
    return out;
}

// The Fano plane: every pair of 1..7 in exactly one of its lines.
const std::vector<Ticket> fano =
    tickets({{1, 2, 4}, {2, 3, 5}, {3, 4, 6}, {4, 5, 7}, {5, 6, 1}, {6, 7, 2}, {7, 1, 3}});

} // namespace

class TestWheelCheck : public QObject {
    Q_OBJECT
  private slots:
    void known_wheels_data() {
        QTest::addColumn<WheelParams>("shape");
        QTest::addColumn<std::vector<Ticket>>("wheel");
        QTest::addColumn<qulonglong>("covered");
        QTest::addColumn<qulonglong>("total");
        QTest::newRow("Fano plane covers every pair") << WheelParams{7, 3, 2, 2} << fano << 21ull << 21ull;
        QTest::newRow("Fano plane without a line misses its 3 pairs")
            << WheelParams{7, 3, 2, 2} << std::vector<Ticket>(fano.begin() + 1, fano.end()) << 18ull << 21ull;
        QTest::newRow("Fano plane, 2 if 3: every triple holds a pair of a line")
            << WheelParams{7, 3, 2, 3} << fano << 35ull << 35ull;
        // Any 3 of 10 have 2 in one half; 4 split 2 + 2 in C(5,2)^2 = 100 ways.
        const auto halves = tickets({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
        QTest::newRow("halves, 2 if 3") << WheelParams{10, 5, 2, 3} << halves << 120ull << 120ull;
        QTest::newRow("halves, 3 if 4: the 2 + 2 splits are gaps")
            << WheelParams{10, 5, 3, 4} << halves << 110ull << 210ull;
        QTest::newRow("halves, 3 if 5") << WheelParams{10, 5, 3, 5} << halves << 252ull << 252ull;
        QTest::newRow("no tickets") << WheelParams{9, 3, 2, 2} << std::vector<Ticket>() << 0ull << 36ull;
        QTest::newRow("1 if 1: the numbers of the tickets")
            << WheelParams{12, 3, 1, 1} << tickets({{1, 2, 3}, {7, 8, 12}}) << 6ull << 12ull;
        QTest::newRow("one ticket, all numbers, 6 if 6")
            << WheelParams{6, 6, 6, 6} << tickets({{1, 2, 3, 4, 5, 6}}) << 1ull << 1ull;
        // Number 64 is the top bit.
        QTest::newRow("64 numbers, 1 if 1")
            << WheelParams{64, 2, 1, 1} << tickets({{1, 64}, {2, 63}}) << 4ull << 64ull;
    }
    void known_wheels() {
        QFETCH(WheelParams, shape);
        QFETCH(std::vector<Ticket>, wheel);
        QFETCH(qulonglong, covered);
        QFETCH(qulonglong, total);
        const CoverCount count = count_covered(shape, wheel);
        QCOMPARE(count.covered, covered);
        QCOMPARE(count.total, total);
        QCOMPARE(count.complete(), covered == total);
        if (shape.v <= 20)
            QCOMPARE(brute_force_covered(shape, wheel), covered);
    }

    // Random wheels of every shape against the brute-force count: gaps anywhere.
    void random_wheels_data() {
        QTest::addColumn<WheelParams>("shape");
        QTest::addColumn<int>("count");
        QTest::addColumn<uint>("seed");
        const WheelParams shapes[] = {{9, 3, 2, 2},  {12, 4, 3, 3}, {12, 6, 3, 3}, {14, 5, 4, 4},
                                      {15, 6, 5, 5}, {13, 6, 3, 6}, {16, 6, 2, 4}, {16, 5, 3, 5},
                                      {18, 6, 4, 6}, {20, 2, 1, 3}, {17, 6, 1, 2}, {16, 6, 6, 6}};
        for (const WheelParams& s : shapes)
            for (const int count : {1, 5, 20})
                QTest::addRow("%d numbers, tickets of %d, %d if %d, %d tickets", s.v, s.k, s.t, s.m, count)
                    << s << count << uint(s.v * 100 + count);
    }
    void random_wheels() {
        QFETCH(WheelParams, shape);
        QFETCH(int, count);
        QFETCH(uint, seed);
        const auto wheel = random_tickets(shape.v, shape.k, count, seed);
        QCOMPARE(count_covered(shape, wheel).covered, brute_force_covered(shape, wheel));
    }
};

QTEST_APPLESS_MAIN(TestWheelCheck)
#include "test_wheel_check.moc"
