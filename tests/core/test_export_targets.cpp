// Where an export may write: never over the data folder's own files, and a device or a pipe in
// place, never replaced by a regular file.
#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// What stands at the target before the export.
enum class Node { none, file, fifo, null_device, full_device, link_to_draws, link_to_new_in_lto, folder };

} // namespace

Q_DECLARE_METATYPE(Node)

class TestExportTargets : public QObject {
    Q_OBJECT
  private slots:
    // The data folder is data/ in a temporary root; paths are relative to the root.
    void targets_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Node>("node");
        QTest::addColumn<bool>("special_files"); // as the commands (true) or a window (false)
        QTest::addColumn<QString>("refusal");    // a part of it; empty: written
        const QString own = "in the data folder";
        QTest::newRow("draws.txt") << "data/Lto/S/draws.txt" << Node::file << true << own;
        QTest::newRow("param.qtz") << "data/Lto/S/param.qtz" << Node::file << true << own;
        QTest::newRow("a set") << "data/Tsets/10/F" << Node::file << true << own;
        QTest::newRow("a new file in a lotto") << "data/Lto/S/out.csv" << Node::none << true << own;
        QTest::newRow("the Lto folder itself") << "data/Lto" << Node::folder << true << own;
        QTest::newRow("the system file") << "data/system" << Node::file << true << own;
        QTest::newRow("the lock") << "data/.zandrel.lock" << Node::none << true << own;
        QTest::newRow("by ..") << "data/Tsets/../Lto/S/../S/draws.txt" << Node::file << true << own;
        QTest::newRow("a link to draws.txt") << "link.csv" << Node::link_to_draws << true << own;
        QTest::newRow("a dangling link into Lto") << "link.csv" << Node::link_to_new_in_lto << false << own;
        QTest::newRow("a window too") << "data/Lto/S/draws.txt" << Node::file << false << own;
        QTest::newRow("beside the folders") << "data/out.csv" << Node::none << true << "";
        QTest::newRow("a file elsewhere") << "out.csv" << Node::file << false << "";
        QTest::newRow("a folder elsewhere") << "out" << Node::folder << true << "is a folder";
        QTest::newRow("a pipe") << "pipe" << Node::fifo << true << "";
        QTest::newRow("a pipe, from a window") << "pipe" << Node::fifo << false << "not a regular file";
        QTest::newRow("a null device") << "null" << Node::null_device << true << "";
        QTest::newRow("a null device, from a window")
            << "null" << Node::null_device << false << "not a regular file";
        QTest::newRow("a full device") << "full" << Node::full_device << true << "";
    }
    void targets() {
        QFETCH(QString, target);
        QFETCH(Node, node);
        QFETCH(bool, special_files);
        QFETCH(QString, refusal);
        QTemporaryDir root;
        const QDir r(root.path());
        const QString data = r.filePath("data");
        const QByteArray draws = "2024-01-03 1 2 3 4 5 6 7 \r\n";
        write_file(r.filePath("data/Lto/S/draws.txt"), draws);
        write_file(r.filePath("data/Tsets/10/F"), "");
        const QString path = r.filePath(target);
        const QByteArray name = QFile::encodeName(path);
        const auto device = [&](unsigned minor) {
            if (geteuid() != 0)
                QSKIP("device nodes are made by root only");
            QCOMPARE(::mknod(name.constData(), S_IFCHR | 0666, makedev(1, minor)), 0);
        };
        switch (node) {
        case Node::none:
            break;
        case Node::file:
            write_file(path, "old");
            break;
        case Node::folder:
            QVERIFY(r.mkpath(target));
            break;
        case Node::fifo:
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            break;
        case Node::null_device:
            device(3);
            break;
        case Node::full_device:
            device(7);
            break;
        case Node::link_to_draws:
            QVERIFY(QFile::link(r.filePath("data/Lto/S/draws.txt"), path));
            break;
        case Node::link_to_new_in_lto:
            QVERIFY(QFile::link(r.filePath("data/Lto/S/new.csv"), path));
            break;
        }
        const QString answer = export_target_refusal(path, data, special_files);
        QVERIFY2(refusal.isEmpty() ? answer.isEmpty() : answer.contains(refusal), qPrintable(answer));
        if (!refusal.isEmpty())
            return;

        const QByteArray csv = "Date,N1\n2024-01-03,1\n";
        QString error;
        if (node == Node::fifo) {
            // A reader waits at the other end, as a program reading the pipe would.
            const int reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(reader >= 0);
            QVERIFY(write_export_file(path, csv, &error));
            QByteArray got(100, '\0');
            got.resize(::read(reader, got.data(), got.size()));
            ::close(reader);
            QCOMPARE(got, csv);
        } else {
            QCOMPARE(write_export_file(path, csv, &error), node != Node::full_device);
            if (node == Node::full_device)
                QVERIFY(!error.isEmpty());
            else if (node != Node::null_device)
                QCOMPARE(read_all(path), csv);
        }
        // The node is as it was: no regular file took its place.
        struct stat st {};
        QCOMPARE(::lstat(name.constData(), &st), 0);
        if (node == Node::fifo)
            QVERIFY(S_ISFIFO(st.st_mode));
        if (node == Node::null_device || node == Node::full_device)
            QVERIFY(S_ISCHR(st.st_mode));
        QCOMPARE(read_all(r.filePath("data/Lto/S/draws.txt")), draws);
    }
};

QTEST_GUILESS_MAIN(TestExportTargets)
#include "test_export_targets.moc"
