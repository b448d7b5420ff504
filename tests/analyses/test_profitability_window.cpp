#include "analyses/fability_scene.h"
#include "analyses/frm_profitability.h"
#include "core/messages.h"
#include "systems/guar_results.h"
#include "ui/grid_view.h"

#include <QtTest>

namespace {

const char* const prize_boxes[] = {"txtP2",  "txtP2b", "txtP3",  "txtP3b", "txtP4",
                                   "txtP4b", "txtP5",  "txtP5b", "txtP6",  "txtP6b"};
const QString not_correct = QString::fromLatin1(msg_data_not_correct);

// The worked example: 6/49, a set of 10, the system 10_3_6 and every factor 1 (no draw of the
// period has a set row). The base-ticket count left by another system must not matter.
void select_system(FabilityScene& s) {
    s.app.state.system_name = QStringLiteral("10_3_6");
    s.app.state.system_ticket_count = 3;
    GuarMinMax lo, hi;
    get_guar_results(s.app.state.system_name, s.app.state.guar_avg, lo, hi);
}

frmProfitability* open(FabilityScene& s) {
    return s.app.show<frmProfitability>(QLatin1String(window_name::profitability));
}

QString text(QWidget* w, const char* name) {
    if (auto* l = w->findChild<QLabel*>(QLatin1String(name)))
        return l->text();
    if (auto* c = w->findChild<QComboBox*>(QLatin1String(name)))
        return c->currentText();
    return FabilityScene::get<QLineEdit>(w, name)->text();
}

QString prizes(QWidget* w) {
    QStringList t;
    for (const char* name : prize_boxes)
        t << text(w, name);
    return t.join(u' ');
}

GridModel& own_grid(QWidget* w) {
    return *FabilityScene::get<GridView>(w, "msfFA")->grid();
}

GridModel& fa_grid(FabilityScene& s) {
    return s.app.windows.offer<FabilityOffer>(QLatin1String(window_name::fability))->fa_table();
}

void refresh(QWidget* w) {
    FabilityScene::get<QPushButton>(w, "cmdRefresh")->click();
}

} // namespace

class TestProfitabilityWindow : public QObject {
    Q_OBJECT
  private slots:
    void before_any_forecasting_abilities() {
        FabilityScene s;
        select_system(s);
        s.app.state.cur_lotto_name.clear();
        frmProfitability* w = open(s);
        QCOMPARE(w->windowTitle(), QStringLiteral("Average Profitability"));
        // The Forecasting Abilities window loads, fails its own check and stays on the screen.
        QCOMPARE(s.app.dialogs.messages,
                 (QStringList{QString::fromLatin1(msg_select_lotto), QString::fromLatin1(msg_calculate_fa)}));
        QVERIFY(s.visible(window_name::fability));
        QCOMPARE(prizes(w), QStringLiteral("0 0 0 0 0 0 0 0 0 0"));
        QCOMPARE(text(w, "lblProfitability"), QStringLiteral("0"));
        QCOMPARE(text(w, "lblTimes"), QStringLiteral("0"));
        QCOMPARE(text(w, "lblLotto"), QStringLiteral("Not Selected"));
        QCOMPARE(text(w, "cmbClevel"), QStringLiteral("95"));
        QCOMPARE(FabilityScene::get<QComboBox>(w, "cmbClevel")->count(), 5);
        QCOMPARE(own_grid(w).text(0, 1), QStringLiteral("FA"));
    }

    void worked_example() {
        FabilityScene s;
        select_system(s);
        frmProfitability* w = open(s);
        QCOMPARE(s.app.dialogs.messages, QStringList());
        QVERIFY(!s.visible(window_name::fability));
        QCOMPARE(text(w, "lblLotto"), QStringLiteral("L"));
        QCOMPARE(text(w, "lblSystem"), QStringLiteral("10_3_6"));
        QCOMPARE(prizes(w), QStringLiteral("0 0 10 0 100 0 1000 0 1000000 0"));
        QCOMPARE(own_grid(w).rows(), 11);
        QCOMPARE(own_grid(w).text(10, 0), QStringLiteral("6+bonus"));
        QCOMPARE(fa_column(own_grid(w)), QStringLiteral("1 1 1 1 1 1 1 1 1 1"));
        QCOMPARE(text(w, "lblProfitability"), QStringLiteral("-0.6366729"));
        QCOMPARE(text(w, "lblTimes"), QStringLiteral("199483"));

        auto* level = FabilityScene::get<QComboBox>(w, "cmbClevel");
        level->setCurrentIndex(4);
        emit level->activated(4);
        QCOMPARE(text(w, "lblTimes"), QStringLiteral("306654"));
        level->setEditText(QStringLiteral("x"));
        w->cmbClevel_Click();
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(text(w, "lblTimes"), QStringLiteral("306654"));
    }

    // Refresh copies the factors again but keeps the prizes as edited.
    void refresh_copies_factors_and_keeps_prizes() {
        FabilityScene s;
        select_system(s);
        frmProfitability* w = open(s);
        FabilityScene::get<QLineEdit>(w, "txtP6")->setText(QStringLiteral("20000000"));
        fa_grid(s).set_text(7, 1, QStringLiteral("2")); // FA(5)
        fa_grid(s).set_text(9, 1, QStringLiteral("2")); // FA(6)
        refresh(w);
        QCOMPARE(s.app.dialogs.messages, QStringList());
        QCOMPARE(text(w, "txtP6"), QStringLiteral("20000000"));
        QCOMPARE(own_grid(w).text(9, 1), QStringLiteral("2"));
        QVERIFY(!s.visible(window_name::fability));
        QVERIFY(text(w, "lblProfitability").toFloat() > 0);
        QCOMPARE(text(w, "lblTimes"), QStringLiteral("99741"));
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
        frmProfitability* w = open(s);
        FabilityScene::get<QLineEdit>(w, prize_boxes[box])->setText(QStringLiteral("1e"));
        FabilityScene::get<QPushButton>(w, "cmdRefresh")->setFocus();
        refresh(w);
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(focus_name(w), QLatin1String(prize_boxes[box]));
        QCOMPARE(text(w, "lblProfitability"), QStringLiteral("-0.6366729"));
    }

    // With FA(6) empty the profitability is worked out, then the times to play fail on it.
    void empty_factor_of_the_highest_class() {
        FabilityScene s;
        select_system(s);
        frmProfitability* w = open(s);
        for (int r = 1; r <= 10; ++r)
            fa_grid(s).set_text(r, 1, QString());
        FabilityScene::get<QPushButton>(w, "cmdRefresh")->setFocus();
        refresh(w);
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(focus_name(w), QStringLiteral("txtP6b"));
        QCOMPARE(text(w, "lblProfitability"), QStringLiteral("-0.6366729"));
        QCOMPARE(text(w, "lblTimes"), QStringLiteral("199483"));
    }

    // A name outside the catalogue falls back to the loaded base tickets: none, so no tickets to share.
    void system_without_tickets() {
        FabilityScene s;
        s.app.state.system_name = QStringLiteral("9_3_6");
        frmProfitability* w = open(s);
        QCOMPARE(s.app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(focus_name(w), QStringLiteral("txtP6b"));
        QCOMPARE(text(w, "lblSystem"), QStringLiteral("9_3_6"));
        QCOMPARE(text(w, "lblProfitability"), QStringLiteral("0"));
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
        frmProfitability* w = open(s);
        if (lotto)
            s.app.state.system_name.clear();
        else
            s.app.state.cur_lotto_name.clear();
        refresh(w);
        QCOMPARE(s.app.dialogs.messages, QStringList{message});
        QVERIFY(s.visible(qPrintable(opens)));
    }
};

QTEST_MAIN(TestProfitabilityWindow)
#include "test_profitability_window.moc"
