// The commands run as a user runs them: the real program, with no display at all.
#include "core/lotto/lotto_files.h"
#include "core/session/start_up.h"
#include "support/command_run.h"
#include "support/faults.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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

// The 6/49 lotto Six49 with the stored draws, in the data folder dir.
void make_six49(const QString& dir) {
    write_file(QDir(dir).filePath("Lto/Six49/draws.txt"), stored);
    LottoParams p;
    p.play_n = 49, p.pick_n = 6, p.cost = 1;
    QVERIFY(write_param_file(QDir(dir).filePath("Lto/Six49/param.qtz"), p));
}

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
        // A saved wheel holding the tickets of 10_3_6 plays as 10_3_6 does, by either of its names.
        const QStringList numbers{"--numbers", "1 2 3 4 5 6 7 8 9 10"};
        QTest::newRow("designed system") << (QStringList{"--system", "Mine"} + numbers) << 0
                                         << QStringList{"Draws played: 2", "Tickets: 20"};
        QTest::newRow("designed system, marked") << (QStringList{"--system", "Mine (designed)"} + numbers)
                                                 << 0 << QStringList{"Draws played: 2", "Tickets: 20"};
        QTest::newRow("designed system of another pick")
            << QStringList{"--system", "Fano", "--numbers", "1 2 3 4 5 6 7"} << 2
            << QStringList{"Fano plays tickets of 3 numbers; the lotto picks 6"};
        QTest::newRow("designed system that does not read")
            << (QStringList{"--system", "Bad"} + numbers) << 2 << QStringList{"Bad.txt, line 2"};
        QTest::newRow("no such system")
            << (QStringList{"--system", "Nope"} + numbers) << 2 << QStringList{"there is no system Nope"};
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
        write_file(dir.filePath("Wheels/Mine.txt"), "1 2 3 4 5 7\r\n2 3 4 5 6 8\r\n3 4 5 6 7 9\r\n"
                                                    "4 5 6 7 8 10\r\n1 5 6 7 8 9\r\n2 6 7 8 9 10\r\n"
                                                    "1 3 7 8 9 10\r\n1 2 4 8 9 10\r\n1 2 3 5 9 10\r\n"
                                                    "1 2 3 4 6 10\r\n");
        write_file(dir.filePath("Wheels/Fano.txt"), "1 2 4\r\n2 3 5\r\n3 4 6\r\n4 5 7\r\n1 5 6\r\n"
                                                    "2 6 7\r\n1 3 7\r\n");
        write_file(dir.filePath("Wheels/Bad.txt"), "1 2 3 4 5 6\r\n1 2 x\r\n");
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
        if (QByteArray(QTest::currentDataTag()).startsWith("designed")) {
            // The same tickets as 10_3_6: the same figures as the fixed numbers' row.
            QCOMPARE(run.out.mid(0, 2), out);
            QCOMPARE(run.out.value(4), QStringLiteral("Net: 14172.50"));
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

    // Refused before anything is written: the folder keeps what it held, and no lotto is made.
    void import_refusals_data() {
        QTest::addColumn<bool>("param"); // whether Lto/Six49 has its param.qtz
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("refusal"); // a part of it
        const QStringList create{"--create", "49,6"};
        const QString orphan =
            "holds draws (%1) but not its parameters file %2; restore %2 from a backup copy";
        // Draws without their parameters (lost, or not yet copied back) are still a lotto.
        QTest::newRow("orphaned draws, --create") << false << create << orphan;
        QTest::newRow("orphaned draws") << false << QStringList() << orphan;
        // Values that 16 bits would wrap to 49 or 6.
        for (const char* numbers :
             {"65585,6", "131121,6", "-65487,6", "49,65542", "91,6", "49,7", "5,6", "0,0"})
            QTest::newRow(numbers) << false << QStringList{"--create", numbers} << "--create takes N,K";
        QTest::newRow("--lotto twice")
            << true << QStringList{"--lotto", "Other"} << "--lotto is given more than once";
        QTest::newRow("--date-order twice")
            << true << QStringList{"--date-order", "dmy", "--date-order", "mdy"}
            << "--date-order is given more than once";
        QTest::newRow("--data-dir \"\"")
            << true << QStringList{"--data-dir", ""} << "--data-dir needs a folder";
    }
    void import_refusals() {
        QFETCH(bool, param);
        QFETCH(QStringList, options);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString draws = dir.filePath("Lto/Six49/draws.txt"),
                      param_path = dir.filePath("Lto/Six49/param.qtz");
        write_file(draws, stored);
        LottoParams p;
        p.play_n = 49, p.pick_n = 6, p.cost = 1;
        if (param)
            QVERIFY(write_param_file(param_path, p));
        const QByteArray param_bytes = read_all(param_path);
        write_file(dir.filePath("history.csv"), published + "17/01/2024,1,2,3,4,5,6,7,0\r\n");
        QStringList arguments{"import", dir.filePath("history.csv"), "--lotto", "Six49"};
        if (!options.contains("--data-dir"))
            arguments << "--data-dir" << dir.path();
        const Run run = zandrel(arguments + options);
        QCOMPARE(run.exit, 2);
        QVERIFY2(run.err.contains(refusal.contains("%1") ? refusal.arg(draws, param_path) : refusal),
                 qPrintable(run.err));
        QCOMPARE(read_all(draws), stored);
        QCOMPARE(read_all(param_path), param_bytes);
    }

    // A new lotto whose first save fails (a full disk) is not left behind half made.
    void full_disk_makes_no_lotto() {
        QTemporaryDir dir;
        QByteArray history = "Date,N1,N2,N3,N4,N5,N6\r\n";
        for (int day = 1; day <= 28; ++day)
            history +=
                QByteArray("2024-02-") + (day < 10 ? "0" : "") + QByteArray::number(day) + ",1,2,3,4,5,6\r\n";
        write_file(dir.filePath("history.csv"), history);
        const Run run =
            zandrel({"import", dir.filePath("history.csv"), "--lotto", "Six49", "--create", "49,6",
                     "--data-dir", dir.path()},
                    [](QProcess& p) {
                        p.setChildProcessModifier([] {
                            std::signal(SIGXFSZ, SIG_IGN);
                            const rlimit cap{200, 200}; // the lock and param.qtz fit, the draws do not
                            setrlimit(RLIMIT_FSIZE, &cap);
                        });
                    });
        QCOMPARE(run.exit, 2);
        QVERIFY2(run.err.contains("the draws could not be saved, so the lotto Six49 was not made"),
                 qPrintable(run.err));
        QVERIFY(!run.err.contains("as it was"));
        QVERIFY(!QFileInfo::exists(dir.filePath("Lto/Six49")));
    }

    // Exports never replace the data folder's own files, nor a device or a pipe by a regular file.
    void export_targets_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target"); // in the data folder; "null", "full": a device node made there
        QTest::addColumn<int>("exit");
        for (const char* command : {"export", "backtest"}) {
            const QString c = command;
            QTest::addRow("%s onto draws.txt", command) << c << "Lto/Six49/draws.txt" << 2;
            QTest::addRow("%s onto param.qtz", command) << c << "Lto/Six49/param.qtz" << 2;
            QTest::addRow("%s onto a set", command) << c << "Tsets/10/F" << 2;
            QTest::addRow("%s onto a new file in Tsets", command) << c << "Tsets/10/../new.csv" << 2;
            QTest::addRow("%s onto the system file", command) << c << "system" << 2;
            QTest::addRow("%s onto a null device", command) << c << "null" << 0;
            QTest::addRow("%s onto a full device", command) << c << "full" << 2;
        }
    }
    void export_targets() {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(int, exit);
        QTemporaryDir dir;
        make_six49(dir.path());
        write_file(dir.filePath("Tsets/10/F"), "2024-01-06 1 2 3 4 5 6 7 8 9 10 \r\n");
        write_file(dir.filePath("system"), "x");
        const QString path = dir.filePath(target);
        const bool device = target == "null" || target == "full";
        if (device) {
            if (geteuid() != 0)
                QSKIP("device nodes are made by root only");
            QCOMPARE(::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666,
                             makedev(1, target == "null" ? 3 : 7)),
                     0);
        }
        const QStringList entries =
            folder_entries(dir.filePath("Lto/Six49")) + folder_entries(dir.filePath("Tsets/10"));
        const QByteArray before =
            read_all(dir.filePath("Lto/Six49/draws.txt")) + read_all(dir.filePath("Tsets/10/F")) +
            read_all(dir.filePath("Lto/Six49/param.qtz")) + read_all(dir.filePath("system"));
        const QStringList lotto{"--lotto", "Six49", "--data-dir", dir.path()};
        const Run run =
            zandrel(command == "export" ? QStringList{"export", path} + lotto
                                        : QStringList{"backtest", "--system", "10_3_6", "--numbers",
                                                      "1 2 3 4 5 6 7 8 9 10", "--csv", path} +
                                              lotto);
        QVERIFY2(run.exit == exit, qPrintable(run.err));
        if (!device)
            QVERIFY2(run.err.contains("in the data folder " + dir.path()), qPrintable(run.err));
        QCOMPARE(read_all(dir.filePath("Lto/Six49/draws.txt")) + read_all(dir.filePath("Tsets/10/F")) +
                     read_all(dir.filePath("Lto/Six49/param.qtz")) + read_all(dir.filePath("system")),
                 before);
        QCOMPARE(folder_entries(dir.filePath("Lto/Six49")) + folder_entries(dir.filePath("Tsets/10")),
                 entries);
        if (device) {
            struct stat st {};
            QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
            QVERIFY(S_ISCHR(st.st_mode));
        }
    }

    // What standard output refuses (a full disk) is no success.
    void standard_output_errors_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addRow("export -") << QStringList{"export", "-"};
        QTest::addRow("check") << QStringList{"check"};
        QTest::addRow("backtest") << QStringList{"backtest", "--system", "10_3_6", "--numbers",
                                                 "1 2 3 4 5 6 7 8 9 10"};
        QTest::addRow("import --dry-run") << QStringList{"import", "IN", "--dry-run"};
    }
    void standard_output_errors() {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        make_six49(dir.path());
        write_file(dir.filePath("history.csv"), published);
        arguments.replaceInStrings(QRegularExpression("^IN$"), dir.filePath("history.csv"));
        const Run run = zandrel(arguments + QStringList{"--lotto", "Six49", "--data-dir", dir.path()},
                                [](QProcess& p) { p.setStandardOutputFile("/dev/full"); });
        QCOMPARE(run.exit, 2);
        QVERIFY2(run.err.contains(": the standard output could not be written"), qPrintable(run.err));
        QCOMPARE(read_all(dir.filePath("Lto/Six49/draws.txt")), stored);
    }

    // A slip on the command line is told without starting the windows, which need a display that
    // is not there.
    void mistyped_commands_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mistake");
        QTest::newRow("a misspelt command")
            << QStringList{"imoprt", "f.csv", "--lotto", "S"} << "'imoprt' is not a command";
        QTest::newRow("in capitals") << QStringList{"IMPORT", "f.csv", "--lotto", "S"}
                                     << "'IMPORT' is not a command";
        QTest::newRow("an unknown option first")
            << QStringList{"--frob", "import", "f.csv"} << "Unknown option 'frob'";
        QTest::newRow("two data folders")
            << QStringList{"--data-dir", "A", "--data-dir", "B", "import", "f.csv"}
            << "'--data-dir' is given more than once";
        QTest::newRow("an empty data folder") << QStringList{"--data-dir", ""} << "needs a folder";
        QTest::newRow("behind a toolkit option")
            << QStringList{"-style", "Fusion", "chekc"} << "'chekc' is not a command";
    }
    void mistyped_commands() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mistake);
        const Run run = zandrel(arguments);
        QCOMPARE(run.exit, 1);
        QVERIFY2(run.err.contains(mistake), qPrintable(run.err));
        QVERIFY2(run.err.contains("zandrel import|export|check|backtest"), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    // What the stored files hold that no command may take as it is: each is named, with its line,
    // and nothing is written.
    void stored_faults_data() {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QByteArray>("draws");
        QTest::addColumn<QByteArray>("set"); // Tsets/10/F
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("said"); // on stdout or stderr
        const QByteArray good = "2024-01-03 1 2 3 4 5 6 7 \r\n2024-01-06 1 2 3 11 12 13 4 \r\n";
        const QByteArray impossible = "2022-11-12 -1 -2 3 3 5 99 3 \r\n" + good;
        const QByteArray set = "2024-01-03 1 2 3 4 5 6 7 8 9 10 \r\n2024-01-06 1 2 3 4 5 6 7 8 9 10 \r\n";
        const QStringList check{"check"};
        const QStringList backtest{"backtest", "--system", "10_3_6", "--set", "10/F"};
        QTest::newRow("check names an impossible draw")
            << check << impossible << set << 1
            << "impossible draw: 2022-11-12 -1 -2 3 3 5 99 3 (number -1 is outside 1..49)";
        QTest::newRow("check names a bonus that repeats a number")
            << check << QByteArray("2024-01-03 1 2 3 4 5 6 6 \r\n") << set << 1
            << "(the bonus 6 repeats a number of the draw)";
        QTest::newRow("backtest refuses an impossible draw")
            << backtest << impossible << set << 2 << "the draw '2022-11-12 -1 -2 3 3 5 99 3' of ";
        QTest::newRow("a ninth field makes the line unreadable")
            << check << QByteArray("2024-01-03 1 2 3 4 5 6 7 8 \r\n") << set << 2
            << "the draw '2024-01-03 1 2 3 4 5 6 7 8' of";
        QTest::newRow("set out of date order")
            << backtest << good
            << QByteArray("2024-01-06 1 2 3 4 5 6 7 8 9 10 \r\n2024-01-03 1 2 3 4 5 6 7 8 9 10 \r\n") << 2
            << "the dates of the set 10/F are out of order: line 2 (2024-01-03) comes after line 1 "
               "(2024-01-06)";
        QTest::newRow("set with two rows for a draw")
            << backtest << good << set + "2024-01-06 11 12 13 14 15 16 17 18 19 20 \r\n"
            << 2 << "more than one row for the draw of 2024-01-06 (rows 2 and 3)";
        QTest::newRow("set of another size") << QStringList{"backtest", "--system", "11_3_6", "--set", "10/F"}
                                             << good << set << 2 << "the set 10/F holds 10 numbers a row";
        QTest::newRow("draws file that is a folder")
            << check << QByteArray() << set << 2 << "the draws cannot be read";
    }
    void stored_faults() {
        QFETCH(QStringList, command);
        QFETCH(QByteArray, draws);
        QFETCH(QByteArray, set);
        QFETCH(int, exit);
        QFETCH(QString, said);
        QTemporaryDir dir;
        if (draws.isNull())
            QVERIFY(QDir().mkpath(dir.filePath("Lto/Six49/draws.txt")));
        else
            write_file(dir.filePath("Lto/Six49/draws.txt"), draws);
        LottoParams p;
        p.play_n = 49, p.pick_n = 6, p.cost = 1;
        QVERIFY(write_param_file(dir.filePath("Lto/Six49/param.qtz"), p));
        write_file(dir.filePath("Tsets/10/F"), set);
        const Run run = zandrel(command + QStringList{"--lotto", "Six49", "--data-dir", dir.path()});
        const QString all = run.out.join(u'\n') + u'\n' + run.err;
        QVERIFY2(run.exit == exit, qPrintable(all));
        QVERIFY2(all.contains(said), qPrintable(all));
        if (!draws.isNull())
            QCOMPARE(read_all(dir.filePath("Lto/Six49/draws.txt")), draws);
    }

    // Only a regular file is imported, and one read whole: a device or a pipe is refused at once.
    void import_reads_only_regular_files_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("endless device") << "/dev/zero";
        QTest::newRow("random device") << "/dev/urandom";
        QTest::newRow("a pipe") << "fifo";
        QTest::newRow("a folder") << ".";
    }
    void import_reads_only_regular_files() {
        QFETCH(QString, file);
        QTemporaryDir dir;
        write_file(dir.filePath("Lto/Six49/draws.txt"), stored);
        LottoParams p;
        p.play_n = 49, p.pick_n = 6, p.cost = 1;
        QVERIFY(write_param_file(dir.filePath("Lto/Six49/param.qtz"), p));
        if (file == QLatin1String("fifo")) {
            file = dir.filePath("fifo");
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        } else if (file == QLatin1String(".")) {
            file = dir.path();
        }
        const Run run = zandrel({"import", file, "--lotto", "Six49", "--data-dir", dir.path()});
        QCOMPARE(run.exit, 2);
        QVERIFY2(run.err.contains("cannot read " + file), qPrintable(run.err));
        QCOMPARE(read_all(dir.filePath("Lto/Six49/draws.txt")), stored);
        // The help says how much is read.
        QVERIFY(zandrel({"import", "--help"}).out.join(u' ').contains("at most 2 GB"));
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
