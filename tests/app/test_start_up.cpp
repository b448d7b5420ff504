#include "app/frm_main.h"
#include "app/start_up.h"
#include "support/test_app.h"
#include "support/test_files.h"
#include "ui/help_viewer.h"
#include "zandrel_version.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
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
        row("stray argument", {"draws.txt"}, false, 1, "'draws.txt'", "");
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
