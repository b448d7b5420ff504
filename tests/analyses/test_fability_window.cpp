#include "analyses/fability_scene.h"
#include "core/base/common_routines.h"
#include "core/base/messages.h"
#include "gui/analyses/frm_fability.h"
#include "gui/main/frm_main.h"
#include "support/window_driver.h"

#include <QGroupBox>
#include <QtTest>
#include <cmath>

namespace {

// Draws and set rows of the period 2025-12-07..2026-12-07 (the default one for the test clock),
// and one pair before it.
const QStringList draw_lines{"2024-06-01 1 2 3 4 5 6 7", "2026-06-06 1 2 3 40 41 42 9",
                             "2026-06-10 1 2 3 4 5 6 7", "2026-06-13 1 2 3 4 44 45 0"};
const QStringList set_lines{"2024-06-01 1 2 3 4 5 6 7 8 9 10", "2026-06-06 1 2 3 4 5 6 7 8 9 10",
                            "2026-06-13 1 2 3 4 5 6 7 8 9 10"};
const QString all_ones = QStringLiteral("1 1 1 1 1 1 1 1 1 1");

QString ratio(int hits, int evaluated, double expected) {
    return QString::number(std::nearbyint(hits / (evaluated * expected) * 100) / 100, 'g', 15);
}

WindowDriver<frmFability> open(FabilityScene& s) {
    return open_window<frmFability>(s.app, window_name::fability);
}

} // namespace

class TestFabilityWindow : public QObject {
    Q_OBJECT
  private slots:
    void opens_without_a_lotto() {
        FabilityScene s;
        s.app.session.lotto.set_name(QString());
        const auto w = open(s);
        QCOMPARE(w->windowTitle(), QStringLiteral("Forecasting Abilities"));
        QCOMPARE(w.get<QGroupBox>("fraSelectedDraws")->title(), QStringLiteral(" Period"));
        QCOMPARE(w.text("txtFrom"), QStringLiteral("2025-12-07"));
        QCOMPARE(w.text("txtTo"), QStringLiteral("2026-12-07"));
        for (const char* name : {"lblLotto", "lblTSetName", "lblTSetSize"})
            QCOMPARE(w.text(name), QStringLiteral("Not Selected"));
        QCOMPARE(w.grid("msfFA").text(0, 0), QStringLiteral("Prizes"));
        QCOMPARE(w.grid("msfFA").text(0, 1), QStringLiteral("Forecasting Abilities"));
        QCOMPARE(w.grid("msfFA").rows(), 1);
        QCOMPARE(s.app.dialogs.messages, QStringList{QString::fromLatin1(msg_select_lotto)});
        QVERIFY(s.visible(window_name::lotto));

        auto* main = s.app.show<frmMain>(QLatin1String(window_name::main));
        for (const char* name : {"cmdFability", "cmdProfitability"})
            QVERIFY(drive(main).get<QPushButton>(name)->isEnabled());
    }

    void refused_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("opens");
        const auto row = [](const char* change, const char* message, const char* focus, const char* opens) {
            QTest::newRow(change) << QString::fromLatin1(change) << QString::fromLatin1(message)
                                  << QString::fromLatin1(focus) << QString::fromLatin1(opens);
        };
        row("From", msg_incorrect_date, "txtFrom", "");
        row("To", msg_incorrect_date, "txtTo", "");
        row("no lotto", msg_select_lotto, "", window_name::lotto);
        row("numbers picked 0", msg_incorrect_lotto, "", "");
        row("no set", msg_select_tset, "", window_name::tsets);
        row("size 0", msg_incorrect_tset_size, "", "");
    }
    void refused() {
        QFETCH(QString, change);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QString, opens);
        FabilityScene s;
        s.add_draws(draw_lines);
        s.add_sets(set_lines);
        const auto w = open(s);
        QVERIFY(s.app.dialogs.messages.isEmpty());
        const QString before = fa_column(w.grid("msfFA"));
        QVERIFY(before != all_ones);

        if (change == u"From" || change == u"To")
            w.set(change == u"From" ? "txtFrom" : "txtTo", "2026-13-01");
        if (change == u"no lotto")
            s.app.session.lotto.set_name(QString());
        if (change == u"numbers picked 0")
            s.app.session.lotto.set_params({});
        if (change == u"no set")
            s.app.session.tset.set_name(QString());
        if (change == u"size 0")
            s.app.session.tset.set_size(0);
        w.get("cmdRefresh")->setFocus();
        w.click("cmdRefresh");

        QCOMPARE(s.app.dialogs.messages, QStringList{message});
        if (!focus.isEmpty())
            QCOMPARE(w.focus(), focus);
        if (!opens.isEmpty())
            QVERIFY(s.visible(qPrintable(opens)));
        // A check that fails keeps the results of the calculation before.
        QCOMPARE(fa_column(w.grid("msfFA")), before);
    }

    void reads_the_unsaved_rows_of_both_windows() {
        FabilityScene s;
        s.add_draws(draw_lines);
        s.add_sets(set_lines);
        const auto w = open(s);
        QVERIFY(s.app.dialogs.messages.isEmpty());
        QCOMPARE(w.text("lblLotto"), QStringLiteral("L"));
        QCOMPARE(w.text("lblTSetName"), QStringLiteral("S"));
        QCOMPARE(w.text("lblTSetSize"), QStringLiteral("10"));

        // Two draws of the period have a set row: one with 3 matches and the bonus, one with 4.
        const double p1 = hypergeometric(49, 6, 10, 1), p3 = hypergeometric(49, 6, 10, 3),
                     p4 = hypergeometric(49, 6, 10, 4);
        const QString want = QStringLiteral("1 1 %1 %2 %3 1 1 1 1 1")
                                 .arg(ratio(1, 2, p3), ratio(1, 2, float(p3 * p1)), ratio(1, 2, p4));
        QCOMPARE(fa_column(w.grid("msfFA")), want);
        QCOMPARE(w.grid("msfFA").text(4, 0), QStringLiteral("3+bonus"));
        QCOMPARE(s.app.session.fa_results[4][0], float(p4));
        QCOMPARE(w.text("lblDrawsEvaluated"), QStringLiteral("Draws evaluated: 2"));
        QCOMPARE(s.app.session.fa_basis, QStringLiteral("L, set S, 2025-12-07 to 2026-12-07"));
        // Shown while it calculates, hidden at the end.
        QVERIFY(!s.visible(window_name::lotto));
        QVERIFY(!s.visible(window_name::tsets));

        // An edit not saved anywhere counts at the next Refresh, and only then.
        s.sets().set_text(3, 4, QStringLiteral("40"));
        s.app.windows.show(QLatin1String(window_name::fability));
        QCOMPARE(fa_column(w.grid("msfFA")), want);
        w.click("cmdRefresh");
        QCOMPARE(fa_column(w.grid("msfFA")),
                 QStringLiteral("1 1 %1 %2 1 1 1 1 1 1").arg(ratio(2, 2, p3), ratio(1, 2, float(p3 * p1))));
    }

    void no_pair_in_the_period_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("close_lotto");
        const auto row = [](const char* tag, const char* from, const char* to, bool close) {
            QTest::newRow(tag) << QString::fromLatin1(from) << QString::fromLatin1(to) << close;
        };
        row("From after To", "2026-12-01", "2026-01-01", false);
        row("set rows only before the period", "2026-06-14", "2026-12-07", false);
        row("no draw of a set row's date", "2026-06-08", "2026-06-12", false);
        row("Lotto window closed", "2025-12-07", "2026-12-07", true);
    }
    void no_pair_in_the_period() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, close_lotto);
        FabilityScene s;
        s.add_draws(draw_lines);
        s.add_sets(set_lines);
        if (close_lotto) {
            s.app.windows.find(QLatin1String(window_name::lotto))->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!s.app.windows.find(QLatin1String(window_name::lotto)));
        }
        const auto w = open(s);
        w.set("txtFrom", from);
        w.set("txtTo", to);
        w.click("cmdRefresh");
        QCOMPARE(s.app.dialogs.messages, QStringList());
        QCOMPARE(w.grid("msfFA").rows(), 11);
        QCOMPARE(fa_column(w.grid("msfFA")), all_ones);
        QVERIFY(
            w.text("lblDrawsEvaluated").startsWith(QStringLiteral("Draws evaluated: 0. No row of the set")));
    }
};

QTEST_MAIN(TestFabilityWindow)
#include "test_fability_window.moc"
