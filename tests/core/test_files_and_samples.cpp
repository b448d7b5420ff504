#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/session/samples.h"
#include "support/faults.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestFilesAndSamples : public QObject {
    Q_OBJECT
  private slots:
    void cp1252_round_trip() {
        const QString text = QString::fromUtf8("Caf\u00e9 \u20ac5 \u201cquoted\u201d");
        const QByteArray bytes = encode_cp1252(text);
        QCOMPARE(bytes, QByteArray("Caf\xe9 \x80"
                                   "5 \x93quoted\x94"));
        QCOMPARE(decode_cp1252(bytes), text);
        QCOMPARE(encode_cp1252(QString::fromUtf8("\u4e2d")), QByteArray("?"));
        // Bytes without a character in the code page come back as they were.
        const QByteArray unassigned("\x81\x8d\x8f\x90\x9d");
        QCOMPARE(encode_cp1252(decode_cp1252(unassigned)), unassigned);
    }

    void lines_read_with_either_ending_and_written_with_crlf() {
        QTemporaryDir dir;
        const QString path = dir.filePath("t.txt");
        write_file(path, "a\r\nb\nc");
        QCOMPARE(read_text_lines(path).value(), (QStringList{"a", "b", "c"}));
        QVERIFY(write_text_lines(path, {"x ", "y "}));
        QCOMPARE(read_all(path), QByteArray("x \r\ny \r\n"));
        QVERIFY(!read_text_lines(dir.filePath("missing")));
        QVERIFY(!write_text_lines(dir.filePath("no/such/folder/t.txt"), {"x"}));
        QCOMPARE(read_all(path), QByteArray("x \r\ny \r\n"));
    }

    void line_ends_and_byte_order_mark_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("lone CR, old Mac files")
            << QByteArray("a 1\rb 2\rc 3\r") << QStringList{"a 1", "b 2", "c 3"};
        QTest::newRow("mixed ends") << QByteArray("a\r\nb\rc\nd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("CR CR LF is an empty line") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("empty lines kept") << QByteArray("\r\n\na") << QStringList{"", "", "a"};
        QTest::newRow("no text") << QByteArray() << QStringList{};
        QTest::newRow("UTF-8 byte-order mark skipped") << QByteArray("\xef\xbb\xbf"
                                                                     "2002-01-05 1\r\n")
                                                       << QStringList{"2002-01-05 1"};
        QTest::newRow("UTF-8 after a mark") << QByteArray("\xef\xbb\xbf"
                                                          "caf\xc3\xa9")
                                            << QStringList{QString::fromUtf8("caf\u00e9")};
        QTest::newRow("mark then bytes that are not UTF-8") << QByteArray("\xef\xbb\xbf"
                                                                          "caf\xe9")
                                                            << QStringList{QString::fromUtf8("caf\u00e9")};
        // A character the save could not write back: the bytes are kept as they are instead.
        QTest::newRow("mark then a character without a Windows-1252 byte")
            << QByteArray("\xef\xbb\xbf"
                          "a\xe4\xb8\xad")
            << QStringList{QString::fromUtf8("a\u00e4\u00b8\u00ad")};
        QTest::newRow("a mark later is text")
            << QByteArray("a\n\xef\xbb\xbf") << QStringList{"a", QString::fromUtf8("\u00ef\u00bb\u00bf")};
    }
    void line_ends_and_byte_order_mark() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath("t.txt");
        write_file(path, bytes);
        QCOMPARE(read_text_lines(path).value(), lines);
    }

    // A save that runs out of room halfway, as on a full disk, leaves the previous file byte for
    // byte and no stray temporary file; the limit binds root too.
    void failed_save_keeps_the_old_file_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("lines");
        QTest::newRow("lines, nothing fits") << 0 << true;
        QTest::newRow("lines, cut halfway") << 5000 << true;
        QTest::newRow("lines, one byte short") << 12999 << true;
        QTest::newRow("bytes, nothing fits") << 0 << false;
        QTest::newRow("bytes, cut halfway") << 5000 << false;
        QTest::newRow("bytes, one byte short") << 12999 << false;
    }
    void failed_save_keeps_the_old_file() {
        QFETCH(int, limit);
        QFETCH(bool, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath("system");
        const QByteArray old = "N1 1 2 3 4 5 6\r\nN2 7 8 9 10 11 12\r\n";
        write_file(path, old);
        const QStringList new_lines(1000, QStringLiteral("N1 40 41 42"));          // 1000 x 13 bytes
        const QByteArray new_bytes = QByteArray("N1 40 41 42\r\n").repeated(1000); // the same
        const auto saved = save_with_file_size_limit(limit, [&] {
            return lines ? write_text_lines(path, new_lines) : write_file_atomically(path, new_bytes);
        });
        QCOMPARE(saved, std::optional(false));
        QCOMPARE(read_all(path), old);
        QCOMPARE(folder_entries(dir.path()), QStringList{"system"});
        // With room enough the same save goes through.
        QCOMPARE(save_with_file_size_limit(13000, [&] { return write_file_atomically(path, new_bytes); }),
                 std::optional(true));
        QCOMPARE(read_all(path), new_bytes);
    }

    void safe_file_names_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::addColumn<bool>("folder"); // also a name for a listed folder
        QTest::newRow("plain") << "Canada_6_49" << true << true;
        QTest::newRow("dot inside") << "my.set" << true << true;
        QTest::newRow("blank inside") << "Lotto Max" << true << true;
        QTest::newRow("leading dot: hidden from folder lists") << ".Mine" << true << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("dot") << "." << false << false;
        QTest::newRow("dot dot") << ".." << false << false;
        QTest::newRow("slash") << "a/b" << false << false;
        QTest::newRow("backslash") << "a\\b" << false << false;
        QTest::newRow("control") << "a\tb" << false << false;
    }
    void safe_file_names() {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QFETCH(bool, folder);
        QCOMPARE(is_safe_file_name(name), safe);
        QCOMPARE(is_safe_folder_name(name), folder);
    }

    // A typed value is kept as typed unless the single-byte file would turn part of it into '?'.
    void storable_texts_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value"); // -1: a date
        QTest::addColumn<QString>("stored");
        QTest::newRow("ascii number as typed") << "07" << 7 << "07";
        QTest::newRow("fraction as typed") << "7.5" << 8 << "7.5";
        QTest::newRow("persian digits") << QString::fromUtf8("\u06f1\u06f2") << 12 << "12";
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0664\u0669") << 49 << "49";
        QTest::newRow("number with a mark") << QString::fromUtf8("\u200f7") << 7 << "7";
        QTest::newRow("latin-1 text kept")
            << QString::fromUtf8("7\u00a0") << 7 << QString::fromUtf8("7\u00a0");
        // A line break or blank around the digits would split the draw in the file.
        QTest::newRow("CR before the number") << "\r1" << 1 << "1";
        QTest::newRow("LF after the number") << "7\n" << 7 << "7";
        QTest::newRow("CR LF and blanks around it") << " \r\n12\t" << 12 << "12";
        QTest::newRow("a control character") << QString::fromUtf8("3\u0085") << 3 << "3";
        QTest::newRow("date as typed") << "1/5/2002" << -1 << "1/5/2002";
        QTest::newRow("date with line breaks around it") << "\r\n2024-01-03\r" << -1 << "2024-01-03";
        QTest::newRow("date without its marks")
            << QString::fromUtf8("5\u200f/1\u200f/2002\u200e") << -1 << "5/1/2002";
    }
    void storable_texts() {
        QFETCH(QString, typed);
        QFETCH(int, value);
        QFETCH(QString, stored);
        QCOMPARE(value < 0 ? storable_date_text(typed) : storable_number_text(typed, value), stored);
        QVERIFY(fits_cp1252(stored));
    }

    // Another program's save replaces the file; one of the same size and bytes counts as a change
    // too, as nothing but the program's own saves should go unasked.
    void file_stamp_sees_changes_by_others() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("draws.txt"));
        FileStamp stamp;
        QVERIFY(!stamp.changed(path)); // never stamped
        stamp.take(path);
        QVERIFY(!stamp.changed(path)); // missing, and still missing
        QVERIFY(write_text_lines(path, {QStringLiteral("a")}));
        QVERIFY(stamp.changed(path)); // made since
        stamp.take(path);
        QVERIFY(!stamp.changed(path));
        QVERIFY(!stamp.changed(dir.filePath(QStringLiteral("other"))));
        QVERIFY(write_text_lines(path, {QStringLiteral("a")}));
        QVERIFY(stamp.changed(path)); // same bytes, written anew
        stamp.take(path);
        QVERIFY(QFile::remove(path));
        QVERIFY(stamp.changed(path));
    }

    void samples_data() {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QStringList>("before");    // files made before the run, with "old"
        QTest::addColumn<QStringList>("installed"); // targets that must equal their source
        QTest::addColumn<QStringList>("absent");
        const QString draws = "Lto/Canada_6_49/draws.txt", params = "Lto/Canada_6_49/param.qtz",
                      tset = "Tsets/10/Forecaster1";
        QTest::newRow("first start") << QStringList{"d1", "d1a", "d2"} << QStringList{}
                                     << QStringList{draws, params, tset} << QStringList{};
        QTest::newRow("no d1: nothing at all")
            << QStringList{"d1a", "d2"} << QStringList{} << QStringList{} << QStringList{"Lto", "Tsets"};
        QTest::newRow("no d1a: draws only")
            << QStringList{"d1", "d2"} << QStringList{} << QStringList{draws} << QStringList{params, "Tsets"};
        QTest::newRow("no d2: no set") << QStringList{"d1", "d1a"} << QStringList{}
                                       << QStringList{draws, params} << QStringList{"Tsets"};
        QTest::newRow("edited files are kept") << QStringList{"d1", "d1a", "d2"} << QStringList{draws, tset}
                                               << QStringList{params} << QStringList{};
    }
    void samples() {
        QFETCH(QStringList, sources);
        QFETCH(QStringList, before);
        QFETCH(QStringList, installed);
        QFETCH(QStringList, absent);
        QTemporaryDir dir;
        const QDir d(dir.path());
        const QMap<QString, QString> source_of{{"Lto/Canada_6_49/draws.txt", "d1"},
                                               {"Lto/Canada_6_49/param.qtz", "d1a"},
                                               {"Tsets/10/Forecaster1", "d2"}};
        for (const QString& s : sources)
            write_file(d.filePath(s), "source " + s.toLatin1() + "\r\n");
        for (const QString& b : before) {
            QVERIFY(d.mkpath(QFileInfo(d.filePath(b)).path()));
            write_file(d.filePath(b), "old");
        }
        create_samples(dir.path());
        for (const QString& t : installed)
            QCOMPARE(read_all(d.filePath(t)), read_all(d.filePath(source_of[t])));
        for (const QString& b : before)
            QCOMPARE(read_all(d.filePath(b)), QByteArray("old"));
        for (const QString& a : absent)
            QVERIFY2(!QFileInfo::exists(d.filePath(a)), qPrintable(a));
        for (const QString& s : sources)
            QVERIFY(QFile::exists(d.filePath(s)));
    }

    void deleted_sample_file_comes_back_alone() {
        QTemporaryDir dir;
        const QDir d(dir.path());
        for (const char* s : {"d1", "d1a", "d2"})
            write_file(d.filePath(s), QByteArray("source ") + s);
        create_samples(dir.path());
        write_file(d.filePath("Tsets/10/Forecaster1"), "edited set");
        QVERIFY(QFile::remove(d.filePath("Lto/Canada_6_49/draws.txt")));
        create_samples(dir.path());
        QCOMPARE(read_all(d.filePath("Lto/Canada_6_49/draws.txt")), QByteArray("source d1"));
        QCOMPARE(read_all(d.filePath("Tsets/10/Forecaster1")), QByteArray("edited set"));
    }

    void a_file_in_the_way_is_not_replaced() {
        QTemporaryDir dir;
        const QDir d(dir.path());
        for (const char* s : {"d1", "d1a", "d2"})
            write_file(d.filePath(s), QByteArray("source ") + s);
        write_file(d.filePath("Lto"), "a file named like the folder");
        create_samples(dir.path());
        QCOMPARE(read_all(d.filePath("Lto")), QByteArray("a file named like the folder"));
        QCOMPARE(read_all(d.filePath("Tsets/10/Forecaster1")), QByteArray("source d2"));
    }
};

QTEST_GUILESS_MAIN(TestFilesAndSamples)
#include "test_files_and_samples.moc"
