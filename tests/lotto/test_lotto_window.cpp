#include "core/base/convert.h"
#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/lotto/lotto_files.h"
#include "core/session/session.h"
#include "gui/lotto/frm_lotto.h"
#include "gui/lotto/frm_lotto_import.h"
#include "gui/main/frm_main.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "lotto/sample_lotto.h"
#include "support/faults.h"
#include "support/test_files.h"
#include "support/window_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

const QString type_data = QString::fromLatin1(msg_type_data);
const QString not_correct = QString::fromLatin1(msg_data_not_correct);

// Makes Lto/name with a parameter file and a draws file of the given lines (either left out when null).
void make_lotto(const QString& app_dir, const QString& name, const std::optional<LottoParams>& params,
                const std::optional<QByteArray>& draws) {
    const QString folder = app_dir + QStringLiteral("/Lto/") + name;
    QVERIFY(QDir().mkpath(folder));
    if (params)
        QVERIFY(write_param_file(folder + QStringLiteral("/param.qtz"), *params));
    if (draws)
        write_file(folder + QStringLiteral("/draws.txt"), *draws);
}

const QByteArray three_draws = "2002-01-05 1 2 3 4 5 6 7 \r\n"
                               "2001-12-29  10   11 12 13 14 15 16 \r\n"
                               "   2002-01-02 21 22 23 24 25 26 0 \r\n";

// Records, with every message, which control held the focus while it was shown.
class FocusDialogs final : public Dialogs {
  public:
    void message(QWidget* parent, const QString& text) override {
        seen << text + u'|' + focus_name(parent->window());
    }
    std::optional<QString> input(QWidget*, const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool ask(QWidget*, const QString&) override { return false; }
    std::optional<QString> open_file(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> save_file(QWidget*, const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool choose_printer(QWidget*, QPrinter&) override { return false; }
    QStringList seen;
};

const QStringList entry_boxes{"txtDate", "txtN1", "txtN2", "txtN3", "txtN4", "txtN5", "txtN6", "txtNB"};

struct Window : WindowDriver<frmLotto> {
    GridModel& grid() const { return WindowDriver::grid("msfDraws"); }
    QString buttons() const { return enabled_flags({"cmdLottoCreate", "cmdLottoEdit", "cmdLottoSave"}); }
    // Picks a lotto from the list the way a user does.
    void pick(const QString& name) const { WindowDriver::pick("cmbName", name); }
    QStringList entry() const { return texts(entry_boxes); }
    void set_entry(const QStringList& t) const { set_texts(entry_boxes, t); }
    // The cells of a draws row but its hidden serial.
    QStringList row(int r) const {
        QStringList cells = row_cells(grid(), r);
        cells.removeAt(draws_col::serial);
        return cells;
    }
};

Window open(TestApp& app) {
    return {open_window<frmLotto>(app, QStringLiteral("frmLotto"))};
}

QStringList split(const char* s) {
    return QString::fromLatin1(s).split(u' ');
}

} // namespace

class TestLottoWindow : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void opens_empty_with_only_create() {
        TestApp app;
        Window win = open(app);
        QCOMPARE(win->windowTitle(), QStringLiteral("Lotto"));
        QVERIFY(QFileInfo(app.path(QStringLiteral("Lto"))).isDir());
        QCOMPARE(win.get<QComboBox>("cmbName")->count(), 0);
        QCOMPARE(win.buttons(), QStringLiteral("100"));
        QCOMPARE(win.get<QComboBox>("cmbPlayN")->count(), 71);
        QCOMPARE(win.get<QComboBox>("cmbPlayN")->itemText(70), QStringLiteral("90"));
        QCOMPARE(win.get<QComboBox>("cmbPickN")->itemText(0), QStringLiteral("3"));
        for (const char* name : {"cmbName", "cmbPlayN", "cmbPickN", "txtDate"})
            QCOMPARE(win.text(name), QString());
        // Load-time texts, which differ from Create's for prizes 4 and 5.
        QCOMPARE(win.text("txt4PR"), QStringLiteral("80"));
        QCOMPARE(win.text("txt5PR"), QStringLiteral("2000"));
        QCOMPARE(win.text("txtCurrency"), QStringLiteral("$"));
        QCOMPARE(win.entry().mid(1), split("0 0 0 0 0 0 0"));

        QStringList captions;
        for (QLabel* l : win->findChildren<QLabel*>())
            captions << l->text();
        for (const char* c :
             {"Name", "N of Playing Numbers", "N of Picking Numbers", "2 numbers ", "6 numbers", "2+bonus",
              "6+bonus", "Cost of a one play", "Currency", "Date", "N6", "N Bonus"})
            QVERIFY2(captions.contains(QLatin1String(c)), c);
        QCOMPARE(win.get<QGroupBox>("fraPrizes")->title(), QStringLiteral("Average Payout Prizes"));
        QCOMPARE(win->menuBar()->actions().value(0)->text(), QStringLiteral("&Help"));
        QCOMPARE(win.grid().text(0, draws_col::bonus), QStringLiteral("NBonus"));

        auto* main = app.show<frmMain>(QStringLiteral("frmMain"));
        QVERIFY(main->findChild<QPushButton*>(QStringLiteral("cmdLotto"))->isEnabled());
        QVERIFY(app.dialogs.messages.isEmpty());
    }

    void create_and_save_a_new_lotto() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Zeta"), lotto49(), three_draws);
        Window win = open(app);
        QCOMPARE(win.buttons(), QStringLiteral("110"));
        app.dialogs.answers.push_back(QStringLiteral("Test"));
        win.click("cmdLottoCreate");
        QCOMPARE(app.dialogs.prompts, QStringList{QStringLiteral("Name|Please, type the name")});
        QCOMPARE(win.text("cmbName"), QStringLiteral("Test"));
        QCOMPARE(win.text("txt4PR"), QStringLiteral("100"));
        QCOMPARE(win.text("txt5PR"), QStringLiteral("1000"));
        QCOMPARE(win.buttons(), QStringLiteral("001"));

        win.set("cmbPlayN", QStringLiteral("49"));
        win.set("cmbPickN", QStringLiteral("6"));
        win.set("txt6PRB", QStringLiteral("2.5"));
        win.set("txtCurrency", QStringLiteral("EU"));
        win.click("cmdLottoSave");
        QCOMPARE(app.dialogs.messages, QStringList());

        LottoParams want = lotto49(); // Create's texts, then the boxes typed above
        want.prize2 = 0;
        want.prize4 = 100;
        want.prize5 = 1000;
        want.prize6b = 2.5f;
        want.cost = 1;
        want.currency = QStringLiteral("EU");
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Test/param.qtz"))), encode_params(want).value());
        QCOMPARE(app.session.lotto.params(), want);
        QCOMPARE(app.session.lotto.name(), QStringLiteral("Test"));
        QCOMPARE(win.get<QComboBox>("cmbName")->itemText(0), QStringLiteral("Test"));
        QCOMPARE(win.get<QComboBox>("cmbName")->count(), 2);
        QCOMPARE(win.text("cmbName"), QStringLiteral("Test"));
        QCOMPARE(win.buttons(), QStringLiteral("110"));
    }

    // Create keeps the table of the lotto loaded before (its draws are not the new lotto's): the
    // draws Save refuses to write them into the new lotto; saving the new lotto's parameters makes
    // it the current one, with a table of its own that Import, Export and Check work on.
    void create_never_takes_the_previous_draws() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Zeta"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Zeta"));
        app.dialogs.answers.push_back(QStringLiteral("Test"));
        win.click("cmdLottoCreate");
        QCOMPARE(win.grid().rows(), 4); // the parameters reset, the draws untouched
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages, QStringList{QString::fromUtf8(msg_draws_not_loaded)});
        QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("Lto/Test/draws.txt"))));
        app.dialogs.messages.clear();

        win.set("cmbPlayN", QStringLiteral("49"));
        win.set("cmbPickN", QStringLiteral("6"));
        win.click("cmdLottoSave");
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(win.grid().rows(), 1);
        QCOMPARE(app.session.lotto.draws_lotto(), QStringLiteral("Test"));
        QVERIFY(!app.session.lotto.modified());
        win.click("cmdCheck"); // the saved lotto is the one selected
        QCOMPARE(app.dialogs.messages, QStringList());
        win.click("cmdDrawNew");
        win.set_entry(split("2026-12-05 1 2 3 4 5 6 7"));
        win.click("cmdAdd");
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Test/draws.txt"))), "2026-12-05 1 2 3 4 5 6 7 \r\n");
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Zeta/draws.txt"))), three_draws);
    }

    void save_refused_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const auto row = [](const char* tag, const char* box, const QString& text, const QString& message,
                            const char* focus) {
            QTest::newRow(tag) << QString::fromLatin1(box) << text << message << QString::fromLatin1(focus);
        };
        row("empty name", "cmbName", QString(), type_data, "cmbName");
        row("empty numbers in play", "cmbPlayN", QString(), type_data, "cmbPlayN");
        row("empty numbers picked", "cmbPickN", QString(), type_data, "cmbPickN");
        row("empty cost", "txtCost", QString(), type_data, "txtCost");
        row("empty currency", "txtCurrency", QString(), type_data, "txtCurrency");
        // The prize boxes have no empty check of their own: an empty one fails to convert.
        row("empty prize 2", "txt2PR", QString(), not_correct, "txt2PR");
        row("letters in prize 6+bonus", "txt6PRB", QStringLiteral("1e"), not_correct, "txt6PRB");
        row("letters in cost", "txtCost", QStringLiteral("one"), not_correct, "txtCost");
        row("letters in numbers in play", "cmbPlayN", QStringLiteral("4x"), not_correct, "cmbPlayN");
        row("numbers picked beyond 16 bits", "cmbPickN", QStringLiteral("40000"), not_correct, "cmbPickN");
        row("name ..", "cmbName", QStringLiteral(".."), not_correct, "cmbName");
        row("name .", "cmbName", QStringLiteral("."), not_correct, "cmbName");
        row("name with /", "cmbName", QStringLiteral("../evil"), not_correct, "cmbName");
        row("name with \\", "cmbName", QStringLiteral("a\\b"), not_correct, "cmbName");
        row("name with a control character", "cmbName", QStringLiteral("a\tb"), not_correct, "cmbName");
        // Counts the rest of the program cannot handle; the box at fault gets the focus.
        row("numbers in play above 90", "cmbPlayN", QStringLiteral("91"), not_correct, "cmbPlayN");
        row("numbers in play below numbers picked", "cmbPlayN", QStringLiteral("5"), not_correct, "cmbPlayN");
        row("numbers in play negative", "cmbPlayN", QStringLiteral("-5"), not_correct, "cmbPlayN");
        row("numbers picked 7", "cmbPickN", QStringLiteral("7"), not_correct, "cmbPickN");
        row("numbers picked 0", "cmbPickN", QStringLiteral("0"), not_correct, "cmbPickN");
        row("prize beyond a float", "txt5PRB", QStringLiteral("1e39"), not_correct, "txt5PRB");
        // The record holds at most two bytes of currency; nothing is made on disk for it.
        row("currency of three characters", "txtCurrency", QStringLiteral("EUR"), not_correct, "txtCost");
    }
    void save_refused() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestApp app;
        Window win = open(app);
        app.dialogs.answers.push_back(QStringLiteral("New"));
        win.click("cmdLottoCreate");
        win.set("cmbPlayN", QStringLiteral("49"));
        win.set("cmbPickN", QStringLiteral("6"));
        win.set(qPrintable(box), text);
        win.click("cmdLottoSave");
        QCOMPARE(app.dialogs.messages, QStringList{message});
        QCOMPARE(win.focus(), focus);
        QCOMPARE(win.buttons(), QStringLiteral("001")); // still editing, so the user can correct and save
        QCOMPARE(QDir(app.path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Lto")});
        QCOMPARE(QDir(app.path(QStringLiteral("Lto"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(app.session.lotto.name(), QString());
    }

    void failed_store_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cur_name");
        // The folder cannot be made: the name is not taken.
        QTest::newRow("lotto folder is a file") << "plain" << QString();
        // The file cannot be written: the name was taken just before, as the steps go.
        QTest::newRow("parameter file is a folder") << "blocked"
                                                    << "blocked";
    }
    void failed_store() {
        QFETCH(QString, name);
        QFETCH(QString, cur_name);
        TestApp app;
        QVERIFY(QDir().mkpath(app.path(QStringLiteral("Lto/blocked/param.qtz/inside"))));
        write_file(app.path(QStringLiteral("Lto/plain")), QByteArray());
        Window win = open(app);
        app.dialogs.answers.push_back(name);
        win.click("cmdLottoCreate");
        win.set("cmbPlayN", QStringLiteral("49"));
        win.set("cmbPickN", QStringLiteral("6"));
        win.click("cmdLottoSave");
        QCOMPARE(app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(win.focus(), QStringLiteral("txtCost"));
        QCOMPARE(win.buttons(), QStringLiteral("001"));
        QCOMPARE(app.session.lotto.params().play_n, int16_t(49));
        QCOMPARE(app.session.lotto.name(), cur_name);
        QVERIFY(QFileInfo(app.path(QStringLiteral("Lto/plain"))).isFile());
        QVERIFY(QFileInfo(app.path(QStringLiteral("Lto/blocked/param.qtz"))).isDir());
    }

    void failed_save_keeps_the_members_converted_before() {
        TestApp app;
        Window win = open(app);
        app.dialogs.answers.push_back(QStringLiteral("Test"));
        win.click("cmdLottoCreate");
        win.set("cmbPlayN", QStringLiteral("49"));
        win.set("cmbPickN", QStringLiteral("6"));
        win.set("txt2PR", QStringLiteral("3"));
        win.set("txt2PRB", QStringLiteral("4"));
        win.set("txt3PR", QStringLiteral("abc"));
        win.click("cmdLottoSave");
        QCOMPARE(app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(win.focus(), QStringLiteral("txt3PR"));
        QCOMPARE(app.session.lotto.params().play_n, int16_t(49));
        QCOMPARE(app.session.lotto.params().prize2, 3.0f);
        QCOMPARE(app.session.lotto.params().prize2b, 4.0f);
        QCOMPARE(app.session.lotto.params().prize3, 0.0f);
        QCOMPARE(app.session.lotto.name(), QString());
    }

    void load_a_lotto() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(app.session.lotto.params(), lotto49());
        QCOMPARE(app.session.lotto.name(), QStringLiteral("Six49"));
        QCOMPARE(win.text("cmbPlayN"), QStringLiteral("49"));
        QCOMPARE(win.text("txt2PR"), QStringLiteral("2.5"));
        QCOMPARE(win.text("txt6PR"), QStringLiteral("1000000"));
        QCOMPARE(win.text("txtCost"), QStringLiteral("3"));
        QCOMPARE(win.text("txtCurrency"), QStringLiteral("€"));
        // Sorted by date; the latest draw in the boxes, and the boxes belong to it.
        QCOMPARE(win.grid().rows(), 4);
        QCOMPARE(win.row(1), split("2001-12-29 10 11 12 13 14 15 16"));
        QCOMPARE(win.row(3), split("2002-01-05 1 2 3 4 5 6 7"));
        QCOMPARE(win.entry(), split("2002-01-05 1 2 3 4 5 6 7"));
        QCOMPARE(app.session.lotto.current_row(), 3);
        const auto* view = win->findChild<GridView*>(QStringLiteral("msfDraws"));
        QCOMPARE(view->currentIndex().row() + 1, 3); // keyboard use starts at that draw
        QCOMPARE(win.grid().col(), draws_col::serial);
        QCOMPARE(win.buttons(), QStringLiteral("110"));
        QCOMPARE(win.grid().col_width(draws_col::serial), 0);
        QCOMPARE(win.grid().col_width(draws_col::n1 + 5), win.grid().col_width(draws_col::date) / 2);
        QCOMPARE(app.session.lotto.current_draw(), DrawRec{}); // loading selects no draw
        win.click("cmdLottoEdit");
        QCOMPARE(win.buttons(), QStringLiteral("001"));
    }

    // Only picking from the list loads: typing a listed name while creating must not load it.
    void typing_a_listed_name_does_not_load() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        QLineEdit* editor = win.get<QComboBox>("cmbName")->lineEdit();
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("Six49"));
        QTest::keyClick(editor, Qt::Key_Return);
        emit editor->editingFinished();
        QCOMPARE(win.text("cmbName"), QStringLiteral("Six49"));
        QCOMPARE(app.session.lotto.name(), QString());
        QCOMPARE(win.grid().rows(), 1);
        QVERIFY(app.dialogs.messages.isEmpty());
    }

    void load_failures_data() {
        QTest::addColumn<bool>("has_params");
        QTest::addColumn<QByteArray>("draws"); // null: no draws file
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("sel_row");
        // The table does not go on showing A's draws under B's name.
        QTest::newRow("no parameter file") << false << three_draws << "No the file 'param.qtz'." << 1 << 0;
        QTest::newRow("no draws file") << true << QByteArray() << "No the file 'draws.txt'" << 1 << 2;
        QTest::newRow("a date that does not parse")
            << true << QByteArray("2002-01-05 1 2 3 4 5 6 7 \r\n2002-13-01 1 2 3 4 5 6 7 \r\n")
            << "Not correct dates" << 3 << 1;
        QTest::newRow("an empty draws file") << true << QByteArray("") << QString() << 1 << 0;
        QTest::newRow("draws with a byte-order mark and lone CRs")
            << true
            << QByteArray("\xef\xbb\xbf"
                          "2002-01-05 1 2 3 4 5 6 7 \r2002-01-12 1 2 3 4 5 6 7 \r")
            << QString() << 3 << 2;
    }
    void load_failures() {
        QFETCH(bool, has_params);
        QFETCH(QByteArray, draws);
        QFETCH(QString, message);
        QFETCH(int, rows);
        QFETCH(int, sel_row);
        TestApp app;
        LottoParams other = lotto49();
        other.play_n = 45;
        other.currency = QStringLiteral("$");
        make_lotto(app.dir.path(), QStringLiteral("A"), other,
                   QByteArray("2001-01-01 1 2 3 4 5 6 0 \r\n2001-01-03 7 8 9 10 11 12 0 \r\n"));
        make_lotto(app.dir.path(), QStringLiteral("B"), has_params ? std::optional(lotto49()) : std::nullopt,
                   draws.isNull() ? std::nullopt : std::optional(draws));
        Window win = open(app);
        win.pick(QStringLiteral("A"));
        win.pick(QStringLiteral("B"));
        QCOMPARE(app.dialogs.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(win.grid().rows(), rows);
        QCOMPARE(app.session.lotto.current_row(), sel_row);
        QCOMPARE(app.session.lotto.name(), has_params ? QStringLiteral("B") : QStringLiteral("A"));
        QCOMPARE(win.text("cmbPlayN"), has_params ? QStringLiteral("49") : QStringLiteral("45"));
        QCOMPARE(win.grid().text(0, draws_col::date), QStringLiteral("Date"));
        if (message == QLatin1String("Not correct dates")) // file order kept
            QCOMPARE(win.row(2).first(), QStringLiteral("2002-13-01"));
        if (message.isEmpty() && rows == 1) {
            QCOMPARE(win.entry(), split(" 0 0 0 0 0 0 0"));
            win.set_entry(split("2002-01-05 1 2 3 4 5 6 7"));
            win.click("cmdAdd");
            QCOMPARE(win.grid().rows(), 1);
            QCOMPARE(win.grid().text(0, draws_col::date), QStringLiteral("Date")); // the header stays
        }
    }

    // A hand-edited record with counts the program cannot handle loads like a cut-short one.
    void out_of_range_parameters_are_refused_on_load() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("A"), lotto49(), three_draws);
        make_lotto(app.dir.path(), QStringLiteral("B"), std::nullopt, three_draws);
        QByteArray bytes = encode_params(lotto49()).value();
        bytes.replace(0, 2, QByteArray::fromHex("409c")); // numbers in play 40000
        write_file(app.path(QStringLiteral("Lto/B/param.qtz")), bytes);
        Window win = open(app);
        win.pick(QStringLiteral("A"));
        win.pick(QStringLiteral("B"));
        QCOMPARE(app.dialogs.messages, QStringList{not_correct});
        QCOMPARE(app.session.lotto.params(), lotto49());
        QCOMPARE(app.session.lotto.name(), QStringLiteral("A"));
        QCOMPARE(win.text("cmbPlayN"), QStringLiteral("49"));
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/B/param.qtz"))), bytes);
    }

    void check_draw_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("N1 = 49 passes") << "2026-12-05 49 2 3 4 5 6 7" << QString() << QString();
        QTest::newRow("N4 = 0 passes") << "2026-12-05 1 2 3 0 5 6 7" << QString() << QString();
        QTest::newRow("bonus = 0 passes") << "2026-12-05 1 2 3 4 5 6 0" << QString() << QString();
        QTest::newRow("N1 = 0 fails") << "2026-12-05 0 2 3 4 5 6 7" << not_correct << "txtN1";
        QTest::newRow("N3 = 0 fails") << "2026-12-05 1 2 0 4 5 6 7" << not_correct << "txtN3";
        QTest::newRow("N6 = 50 fails") << "2026-12-05 1 2 3 4 5 50 7" << not_correct << "txtN6";
        QTest::newRow("negative bonus fails") << "2026-12-05 1 2 3 4 5 6 -1" << not_correct << "txtNB";
        QTest::newRow("empty N3") << "2026-12-05 1 2 _ 4 5 6 7" << type_data << "txtN3";
        QTest::newRow("letter in N3") << "2026-12-05 1 2 x 4 5 6 7" << not_correct << "txtN3";
        QTest::newRow("no such day") << "2026-02-30 1 2 3 4 5 6 7" << not_correct << "txtDate";
        QTest::newRow("empty date before a bad number") << "_ 0 2 3 4 5 6 7" << type_data << "txtDate";
        QTest::newRow("bad N2 before empty N5") << "2026-12-05 1 b 3 4 _ 6 7" << not_correct << "txtN2";
    }
    void check_draw() {
        QFETCH(QString, entry);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        const QStringList before = win.row(3);
        QStringList texts = entry.split(u' ');
        texts.replaceInStrings(QStringLiteral("_"), QString());
        win.set_entry(texts);
        win.click("cmdAdd");
        QCOMPARE(app.dialogs.messages, message.isEmpty() ? QStringList() : QStringList{message});
        if (message.isEmpty()) {
            QCOMPARE(win.row(3), texts);
            QCOMPARE(app.session.lotto.current_draw().n[0], texts[1].toShort());
            QCOMPARE(app.session.lotto.current_draw().date, date_to_serial(QDate(2026, 12, 5)));
        } else {
            QCOMPARE(win.focus(), focus);
            QCOMPARE(win.row(3), before);
            QCOMPARE(app.session.lotto.current_draw(), DrawRec{});
        }
    }

    void focus_moves_before_or_after_the_message() {
        QTemporaryDir dir;
        Session session;
        session.app_dir = dir.path();
        FocusDialogs dialogs;
        WindowRegistry windows;
        Navigator navigator{windows};
        AppContext ctx{session, dialogs, navigator, [] {}};
        register_windows(windows, ctx);
        make_lotto(dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win{qobject_cast<frmLotto*>(windows.show(QStringLiteral("frmLotto")))};
        win.pick(QStringLiteral("Six49"));
        win.get<QLineEdit>("txtDate")->setFocus();
        win.set("txtN6", QStringLiteral("50"));
        win.click("cmdAdd"); // out of range: the box has the focus while the message shows
        win.set("txtN6", QStringLiteral("6"));
        win.set("txtN3", QString());
        win.click("cmdAdd"); // empty: the message first, then the focus
        QCOMPARE(dialogs.seen,
                 (QStringList{not_correct + QStringLiteral("|txtN6"), type_data + QStringLiteral("|txtN6")}));
        QCOMPARE(win.focus(), QStringLiteral("txtN3"));
        windows.destroy_all();
    }

    void add_writes_the_row_as_typed() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(),
                   "12/29/2001 10 11 12 13 14 15 16 \r\n01/05/2002 1 2 3 4 5 6 7 \r\n");
        const QByteArray file = read_all(app.path(QStringLiteral("Lto/Six49/draws.txt")));
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        QCOMPARE(win.row(1).first(), QStringLiteral("12/29/2001"));
        // Overwrites the latest draw (sel_row is the last row) with an earlier date, not re-sorted.
        win.set_entry(split("1/5/2001T18:00 7.5 6.5 3 4 5 6 0"));
        win.click("cmdAdd");
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(win.row(2), split("1/5/2001T18:00 7.5 6.5 3 4 5 6 0"));
        QCOMPARE(win.grid().text(2, draws_col::serial), QString::number(date_to_serial(QDate(2001, 1, 5))));
        DrawRec want;
        want.date = date_to_serial(QDate(2001, 1, 5)) + 0.75;
        want.n = {8, 6, 3, 4, 5, 6};
        QCOMPARE(app.session.lotto.current_draw(), want);
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt"))), file);
    }

    // The table shows, and the file gets, what a single-byte file can hold: ASCII digits for the
    // locale's own, the date without its direction marks.
    void add_keeps_what_the_file_can_hold() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        const QLocale fa(QLocale::Persian, QLocale::Iran);
        QLocale::setDefault(fa);
        QStringList typed{QString::fromUtf8("2030-01-05\u200e")};
        for (const int n : {1, 12, 23, 34, 45, 46, 7})
            typed << fa.toString(n);
        win.set_entry(typed);
        win.click("cmdAdd");
        QCOMPARE(app.dialogs.messages, QStringList());
        QCOMPARE(win.row(3), split("2030-01-05 1 12 23 34 45 46 7"));
        QCOMPARE(win.entry(), split("2030-01-05 1 12 23 34 45 46 7"));
    }

    void new_row_blocks_save_until_filled() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        win.click("cmdDrawNew");
        QCOMPARE(win.entry(), split("2026-12-07 0 0 0 0 0 0 0"));
        QCOMPARE(win.grid().rows(), 5);
        QCOMPARE(app.session.lotto.current_row(), 4);
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages,
                 QStringList{QStringLiteral(
                     "The data was not saved. Not correct date was found. Please correct the date")});
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt"))), three_draws);
    }

    void new_draw_is_saved_at_its_date() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        win.click("cmdDrawNew");
        win.set_entry(split("2002-01-01 31 32 33 34 35 36 0"));
        win.click("cmdAdd");
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages, QStringList());
        const QByteArray want = "2001-12-29 10 11 12 13 14 15 16 \r\n"
                                "2002-01-01 31 32 33 34 35 36 0 \r\n"
                                "2002-01-02 21 22 23 24 25 26 0 \r\n"
                                "2002-01-05 1 2 3 4 5 6 7 \r\n";
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt"))), want);
        // The boxes still belong to the new draw: a corrected Add changes it, not the latest draw.
        QCOMPARE(app.session.lotto.current_row(), 2);
        win.set("txtN6", QStringLiteral("37"));
        win.click("cmdAdd");
        QCOMPARE(win.row(2), split("2002-01-01 31 32 33 34 35 37 0"));
        QCOMPARE(win.row(4), split("2002-01-05 1 2 3 4 5 6 7"));
    }

    // Another window (the generator) may sort the table; the entry boxes' row moves with its draw.
    void selected_draw_follows_a_sort_by_another_window() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        QCOMPARE(app.session.lotto.current_row(), 3);
        QCOMPARE(win.grid().text(3, draws_col::date), "2002-01-05");
        // Newest first, through the table's own sort as the generator's.
        TextTable& draws = app.session.lotto.draws();
        std::vector<double> keys;
        for (int r = 1; r < draws.rows(); ++r)
            keys.push_back(-TextTable::number_of(draws.text_view(r, draws_col::serial)).value_or(0.0));
        draws.sort_rows_by_keys(1, keys);
        QCOMPARE(app.session.lotto.current_row(), 1);
        QCOMPARE(win.grid().text(1, draws_col::date), "2002-01-05");
    }

    // Today's date as New writes it reads back in every kind of locale: a final dot, direction
    // marks, a blank between month and year.
    void new_then_add_in_locales_data() {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "ko_KR", "hu_HU", "hr_HR", "sr_Latn_RS", "ar_EG", "kkj_CM"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void new_then_add_in_locales() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        win.click("cmdDrawNew");
        const QString today = win.text("txtDate");
        QCOMPARE(today, date_to_text(QDate(2026, 12, 7)));
        win.set_entry(QStringList{today, "1", "2", "3", "4", "5", "6", "0"});
        win.click("cmdAdd");
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages, QStringList());
        QVERIFY(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt")))
                    .endsWith(today.toLatin1() + " 1 2 3 4 5 6 0 \r\n"));
    }

    void select_rows() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(),
                   three_draws + "2002-01-09 1 2 x 4 5 6 7 \r\n");
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        QVERIFY(QTest::qWaitForWindowExposed(win.w));
        auto* view = win.get<GridView>("msfDraws");

        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 4, header->height() / 2));
        QCOMPARE(app.dialogs.messages, QStringList{QStringLiteral("Please select a correct row")});
        QCOMPARE(app.session.lotto.current_row(), 4);

        const QPoint cell = view->visualRect(view->model()->index(1, 3)).center(); // grid row 2
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(app.dialogs.messages.size(), 1);
        QCOMPARE(app.session.lotto.current_row(), 2);
        QCOMPARE(win.entry(), split("2002-01-02 21 22 23 24 25 26 0"));
        DrawRec want;
        want.date = date_to_serial(QDate(2002, 1, 2));
        want.n = {21, 22, 23, 24, 25, 26};
        QCOMPARE(app.session.lotto.current_draw(), want);

        // A bad cell: the boxes already show the row, and the members before it are taken.
        win.grid().set_row_sel(4);
        emit view->grid_clicked();
        QCOMPARE(app.dialogs.messages.last(), QStringLiteral("In the selected row not correct data"));
        QCOMPARE(win.entry(), split("2002-01-09 1 2 x 4 5 6 7"));
        QCOMPARE(app.session.lotto.current_row(), 4);
        want.date = date_to_serial(QDate(2002, 1, 9));
        want.n[0] = 1;
        want.n[1] = 2;
        QCOMPARE(app.session.lotto.current_draw(), want);

        win.grid().set_row_sel(5);
        emit view->grid_clicked();
        QCOMPARE(app.dialogs.messages.last(), QStringLiteral("Please select a correct row"));
    }

    // Moving the highlight with the keyboard selects the draw as a click does.
    void keys_select_rows_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("entry");
        QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << 1
                                   << "2001-12-29 10 11 12 13 14 15 16";
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << 1 << "2001-12-29 10 11 12 13 14 15 16";
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << 3 << "2002-01-05 1 2 3 4 5 6 7";
        QTest::newRow("Ctrl+End") << int(Qt::Key_End) << int(Qt::ControlModifier) << 3
                                  << "2002-01-05 1 2 3 4 5 6 7";
        QTest::newRow("Right: the same row, nothing selected anew")
            << int(Qt::Key_Right) << 0 << 2 << "2002-01-02 21 22 23 24 25 26 0";
    }
    void keys_select_rows() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, row);
        QFETCH(QString, entry);
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        QVERIFY(QTest::qWaitForWindowExposed(win.w));
        auto* view = win.get<GridView>("msfDraws");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(1, 3)).center()); // grid row 2
        QCOMPARE(app.session.lotto.current_row(), 2);
        QTest::keyClick(view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(app.session.lotto.current_row(), row);
        QCOMPARE(win.entry(), split(qPrintable(entry)));
        QCOMPARE(app.session.lotto.current_draw().date,
                 date_to_serial(QDate::fromString(entry.left(10), Qt::ISODate)));
        QCOMPARE(app.dialogs.messages, QStringList());
    }

    // Rows 1..4 dated 3, 1, 2, 1 January: where each row lands in the stable ascending sort.
    void sort_follows_a_row_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("to");
        QTest::newRow("latest") << 1 << 4;
        QTest::newRow("first of two equal") << 2 << 1;
        QTest::newRow("middle") << 3 << 3;
        QTest::newRow("second of two equal") << 4 << 2;
        QTest::newRow("header stays") << 0 << 0;
    }
    void sort_follows_a_row() {
        QFETCH(int, row);
        QFETCH(int, to);
        TextTable grid;
        grid.set_cols(draws_col::count);
        reset_draws_table(grid);
        int id = 0;
        for (const char* date : {"2003-01-03", "2003-01-01", "2003-01-02", "2003-01-01"})
            grid.append_rows({QStringList{QLatin1String(date), QString(), QString::number(++id)}});
        const QString moved = grid.text(row, 2);
        int follow = row;
        QVERIFY(sort_draws_table(grid, &follow));
        QCOMPARE(follow, to);
        QCOMPARE(grid.text(follow, 2), moved);
    }

    void save_draws_refused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty name") << QString() << type_data << "cmbName";
        QTest::newRow("name leaving Lto") << "../Six49" << not_correct << "cmbName";
        QTest::newRow("lotto folder is a file") << "plain" << not_correct << QString();
        QTest::newRow("another lotto's draws file")
            << "blocked" << QString::fromLatin1(msg_draws_not_loaded) << QString();
    }
    void save_draws_refused() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        write_file(app.path(QStringLiteral("Lto/plain")), QByteArray());
        QVERIFY(QDir().mkpath(app.path(QStringLiteral("Lto/blocked/draws.txt/inside"))));
        Window win = open(app);
        // Six49's draws are never saved into another lotto: the folder that is a file is met
        // with draws typed before any lotto was loaded.
        if (name != u"plain")
            win.pick(QStringLiteral("Six49"));
        win.set("cmbName", name);
        win->setFocus();
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages, QStringList{message});
        if (!focus.isEmpty())
            QCOMPARE(win.focus(), focus);
        QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("Lto/draws.txt"))));
        QVERIFY(!QFileInfo::exists(app.path(QStringLiteral("draws.txt"))));
        QVERIFY(QFileInfo(app.path(QStringLiteral("Lto/blocked/draws.txt"))).isDir());
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt"))), three_draws);
    }

    // A disk that fills up halfway through both saves (a file-size limit, which binds root too):
    // the old files stay whole and each save says it failed.
    void failed_write_keeps_the_old_file() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        const QString folder = app.path(QStringLiteral("Lto/Six49"));
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        win.set("txtN1", QStringLiteral("9"));
        win.click("cmdAdd");
        win.set("txtCost", QStringLiteral("2"));
        const auto saved = save_with_file_size_limit(20, [&] {
            win.click("cmdDrawSave");
            win.click("cmdLottoEdit");
            win.click("cmdLottoSave");
            return app.dialogs.messages == QStringList{not_correct, not_correct};
        });
        QVERIFY(saved.has_value());
        QVERIFY(*saved);
        QCOMPARE(read_all(folder + QStringLiteral("/draws.txt")), three_draws);
        QCOMPARE(read_all(folder + QStringLiteral("/param.qtz")), encode_params(lotto49()).value());
        QCOMPARE(folder_entries(folder), (QStringList{"draws.txt", "param.qtz"}));
    }

    // Import adds the new draws to the table (Save writes them); export and check read the table.
    // The Import dialog lists every conflict and rejection however far down, keeps a period and a
    // kind of row, shows the file by column number and offers the map it reads from it.
    void import_dialog_shows_what_matters() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        QByteArray bclc =
            "PRODUCT,DRAW NUMBER,SEQUENCE NUMBER,DRAW DATE,NUMBER DRAWN 1,NUMBER DRAWN 2,NUMBER DRAWN "
            "3,NUMBER DRAWN 4,NUMBER DRAWN 5,NUMBER DRAWN 6,BONUS NUMBER\n";
        for (int i = 0; i < 240; ++i)
            bclc += QStringLiteral("649,%1,0,%2,1,2,3,4,5,%3,7\n")
                        .arg(1000 + i)
                        .arg(QDate(2003, 1, 4).addDays(7 * i).toString(Qt::ISODate))
                        .arg(8 + i % 40)
                        .toUtf8();
        bclc += "649,1239,1,2007-08-04,11,12,13,14,15,16,0\n649,1240,0,2007-08-11,1,2,3,4,5,66,7\n";
        const QString csv = app.path(QStringLiteral("bclc.csv"));
        write_file(csv, bclc);
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        app.dialogs.file_answers = {csv};
        win.click("cmdImport");
        WindowDriver<frmImport> dialog{win->findChild<frmImport*>(QStringLiteral("frmImport"))};
        QVERIFY(dialog.w);
        auto* preview = dialog.get<QTableWidget>("msfPreview");
        QCOMPARE(preview->rowCount(), 200);
        dialog.get<QCheckBox>("chkTroubles")->setChecked(true);
        QCOMPARE(preview->rowCount(), 1);
        QCOMPARE(preview->item(0, 0)->text(), QStringLiteral("243"));
        QVERIFY(dialog.text("lblShared")
                    .startsWith("rows sharing a date or draw number: more than one draw on 1 "
                                "date and 1 draw number"));
        QCOMPARE(dialog.get<QPushButton>("cmdKeepOne")->text(),
                 QStringLiteral("Keep only SEQUENCE NUMBER=0"));
        dialog.click("cmdKeepOne");
        QCOMPARE(dialog.text("txtWhere"), QStringLiteral("SEQUENCE NUMBER=0"));
        QVERIFY(dialog.get<QLabel>("lblShared")->isHidden());
        dialog.set("txtImportFrom", "2007-01-01");
        dialog.set("txtImportTo", "2007-12-31");
        dialog.w->refresh();
        QCOMPARE(
            dialog.text("lblCounts"),
            QStringLiteral("Read 32 rows: 31 new, 0 already present, 0 conflicting, 1 rejected; 0 draw dates "
                           "missing."));
        dialog.set("txtImportTo", "2006-12-31");
        dialog.w->refresh();
        QCOMPARE(dialog.text("lblCounts"), QStringLiteral("From comes after To"));

        // No header: the first lines by column, and a map read from them.
        const QString texas = app.path(QStringLiteral("texas.csv"));
        write_file(texas, "Lotto Texas,11,14,1992,13,16,22,29,32,36\nLotto Texas,11,18,1992,2,9,17,25,31,45\n"
                          "Lotto Texas,11,21,1992,1,12,18,33,40,49\n");
        dialog.set_texts({"txtFile", "txtImportFrom", "txtImportTo", "txtWhere"}, {texas});
        dialog.w->refresh();
        auto* raw = dialog.get<QTableWidget>("msfRaw");
        QCOMPARE(raw->rowCount(), 3);
        QCOMPARE(raw->horizontalHeaderItem(3)->text(), QStringLiteral("4"));
        QCOMPARE(raw->item(0, 3)->text(), QStringLiteral("1992"));
        QCOMPARE(dialog.get<QPushButton>("cmdUseColumns")->text(),
                 QStringLiteral("Use date=2-4,numbers=5-10,bonus=none"));
        dialog.click("cmdUseColumns");
        QCOMPARE(dialog.text("txtColumns"), QStringLiteral("date=2-4,numbers=5-10,bonus=none"));
        QCOMPARE(
            dialog.text("lblCounts"),
            QStringLiteral("Read 3 rows: 3 new, 0 already present, 0 conflicting, 0 rejected; 0 draw dates "
                           "missing."));
        click_control(dialog.w, "cmdImport");
        QCOMPARE(win.grid().rows(), 7);
        QCOMPARE(win.row(1), split("1992-11-14 13 16 22 29 32 36 0"));
    }

    void import_export_and_check() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        const QString csv = app.path(QStringLiteral("history.csv"));
        write_file(csv, "Date;N1;N2;N3;N4;N5;N6;Bonus\n2002-01-09;1;2;3;4;5;6;7\n2002-01-05;1;2;3;4;5;6;7\n"
                        "2002-01-12;1;2;3;4;5;66;7\n2002-01-16;8;9;10;11;12;13;0\n");
        Window win = open(app);
        win.click("cmdImport");
        QCOMPARE(app.dialogs.messages, QStringList{QString::fromLatin1(msg_select_lotto)});
        win.pick(QStringLiteral("Six49"));
        app.dialogs.file_answers = {csv};
        win.click("cmdImport");
        auto* dialog = win->findChild<frmImport*>(QStringLiteral("frmImport"));
        QVERIFY(dialog);
        auto* preview = dialog->findChild<QTableWidget*>(QStringLiteral("msfPreview"));
        QCOMPARE(preview->rowCount(), 4);
        QCOMPARE(preview->item(1, preview->columnCount() - 1)->text(), QStringLiteral("already present"));
        QCOMPARE(preview->item(2, preview->columnCount() - 1)->text(),
                 QStringLiteral("rejected: number 66 is outside 1..49"));
        QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("lblCounts"))
                    ->text()
                    .startsWith(
                        QStringLiteral("Read 4 rows: 2 new, 1 already present, 0 conflicting, 1 rejected")));
        click_control(dialog, "cmdImport");
        QCOMPARE(win.grid().rows(), 6);
        QCOMPARE(win.row(5), split("2002-01-16 8 9 10 11 12 13 0"));
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt"))), three_draws); // not saved yet
        win.click("cmdDrawSave");
        QVERIFY(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt")))
                    .endsWith("2002-01-09 1 2 3 4 5 6 7 \r\n2002-01-16 8 9 10 11 12 13 0 \r\n"));

        app.dialogs.file_answers = {app.path(QStringLiteral("out.csv"))};
        win.click("cmdExport");
        QVERIFY(read_all(app.path(QStringLiteral("out.csv")))
                    .startsWith("Date,N1,N2,N3,N4,N5,N6,Bonus\n2001-12-29,10,11,12,13,14,15,16\n"));
        win.click("cmdCheck");
        auto* report = win->findChild<QPlainTextEdit*>(QStringLiteral("txtReport"));
        QVERIFY(report);
        QVERIFY2(report->toPlainText().endsWith(QStringLiteral("0 dates with several draws.")),
                 qPrintable(report->toPlainText()));
        QCOMPARE(app.dialogs.messages.size(), 1);

        // The lotto's own files are no place for an export.
        const QByteArray saved = read_all(app.path(QStringLiteral("Lto/Six49/draws.txt")));
        app.dialogs.file_answers = {app.path(QStringLiteral("Lto/Six49/draws.txt"))};
        win.click("cmdExport");
        QCOMPARE(app.dialogs.messages.size(), 2);
        QVERIFY2(app.dialogs.messages.last().startsWith(QStringLiteral("Cannot export: ")),
                 qPrintable(app.dialogs.messages.last()));
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Six49/draws.txt"))), saved);
    }

    // A lotto whose parameters did not load never has its history replaced by the table, which
    // holds no draw of it (or the last lotto's draws).
    void failed_load_keeps_the_draws_file_data() {
        QTest::addColumn<QByteArray>("param"); // null: no parameter file
        QTest::addColumn<bool>("other_first");
        const QByteArray record = encode_params(lotto49()).value();
        QTest::newRow("cut to 30 bytes, after another lotto") << record.left(30) << true;
        QTest::newRow("cut to 30 bytes, first load") << record.left(30) << false;
        QTest::newRow("52 bytes of garbage") << QByteArray(52, '\xff') << true;
        QTest::newRow("deleted") << QByteArray() << true;
    }
    void failed_load_keeps_the_draws_file() {
        QFETCH(QByteArray, param);
        QFETCH(bool, other_first);
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("A"), lotto49(), three_draws);
        const QByteArray mine = "2010-01-02 1 2 3 4 5 6 7 \r\n";
        make_lotto(app.dir.path(), QStringLiteral("Mine"), std::nullopt, mine);
        if (!param.isNull())
            write_file(app.path(QStringLiteral("Lto/Mine/param.qtz")), param);
        Window win = open(app);
        if (other_first)
            win.pick(QStringLiteral("A"));
        win.pick(QStringLiteral("Mine"));
        QCOMPARE(win.grid().rows(), 1);
        app.dialogs.messages.clear();
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages, QStringList{QString::fromLatin1(msg_draws_not_loaded)});
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/Mine/draws.txt"))), mine);
        QCOMPARE(read_all(app.path(QStringLiteral("Lto/A/draws.txt"))), three_draws);
    }

    // Another copy of the program, or an editor, saved the draws since they were loaded: the save
    // asks before it replaces their work, and No writes nothing.
    void save_asks_before_replacing_a_changed_file() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), three_draws);
        const QString path = app.path(QStringLiteral("Lto/Six49/draws.txt"));
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        const QByteArray theirs = "2001-12-29 10 11 12 13 14 15 16 \r\n2003-01-01 9 8 7 6 5 4 3 \r\n";
        QVERIFY(write_file_atomically(path, theirs));
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.questions.size(), 1);
        QVERIFY2(app.dialogs.questions[0].contains(QDir::toNativeSeparators(path)),
                 qPrintable(app.dialogs.questions[0]));
        QCOMPARE(read_all(path), theirs);
        app.dialogs.ask_answers = {true};
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.questions.size(), 2);
        QVERIFY(read_all(path).startsWith("2001-12-29 10 11 12 13 14 15 16 \r\n2002-01-02 "));
        win.click("cmdDrawSave"); // its own save since: no question
        QCOMPARE(app.dialogs.questions.size(), 2);
        QVERIFY(app.dialogs.messages.isEmpty());
    }

    // A draws file the load could not read (here a folder in its place, which even root cannot
    // read as a file) is never replaced by the empty table.
    void unread_draws_are_not_saved_over() {
        TestApp app;
        make_lotto(app.dir.path(), QStringLiteral("Six49"), lotto49(), std::nullopt);
        const QString draws = app.path(QStringLiteral("Lto/Six49/draws.txt"));
        QVERIFY(QDir().mkpath(draws + QStringLiteral("/kept")));
        Window win = open(app);
        win.pick(QStringLiteral("Six49"));
        win.click("cmdDrawSave");
        QCOMPARE(app.dialogs.messages, (QStringList{not_correct, QString::fromLatin1(msg_draws_unread)}));
        QVERIFY(QFileInfo(draws + QStringLiteral("/kept")).isDir());
    }
};

QTEST_MAIN(TestLottoWindow)
#include "test_lotto_window.moc"
