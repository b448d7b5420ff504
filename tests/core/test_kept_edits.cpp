// Edits that were not saved, kept aside when the program ends or their window closes: what is
// written where, that the lotto's and set's own files stay as they were, and that a restore gives
// back every row and cell.
#include "core/base/file_names.h"
#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_files.h"
#include "core/session/kept_edits.h"
#include "core/session/session.h"
#include "core/tsets/tset_document.h"
#include "core/tsets/tset_files.h"
#include "lotto/sample_lotto.h"
#include "support/test_files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray draws = "2001-12-22 1 2 3 4 5 6 7 \r\n"
                         "2001-12-29 10 11 12 13 14 15 16 \r\n";

// A data folder with the lotto Six49 and the set Set of size 10, opened in session.
struct Data {
    QTemporaryDir dir;
    Session session;
    QString draws_path() const { return join_path(lotto_folder(dir.path(), "Six49"), draws_file_name); }
    QString set_path() const { return join_path(size_folder(tsets_folder(dir.path()), 10), "Set"); }
    Data() {
        session.app_dir = dir.path();
        write_file(join_path(lotto_folder(dir.path(), "Six49"), param_file_name),
                   encode_params(six49()).value());
        write_file(draws_path(), draws);
        write_file(set_path(), "2003-03-01 1 2 3 4 5 6 7 8 9 10 \r\n");
        QCOMPARE(int(session.lotto.open(lotto_folder(dir.path(), "Six49"), "Six49").status),
                 int(LottoDocument::Open::opened));
        session.tset.set_size(10);
        QCOMPARE(int(session.tset.open(set_path(), "Set").status), int(TsetDocument::Open::opened));
    }
};

} // namespace

class TestKeptEdits : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void draws_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("kept"); // a Kept
        QTest::addColumn<QByteArray>("copy");
        QTest::newRow("nothing edited") << "none" << int(Kept::nothing) << QByteArray();
        QTest::newRow("a number changed") << "cell" << int(Kept::kept)
                                          << QByteArray("2001-12-22 9 2 3 4 5 6 7 \r\n"
                                                        "2001-12-29 10 11 12 13 14 15 16 \r\n");
        // An empty new row is no draw: the file holds all there is.
        QTest::newRow("only an empty row added") << "row" << int(Kept::nothing) << QByteArray();
        QTest::newRow("table of no lotto") << "released" << int(Kept::nothing) << QByteArray();
    }
    void draws() {
        QFETCH(QString, edit);
        QFETCH(int, kept);
        QFETCH(QByteArray, copy);
        Data data;
        LottoDocument& lotto = data.session.lotto;
        if (edit == u"cell")
            lotto.draws().set_text(1, draws_col::n1, QStringLiteral("9"));
        else if (edit == u"row")
            lotto.draws().append_rows({QStringList(draws_col::count, QString())});
        else if (edit == u"released") {
            lotto.release_draws();
            lotto.draws().append_rows({QStringList{"2001-12-22", "", "1", "2", "3", "4", "5", "6", "0"}});
        }
        QCOMPARE(int(keep_unsaved_draws(lotto, data.dir.path())), kept);
        const QString kept_path = kept_draws_path(data.dir.path(), "Six49");
        QCOMPARE(kept_path, data.dir.path() + "/Unsaved/Lto/Six49/draws.txt");
        QCOMPARE(QFileInfo::exists(kept_path), !copy.isEmpty());
        if (!copy.isEmpty())
            QCOMPARE(read_all(kept_path), copy);
        QCOMPARE(read_all(data.draws_path()), ::draws); // the lotto's own file untouched
    }

    // Restored draws are the table's again, sorted, as edits that a Save of this lotto writes.
    void draws_restore() {
        Data data;
        LottoDocument& lotto = data.session.lotto;
        const QString path = kept_draws_path(data.dir.path(), "Six49");
        write_file(path, "2002-01-05 1 2 3 4 5 6 7 \r\n2001-12-29 10 11 12 13 14 15 16 \r\n");
        QVERIFY(lotto.restore_draws(path));
        QVERIFY(lotto.modified());
        QCOMPARE(lotto.draws().rows(), 3);
        QCOMPARE(lotto.draws().text(2, 0), "2002-01-05");
        QCOMPARE(lotto.current_row(), 2);
        const QString folder = lotto_folder(data.dir.path(), "Six49");
        QCOMPARE(int(lotto.may_save(folder, "Six49")), int(LottoDocument::Save::saved));
        QString error;
        QVERIFY(!lotto.restore_draws(path + "-missing", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(lotto.draws().rows(), 3); // a copy that does not read changes nothing
    }

    // Another lotto's draws never become a new lotto's first file; draws of no lotto may.
    void foreign_draws_are_not_saved_into_a_new_lotto() {
        Data data;
        LottoDocument& lotto = data.session.lotto;
        const QString fresh = lotto_folder(data.dir.path(), "Fresh");
        QCOMPARE(int(lotto.may_save(fresh, "Fresh")), int(LottoDocument::Save::not_loaded));
        lotto.release_draws();
        QCOMPARE(int(lotto.may_save(fresh, "Fresh")), int(LottoDocument::Save::saved));
    }

    // A row half typed keeps its place in the copy and comes back with its empty cells.
    void set_round_trip() {
        Data data;
        TsetDocument& set = data.session.tset;
        set.rows().append_rows({QStringList{"2003-03-08", "5", "", "7"}});
        QVERIFY(set.modified());
        QCOMPARE(int(keep_unsaved_set(set, data.dir.path())), int(Kept::kept));
        const QString path = kept_set_path(data.dir.path(), 10, "Set");
        QCOMPARE(path, data.dir.path() + "/Unsaved/Tsets/10/Set");
        QCOMPARE(read_all(path), "2003-03-01 1 2 3 4 5 6 7 8 9 10 \r\n2003-03-08 5 ? 7 ? ? ? ? ? ? ? \r\n");
        QCOMPARE(read_all(data.set_path()), "2003-03-01 1 2 3 4 5 6 7 8 9 10 \r\n");

        TsetDocument again;
        again.set_size(10);
        QVERIFY(again.open(data.set_path(), "Set").status == TsetDocument::Open::opened);
        QVERIFY(again.restore(path));
        QVERIFY(again.modified());
        QCOMPARE(again.rows().rows(), 3);
        QCOMPARE(again.rows().text(2, 1), "5");
        QCOMPARE(again.rows().text(2, 2), "");
        QCOMPARE(again.rows().text(2, 3), "7");
        QCOMPARE(again.current_row(), 2);
    }

    // The rows of no set (a size just chosen) are kept nowhere; nothing edited, nothing kept.
    void set_without_file() {
        Data data;
        TsetDocument& set = data.session.tset;
        QCOMPARE(int(keep_unsaved_set(set, data.dir.path())), int(Kept::nothing));
        set.rows().set_text(1, 1, QStringLiteral("44"));
        set.forget_file();
        QCOMPARE(int(keep_unsaved_set(set, data.dir.path())), int(Kept::nothing));
        QVERIFY(!QFileInfo::exists(data.dir.path() + "/Unsaved"));
    }

    // A copy that cannot be written says so and harms nothing; the program's end goes on.
    void failed_copy() {
        Data data;
        data.session.lotto.draws().set_text(1, draws_col::n1, QStringLiteral("9"));
        data.session.tset.rows().set_text(1, 1, QStringLiteral("44"));
        write_file(data.dir.path() + "/Unsaved", "a file where the folder would be");
        QCOMPARE(int(keep_unsaved_draws(data.session.lotto, data.dir.path())), int(Kept::failed));
        keep_unsaved_edits(data.session);
        QCOMPARE(read_all(data.draws_path()), ::draws);
        QCOMPARE(read_all(data.dir.path() + "/Unsaved"), "a file where the folder would be");
    }
};

QTEST_MAIN(TestKeptEdits)
#include "test_kept_edits.moc"
