// The commands run as a user runs them: the real program, with no display at all.
#include "app/start_up.h"
#include "lotto/lotto_files.h"
#include "support/command_run.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A Wednesday/Saturday 6/49 game, newest first as lotteries publish it.
const QByteArray published = "Draw Date,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Jackpot\r\n"
                             "13/01/2024,1,2,3,4,5,6,7,\"1,000,000\"\r\n"
                             "10/01/2024,11,12,13,14,15,16,17,\"2,000,000\"\r\n"
                             "06/01/2024,21,22,23,24,25,26,27,500000\r\n"
                             "03/01/2024,31,32,33,34,35,36,37,500000\r\n";
const QByteArray stored = "2024-01-03 31 32 33 34 35 36 37 \r\n"
                          "2024-01-06 21 22 23 24 25 26 27 \r\n"
                          "2024-01-10 11 12 13 14 15 16 17 \r\n"
                          "2024-01-13 1 2 3 4 5 6 7 \r\n";

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
  private slots:
    void import_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("before"); // the lotto's draws.txt; null: no lotto yet
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("last");     // the report's last line
        QTest::addColumn<QByteArray>("after"); // null: as before
        const QStringList create{"--create", "49,6"};
        QTest::newRow("new lotto")
            << published << create << QByteArray() << 0
            << "Read 4 rows: 4 new, 0 already present, 0 conflicting, 0 rejected; 0 draw "
               "dates missing."
            << stored;
        QTest::newRow("unknown lotto without --create")
            << published << QStringList() << QByteArray() << 2 << QString() << QByteArray();
        QTest::newRow("all present") << published << QStringList() << stored << 0
                                     << "Read 4 rows: 0 new, 4 already present, 0 conflicting, 0 rejected; 0 "
                                        "draw dates missing."
                                     << QByteArray();
        QByteArray conflict = published;
        conflict.replace("13/01/2024,1,2,3", "13/01/2024,9,2,3");
        conflict += "17/01/2024,41,42,43,44,45,99,1,0\r\n20/01/2024,41,42,43,44,45,46,0,0\r\n";
        QTest::newRow("conflict and a number out of range")
            << conflict << QStringList() << stored << 1
            << "Read 6 rows: 1 new, 3 already present, 1 conflicting, 1 rejected; 0 draw dates missing."
            << stored + "2024-01-20 41 42 43 44 45 46 0 \r\n";
        QTest::newRow("dry run writes nothing")
            << published << (create + QStringList{"--dry-run"}) << QByteArray() << 0
            << "Read 4 rows: 4 new, 0 already present, 0 conflicting, 0 rejected; 0 draw dates missing."
            << QByteArray();
        const QByteArray both_ways =
            "Date,N1,N2,N3,N4,N5,N6\r\n01/02/2024,1,2,3,4,5,6\r\n03/04/2024,1,2,3,4,5,6\r\n";
        QTest::newRow("day and month order never guessed")
            << both_ways << create << QByteArray() << 2 << QString() << QByteArray();
        QTest::newRow("the order given")
            << both_ways << (create + QStringList{"--date-order", "mdy"}) << QByteArray() << 0 << QString()
            << QByteArray("2024-01-02 1 2 3 4 5 6 0 \r\n2024-03-04 1 2 3 4 5 6 0 \r\n");
    }
    void import() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, before);
        QFETCH(int, exit);
        QFETCH(QString, last);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString draws = dir.filePath("Lto/Six49/draws.txt");
        if (!before.isNull()) {
            write_file(draws, before);
            LottoParams p;
            p.play_n = 49, p.pick_n = 6, p.cost = 1;
            QVERIFY(write_param_file(dir.filePath("Lto/Six49/param.qtz"), p));
        }
        write_file(dir.filePath("history.csv"), file);
        const Run run = zandrel(
            QStringList{"import", dir.filePath("history.csv"), "--lotto", "Six49", "--data-dir", dir.path()} +
            options);
        QVERIFY2(run.exit == exit, qPrintable(run.out.join(u'\n') + run.err));
        if (!last.isEmpty())
            QCOMPARE(run.out.value(run.out.size() - 1), last);
        if (exit == 2) {
            QVERIFY(!run.err.isEmpty());
            if (QTest::currentDataTag() == QLatin1String("day and month order never guessed"))
                QVERIFY2(run.err.contains("--date-order"), qPrintable(run.err));
        }
        QCOMPARE(read_all(draws),
                 after.isNull() ? (before.isNull() ? QByteArray("<missing>") : before) : after);
        QCOMPARE(QFileInfo::exists(dir.filePath("Lto/Six49/param.qtz")), !after.isNull() || !before.isNull());
    }

    // Export writes what import reads back as present; check names the missing draw and says so
    // in its exit status.
    void export_and_check() {
        QTemporaryDir dir;
        // Ten weeks of Wednesday and Saturday draws, Saturday 3 February missing.
        QByteArray history;
        int n = 0;
        for (QDate d(2024, 1, 3); d < QDate(2024, 3, 13); d = d.addDays(d.dayOfWeek() == 3 ? 3 : 4), ++n)
            if (d != QDate(2024, 2, 3))
                history += d.toString(Qt::ISODate).toLatin1() +
                           QByteArray(" %1 2 3 4 5 6 0 \r\n").replace("%1", QByteArray::number(n % 40 + 7));
        write_file(dir.filePath("Lto/Six49/draws.txt"), history);
        LottoParams p;
        p.play_n = 49, p.pick_n = 6, p.cost = 1;
        QVERIFY(write_param_file(dir.filePath("Lto/Six49/param.qtz"), p));
        const QStringList lotto{"--lotto", "Six49", "--data-dir", dir.path()};
        Run run = zandrel(QStringList{"export", dir.filePath("out.csv")} + lotto);
        QCOMPARE(run.exit, 0);
        QVERIFY(read_all(dir.filePath("out.csv"))
                    .startsWith("Date,N1,N2,N3,N4,N5,N6,Bonus\n2024-01-03,7,2,3,4,5,6,0\n"));
        run = zandrel(QStringList{"import", dir.filePath("out.csv")} + lotto);
        QCOMPARE(run.exit, 0);
        QCOMPARE(run.out.last(),
                 "Read 19 rows: 0 new, 19 already present, 0 conflicting, 0 rejected; 1 draw dates "
                 "missing.");
        // The folder may come first, as it does for the window program.
        run = zandrel(QStringList{"--data-dir", dir.path(), "check", "--lotto", "Six49"});
        QCOMPARE(run.exit, 1);
        run = zandrel(QStringList{"check"} + lotto);
        QCOMPARE(run.exit, 1);
        QCOMPARE(run.out,
                 (QStringList{"missing draw: 2024-02-03 (Saturday)",
                              "Checked 19 draws from 2024-01-03 to 2024-03-09: 1 draw date missing, 0 "
                              "suspicious draws, 0 dates with several draws."}));
    }

    // 10_3_6 on 1..10 against two draws with their hits counted by hand; the set has a row for the
    // second draw only; the walk-forward rule plays only the second draw too.
    void backtest_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("out"); // for exit 2: a part of the message
        const QStringList fixed{"--system", "10_3_6", "--numbers", "1 2 3 4 5 6 7 8 9 10"};
        QTest::newRow("fixed numbers")
            << fixed << 0
            << QStringList{"Draws played: 2",
                           "Tickets: 20",
                           "Cost: 60.00",
                           "Winnings: 14232.50",
                           "Net: 14172.50",
                           "Hits: 2=1 2+bonus=4 3=2 3+bonus=4 4=1 4+bonus=1 5=2 5+bonus=1 6=0 6+bonus=0",
                           "Expected hits: 2=2.40 2+bonus=0.25 3=0.33 3+bonus=0.02 4=0.02 4+bonus=0.00 "
                           "5=0.00 5+bonus=0.00 6=0.00 6+bonus=0.00",
                           "Expected winnings: 13.94"};
        const QStringList second{
            "Draws played: 1",
            "Tickets: 10",
            "Cost: 30.00",
            "Winnings: 37.50",
            "Net: 7.50",
            "Hits: 2=1 2+bonus=2 3=1 3+bonus=2 4=0 4+bonus=0 5=0 5+bonus=0 6=0 6+bonus=0",
            "Expected hits: 2=1.20 2+bonus=0.12 3=0.16 3+bonus=0.01 4=0.01 4+bonus=0.00 "
            "5=0.00 5+bonus=0.00 6=0.00 6+bonus=0.00",
            "Expected winnings: 6.97"};
        QTest::newRow("forecasts") << QStringList{"--system", "10_3_6", "--set", "10/F"} << 0 << second;
        QTest::newRow("rule") << QStringList{"--system", "10_3_6", "--rule", "highest", "--window", "1"} << 0
                              << second;
        QTest::newRow("period") << (fixed + QStringList{"--from", "2024-01-04", "--to", "2024-01-06"}) << 0
                                << second;
        QTest::newRow("tickets of 5") << QStringList{"--system", "11_3_5", "--numbers", "1 2 3"} << 2
                                      << QStringList{"11_3_5 plays tickets of 5 numbers; the lotto picks 6"};
        QTest::newRow("two sources") << (fixed + QStringList{"--rule", "highest", "--window", "1"}) << 2
                                     << QStringList{"one of --set, --numbers and --rule"};
        QTest::newRow("no window") << QStringList{"--system", "10_3_6", "--rule", "lowest"} << 2
                                   << QStringList{"--window"};
        QTest::newRow("no such set") << QStringList{"--system", "10_3_6", "--set", "10/Nope"} << 2
                                     << QStringList{"no set 10/Nope"};
        QTest::newRow("not a date") << (fixed + QStringList{"--to", "2024-13-01"}) << 2
                                    << QStringList{"'2024-13-01' is not a date"};
    }
    void backtest() {
        QFETCH(QStringList, options);
        QFETCH(int, exit);
        QFETCH(QStringList, out);
        QTemporaryDir dir;
        write_file(dir.filePath("Lto/Six49/draws.txt"),
                   "2024-01-06 1 2 3 11 12 13 4 \r\n2024-01-03 1 2 3 4 5 6 7 \r\n");
        LottoParams p;
        p.play_n = 49, p.pick_n = 6, p.cost = 3;
        p.prize2 = 2.5, p.prize3 = 10, p.prize4 = 80, p.prize5 = 2000, p.prize6 = 1000000;
        p.prize3b = 4, p.prize5b = 10000;
        QVERIFY(write_param_file(dir.filePath("Lto/Six49/param.qtz"), p));
        write_file(dir.filePath("Tsets/10/F"), "2024-01-04 1 2 3 4 5 6 7 8 9 10 \r\n"
                                               "2024-01-06 1 2 3 4 5 6 7 8 9 10 \r\n");
        const Run run = zandrel(QStringList{"backtest", "--lotto", "Six49", "--data-dir", dir.path(), "--csv",
                                            dir.filePath("played.csv")} +
                                options);
        QVERIFY2(run.exit == exit, qPrintable(run.out.join(u'\n') + run.err));
        if (exit == 2) {
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.err.contains(out.first()), qPrintable(run.err));
            QVERIFY(!QFileInfo::exists(dir.filePath("played.csv")));
            return;
        }
        QCOMPARE(run.out, out);
        if (QTest::currentDataTag() == QLatin1String("fixed numbers"))
            QCOMPARE(
                read_all(dir.filePath("played.csv")),
                "Date,Numbers,Tickets,2,2+bonus,3,3+bonus,4,4+bonus,5,5+bonus,6,6+bonus,Winnings,Cost,Net,"
                "Cumulative\n"
                "2024-01-03,1 2 3 4 5 6 7 8 9 10,10,0,2,1,2,1,1,2,1,0,0,14195.00,30.00,14165.00,14165.00\n"
                "2024-01-06,1 2 3 4 5 6 7 8 9 10,10,1,2,1,2,0,0,0,0,0,0,37.50,30.00,7.50,14172.50\n");
    }

    // An import writes: not while a copy of the program holds the data folder.
    void import_waits_for_no_other_copy() {
        QTemporaryDir dir;
        QString refusal;
        const auto lock = lock_data_folder(dir.path(), refusal);
        QVERIFY(lock);
        write_file(dir.filePath("history.csv"), published);
        const Run run = zandrel({"import", dir.filePath("history.csv"), "--lotto", "Six49", "--create",
                                 "49,6", "--data-dir", dir.path()});
        QCOMPARE(run.exit, 2);
        QVERIFY2(run.err.contains("already open"), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(dir.filePath("Lto/Six49")));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
