#include "core/base/text_table.h"
#include "core/lotto/lotto_entry.h"
#include "core/lotto/lotto_files.h"
#include "support/faults.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

namespace {

LottoParams sample_params(const QString& currency) {
    LottoParams p;
    p.play_n = 49;
    p.pick_n = 6;
    p.prize2 = 0;
    p.prize3 = 10;
    p.prize4 = 80;
    p.prize5 = 2000;
    p.prize6 = 1000000;
    p.prize5b = 10000;
    p.cost = 2.5f;
    p.currency = currency;
    return p;
}

} // namespace

class TestLottoFiles : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void param_record_bytes() {
        const QByteArray bytes = encode_params(sample_params("$")).value();
        QCOMPARE(bytes.size(), 52);
        QCOMPARE(bytes.left(4), QByteArray::fromHex("31000600"));    // 49, 6
        QCOMPARE(bytes.mid(8, 4), QByteArray::fromHex("00002041"));  // prize 3 = 10.0f
        QCOMPARE(bytes.mid(36, 4), QByteArray::fromHex("00401c46")); // prize 5+bonus = 10000.0f
        QCOMPARE(bytes.mid(44, 4), QByteArray::fromHex("00002040")); // cost 2.5f
        QCOMPARE(bytes.mid(48, 4), QByteArray::fromHex("01002400")); // length 1, "$", zero pad
        QCOMPARE(encode_params(sample_params("EU")).value().mid(48), QByteArray::fromHex("02004555"));
        QVERIFY(!encode_params(sample_params("EUR")));
    }

    void param_record_read_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("currency");
        const QByteArray full = encode_params(sample_params("$")).value();
        const QByteArray two = encode_params(sample_params("EU")).value();
        QTest::newRow("52 bytes") << full << true << "$";
        QTest::newRow("51 meaningful bytes") << full.left(51) << true << "$";
        QTest::newRow("two characters fill it") << two << true << "EU";
        QTest::newRow("longer file") << full + QByteArray(100, 'x') << true << "$";
        QTest::newRow("no currency") << full.left(48) + QByteArray(2, '\0') << true << "";
        QTest::newRow("cut in the currency") << full.left(50) << false << "";
        QTest::newRow("cut in the floats") << full.left(30) << false << "";
        QTest::newRow("empty") << QByteArray() << false << "";
        // Values the rest of the program cannot handle are refused like a cut-short record.
        const auto with = [&](int offset, const QByteArray& le) {
            return QByteArray(full).replace(offset, le.size(), le);
        };
        const auto f32 = [](float v) {
            QByteArray b(4, '\0');
            qToLittleEndian(v, b.data());
            return b;
        };
        QTest::newRow("numbers in play 40000 (-25536)")
            << with(0, QByteArray::fromHex("409c")) << false << "";
        QTest::newRow("numbers in play -5") << with(0, QByteArray::fromHex("fbff")) << false << "";
        QTest::newRow("numbers in play 91") << with(0, QByteArray::fromHex("5b00")) << false << "";
        QTest::newRow("numbers in play 90") << with(0, QByteArray::fromHex("5a00")) << true << "$";
        QTest::newRow("numbers in play below numbers picked")
            << with(0, QByteArray::fromHex("0500")) << false << "";
        QTest::newRow("numbers in play equal to numbers picked")
            << with(0, QByteArray::fromHex("0600")) << true << "$";
        QTest::newRow("numbers picked 60") << with(2, QByteArray::fromHex("3c00")) << false << "";
        QTest::newRow("numbers picked 0") << with(2, QByteArray::fromHex("0000")) << false << "";
        QTest::newRow("numbers picked 1") << with(2, QByteArray::fromHex("0100")) << true << "$";
        QTest::newRow("prize 2 NaN") << with(4, f32(std::numeric_limits<float>::quiet_NaN())) << false << "";
        QTest::newRow("prize 6+bonus infinite")
            << with(40, f32(std::numeric_limits<float>::infinity())) << false << "";
        QTest::newRow("cost minus infinity")
            << with(44, f32(-std::numeric_limits<float>::infinity())) << false << "";
    }
    void param_record_read() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(QString, currency);
        const auto p = decode_params(bytes);
        QCOMPARE(p.has_value(), ok);
        if (ok) {
            LottoParams expected = sample_params(currency);
            expected.play_n = p->play_n;
            expected.pick_n = p->pick_n;
            QCOMPARE(*p, expected);
            QCOMPARE(encode_params(*p).value(), bytes.left(50) + currency.toLatin1().leftJustified(2, '\0'));
        }
    }

    void param_file_round_trip_and_failed_write() {
        QTemporaryDir dir;
        const QString path = dir.filePath("param.qtz");
        QVERIFY(write_param_file(path, sample_params("$")));
        QCOMPARE(read_param_file(path).value(), sample_params("$"));
        QVERIFY(!write_param_file(path, sample_params("EUR")));
        QCOMPARE(read_param_file(path).value(), sample_params("$"));
        QVERIFY(!read_param_file(dir.filePath("missing")));
    }

    void draws_load_sort_and_save() {
        QTemporaryDir dir;
        const QString path = dir.filePath("draws.txt");
        write_file(path, "01/05/2002 1 2 3 4 5 6 7 \r\n"
                         "   12/29/2001   11  12 13 14 15 16 0   \n"
                         "\r\n"
                         "1/5/2001 1 2 3\r\n"
                         "3/1/2002 21 22 23 24 25 26 27 extra fields\r\n");
        TextTable grid;
        reset_draws_table(grid);
        QCOMPARE(grid.text(0, 0), "Date");
        QCOMPARE(grid.text(0, 1), QString());
        QCOMPARE(grid.text(0, 7), "N6");
        QCOMPARE(grid.text(0, 8), "NBonus");
        QVERIFY(read_draws_file(path, grid));
        QCOMPARE(grid.rows(), 5); // the empty line is skipped, the short one kept
        QCOMPARE(grid.text(1, 0), "01/05/2002");
        QCOMPARE(grid.text(3, 4), "3");
        QCOMPARE(grid.text(3, 5), QString());
        QVERIFY(sort_draws_table(grid));
        QCOMPARE(grid.text(2, 0), "12/29/2001");
        QCOMPARE(grid.text(2, 1), "37254");
        QCOMPARE(grid.text(2, 8), "0");
        QCOMPARE(grid.text(4, 8), "27 extra fields"); // kept whole: the line is malformed

        // New rows land anywhere in the table; the file comes out in date order all the same.
        grid.append_rows({{"1/1/2002", "", "31", "32", "33", "34", "35", "36", "0"}, {}});
        QVERIFY(!sort_draws_table(grid)); // the empty row has no date
        QCOMPARE(grid.text(5, 0), "1/1/2002");
        grid.remove_row(6);
        QVERIFY(sort_draws_table(grid));
        QVERIFY(write_draws_file(path, grid));
        QCOMPARE(read_all(path), QByteArray("1/5/2001 1 2 3     \r\n"
                                            "12/29/2001 11 12 13 14 15 16 0 \r\n"
                                            "1/1/2002 31 32 33 34 35 36 0 \r\n"
                                            "01/05/2002 1 2 3 4 5 6 7 \r\n"
                                            "3/1/2002 21 22 23 24 25 26 27 extra fields \r\n"));
    }

    void draws_line_ends_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray(
            "1/5/2002 1 2 3 4 5 6 7 \r\n12/29/2001 11 12 13 14 15 16 0 \r\n");
        QTest::newRow("lone CR") << QByteArray("1/5/2002 1 2 3 4 5 6 7 \r12/29/2001 11 12 13 14 15 16 0 \r");
        QTest::newRow("mixed") << QByteArray("1/5/2002 1 2 3 4 5 6 7 \r12/29/2001 11 12 13 14 15 16 0 \n");
        QTest::newRow("byte-order mark")
            << QByteArray("\xef\xbb\xbf"
                          "1/5/2002 1 2 3 4 5 6 7 \r\n12/29/2001 11 12 13 14 15 16 0 \r\n");
        QTest::newRow("tabs between fields")
            << QByteArray("1/5/2002\t1\t2\t3\t4\t5\t6\t7\r\n12/29/2001 \t11 12 13 14 15 16 0 \r\n");
        QTest::newRow("blanks and tabs after the eighth field")
            << QByteArray("1/5/2002 1 2 3 4 5 6 7 \t \r\n12/29/2001 11 12 13 14 15 16 0 ");
    }
    // Every draw survives a load and the Save after it, whatever the file's line ends.
    void draws_line_ends() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("draws.txt");
        write_file(path, bytes);
        TextTable grid;
        reset_draws_table(grid);
        QVERIFY(read_draws_file(path, grid));
        QVERIFY(sort_draws_table(grid));
        QVERIFY(write_draws_file(path, grid));
        QCOMPARE(read_all(path),
                 QByteArray("12/29/2001 11 12 13 14 15 16 0 \r\n1/5/2002 1 2 3 4 5 6 7 \r\n"));
    }

    // Fields after the eighth stay in the bonus cell: the row does not read as a draw (as other
    // malformed lines do not), and a save writes the line back whole instead of cutting it.
    void fields_after_the_eighth_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("bonus");
        QTest::newRow("a ninth field") << QByteArray("1/5/2002 1 2 3 4 5 6 7 8 ") << "7 8";
        QTest::newRow("runs of blanks kept") << QByteArray("1/5/2002 1 2 3 4 5 6 7\t 8  9") << "7\t 8  9";
        QTest::newRow("40,000 fields")
            << QByteArray("1/5/2002 1 2 3 4 5 6 7") + QByteArray(" 9").repeated(40000)
            << "7" + QString(" 9").repeated(40000);
    }
    void fields_after_the_eighth() {
        QFETCH(QByteArray, line);
        QFETCH(QString, bonus);
        QTemporaryDir dir;
        const QString path = dir.filePath("draws.txt");
        write_file(path, "12/29/2001 11 12 13 14 15 16 0 \r\n" + line + "\r\n");
        TextTable grid;
        reset_draws_table(grid);
        QVERIFY(read_draws_file(path, grid));
        QCOMPARE(grid.text(2, draws_col::bonus), bonus);
        std::vector<DrawRec> read;
        QCOMPARE(table_draws(grid, read), 2);
        QVERIFY(write_draws_file(path, grid));
        QCOMPARE(read_all(path),
                 "12/29/2001 11 12 13 14 15 16 0 \r\n1/5/2002 1 2 3 4 5 6 " + bonus.toLatin1() + " \r\n");
    }

    // A line break typed around a number never reaches the file: what Add stores reads back as
    // the same single draw.
    void line_breaks_in_the_boxes_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        for (const char* text : {"\r1", "1\r", "\n1", "1\n", "\r\n1", " 1"}) {
            for (int box : {1, 6, 7})
                QTest::addRow("box %d, %s", box, QByteArray(text).toPercentEncoding().constData())
                    << box << QString::fromLatin1(text);
        }
    }
    void line_breaks_in_the_boxes() {
        QFETCH(int, box);
        QFETCH(QString, text);
        DrawTexts typed{"2024-01-03", "10", "2", "3", "4", "5", "6", "7"};
        typed[box] = text;
        const DrawCheck check = check_draw(typed, 49, QLocale::c());
        if (check.fault != DrawFault::none)
            QSKIP("the box is refused as it is");
        TextTable grid;
        reset_draws_table(grid);
        grid.set_rows(2);
        set_draw_row_texts(grid, 1, storable_draw_texts(typed, check.draw), QLocale::c());
        QTemporaryDir dir;
        const QString path = dir.filePath("draws.txt");
        QVERIFY(write_draws_file(path, grid));
        QCOMPARE(read_all(path).count("\r\n"), 1);
        TextTable back;
        reset_draws_table(back);
        QVERIFY(read_draws_file(path, back));
        std::vector<DrawRec> draws;
        QCOMPARE(table_draws(back, draws, QLocale::c()), 0);
        QCOMPARE(draws.size(), size_t(1));
        QCOMPARE(draws[0].n, check.draw.n);
        QCOMPARE(draws[0].nb, check.draw.nb);
    }

    // Under a locale with digits of its own the boxes take them; the file keeps them as ASCII,
    // and the date without its direction marks, so the draw reads back the same.
    void typed_draw_is_stored_as_the_file_can_hold_it() {
        const QLocale fa(QLocale::Persian, QLocale::Iran);
        const auto digits = [&](int n) { return fa.toString(n); };
        QVERIFY(digits(12) != QLatin1String("12"));
        DrawTexts typed{QString::fromUtf8("\u200e2030-01-05\u200e"),
                        digits(1),
                        digits(12),
                        digits(23),
                        digits(34),
                        QStringLiteral("45"),
                        digits(46),
                        digits(7)};
        const DrawCheck check = check_draw(typed, 49, fa);
        QCOMPARE(check.fault, DrawFault::none);
        const DrawTexts stored = storable_draw_texts(typed, check.draw);
        const DrawTexts ascii{"2030-01-05", "1", "12", "23", "34", "45", "46", "7"};
        QCOMPARE(stored, ascii);
        DrawRec back;
        QVERIFY(texts_to_draw(stored, back));
        QCOMPARE(back, check.draw);
    }

    void failed_saves_keep_the_old_files_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("nothing fits") << 0;
        QTest::newRow("cut halfway") << 26;
        QTest::newRow("one byte short") << 51;
    }
    // The limit is on each file; the draws file is larger than the record, so each row cuts both.
    void failed_saves_keep_the_old_files() {
        QFETCH(int, limit);
        QTemporaryDir dir;
        const QString params_path = dir.filePath("param.qtz"), draws_path = dir.filePath("draws.txt");
        QVERIFY(write_param_file(params_path, sample_params("$")));
        const QByteArray old_params = read_all(params_path);
        const QByteArray old_draws = "12/29/2001 11 12 13 14 15 16 0 \r\n";
        write_file(draws_path, old_draws);
        TextTable grid;
        reset_draws_table(grid);
        grid.append_rows({{"1/1/2002", "37257", "1", "2", "3", "4", "5", "6", "0"},
                          {"1/8/2002", "37264", "7", "8", "9", "10", "11", "12", "0"}});
        LottoParams changed = sample_params("EU");
        changed.play_n = 90;
        QCOMPARE(save_with_file_size_limit(limit, [&] { return write_param_file(params_path, changed); }),
                 std::optional(false));
        QCOMPARE(save_with_file_size_limit(limit, [&] { return write_draws_file(draws_path, grid); }),
                 std::optional(false));
        QCOMPARE(read_all(params_path), old_params);
        QCOMPARE(read_all(draws_path), old_draws);
        QCOMPARE(folder_entries(dir.path()), (QStringList{"draws.txt", "param.qtz"}));
    }

    void unparsable_date_keeps_file_order() {
        TextTable grid;
        reset_draws_table(grid);
        grid.append_rows({{"2/1/2002", "", "1"}, {"soon", "", "2"}, {"1/1/2002", "", "3"}});
        QVERIFY(!sort_draws_table(grid));
        QCOMPARE(grid.text(1, 2), "1");
        QCOMPARE(grid.text(3, 2), "3");
        QCOMPARE(grid.text(1, 1), QString());
    }

    void all_empty_rows_are_not_written() {
        TextTable grid;
        reset_draws_table(grid);
        grid.append_rows({{"1/1/2002", "37257", "1", "2", "3", "4", "5", "6", "0"}, {"", "37257"}});
        QCOMPARE(draws_file_lines(grid), QStringList{"1/1/2002 1 2 3 4 5 6 0 "});
    }

    void lottos_are_the_sub_folders() {
        QTemporaryDir dir;
        QDir d(dir.path());
        for (const char* name : {"b", "A", "a_lotto", "Canada_6_49"})
            QVERIFY(d.mkdir(name));
        write_file(d.filePath("not_a_lotto"), "x");
        QCOMPARE(list_lottos(dir.path()), (QStringList{"A", "a_lotto", "b", "Canada_6_49"}));
        QCOMPARE(list_lottos(d.filePath("missing")), QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestLottoFiles)
#include "test_lotto_files.moc"
