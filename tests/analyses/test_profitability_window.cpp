#include "analyses/fability_scene.h"
#include "core/base/messages.h"
#include "core/systems/guar_results.h"
#include "gui/analyses/frm_profitability.h"
#include "gui/toolkit/grid_view.h"
#include "support/window_driver.h"

#include <QtTest>

namespace {

const char* const prize_boxes[] = {"txtP2",  "txtP2b", "txtP3",  "txtP3b", "txtP4",
                                   "txtP4b", "txtP5",  "txtP5b", "txtP6",  "txtP6b"};
const QString not_correct = QString::fromLatin1(msg_data_not_correct);

// The worked example: 6/49, a set of 10, the system 10_3_6 and every factor 1 (no draw of the
// period has a set row). The base-ticket count left by another system must not matter.
void select_system(FabilityScene& s) {
    s.app.session.system.read_tickets(QStringLiteral("10_4_6"));
    s.app.session.system.set_name(QStringLiteral("10_3_6"));
    s.app.session.system.read_results(QStringLiteral("10_3_6"));
}

using Window = WindowDriver<frmProfitability>;

Window open(FabilityScene& s) {
    return open_window<frmProfitability>(s.app, window_name::profitability);
}

QString prizes(const Window& w) {
    return w.texts({std::begin(prize_boxes), std::end(prize_boxes)}).join(u' ');
}

TextTable& fa_grid(FabilityScene& s) {
    return s.app.session.fa_table;
}

} // namespace

class TestProfitabilityWindow : public QObject {
    Q_OBJECT
  private slots:
    void before_any_forecasting_abilities() {
        FabilityScene s;
        select_system(s);
        s.app.session.lotto.set_name(QString());
        const Window w = open(s);
        QCOMPARE(w->windowTitle(), QStringLiteral("Average Profitability"));
        // The Forecasting Abilities window loads, fails its own check and stays on the screen.
        QCOMPARE(s.app.dialogs.messages,
                 (QStringList{QString::fromLatin1(msg_select_lotto), QString::fromLatin1(msg_calculate_fa)}));
        QVERIFY(s.visible(window_name::fability));
        QCOMPARE(prizes(w), QStringLiteral("0 0 0 0 0 0 0 0 0 0"));
        QCOMPARE(w.text("lblProfitability"), QStringLiteral("0"));
        QCOMPARE(w.text("lblTimes"), QStringLiteral("0"));
        QCOMPARE(w.text("lblLotto"), QStringLiteral("Not Selected"));
        QCOMPARE(w.text("cmbClevel"), QStringLiteral("95"));
        QCOMPARE(w.get<QComboBox>("cmbClevel")->count(), 5);
        QCOMPARE(w.grid("msfFA").text(0, 1), QStringLiteral("FA"));
    }

    void worked_example() {
        FabilityScene s;
        select_system(s);
        const Window w = open(s);
        QCOMPARE(s.app.dialogs.messages, QStringList());
        QVERIFY(!s.visible(window_name::fability));
        QCOMPARE(w.text("lblLotto"), QStringLiteral("L"));
        QCOMPARE(w.text("lblSystem"), QStringLiteral("10_3_6"));
        QCOMPARE(prizes(w), QStringLiteral("0 0 10 0 100 0 1000 0 1000000 0"));
        QCOMPARE(w.grid("msfFA").rows(), 11);
        QCOMPARE(w.grid("msfFA").text(10, 0), QStringLiteral("6+bonus"));
        QCOMPARE(fa_column(w.grid("msfFA")), QStringLiteral("1 1 1 1 1 1 1 1 1 1"));
        QCOMPARE(w.text("lblProfitability"), QStringLiteral("-0.6366729"));
        QCOMPARE(w.text("lblTimes"), QStringLiteral("199483"));
        // By chance alone, 3 to 6 of the 6 drawn in a ticket of 6 out of 49 pay 10, 100, 1000 and a
        // million for a stake of 1: 0.3633 back on average. The factors say whose they are.
        QCOMPARE(
            w.text("lblExpectedReturn"),
            QStringLiteral("True expected return of one ticket per unit stake, by chance alone: -0.6367"));
        QCOMPARE(w.text("lblFaBasis"), QStringLiteral("Factors of L, set S, 2025-12-07 to 2026-12-07"));

        auto* level = w.get<QComboBox>("cmbClevel");
        level->setCurrentIndex(4);
        emit level->activated(4);
        QCOMPARE(w.text("lblTimes"), QStringLiteral("306654"));
        level->setEditText(QStringLiteral("x"));
        w->cmbClevel_Click();
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(w.text("lblTimes"), QStringLiteral("306654"));
    }

    // Refresh copies the factors again but keeps the prizes as edited.
    void refresh_copies_factors_and_keeps_prizes() {
        FabilityScene s;
        select_system(s);
        const Window w = open(s);
        w.set("txtP6", QStringLiteral("20000000"));
        fa_grid(s).set_text(7, 1, QStringLiteral("2")); // FA(5)
        fa_grid(s).set_text(9, 1, QStringLiteral("2")); // FA(6)
        w.click("cmdRefresh");
        QCOMPARE(s.app.dialogs.messages, QStringList());
        QCOMPARE(w.text("txtP6"), QStringLiteral("20000000"));
        QCOMPARE(w.grid("msfFA").text(9, 1), QStringLiteral("2"));
        QVERIFY(!s.visible(window_name::fability));
        QVERIFY(w.text("lblProfitability").toFloat() > 0);
        QCOMPARE(w.text("lblTimes"), QStringLiteral("99741"));
    }

    void prize_not_a_number_data() {
        QTest::addColumn<int>("box");
        QTest::newRow("txtP2") << 0;
        QTest::newRow("txtP4b") << 5;
        QTest::newRow("txtP6b") << 9;
    }
    void prize_not_a_number() {
        QFETCH(int, box);
        FabilityScene s;
        select_system(s);
        const Window w = open(s);
        w.set(prize_boxes[box], QStringLiteral("1e"));
        w.get<QPushButton>("cmdRefresh")->setFocus();
        w.click("cmdRefresh");
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(w.focus(), QLatin1String(prize_boxes[box]));
        QCOMPARE(w.text("lblProfitability"), QStringLiteral("-0.6366729"));
    }

    // With FA(6) empty the profitability is worked out, then the times to play fail on it.
    void empty_factor_of_the_highest_class() {
        FabilityScene s;
        select_system(s);
        const Window w = open(s);
        for (int r = 1; r <= 10; ++r)
            fa_grid(s).set_text(r, 1, QString());
        w.get<QPushButton>("cmdRefresh")->setFocus();
        w.click("cmdRefresh");
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(w.focus(), QStringLiteral("txtP6b"));
        QCOMPARE(w.text("lblProfitability"), QStringLiteral("-0.6366729"));
        QCOMPARE(w.text("lblTimes"), QStringLiteral("199483"));
    }

    // A name outside the catalogue falls back to the loaded base tickets: none, so no tickets to share.
    void system_without_tickets() {
        FabilityScene s;
        s.app.session.system.set_name(QStringLiteral("9_3_6"));
        const Window w = open(s);
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(w.focus(), QStringLiteral("txtP6b"));
        QCOMPARE(w.text("lblSystem"), QStringLiteral("9_3_6"));
        QCOMPARE(w.text("lblProfitability"), QStringLiteral("0"));
    }

    void selection_checks_data() {
        QTest::addColumn<bool>("lotto");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("opens");
        QTest::newRow("no lotto") << false << QString::fromLatin1(msg_select_lotto)
                                  << QString::fromLatin1(window_name::lotto);
        QTest::newRow("no system") << true << QString::fromLatin1(msg_select_system)
                                   << QString::fromLatin1(window_name::system);
    }
    void selection_checks() {
        QFETCH(bool, lotto);
        QFETCH(QString, message);
        QFETCH(QString, opens);
        FabilityScene s;
        select_system(s);
        const Window w = open(s);
        if (lotto)
            s.app.session.system.set_name(QString());
        else
            s.app.session.lotto.set_name(QString());
        w.click("cmdRefresh");
        QCOMPARE(s.app.dialogs.messages, QStringList{message});
        QVERIFY(s.visible(qPrintable(opens)));
    }
};

QTEST_MAIN(TestProfitabilityWindow)
#include "test_profitability_window.moc"
