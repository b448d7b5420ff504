// Wheels with a symmetry: the shapes tried, designs known to have one found with a fixed amount
// of work, and shapes that cannot give a wheel. Every wheel is recounted here by brute force.
#include "core/wheels/orbit_search.h"
#include "wheels/wheel_test_support.h"

#include <QtTest>

Q_DECLARE_METATYPE(WheelParams)
Q_DECLARE_METATYPE(OrbitShape)
Q_DECLARE_METATYPE(std::vector<OrbitShape>)

class TestOrbitSearch : public QObject {
    Q_OBJECT
  private slots:
    void shapes_data() {
        QTest::addColumn<WheelParams>("shape");
        QTest::addColumn<int>("count");
        QTest::addColumn<std::vector<OrbitShape>>("first");
        QTest::addColumn<bool>("holds_5x3");
        QTest::addColumn<std::vector<OrbitShape>>("last");
        // 16 = 8x2, 16, 5x3+1, 15+1, 7x2+2, 14+2, 13+3, 6x2+4, 12+4: fewest fixed numbers first;
        // then the short cycles 4x4, 3x5+1, 3x4+4, 4x3+4; then those whose length has a square
        // other than 1 among its units, times the squares (mod 16: 1 and 9; mod 5: 1 and 4); none
        // turned, as no unit mod 5 has order 3 nor mod 4 order 4.
        QTest::newRow("C(16,6,4)") << WheelParams{16, 6, 4, 4} << 19
                                   << std::vector<OrbitShape>{{8, 2}, {16, 1}, {5, 3}} << true
                                   << std::vector<OrbitShape>{{4, 3},    {16, 1, 9}, {5, 3, 4}, {15, 1, 4},
                                                              {7, 2, 4}, {14, 1, 9}, {13, 1, 4}};
        QTest::newRow("C(22,6,3)") << WheelParams{22, 6, 3, 3} << 24
                                   << std::vector<OrbitShape>{{11, 2}, {22, 1}, {7, 3}} << false
                                   << std::vector<OrbitShape>{{20, 1, 9}, {19, 1, 4}, {9, 2, 4}, {18, 1, 7}};
        QTest::newRow("C(23,5,4)") << WheelParams{23, 5, 4, 4} << 20
                                   << std::vector<OrbitShape>{{23, 1}, {11, 2}} << false
                                   << std::vector<OrbitShape>{{4, 5},     {23, 1, 4}, {11, 2, 4}, {22, 1, 9},
                                                              {7, 3, 4},  {21, 1, 4}, {5, 4, 4},  {10, 2, 9},
                                                              {20, 1, 9}, {19, 1, 4}};
        // Last the cycles that hold every number turned by a unit of their number's order: 2 has
        // order 3 mod 7 (four cycles of 5 and three of 6 would leave numbers fixed).
        QTest::newRow("C(21,6,3)") << WheelParams{21, 6, 3, 3} << 23
                                   << std::vector<OrbitShape>{{7, 3}, {21, 1}, {5, 4}} << false
                                   << std::vector<OrbitShape>{{18, 1, 7}, {17, 1, 9}, {7, 3, 2, true}};
        // Few tickets: last the cycles of an even length with up to as many of half that length
        // (15 = 6x2+3, 10+5, 4x3+2+1, 4x2+2x2+3, 8+4+3).
        QTest::newRow("C(15,5,3)") << WheelParams{15, 5, 3, 3} << 22
                                   << std::vector<OrbitShape>{{5, 3}, {15, 1}} << true
                                   << std::vector<OrbitShape>{{11, 1, 4},           {6, 2, 1, false, 1},
                                                              {10, 1, 1, false, 1}, {4, 3, 1, false, 1},
                                                              {4, 2, 1, false, 2},  {8, 1, 1, false, 1}};
        QTest::newRow("lotto design: none") << WheelParams{16, 6, 3, 4} << 0 << std::vector<OrbitShape>{}
                                            << false << std::vector<OrbitShape>{};
        QTest::newRow("too many tickets to list: none")
            << WheelParams{49, 6, 3, 3} << 0 << std::vector<OrbitShape>{} << false
            << std::vector<OrbitShape>{};
        QTest::newRow("a ticket of every number: none")
            << WheelParams{6, 6, 3, 3} << 0 << std::vector<OrbitShape>{} << false
            << std::vector<OrbitShape>{};
    }
    void shapes() {
        QFETCH(WheelParams, shape);
        QFETCH(int, count);
        QFETCH(std::vector<OrbitShape>, first);
        QFETCH(bool, holds_5x3);
        QFETCH(std::vector<OrbitShape>, last);
        const std::vector<OrbitShape> shapes = orbit_shapes(shape);
        QCOMPARE(static_cast<int>(shapes.size()), count);
        QVERIFY(std::equal(first.begin(), first.end(), shapes.begin()));
        QVERIFY(std::equal(last.rbegin(), last.rend(), shapes.rbegin()));
        QCOMPARE(std::find(shapes.begin(), shapes.end(), OrbitShape{5, 3}) != shapes.end(), holds_5x3);
        for (const OrbitShape& s : shapes) {
            QVERIFY(s.length >= 3);
            const int cycled = s.length * s.cycles + s.halves * (s.length / 2);
            QVERIFY(cycled <= shape.v && shape.v - cycled <= 4);
            QVERIFY(s.halves <= s.cycles && (s.halves == 0 || s.length % 2 == 0));
        }
    }

    // Designs that meet the lower bound and have a cyclic symmetry of the shape given.
    void finds_symmetric_designs_data() {
        QTest::addColumn<WheelParams>("shape");
        QTest::addColumn<OrbitShape>("orbits");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("seed");
        QTest::newRow("the Fano plane, one cycle of 7")
            << WheelParams{7, 3, 2, 2} << OrbitShape{7, 1} << 7 << 1;
        QTest::newRow("the plane of order 3, one cycle of 13")
            << WheelParams{13, 4, 2, 2} << OrbitShape{13, 1} << 13 << 1;
        QTest::newRow("S(3,6,22), two cycles of 11")
            << WheelParams{22, 6, 3, 3} << OrbitShape{11, 2} << 77 << 1;
        QTest::newRow("C(21,6,3), three cycles of 7")
            << WheelParams{21, 6, 3, 3} << OrbitShape{7, 3} << 77 << 1;
        // Orbits of three tickets, and a few tickets of two whole cycles that every turn keeps.
        QTest::newRow("C(19,6,3), six cycles of 3")
            << WheelParams{19, 6, 3, 3} << OrbitShape{3, 6} << 60 << 2;
        // Every 4-subset in exactly one ticket: seven orbits of 253 under x -> a x + b, a a square.
        QTest::newRow("S(4,5,23), 23 times the squares")
            << WheelParams{23, 5, 4, 4} << OrbitShape{23, 1, 2} << 1771 << 1;
        // The smallest known, or within 5% of it, only with a multiplier; orbits of 21 to 126
        // tickets, so the search keeps the set below the best covering's tickets.
        QTest::newRow("C(21,6,4), 21 times the squares")
            << WheelParams{21, 6, 4, 4} << OrbitShape{21, 1, 4} << 504 << 1;
        QTest::newRow("C(23,5,3), two cycles of 11 times the squares")
            << WheelParams{23, 5, 3, 3} << OrbitShape{11, 2, 4} << 187 << 1;
        // One under the smallest listed: x -> 2 x + b (mod 5) that also moves each cycle on one.
        QTest::newRow("C(20,6,3), four cycles of 5 turned by 2")
            << WheelParams{20, 6, 3, 3} << OrbitShape{5, 4, 2, true} << 70 << 1;
        // One under what any shape of one length gave: two cycles of 4 and two of 2, 3 fixed.
        QTest::newRow("C(15,5,3), two cycles of 4 and two of 2")
            << WheelParams{15, 5, 3, 3} << OrbitShape{4, 2, 1, false, 2} << 55 << 1;
    }
    void finds_symmetric_designs() {
        QFETCH(WheelParams, shape);
        QFETCH(OrbitShape, orbits);
        QFETCH(int, size);
        QFETCH(int, seed);
        OrbitSearch search(shape, orbits, static_cast<uint64_t>(seed));
        QVERIFY(search.usable());
        QCOMPARE(search.best_size(), size_t{0});
        for (int round = 0; round < 100 && search.best_size() != static_cast<size_t>(size); ++round)
            search.run(10'000'000, nullptr);
        const std::vector<Ticket> wheel = search.best_wheel();
        QCOMPARE(static_cast<int>(wheel.size()), size);
        QCOMPARE(search.best_size(), wheel.size());
        QVERIFY(search.work_at_best() <= search.work_done());
        for (const Ticket t : wheel)
            QCOMPARE(std::popcount(t), shape.k);
        QCOMPARE(brute_force_covered(shape, wheel), wheel_binomial(shape.v, shape.t));
    }

    // Every 5-subset of 7 numbers lies in a ticket of 6 that leaves out one of its two missing
    // numbers, so six tickets are needed: the orbit of the five cycled numbers' complements and one
    // of the two fixed numbers' complements, an orbit of one ticket.
    void counts_short_orbits_for_their_tickets() {
        OrbitSearch search({7, 6, 5, 5}, {5, 1}, 1);
        QVERIFY(search.usable());
        search.run(1000, nullptr);
        QCOMPARE(search.best_size(), size_t{6});
        QCOMPARE(search.best_wheel().size(), size_t{6});
        QCOMPARE(brute_force_covered({7, 6, 5, 5}, search.best_wheel()), wheel_binomial(7, 5));
    }

    void stops_when_asked() {
        OrbitSearch search({20, 6, 4, 4}, {19, 1}, 1);
        int asked = 0;
        search.run(UINT64_MAX, [&] { return ++asked == 3; });
        QCOMPARE(asked, 3);
        QVERIFY(search.best_size() > 0);
        // Stopped while it lists the 38,760 tickets: nothing to run.
        OrbitSearch listing({20, 6, 4, 4}, {19, 1}, 1, [] { return true; });
        QVERIFY(!listing.usable());
        QCOMPARE(listing.run(1000, nullptr), uint64_t{0});
    }
};

QTEST_GUILESS_MAIN(TestOrbitSearch)
#include "test_orbit_search.moc"
