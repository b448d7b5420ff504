// Designed systems in the data folder: saved bytes, the list, names refused, files that do not read.
#include "core/wheels/designed_wheels.h"
#include "core/wheels/wheel_bounds.h"
#include "core/wheels/wheel_check.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const std::vector<Ticket> fano{0b0001011, 0b0010110, 0b0101100, 0b1011000, 0b0110001, 0b1100010, 0b1000101};

} // namespace

class TestDesignedWheels : public QObject {
    Q_OBJECT
  private slots:
    void save_list_load() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(save_designed_wheel(dir.path(), QStringLiteral("Fano"), fano, error));
        QVERIFY(error.isEmpty());
        const QString path = dir.path() + QStringLiteral("/Wheels/Fano.txt");
        QCOMPARE(read_all(path),
                 QByteArray("1 2 4\r\n2 3 5\r\n3 4 6\r\n4 5 7\r\n1 5 6\r\n2 6 7\r\n1 3 7\r\n"));
        const std::vector<Ticket> wide{Ticket{1} | Ticket{1} << 48};
        QVERIFY(save_designed_wheel(dir.path(), QStringLiteral("big 49"), wide, error));
        QCOMPARE(read_all(dir.path() + QStringLiteral("/Wheels/big 49.txt")), QByteArray("1 49\r\n"));
        // Files whose names could not be saved stay off the list.
        write_file(dir.path() + QStringLiteral("/Wheels/.hidden.txt"), "1 2\r\n");
        write_file(dir.path() + QStringLiteral("/Wheels/10_3_6.txt"), "1 2\r\n");
        write_file(dir.path() + QStringLiteral("/Wheels/notes.doc"), "1 2\r\n");
        QCOMPARE(list_designed_wheels(dir.path()),
                 (QStringList{QStringLiteral("big 49"), QStringLiteral("Fano")}));

        const WheelRead read = load_designed_wheel(dir.path(), QStringLiteral("Fano"));
        QVERIFY2(read.wheel, qPrintable(read.error));
        QCOMPARE(read.wheel->tickets, fano);
        QCOMPARE(read.wheel->v, 7);
        QCOMPARE(read.wheel->k, 3);
        QCOMPARE(load_designed_wheel(dir.path(), QStringLiteral("Fano"), 10).wheel->v, 10);
        QVERIFY(load_designed_wheel(dir.path(), QStringLiteral("Fano"), 6)
                    .error.contains(QStringLiteral("line 4")));
        QVERIFY(load_designed_wheel(dir.path(), QStringLiteral("missing"))
                    .error.contains(QStringLiteral("no designed")));
        QVERIFY(list_designed_wheels(dir.path() + QStringLiteral("/none")).isEmpty());
    }

    void refused_names_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("words");
        QTest::newRow("empty") << ""
                               << "needs a name";
        QTest::newRow("blanks") << "  "
                                << "needs a name";
        QTest::newRow("dot") << "."
                             << "cannot be";
        QTest::newRow("dot dot") << ".."
                                 << "cannot be";
        QTest::newRow("hidden") << ".wheel"
                                << "cannot be";
        QTest::newRow("slash") << "a/b"
                               << "cannot be";
        QTest::newRow("backslash") << "a\\b"
                                   << "cannot be";
        QTest::newRow("control character") << "a\tb"
                                           << "cannot be";
        QTest::newRow("catalogue system") << "10_3_6"
                                          << "catalogue";
        QTest::newRow("last catalogue system") << "20_4_6"
                                               << "catalogue";
    }
    void refused_names() {
        QFETCH(QString, name);
        QFETCH(QString, words);
        QVERIFY2(designed_name_fault(name).contains(words), qPrintable(designed_name_fault(name)));
        QTemporaryDir dir;
        QString error;
        QVERIFY(!save_designed_wheel(dir.path(), name, fano, error));
        QVERIFY(error.contains(words));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void a_failed_save_keeps_the_old_file() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(save_designed_wheel(dir.path(), QStringLiteral("Fano"), fano, error));
        QVERIFY(!save_designed_wheel(dir.path(), QStringLiteral("Fano"), {}, error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(read_all(dir.path() + QStringLiteral("/Wheels/Fano.txt")).count('\n'), 7);
        // A file in the way of the folder.
        QTemporaryDir other;
        write_file(other.path() + QStringLiteral("/Wheels"), "in the way");
        QVERIFY(!save_designed_wheel(other.path(), QStringLiteral("Fano"), fano, error));
        QVERIFY(error.contains(QStringLiteral("Wheels")));
    }

    void bad_files_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("words");
        QTest::newRow("number out of range")
            << QByteArray("1 2 3\r\n4 5 65\r\n") << "line 2: '65' is not a position";
        QTest::newRow("zero") << QByteArray("0 2 3\r\n") << "line 1: '0'";
        QTest::newRow("not a number") << QByteArray("1 2 3\r\n1 2 x\r\n") << "line 2: 'x'";
        QTest::newRow("sizes differ")
            << QByteArray("1 2 3\r\n1 2 3 4\n") << "line 2: a ticket of 4 numbers among tickets of 3";
        QTest::newRow("number twice") << QByteArray("1 2 2\r\n") << "line 1: 2 appears twice";
        QTest::newRow("one number") << QByteArray("1\r\n") << "line 1: a ticket holds 2 to 6";
        QTest::newRow("seven numbers") << QByteArray("1 2 3 4 5 6 7\r\n") << "line 1: a ticket holds 2 to 6";
        QTest::newRow("empty line inside") << QByteArray("1 2 3\r\n\r\n1 2 4\r\n") << "line 2: an empty line";
        QTest::newRow("empty file") << QByteArray() << "holds no ticket";
    }
    void bad_files() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, words);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/w.txt");
        write_file(path, bytes);
        const WheelRead read = read_wheel_file(path);
        QVERIFY(!read.wheel);
        QVERIFY2(read.error.contains(words), qPrintable(read.error));
        QVERIFY(read.error.contains(QStringLiteral("w.txt")));
    }

    void good_files_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::newRow("LF and no last line end") << QByteArray("3 1 2\n4 5 6") << 2;
        QTest::newRow("extra blanks") << QByteArray(" 1  2 3 \r\n") << 1;
        QTest::newRow("64 numbers") << QByteArray("63 64\r\n") << 1;
    }
    void good_files() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/w.txt");
        write_file(path, bytes);
        const WheelRead read = read_wheel_file(path);
        QVERIFY2(read.wheel, qPrintable(read.error));
        QCOMPARE(static_cast<int>(read.wheel->tickets.size()), count);
    }

    // The shipped wheels: tickets of 5 and 6, 3 if 3 and 4 if 4, 10 to 25 numbers, each one
    // giving its guarantee and never below the lower bound.
    void shipped_wheels_give_their_guarantee() {
        const ShippedWheels shipped = parse_shipped_wheels(designed_wheels_text());
        QVERIFY2(shipped.error.isEmpty(), qPrintable(shipped.error));
        QCOMPARE(shipped.wheels.size(), size_t{64});
        for (const ShippedWheel& w : shipped.wheels) {
            const QString name = QStringLiteral("C(%1,%2,%3)").arg(w.shape.v).arg(w.shape.k).arg(w.shape.t);
            QVERIFY2(count_covered(w.shape, w.tickets).complete(), qPrintable(name));
            QVERIFY2(w.tickets.size() >= schonheim_bound(w.shape.v, w.shape.k, w.shape.t), qPrintable(name));
        }
        QVERIFY(shipped_wheel({25, 6, 4, 4}));
        QVERIFY(!shipped_wheel({26, 6, 4, 4}));
    }

    void shipped_text_faults_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("words");
        QTest::newRow("short wheel") << QByteArray("wheel 7 3 2 2 2\n1 2 3\nwheel 7 3 2 2 1\n1 2 4\n")
                                     << "line 3: the wheel before";
        QTest::newRow("last wheel short")
            << QByteArray("# c\nwheel 7 3 2 2 2\n1 2 3\n") << "line 3: the last";
        QTest::newRow("ticket outside") << QByteArray("1 2 3\n") << "line 1: a ticket outside";
        QTest::newRow("ticket too long")
            << QByteArray("wheel 7 3 2 2 1\n1 2 3 4\n") << "line 2: not a ticket";
        QTest::newRow("number beyond v") << QByteArray("wheel 7 3 2 2 1\n1 2 8\n") << "line 2: not a ticket";
        QTest::newRow("bad shape") << QByteArray("wheel 7 3 4 4 1\n") << "line 1: not a wheel";
        QTest::newRow("word") << QByteArray("wheel 7 3 2 2 1\n1 2 x\n") << "line 2: not a number";
    }
    void shipped_text_faults() {
        QFETCH(QByteArray, text);
        QFETCH(QString, words);
        const ShippedWheels parsed = parse_shipped_wheels(std::string_view(text.constData(), text.size()));
        QVERIFY2(parsed.error.contains(words), qPrintable(parsed.error));
    }
};

QTEST_APPLESS_MAIN(TestDesignedWheels)
#include "test_designed_wheels.moc"
