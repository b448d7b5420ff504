#include "core/base/messages.h"
#include "core/lotto/lotto_files.h"
#include "gui/tsets/frm_tset_generator.h"
#include "tsets/tsets_fixture.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QGroupBox>
#include <QMenuBar>
#include <QRadioButton>
#include <algorithm>

namespace {

QString msg(const char* text) {
    return QString::fromLatin1(text);
}

// A lotto of 22 numbers, 3 picked: draw k (March k, 2026) holds k, k+10 and 21; the bonus is 22.
void make_lotto(TestApp& app, int16_t play_n = 22) {
    LottoParams p;
    p.play_n = play_n;
    p.pick_n = 3;
    p.cost = 1;
    QVERIFY(QDir().mkpath(app.path("Lto/L")));
    QVERIFY(write_param_file(app.path("Lto/L/param.qtz"), p));
    QByteArray draws;
    for (int k = 1; k <= 10; ++k)
        draws += QStringLiteral("2026-03-%1 %2 %3 21 0 0 0 22 \r\n")
                     .arg(k, 2, 10, QChar(u'0'))
                     .arg(k)
                     .arg(k + 10)
                     .toLatin1();
    write_file(app.path("Lto/L/draws.txt"), draws);
}

void set_play_n(TestApp& app, int16_t play_n) {
    LottoParams lotto = app.session.lotto.params();
    lotto.play_n = play_n;
    app.session.lotto.set_params(lotto);
}

struct Setup {
    Win lotto, tsets;
    WindowDriver<frmTsetGenerator> gen;
};

// The sample lotto loaded, a new set "S" of size 10 with one empty row, and the generator.
Setup open_all(TestApp& app) {
    make_lotto(app);
    Setup s;
    s.lotto = open_window(app, "frmLotto");
    s.lotto.pick("cmbName", "L");
    s.tsets = show_tsets(app);
    s.tsets.pick("cmbSize", "10");
    app.dialogs.answers << "S";
    s.tsets.click("cmdNew");
    s.tsets.click("cmdTsetGenerator");
    s.gen = drive<frmTsetGenerator>(app.windows.find("frmTsetGenerator"));
    return s;
}

QList<int> highlighted(const WindowDriver<frmTsetGenerator>& gen) {
    auto* series =
        static_cast<QBarSeries*>(gen.get<QChartView>("chtFrequencies")->chart()->series().value(0));
    QList<int> bars = series->barSets().value(0)->selectedBars();
    std::sort(bars.begin(), bars.end());
    return bars;
}

QList<int> numbers_of(const QString& row) {
    QList<int> n;
    for (const QString& t : row.split(u' ').mid(1))
        n << t.toInt();
    return n;
}

} // namespace

class TestTsetGenerator : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void opening() {
        TestApp app;
        const Setup s = open_all(app);
        QCOMPARE(s.gen.w->windowTitle(), "Generator of Targeted Sets");
        QVERIFY(!s.gen.w->findChild<QMenuBar*>());
        QCOMPARE(s.gen.text("txtFrom"), "2025-12-07");
        QCOMPARE(s.gen.text("txtTo"), "2026-12-07");
        QCOMPARE(s.gen.text("txtStep"), "1");
        QVERIFY(s.gen.get<QRadioButton>("optRandom")->isChecked());
        QCOMPARE(s.gen.get<QGroupBox>("fraSelectedDraws")->title(), "Select Draws");
        QCOMPARE(s.gen.get<QGroupBox>("fraRules")->title(), "Type");
        QCOMPARE(s.gen.get<QRadioButton>("optLowestFr")->text(), "With Lowest Positive Frequencies");
    }

    void frequency_rules_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("total");
        QTest::newRow("highest") << "optHighFr"
                                 << "1"
                                 << "21 1 2 3 4 5 6 7 8 9" << 10;
        QTest::newRow("highest, step 2") << "optHighFr"
                                         << "2"
                                         << "21 1 3 5 7 9 11 13 15 17" << 5;
        QTest::newRow("lowest positive, step 2") << "optLowestFr"
                                                 << "2"
                                                 << "1 3 5 7 9 11 13 15 17 19" << 5;
        QTest::newRow("lowest, step 2") << "optLowestFr0"
                                        << "2"
                                        << "22 20 18 16 14 12 10 8 6 4" << 5;
    }
    void frequency_rules() {
        QFETCH(QString, option);
        QFETCH(QString, step);
        QFETCH(QString, chosen);
        QFETCH(int, total);
        TestApp app;
        const Setup s = open_all(app);
        s.gen.get<QRadioButton>(qPrintable(option))->setChecked(true);
        s.gen.set("txtStep", step);
        s.gen.click("cmdGo");
        QCOMPARE(app.dialogs.messages, QStringList());
        const QString row = grid_row(tsets_grid(app), 1);
        QCOMPARE(row, "2026-12-07 " + chosen);
        QVERIFY(s.tsets.enabled("cmdSave"));
        const GridModel& t = s.gen.grid("msfFrequencies");
        QCOMPARE(t.rows(), 25);
        QCOMPARE(grid_row(t, 0), "Number Frequency");
        QCOMPARE(grid_row(t, 22), "22 0"); // the bonus is never counted
        QCOMPARE(grid_row(t, 23), " ");
        QCOMPARE(grid_row(t, 24), "Total draws " + QString::number(total));
        QCOMPARE(t.col_width(1), t.col_width(0) * 5 / 6);
        QList<int> want = numbers_of(row);
        std::sort(want.begin(), want.end());
        QCOMPARE(highlighted(s.gen), want);
    }

    void counts_unsaved_draws() {
        TestApp app;
        const Setup s = open_all(app);
        s.lotto.click("cmdDrawNew");
        const char* boxes[] = {"txtDate", "txtN1", "txtN2", "txtN3"};
        const char* texts[] = {"2026-02-15", "1", "2", "3"};
        for (int i = 0; i < 4; ++i)
            s.lotto.set(boxes[i], texts[i]);
        s.lotto.click("cmdAdd");
        QCOMPARE(app.dialogs.messages, QStringList());
        s.lotto.click("cmdDrawNew"); // begun, not filled: no draw, and it stays where it is
        TextTable& draws = app.session.lotto.draws();
        const int last = draws.rows() - 1;
        s.gen.get<QRadioButton>("optHighFr")->setChecked(true);
        s.gen.click("cmdGo");
        QCOMPARE(grid_row(s.gen.grid("msfFrequencies"), 24), "Total draws 11");
        QCOMPARE(grid_row(s.gen.grid("msfFrequencies"), 2), "1 2");
        // The draws table is left in date order.
        QCOMPARE(draws.text(1, draws_col::date), "2026-02-15");
        QCOMPARE(draws.rows() - 1, last);
        QCOMPARE(draws.text(last, draws_col::date), QString());
    }

    void refusals_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no lotto") << "no lotto" << msg(msg_select_lotto) << "";
        QTest::newRow("From not a date") << "txtFrom=2026-13-01" << msg(msg_data_not_correct) << "txtFrom";
        QTest::newRow("To not a date") << "txtTo=x" << msg(msg_data_not_correct) << "txtTo";
        QTest::newRow("step 0") << "txtStep=0" << msg(msg_data_not_correct) << "txtStep";
        QTest::newRow("step -2") << "txtStep=-2" << msg(msg_data_not_correct) << "txtStep";
        QTest::newRow("step not a number") << "txtStep=a" << msg(msg_data_not_correct) << "txtStep";
        QTest::newRow("fewer numbers than the set") << "play 9" << msg(msg_data_not_correct) << "";
        QTest::newRow("size typed, not chosen") << "size 12" << msg(msg_select_tset) << "";
        QTest::newRow("Lotto window closed") << "close lotto" << msg(msg_no_draws_data) << "";
        QTest::newRow("no draw in the period") << "txtFrom=2027-01-01"
                                               << "No data for this criteria. "
                                               << "";
        QTest::newRow("no row in the set") << "no row" << msg(msg_select_tset_row) << "";
        QTest::newRow("a drawn number unreadable: no message") << "bad cell" << QString() << "";
    }
    void refusals() {
        QFETCH(QString, change);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestApp app;
        const Setup s = open_all(app);
        s.gen.get<QRadioButton>("optHighFr")->setChecked(true);
        if (change.contains(u'='))
            s.gen.set(qPrintable(change.section(u'=', 0, 0)), change.section(u'=', 1));
        else if (change == "no lotto")
            set_play_n(app, 0);
        else if (change == "play 9")
            set_play_n(app, 9);
        else if (change == "size 12")
            s.tsets.set("cmbSize", "12");
        else if (change == "close lotto")
            delete app.windows.find("frmLotto");
        else if (change == "no row")
            s.tsets.pick("cmbSize", "10");
        else if (change == "bad cell")
            app.session.lotto.draws().set_text(3, draws_col::n1 + 2, "x");
        s.gen.click("cmdGo");
        QCOMPARE(app.dialogs.messages, message.isEmpty() ? QStringList() : QStringList{message});
        if (!focus.isEmpty())
            QCOMPARE(s.gen.focus(), focus);
        const GridModel& g = tsets_grid(app);
        if (g.rows() > 1)
            QCOMPARE(grid_row(g, 1), QString(10, u' '));
        if (change == "no row")
            QCOMPARE(app.session.tset.current_row(), 1);
        if (change == "no lotto")
            QVERIFY(app.windows.find("frmLotto")->isVisible());
    }

    void random_sets() {
        TestApp app;
        const Setup s = open_all(app);
        app.session.random_seed = [] { return 7u; };
        s.gen.click("cmdGo");
        const QString first = grid_row(tsets_grid(app), 1);
        QList<int> n = numbers_of(first);
        std::sort(n.begin(), n.end());
        QCOMPARE(n.size(), 10);
        QVERIFY(std::adjacent_find(n.begin(), n.end()) == n.end());
        QVERIFY(n.front() >= 1 && n.back() <= 22);
        QCOMPARE(s.gen.grid("msfFrequencies").rows(), 1); // the random rule counts nothing
        s.gen.click("cmdGo");
        QCOMPARE(grid_row(tsets_grid(app), 1), first);
        QVERIFY(app.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(TestTsetGenerator)
#include "test_tset_generator.moc"
