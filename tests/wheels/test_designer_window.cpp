#include "core/wheels/designed_systems.h"
#include "core/wheels/designed_wheels.h"
#include "core/wheels/wheel_check.h"
#include "gui/toolkit/window_names.h"
#include "gui/wheels/frm_wheel_designer.h"
#include "support/test_files.h"
#include "support/window_driver.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

namespace {

// The selections the Lotto and Targeted Sets windows would have made: a set of set_size numbers,
// 3, 6, 9, ...
void select(Session& s, int set_size, int16_t pick_n) {
    s.tset.set_name(QStringLiteral("Forecaster1"));
    s.tset.set_size(static_cast<int16_t>(set_size));
    s.tset.numbers().fill(0);
    for (int i = 1; i <= set_size; ++i)
        s.tset.numbers()[i] = static_cast<int16_t>(3 * i);
    s.lotto.set_name(QStringLiteral("Canada_6_49"));
    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = pick_n;
    lotto.cost = 2;
    s.lotto.set_params(lotto);
}

struct Designer : WindowDriver<frmWheelDesigner> {
    void design(const QStringList& values) const {
        set_texts({"txtNumbers", "txtPick", "txtGuarantee", "txtIf", "txtSeconds", "txtSeed", "txtTickets"},
                  values);
        click("cmdStart");
    }
    // Waits up to ms for the search to end.
    bool finished(int ms) const {
        QDeadlineTimer deadline(ms);
        while (w->running() && !deadline.hasExpired())
            QTest::qWait(20);
        return !w->running();
    }
    // The wheel in the tickets grid, its numbers mapped back to positions 1..v through numbers.
    std::vector<Ticket> wheel(const std::vector<int>& numbers) const {
        std::vector<Ticket> tickets;
        const GridModel& g = grid("msfTickets");
        for (int r = 1; r < g.rows(); ++r) {
            std::vector<int> positions;
            for (const QString& n : g.text(r, 1).split(u' '))
                positions.push_back(
                    static_cast<int>(std::find(numbers.begin(), numbers.end(), n.toInt()) - numbers.begin()) +
                    1);
            tickets.push_back(ticket_of(positions));
        }
        return tickets;
    }
};

Designer open_designer(TestApp& app) {
    return Designer{open_window<frmWheelDesigner>(app, window_name::wheel_designer)};
}

std::vector<int> counting(int from, int step, int count) {
    std::vector<int> n;
    for (int i = 0; i < count; ++i)
        n.push_back(from + step * i);
    return n;
}

} // namespace

class TestDesignerWindow : public QObject {
    Q_OBJECT
  private slots:
    // 7 numbers, tickets of 3, 2 if 2: the Fano plane's 7 tickets, shown on 1..7 with no set
    // chosen, kept as a designed system that the Systems window then offers.
    void small_wheel_is_shown_and_saved() {
        TestApp app;
        const Designer d = open_designer(app);
        QCOMPARE(d.texts({"txtNumbers", "txtPick", "txtGuarantee", "txtIf", "txtTickets"}),
                 QStringList({"10", "6", "3", "3", "0"}));
        d.design({"7", "3", "2", "2", "5", "1", "0"});
        QVERIFY(d.finished(20000));
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(d.grid("msfTickets").rows(), 8);
        const std::vector<Ticket> wheel = d.wheel(counting(1, 1, 7));
        QVERIFY(count_covered({7, 3, 2, 2}, wheel).complete());
        QVERIFY2(
            d.text("lblResult").startsWith(QStringLiteral("7 tickets on 1 2 3 4 5 6 7. Checked: every one")),
            qPrintable(d.text("lblResult")));
        QCOMPARE(d.grid("msfResults").text(2, 2), QStringLiteral("1")); // 2 if 2: at least one ticket

        // The Systems window, open since before the save, lists it at once and keeps its pick.
        select(app.session, 10, 3);
        const auto systems = open_window(app, window_name::system);
        systems.pick("cmbList", "10_3_6");
        app.dialogs.answers = {QStringLiteral("10_3_6"), QStringLiteral("Fano")};
        d.click("cmdSave");
        QCOMPARE(app.dialogs.messages.value(0), designed_name_fault(QStringLiteral("10_3_6")));
        d.click("cmdSave");
        QCOMPARE(app.dialogs.messages.value(1),
                 QStringLiteral("Saved: the Systems window offers it as Fano (designed)."));
        QVERIFY(QFile::exists(app.path(QStringLiteral("Wheels/Fano.txt"))));
        QVERIFY(systems.get<QComboBox>("cmbList")->findText(QStringLiteral("Fano (designed)")) >= 0);
        QCOMPARE(systems.text("cmbList"), QStringLiteral("10_3_6"));

        app.dialogs.print_file = app.path(QStringLiteral("wheel.pdf"));
        d.click("cmdPrint");
        QVERIFY(read_all(app.dialogs.print_file).contains("/Type /Page"));
    }

    // With a set chosen the pool defaults to its size and the tickets are its numbers.
    void tickets_are_on_the_set() {
        TestApp app;
        select(app.session, 10, 3);
        const Designer d = open_designer(app);
        QCOMPARE(d.texts({"txtNumbers", "txtPick"}), QStringList({"10", "3"}));
        d.design({"10", "3", "2", "", "5", "7", "0"});
        QVERIFY(d.finished(20000));
        QVERIFY(d.grid("msfTickets").rows() > 1);
        QVERIFY(count_covered({10, 3, 2, 2}, d.wheel(counting(3, 3, 10))).complete());
    }

    // Stop during a long search of a big case ends it at once with the best checked wheel.
    void stop_keeps_the_best_wheel() {
        TestApp app;
        const Designer d = open_designer(app);
        d.design({"40", "6", "3", "3", "600", "1", "0"});
        QVERIFY(d->running());
        QVERIFY(!d.enabled("cmdStart"));
        QTRY_VERIFY_WITH_TIMEOUT(d.text("lblBest").endsWith(QStringLiteral("tickets")), 60000);
        d.click("cmdStop");
        // The wheel first; its guaranteed results, a while in the making for 40 numbers, after it.
        QTRY_VERIFY_WITH_TIMEOUT(d.grid("msfTickets").rows() > 1, 5000);
        QVERIFY(d.finished(60000));
        QVERIFY(d.text("lblResult").endsWith(QStringLiteral("Stopped: the best wheel found so far.")));
        QVERIFY(count_covered({40, 6, 3, 3}, d.wheel(counting(1, 1, 40))).complete());
        QVERIFY(d.enabled("cmdSave"));
    }

    // Bad parameters get the command line's words and start nothing.
    void bad_parameters_are_refused_data() {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("said");
        const auto row = [](const char* name, QStringList values, const QString& said) {
            QTest::newRow(name) << values << said;
        };
        row("pick above pool", {"5", "6", "3", "3", "5", "1", "0"}, wheel_params_fault({5, 6, 3, 3}));
        row("if below guarantee", {"20", "6", "4", "3", "5", "1", "0"}, wheel_params_fault({20, 6, 4, 3}));
        row("pool too large", {"90", "6", "3", "3", "5", "1", "0"}, wheel_params_fault({90, 6, 3, 3}));
        row("not a number", {"2O", "6", "3", "3", "5", "1", "0"}, "Numbers: '2O' is not a whole number");
        row("no time", {"20", "6", "3", "3", "0", "1", "0"},
            "Seconds: '0' is not a positive number of seconds");
        row("negative tickets", {"20", "6", "3", "3", "5", "1", "-4"},
            "Tickets: '-4' is not a number of tickets");
    }
    void bad_parameters_are_refused() {
        QFETCH(QStringList, values);
        QFETCH(QString, said);
        TestApp app;
        const Designer d = open_designer(app);
        d.design(values);
        QCOMPARE(app.dialogs.messages, QStringList{said});
        QVERIFY(!d->running());
        QVERIFY(d.enabled("cmdStart"));
    }

    // The keyboard reaches every box in order and Enter starts; the Help menu's guide is the
    // window's own page.
    void keys_and_help() {
        TestApp app;
        const Designer d = open_designer(app);
        const QStringList order{"txtNumbers", "txtPick", "txtGuarantee", "txtIf",
                                "txtSeconds", "txtSeed", "txtTickets",   "cmdStart"};
        d.get(order[0])->setFocus();
        for (qsizetype i = 1; i < order.size(); ++i) {
            QWidget* next = d.get(order[i - 1])->nextInFocusChain();
            while (next && next->focusPolicy() == Qt::NoFocus)
                next = next->nextInFocusChain();
            QCOMPARE(next ? next->objectName() : QString(), order[i]);
        }
        d.set("txtSeconds", "0");
        QTest::keyClick(d.get("txtNumbers"), Qt::Key_Return);
        QCOMPARE(app.dialogs.messages, QStringList{"Seconds: '0' is not a positive number of seconds"});

        write_file(app.path(QStringLiteral("designer.htm")), "<html><body>Designer</body></html>");
        d.get<QMenu>("Help")->actions().value(1)->trigger();
        QWidget* help = app.windows.find(window_name::help);
        QVERIFY(help);
        QVERIFY(help->findChild<QTextBrowser*>()->source().toLocalFile().endsWith(
            QLatin1String("/designer.htm")));
    }

    // For a catalogue system the Systems window names the shipped designed wheel of its
    // guarantee and expands it on the set instead; a system already at its best says nothing.
    void systems_window_offers_the_designed_wheel() {
        TestApp app;
        select(app.session, 12, 6);
        const auto systems = open_window(app, window_name::system);
        systems.pick("cmbList", "12_4_6");
        QCOMPARE(systems.text("lblDesignedSaves"),
                 QStringLiteral("A designed wheel gives the same guarantee with 41 tickets instead of 60."));
        QCOMPARE(systems.grid("msfSystem").rows(), 61);
        systems.click("cmdDesignedWheel");
        QCOMPARE(systems.grid("msfSystem").rows(), 42);
        QCOMPARE(app.session.system.name(), QStringLiteral("12_4_6 (designed wheel)"));
        QVERIFY(systems.grid("msfResults").text(6, 4).toInt() >= 1); // 4 if 4

        select(app.session, 10, 6);
        systems.pick("cmbList", "10_3_6");
        QCOMPARE(systems.text("lblDesignedSaves"), QString());
        QVERIFY(!systems.get<QPushButton>("cmdDesignedWheel")->isVisible());

        systems.click("cmdDesigner");
        QVERIFY(app.windows.find(window_name::wheel_designer));
    }
};

QTEST_MAIN(TestDesignerWindow)
#include "test_designer_window.moc"
