#include "core/base/messages.h"
#include "gui/toolkit/grid_view.h"
#include "support/faults.h"
#include "tsets/tsets_fixture.h"

#include <QMainWindow>
#include <QMenuBar>

namespace {

const QByteArray two_rows = "2001-03-01 1 2 3 4 5 6 7 8 9 10 \r\n"
                            "2002-03-01 11 12 13 14 15 16 17 18 19 20 \r\n";

QString msg(const char* text) {
    return QString::fromLatin1(text);
}

// The window with size 10 chosen and a set "Old" of two rows on disk.
Win size10(TestApp& app) {
    write_file(app.path("Tsets/10/Old"), two_rows);
    Win w = show_tsets(app);
    w.pick("cmbSize", "10");
    return w;
}

// The window with a new empty set "S" of size 10: one empty data row, current.
Win with_new_set(TestApp& app) {
    Win w = size10(app);
    app.dialogs.answers << "S";
    w.click("cmdNew");
    return w;
}

QStringList items(QComboBox* box) {
    QStringList s;
    for (int i = 0; i < box->count(); ++i)
        s << box->itemText(i);
    return s;
}

QString enabled(const Win& w) {
    return w.enabled_flags(
        {"cmbSets", "cmdNew", "cmdAcceptDate", "cmdAcceptNumber", "cmdAdd", "cmdSave", "cmdTsetGenerator"});
}

} // namespace

class TestTsetsWindow : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void opening() {
        TestApp app;
        Win w = show_tsets(app);
        QCOMPARE(w.w->windowTitle(), "Targeted Sets");
        QCOMPARE(static_cast<QMainWindow*>(w.w)->menuBar()->actions().value(0)->text(), "&Help");
        QVERIFY(QFileInfo(app.path("Tsets")).isDir());
        QCOMPARE(w.text("txtDate"), "2026-12-07");
        QCOMPARE(items(w.get<QComboBox>("cmbSize")).join(u','), "10,11,12,13,14,15,16,17,18,19,20");
        QCOMPARE(w.get<QComboBox>("cmbNumber")->count(), 90);
        QCOMPARE(w.text("cmbSize") + w.text("cmbIndex") + w.text("cmbNumber"), QString());
        QCOMPARE(enabled(w), "0000000");
        for (const char* name : {"Label1", "Label5", "Line1", "Line4", "File1", "msfTsets"})
            QVERIFY(w.w->findChild<QWidget*>(name));
    }

    void choosing_a_size() {
        TestApp app;
        write_file(app.path("Tsets/12/b"), "");
        write_file(app.path("Tsets/12/A"), "");
        app.session.tset.set_name("Old");
        Win w = show_tsets(app);
        w.pick_typed("cmbSize", "");
        QCOMPARE(app.dialogs.messages, QStringList{msg(msg_select_size)});
        QCOMPARE(w.focus(), "cmbSize");
        QCOMPARE(app.session.tset.size(), 0);

        w.pick("cmbSize", "12");
        QCOMPARE(items(w.get<QComboBox>("cmbSets")), QStringList({"A", "b"}));
        QCOMPARE(w.get<QComboBox>("cmbIndex")->count(), 12);
        QCOMPARE(enabled(w), "1100100");
        QCOMPARE(app.session.tset.size(), 12);
        QCOMPARE(app.session.tset.name(), "Old");
        GridModel& g = tsets_grid(app);
        QCOMPARE(grid_row(g, 0), "Date N1 N2 N3 N4 N5 N6 N7 N8 N9 N10 N11 N12");
        QCOMPARE(g.rows(), 1);
        QCOMPARE(g.col_width(0), 1000);
        QCOMPARE(g.col_width(7), 450);
        for (int c = 0; c <= 12; ++c)
            QVERIFY(g.bold(0, c));
        // The header cells show bold.
        const QAbstractItemModel* shown = w.get<GridView>("msfTsets")->model();
        QVERIFY(shown->headerData(12, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    }

    void size_change_after_editing() {
        TestApp app;
        Win w = size10(app);
        w.pick("cmbSets", "Old");
        app.ctx.tset_editor.offer_save();
        w.pick("cmbSize", "12");
        QCOMPARE(tsets_grid(app).cols(), 13);
        QCOMPARE(tsets_grid(app).rows(), 1);
        QCOMPARE(app.session.tset.name(), "Old");
        QCOMPARE(app.session.tset.current_row(), 0);
        QVERIFY(!w.enabled("cmdSave"));
        QVERIFY(w.enabled("cmdAcceptDate"));
        // A row filled after the change may enable Save again, but there is no set to write it to.
        write_file(app.path("Tsets/12/Old"), "kept\r\n");
        w.click("cmdAdd");
        for (int i = 1; i <= 12; ++i) {
            w.set("cmbIndex", QString::number(i));
            w.set("cmbNumber", QString::number(i));
            w.click("cmdAcceptNumber");
        }
        w.click("cmdSave");
        QCOMPARE(app.dialogs.messages, QStringList{msg(msg_select_tset)});
        QCOMPARE(read_all(app.path("Tsets/12/Old")), QByteArray("kept\r\n"));
        QCOMPARE(read_all(app.path("Tsets/10/Old")), two_rows);
    }

    void new_set_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("rows"); // grid rows afterwards
        QTest::newRow("cancelled") << QString() << "" << QStringList{"Old"} << 1;
        QTest::newRow("blanks only") << "   "
                                     << "" << QStringList{"Old"} << 1;
        QTest::newRow("dot dot") << ".." << msg(msg_data_not_correct) << QStringList{"Old"} << 1;
        QTest::newRow("slash") << "a/b" << msg(msg_data_not_correct) << QStringList{"Old"} << 1;
        QTest::newRow("backslash") << "a\\b" << msg(msg_data_not_correct) << QStringList{"Old"} << 1;
        QTest::newRow("control character") << "a\tb" << msg(msg_data_not_correct) << QStringList{"Old"} << 1;
        QTest::newRow("name with a dot") << "Mine.v2"
                                         << "" << QStringList{"Mine.v2", "Old"} << 2;
        QTest::newRow("existing name opens the set") << "Old"
                                                     << "" << QStringList{"Old"} << 3;
    }
    void new_set() {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(QStringList, files);
        QFETCH(int, rows);
        TestApp app;
        Win w = size10(app);
        app.session.tset.set_name("Before");
        app.dialogs.answers << answer;
        w.click("cmdNew");
        QCOMPARE(app.dialogs.prompts, QStringList{"Name of the strategy|Please type a name."});
        QCOMPARE(app.dialogs.messages.join(u'|'), message);
        QCOMPARE(QDir(app.path("Tsets/10")).entryList(QDir::Files, QDir::Name), files);
        QStringList listed = items(w.get<QComboBox>("cmbSets"));
        if (rows == 2)
            QCOMPARE(listed.last(), answer); // a new set joins the end of the list
        listed.sort();
        QCOMPARE(listed, files);
        QCOMPARE(read_all(app.path("Tsets/10/Old")), two_rows);
        QCOMPARE(tsets_grid(app).rows(), rows);
        QCOMPARE(app.session.tset.current_row(), rows - 1);
        if (rows > 1) {
            QCOMPARE(w.text("cmbSets"), answer);
            QCOMPARE(enabled(w), "1111101");
            QCOMPARE(read_all(app.path("Tsets/10/" + answer)).isEmpty(), answer != "Old");
        }
        QCOMPARE(app.session.tset.name(), answer == "Old" ? "Old" : "Before");
    }

    void opening_a_set() {
        TestApp app;
        Win w = size10(app);
        w.pick("cmbSets", "Old");
        const GridModel& g = tsets_grid(app);
        QCOMPARE(grid_row(g, 2), "2002-03-01 11 12 13 14 15 16 17 18 19 20");
        QCOMPARE(app.session.tset.current_row(), 2);
        QCOMPARE(app.session.tset.name(), "Old");
        QCOMPARE(app.session.tset.numbers()[1], 11);
        QCOMPARE(app.session.tset.numbers()[10], 20);
        QCOMPARE(enabled(w), "1111101");
        const auto* view = w.get<GridView>("msfTsets");
        QVERIFY(view->columnWidth(0) > view->fontMetrics().horizontalAdvance(g.text(2, 0))); // dates whole

        // A set whose file went away: a message naming it, the grid as it was.
        write_file(app.path("Tsets/10/Gone"), "");
        w.pick("cmbSize", "10");
        w.pick("cmbSets", "Old");
        QVERIFY(QFile::remove(app.path("Tsets/10/Gone")));
        w.pick("cmbSets", "Gone");
        QCOMPARE(app.dialogs.messages, QStringList{"The Targeted Set 'Gone' does not exist."});
        QCOMPARE(g.rows(), 3);
        QCOMPARE(app.session.tset.name(), "Old");

        // An empty set: the header row only, and get_Tset reads the header.
        app.dialogs.messages.clear();
        app.dialogs.answers << "Empty";
        w.click("cmdNew");
        w.pick("cmbSets", "Empty");
        QCOMPARE(g.rows(), 1);
        QCOMPARE(app.session.tset.current_row(), 0);
        QCOMPARE(app.dialogs.messages, QStringList{"Incorrect data in the cell 0,1)"});
        QCOMPARE(app.session.tset.numbers()[1], 11);
    }

    // A set file that cannot be read leaves the last set's rows on screen, but Save no longer
    // writes them, over the unread file or anywhere else. The read fails for want of a file
    // descriptor, which binds root too, unlike a file without read permission.
    void unreadable_set_is_not_saved_over() {
        TestApp app;
        Win w = size10(app);
        write_file(app.path("Tsets/10/Locked"), "2003-03-01 1 2 3 4 5 6 7 8 9 10 \r\n");
        w.pick("cmbSets", "Old");
        const auto saved = in_child_process([&] {
            with_no_file_descriptor_left([&] { w.pick_typed("cmbSets", "Locked"); });
            app.ctx.tset_editor.offer_save();
            w.click("cmdSave");
            return app.dialogs.messages == QStringList{msg(msg_data_not_correct), msg(msg_select_tset)};
        });
        QVERIFY(saved.has_value());
        QVERIFY(*saved);
        QCOMPARE(read_all(app.path("Tsets/10/Locked")), "2003-03-01 1 2 3 4 5 6 7 8 9 10 \r\n");
    }

    // Reading stopped at a blank line: a Save would drop every row after it, so it is refused,
    // naming the line, and the file keeps all its rows.
    void set_read_short_of_its_end_is_not_saved_over() {
        TestApp app;
        Win w = size10(app);
        const QByteArray file = two_rows + "\r\n" + two_rows;
        write_file(app.path("Tsets/10/Cut"), file);
        w.pick_typed("cmbSets", "Cut");
        QCOMPARE(tsets_grid(app).rows(), 3);
        app.ctx.tset_editor.offer_save();
        w.click("cmdSave");
        QCOMPARE(app.dialogs.messages, QStringList{QString::fromUtf8(msg_set_unread).arg(3)});
        QCOMPARE(read_all(app.path("Tsets/10/Cut")), file);
    }

    // A number typed in the locale's own digits is kept as ASCII digits, which the file can hold.
    void native_digits_are_kept_as_ascii() {
        TestApp app;
        Win w = with_new_set(app);
        const QLocale fa(QLocale::Persian, QLocale::Iran);
        QLocale::setDefault(fa);
        w.set("cmbIndex", fa.toString(2));
        w.set("cmbNumber", fa.toString(17));
        w.click("cmdAcceptNumber");
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(tsets_grid(app).text(1, 2), QStringLiteral("17"));
    }

    void accept_number_data() {
        QTest::addColumn<QString>("script"); // index:number ...
        QTest::addColumn<QString>("messages");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("focus");
        const QString one_to_nine = "1:1 2:2 3:3 4:4 5:5 6:6 7:7 8:8 9:9";
        QTest::newRow("N1..N9") << one_to_nine << "" << false << " 1 2 3 4 5 6 7 8 9 "
                                << "";
        QTest::newRow("N10 last enables Save") << one_to_nine + " 10:10"
                                               << "" << true << " 1 2 3 4 5 6 7 8 9 10"
                                               << "";
        QTest::newRow("N10 first does not")
            << "10:10 " + one_to_nine << "" << false << " 1 2 3 4 5 6 7 8 9 10"
            << "";
        QTest::newRow("then one more does") << "10:10 " + one_to_nine + " 10:11"
                                            << "" << true << " 1 2 3 4 5 6 7 8 9 11"
                                            << "";
        QTest::newRow("last column not examined") << "10:7 3:7"
                                                  << "" << false << "   7       7"
                                                  << "";
        QTest::newRow("a number already placed")
            << "10:7 3:7 5:7" << msg(msg_number_repeated) << false << "   7       7"
            << "";
        QTest::newRow("the same position") << "3:5 3:5" << msg(msg_number_repeated) << false << "   5       "
                                           << "";
        QTest::newRow("texts compared: 7 and 07") << "1:7 2:07"
                                                  << "" << false << " 7 07        "
                                                  << "";
        QTest::newRow("index not a number") << "abc:5" << msg(msg_select_index) << false << "          "
                                            << "cmbIndex";
        QTest::newRow("index 0") << "0:5" << msg(msg_select_index) << false << "          "
                                 << "cmbIndex";
        QTest::newRow("index -1") << "-1:5" << msg(msg_select_index) << false << "          "
                                  << "cmbIndex";
        QTest::newRow("number empty") << "1:" << msg(msg_select_number) << false << "          "
                                      << "cmbNumber";
        QTest::newRow("index 11") << "11:5" << msg(msg_index_exceeds) << false << "          "
                                  << "";
    }
    void accept_number() {
        QFETCH(QString, script);
        QFETCH(QString, messages);
        QFETCH(bool, save);
        QFETCH(QString, row);
        QFETCH(QString, focus);
        TestApp app;
        Win w = with_new_set(app);
        for (const QString& step : script.split(u' ')) {
            w.set("cmbIndex", step.section(u':', 0, 0));
            w.set("cmbNumber", step.section(u':', 1));
            w.click("cmdAcceptNumber");
        }
        QCOMPARE(app.dialogs.messages.join(u'|'), messages);
        QCOMPARE(w.enabled("cmdSave"), save);
        QCOMPARE(grid_row(tsets_grid(app), 1), row);
        if (!focus.isEmpty())
            QCOMPARE(w.focus(), focus);
    }

    void accept_date_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cell");
        QTest::newRow("short form") << " 2026-3-5 "
                                    << "2026-03-05";
        QTest::newRow("time dropped") << "2026-03-05T18:30"
                                      << "2026-03-05";
        QTest::newRow("no such day") << "2026-02-30"
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void accept_date() {
        QFETCH(QString, text);
        QFETCH(QString, cell);
        TestApp app;
        Win w = with_new_set(app);
        w.set("txtDate", text);
        w.click("cmdAcceptDate");
        QCOMPARE(tsets_grid(app).text(1, 0), cell);
        QCOMPARE(app.dialogs.messages, cell.isEmpty() ? QStringList{msg(msg_incorrect_date)} : QStringList());
        if (cell.isEmpty())
            QCOMPARE(w.focus(), "txtDate");
    }

    void no_data_row() {
        TestApp app;
        Win w = size10(app);
        w.pick("cmbSets", "Old");
        w.pick("cmbSize", "10");
        w.set("cmbIndex", "1");
        w.set("cmbNumber", "5");
        w.click("cmdAcceptNumber");
        w.click("cmdAcceptDate");
        QCOMPARE(app.dialogs.messages, QStringList(2, msg(msg_select_tset_row)));
        QCOMPARE(grid_row(tsets_grid(app), 0), "Date N1 N2 N3 N4 N5 N6 N7 N8 N9 N10");
    }

    void save_and_reload() {
        TestApp app;
        Win w = with_new_set(app);
        GridModel& g = tsets_grid(app);
        const QStringList rows{"2003-01-01 1 2 3 4 5 6 7 8 9 10", "2001-01-01 11 12 13 14 15 16 17 18 19 20",
                               "2002-01-01 21 22 23 24 25 26 27 28 29 30"};
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                w.click("cmdAdd");
            const QStringList cells = rows[i].split(u' ');
            for (int c = 0; c <= 10; ++c)
                g.set_text(i + 1, c, cells[c]);
        }
        w.click("cmdAdd"); // a blank row, current
        QCOMPARE(app.session.tset.current_row(), 4);
        app.ctx.tset_editor.offer_save();

        // An unreadable date: nothing written, nothing moved.
        g.set_text(2, 0, "2001-13-01");
        w.click("cmdSave");
        QCOMPARE(app.dialogs.messages, QStringList{msg(msg_incorrect_date)});
        QCOMPARE(read_all(app.path("Tsets/10/S")), QByteArray());
        QCOMPARE(g.rows(), 5);
        QCOMPARE(grid_row(g, 1), rows[0]);

        g.set_text(2, 0, "2001-01-01");
        w.click("cmdSave");
        QCOMPARE(read_all(app.path("Tsets/10/S")),
                 (rows[1] + " \r\n" + rows[2] + " \r\n" + rows[0] + " \r\n").toLatin1());
        QCOMPARE(g.rows(), 4);
        QCOMPARE(grid_row(g, 1), rows[1]);
        QCOMPARE(app.session.tset.current_row(), 3);

        w.pick("cmbSets", "S");
        QCOMPARE(app.session.tset.current_row(), 3);
        QCOMPARE(app.session.tset.numbers()[10], 10);
        QCOMPARE(app.session.tset.name(), "S");
    }

    // A new set, once saved, is the current one for the other windows.
    void saved_new_set_is_current() {
        TestApp app;
        Win w = with_new_set(app);
        const QString before = app.session.tset.name(); // New alone changes nothing for them
        const QStringList cells = QString("2003-01-01 1 2 3 4 5 6 7 8 9 10").split(u' ');
        for (int c = 0; c <= 10; ++c)
            tsets_grid(app).set_text(1, c, cells[c]);
        app.ctx.tset_editor.offer_save();
        QCOMPARE(app.session.tset.name(), before);
        w.click("cmdSave");
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(app.session.tset.name(), "S");
    }

    // Closing by the frame keeps the rows not saved beside the data; opening the set again
    // offers them: Restore puts them back as edits to save, Discard deletes them.
    void kept_rows_are_offered_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("restore") << "cmdRestoreUnsaved";
        QTest::newRow("discard") << "cmdDiscardUnsaved";
    }
    void kept_rows_are_offered() {
        QFETCH(QString, button);
        TestApp app;
        {
            Win w = size10(app);
            w.pick("cmbSets", "Old");
            tsets_grid(app).set_text(1, 1, "44");
            w->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(app.dialogs.messages.isEmpty());
        const QString kept = app.path("Unsaved/Tsets/10/Old");
        QVERIFY(QFileInfo::exists(kept));
        QCOMPARE(read_all(app.path("Tsets/10/Old")), two_rows);

        Win w = size10(app);
        QVERIFY(!w.get("fraUnsaved")->isVisibleTo(w.w));
        w.pick("cmbSets", "Old");
        QVERIFY(w.get("fraUnsaved")->isVisibleTo(w.w));
        w.click(button);
        QVERIFY(!w.get("fraUnsaved")->isVisibleTo(w.w));
        QVERIFY(!QFileInfo::exists(kept));
        const bool restored = button == u"cmdRestoreUnsaved";
        QCOMPARE(tsets_grid(app).text(1, 1), restored ? "44" : "1");
        QCOMPARE(app.session.tset.modified(), restored);
        if (restored) {
            w.click("cmdSave");
            QVERIFY(read_all(app.path("Tsets/10/Old")).contains("44 "));
        }
        QVERIFY(app.dialogs.messages.isEmpty());
    }

    void clicking_a_row() {
        TestApp app;
        write_file(app.path("Tsets/10/Bad"), "2001-03-01 1 2 3 4 5 6 7 8 9 10 \r\n"
                                             "2002-03-01 11 12 x 14 15 16 17 18 19 20 \r\n"
                                             "2003-03-01 21 22 23 24 25 26 27 28 29 30 \r\n");
        Win w = show_tsets(app);
        w.pick("cmbSize", "10");
        w.pick("cmbSets", "Bad");
        auto* view = w.get<GridView>("msfTsets");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(1, 4)).center());
        QCOMPARE(app.session.tset.current_row(), 2);
        QCOMPARE(app.dialogs.messages, QStringList{"Incorrect data in the cell 2,3)"});
        QCOMPARE(app.session.tset.numbers()[2], 12);
        QCOMPARE(app.session.tset.numbers()[3], 23);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(0, 0)).center());
        QCOMPARE(app.session.tset.current_row(), 1);
        QCOMPARE(app.session.tset.numbers()[3], 3);
    }

    void opens_the_generator() {
        TestApp app;
        Win w = with_new_set(app);
        w.click("cmdTsetGenerator");
        QWidget* gen = app.windows.find("frmTsetGenerator");
        QVERIFY(gen && gen->isVisible());
    }
};

QTEST_MAIN(TestTsetsWindow)
#include "test_tsets_window.moc"
