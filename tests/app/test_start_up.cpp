#include "core/session/start_up.h"
#include "gui/main/frm_main.h"
#include "gui/toolkit/help_viewer.h"
#include "support/test_app.h"
#include "support/test_files.h"
#include "zandrel_version.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

class TestStartUp : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("Zandrel"));
        QCoreApplication::setApplicationVersion(QStringLiteral(ZANDREL_VERSION));
    }

    // Paths are relative to a temporary root; "-" names no folder.
    void choose_folders_data() {
        QTest::addColumn<QStringList>("files"); // made before the choice
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("share");
        const auto row = [](const char* name, const QStringList& files, const QString& program,
                            const QString& option, const QString& data, const QString& share) {
            QTest::newRow(name) << files << program << option << data << share;
        };
        const QString user = "home/.local/share/Zandrel";
        row("unpacked folder", {"zandrel/main.htm"}, "zandrel", "-", "zandrel", "zandrel");
        // CMake makes build/share for the share/ folder; no help pages there.
        row("build folder", {"build/bin/main.htm", "build/share/CMakeFiles/x"}, "build/bin", "-", "build/bin",
            "build/bin");
        row("installed", {"usr/share/zandrel/main.htm"}, "usr/bin", "-", user, "usr/share/zandrel");
        row("installed, --data-dir", {"usr/share/zandrel/main.htm"}, "usr/bin", "mine", "mine",
            "usr/share/zandrel");
        row("portable, --data-dir", {"app/main.htm"}, "app", "mine", "mine", "app");
        row("share/zandrel without help pages", {"usr/share/zandrel/d1", "usr/bin/main.htm"}, "usr/bin", "-",
            "usr/bin", "usr/bin");
        row("help pages, but not in a bin folder", {"opt/share/zandrel/main.htm"}, "opt/app", "-", "opt/app",
            "opt/app");
    }
    void choose_folders() {
        QFETCH(QStringList, files);
        QFETCH(QString, program);
        QFETCH(QString, option);
        QFETCH(QString, data);
        QFETCH(QString, share);
        QTemporaryDir root;
        const QDir r(root.path());
        for (const QString& f : files)
            write_file(r.filePath(f), "x");
        QVERIFY(r.mkpath(program));
        const auto at = [&](const QString& p) { return p == "-" ? QString() : r.filePath(p); };
        const AppFolders folders =
            ::choose_folders(r.filePath(program), r.filePath("home/.local/share/Zandrel"), at(option));
        QCOMPARE(folders.data_dir, r.filePath(data));
        QCOMPARE(folders.share_dir, r.filePath(share));
    }

    void data_folder_is_made_with_its_parents() {
        QTemporaryDir root;
        QVERIFY(make_data_folder(root.filePath("a/b/Zandrel")));
        QVERIFY(QFileInfo(root.filePath("a/b/Zandrel")).isDir());
        QVERIFY(make_data_folder(root.filePath("a/b/Zandrel"))); // already there
        write_file(root.filePath("file"), "x");
        QVERIFY(!make_data_folder(root.filePath("file")));
        QVERIFY(!make_data_folder(QString()));
    }

    // One copy a data folder: a second is refused with the folder's name; the lock of a copy that
    // died without a word (killed, crashed) does not keep the folder shut for ever.
    void one_copy_holds_the_data_folder() {
        QTemporaryDir dir;
        QString refusal;
        auto first = lock_data_folder(dir.path(), refusal);
        QVERIFY(first);
        QVERIFY(refusal.isEmpty());
        QVERIFY(!lock_data_folder(dir.path(), refusal));
        QVERIFY2(refusal.contains(QDir::toNativeSeparators(dir.path())), qPrintable(refusal));
        first.reset();
        QVERIFY(lock_data_folder(dir.path(), refusal));

        const pid_t child = fork();
        if (child == 0) {
            QString ignored;
            const auto held = lock_data_folder(dir.path(), ignored);
            _exit(held ? 0 : 1); // no destructor runs: the lock stays behind, as after a crash
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFileInfo::exists(dir.filePath(".zandrel.lock")));
        QVERIFY(lock_data_folder(dir.path(), refusal));
        QVERIFY(refusal.isEmpty());
    }

    // What stands where the lock goes, and whether this copy gets the folder.
    void lock_states_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("refusal"); // a part of it
        const QString host = QSysInfo::machineHostName();
        const QString machine = QString::fromLatin1(QSysInfo::machineUniqueId());
        // Left half made by a crash, or not a lock at all: taken over.
        QTest::newRow("empty") << "file:" << true << "";
        QTest::newRow("garbage") << "file:zzz\x01\xff" << true << "";
        QTest::newRow("no process id") << "file:\nzandrel\n" + host + "\n" << true << "";
        QTest::newRow("a folder") << "folder" << true << "";
        QTest::newRow("a dangling link") << "link" << true << "";
        QTest::newRow("a folder with a file in it")
            << "full folder" << false << "holds no lock and cannot be removed";
        QTest::newRow("a copy that is gone") << "file:999999999\nzandrel\n" + host + "\n" + machine + "\n"
                                             << true << "";
        // A data folder synced from another computer: who and what to remove are named.
        QTest::newRow("another host") << "file:4242\nzandrel\nfaraway\nabc\n"
                                      << false
                                      << "on another computer (faraway). If Zandrel is not open there, "
                                         "remove the file";
        QTest::newRow("another machine of this name") << "file:4242\nzandrel\n" + host + "\nabc\n"
                                                      << false << host + ", machine ID abc";
        // Nowhere to make a lock: nothing may run on such a folder.
        QTest::newRow("a data folder that is a file")
            << "not a folder" << false << "cannot make the lock file";
        QTest::newRow("a read-only folder") << "read-only" << false << "cannot make the lock file";
    }
    void lock_states() {
        QFETCH(QString, state);
        QFETCH(bool, locked);
        QFETCH(QString, refusal);
        QTemporaryDir root;
        QString dir = root.filePath("data");
        QVERIFY(QDir().mkpath(dir));
        const QString lock = QDir(dir).filePath(".zandrel.lock");
        bool mounted = false;
        if (state.startsWith("file:"))
            write_file(lock, state.mid(5).toLatin1());
        else if (state == "folder")
            QVERIFY(QDir().mkpath(lock));
        else if (state == "full folder")
            write_file(lock + "/x", "x");
        else if (state == "link")
            QVERIFY(QFile::link(root.filePath("nowhere"), lock));
        else if (state == "not a folder")
            write_file(dir = root.filePath("file"), "x");
        else if (state == "read-only") {
            // Root writes into a folder of mode 555; a read-only mount binds root too.
            const QByteArray d = QFile::encodeName(dir);
            mounted = geteuid() == 0 && ::mount(d.constData(), d.constData(), nullptr, MS_BIND, nullptr) == 0;
            if (mounted &&
                ::mount(nullptr, d.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
                mounted = (::umount(d.constData()), false);
            if (!mounted && geteuid() == 0)
                QSKIP("no read-only mount can be made here");
            if (!mounted)
                QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        }
        QString why;
        const auto held = lock_data_folder(dir, why);
        if (mounted)
            ::umount(QFile::encodeName(dir).constData());
        QCOMPARE(bool(held), locked);
        QVERIFY2(locked ? why.isEmpty() : why.contains(refusal), qPrintable(why));
        if (!locked && state != "not a folder")
            QVERIFY2(why.contains(QDir::toNativeSeparators(
                         state.startsWith("file:") || state == "full folder" ? lock : dir)),
                     qPrintable(why));
        if (locked) {
            QVERIFY(QFileInfo(lock).isFile());
            QString second;
            QVERIFY(!lock_data_folder(dir, second)); // and it holds
            QVERIFY2(second.contains("already open"), qPrintable(second));
        }
    }

    void command_line_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("run");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QString>("answer_holds");
        QTest::addColumn<QString>("data_dir");
        const auto row = [](const char* name, const QStringList& arguments, bool run, int exit_code,
                            const QString& answer_holds, const QString& data_dir) {
            QTest::newRow(name) << arguments << run << exit_code << answer_holds << data_dir;
        };
        const QString version = QStringLiteral("Zandrel " ZANDREL_VERSION "\n");
        row("nothing", {}, true, 0, "", "");
        row("--data-dir", {"--data-dir", "/tmp/z/"}, true, 0, "", "/tmp/z");
        row("--data-dir=, relative", {"--data-dir=mine/../data"}, true, 0, "", QDir::currentPath() + "/data");
        row("--data-dir empty", {"--data-dir="}, false, 1, "needs a folder", "");
        row("--data-dir without value", {"--data-dir"}, false, 1, "data-dir", "");
        row("unknown option", {"--datadir", "x"}, false, 1, "'datadir'", "");
        row("stray argument", {"draws.txt"}, false, 1, "'draws.txt' is not a command", "");
        row("a mistyped command", {"imoprt", "f.csv", "--lotto", "S"}, false, 1,
            "'imoprt' is not a command.\nUsage: zandrel [--data-dir FOLDER]\n       zandrel "
            "import|export|check|backtest",
            "");
        row("a command in capitals", {"IMPORT", "f.csv"}, false, 1, "written in lower case: import", "");
        row("--data-dir twice", {"--data-dir", "A", "--data-dir", "B", "import"}, false, 1,
            "'--data-dir' is given more than once", "");
        row("--data-dir \"\"", {"--data-dir", ""}, false, 1, "needs a folder", "");
        row("--help", {"--help"}, false, 0, "Usage: zandrel [options]", "");
        row("-h lists --data-dir", {"-h"}, false, 0, "--data-dir <folder>", "");
        row("help beside a mistake", {"--bogus", "--help"}, false, 0, "Usage:", "");
        row("--version", {"--version"}, false, 0, version, "");
        row("-v", {"-v"}, false, 0, version, "");
    }
    void command_line() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, run);
        QFETCH(int, exit_code);
        QFETCH(QString, answer_holds);
        QFETCH(QString, data_dir);
        const StartOptions options = read_start_options(QStringList{"/usr/bin/zandrel"} + arguments);
        QCOMPARE(options.run, run);
        QCOMPARE(options.exit_code, exit_code);
        QVERIFY2(options.answer.contains(answer_holds), qPrintable(options.answer));
        QCOMPARE(options.answer.isEmpty(), run);
        QCOMPARE(options.data_dir, data_dir);
    }

    // The toolkit's own options go before the program looks for mistakes, values and all.
    void toolkit_options_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("none") << QStringList{"z", "--data-dir", "d"} << QStringList{"z", "--data-dir", "d"};
        QTest::newRow("with values") << QStringList{"z", "-platform", "offscreen", "--style", "Fusion", "x"}
                                     << QStringList{"z", "x"};
        QTest::newRow("joined and flags")
            << QStringList{"z", "-style=Fusion", "-reverse", "--frob"} << QStringList{"z", "--frob"};
        QTest::newRow("the program's own name stays") << QStringList{"-platform"} << QStringList{"-platform"};
    }
    void toolkit_options() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, kept);
        QCOMPARE(without_toolkit_options(arguments), kept);
    }

    void samples_and_help_come_from_the_share_folder() {
        TestApp app;
        QTemporaryDir share;
        app.session.share_dir = share.path();
        for (const char* s : {"d1", "d1a", "d2"})
            write_file(QDir(share.path()).filePath(s), QByteArray("sample ") + s);
        write_file(QDir(share.path()).filePath("main.htm"), "<html><body>Guide</body></html>");

        auto* main = app.show<frmMain>("frmMain");
        QCOMPARE(read_all(app.path("Lto/Canada_6_49/draws.txt")), QByteArray("sample d1"));
        QCOMPARE(read_all(app.path("Lto/Canada_6_49/param.qtz")), QByteArray("sample d1a"));
        QCOMPARE(read_all(app.path("Tsets/10/Forecaster1")), QByteArray("sample d2"));
        QVERIFY(!QFileInfo::exists(QDir(share.path()).filePath("Lto")));
        QVERIFY(!QFileInfo::exists(app.path("d1")));

        main->UserGuide_Click();
        auto* browser = app.windows.find("frmHelp")->findChild<QTextBrowser*>("WebBrowser1");
        QCOMPARE(browser->source().toLocalFile(), QDir(share.path()).filePath("main.htm"));
        QVERIFY(browser->toPlainText().contains("Guide"));
    }

    // The about page beside the built program carries the version, not a placeholder.
    void about_page_shows_the_version() {
        const QByteArray page = read_all(QStringLiteral(ZANDREL_BIN_DIR "/about.htm"));
        QVERIFY(page.contains("version " ZANDREL_VERSION "."));
        QVERIFY(!page.contains('@'));
    }
};

QTEST_MAIN(TestStartUp)
#include "test_start_up.moc"
