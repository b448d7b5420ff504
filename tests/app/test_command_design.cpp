// zandrel design as a user runs it: the real program, no display; exit codes, the closing lines,
// the written wheel (recounted here) and the saved system.
#include "support/command_run.h"
#include "wheels/wheel_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList args(const char* text) {
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

class TestCommandDesign : public QObject {
    Q_OBJECT
  private slots:
    void results_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("last"); // the closing lines
        QTest::newRow("Fano plane") << args("design --numbers 7 --pick 3 --guarantee 2 --seconds 10") << 0
                                    << QStringList{"Wheel: 7 numbers, tickets of 3, 2 if 2", "Tickets: 7",
                                                   "Lower bound: 7", "Best known: -", "Covered: 21 of 21"};
        QTest::newRow("best known shown")
            << args("design --numbers 11 --pick 5 --guarantee 4 --seed 3 --seconds 20") << 0
            << QStringList{"Wheel: 11 numbers, tickets of 5, 4 if 4", "Tickets: 66", "Lower bound: 66",
                           "Best known: 66", "Covered: 330 of 330"};
        QTest::newRow("2 if 3") << args("design --numbers 10 --pick 5 --guarantee 2 --if 3 --seconds 10") << 0
                                << QStringList{"Wheel: 10 numbers, tickets of 5, 2 if 3", "Tickets: 2",
                                               "Lower bound: 2", "Best known: -", "Covered: 120 of 120"};
    }
    void results() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit);
        QFETCH(QStringList, last);
        const Run run = zandrel(arguments);
        QCOMPARE(run.exit, exit);
        QVERIFY(run.out.size() >= last.size());
        QCOMPARE(run.out.mid(run.out.size() - last.size()), last);
        QVERIFY(run.err.isEmpty());
    }

    void bad_parameters_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("words");
        QTest::newRow("K > V") << args("design --numbers 5 --pick 6 --guarantee 3") << "too few";
        QTest::newRow("T > K") << args("design --numbers 20 --pick 5 --guarantee 6") << "guarantee";
        QTest::newRow("M < T") << args("design --numbers 20 --pick 6 --guarantee 4 --if 3") << "--if";
        QTest::newRow("M > K") << args("design --numbers 20 --pick 5 --guarantee 3 --if 6") << "--if";
        QTest::newRow("V beyond the limit")
            << args("design --numbers 60 --pick 6 --guarantee 3 --if 6") << "at most 20,000,000";
        QTest::newRow("V above 64") << args("design --numbers 70 --pick 6 --guarantee 2") << "at most 64";
        QTest::newRow("not a number")
            << args("design --numbers twenty --pick 6 --guarantee 3") << "--numbers";
        QTest::newRow("negative") << args("design --numbers -20 --pick 6 --guarantee 3") << "--numbers";
        QTest::newRow("no --pick") << args("design --numbers 20 --guarantee 3") << "--pick K is needed";
        QTest::newRow("bad seconds") << args("design --numbers 20 --pick 6 --guarantee 3 --seconds 0")
                                     << "--seconds";
        QTest::newRow("bad seed") << args("design --numbers 20 --pick 6 --guarantee 3 --seed x") << "--seed";
        QTest::newRow("bad budget") << args("design --numbers 20 --pick 6 --guarantee 3 --tickets 0")
                                    << "--tickets";
        QTest::newRow("catalogue name")
            << args("design --numbers 10 --pick 6 --guarantee 3 --save 10_3_6") << "catalogue";
        QTest::newRow("unknown option")
            << args("design --numbers 10 --pick 6 --guarantee 3 --colour red") << "colour";
        QTest::newRow("stray word") << args("design extra --numbers 10 --pick 6 --guarantee 3") << "usage";
    }
    void bad_parameters() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, words);
        QTemporaryDir dir;
        const Run run = zandrel(arguments + QStringList{"--data-dir", dir.path()});
        QCOMPARE(run.exit, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("zandrel design: ")), qPrintable(run.err));
        QVERIFY2(run.err.contains(words), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/Wheels")));
    }

    // Too few tickets: exit 1, and the wheel is still written, counted and saved.
    void budget_writes_and_saves() {
        QTemporaryDir dir;
        const QString file = dir.path() + QStringLiteral("/wheel.txt");
        const Run run =
            zandrel({"design", "--numbers", "12", "--pick", "6", "--guarantee", "4", "--tickets", "20",
                     "--seconds", "1", "--out", file, "--save", "Twelve", "--data-dir", dir.path()});
        QCOMPARE(run.exit, 1);
        QVERIFY(run.out.size() >= 5);
        QCOMPARE(run.out.at(run.out.size() - 4), QStringLiteral("Tickets: 20"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.endsWith("\r\n"));
        std::vector<Ticket> tickets;
        for (const QByteArray& line : bytes.split('\n')) {
            if (line.trimmed().isEmpty())
                continue;
            std::vector<int> numbers;
            int last = 0;
            for (const QByteArray& word : line.trimmed().split(' ')) {
                numbers.push_back(word.toInt());
                QVERIFY(numbers.back() > last && numbers.back() <= 12);
                last = numbers.back();
            }
            QCOMPARE(numbers.size(), size_t{6});
            tickets.push_back(ticket_of(numbers));
        }
        QCOMPARE(tickets.size(), size_t{20});
        const uint64_t covered = brute_force_covered({12, 6, 4, 4}, tickets);
        QVERIFY(covered < 495);
        QCOMPARE(run.out.last(), QStringLiteral("Covered: %1 of 495").arg(covered));
        QFile saved(dir.path() + QStringLiteral("/Wheels/Twelve.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), bytes);
    }

    void help_names_the_source() {
        const Run run = zandrel(args("design --help"));
        QCOMPARE(run.exit, 0);
        QVERIFY(run.out.join(u'\n').contains(QStringLiteral("La Jolla Covering Repository")));
        QVERIFY(run.out.first().startsWith(QStringLiteral("Usage: zandrel design --numbers V")));
    }
};

QTEST_APPLESS_MAIN(TestCommandDesign)
#include "test_command_design.moc"
