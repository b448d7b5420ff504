#include "core/analyses/backtest.h"
#include "core/analyses/fability.h"
#include "core/base/convert.h"
#include "core/base/text_table.h"
#include "lotto/sample_lotto.h"

#include <QtTest>
#include <algorithm>

namespace {

// Lines "2024-01-03 1 2 3 11 12 13 4": the date, six numbers and the bonus.
std::vector<DrawRec> draws(const QStringList& lines) {
    std::vector<DrawRec> all;
    for (const QString& line : lines) {
        const QStringList f = line.split(u' ');
        DrawRec& d = all.emplace_back();
        d.date = date_to_serial(QDate::fromString(f[0], Qt::ISODate));
        for (int i = 0; i < 7; ++i)
            (i < 6 ? d.n[i] : d.nb) = static_cast<int16_t>(f[1 + i].toInt());
    }
    return all;
}

std::vector<int16_t> numbers(const QString& text) {
    std::vector<int16_t> n;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
        n.push_back(static_cast<int16_t>(word.toInt()));
    return n;
}

QString text(const std::vector<int16_t>& n) {
    QStringList words;
    for (int16_t x : n)
        words << QString::number(x);
    return words.join(u' ');
}

// The classes with hits, as "2=1 3+bonus=2".
QString hits_text(const ClassHits& hits) {
    QStringList parts;
    for (int c = 0; c < backtest_classes; ++c)
        if (hits[c])
            parts << QStringLiteral("%1=%2").arg(fa_class_label(c + 1)).arg(hits[c]);
    return parts.join(u' ');
}

// A prize table where the 2+bonus class pays nothing, the 3+bonus class less than class 3 and the
// 5+bonus class more than class 5.
LottoParams prizes() {
    LottoParams p = lotto49();
    p.prize3b = 4;
    return p;
}

BacktestSource fixed(const QString& n) {
    BacktestSource s;
    s.kind = BacktestSource::Kind::fixed;
    s.numbers = numbers(n);
    return s;
}

BacktestSource rule(WalkRule r, int window) {
    BacktestSource s;
    s.kind = BacktestSource::Kind::rule;
    s.rule = r;
    s.window = window;
    s.seed = 7;
    return s;
}

BacktestSource forecasts(const QStringList& lines) {
    BacktestSource s;
    s.kind = BacktestSource::Kind::forecasts;
    s.set.name = QStringLiteral("10/F");
    s.set.size = 10;
    for (const QString& line : lines) {
        QStringList words = line.split(u' ');
        const QString date = words.takeFirst();
        s.set.rows.push_back({date, words});
    }
    return s;
}

// Frequencies over the first three draws: 10 three times; 9 and 14 twice; 5-8, 11-13 and 20-23 once.
// The bonus never counts.
const QStringList history = {
    "2024-01-03 5 6 7 8 9 10 1",      "2024-01-06 9 10 11 12 13 14 2", "2024-01-10 10 14 20 21 22 23 3",
    "2024-01-13 11 12 13 14 15 16 0", "2024-01-17 1 2 20 21 22 23 24", "2024-01-20 30 31 32 33 34 35 36",
    "2024-01-24 1 3 5 7 9 11 13",
};

// count played draws a week apart from 2024-01-06, each with `numbers` numbers played.
BacktestResult played(int count, int numbers) {
    BacktestResult r;
    for (int i = 0; i < count; ++i) {
        BacktestDraw& d = r.draws.emplace_back();
        d.date = date_to_serial(QDate(2024, 1, 6).addDays(7 * i));
        for (int n = 1; n <= numbers; ++n)
            d.numbers.push_back(static_cast<int16_t>(n + i % 3));
        d.tickets = 10;
        d.cost = 20;
        d.hits[0] = i;
        d.winnings = 5.0 * i;
        d.net = d.winnings - d.cost;
        d.cumulative = (i ? r.draws[i - 1].cumulative : 0) + d.net;
    }
    return r;
}

} // namespace

class TestBacktest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // 10_3_6 on 1..10 plays positions k, k+1, k+2, k+3, k+4, k+6 (wrapping) for k = 1..10, so each
    // row's hits are counted by hand from those ten tickets.
    void scoring_data() {
        QTest::addColumn<QString>("played");
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("hits");
        QTest::addColumn<double>("winnings");
        // 2+bonus pays 2.5 (its class 0), 3+bonus pays 10 (its class 4), 5+bonus its own 10000.
        QTest::newRow("bonus on some tickets")
            << "1 2 3 4 5 6 7 8 9 10"
            << "1 2 3 4 5 6 7"
            << "2+bonus=2 3=1 3+bonus=2 4=1 4+bonus=1 5=2 5+bonus=1" << 14195.0;
        QTest::newRow("a draw without a bonus") << "1 2 3 4 5 6 7 8 9 10"
                                                << "1 2 3 4 5 6 0"
                                                << "2=2 3=3 4=2 5=3" << 6195.0;
        QTest::newRow("few hits") << "1 2 3 4 5 6 7 8 9 10"
                                  << "1 2 3 11 12 13 4"
                                  << "2=1 2+bonus=2 3=1 3+bonus=2" << 37.5;
        // Position p holds the p-th number given, not the p-th smallest.
        QTest::newRow("the order of the numbers") << "1 3 5 7 9 2 4 6 8 10"
                                                  << "1 2 3 11 12 13 4"
                                                  << "2=3 2+bonus=3 3=1" << 25.0;
        QTest::newRow("nothing") << "1 2 3 4 5 6 7 8 9 10"
                                 << "11 12 13 14 15 16 1"
                                 << "" << 0.0;
    }
    void scoring() {
        QFETCH(QString, played);
        QFETCH(QString, drawn);
        QFETCH(QString, hits);
        QFETCH(double, winnings);
        const auto all = draws({"2024-01-03 " + drawn, "2024-01-06 40 41 42 43 44 45 46"});
        const BacktestResult r = run_backtest(prizes(), all, "10_3_6", {}, fixed(played));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.draws.size(), size_t(2));
        const BacktestDraw& first = r.draws[0];
        QCOMPARE(text(first.numbers), played);
        QCOMPARE(hits_text(first.hits), hits);
        QCOMPARE(first.winnings, winnings);
        QCOMPARE(first.cost, 30.0);
        QCOMPARE(first.net, winnings - 30);
        QCOMPARE(r.draws[1].cumulative, winnings - 60);
        QCOMPARE(hits_text(r.hits), hits);
        QCOMPARE(r.tickets, qint64(20));
        QCOMPARE(r.winnings, winnings);
        QCOMPARE(r.net, winnings - 60);
    }

    void period_is_whole_days() {
        const auto all = draws(history);
        BacktestPeriod period;
        period.from = date_to_serial(QDate(2024, 1, 6)) + 0.75;
        period.to = date_to_serial(QDate(2024, 1, 17)) + 0.25;
        const BacktestResult r = run_backtest(prizes(), all, "10_3_6", period, fixed("1 2 3 4 5 6 7 8 9 10"));
        QCOMPARE(r.draws.size(), size_t(4));
        QCOMPARE(r.draws.front().date, date_to_serial(QDate(2024, 1, 6)));
        QCOMPARE(r.draws.back().date, date_to_serial(QDate(2024, 1, 17)));
    }

    void forecasts_by_date() {
        const auto all = draws(history);
        // No draw on the 4th nor the 11th; the 13th has a time of day; a bad row on a day without
        // a draw is never played.
        const BacktestSource set = forecasts({
            "2024-01-04 1 2 3 4 5 6 7 8 9 10",
            "2024-01-10 10 14 20 21 22 1 23 2 3 4",
            "2024-01-11 21 22 23 24 25 26 27 28 29 30",
            "2024-01-13T18:30 11 12 13 14 15 17 16 18 19 20",
            "2024-01-18 1 1 1 1 1 1 1 1 1 1",
        });
        const BacktestResult r = run_backtest(prizes(), all, "10_3_6", {}, set);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QStringList played;
        for (const BacktestDraw& d : r.draws)
            played << serial_to_date(d.date).toString(Qt::ISODate) + ' ' + text(d.numbers);
        QCOMPARE(played, (QStringList{"2024-01-10 10 14 20 21 22 1 23 2 3 4",
                                      "2024-01-13 11 12 13 14 15 17 16 18 19 20"}));
        QCOMPARE(r.draws[0].hits[class_index(6, false)], qint64(1));
        QCOMPARE(r.draws[1].hits[class_index(6, false)], qint64(1));
    }

    void walk_forward_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("first"); // the numbers of the first draw played
        // In the generator's order: by frequency, equal counts ascending.
        QTest::newRow("highest") << int(WalkRule::highest) << 3 << "10 9 14 5 6 7 8 11 12 13";
        QTest::newRow("lowest") << int(WalkRule::lowest) << 3 << "49 48 47 46 45 44 43 42 41 40";
        QTest::newRow("lowest positive")
            << int(WalkRule::lowest_positive) << 3 << "6 7 8 11 12 13 20 21 22 23";
        // Six numbers drawn once before: they and the first of the rest.
        QTest::newRow("lowest positive, few drawn")
            << int(WalkRule::lowest_positive) << 1 << "5 6 7 8 9 10 1 2 3 4";
        QTest::newRow("random") << int(WalkRule::random) << 2 << "";
    }
    // A draw is played only with W draws of earlier days behind it, never sees itself or a later
    // draw, and the random numbers change from draw to draw.
    void walk_forward() {
        QFETCH(int, rule);
        QFETCH(int, window);
        QFETCH(QString, first);
        const BacktestSource source = ::rule(static_cast<WalkRule>(rule), window);
        auto all = draws(history);
        const BacktestResult r = run_backtest(prizes(), all, "10_3_6", {}, source);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(int(r.draws.size()), int(all.size()) - window);
        QCOMPARE(r.draws[0].date, all[window].date);
        if (!first.isEmpty())
            QCOMPARE(text(r.draws[0].numbers), first);
        if (rule == int(WalkRule::random))
            QVERIFY(r.draws[0].numbers != r.draws[1].numbers);

        // Change the last draw: every earlier result stays; its own numbers stay too.
        auto changed = all;
        changed.back().n = {40, 41, 42, 43, 44, 45};
        const BacktestResult c = run_backtest(prizes(), changed, "10_3_6", {}, source);
        QCOMPARE(c.draws.size(), r.draws.size());
        for (size_t i = 0; i + 1 < r.draws.size(); ++i) {
            QCOMPARE(c.draws[i].numbers, r.draws[i].numbers);
            QCOMPARE(c.draws[i].hits, r.draws[i].hits);
        }
        QCOMPARE(c.draws.back().numbers, r.draws.back().numbers);

        // Unsorted draws are taken by date.
        std::reverse(changed.begin(), changed.end());
        QCOMPARE(run_backtest(prizes(), changed, "10_3_6", {}, source).draws.back().numbers,
                 c.draws.back().numbers);
    }

    // A second draw on the same day is not earlier than the first: both see the same window.
    void same_day_draws() {
        const auto all = draws({"2024-01-03 1 2 3 4 5 6 7", "2024-01-06 11 12 13 14 15 16 17",
                                "2024-01-06 21 22 23 24 25 26 27"});
        const BacktestResult r = run_backtest(prizes(), all, "10_3_6", {}, rule(WalkRule::highest, 1));
        QCOMPARE(r.draws.size(), size_t(2));
        QCOMPARE(text(r.draws[1].numbers), "1 2 3 4 5 6 7 8 9 10");
        QCOMPARE(run_backtest(prizes(), all, "10_3_6", {}, rule(WalkRule::highest, 2)).draws.size(),
                 size_t(0));
    }

    // The chance of each class against every ticket of a small lotto scored against one draw.
    void expectation_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("bonus");
        QTest::newRow("12/6 with a bonus") << 12 << 6 << true;
        QTest::newRow("12/6 without") << 12 << 6 << false;
        QTest::newRow("15/5 with a bonus") << 15 << 5 << true;
        QTest::newRow("7/6: the bonus is the one number left") << 7 << 6 << true;
    }
    void expectation() {
        QFETCH(int, n);
        QFETCH(int, k);
        QFETCH(bool, bonus);
        // Drawn: 1..k, bonus k + 1. Every ticket: every k-subset of 1..n.
        std::array<double, backtest_classes> count{};
        double tickets = 0;
        std::vector<bool> pick(static_cast<size_t>(n), false);
        std::fill(pick.begin(), pick.begin() + k, true);
        do {
            int m = 0;
            for (int i = 0; i < k; ++i)
                m += pick[static_cast<size_t>(i)] ? 1 : 0;
            const bool b = bonus && pick[static_cast<size_t>(k)];
            if (m >= 2)
                ++count[class_index(m, b)];
            ++tickets;
        } while (std::prev_permutation(pick.begin(), pick.end()));
        const ClassFigures chances =
            ticket_class_chances(static_cast<int16_t>(n), static_cast<int16_t>(k), bonus);
        for (int c = 0; c < backtest_classes; ++c)
            QVERIFY2(std::abs(chances[c] - count[c] / tickets) < 1e-15,
                     qPrintable(QStringLiteral("class %1: %2 against %3")
                                    .arg(fa_class_label(c + 1))
                                    .arg(chances[c], 0, 'g', 17)
                                    .arg(count[c] / tickets, 0, 'g', 17)));
    }

    // 6/49 over a long run, to the last digit a backtest prints.
    void expectation_of_a_run() {
        std::vector<DrawRec> all(3600, draws({"2000-01-01 1 2 3 4 5 6 7"})[0]);
        for (int i = 0; i < 3600; ++i) {
            all[i].date += i;
            all[i].nb = static_cast<int16_t>(i % 2 ? 7 : 0);
        }
        const BacktestResult r = run_backtest(prizes(), all, "20_4_6", {},
                                              fixed("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"));
        QCOMPARE(r.tickets, qint64(3600 * 500));
        // 1,800,000 C(6,2) C(43,4) / C(49,6) = 1,800,000 * 1,851,150 / 13,983,816 (a 32-bit quotient
        // reads .48 for .45), split by the bonus on the 1,800 draws that have one: 4 of the 43
        // numbers left are on the ticket.
        const double two = 1800000.0 * 1851150 / 13983816;
        QCOMPARE(QString::number(r.expected_hits[class_index(2, false)], 'f', 2),
                 QString::number(two / 2 + two / 2 * 39 / 43, 'f', 2));
        QCOMPARE(QString::number(r.expected_hits[class_index(2, true)], 'f', 2),
                 QString::number(two / 2 * 4 / 43, 'f', 2));
        QVERIFY(r.ratio(class_index(6, true)) == std::nullopt);
        QCOMPARE(r.expected_return(), r.expected_winnings / r.cost - 1);
    }

    void expected_return() {
        // 6/49, 10 for 3, 80 for 4, 2500 for 5, 5,000,000 for 6, 150,000 for 5+bonus, 3 a play.
        LottoParams p;
        p.play_n = 49, p.pick_n = 6, p.prize3 = 10, p.prize4 = 80, p.prize5 = 2500, p.prize6 = 5000000;
        p.prize5b = 150000, p.cost = 3;
        const double h3 = 246820.0 / 13983816, h4 = 13545.0 / 13983816, h5 = 258.0 / 13983816,
                     h6 = 1.0 / 13983816;
        const double wins = 10 * h3 + 80 * h4 + 2500 * h5 * 42 / 43 + 150000 * h5 / 43 + 5000000 * h6;
        QCOMPARE(*ticket_expected_return(p, true), wins / 3 - 1);
        p.cost = 0;
        QVERIFY(!ticket_expected_return(p, true));
    }

    void misfits_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<int>("source"); // 0 fixed, 1 forecasts, 2 rule
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("error"); // a part of it
        QTest::newRow("no such system") << "10_3_7" << 0 << "1 2 3 4 5 6 7 8 9 10"
                                        << "no system 10_3_7";
        QTest::newRow("tickets of 5") << "11_3_5" << 0 << "1 2 3 4 5 6 7 8 9 10 11"
                                      << "the lotto picks 6";
        QTest::newRow("too few numbers") << "10_3_6" << 0 << "1 2 3 4 5 6 7 8 9"
                                         << "9 were given";
        QTest::newRow("a number twice") << "10_3_6" << 0 << "1 2 3 4 5 6 7 8 9 1"
                                        << "1 is given twice";
        QTest::newRow("out of range") << "10_3_6" << 0 << "1 2 3 4 5 6 7 8 9 50"
                                      << "50 is not a number";
        QTest::newRow("set of another size") << "11_3_6" << 1 << "1 2 3 4 5 6 7 8 9 10"
                                             << "10 numbers a row";
        QTest::newRow("a played set row twice") << "10_3_6" << 1 << "1 2 3 4 5 6 7 8 9 9"
                                                << "2024-01-03: 9";
        QTest::newRow("a played set row not a number") << "10_3_6" << 1 << "1 2 3 4 5 6 7 8 9 x"
                                                       << "'x' is not a number";
        // One forecast a draw: a second row of the day would play the draw twice.
        QTest::newRow("two set rows for a played draw") << "10_3_6" << 3 << "1 2 3 4 5 6 7 8 9 10"
                                                        << "more than one row for the draw of 2024-01-03 "
                                                           "(rows 1 and 2)";
        QTest::newRow("an empty window") << "10_3_6" << 2 << ""
                                         << "at least one draw";
    }
    void misfits() {
        QFETCH(QString, system);
        QFETCH(int, source);
        QFETCH(QString, numbers);
        QFETCH(QString, error);
        const BacktestSource s = source == 0   ? fixed(numbers)
                                 : source == 1 ? forecasts({"2024-01-03 " + numbers})
                                 : source == 3
                                     ? forecasts({"2024-01-03 " + numbers, "2024-01-03T20:00 " + numbers})
                                     : rule(WalkRule::highest, 0);
        const BacktestResult r = run_backtest(prizes(), draws(history), system, {}, s);
        QVERIFY2(r.error.contains(error), qPrintable(r.error));
        QVERIFY(r.draws.empty());
        QCOMPARE(r.tickets, qint64(0));
    }

    // Every run refills the played-draws grid whole, whatever the grid held: a run of more draws,
    // of fewer, of none, or with another count of numbers played.
    void grid_refills_on_every_run_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("numbers");
        QTest::newRow("fewer draws") << 40 << 7 << 10;
        QTest::newRow("more draws") << 7 << 40 << 12;
        QTest::newRow("the same draws") << 12 << 12 << 10;
        QTest::newRow("none played") << 12 << 0 << 10;
        QTest::newRow("after none played") << 0 << 5 << 20;
    }
    void grid_refills_on_every_run() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, numbers);
        TextTable grid;
        int resets = 0;
        connect(&grid, &TextTable::reset_ends, this, [&resets] { ++resets; });
        fill_backtest_grid(grid, played(first, 10));
        const BacktestResult r = played(second, numbers);
        resets = 0;
        fill_backtest_grid(grid, r);
        QCOMPARE(resets, 1);
        QCOMPARE(grid.rows(), 1 + second);
        QCOMPARE(grid.fixed_rows(), 1);
        QCOMPARE(grid.fixed_cols(), 0);
        QCOMPARE(grid.cols(), 3 + backtest_classes + 4);
        QCOMPARE(grid.text(0, 0), QStringLiteral("Date"));
        QCOMPARE(grid.text(0, 4), QStringLiteral("2+bonus"));
        QCOMPARE(grid.text(0, grid.cols() - 1), QStringLiteral("Cumulative"));
        // The grid's rows are the CSV's lines, cell for cell but the date's form.
        const QList<QByteArray> csv = backtest_csv(r).split('\n');
        for (int row = 1; row < grid.rows(); ++row) {
            QStringList cells;
            for (int c = 1; c < grid.cols(); ++c)
                cells << grid.text(row, c);
            QCOMPARE(grid.text(row, 0), date_to_text(serial_to_date(r.draws[row - 1].date)));
            QCOMPARE(cells.join(u','), QString::fromUtf8(csv[row]).section(u',', 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestBacktest)
#include "test_backtest.moc"
