#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/base/messages.h"
#include "core/systems/system_expansion.h"
#include "core/systems/system_selection.h"
#include "support/test_files.h"

namespace {

const QString not_correct = QString::fromLatin1(msg_data_not_correct);

// Expands the first catalogue system that fits a set of 10 numbers picking 6 on 1..10.
void expand_10_3_6(SystemSelection& s) {
    s.set_name(QStringLiteral("10_3_6"));
    s.read_results(QStringLiteral("10_3_6"));
    s.read_tickets(QStringLiteral("10_3_6"));
    const std::array<int16_t, 21> set = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    fill_system_grid(s.expanded(), s.tickets(), 10, 6, set);
}

} // namespace

class TestSystemSelection : public QObject {
    Q_OBJECT
  private slots:
    void save_writes_the_tickets_shown();
    void save_that_fails_keeps_the_edits();
    void open_file_data();
    void open_file();
    void choosing_a_system_is_no_edit();
    void designed_then_catalogue();
};

void TestSystemSelection::save_writes_the_tickets_shown() {
    QTemporaryDir dir;
    SystemSelection s;
    expand_10_3_6(s);
    QVERIFY(s.modified());
    QSignalSpy changed(&s, &SystemSelection::changed);
    const SystemSelection::FileResult saved = s.save_file(dir.path());
    QVERIFY(saved.ok());
    QCOMPARE(saved.path, dir.filePath(QStringLiteral("system")));
    QVERIFY(!s.modified());
    QCOMPARE(changed.count(), 1);
    const QByteArray bytes = read_all(saved.path);
    QVERIFY(bytes.startsWith("N1 1 2 3 4 5 7\r\nN2 2 3 4 5 6 8\r\n"));
    QCOMPARE(bytes.count("\r\n"), s.expanded().rows() - 1);
    // What is saved is what is read back.
    const SystemSelection::FileResult read = s.open_file(dir.path());
    QVERIFY(read.ok());
    QCOMPARE(read.lines, saved.lines);
}

void TestSystemSelection::save_that_fails_keeps_the_edits() {
    QTemporaryDir dir;
    const QString earlier = dir.filePath(QStringLiteral("system"));
    write_file(earlier, "N1 1 2 3 4 5 6\r\n");
    SystemSelection s;
    expand_10_3_6(s);
    QSignalSpy changed(&s, &SystemSelection::changed);
    const SystemSelection::FileResult saved = s.save_file(dir.filePath(QStringLiteral("no/such")));
    QCOMPARE(saved.message, not_correct);
    QVERIFY(s.modified());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(read_all(earlier), QByteArray("N1 1 2 3 4 5 6\r\n"));
}

void TestSystemSelection::open_file_data() {
    QTest::addColumn<QByteArray>("bytes"); // "<missing>": no file at all
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("message");
    QTest::newRow("CR LF") << QByteArray("N1 1 2 3 4 5 6\r\nN2 7 8 9 10 11 12\r\n")
                           << QStringList{"N1 1 2 3 4 5 6", "N2 7 8 9 10 11 12"} << QString();
    QTest::newRow("LF, typed in") << QByteArray("N1 1 2 3 4 5 6\nN2 7 8 9 10 11 12")
                                  << QStringList{"N1 1 2 3 4 5 6", "N2 7 8 9 10 11 12"} << QString();
    QTest::newRow("empty") << QByteArray() << QStringList() << QString();
    QTest::newRow("missing") << QByteArray("<missing>") << QStringList() << not_correct;
}

void TestSystemSelection::open_file() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    QTemporaryDir dir;
    if (bytes != "<missing>")
        write_file(dir.filePath(QStringLiteral("system")), bytes);
    const SystemSelection s;
    const SystemSelection::FileResult read = s.open_file(dir.path());
    QCOMPARE(read.message, message);
    QCOMPARE(read.lines, lines);
}

void TestSystemSelection::choosing_a_system_is_no_edit() {
    SystemSelection s;
    QSignalSpy changed(&s, &SystemSelection::changed);
    s.set_name(QStringLiteral("10_3_6"));
    s.read_results(QStringLiteral("10_3_6"));
    s.read_tickets(QStringLiteral("10_3_6"));
    QCOMPARE(changed.count(), 3);
    QVERIFY(!s.modified());
    QCOMPARE(s.played_ticket_count(10), 10);
}

// A designed wheel holds all its tickets; picking a catalogue system afterwards forgets them.
void TestSystemSelection::designed_then_catalogue() {
    SystemSelection s;
    PlayedSystem wheel;
    wheel.name = QStringLiteral("Mine");
    wheel.designed = true;
    wheel.v = 7;
    wheel.m = 6;
    for (int16_t left_out = 1; left_out <= 7; ++left_out) {
        TicketPositions t{};
        for (int16_t p = 1, i = 0; p <= 7; ++p)
            if (p != left_out)
                t[i++] = p;
        wheel.tickets.push_back(t);
    }
    s.set_name(QStringLiteral("Mine (designed)"));
    s.read_played(wheel);
    QVERIFY(s.played().designed);
    QCOMPARE(s.played_ticket_count(7), 7);
    QCOMPARE(s.guar_min()(6, 6), int16_t{1}); // every six of the seven is a ticket
    s.read_results(QStringLiteral("10_3_6"));
    QVERIFY(!s.played().designed);
    QCOMPARE(s.played().ticket_count(), 0);
}

QTEST_GUILESS_MAIN(TestSystemSelection)
#include "test_system_selection.moc"
