// The search: proven optimal sizes on small cases, budgets, the same wheel for the same seed,
// cancel, progress and refused parameters. Every wheel it returns is recounted here by brute force.
#include "core/wheels/wheel_bounds.h"
#include "core/wheels/wheel_designer.h"
#include "wheels/wheel_test_support.h"

#include <QtTest>

Q_DECLARE_METATYPE(WheelParams)
Q_DECLARE_METATYPE(DesignTuning::Cover)

namespace {

DesignOptions options(const WheelParams& shape, double seconds = 20, uint64_t seed = 1) {
    DesignOptions o;
    o.shape = shape;
    o.seconds = seconds;
    o.seed = seed;
    return o;
}

void verify_wheel(const WheelParams& shape, const DesignResult& r) {
    for (const Ticket t : r.tickets) {
        QCOMPARE(std::popcount(t), shape.k);
        QVERIFY(shape.v == 64 || t >> shape.v == 0);
    }
    QCOMPARE(r.count.total, wheel_binomial(shape.v, shape.m));
    QCOMPARE(r.count.covered, brute_force_covered(shape, r.tickets));
}

} // namespace

class TestWheelDesigner : public QObject {
    Q_OBJECT
  private slots:
    // Sizes proven optimal (they meet the lower bound), so the search stops as soon as it finds them.
    void reaches_optimal_size_data() {
        QTest::addColumn<WheelParams>("shape");
        QTest::addColumn<int>("size");
        QTest::addColumn<DesignTuning::Cover>("cover");
        QTest::addColumn<bool>("aimed");
        using C = DesignTuning::Cover;
        QTest::newRow("C(7,3,2), the Fano plane") << WheelParams{7, 3, 2, 2} << 7 << C::Automatic << true;
        QTest::newRow("C(9,3,2), a Steiner triple system")
            << WheelParams{9, 3, 2, 2} << 12 << C::Automatic << true;
        QTest::newRow("C(8,6,3)") << WheelParams{8, 6, 3, 3} << 4 << C::Automatic << true;
        QTest::newRow("C(11,5,4)") << WheelParams{11, 5, 4, 4} << 66 << C::Automatic << true;
        QTest::newRow("10 numbers, 2 if 3 on two halves")
            << WheelParams{10, 5, 2, 3} << 2 << C::Automatic << true;
        QTest::newRow("1 if 1") << WheelParams{13, 4, 1, 1} << 4 << C::Automatic << true;
        QTest::newRow("every ticket needed: 6 if 6 on 7")
            << WheelParams{7, 6, 6, 6} << 7 << C::Automatic << true;
        // The annealing of covering designs, with aimed trades and with any trade.
        QTest::newRow("annealed Fano plane") << WheelParams{7, 3, 2, 2} << 7 << C::Anneal << true;
        QTest::newRow("annealed C(9,3,2)") << WheelParams{9, 3, 2, 2} << 12 << C::Anneal << true;
        QTest::newRow("annealed C(8,6,3)") << WheelParams{8, 6, 3, 3} << 4 << C::Anneal << true;
        QTest::newRow("annealed C(7,5,4)") << WheelParams{7, 5, 4, 4} << 9 << C::Anneal << true;
        QTest::newRow("annealed C(8,6,4)") << WheelParams{8, 6, 4, 4} << 7 << C::Anneal << true;
        QTest::newRow("annealed 6 if 6 on 7") << WheelParams{7, 6, 6, 6} << 7 << C::Anneal << true;
        QTest::newRow("Fano plane, any trade") << WheelParams{7, 3, 2, 2} << 7 << C::Anneal << false;
        QTest::newRow("C(8,6,3), any trade") << WheelParams{8, 6, 3, 3} << 4 << C::Anneal << false;
    }
    void reaches_optimal_size() {
        QFETCH(WheelParams, shape);
        QFETCH(int, size);
        QFETCH(DesignTuning::Cover, cover);
        QFETCH(bool, aimed);
        DesignOptions o = options(shape);
        o.tuning.cover = cover;
        o.tuning.cover_aimed = aimed;
        const DesignResult r = design_wheel(o);
        QVERIFY(r.error.isEmpty());
        QCOMPARE(static_cast<int>(r.tickets.size()), size);
        QVERIFY(r.count.complete());
        QVERIFY(!r.cancelled);
        QVERIFY(r.first_wheel_seconds >= 0);
        verify_wheel(shape, r);
    }

    void same_seed_same_wheel_data() {
        QTest::addColumn<DesignTuning::Cover>("cover");
        QTest::addColumn<double>("orbit_share");
        QTest::newRow("repair") << DesignTuning::Cover::Repair << 0.0;
        QTest::newRow("annealing") << DesignTuning::Cover::Anneal << 0.0;
        // The symmetric start shares its time out by work done, not by the clock.
        QTest::newRow("symmetric start, then repair") << DesignTuning::Cover::Repair << 0.001;
    }
    void same_seed_same_wheel() {
        QFETCH(DesignTuning::Cover, cover);
        QFETCH(double, orbit_share);
        const WheelParams shape{13, 6, 3, 3};
        DesignOptions o = options(shape, 60, 7);
        o.tuning.cover = cover;
        o.tuning.orbit_share = orbit_share;
        o.max_moves = 200000;
        o.stop_size = 1;
        const DesignResult a = design_wheel(o);
        const DesignResult b = design_wheel(o);
        QCOMPARE(a.moves, o.max_moves);
        QCOMPARE(a.tickets, b.tickets);
        QVERIFY(a.count.complete());
        verify_wheel(shape, a);
        o.seed = 8;
        QCOMPARE(design_wheel(o).moves, o.max_moves);
        // The clock the budget is measured by changes nothing when moves end the run.
        o.seed = 7;
        o.clock = DesignClock::ThreadCpu;
        const DesignResult c = design_wheel(o);
        QCOMPARE(c.tickets, a.tickets);
        QVERIFY(c.elapsed >= 0);
    }

    void budget_data() {
        QTest::addColumn<WheelParams>("shape");
        QTest::addColumn<int>("budget");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("at_least"); // subsets covered, well below what the search reaches
        // 20 tickets hold 300 quadruples at most, 10 tickets 950 of the 1,001 4-subsets.
        QTest::newRow("too few for 4 of 6 on 12") << WheelParams{12, 6, 4, 4} << 20 << false << 200;
        QTest::newRow("lotto design, too few") << WheelParams{14, 5, 3, 4} << 10 << false << 600;
        QTest::newRow("enough for the Fano plane") << WheelParams{7, 3, 2, 2} << 7 << true << 21;
    }
    void budget() {
        QFETCH(WheelParams, shape);
        QFETCH(int, budget);
        QFETCH(bool, complete);
        QFETCH(int, at_least);
        DesignOptions o = options(shape, 0.5);
        o.budget = budget;
        const DesignResult r = design_wheel(o);
        QCOMPARE(static_cast<int>(r.tickets.size()), budget);
        QCOMPARE(r.count.complete(), complete);
        QVERIFY(r.count.covered >= static_cast<uint64_t>(at_least));
        verify_wheel(shape, r);
    }

    void budget_beyond_need_gives_fewer_tickets() {
        DesignOptions o = options({9, 3, 2, 2}, 5);
        o.budget = 40;
        const DesignResult r = design_wheel(o);
        QVERIFY(r.count.complete());
        QVERIFY(r.tickets.size() <= 40);
        verify_wheel(o.shape, r);
    }

    // Cancelled from the progress callback: the search stops at once and keeps a checked wheel.
    void cancel_keeps_checked_wheel_data() {
        QTest::addColumn<DesignTuning::Cover>("cover");
        QTest::newRow("repair") << DesignTuning::Cover::Repair;
        QTest::newRow("annealing") << DesignTuning::Cover::Anneal;
    }
    void cancel_keeps_checked_wheel() {
        QFETCH(DesignTuning::Cover, cover);
        std::atomic<bool> cancel = false;
        int calls = 0;
        DesignOptions o = options({16, 6, 4, 4}, 30);
        o.tuning.cover = cover;
        o.cancel = &cancel;
        o.progress_interval = 0.05;
        o.progress = [&](const DesignProgress& p) {
            ++calls;
            QVERIFY(p.size > 0);
            if (p.best_size > 0)
                cancel = true;
        };
        const DesignResult r = design_wheel(o);
        QVERIFY(r.cancelled);
        QVERIFY(calls >= 1);
        QVERIFY(r.elapsed < 30);
        QVERIFY(r.count.complete());
        verify_wheel(o.shape, r);
    }

    void cancelled_before_start() {
        std::atomic<bool> cancel = true;
        DesignOptions o = options({20, 6, 3, 3}, 30);
        o.cancel = &cancel;
        const DesignResult r = design_wheel(o);
        QVERIFY(r.cancelled);
        QCOMPARE(r.count.covered, brute_force_covered(o.shape, r.tickets));
    }

    void refused_data() {
        QTest::addColumn<WheelParams>("shape");
        QTest::addColumn<QString>("words"); // in the message
        QTest::newRow("K > V") << WheelParams{5, 6, 3, 3} << "too few";
        QTest::newRow("T > K") << WheelParams{20, 5, 6, 6} << "guarantee";
        QTest::newRow("T = 0") << WheelParams{20, 5, 0, 0} << "guarantee";
        QTest::newRow("M < T") << WheelParams{20, 6, 4, 3} << "--if";
        QTest::newRow("M > K") << WheelParams{20, 5, 3, 6} << "--if";
        QTest::newRow("K = 7") << WheelParams{20, 7, 3, 3} << "2 to 6";
        QTest::newRow("more than 64 numbers") << WheelParams{65, 6, 2, 2} << "at most 64";
        QTest::newRow("too many subsets") << WheelParams{60, 6, 3, 6} << "at most 20,000,000";
    }
    void refused() {
        QFETCH(WheelParams, shape);
        QFETCH(QString, words);
        const DesignResult r = design_wheel(options(shape));
        QVERIFY2(r.error.contains(words), qPrintable(r.error));
        QVERIFY(r.tickets.empty());
    }

    // The limit itself: the 49-number lottery with every draw counted is still designed.
    void largest_draw_count_is_taken() {
        QVERIFY(wheel_params_fault({49, 6, 3, 6}).isEmpty());
        QVERIFY(wheel_params_fault({50, 6, 3, 6}).isEmpty());
        QVERIFY(!wheel_params_fault({52, 6, 3, 6}).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestWheelDesigner)
#include "test_wheel_designer.moc"
