// The lotto document: what opening a lotto reports, and which changes count as unsaved.
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_entry.h"
#include "core/lotto/lotto_files.h"
#include "sample_lotto.h"
#include "support/test_files.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray two_draws = "2001-12-29 10 11 12 13 14 15 16 \r\n"
                             "2001-12-22 1 2 3 4 5 6 7 \r\n";

} // namespace

class TestLottoDocument : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void open_data() {
        QTest::addColumn<QByteArray>("params"); // "-": no file
        QTest::addColumn<QByteArray>("draws");  // "-": no file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rows");
        const QByteArray good = encode_params(lotto49()).value();
        using O = LottoDocument::Open;
        QTest::newRow("opened, sorted") << good << two_draws << int(O::opened) << "draws.txt"
                                        << "" << 3;
        QTest::newRow("no parameters") << QByteArray("-") << two_draws << int(O::no_params) << "param.qtz"
                                       << "No the file 'param.qtz'." << 1;
        QTest::newRow("parameters cut short")
            << good.left(20) << two_draws << int(O::bad_params) << "param.qtz" << msg_data_not_correct << 1;
        QTest::newRow("no draws") << good << QByteArray("-") << int(O::no_draws) << "draws.txt"
                                  << "No the file 'draws.txt'" << 1;
        QTest::newRow("a date that does not read")
            << good << QByteArray("2001-13-45 1 2 3 4 5 6 7 \r\n" + two_draws) << int(O::bad_date)
            << "draws.txt"
            << "Not correct dates" << 4;
    }
    void open() {
        QFETCH(QByteArray, params);
        QFETCH(QByteArray, draws);
        QFETCH(int, status);
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QString folder = lotto_folder(dir.path(), QStringLiteral("Six49"));
        QVERIFY(QDir().mkpath(folder));
        if (params != "-")
            write_file(join_path(folder, QStringLiteral("param.qtz")), params);
        if (draws != "-")
            write_file(join_path(folder, QStringLiteral("draws.txt")), draws);

        LottoDocument doc;
        // What an earlier lotto left must not pass as this one's.
        doc.append_draws({DrawRec{date_to_serial(QDate(2000, 1, 1)), {1, 2, 3, 4, 5, 6}, 7}});
        const LottoDocument::Open opened = doc.open(folder, QStringLiteral("Six49"));
        QCOMPARE(int(opened.status), status);
        QCOMPARE(opened.path, join_path(folder, file));
        QCOMPARE(opened.message(), message);
        QCOMPARE(doc.draws().rows(), rows);
        QCOMPARE(doc.name(), opened.chosen() ? QStringLiteral("Six49") : QString());
        QVERIFY(!doc.modified());
        if (opened.chosen())
            QCOMPARE(doc.params(), lotto49());
        if (status == int(LottoDocument::Open::opened))
            QCOMPARE(doc.row_words(1), "2001-12-22 1 2 3 4 5 6 7");
        // Only the lotto the table came from may replace the draws file.
        QCOMPARE(doc.may_save(folder, QStringLiteral("Six49")) == LottoDocument::Save::saved,
                 opened.chosen() || draws == "-");
    }

    void history_names_the_row_that_does_not_read() {
        LottoDocument doc;
        doc.append_draws({DrawRec{date_to_serial(QDate(2001, 12, 22)), {1, 2, 3, 4, 5, 6}, 7}});
        std::vector<DrawRec> draws;
        QCOMPARE(doc.history(draws), 0);
        QCOMPARE(draws.size(), size_t(1));
        doc.draws().set_text(1, draws_col::n1 + 2, QStringLiteral("x"));
        QCOMPARE(doc.history(draws), 1);
        QCOMPARE(doc.row_words(1), "2001-12-22 1 2 x 4 5 6 7");
    }

    // Edits set the state once; a save, a load and a release clear it; sorting and the serials
    // it writes are no edit.
    void modified_state() {
        QTemporaryDir dir;
        const QString folder = lotto_folder(dir.path(), QStringLiteral("Six49"));
        QVERIFY(QDir().mkpath(folder));
        write_file(join_path(folder, QStringLiteral("param.qtz")), encode_params(lotto49()).value());
        write_file(join_path(folder, QStringLiteral("draws.txt")), two_draws);
        LottoDocument doc;
        QSignalSpy spy(&doc, &Document::modified_changed);
        QCOMPARE(int(doc.open(folder, QStringLiteral("Six49")).status), int(LottoDocument::Open::opened));
        QVERIFY(doc.sort());
        QCOMPARE(spy.count(), 0);

        doc.draws().set_text(2, draws_col::n1, QStringLiteral("9"));
        doc.draws().set_text(2, draws_col::n1 + 1, QStringLiteral("8"));
        QVERIFY(doc.modified());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(doc.write_draws(folder, QStringLiteral("Six49")), LottoDocument::Save::saved);
        QVERIFY(!doc.modified());
        QCOMPARE(read_all(join_path(folder, QStringLiteral("draws.txt"))),
                 "2001-12-22 1 2 3 4 5 6 7 \r\n2001-12-29 9 8 12 13 14 15 16 \r\n");

        QVERIFY(doc.append_draws({DrawRec{date_to_serial(QDate(2002, 1, 5)), {1, 2, 3, 4, 5, 6}, 7}}));
        QVERIFY(doc.modified());
        doc.release_draws();
        QVERIFY(!doc.modified());
        doc.draws().set_text(0, 0, QStringLiteral("Date")); // the header too is what a Save writes
        QVERIFY(doc.modified());
        doc.open(folder, QStringLiteral("Six49"));
        QVERIFY(!doc.modified());
        QCOMPARE(spy.count(), 6);
    }

    // Saved parameters are the lotto's, with the stamp that tells a later change by someone else.
    void save_params() {
        QTemporaryDir dir;
        const QString folder = lotto_folder(dir.path(), QStringLiteral("New"));
        QVERIFY(QDir().mkpath(folder));
        LottoDocument doc;
        QVERIFY(doc.save_params(folder, lotto49()));
        QCOMPARE(doc.params(), lotto49());
        QCOMPARE(read_all(join_path(folder, QStringLiteral("param.qtz"))), encode_params(lotto49()).value());
        QVERIFY(!doc.params_stamp().changed(join_path(folder, QStringLiteral("param.qtz"))));
        QVERIFY(!doc.save_params(join_path(folder, QStringLiteral("missing")), lotto49()));
    }
};

QTEST_GUILESS_MAIN(TestLottoDocument)
#include "test_lotto_document.moc"
