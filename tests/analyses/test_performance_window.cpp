#include "core/analyses/performance.h"
#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/systems/system_expansion.h"
#include "gui/analyses/frm_performance.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/window_names.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QStringList example_file = {QStringLiteral("N1 1 2 4 5 6 7"), QStringLiteral("N2 3 11 19 1 2 4"),
                                  QStringLiteral("N3 3 27 1 2 4 5"), QStringLiteral("N4 3 8 11 20 30 40")};

// Every selection made: a 6/49 lotto paying 10 for 3 and 2.5 for 2+bonus, the draw 3 11 19 27 35
// 43 bonus 8, a set of ten and a system whose file is `lines`.
void select_all(TestApp& app, const QStringList& lines = example_file) {
    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = 6;
    lotto.prize2b = 2.5f;
    lotto.prize3 = 10;
    lotto.prize6 = 1e7f;
    lotto.cost = 2;
    app.session.lotto.set_params(lotto);
    app.session.lotto.set_current_draw(DrawRec{46000, {3, 11, 19, 27, 35, 43}, 8});
    app.session.tset.set_size(10);
    const int16_t set[] = {3, 8, 11, 19, 20, 27, 30, 40, 1, 2};
    std::copy(std::begin(set), std::end(set), app.session.tset.numbers().begin() + 1);
    app.session.system.set_name(QStringLiteral("10_3_6"));
    QVERIFY(write_text_lines(system_file_path(app.dir.path()), lines));
}

// Stand-ins for the Targeted Sets and Systems windows; each notes whether System
// Performance was already on screen when it was opened.
void stand_ins(TestApp& app, bool* performance_visible) {
    for (const char* name : {window_name::tsets, window_name::system}) {
        const QString n = QLatin1String(name);
        app.windows.add_factory(n, [n, performance_visible] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String(window_name::performance))
                    *performance_visible = w->isVisible();
            auto* w = new QWidget;
            w->setObjectName(n);
            return w;
        });
    }
}

const QStringList draw_boxes{"txtN1", "txtN2", "txtN3", "txtN4", "txtN5", "txtN6", "txtN7"};

struct Window : WindowDriver<frmPerformance> {
    void set_draw(const QString& boxes) const { set_texts(draw_boxes, boxes.split(u'|')); }
    void refresh() const { click("cmdRefresh"); }
    // The data rows, cells joined by '|' and rows by ';'.
    QString rows() const {
        QStringList out;
        for (int r = 1; r < grid("msfPerformance").rows(); ++r)
            out << row_cells(grid("msfPerformance"), r).join(u'|');
        return out.join(u';');
    }
};

Window open(TestApp& app) {
    return {open_window<frmPerformance>(app, window_name::performance)};
}

const QString example_rows =
    QStringLiteral("2|3 11 19 1 2 4|3|10;4|3 8 11 20 30 40|2+bonus|2.5;|Total||12.5");

} // namespace

class TestPerformanceWindow : public QObject {
    Q_OBJECT
  private slots:
    // A choice made in another window while this one is open shows at once, without a word;
    // the window opened before the choice was made.
    // The draw, the prizes, the set and the system are read when the window loads; a choice made
    // elsewhere afterwards leaves its boxes and table as they are (Refresh scores the boxes).
    void keeps_its_boxes_while_open_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("draw selected") << "draw";
        QTest::newRow("lotto's prizes saved") << "lotto";
        QTest::newRow("system expanded anew") << "system";
    }
    void keeps_its_boxes_while_open() {
        QFETCH(QString, change);
        TestApp app;
        select_all(app);
        Window win = open(app);
        const QString rows = win.rows();
        const QStringList boxes = win.texts(draw_boxes);
        if (change == u"draw") {
            app.session.lotto.set_current_draw(DrawRec{46000, {1, 2, 3, 4, 5, 6}, 8});
        } else if (change == u"lotto") {
            LottoParams lotto = app.session.lotto.params();
            lotto.prize3 = 20;
            app.session.lotto.set_params(lotto);
        } else {
            QVERIFY(write_text_lines(system_file_path(app.dir.path()), {QStringLiteral("N7 3 11 19 5 6 7")}));
            app.session.system.set_name(QStringLiteral("10_3_6"));
        }
        QApplication::processEvents();
        QCOMPARE(win.rows(), rows);
        QCOMPARE(win.texts(draw_boxes), boxes);
        QCOMPARE(win.text("txtP3"), QStringLiteral("10"));
    }
    void opens_scored_on_the_selections() {
        TestApp app;
        select_all(app);
        Window win = open(app);
        QCOMPARE(win->windowTitle(), QStringLiteral("System Performance"));
        QVERIFY(app.dialogs.messages.isEmpty());
        const QStringList prizes = {"0", "2.5", "10", "0", "0", "0", "0", "0", "1E+07", "0"};
        const char* names[] = {"txtP2",  "txtP2b", "txtP3",  "txtP3b", "txtP4",
                               "txtP4b", "txtP5",  "txtP5b", "txtP6",  "txtP6b"};
        for (int i = 0; i < 10; ++i)
            QCOMPARE(win.text(names[i]), prizes[i]);
        QCOMPARE(win.texts(draw_boxes).join(u' '), QStringLiteral("3 11 19 27 35 43 8"));
        QCOMPARE(win.text("lblSystem"), QStringLiteral("10_3_6"));
        QCOMPARE(win.text("lblTset"), QStringLiteral("3 8 11 19 20 27 30 40 1 2 "));
        QCOMPARE(win.rows(), example_rows);
        // The draw's day, and the total less the four tickets at 2 each.
        QCOMPARE(win.text("lblDrawDate"), QStringLiteral("2025-12-09"));
        QCOMPARE(win.text("lblNet"), QStringLiteral("Net: 4.5 (4 tickets at 2 cost 8)"));
        win.set_draw(QStringLiteral("3|11|19|27|35|44|8"));
        win.refresh();
        QCOMPARE(win.text("lblDrawDate"), QStringLiteral("typed"));
        win.set_draw(QStringLiteral("3|11|19|27|35|43|8"));
        win.refresh();

        // Bold as the view shows it: the header sections, the corner and the two total cells.
        const GridModel& g = win.grid("msfPerformance");
        auto* view = win->findChild<GridView*>(QStringLiteral("msfPerformance"));
        const QAbstractItemModel* m = view->model();
        const auto bold = [](const QVariant& font) { return font.value<QFont>().bold(); };
        for (int section = 0; section < 3; ++section)
            QVERIFY(bold(m->headerData(section, Qt::Horizontal, Qt::FontRole)));
        QVERIFY(g.bold(0, 0));
        QCOMPARE(g.text(0, 0), QStringLiteral("N"));
        const int total = m->rowCount() - 1;
        QVERIFY(bold(m->index(total, 0).data(Qt::FontRole)));
        QVERIFY(bold(m->index(total, 2).data(Qt::FontRole)));
        QVERIFY(!bold(m->index(total - 1, 2).data(Qt::FontRole)));
        QCOMPARE(g.row(), g.rows() - 1);
    }

    void a_draw_never_selected_shows_zeros() {
        TestApp app;
        select_all(app);
        app.session.lotto.set_current_draw(DrawRec{});
        Window win = open(app);
        for (const QString& box : draw_boxes)
            QCOMPARE(win.text(box), QStringLiteral("0"));
        QCOMPARE(app.dialogs.messages, QStringList{QLatin1String(msg_select_draw_numbers)});
        QCOMPARE(win->focusWidget(), win.get<QLineEdit>("txtN1"));
    }

    // Missing selections, checked in this order; only the first one is reported.
    void selection_checks_data() {
        QTest::addColumn<bool>("draw");
        QTest::addColumn<bool>("tset");
        QTest::addColumn<bool>("system");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("opened");
        QTest::newRow("no draw") << false << true << true << msg_select_draw_numbers << "";
        QTest::newRow("no set") << true << false << true << msg_select_tset << "frmTsets";
        QTest::newRow("no system") << true << true << false << msg_select_system << "frmSystem";
        QTest::newRow("nothing") << false << false << false << msg_select_draw_numbers << "";
        QTest::newRow("set and system missing") << true << false << false << msg_select_tset << "frmTsets";
    }
    void selection_checks() {
        QFETCH(QString, opened);
        TestApp app;
        bool visible_at_open = false;
        stand_ins(app, &visible_at_open);
        select_all(app);
        QFETCH(bool, draw);
        if (!draw)
            app.session.lotto.set_current_draw(DrawRec{46000, {0, 11, 19, 27, 35, 43}, 8});
        QFETCH(bool, tset);
        if (!tset)
            app.session.tset.numbers()[1] = 0;
        QFETCH(bool, system);
        if (!system)
            app.session.system.set_name(QString());
        Window win = open(app);
        QFETCH(QString, message);
        QCOMPARE(app.dialogs.messages, QStringList{message});
        QStringList loaded;
        for (const char* name : {window_name::tsets, window_name::system})
            if (app.windows.find(QLatin1String(name)))
                loaded << QLatin1String(name);
        QCOMPARE(loaded.join(u','), opened);
        if (!opened.isEmpty()) {
            QVERIFY(visible_at_open);
            QVERIFY(app.windows.find(opened)->isVisible());
        }
        QCOMPARE(win.text("lblSystem"), QStringLiteral("Not selected"));
        QCOMPARE(win.grid("msfPerformance").rows(), 2);
        QVERIFY(!win.grid("msfPerformance").bold(0, 0)); // bold comes with the first winner
    }

    // After a first calculation with two winners: a change, Refresh, then the message and rows.
    void refresh_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("rows");
        QTest::newRow("no winner empties the table") << "draw 44|45|46|47|48|49|0"
                                                     << ""
                                                     << "|||";
        QTest::newRow("prize 0 drops its class") << "txtP3 0"
                                                 << ""
                                                 << "4|3 8 11 20 30 40|2+bonus|2.5;|Total||2.5";
        QTest::newRow("typed prize counts")
            << "txtP2b 7.25"
            << ""
            << "2|3 11 19 1 2 4|3|10;4|3 8 11 20 30 40|2+bonus|7.25;|Total||17.25";
        QTest::newRow("bonus box emptied") << "draw 3|11|19|27|35|43|"
                                           << ""
                                           << "2|3 11 19 1 2 4|3|10;|Total||10";
        QTest::newRow("typed draw, padded") << "draw  1 |2|4|0||7|6"
                                            << ""
                                            << "2|3 11 19 1 2 4|3|10;3|3 27 1 2 4 5|3|10;|Total||20";
        QTest::newRow("empty prize: rows stay, no total")
            << "txtP2b " << msg_data_not_correct << "2|3 11 19 1 2 4|3|10;4|3 8 11 20 30 40|2+bonus|";
        QTest::newRow("not a number")
            << "txtP3 ten" << msg_data_not_correct << "2|3 11 19 1 2 4|3|ten;4|3 8 11 20 30 40|2+bonus|2.5";
        QTest::newRow("system file gone") << "remove" << msg_data_not_correct << "|||";
        QTest::newRow("short line: earlier rows stay")
            << "file N2 3 11 19 1 2 4\nN3 3 11" << msg_data_not_correct << "2|3 11 19 1 2 4|3|10";
        QTest::newRow("empty line skipped") << "file N2 3 11 19 1 2 4\n\nN4 3 8 11 20 30 40"
                                            << "" << example_rows;
        QTest::newRow("set too large") << "size 21" << msg_data_not_correct << example_rows;
        QTest::newRow("draw emptied") << "draw |11|19|27|35|43|8" << msg_select_draw_numbers << example_rows;
    }
    void refresh() {
        QFETCH(QString, change);
        TestApp app;
        select_all(app);
        Window win = open(app);
        QCOMPARE(win.rows(), example_rows);
        const QString arg = change.section(u' ', 1);
        if (change.startsWith(u"draw "))
            win.set_draw(arg);
        else if (change.startsWith(u"txtP"))
            win.set(change.section(u' ', 0, 0), arg);
        else if (change == u"remove")
            QVERIFY(QFile::remove(system_file_path(app.dir.path())));
        else if (change.startsWith(u"file "))
            QVERIFY(write_text_lines(system_file_path(app.dir.path()), arg.split(u'\n')));
        else if (change.startsWith(u"size "))
            app.session.tset.set_size(static_cast<int16_t>(arg.toInt()));
        win.refresh();
        QFETCH(QString, message);
        QCOMPARE(app.dialogs.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QFETCH(QString, rows);
        QCOMPARE(win.rows(), rows);
    }

    void prints_the_table_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("print") << false;
        QTest::newRow("cancel") << true;
    }
    void prints_the_table() {
        QFETCH(bool, cancel);
        TestApp app;
        select_all(app);
        Window win = open(app);
        const QString pdf = app.path(QStringLiteral("performance.pdf"));
        if (!cancel)
            app.dialogs.print_file = pdf;
        win.click("cmdPrint");
        QCOMPARE(app.dialogs.print_requests, 1);
        QFile f(pdf);
        QCOMPARE(f.exists(), !cancel);
        if (!cancel) {
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.size() > 1000);
            QVERIFY(f.read(5) == "%PDF-");
        }
        QVERIFY(app.dialogs.messages.isEmpty());
        QCOMPARE(win.rows(), example_rows);
    }
};

QTEST_MAIN(TestPerformanceWindow)
#include "test_performance_window.moc"
