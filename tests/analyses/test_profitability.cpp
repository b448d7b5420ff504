#include "core/analyses/profitability.h"
#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/systems/guar_results.h"

#include <QtTest>

namespace {

// The worked example: 6/49, a set of 10, 10_3_6, prizes 0, 10, 100, 1000, 1000000, no bonus prizes,
// a play costing 1, every factor 1.
ProfitInputs worked_example() {
    ProfitInputs in;
    in.play_n = 49;
    in.pick_n = 6;
    in.set_size = 10;
    const float plain[] = {0, 10, 100, 1000, 1000000};
    for (int k = 2; k <= 6; ++k)
        in.prizes[k][0] = plain[k - 2];
    GuarMinMax lo, hi;
    get_guar_results(QStringLiteral("10_3_6"), in.guar_avg, lo, hi);
    in.fa.fill(QStringLiteral("1"));
    in.tickets = 10;
    in.cost = 1;
    return in;
}

std::array<QString, 10> prize_texts(const char* text) {
    std::array<QString, 10> t;
    const QStringList parts = QString::fromLatin1(text).split(u' ');
    for (int i = 0; i < 10; ++i)
        t[i] = parts[i];
    return t;
}

const char* worked_prizes = "0 0 10 0 100 0 1000 0 1000000 0";

} // namespace

class TestProfitability : public QObject {
    Q_OBJECT
  private slots:
    void profitability_data() {
        QTest::addColumn<int>("fab_row");
        QTest::addColumn<QString>("fab");
        QTest::addColumn<float>("cost");
        QTest::addColumn<int>("tickets");
        QTest::addColumn<QString>("want");
        QTest::newRow("worked example") << -1 << QString() << 1.0f << 10 << "-0.6366729";
        // A cost of 0 skips the division by the cost.
        QTest::newRow("free play") << -1 << QString() << 0.0f << 10 << "-0.6366729";
        QTest::newRow("cost 2") << -1 << QString() << 2.0f << 10 << "-0.8183364";
        // All the factor cells empty: every factor is 1.
        QTest::newRow("empty factors") << 99 << QString() << 1.0f << 10 << "-0.6366729";
        QTest::newRow("factor not a number") << 3 << QStringLiteral("x") << 1.0f << 10 << "";
        QTest::newRow("no tickets") << -1 << QString() << 1.0f << 0 << "";
    }
    void profitability() {
        QFETCH(int, fab_row);
        QFETCH(QString, fab);
        QFETCH(float, cost);
        QFETCH(int, tickets);
        QFETCH(QString, want);
        ProfitInputs in = worked_example();
        if (fab_row == 99)
            in.fa.fill(QString());
        else if (fab_row > 0)
            in.fa[fab_row - 1] = fab;
        in.cost = cost;
        in.tickets = tickets;
        const auto s = average_profitability(in);
        QCOMPARE(s ? float_to_text(*s, QLocale::c()) : QString(), want);
    }

    // The bonus factor of an empty FAb cell is the one last read, also across rows i.
    void bonus_factor_carries() {
        ProfitInputs in = worked_example();
        in.prizes[3][1] = 50;
        in.fa[2 - 1] = QStringLiteral("1.5"); // FAb(2)
        in.fa[4 - 1] = QString();             // FAb(3)
        ProfitInputs same = in;
        same.fa[4 - 1] = QStringLiteral("1.5");
        QCOMPARE(average_profitability(in).value(), average_profitability(same).value());
        ProfitInputs plain = in;
        plain.fa[4 - 1] = QStringLiteral("1");
        QVERIFY(average_profitability(in).value() > average_profitability(plain).value());
    }

    void ticket_count_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("want");
        QTest::newRow("10_3_6") << "10_3_6" << 1 << 10 << 10;
        // The system's own tickets, whatever the last expansion left behind.
        QTest::newRow("19_4_5 after 10_3_6") << "19_4_5" << 1 << 10 << 969;
        QTest::newRow("unknown name") << "x" << 3 << 10 << 30;
        QTest::newRow("beyond 16 bits") << "x" << 3000 << 20 << -1;
    }
    void ticket_count() {
        QFETCH(QString, name);
        QFETCH(int, base);
        QFETCH(int, size);
        QFETCH(int, want);
        QCOMPARE(profit_ticket_count(name, int16_t(base), int16_t(size)).value_or(-1), want);
    }

    void times_to_play_data() {
        QTest::addColumn<QString>("prizes");
        QTest::addColumn<QString>("fa_m");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("want");
        QTest::newRow("95") << worked_prizes << "1"
                            << "95"
                            << "199483";
        QTest::newRow("99") << worked_prizes << "1"
                            << "99"
                            << "306654";
        // A factor of 1 or less leaves the probability alone; 2 doubles it.
        QTest::newRow("factor 0.8") << worked_prizes << "0.8"
                                    << "95"
                                    << "199483";
        QTest::newRow("factor 2") << worked_prizes << "2"
                                  << "95"
                                  << "99741";
        QTest::newRow("empty FA(6)") << worked_prizes << ""
                                     << "95"
                                     << "error";
        QTest::newRow("prize not a number") << "0 0 10 0 a 0 1000 0 1000000 0"
                                            << "1"
                                            << "95"
                                            << "error";
        QTest::newRow("level not a number") << worked_prizes << "1"
                                            << "x"
                                            << "error";
        QTest::newRow("level 100") << worked_prizes << "1"
                                   << "100"
                                   << "error";
        // Only class 2 pays: m = 2 takes no factor, so an empty FA(6) does not matter.
        QTest::newRow("m 2") << "5 0 0 0 0 0 0 0 0 0"
                             << ""
                             << "95"
                             << "10";
        // No prize at all: m = 0, the chance of no drawn number in the set.
        QTest::newRow("m 0") << "0 0 0 0 0 0 0 0 0 0"
                             << ""
                             << "95"
                             << "11";
    }
    void times_to_play() {
        QFETCH(QString, prizes);
        QFETCH(QString, fa_m);
        QFETCH(QString, level);
        QFETCH(QString, want);
        FaTexts fa;
        fa.fill(QStringLiteral("1"));
        fa[2 * 6 - 4] = fa_m;
        const TimesToPlay t = how_long_to_play(49, 6, 10, prize_texts(qPrintable(prizes)), fa, level);
        const QString got = t.outcome == TimesToPlay::Outcome::ok         ? QString::number(t.times)
                            : t.outcome == TimesToPlay::Outcome::no_lotto ? QStringLiteral("no lotto")
                                                                          : QStringLiteral("error");
        QCOMPARE(got, want);
    }

    // A set as large as the lotto holds every drawn number: the probability is 1.
    void certain_class_asks_for_a_lotto() {
        FaTexts fa;
        fa.fill(QStringLiteral("1"));
        const auto t = how_long_to_play(10, 6, 10, prize_texts(worked_prizes), fa, QStringLiteral("95"));
        QCOMPARE(t.outcome, TimesToPlay::Outcome::no_lotto);
    }
};

QTEST_APPLESS_MAIN(TestProfitability)
#include "test_profitability.moc"
