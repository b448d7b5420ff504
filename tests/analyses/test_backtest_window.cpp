#include "analyses/fability_scene.h"
#include "core/analyses/backtest.h"
#include "core/base/convert.h"
#include "core/wheels/designed_wheels.h"
#include "gui/analyses/frm_backtest.h"
#include "support/test_files.h"
#include "support/window_driver.h"

#include <QFile>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QtTest>
#include <sys/stat.h>

namespace {

// count draws three days apart from 2024-01-01, the numbers from a fixed seed; every other draw
// has a set row of its date. The lines are those the grids take ("date n1 .. n6 bonus").
struct History {
    QStringList draw_lines, set_lines;
    std::vector<DrawRec> draws;
    TsetRec set;

    explicit History(int count) {
        QRandomGenerator rng(49);
        set.size = 10;
        for (int i = 0; i < count; ++i) {
            const QDate day = QDate(2024, 1, 1).addDays(3 * i);
            const QString date = day.toString(Qt::ISODate);
            std::vector<int16_t> drawn = get_numbers(rng, 7), row = get_numbers(rng, 10);
            DrawRec& d = draws.emplace_back();
            d.date = date_to_serial(day);
            std::copy(drawn.begin(), drawn.begin() + 6, d.n.begin());
            d.nb = i % 5 == 0 ? 0 : drawn[6]; // some draws without a bonus
            draw_lines << date + u' ' + backtest_numbers_text({d.n.begin(), d.n.end()}) + u' ' +
                              QString::number(d.nb);
            if (i % 2 == 0) {
                set_lines << date + u' ' + backtest_numbers_text(row);
                set.rows.push_back({date, backtest_numbers_text(row).split(u' ')});
            }
        }
    }
    static std::vector<int16_t> get_numbers(QRandomGenerator& rng, int count) {
        std::vector<int16_t> n;
        while (static_cast<int>(n.size()) < count) {
            const auto x = static_cast<int16_t>(1 + rng.bounded(49));
            if (std::find(n.begin(), n.end(), x) == n.end())
                n.push_back(x);
        }
        return n;
    }
};

// The scene's lotto and set holding history, and the Backtest window open on them.
struct BacktestScene : FabilityScene {
    History history;
    WindowDriver<frmBacktest> w;
    explicit BacktestScene(int draws) : history(draws) {
        add_draws(history.draw_lines);
        add_sets(history.set_lines);
        w = open_window<frmBacktest>(app, "frmBacktest");
    }
    void run() {
        w.click("cmdRun");
        QTRY_VERIFY_WITH_TIMEOUT(!w->running(), 60000);
    }
    BacktestResult core(const QString& system, const BacktestSource& source, BacktestPeriod period = {}) {
        return run_backtest(app.session.lotto.params(), history.draws, system, period, source);
    }
};

QStringList totals(const BacktestResult& r) {
    return {QString::number(r.draws.size()), QString::number(r.tickets),
            backtest_amount(r.cost),         backtest_amount(r.winnings),
            backtest_amount(r.net),          backtest_amount(r.expected_winnings)};
}
const QStringList total_labels{"lblDrawsPlayed", "lblTickets", "lblCost",
                               "lblWinnings",    "lblNet",     "lblExpectedWinnings"};

QString hits_column(const GridModel& g) {
    QStringList t;
    for (int r = 1; r < g.rows(); ++r)
        t << g.text(r, 1);
    return t.join(u' ');
}

} // namespace

class TestBacktestWindow : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void main_window_button_opens_it() {
        TestApp app;
        const auto main = open_window(app, "frmMain");
        main.click("cmdBacktest");
        QWidget* w = app.windows.find("frmBacktest");
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), "Backtest");
    }

    // Each way of choosing numbers gives the core's figures, the draws table and the chart.
    void run_shows_the_core_totals_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("window");
        QTest::newRow("forecasts") << "optForecasts"
                                   << "10_3_6"
                                   << ""
                                   << "" << 0 << 0;
        QTest::newRow("forecasts in a period") << "optForecasts"
                                               << "10_3_6"
                                               << "2024-02-01"
                                               << "2024-03-31" << 0 << 0;
        QTest::newRow("fixed") << "optFixed"
                               << "10_3_6"
                               << ""
                               << "" << 0 << 0;
        QTest::newRow("highest") << "optRule"
                                 << "12_4_6"
                                 << ""
                                 << "" << 0 << 5;
        QTest::newRow("lowest positive") << "optRule"
                                         << "10_3_6"
                                         << ""
                                         << "" << 2 << 8;
        QTest::newRow("random") << "optRule"
                                << "10_3_6"
                                << ""
                                << "2024-04-30" << 3 << 0;
    }
    void run_shows_the_core_totals() {
        QFETCH(QString, mode);
        QFETCH(QString, system);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, rule);
        QFETCH(int, window);
        BacktestScene s(60);
        s.app.session.tset.set_current_row(3);
        s.w.get<QRadioButton>(mode)->setChecked(true);
        s.w.pick("cmbSystem", system);
        s.w.set_texts({"txtFrom", "txtTo", "txtWindow", "txtSeed"}, {from, to, QString::number(window), "7"});
        s.w.get<QComboBox>("cmbRule")->setCurrentIndex(rule);
        if (mode == "optFixed")
            s.w.click("cmdFromRow");
        s.run();
        QCOMPARE(s.app.dialogs.messages, QStringList());

        BacktestSource source;
        source.kind = mode == "optForecasts" ? BacktestSource::Kind::forecasts
                      : mode == "optFixed"   ? BacktestSource::Kind::fixed
                                             : BacktestSource::Kind::rule;
        source.set = s.history.set;
        source.numbers.clear();
        for (const QString& n : s.history.set.rows[2].numbers)
            source.numbers.push_back(static_cast<int16_t>(n.toInt()));
        source.rule = std::array{WalkRule::highest, WalkRule::lowest, WalkRule::lowest_positive,
                                 WalkRule::random}[rule];
        source.window = window;
        source.seed = 7;
        BacktestPeriod period;
        if (!from.isEmpty())
            period.from = date_to_serial(QDate::fromString(from, Qt::ISODate));
        if (!to.isEmpty())
            period.to = date_to_serial(QDate::fromString(to, Qt::ISODate));
        const BacktestResult core = s.core(system, source, period);
        QVERIFY(!core.draws.empty());
        QCOMPARE(s.w.texts(total_labels), totals(core));
        QStringList hits;
        for (qint64 h : core.hits)
            hits << QString::number(h);
        QCOMPARE(hits_column(s.w.grid("msfHits")), hits.join(u' '));
        const GridModel& draws = s.w.grid("msfDraws");
        QCOMPARE(draws.rows(), 1 + static_cast<int>(core.draws.size()));
        QCOMPARE(draws.text(draws.rows() - 1, draws.cols() - 1), backtest_amount(core.net));
        QCOMPARE(s.w.text("lblTicketReturn"),
                 QString::number(*ticket_expected_return(s.app.session.lotto.params(), true), 'f', 4));
        QVERIFY(s.w.enabled("cmdExport") && s.w.enabled("cmdPrint"));
    }

    // A second run, in another mode or the same, fills the played-draws grid and its header anew.
    void every_run_refills_the_draws_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("forecasts, then fixed") << "optForecasts"
                                               << "optFixed";
        QTest::newRow("fixed twice") << "optFixed"
                                     << "optFixed";
        QTest::newRow("rule, then forecasts") << "optRule"
                                              << "optForecasts";
    }
    void every_run_refills_the_draws() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        BacktestScene s(60);
        s.w.set_texts({"txtNumbers", "txtWindow"}, {"1 2 3 4 5 6 7 8 9 10", "5"});
        for (const QString& mode : {first, second}) {
            s.w.get<QRadioButton>(mode)->setChecked(true);
            s.run();
            QCOMPARE(s.app.dialogs.messages, QStringList());
            const GridModel& draws = s.w.grid("msfDraws");
            const int played = s.w.text("lblDrawsPlayed").toInt();
            QVERIFY(played > 0);
            QCOMPARE(draws.rows(), 1 + played);
            QCOMPARE(draws.fixed_rows(), 1);
            QCOMPARE(draws.rowCount(), played);
            QCOMPARE(draws.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Date"));
            QCOMPARE(draws.data(draws.index(0, 1)).toString().isEmpty(), false);
            QCOMPARE(draws.text(draws.rows() - 1, draws.cols() - 1), s.w.text("lblNet"));
        }
    }

    // The window opens on the system picked in the Systems window; on 10_3_6 when none is.
    void opens_on_the_picked_system_data() {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a system picked") << "12_4_6"
                                         << "12_4_6";
        QTest::newRow("none picked") << ""
                                     << "10_3_6";
        QTest::newRow("not of the catalogue") << "99_9_9"
                                              << "10_3_6";
    }
    void opens_on_the_picked_system() {
        QFETCH(QString, picked);
        QFETCH(QString, shown);
        TestApp app;
        app.session.system.set_name(picked);
        const auto w = open_window(app, "frmBacktest");
        QCOMPARE(w.get<QComboBox>("cmbSystem")->currentText(), shown);
        // A system, a lotto picked afterwards in their own windows show here too.
        app.session.system.set_name(QStringLiteral("15_3_6"));
        app.session.lotto.set_name(QStringLiteral("Other"));
        QCOMPARE(w.get<QComboBox>("cmbSystem")->currentText(), QStringLiteral("15_3_6"));
        QCOMPARE(w.text("lblLotto"), QStringLiteral("Other"));
        // A designed system saved meanwhile is offered at once.
        const std::vector<Ticket> fano{0b0001011, 0b0010110, 0b0101100, 0b1011000,
                                       0b0110001, 0b1100010, 0b1000101};
        QString error;
        QVERIFY(save_designed_wheel(app.dir.path(), QStringLiteral("Fano"), fano, error));
        emit app.session.designed_systems_changed();
        QVERIFY(w.get<QComboBox>("cmbSystem")->findText(QStringLiteral("Fano (designed)")) >= 0);
        QCOMPARE(w.get<QComboBox>("cmbSystem")->currentText(), QStringLiteral("15_3_6"));
    }

    void export_writes_the_commands_csv_and_print_prints() {
        BacktestScene s(200);
        s.w.get<QRadioButton>("optFixed")->setChecked(true);
        s.w.set("txtNumbers", "1 2 3 4 5 6 7 8 9 10");
        s.run();
        const QString csv = s.app.path("played.csv"), pdf = s.app.path("backtest.pdf");
        s.app.dialogs.file_answers << csv;
        s.w.click("cmdExport");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        BacktestSource source;
        source.numbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QCOMPARE(file.readAll(), backtest_csv(s.core("10_3_6", source)));

        // 200 draws do not fit on one page after the totals and the chart.
        s.app.dialogs.print_file = pdf;
        s.w.click("cmdPrint");
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        const QByteArray bytes = printed.readAll();
        QVERIFY(bytes.count("/Type /Page") - bytes.count("/Type /Pages") >= 4);
        QCOMPARE(s.app.dialogs.messages, QStringList());

        // Never over a set of the data folder, nor into a pipe, where the window would wait for a
        // reader.
        const QString set = s.app.path("Tsets/10/F"), pipe = s.app.path("pipe");
        write_file(set, "");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        s.app.dialogs.file_answers << set << pipe;
        s.w.click("cmdExport");
        s.w.click("cmdExport");
        QCOMPARE(s.app.dialogs.messages.size(), 2);
        QVERIFY2(s.app.dialogs.messages.last().contains("not a regular file"),
                 qPrintable(s.app.dialogs.messages.last()));
        QCOMPARE(read_all(set), QByteArray());
        QVERIFY(!QFileInfo(pipe).isFile());
    }

    // Inputs that do not fit say so and show nothing.
    void misfit_shows_a_message_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("message");
        QTest::newRow("tickets of another size")
            << "11_3_5"
            << ""
            << ""
            << "The system 11_3_5 plays tickets of 5 numbers; the lotto picks 6.";
        QTest::newRow("too few numbers") << "10_3_6"
                                         << "1 2 3 4 5 6 7 8 9"
                                         << ""
                                         << "The system 10_3_6 is played on 10 numbers; 9 were given.";
        QTest::newRow("a number twice") << "10_3_6"
                                        << "1 2 3 4 5 6 7 8 9 9"
                                        << ""
                                        << "9 is given twice.";
        QTest::newRow("not a number") << "10_3_6"
                                      << "1 2 x"
                                      << ""
                                      << "'x' is not a number of a lotto.";
        QTest::newRow("not a date") << "10_3_6"
                                    << "1 2 3"
                                    << "2024-13-01"
                                    << "Incorrect date.";
        QTest::newRow("set of another size")
            << "12_4_6"
            << ""
            << ""
            << "The set S holds 10 numbers a row; the system 12_4_6 is played on 12.";
    }
    void misfit_shows_a_message() {
        QFETCH(QString, system);
        QFETCH(QString, numbers);
        QFETCH(QString, from);
        QFETCH(QString, message);
        BacktestScene s(20);
        s.w.get<QRadioButton>(numbers.isEmpty() ? "optForecasts" : "optFixed")->setChecked(true);
        s.w.pick("cmbSystem", system);
        s.w.set_texts({"txtNumbers", "txtFrom"}, {numbers, from});
        s.run();
        QCOMPARE(s.app.dialogs.messages, QStringList{message});
        QCOMPARE(s.w.text("lblDrawsPlayed"), "");
        QVERIFY(!s.w.enabled("cmdExport"));
        QVERIFY(s.w.enabled("cmdRun"));
    }

    void cancel_stops_a_long_run() {
        BacktestScene s(20000);
        s.w.get<QRadioButton>("optRule")->setChecked(true);
        s.w.set("txtWindow", "100");
        s.w.click("cmdRun");
        QVERIFY(s.w->running());
        QVERIFY(!s.w.enabled("cmdRun"));
        s.w.click("cmdCancel");
        QTRY_VERIFY_WITH_TIMEOUT(!s.w->running(), 60000);
        QCOMPARE(s.w.text("lblStatus"), "Cancelled.");
        QCOMPARE(s.w.text("lblDrawsPlayed"), "");
        QVERIFY(s.w.enabled("cmdRun") && !s.w.enabled("cmdCancel"));
    }
};

QTEST_MAIN(TestBacktestWindow)
#include "test_backtest_window.moc"
