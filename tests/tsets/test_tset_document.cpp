// The targeted-set document: what opening and saving a set file report, and which changes count
// as unsaved.
#include "core/base/file_names.h"
#include "core/tsets/tset_document.h"
#include "support/test_files.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray rows = "2003-03-08 1 2 3 4 5 6 7 8 9 10 \r\n"
                        "2003-03-01 11 12 13 14 15 16 17 18 19 20 \r\n";

} // namespace

class TestTsetDocument : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void open_data() {
        QTest::addColumn<QByteArray>("file"); // "-": none
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("unread_line");
        QTest::addColumn<int>("rows");
        using O = TsetDocument::Open;
        QTest::newRow("opened") << rows << int(O::opened) << 0 << 3;
        QTest::newRow("no file") << QByteArray("-") << int(O::no_file) << 0 << 0;
        QTest::newRow("stops short of more rows")
            << QByteArray(rows + "\r\n" + rows) << int(O::opened) << 3 << 3;
    }
    void open() {
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QFETCH(int, unread_line);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString path = join_path(dir.path(), QStringLiteral("Set"));
        if (file != "-")
            write_file(path, file);
        TsetDocument doc;
        doc.set_size(10);
        const TsetDocument::Open opened = doc.open(path, QStringLiteral("Set"));
        QCOMPARE(int(opened.status), status);
        QCOMPARE(opened.unread_line, unread_line);
        QCOMPARE(doc.unread_line(), unread_line);
        QCOMPARE(doc.rows().rows(), rows);
        QCOMPARE(doc.name(), rows ? QStringLiteral("Set") : QString());
        QCOMPARE(doc.current_row(), rows ? rows - 1 : 0);
        QVERIFY(!doc.modified());
    }

    // An edit sets the state; a save clears it and writes the rows in date order; a date that
    // does not read saves nothing and leaves the edits unsaved; a release drops them.
    void save_and_modified_state() {
        QTemporaryDir dir;
        const QString path = join_path(dir.path(), QStringLiteral("Set"));
        write_file(path, rows);
        TsetDocument doc;
        doc.set_size(10);
        QSignalSpy spy(&doc, &Document::modified_changed);
        QCOMPARE(int(doc.open(path, QStringLiteral("Set")).status), int(TsetDocument::Open::opened));
        doc.rows().set_text(1, 1, QStringLiteral("21"));
        QVERIFY(doc.modified());
        QCOMPARE(doc.save(path), SaveResult::saved);
        QVERIFY(!doc.modified());
        QVERIFY(!doc.stamp().changed(path));
        QCOMPARE(read_all(path), "2003-03-01 11 12 13 14 15 16 17 18 19 20 \r\n"
                                 "2003-03-08 21 2 3 4 5 6 7 8 9 10 \r\n");

        doc.rows().set_text(1, 0, QStringLiteral("2003-02-30"));
        QCOMPARE(doc.save(path), SaveResult::bad_date);
        QVERIFY(doc.modified());
        QCOMPARE(read_all(path).left(10), "2003-03-01");
        doc.release();
        QVERIFY(!doc.modified());
        QCOMPARE(doc.rows().rows(), 0);
        QCOMPARE(spy.count(), 4);
    }
};

QTEST_GUILESS_MAIN(TestTsetDocument)
#include "test_tset_document.moc"
