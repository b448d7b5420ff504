#include "core/base/messages.h"
#include "gui/systems/frm_system.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/window_names.h"
#include "support/test_files.h"
#include "support/window_driver.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

using Numbers = std::vector<int>;
const Numbers sample_set{3, 7, 12, 15, 22, 31, 34, 38, 41, 45};
const QString msg_no_set = QStringLiteral("Please, select the targeted set on the form 'Tsets'");

// The selections the Targeted Sets and Lotto windows would have made.
void select(Session& s, const Numbers& set, int16_t pick_n = 6, float cost = 2) {
    s.tset.set_name(QStringLiteral("Forecaster1"));
    s.tset.set_size(static_cast<int16_t>(set.size()));
    s.tset.numbers().fill(0);
    for (size_t i = 0; i < set.size(); ++i)
        s.tset.numbers()[i + 1] = static_cast<int16_t>(set[i]);
    s.lotto.set_name(QStringLiteral("Canada_6_49"));
    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = pick_n;
    lotto.cost = cost;
    s.lotto.set_params(lotto);
}

Numbers first_numbers(int n) {
    Numbers set(n);
    for (int i = 0; i < n; ++i)
        set[i] = i + 1;
    return set;
}

struct Window : WindowDriver<frmSystem> {
    GridModel& tickets() const { return grid("msfSystem"); }
    GridModel& results() const { return grid("msfResults"); }
    // Picks a system from the list the way a user does.
    void pick(const QString& name) const { WindowDriver::pick("cmbList", name); }
};

// The system file the window writes.
QString system_file(TestApp& app) {
    return QString::fromLatin1(read_all(app.path(QStringLiteral("system"))));
}

// The Targeted Sets window is not always built in: a stand-in lets the tests see it shown.
Window open(TestApp& app) {
    if (!app.windows.knows(window_name::tsets))
        app.windows.add_factory(window_name::tsets, [] { return new QWidget; });
    return {open_window<frmSystem>(app, window_name::system)};
}

} // namespace

class TestSystemWindow : public QObject {
    Q_OBJECT
  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void controls_and_menu() {
        TestApp app;
        select(app.session, sample_set);
        Window win = open(app);
        QCOMPARE(win->windowTitle(), QStringLiteral("Systems"));
        const QList<QPair<const char*, QString>> labels{{"Label1", "Lotto"},
                                                        {"Label2", "Targeted Set"},
                                                        {"Label3", "System"},
                                                        {"Label4", "Guaranteed Results"},
                                                        {"Label5", "Cost of the system"},
                                                        {"lblCost", "0"},
                                                        {"lblNote", ""}};
        for (const auto& [name, text] : labels)
            QCOMPARE(win.text(name), text);
        QCOMPARE(win.get<QPushButton>("cmdPrint")->text(), QStringLiteral("Print System"));
        auto* list = win.get<QComboBox>("cmbList");
        QCOMPARE(list->currentText(), QStringLiteral("Select "));
        QCOMPARE(list->count(), 41);
        QCOMPARE(list->itemText(0), QStringLiteral("10_3_6"));
        QCOMPARE(list->itemText(35), QStringLiteral("19_4_5"));
        QCOMPARE(list->itemText(40), QStringLiteral("20_4_6"));

        const QList<QAction*> actions = win.get<QMenu>("Help")->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[1]->objectName(), QStringLiteral("UserGuide"));
        write_file(app.path(QStringLiteral("system.htm")), "<html><body>Systems</body></html>");
        actions[1]->trigger();
        QWidget* help = app.windows.find(window_name::help);
        QVERIFY(help);
        QVERIFY(
            help->findChild<QTextBrowser*>()->source().toLocalFile().endsWith(QLatin1String("/system.htm")));
    }

    void loading_checks_data() {
        QTest::addColumn<bool>("tset");
        QTest::addColumn<bool>("lotto");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("lblTset");
        QTest::addColumn<QString>("lblLotto");
        const QString none = QStringLiteral("Not selected");
        QTest::newRow("no set: only the set is asked for")
            << false << false << QStringList{msg_select_tset} << window_name::tsets << none << none;
        QTest::newRow("no set, a lotto")
            << false << true << QStringList{msg_select_tset} << window_name::tsets << none << none;
        QTest::newRow("a set, no lotto")
            << true << false << QStringList{msg_select_lotto} << window_name::lotto << "Forecaster1" << none;
        QTest::newRow("both") << true << true << QStringList{} << QString() << "Forecaster1"
                              << "Canada_6_49";
    }
    void loading_checks() {
        QFETCH(bool, tset);
        QFETCH(bool, lotto);
        QFETCH(QStringList, messages);
        QFETCH(QString, shown);
        QFETCH(QString, lblTset);
        QFETCH(QString, lblLotto);
        TestApp app;
        select(app.session, sample_set);
        if (!tset)
            app.session.tset.set_name(QString());
        if (!lotto)
            app.session.lotto.set_name(QString());
        Window win = open(app);
        QCOMPARE(app.dialogs.messages, messages);
        for (const char* name : {window_name::tsets, window_name::lotto}) {
            QWidget* other = app.windows.find(name);
            QCOMPARE(other && other->isVisible(), shown == QLatin1String(name));
        }
        QVERIFY(win->isVisible());
        QCOMPARE(win.text("lblTset"), lblTset);
        QCOMPARE(win.text("lblLotto"), lblLotto);

        // Only loading sets the labels.
        app.session.tset.set_name(QStringLiteral("Other"));
        app.session.lotto.set_name(QStringLiteral("Other"));
        win.pick(QStringLiteral("10_3_6"));
        QCOMPARE(win.text("lblTset"), lblTset);
        QCOMPARE(win.text("lblLotto"), lblLotto);
    }

    void expansion_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Numbers>("set");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("numbers");
        QTest::newRow("10_3_6 N1") << "10_3_6" << sample_set << 10 << 1 << "3 7 12 15 22 34";
        QTest::newRow("10_3_6 rotation 8 wraps") << "10_3_6" << sample_set << 10 << 8 << "38 41 45 3 7 15";
        QTest::newRow("10_4_6 row 11") << "10_4_6" << sample_set << 30 << 11 << "3 7 12 15 31 38";
        QTest::newRow("unsorted set, unsorted tickets")
            << "10_3_6" << Numbers{45, 3, 41, 7, 38, 12, 34, 15, 31, 22} << 10 << 1 << "45 3 41 7 38 34";
        // The largest system; its tickets come from the wheel search, so only their shape is fixed.
        QTest::newRow("19_4_5 last ticket") << "19_4_5" << first_numbers(19) << 969 << 969 << QString();
    }
    void expansion() {
        QFETCH(QString, name);
        QFETCH(Numbers, set);
        QFETCH(int, rows);
        QFETCH(int, row);
        QFETCH(QString, numbers);
        TestApp app;
        select(app.session, set, int16_t(name.endsWith(u'5') ? 5 : 6));
        Window win = open(app);
        win.pick(name);
        QVERIFY(app.dialogs.messages.isEmpty());
        QCOMPARE(app.session.system.name(), name);
        QCOMPARE(int(app.session.system.ticket_count()) * int(set.size()), rows);
        const GridModel& grid = win.tickets();
        QCOMPARE(grid.rows(), rows + 1);
        QCOMPARE(grid.text(0, 0), QStringLiteral("Tickets"));
        QCOMPARE(grid.text(0, 1), QStringLiteral("Numbers"));
        QCOMPARE(grid.col_width(0), 600);
        QCOMPARE(grid.col_width(1), 1500);
        QCOMPARE(grid.text(row, 0), QStringLiteral("N%1").arg(row));
        if (numbers.isEmpty()) {
            numbers = grid.text(row, 1);
            QCOMPARE(numbers.split(u' ').size(), 5);
            QVERIFY(numbers.startsWith(QLatin1String("19 ")));
        }
        QCOMPARE(grid.text(row, 1), numbers);
        const QStringList lines = system_file(app).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), rows + 1);
        QCOMPARE(lines.last(), QString()); // every line ends in CR LF, none is blank
        QCOMPARE(lines[row - 1], QStringLiteral("N%1 %2").arg(row).arg(numbers));
        QVERIFY(win.text("lblNote").isEmpty());
    }

    void file_rewritten_whole() {
        TestApp app;
        select(app.session, sample_set);
        Window win = open(app);
        win.pick(QStringLiteral("10_4_6"));
        win.pick(QStringLiteral("10_3_6"));
        QCOMPARE(system_file(app),
                 QStringLiteral("N1 3 7 12 15 22 34\r\nN2 7 12 15 22 31 38\r\nN3 12 15 22 31 34 41\r\n"
                                "N4 15 22 31 34 38 45\r\nN5 22 31 34 38 41 3\r\nN6 31 34 38 41 45 7\r\n"
                                "N7 34 38 41 45 3 12\r\nN8 38 41 45 3 7 15\r\nN9 41 45 3 7 12 22\r\n"
                                "N10 45 3 7 12 15 31\r\n"));
    }

    void cost_texts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<float>("cost");
        QTest::addColumn<QString>("text");
        QTest::newRow("10 at 2") << "10_3_6" << 2.0f << "20";
        QTest::newRow("30 at 1.5") << "10_4_6" << 1.5f << "45";
        QTest::newRow("10 at 0.1 shows the float error") << "10_3_6" << 0.1f << "1.00000001490116";
    }
    void cost_texts() {
        QFETCH(QString, name);
        QFETCH(float, cost);
        QFETCH(QString, text);
        TestApp app;
        select(app.session, sample_set, 6, cost);
        Window win = open(app);
        win.pick(name);
        QCOMPARE(win.text("lblCost"), text);
    }

    void misfit_changes_only_results_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pick_n");
        QTest::addColumn<QString>("note");
        QTest::newRow("15-number system on a 10-number set")
            << "10_3_6"
            << "15_3_5" << 6
            << "15_3_5 is played on a set of 15 numbers with a lotto that picks 5; the tickets shown are "
               "those of 10_3_6.";
        QTest::newRow("lotto picks 5, nothing expanded yet")
            << QString() << "10_3_6" << 5
            << "10_3_6 is played on a set of 10 numbers with a lotto that picks 6; no tickets are shown.";
    }
    void misfit_changes_only_results() {
        QFETCH(QString, first);
        QFETCH(QString, name);
        QFETCH(int, pick_n);
        QFETCH(QString, note);
        TestApp app;
        select(app.session, sample_set, int16_t(pick_n));
        Window win = open(app);
        if (!first.isEmpty())
            win.pick(first);
        const QString file = system_file(app);
        const QString cost = win.text("lblCost");
        const QString row1 = win.tickets().rows() > 1 ? win.tickets().text(1, 1) : QString();
        const int rows = win.tickets().rows();
        const int16_t count = app.session.system.ticket_count();
        const auto tickets = app.session.system.tickets().rows;

        win.pick(name);
        QCOMPARE(app.session.system.name(), name);
        QCOMPARE(win.results().text(4, 2), QString::number(app.session.system.guar_min()(3, 2)));
        QCOMPARE(win.text("lblNote"), note);
        QCOMPARE(system_file(app), file);
        QCOMPARE(win.text("lblCost"), cost);
        QCOMPARE(win.tickets().rows(), rows);
        if (rows > 1)
            QCOMPARE(win.tickets().text(1, 1), row1);
        QCOMPARE(app.session.system.ticket_count(), count);
        QCOMPARE(app.session.system.tickets().rows, tickets);
        QVERIFY(app.dialogs.messages.isEmpty());

        // The next expansion takes the note away.
        LottoParams six = app.session.lotto.params();
        six.pick_n = 6;
        app.session.lotto.set_params(six);
        win.pick(QStringLiteral("10_4_6"));
        QCOMPARE(win.text("lblNote"), QString());
        QCOMPARE(win.tickets().rows(), 31);
    }

    // A saved wheel holding the tickets of 10_3_6: listed after the catalogue, marked, and picked
    // like any system, its results walked from its own tickets.
    void designed_system_listed_and_picked() {
        TestApp app;
        select(app.session, sample_set);
        write_file(app.path(QStringLiteral("Wheels/Mine.txt")),
                   "1 2 3 4 5 7\r\n2 3 4 5 6 8\r\n3 4 5 6 7 9\r\n4 5 6 7 8 10\r\n1 5 6 7 8 9\r\n"
                   "2 6 7 8 9 10\r\n1 3 7 8 9 10\r\n1 2 4 8 9 10\r\n1 2 3 5 9 10\r\n1 2 3 4 6 10\r\n");
        Window win = open(app);
        const auto* list = win.get<QComboBox>("cmbList");
        QCOMPARE(list->count(), 42);
        QCOMPARE(list->itemText(0), QStringLiteral("10_3_6"));
        QCOMPARE(list->itemText(41), QStringLiteral("Mine (designed)"));
        win.pick(QStringLiteral("10_3_6"));
        std::vector<QString> catalogue_results;
        for (int r = 0; r < win.results().rows(); ++r)
            for (int c = 0; c < win.results().cols(); ++c)
                catalogue_results.push_back(win.results().text(r, c));
        win.pick(QStringLiteral("Mine (designed)"));
        QVERIFY(app.dialogs.messages.isEmpty());
        QCOMPARE(app.session.system.name(), QStringLiteral("Mine (designed)"));
        QCOMPARE(win.tickets().rows(), 11);
        QCOMPARE(win.tickets().text(10, 1), QStringLiteral("3 7 12 15 31 45"));
        QCOMPARE(win.text("lblCost"), QStringLiteral("20"));
        std::vector<QString> designed_results;
        for (int r = 0; r < win.results().rows(); ++r)
            for (int c = 0; c < win.results().cols(); ++c)
                designed_results.push_back(win.results().text(r, c));
        QCOMPARE(designed_results, catalogue_results);
        QVERIFY(system_file(app).startsWith(QStringLiteral("N1 3 7 12 15 22 34\r\n")));
    }

    void no_set_loaded() {
        TestApp app;
        select(app.session, sample_set);
        app.session.tset.numbers().fill(0);
        Window win = open(app);
        win.pick(QStringLiteral("10_4_6"));
        QCOMPARE(app.dialogs.messages, QStringList{msg_no_set});
        QCOMPARE(app.session.system.ticket_count(), int16_t{3}); // loaded before the check
        QCOMPARE(win.tickets().rows(), 1);
        QCOMPARE(win.text("lblCost"), QStringLiteral("0"));
        QVERIFY(!QFile::exists(app.path(QStringLiteral("system"))));
    }

    void results_texts_data() {
        QTest::addColumn<QStringList>("picks");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("cells");
        const QStringList p10_3_6{"10_3_6"};
        QTest::newRow("header row 0")
            << p10_3_6 << 0
            << QStringList{"Number of winning", "", "Number", "of tickets", "with", "winning", "balls="};
        QTest::newRow("header row 1")
            << p10_3_6 << 1 << QStringList{"balls in the targeted set", "", "2", "3", "4", "5", "6"};
        QTest::newRow("10_3_6 i = 2 Min") << p10_3_6 << 2 << QStringList{"2", "Min", "2", "0", "0", "0", "0"};
        QTest::newRow("10_3_6 i = 3 Min") << p10_3_6 << 4 << QStringList{"3", "Min", "6", "1", "0", "0", "0"};
        QTest::newRow("10_3_6 i = 3 Max") << p10_3_6 << 5 << QStringList{"", "Max", "3", "3", "0", "0", "0"};
        QTest::newRow("10_3_6 i = 6 Max") << p10_3_6 << 11 << QStringList{"", "Max", "1", "4", "4", "0", "1"};
        QTest::newRow("12_3_5 i = 5 Max")
            << QStringList{"12_3_5"} << 9 << QStringList{"", "Max", "16", "8", "1", "1", "0"};
        // Row 6 of a 5-number system is not left over from the 6-number system before it.
        QTest::newRow("20_4_6 then 19_4_5, i = 6")
            << QStringList{"20_4_6", "19_4_5"} << 10 << QStringList{"6", "Min", "0", "0", "0", "0", "0"};
    }
    void results_texts() {
        QFETCH(QStringList, picks);
        QFETCH(int, row);
        QFETCH(QStringList, cells);
        TestApp app;
        select(app.session, sample_set);
        Window win = open(app);
        for (const QString& name : picks)
            win.pick(name);
        const GridModel& grid = win.results();
        QCOMPARE(grid.rows(), 12);
        QCOMPARE(grid.cols(), 7);
        QCOMPARE(grid.fixed_rows(), 2);
        QCOMPARE(grid.fixed_cols(), 2);
        QCOMPARE(grid.row_height(0), 2 * grid.row_height(4));
        QCOMPARE(grid.row_height(1), 3 * grid.row_height(4));
        QCOMPARE(grid.col(), 0);
        QCOMPARE(row_cells(win.results(), row), cells);
    }

    // Every shown row is the system's own, computed from its tickets: a 5-number system shows 0 in
    // column 6, and 19_4_5 has rows 4 and 5 although earlier tables gave only rows 2 and 3.
    void results_of_5_number_systems() {
        TestApp app;
        select(app.session, sample_set);
        Window win = open(app);
        win.pick(QStringLiteral("20_4_6"));
        win.pick(QStringLiteral("19_4_5"));
        for (int row = 2; row <= 11; ++row)
            QCOMPARE(win.results().text(row, 6), QStringLiteral("0"));
        GuarAvg avg;
        GuarMinMax lo, hi;
        get_guar_results(QStringLiteral("19_4_5"), avg, lo, hi);
        for (int i = 4; i <= 5; ++i)
            for (int j = 2; j <= 6; ++j) {
                QCOMPARE(win.results().text(2 * i - 2, j), QString::number(lo(i, j)));
                QCOMPARE(win.results().text(2 * i - 1, j), QString::number(hi(i, j)));
            }
        QVERIFY(lo(4, 4) >= 1);
        QCOMPARE(app.session.system.guar_max().cell, hi.cell);
    }

    void printing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("target"); // empty: the print dialog is cancelled
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("min_pages");
        QTest::addColumn<int>("max_pages");
        QTest::newRow("10_3_6 on one page") << "10_3_6" << 10 << "out.pdf" << QString() << 1 << 1;
        QTest::newRow("19_4_5 on several") << "19_4_5" << 19 << "out.pdf" << QString() << 2 << 12;
        QTest::newRow("cancelled") << "10_3_6" << 10 << QString() << QString() << 0 << 0;
        QTest::newRow("nothing expanded")
            << QString() << 10 << "out.pdf"
            << "There are no tickets to print: please pick a system first." << 0 << 0;
        QTest::newRow("the printer cannot start")
            << "10_3_6" << 10 << "missing/out.pdf" << QString::fromLatin1(msg_data_not_correct) << 0 << 0;
    }
    void printing() {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(QString, target);
        QFETCH(QString, message);
        QFETCH(int, min_pages);
        QFETCH(int, max_pages);
        TestApp app;
        select(app.session, first_numbers(size), int16_t(size == 19 ? 5 : 6));
        const QString pdf = target.isEmpty() ? QString() : app.path(target);
        app.dialogs.print_file = pdf;
        Window win = open(app);
        if (!name.isEmpty())
            win.pick(name);
        win.click("cmdPrint");
        QCOMPARE(app.dialogs.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(app.dialogs.print_requests, name.isEmpty() ? 0 : 1);
        QCOMPARE(!pdf.isEmpty() && QFile::exists(pdf), max_pages > 0);
        if (max_pages == 0)
            return;
        const QByteArray bytes = read_all(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        const int pages =
            int(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
        QVERIFY2(pages >= min_pages && pages <= max_pages, qPrintable(QString::number(pages)));
    }

    // The printout names the set's row the tickets were made from by its date.
    void printout_names_the_set_row_data() {
        QTest::addColumn<int>("current_row");
        QTest::addColumn<QString>("line");
        QTest::newRow("the latest row")
            << 2 << "Targeted Set: Forecaster1   row of 2024-05-08: 1 2 3 4 5 6 7 8 9 10";
        QTest::newRow("an earlier row")
            << 1 << "Targeted Set: Forecaster1   row of 2024-05-01: 1 2 3 4 5 6 7 8 9 10";
        QTest::newRow("no row loaded") << 0 << "Targeted Set: Forecaster1   1 2 3 4 5 6 7 8 9 10";
    }
    void printout_names_the_set_row() {
        QFETCH(int, current_row);
        QFETCH(QString, line);
        TestApp app;
        select(app.session, first_numbers(10));
        TextTable& rows = app.session.tset.rows();
        if (current_row > 0) {
            rows.set_cols(11);
            rows.append_rows({{"Date"}, {"2024-05-01"}, {"2024-05-08"}});
            rows.set_fixed_rows(1);
        }
        app.session.tset.set_current_row(current_row);
        Window win = open(app);
        win.pick(QStringLiteral("10_3_6"));
        QCOMPARE(win->printout().header.value(1), line);
    }

    void failed_write_data() {
        QTest::addColumn<bool>("folder");
        QTest::newRow("the file's name is taken by a folder") << true;
        QTest::newRow("the disk fills up halfway") << false;
    }
    void failed_write() {
        QFETCH(bool, folder);
        TestApp app;
        select(app.session, first_numbers(19), 5);
        Window win = open(app);
        const QString path = app.path(QStringLiteral("system"));
        QByteArray before;
        if (folder) {
            QVERIFY(QDir().mkpath(path));
        } else {
            win.pick(QStringLiteral("19_3_5"));
            before = read_all(path);
            QVERIFY(before.size() > 2000);
        }
        // A file-size limit below the new file's size makes the write fail part way.
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
        if (!folder) {
            rlimit limit = old;
            limit.rlim_cur = 4096;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        win.pick(QStringLiteral("19_4_5"));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, old_handler);
        QCOMPARE(app.dialogs.messages, QStringList{msg_data_not_correct});
        QCOMPARE(win.tickets().rows(), 970); // the tickets are shown all the same
        if (folder)
            QVERIFY(QFileInfo(path).isDir());
        else
            QCOMPARE(read_all(path), before);
    }
};

QTEST_MAIN(TestSystemWindow)
#include "test_system_window.moc"
