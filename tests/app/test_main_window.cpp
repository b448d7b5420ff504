#include "core/lotto/lotto_files.h"
#include "core/session/kept_edits.h"
#include "core/session/session.h"
#include "gui/main/frm_main.h"
#include "gui/toolkit/help_viewer.h"
#include "lotto/sample_lotto.h"
#include "support/test_files.h"
#include "support/window_driver.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

namespace {

// A stand-in working window that counts how often it is loaded.
struct CountingWindow {
    int loads = 0;
    QWidget* make() {
        ++loads;
        auto* w = new QWidget;
        w->setWindowTitle(QStringLiteral("Counting"));
        return w;
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void buttons_columns_and_menu() {
        TestApp app;
        const auto w = open_window<frmMain>(app, "frmMain");
        QVERIFY(w.w);
        QCOMPARE(w->windowTitle(), "Corvane's Zandrel");
        const QList<QPair<QString, QString>> buttons{{"cmdLotto", "Lotto"},
                                                     {"cmdTsets", "Targeted Sets"},
                                                     {"cmdSystems", "Systems"},
                                                     {"cmdPerformance", "System Performance"},
                                                     {"cmdFability", "Forecasting Abilities"},
                                                     {"cmdProfitability", "Average Profitability"},
                                                     {"cmdBacktest", "Backtest"}};
        const QStringList windows{"frmLotto",    "frmTsets",         "frmSystem",  "frmPerformance",
                                  "frmFability", "frmProfitability", "frmBacktest"};
        QList<QPushButton*> found;
        for (int i = 0; i < buttons.size(); ++i) {
            auto* b = w->findChild<QPushButton*>(buttons[i].first);
            QVERIFY2(b, qPrintable(buttons[i].first));
            QCOMPARE(b->text(), buttons[i].second);
            QCOMPARE(b->isEnabled(), app.windows.knows(windows[i]));
            found << b;
        }
        // Data on the left, Calculations on the right.
        QVERIFY(found[0]->x() < found[3]->x());
        QVERIFY(found[0]->y() < found[1]->y() && found[1]->y() < found[2]->y());
        QCOMPARE(w.text("Label1"), "Data");
        QCOMPARE(w.text("Label2"), "Calculations");
        // Tab order runs down the first column, then the second.
        for (int i = 0; i + 1 < found.size(); ++i) {
            QWidget* next = found[i]->nextInFocusChain();
            while (next && !qobject_cast<QPushButton*>(next))
                next = next->nextInFocusChain();
            QCOMPARE(next, found[i + 1]);
        }

        auto* menu = w->findChild<QMenu*>("Help");
        QVERIFY(menu);
        QCOMPARE(menu->title(), "&Help");
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 3);
        const QStringList names{"About", "UserGuide", "Exit"}, captions{"&About", "&User Guide", "&Exit"},
            keys{"Ctrl+A", "Ctrl+U", "Ctrl+E"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(actions[i]->objectName(), names[i]);
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->shortcut().toString(), keys[i]);
        }
        actions[2]->trigger();
        QCOMPARE(app.exits, 1);
    }

    void loading_installs_the_samples() {
        TestApp app;
        for (const char* s : {"d1", "d1a", "d2"})
            write_file(app.path(s), QByteArray("sample ") + s);
        app.show<frmMain>("frmMain");
        QVERIFY(QFile::exists(app.path("Lto/Canada_6_49/draws.txt")));
        QVERIFY(QFile::exists(app.path("Lto/Canada_6_49/param.qtz")));
        QVERIFY(QFile::exists(app.path("Tsets/10/Forecaster1")));
    }

    void a_window_is_loaded_once_and_afresh_after_closing() {
        TestApp app;
        CountingWindow counting;
        app.windows.add_factory("frmLotto", [&] { return counting.make(); });
        const auto main = open_window<frmMain>(app, "frmMain");
        auto* button = main.get<QPushButton>("cmdLotto");
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget* first = app.windows.find("frmLotto");
        QVERIFY(first && first->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(counting.loads, 1);
        QCOMPARE(app.windows.find("frmLotto"), first);

        first->close(); // by its frame: discarded at once, before its deferred delete has run
        QVERIFY(!app.windows.find("frmLotto"));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(counting.loads, 2);
        QVERIFY(main->isVisible());
    }

    // The Help menu's keys reach their actions while the focus is in a text box, which would
    // otherwise take Ctrl+A as select-all.
    void help_keys_beat_text_boxes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("title"); // of the help viewer; empty: the program exits
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << "About";
        QTest::newRow("Ctrl+U") << int(Qt::Key_U) << "User Guide";
        QTest::newRow("Ctrl+E") << int(Qt::Key_E) << "";
    }
    void help_keys_beat_text_boxes() {
        QFETCH(int, key);
        QFETCH(QString, title);
        TestApp app;
        const auto lotto = open_window(app, "frmLotto");
        auto* box = lotto.get<QLineEdit>("txtCost");
        box->setEnabled(true);
        box->setText(QStringLiteral("12"));
        lotto->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(lotto.w));
        box->setFocus();
        QTest::keyClick(box, static_cast<Qt::Key>(key), Qt::ControlModifier);
        auto* help = qobject_cast<frmHelp*>(app.windows.find("frmHelp"));
        QCOMPARE(help ? help->windowTitle() : QString(), title);
        QCOMPARE(app.exits, title.isEmpty() ? 1 : 0);
        QCOMPARE(box->selectedText(), QString());
    }

    void help_viewer_is_shared_and_keeps_its_history() {
        TestApp app;
        write_file(app.path("about.htm"), "<html><body>About page</body></html>");
        write_file(app.path("main.htm"), "<html><body>Guide <a href='about.htm'>about</a></body></html>");
        auto* main = app.show<frmMain>("frmMain");

        main->About_Click();
        auto* help = qobject_cast<frmHelp*>(app.windows.find("frmHelp"));
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->windowTitle(), "About");
        auto* browser = help->findChild<QTextBrowser*>("WebBrowser1");
        QVERIFY(browser->source().toLocalFile().endsWith("/about.htm"));

        main->UserGuide_Click();
        QCOMPARE(qobject_cast<frmHelp*>(app.windows.find("frmHelp")), help);
        QCOMPARE(help->windowTitle(), "User Guide");
        QVERIFY(browser->source().toLocalFile().endsWith("/main.htm"));

        QTest::mouseClick(help->findChild<QPushButton*>("cmdBack"), Qt::LeftButton);
        QVERIFY(browser->source().toLocalFile().endsWith("/about.htm"));
        QCOMPARE(help->windowTitle(), "User Guide");
        QTest::mouseClick(help->findChild<QPushButton*>("cmdBack"), Qt::LeftButton); // at the start
        QVERIFY(browser->source().toLocalFile().endsWith("/about.htm"));
        QTest::mouseClick(help->findChild<QPushButton*>("cmdForward"), Qt::LeftButton);
        QVERIFY(browser->source().toLocalFile().endsWith("/main.htm"));
        QTest::mouseClick(help->findChild<QPushButton*>("cmdForward"), Qt::LeftButton); // at the end
        QVERIFY(browser->source().toLocalFile().endsWith("/main.htm"));
    }

    void back_and_forward_without_history_do_nothing() {
        TestApp app;
        auto* help = app.show<frmHelp>("frmHelp");
        QTest::mouseClick(help->findChild<QPushButton*>("cmdBack"), Qt::LeftButton);
        QTest::mouseClick(help->findChild<QPushButton*>("cmdForward"), Qt::LeftButton);
        QVERIFY(help->findChild<QTextBrowser*>("WebBrowser1")->source().isEmpty());
        QVERIFY(app.dialogs.messages.isEmpty());
    }

    void missing_page_is_not_reported() {
        TestApp app;
        auto* main = app.show<frmMain>("frmMain");
        main->UserGuide_Click();
        QVERIFY(app.dialogs.messages.isEmpty());
        QCOMPARE(app.windows.find("frmHelp")->windowTitle(), "User Guide");
    }

    // Unsaved draws are never lost silently, and nothing is asked: closing their window by its
    // frame keeps them aside at once, Exit ends at once (the program's end keeps them), closing
    // the main window closes only that window. The lotto's own file never changes.
    void unsaved_changes_are_kept_data() {
        QTest::addColumn<QString>("how"); // close: the Lotto window's frame; exit; main: its frame
        QTest::addColumn<bool>("edited");
        for (const char* how : {"close", "exit", "main"}) {
            QTest::addRow("%s, nothing edited", how) << how << false;
            QTest::addRow("%s, edited", how) << how << true;
        }
    }
    void unsaved_changes_are_kept() {
        QFETCH(QString, how);
        QFETCH(bool, edited);
        TestApp app;
        const QByteArray draws = "2001-12-22 1 2 3 4 5 6 7 \r\n";
        write_file(app.path("Lto/Six49/param.qtz"), encode_params(six49()).value());
        write_file(app.path("Lto/Six49/draws.txt"), draws);
        const QString kept = app.path("Unsaved/Lto/Six49/draws.txt");
        const auto main = open_window<frmMain>(app, "frmMain");
        const auto lotto = open_window(app, "frmLotto");
        lotto.pick("cmbName", "Six49");
        if (edited)
            app.session.lotto.draws().set_text(1, 2, QStringLiteral("9"));
        if (how == u"close")
            lotto->close();
        else if (how == u"exit")
            lotto->findChild<QAction*>("Exit")->trigger();
        else
            main->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.dialogs.messages.isEmpty());
        QVERIFY(app.dialogs.questions.isEmpty());
        QCOMPARE(app.exits, how == u"exit" ? 1 : 0);
        QCOMPARE(app.windows.find("frmLotto") == nullptr, how == u"close");
        QCOMPARE(app.windows.find("frmMain") == nullptr, how == u"main");
        QCOMPARE(read_all(app.path("Lto/Six49/draws.txt")), draws);
        // The frame's close keeps the copy itself; Exit leaves it to the program's end.
        QCOMPARE(QFileInfo::exists(kept), edited && how == u"close");
        keep_unsaved_edits(app.session); // what the program does as it ends
        QCOMPARE(QFileInfo::exists(kept), edited);
        if (edited)
            QCOMPARE(read_all(kept), "2001-12-22 9 2 3 4 5 6 7 \r\n");
        QCOMPARE(read_all(app.path("Lto/Six49/draws.txt")), draws);
    }

    // The next load offers the kept draws: Restore puts them in the table as unsaved edits that
    // Save writes; Discard deletes the copy and leaves the table as the file holds it.
    void kept_draws_are_offered_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("restore") << "cmdRestoreUnsaved";
        QTest::newRow("discard") << "cmdDiscardUnsaved";
    }
    void kept_draws_are_offered() {
        QFETCH(QString, button);
        TestApp app;
        const QByteArray draws = "2001-12-22 1 2 3 4 5 6 7 \r\n";
        write_file(app.path("Lto/Six49/param.qtz"), encode_params(six49()).value());
        write_file(app.path("Lto/Six49/draws.txt"), draws);
        const QByteArray edits = "2001-12-22 9 2 3 4 5 6 7 \r\n2001-12-29 1 2 3 4 5 8 9 \r\n";
        write_file(app.path("Unsaved/Lto/Six49/draws.txt"), edits);
        const auto lotto = open_window(app, "frmLotto");
        auto* bar = lotto.get("fraUnsaved");
        QVERIFY(!bar->isVisibleTo(lotto.w));
        lotto.pick("cmbName", "Six49");
        QVERIFY(bar->isVisibleTo(lotto.w));
        QVERIFY(lotto.text("lblUnsaved").startsWith("Changes to the draws of 'Six49' that were not saved"));
        lotto.click(button);
        QVERIFY(!bar->isVisibleTo(lotto.w));
        QVERIFY(!QFileInfo::exists(app.path("Unsaved/Lto/Six49/draws.txt")));
        const bool restored = button == u"cmdRestoreUnsaved";
        QCOMPARE(lotto.grid("msfDraws").rows(), restored ? 3 : 2);
        QCOMPARE(app.session.lotto.modified(), restored);
        QCOMPARE(lotto.text("txtN6"), restored ? "8" : "6");
        lotto.click("cmdDrawSave");
        QCOMPARE(read_all(app.path("Lto/Six49/draws.txt")), restored ? edits : draws);
        QVERIFY(app.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
