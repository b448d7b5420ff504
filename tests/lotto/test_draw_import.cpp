#include "core/base/convert.h"
#include "core/lotto/delimited_text.h"
#include "core/lotto/draw_check.h"
#include "core/lotto/draw_dates.h"
#include "core/lotto/draw_import.h"
#include "support/test_files.h"

#include <QFile>
#include <QtTest>

namespace {

LottoParams lotto(int play_n, int pick_n = 6) {
    LottoParams p;
    p.play_n = static_cast<int16_t>(play_n);
    p.pick_n = static_cast<int16_t>(pick_n);
    return p;
}

double serial(const QString& iso) {
    return date_to_serial(QDate::fromString(iso, Qt::ISODate));
}

DrawRec draw(const QString& iso, std::array<int16_t, 6> n, int16_t nb = 0) {
    return {serial(iso), n, nb};
}

// The records of text, each as its cells joined by '|', after "line:".
QStringList records(const QString& text, QChar separator) {
    DelimitedReader reader(text, separator);
    QStringList out;
    while (reader.next()) {
        QStringList cells;
        for (qsizetype i = 0; i < reader.size(); ++i)
            cells << reader.cell(i).toString();
        out << QStringLiteral("%1:%2").arg(reader.line()).arg(cells.join(u'|'));
    }
    return out;
}

QStringList iso_dates(const std::vector<double>& serials) {
    QStringList out;
    for (const double s : serials)
        out << iso_date_text(s);
    return out;
}

// A game drawing on the given weekdays (1 = Monday) from first to last, numbers from the date.
std::vector<DrawRec> weekly_history(const QDate& first, const QDate& last, const QList<int>& weekdays) {
    std::vector<DrawRec> out;
    for (QDate d = first; d <= last; d = d.addDays(1))
        if (weekdays.contains(d.dayOfWeek()))
            out.push_back(
                {date_to_serial(d), {int16_t(1 + d.day() % 40), 42, 43, 44, 45, 46}, int16_t(1 + d.month())});
    return out;
}

QByteArray read_fixture(const QString& name) {
    return read_all(QStringLiteral(ZANDREL_TEST_DATA "/") + name);
}

const QString header6 = QStringLiteral("Date,N1,N2,N3,N4,N5,N6,Bonus\n");

} // namespace

class TestDrawImport : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void reader_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QStringList>("expected");
        const QChar comma(u',');
        QTest::newRow("plain") << "a,b,c" << comma << QStringList{"1:a|b|c"};
        QTest::newRow("padded cells trimmed") << " a ,\tb , c " << comma << QStringList{"1:a|b|c"};
        QTest::newRow("quoted separator") << "\"1,000\",x" << comma << QStringList{"1:1,000|x"};
        QTest::newRow("doubled quotes") << "\"say \"\"hi\"\"\",x" << comma << QStringList{"1:say \"hi\"|x"};
        QTest::newRow("quoted blanks kept") << "\" a \",b" << comma << QStringList{"1: a |b"};
        QTest::newRow("empty cells kept") << "a,,c," << comma << QStringList{"1:a||c|"};
        QTest::newRow("crlf lf cr, no last end")
            << "a\r\nb\nc\rd" << comma << QStringList{"1:a", "2:b", "3:c", "4:d"};
        QTest::newRow("blank line is a record") << "a\n\nb\n" << comma << QStringList{"1:a", "2:", "3:b"};
        QTest::newRow("line break inside quotes")
            << "\"x\r\ny\",1\nz,2" << comma << QStringList{"1:x\r\ny|1", "3:z|2"};
        QTest::newRow("text after closing quote kept") << "\"ab\"cd,e" << comma << QStringList{"1:abcd|e"};
        QTest::newRow("quote never closed is a character")
            << "\"ab,c\nd,e" << comma << QStringList{"1:\"ab|c", "2:d|e"};
        QTest::newRow("blank runs") << "  2024-01-03   1 2\t3  \n"
                                    << blank_runs << QStringList{"1:2024-01-03|1|2|3"};
        QTest::newRow("blank runs with quotes")
            << "\"June 12, 1982\" 1 \"\"" << blank_runs << QStringList{"1:June 12, 1982|1|"};
        QTest::newRow("tab keeps empty cells before a quote")
            << "a\t\t\"b\"" << QChar(u'\t') << QStringList{"1:a||b"};
    }
    void reader() {
        QFETCH(QString, text);
        QFETCH(QChar, separator);
        QFETCH(QStringList, expected);
        QCOMPARE(records(text, separator), expected);
    }

    void requoted_cells_read_back() {
        const QStringList cells = {"plain", "a,b", "say \"x\"", " padded ", "", "two\nlines", "semi;colon"};
        for (const QChar sep : {QChar(u','), QChar(u';'), QChar(u'\t'), blank_runs}) {
            QStringList quoted;
            for (const QString& c : cells)
                quoted << quote_cell(c, sep);
            const QString text = quoted.join(sep); // the reader views it: it must outlive the reader
            DelimitedReader reader(text, sep);
            QVERIFY(reader.next());
            QCOMPARE(reader.size(), cells.size());
            for (qsizetype i = 0; i < cells.size(); ++i)
                QCOMPARE(reader.cell(i).toString(), cells[i]);
        }
    }

    void separator_detection_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("expected");
        QTest::newRow("comma") << header6 + "2024-01-03,1,2,3,4,5,6,7\n" << QChar(u',');
        QTest::newRow("semicolon with decimal commas")
            << "Date;N1;N2;N3;N4;N5;N6;Bonus;Prize\n03/01/2024;1;2;3;4;5;6;7;1234,50\n"
               "06/01/2024;1;2;3;4;5;6;7;99,10\n"
            << QChar(u';');
        QTest::newRow("tab") << "Date\tN1\tN2\tN3\tN4\tN5\tN6\n2024-01-03\t1\t2\t3\t4\t5\t6\n"
                             << QChar(u'\t');
        QTest::newRow("blanks") << "2024-01-03 1 2 3 4 5 6 7\n2024-01-06 8 9 10 11 12 13 14\n" << blank_runs;
        QTest::newRow("commas only inside quotes")
            << "\"June 12, 1982\" 1 2 3 4 5 6\n\"June 16, 1982\" 1 2 3 4 5 6\n"
            << blank_runs;
    }
    void separator_detection() {
        QFETCH(QString, text);
        QFETCH(QChar, expected);
        QCOMPARE(detect_separator(text, 7), expected);
    }

    void decoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("used");
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFNum\xC3\xA9ro") << ""
                                         << "Num\u00E9ro"
                                         << "UTF-8 with byte-order mark";
        QTest::newRow("UTF-8") << QByteArray("Num\xC3\xA9ro") << ""
                               << "Num\u00E9ro"
                               << "UTF-8";
        QTest::newRow("Windows-1252") << QByteArray("Num\xE9ro 1;Gains (\x80)") << ""
                                      << "Num\u00E9ro 1;Gains (\u20AC)"
                                      << "Windows-1252";
        QTest::newRow("UTF-16 with mark") << QByteArray("\xFF\xFE"
                                                        "D\0a\0t\0e\0",
                                                        10)
                                          << ""
                                          << "Date"
                                          << "UTF-16LE";
        QTest::newRow("named encoding") << QByteArray("Losov\xE1n\xED \xE8\xEDsla") << "ISO-8859-2"
                                        << "Losov\u00E1n\u00ED \u010D\u00EDsla"
                                        << "ISO-8859-2";
        // Russian in KOI8-R: runs of high bytes are no Western text, so the detector decides.
        const QString russian = QStringLiteral("Дата тиража;Номер 1;Номер 2;Бонусный шар\nСуббота, "
                                               "результаты розыгрыша лотереи за прошлую неделю\n");
        QStringEncoder koi8("KOI8-R");
        QTest::newRow("guessed KOI8-R") << QByteArray(koi8(russian)) << "" << russian << "KOI8-R";
    }
    void decoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, text);
        QFETCH(QString, used);
        const DecodedText decoded = decode_published_text(bytes, encoding);
        QCOMPARE(decoded.error, QString());
        QCOMPARE(decoded.text, text);
        QCOMPARE(decoded.encoding, used);
    }

    // Spreadsheets save "Unicode text" as tab-separated UTF-16 with a byte-order mark.
    void utf16_tab_text_imports() {
        const QString text = "Draw Date\tN1\tN2\tN3\tN4\tN5\tN6\r\n31/01/2024\t1\t2\t3\t4\t5\t6\r\n";
        QStringEncoder utf16(QStringEncoder::Utf16LE);
        const ImportResult r = import_draws(QByteArray("\xFF\xFE") + QByteArray(utf16(text)), lotto(49), {});
        QCOMPARE(r.encoding, QStringLiteral("UTF-16LE"));
        QCOMPARE(r.separator, QChar(u'\t'));
        QCOMPARE(r.added.size(), size_t(1));
        QCOMPARE(iso_date_text(r.added[0].date), QStringLiteral("2024-01-31"));
    }

    void given_separator_and_encoding() {
        ImportOptions options;
        options.separator = u'|';
        options.encoding = "ISO-8859-2";
        const ImportResult r = import_draws(
            "Datum|N1|N2|N3|N4|N5|N6|Pozn\xE1mka\n2024-01-31|1|2|3|4|5|6|\xE8\n", lotto(49), {}, options);
        QCOMPARE(r.encoding, QStringLiteral("ISO-8859-2"));
        QCOMPARE(r.status, ImportStatus::done);
        QCOMPARE(r.added.size(), size_t(1));
    }

    void unknown_encoding_is_refused() {
        ImportOptions options;
        options.encoding = "no-such-code";
        const ImportResult r = import_draws(header6.toUtf8(), lotto(49), {}, options);
        QCOMPARE(r.status, ImportStatus::nothing_done);
        QVERIFY2(r.message.contains("no-such-code"), qPrintable(r.message));
    }

    void dates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("expected"); // ISO, or a part of the reason
        QTest::newRow("ISO") << "2024-01-31"
                             << ""
                             << "2024-01-31";
        QTest::newRow("ISO with time") << "2024-01-31 00:00:00"
                                       << ""
                                       << "2024-01-31";
        QTest::newRow("ISO with T time") << "2024-01-31T20:30"
                                         << ""
                                         << "2024-01-31";
        QTest::newRow("year first dots") << "2024.01.31"
                                         << ""
                                         << "2024-01-31";
        QTest::newRow("year first slashes") << "2024/1/31"
                                            << ""
                                            << "2024-01-31";
        QTest::newRow("compact") << "20240131"
                                 << ""
                                 << "2024-01-31";
        QTest::newRow("day first") << "31/01/2024"
                                   << "dmy"
                                   << "2024-01-31";
        QTest::newRow("day first dots two-digit year") << "31.01.82"
                                                       << "dmy"
                                                       << "1982-01-31";
        QTest::newRow("month first dashes") << "1-31-2024"
                                            << "mdy"
                                            << "2024-01-31";
        QTest::newRow("year first two digits") << "24/01/31"
                                               << "ymd"
                                               << "2024-01-31";
        QTest::newRow("month name first") << "June 12, 1982"
                                          << ""
                                          << "1982-06-12";
        QTest::newRow("day then abbreviation") << "12 Jun 1982"
                                               << ""
                                               << "1982-06-12";
        QTest::newRow("dashed abbreviation") << "30-Sep-2017"
                                             << ""
                                             << "2017-09-30";
        QTest::newRow("upper case, two-digit year") << "30-SEP-17"
                                                    << ""
                                                    << "2017-09-30";
        QTest::newRow("Sept") << "30 Sept 2017"
                              << ""
                              << "2017-09-30";
        QTest::newRow("weekday abbreviation") << "Sat 12 Jun 1982"
                                              << ""
                                              << "1982-06-12";
        QTest::newRow("weekday and commas") << "Saturday, June 12, 1982"
                                            << ""
                                            << "1982-06-12";
        QTest::newRow("ordinal") << "June 12th, 1982"
                                 << ""
                                 << "1982-06-12";
        QTest::newRow("misspelt month") << "Febraury 5, 2020"
                                        << ""
                                        << "unknown month \"Febraury\"";
        // Weekdays and months as publishers shorten them, three to five letters.
        QTest::newRow("Thurs") << "Thurs 2 Oct 2008"
                               << ""
                               << "2008-10-02";
        QTest::newRow("Tues") << "Tues 30 Sept 2008"
                              << ""
                              << "2008-09-30";
        QTest::newRow("Weds") << "Weds 1 Oct 2008"
                              << ""
                              << "2008-10-01";
        QTest::newRow("Wed") << "Wed, 1 Oct 2008"
                             << ""
                             << "2008-10-01";
        QTest::newRow("Satur and Augus") << "Satur 2 Augus 2008"
                                         << ""
                                         << "2008-08-02";
        QTest::newRow("six letters are no short form") << "Thursd 2 Oct 2008"
                                                       << ""
                                                       << "unknown month \"Thursd\"";
        QTest::newRow("wrong weekday") << "Sun 12 Jun 1982"
                                       << ""
                                       << "1982-06-12, a Saturday";
        QTest::newRow("no such day") << "2023-02-29"
                                     << ""
                                     << "not a valid year/month/day date";
        QTest::newRow("no such day, day first") << "31/04/2024"
                                                << "dmy"
                                                << "not a valid day/month/year date";
        QTest::newRow("four-digit year read as ymd") << "12/06/1982"
                                                     << "ymd"
                                                     << "does not read as year/month/day";
        QTest::newRow("a word") << "Total"
                                << ""
                                << "\"Total\" is not a date";
        QTest::newRow("too many fields") << "2024-01-31-5"
                                         << ""
                                         << "is not a date";
        QTest::newRow("empty") << ""
                               << ""
                               << "is not a date";
    }
    void dates() {
        QFETCH(QString, text);
        QFETCH(QString, order);
        QFETCH(QString, expected);
        QString why;
        const PublishedDate read = read_published_date(text, &why);
        const DateOrder o = order.isEmpty() ? DateOrder::automatic : date_order_from_text(order).value();
        const auto date = read.kind == PublishedDate::Kind::unreadable
                              ? std::nullopt
                              : resolve_published_date(read, o, text, &why);
        if (expected.front().isDigit() && expected.size() == 10) {
            QVERIFY2(date, qPrintable(why));
            QCOMPARE(date->toString(Qt::ISODate), expected);
        } else {
            QVERIFY(!date);
            QVERIFY2(why.contains(expected), qPrintable(why));
        }
    }

    // The day/month order comes from the file; a file that reads both ways is refused.
    void date_order_data() {
        QTest::addColumn<QString>("dates");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("expected"); // the first date as ISO, or a part of the refusal
        QTest::newRow("a day above 12 first") << "05/06/2024 13/06/2024"
                                              << ""
                                              << "2024-06-05";
        QTest::newRow("a day above 12 second") << "05/06/2024 06/13/2024"
                                               << ""
                                               << "2024-05-06";
        QTest::newRow("both ways") << "05/06/2024 06/07/2024"
                                   << ""
                                   << "--date-order dmy|mdy|ymd";
        QTest::newRow("both ways, order given") << "05/06/2024 06/07/2024"
                                                << "mdy"
                                                << "2024-05-06";
        QTest::newRow("contradicting") << "05/06/2024 13/06/2024 06/14/2024"
                                       << ""
                                       << "line 3";
        QTest::newRow("day equals month") << "05/05/2024 06/06/2024"
                                          << ""
                                          << "2024-05-05";
    }
    void date_order() {
        QFETCH(QString, dates);
        QFETCH(QString, order);
        QFETCH(QString, expected);
        QString csv = header6;
        int n = 1;
        for (const QString& d : dates.split(u' '))
            csv += QStringLiteral("%1,%2,2,3,4,5,6,0\n").arg(d).arg(n++ * 7);
        ImportOptions options;
        if (!order.isEmpty())
            options.date_order = date_order_from_text(order).value();
        const ImportResult r = import_draws(csv.toUtf8(), lotto(49), {}, options);
        if (expected.front().isDigit()) {
            QCOMPARE(r.status, ImportStatus::done);
            QCOMPARE(iso_date_text(r.added.front().date), expected);
        } else {
            QCOMPARE(r.status, ImportStatus::nothing_done);
            QVERIFY2(r.message.contains(expected), qPrintable(r.message));
            QVERIFY(r.merged.empty());
        }
    }

    void header_columns_data() {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("pick_n");
        QTest::addColumn<QString>("expected"); // numbers and bonus of the one draw
        QTest::newRow("N1..N6, NB") << "Date,N1,N2,N3,N4,N5,N6,NB"
                                    << "2024-01-03,1,2,3,4,5,6,7" << 6 << "1 2 3 4 5 6 bonus 7";
        QTest::newRow("Ball, extra columns between")
            << "Draw Date,Jackpot,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Machine"
            << "2024-01-03,\"1,000\",1,2,3,4,5,6,7,Arthur" << 6 << "1 2 3 4 5 6 bonus 7";
        QTest::newRow("numbers in another order") << "date,6,5,4,3,2,1,extra"
                                                  << "2024-01-03,6,5,4,3,2,1,9" << 6 << "1 2 3 4 5 6 bonus 9";
        QTest::newRow("Number Drawn, case and punctuation")
            << "DRAW-DATE;Number Drawn 1;Number Drawn 2;Number Drawn 3;Number Drawn 4;Number Drawn 5;"
               "Number Drawn 6;Bonus Number"
            << "2024-01-03;1;2;3;4;5;6;7" << 6 << "1 2 3 4 5 6 bonus 7";
        QTest::newRow("Winning Number, no bonus")
            << "Winning Number 1\tWinning Number 2\tWinning Number 3\tWinning Number 4\tWinning Number 5\t"
               "Winning Number 6\tDraw Date"
            << "1\t2\t3\t4\t5\t6\t2024-01-03" << 6 << "1 2 3 4 5 6";
        QTest::newRow("five of six columns for a 5-number lotto")
            << "Date,Num1,Num2,Num3,Num4,Num5,Num6"
            << "2024-01-03,1,2,3,4,5,6" << 5 << "1 2 3 4 5";
        QTest::newRow("no header: date, numbers, bonus")
            << "2024-01-02,9,8,7,6,5,4,3"
            << "2024-01-03,1,2,3,4,5,6,7" << 6 << "1 2 3 4 5 6 bonus 7";
    }
    void header_columns() {
        QFETCH(QString, header);
        QFETCH(QString, row);
        QFETCH(int, pick_n);
        QFETCH(QString, expected);
        const ImportResult r = import_draws((header + "\n" + row + "\n").toUtf8(), lotto(49, pick_n), {});
        QVERIFY2(r.status == ImportStatus::done, qPrintable(r.report().join('\n')));
        QCOMPARE(draw_numbers_text(r.added.back(), pick_n), expected);
        QCOMPARE(iso_date_text(r.added.back().date), QStringLiteral("2024-01-03"));
    }

    // Quoted text is put in once, never searched for markers again, and cut to a few hundred
    // characters however long the line.
    void quoted_text_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("quoted"); // what the report must hold
        QTest::newRow("header with %1") << QByteArray("x%1y,a\n")
                                        << "(x%1y,a); give a column map such as "
                                           "date=1,numbers=2-7,bonus=8";
        QTest::newRow("header with %2 and %5") << QByteArray("%2%5,%3\n") << "(%2%5,%3); give";
        QTest::newRow("row with %1") << QByteArray(header6.toUtf8() + "2024-01-03,1,2,3,4,5,%1,7\n"
                                                                      "2024-01-06,1,2,3,4,5,6,7\n")
                                     << "\"%1\" is not a number: 2024-01-03,1,2,3,4,5,%1,7";
        QTest::newRow("a line of 1,000,000 characters")
            << QByteArray(header6.toUtf8() + QByteArray(1000000, 'z') + "\n2024-01-06,1,2,3,4,5,6,7\n")
            << "(1000000 characters in all)";
    }
    void quoted_text() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, quoted);
        const ImportResult r = import_draws(bytes, lotto(49), {});
        const QString report = r.report().join(u'\n');
        QVERIFY2(report.contains(quoted), qPrintable(report.left(2000)));
        QVERIFY2(report.size() < 2000, qPrintable(QString::number(report.size())));
    }

    // Text of two bytes a character needs no byte-order mark when its encoding is given; a file
    // cut in the middle of a character is reported.
    void utf16_without_mark_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<int>("extra"); // bytes added after the text
        QTest::addColumn<QString>("error");
        QTest::newRow("UTF-16LE") << "UTF-16LE" << 0 << "";
        QTest::newRow("UTF-16BE") << "UTF-16BE" << 0 << "";
        QTest::newRow("UTF-16LE, odd byte at the end") << "UTF-16LE" << 1 << "ends with 1 byte(s)";
        QTest::newRow("UTF-16BE, odd byte at the end") << "UTF-16BE" << 1 << "ends with 1 byte(s)";
    }
    void utf16_without_mark() {
        QFETCH(QString, encoding);
        QFETCH(int, extra);
        QFETCH(QString, error);
        QStringEncoder encoder(encoding.toLatin1().constData());
        QByteArray bytes = encoder(header6 + "2024-01-03,1,2,3,4,5,6,7\n");
        bytes += QByteArray(extra, '7');
        ImportOptions options;
        options.encoding = encoding;
        const ImportResult r = import_draws(bytes, lotto(49), {}, options);
        if (error.isEmpty()) {
            QVERIFY2(r.status == ImportStatus::done, qPrintable(r.message));
            QCOMPARE(r.added.size(), size_t(1));
        } else {
            QCOMPARE(r.status, ImportStatus::nothing_done);
            QVERIFY2(r.message.contains(error), qPrintable(r.message));
        }
        // Without the encoding the NUL bytes still mark it as no text.
        QVERIFY(import_draws(bytes, lotto(49), {}).message.contains("binary"));
    }

    // Rows that share one date are merged as quickly as rows of different dates (see
    // bench_import); here, that the hashing loses no row and keeps each conflict.
    void many_rows_of_one_date() {
        QByteArray csv = header6.toUtf8();
        QSet<QString> distinct;
        int64_t as_stored = 0; // rows equal to the stored draw below
        for (int i = 0; i < 3000; ++i) {
            const QString numbers = QStringLiteral("%1,%2,%3,4,5,6")
                                        .arg(10 + i % 40)
                                        .arg(i % 3 == 0 ? 1 : 2)
                                        .arg(50 + i / 7 % 40);
            distinct.insert(numbers);
            as_stored += numbers == QLatin1String("10,1,50,4,5,6") ? 1 : 0;
            csv += ("2024-01-03," + numbers + ",\n").toLatin1();
        }
        const ImportResult fresh = import_draws(csv, lotto(90), {});
        QVERIFY2(fresh.message.isEmpty(), qPrintable(fresh.message + fresh.lines.value(0)));
        QCOMPARE(fresh.new_rows, int64_t(distinct.size()));
        QCOMPARE(fresh.already_present, int64_t(3000 - distinct.size()));
        QCOMPARE(fresh.merged.size(), size_t(distinct.size()));
        // With a stored draw that day, the row equal to it is present and every other conflicts.
        const std::vector<DrawRec> stored = {draw("2024-01-03", {10, 1, 50, 4, 5, 6})};
        const ImportResult merged = import_draws(csv, lotto(90), stored);
        QVERIFY(as_stored > 0);
        QCOMPARE(merged.already_present, as_stored);
        QCOMPARE(merged.conflicting, 3000 - as_stored);
        QCOMPARE(merged.new_rows, int64_t(0));
        QCOMPARE(merged.merged, stored);
    }

    void unmapped_header_is_refused() {
        const ImportResult r =
            import_draws("Datum,Zahlen,Superzahl\n2024-01-03,1 2 3 4 5 6,7\n", lotto(49), {});
        QCOMPARE(r.status, ImportStatus::nothing_done);
        QVERIFY2(r.message.contains("line 1") && r.message.contains("date=1,numbers=2-7"),
                 qPrintable(r.message));
    }

    void column_map_text_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>(
            "expected"); // date/numbers/bonus/drawno counted from 1, or a part of the error
        QTest::newRow("full") << "date=2,numbers=4-9,bonus=10,drawno=1"
                              << "2/4-9/10/1";
        QTest::newRow("bonus none, blanks") << " date = 1 , numbers = 2-7 , bonus = none"
                                            << "1/2-7/0/0";
        QTest::newRow("no bonus") << "numbers=3-7,date=1"
                                  << "1/3-7/0/0";
        QTest::newRow("unknown key") << "date=1,numbers=2-7,jackpot=9"
                                     << "unknown key \"jackpot\"";
        QTest::newRow("column 0") << "date=0,numbers=2-7"
                                  << "date=0 is not a column number";
        QTest::newRow("range backwards") << "date=1,numbers=7-2"
                                         << "numbers=7-2 is not a range";
        QTest::newRow("seven numbers") << "date=1,numbers=2-8"
                                       << "up to 6 columns";
        QTest::newRow("no date") << "numbers=2-7"
                                 << "date=COLUMN is missing";
        QTest::newRow("no numbers") << "date=1"
                                    << "numbers=FIRST-LAST is missing";
        QTest::newRow("one column twice") << "date=2,numbers=2-7"
                                          << "a column is given twice";
        QTest::newRow("not key=value") << "date"
                                       << "\"date\" is not KEY=COLUMN";
    }
    void column_map_text() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QString why;
        const auto map = parse_column_map(text, &why);
        if (!map) {
            QVERIFY2(why.contains(expected), qPrintable(why));
            return;
        }
        const QString got = QStringLiteral("%1/%2-%3/%4/%5")
                                .arg(map->date + 1)
                                .arg(map->numbers.front() + 1)
                                .arg(map->numbers.back() + 1)
                                .arg(map->bonus + 1)
                                .arg(map->draw_number + 1);
        QCOMPARE(got, expected);
    }

    void column_map_import() {
        ImportOptions options;
        options.columns = parse_column_map(u"date=2,numbers=3-8,bonus=none", nullptr);
        // The first line reads as a draw: no header.
        ImportResult r = import_draws("x,2024-01-03,1,2,3,4,5,6,40\nx,2024-01-06,7,8,9,10,11,12,41\n",
                                      lotto(49), {}, options);
        QCOMPARE(r.summary(),
                 QStringLiteral("Read 2 rows: 2 new, 0 already present, 0 conflicting, 0 rejected; "
                                "0 draw dates missing."));
        QCOMPARE(r.added.front().nb, int16_t(0));
        // The first line does not: a header, not counted.
        r = import_draws("Game,When,A,B,C,D,E,F\nx,2024-01-03,1,2,3,4,5,6\n", lotto(49), {}, options);
        QCOMPARE(r.rows_read, 1);
        QCOMPARE(r.new_rows, 1);
        options.columns = parse_column_map(u"date=1,numbers=2-6", nullptr);
        r = import_draws("2024-01-03,1,2,3,4,5,6\n", lotto(49), {}, options);
        QCOMPARE(r.status, ImportStatus::nothing_done);
        QVERIFY2(r.message.contains("gives 5 number columns; this lotto draws 6"), qPrintable(r.message));
    }

    // Each row that is no draw of a 6/49 lotto is rejected with its line, the reason and its text.
    void rejected_rows_data() {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("line");
        QTest::newRow("number above N") << "2024-01-03,1,2,3,4,5,52,7"
                                        << "line 2: number 52 is outside 1..49: 2024-01-03,1,2,3,4,5,52,7";
        QTest::newRow("number 0") << "2024-01-03,0,2,3,4,5,6,7"
                                  << "line 2: number 0 is outside 1..49: ";
        QTest::newRow("repeated number") << "2024-01-03,1,2,3,4,5,2,7"
                                         << "line 2: number 2 appears twice: ";
        QTest::newRow("bonus above N") << "2024-01-03,1,2,3,4,5,6,50"
                                       << "line 2: bonus 50 is outside 0..49: ";
        QTest::newRow("bonus text") << "2024-01-03,1,2,3,4,5,6,x"
                                    << "line 2: bonus \"x\" is not a number: ";
        QTest::newRow("number text") << "2024-01-03,1,2,3,4.5,5,6,7"
                                     << "line 2: \"4.5\" is not a number: ";
        QTest::newRow("empty number") << "2024-01-03,1,2,,4,5,6,7"
                                      << "line 2: number 3 is empty: ";
        QTest::newRow("short row")
            << "2024-01-03,1,2,3"
            << "line 2: the row has 4 fields, the number is in field 5: 2024-01-03,1,2,3";
        QTest::newRow("misspelt month")
            << "\"Febraury 5, 2020\",1,2,3,4,5,6,7"
            << "line 2: date \"Febraury 5, 2020\" has an unknown month \"Febraury\": ";
        QTest::newRow("footer") << "Total draws: 1,,,,,,,"
                                << "line 2: date \"Total draws: 1\" is not a date: ";
        QTest::newRow("bonus repeats a number") << "2024-01-03,1,2,3,4,5,6,6"
                                                << "line 2: bonus 6 repeats a number of the draw: ";
        QTest::newRow("bonus repeats the first number") << "2024-01-03,9,2,3,4,5,6,9"
                                                        << "line 2: bonus 9 repeats a number of the draw: ";
        QTest::newRow("header again") << "Date,N1,N2,N3,N4,N5,N6,Bonus"
                                      << "line 2: the header line again: ";
    }
    void rejected_rows() {
        QFETCH(QString, row);
        QFETCH(QString, line);
        const QString csv = header6 + row + "\n2024-01-06,10,11,12,13,14,15,16\n";
        const ImportResult r = import_draws(csv.toUtf8(), lotto(49), {});
        QCOMPARE(r.status, ImportStatus::partly_done);
        QCOMPARE(r.lines.size(), 1);
        QVERIFY2(r.lines[0].startsWith(line), qPrintable(r.lines[0]));
        QVERIFY(r.lines[0].endsWith(row));
        QCOMPARE(r.summary(),
                 QStringLiteral("Read 2 rows: 1 new, 0 already present, 0 conflicting, 1 rejected; "
                                "0 draw dates missing."));
    }

    void bonus_empty_or_zero_is_none() {
        const ImportResult r = import_draws(
            (header6 + "2024-01-03,1,2,3,4,5,6,\n2024-01-06,1,2,3,4,5,6,0\n").toUtf8(), lotto(49), {});
        QCOMPARE(r.new_rows, 2);
        QCOMPARE(r.added[0].nb, int16_t(0));
        QCOMPARE(r.added[1].nb, int16_t(0));
    }

    void numbers_keep_file_order() {
        const ImportResult r =
            import_draws((header6 + "2024-01-03,49,3,17,1,22,8,5\n").toUtf8(), lotto(49), {});
        QCOMPARE(r.added.at(0).n, (std::array<int16_t, 6>{49, 3, 17, 1, 22, 8}));
    }

    void refusals_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "the file is empty";
        QTest::newRow("blanks only") << QByteArray(" \r\n\r\n") << "the file is empty";
        QTest::newRow("NUL bytes") << QByteArray("Date,N1\0\0\0\x01", 11) << "binary";
        QTest::newRow("control bytes") << QByteArray(40, '\x02') + "2024-01-03,1,2,3,4,5,6"
                                       << "binary";
        QTest::newRow("xlsx") << QByteArray("PK\x03\x04\x14\0\x06\0", 8) << "zip archive";
        QTest::newRow("HTML page") << QByteArray(
                                          "\n<!DOCTYPE html>\n<html><body><table><tr><td>Date</td></tr>"
                                          "</table></body></html>")
                                   << "HTML page";
        QTest::newRow("HTML table only")
            << QByteArray("<table>\n<tr><th>Date</th></tr>\n</table>") << "HTML page";
        QTest::newRow("header only") << header6.toUtf8() << "no rows after its header line";
        QTest::newRow("no row reads as a draw")
            << (header6 + "2024-01-03,1,2,3,4,5,60,7\nnot a date,1,2,3,4,5,6,7\n").toUtf8()
            << "no row of the file reads as a draw of this lotto (6 numbers from 1..49)";
    }
    void refusals() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const std::vector<DrawRec> stored = {draw("2020-01-01", {1, 2, 3, 4, 5, 6}, 7)};
        const ImportResult r = import_draws(bytes, lotto(49), stored);
        QCOMPARE(r.status, ImportStatus::nothing_done);
        QVERIFY2(r.message.contains(reason), qPrintable(r.message));
        QCOMPARE(r.merged, stored);
        QVERIFY(r.added.empty());
        QCOMPARE(r.report().last(), r.summary());
        QCOMPARE(r.report().at(r.report().size() - 2), r.message);
    }

    void no_row_readable_lists_each_row() {
        const ImportResult r = import_draws(
            (header6 + "2024-01-03,1,2,3,4,5,60,7\n\nx,1,2,3,4,5,6,7\n").toUtf8(), lotto(49), {});
        QCOMPARE(r.lines.size(), 2);
        QVERIFY(r.lines[0].startsWith("line 2: number 60"));
        QVERIFY(r.lines[1].startsWith("line 4: date \"x\""));
        QCOMPARE(r.summary(),
                 QStringLiteral("Read 2 rows: 0 new, 0 already present, 0 conflicting, 2 rejected; "
                                "0 draw dates missing."));
    }

    // Never lose or overwrite a stored draw.
    void merge_into_history() {
        const std::vector<DrawRec> stored = {draw("2024-01-10", {1, 2, 3, 4, 5, 6}, 7),
                                             draw("2024-01-03", {11, 12, 13, 14, 15, 16}, 17),
                                             draw("2024-01-06", {21, 22, 23, 24, 25, 26}, 27)};
        const QString csv = header6 + "2024-01-13,31,32,33,34,35,36,37\n" // new
                                      "2024-01-03,16,15,14,13,12,11,17\n" // present, other order
                                      "2024-01-06,21,22,23,24,25,29,27\n" // conflicting numbers
                                      "2024-01-10,1,2,3,4,5,6,8\n"        // conflicting bonus
                                      "2024-01-13,31,32,33,34,35,36,37\n" // the same row again: once
                                      "2024-01-13,41,42,43,44,45,46,47\n" // a second draw that day: kept
                                      "2024-01-01,9,8,7,6,5,4,3\n";       // new, older than the history
        const ImportResult r = import_draws(csv.toUtf8(), lotto(49), stored);
        QCOMPARE(r.summary(),
                 QStringLiteral("Read 7 rows: 3 new, 2 already present, 2 conflicting, 0 rejected; "
                                "0 draw dates missing."));
        QCOMPARE(r.status, ImportStatus::partly_done);
        QVERIFY2(r.lines.size() == 4, qPrintable(r.lines.join(u'\n')));
        QCOMPARE(r.lines[0],
                 QStringLiteral("line 4: conflicts with the stored draw of 2024-01-06 (stored 21 22 23 "
                                "24 25 26 bonus 27, file 21 22 23 24 25 29 bonus 27; the stored draw "
                                "is kept): 2024-01-06,21,22,23,24,25,29,27"));
        QVERIFY(
            r.lines[1].startsWith("line 5: conflicts with the stored draw of 2024-01-10 (stored 1 2 3 4 5 6 "
                                  "bonus 7, file 1 2 3 4 5 6 bonus 8;"));
        QCOMPARE(r.lines[2],
                 QStringLiteral("rows sharing a date or draw number: more than one draw on 1 date of "
                                "the file, first 2024-01-13 on lines 2, 6, 7; no column tells their "
                                "kinds apart"));
        QCOMPARE(r.lines[3], QStringLiteral("several draws: 2024-01-13 (2 draws)"));
        const std::vector<DrawRec> merged = {draw("2024-01-01", {9, 8, 7, 6, 5, 4}, 3),
                                             stored[1],
                                             stored[2],
                                             stored[0],
                                             draw("2024-01-13", {31, 32, 33, 34, 35, 36}, 37),
                                             draw("2024-01-13", {41, 42, 43, 44, 45, 46}, 47)};
        QCOMPARE(r.merged, merged);
        QCOMPARE(r.added.size(), size_t(3));
        QCOMPARE(r.added[0], merged[4]);
    }

    void everything_present_is_done() {
        const std::vector<DrawRec> stored = {draw("2024-01-03", {1, 2, 3, 4, 5, 6}, 7)};
        const ImportResult r =
            import_draws((header6 + "2024-01-03,1,2,3,4,5,6,7\n").toUtf8(), lotto(49), stored);
        QCOMPARE(r.status, ImportStatus::done);
        QCOMPARE(r.already_present, 1);
        QCOMPARE(r.merged, stored);
    }

    void only_conflicts_is_nothing_done() {
        const std::vector<DrawRec> stored = {draw("2024-01-03", {1, 2, 3, 4, 5, 6}, 7)};
        const ImportResult r =
            import_draws((header6 + "2024-01-03,1,2,3,4,5,9,7\n").toUtf8(), lotto(49), stored);
        QCOMPARE(r.status, ImportStatus::nothing_done);
        QCOMPARE(r.conflicting, 1);
        QCOMPARE(r.merged, stored);
        QCOMPARE(r.report().last(), QStringLiteral("Read 1 rows: 0 new, 0 already present, 1 conflicting, 0 "
                                                   "rejected; 0 draw dates missing."));
    }

    void filters_data() {
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QString>("dates");   // FROM..TO, either may be empty
        QTest::addColumn<QString>("summary"); // rows read / new / rejected, or a part of the refusal
        QTest::newRow("none") << QStringList() << ".."
                              << "5/2/2";
        QTest::newRow("by header name") << QStringList{"game=lotto"} << ".."
                                        << "3/2/1";
        QTest::newRow("by index") << QStringList{"2=Extra"} << ".."
                                  << "2/1/1";
        QTest::newRow("two conditions") << QStringList{"Game=Lotto", "Game=Extra"} << ".."
                                        << "no row";
        QTest::newRow("from") << QStringList() << "2024-01-06.."
                              << "3/1/1";
        QTest::newRow("from and to, inclusive") << QStringList{"Game=Lotto"} << "2024-01-06..2024-01-06"
                                                << "1/1/0";
        QTest::newRow("unknown column") << QStringList{"Machine=A"} << ".."
                                        << "neither a header name";
    }
    void filters() {
        QFETCH(QStringList, filters);
        QFETCH(QString, dates);
        QFETCH(QString, summary);
        const QString csv = "Date,Game,N1,N2,N3,N4,N5,N6\n"
                            "2024-01-03,Lotto,1,2,3,4,5,6\n"
                            "2024-01-03,Extra,1,2,3,4,5,60\n"
                            "2024-01-06,Lotto,7,8,9,10,11,12\n"
                            "2024-01-06,Extra,7,8,9,10,11,12\n"
                            "2024-01-10,Lotto,7,8,9,10,11,77\n";
        ImportOptions options;
        for (const QString& f : filters)
            options.filters.push_back(parse_column_filter(f, nullptr).value());
        options.from = QDate::fromString(dates.section("..", 0, 0), Qt::ISODate);
        options.to = QDate::fromString(dates.section("..", 1, 1), Qt::ISODate);
        const ImportResult r = import_draws(csv.toUtf8(), lotto(49), {}, options);
        if (summary.front().isDigit()) {
            QCOMPARE(QStringLiteral("%1/%2/%3").arg(r.rows_read).arg(r.new_rows).arg(r.rejected), summary);
            QCOMPARE(r.status, r.rejected > 0 ? ImportStatus::partly_done : ImportStatus::done);
        } else {
            QCOMPARE(r.status, ImportStatus::nothing_done);
            QVERIFY2(r.message.contains(summary), qPrintable(r.message));
        }
    }

    void filter_text() {
        QString why;
        QVERIFY(!parse_column_filter(u"=x", &why));
        QVERIFY(why.contains("COLUMN=VALUE"));
        const auto f = parse_column_filter(u" Game = Lotto 6/49 ", &why).value();
        QCOMPARE(f.column, QStringLiteral("Game"));
        QCOMPARE(f.value, QStringLiteral("Lotto 6/49"));
    }

    void blank_lines_are_not_rows() {
        const ImportResult r = import_draws(
            ("\r\n" + header6 + "\r\n2024-01-03,1,2,3,4,5,6,7\r\n,,,,,,,\r\n   \r\n2024-01-06,1,2,3,4,5,6,7")
                .toUtf8(),
            lotto(49), {});
        QCOMPARE(r.rows_read, 2);
        QCOMPARE(r.new_rows, 2);
    }

    // Wednesday and Saturday draws over a year with three taken out: exactly those three.
    // What no draw of a 49/6 (or 35/5) lotto can be, as check names it and backtest refuses it.
    void impossible_draws_data() {
        QTest::addColumn<int>("pick_n");
        QTest::addColumn<QList<int>>("numbers"); // N1..N6, then the bonus
        QTest::addColumn<QString>("reason");
        QTest::newRow("possible") << 6 << QList<int>{3, 11, 19, 27, 35, 49, 7} << "";
        QTest::newRow("no bonus") << 6 << QList<int>{3, 11, 19, 27, 35, 1, 0} << "";
        QTest::newRow("five of 5, sixth 0") << 5 << QList<int>{3, 11, 19, 27, 35, 0, 0} << "";
        QTest::newRow("the probe's draw")
            << 6 << QList<int>{-1, -2, 3, 3, 5, 99, 3} << "number -1 is outside 1..49";
        QTest::newRow("above N") << 6 << QList<int>{1, 2, 3, 4, 5, 50, 0} << "number 50 is outside 1..49";
        QTest::newRow("a zero among six") << 6 << QList<int>{1, 2, 3, 0, 5, 6, 0} << "number 0 is outside";
        QTest::newRow("repeated") << 6 << QList<int>{1, 2, 3, 4, 2, 6, 0} << "number 2 appears twice";
        QTest::newRow("bonus repeats")
            << 6 << QList<int>{1, 2, 3, 4, 5, 6, 6} << "the bonus 6 repeats a number";
        QTest::newRow("bonus above N") << 6 << QList<int>{1, 2, 3, 4, 5, 6, 50} << "the bonus 50 is outside";
        QTest::newRow("negative bonus") << 6 << QList<int>{1, 2, 3, 4, 5, 6, -3} << "the bonus -3 is outside";
    }
    void impossible_draws() {
        QFETCH(int, pick_n);
        QFETCH(QList<int>, numbers);
        QFETCH(QString, reason);
        DrawRec d;
        for (int i = 0; i < 6; ++i)
            d.n[static_cast<size_t>(i)] = static_cast<int16_t>(numbers[i]);
        d.nb = static_cast<int16_t>(numbers[6]);
        const QString why = impossible_draw_reason(d, 49, pick_n);
        if (reason.isEmpty())
            QCOMPARE(why, QString());
        else
            QVERIFY2(why.startsWith(reason), qPrintable(why));
    }

    void check_finds_missing_draws() {
        std::vector<DrawRec> history = weekly_history(QDate(2023, 1, 4), QDate(2023, 12, 30), {3, 6});
        const QStringList removed = {"2023-01-07", "2023-06-14", "2023-12-27"};
        std::erase_if(history, [&](const DrawRec& d) { return removed.contains(iso_date_text(d.date)); });
        const HistoryCheck check = check_history(history);
        QCOMPARE(iso_dates(check.missing), removed);
        QVERIFY(check.suspicious.empty());
        QVERIFY(check.crowded.empty());
    }

    void check_follows_a_second_draw_day() {
        std::vector<DrawRec> history = weekly_history(QDate(2022, 1, 1), QDate(2022, 12, 31), {6});
        const std::vector<DrawRec> later = weekly_history(QDate(2023, 1, 4), QDate(2023, 12, 30), {3, 6});
        history.insert(history.end(), later.begin(), later.end());
        // ... and back to Saturdays only.
        const std::vector<DrawRec> after = weekly_history(QDate(2024, 1, 6), QDate(2024, 6, 29), {6});
        history.insert(history.end(), after.begin(), after.end());
        std::erase_if(history, [](const DrawRec& d) { return iso_date_text(d.date) == "2023-03-15"; });
        const HistoryCheck check = check_history(history);
        QCOMPARE(iso_dates(check.missing), QStringList{"2023-03-15"});
        QVERIFY(check.suspicious.empty());
    }

    void check_lines() {
        std::vector<DrawRec> history = weekly_history(QDate(2024, 1, 3), QDate(2024, 4, 27), {3, 6});
        std::erase_if(history, [](const DrawRec& d) { return iso_date_text(d.date) == "2024-02-07"; });
        history.push_back(draw("2024-02-08", {1, 2, 3, 4, 5, 6}, 7)); // a Thursday
        history.push_back(draw("2024-03-02", {7, 8, 9, 10, 11, 12}));
        const HistoryCheck check = check_history(history);
        QCOMPARE(
            history_check_lines(check, history, 6),
            (QStringList{"missing draw: 2024-02-07 (Wednesday)",
                         "suspicious draw: 2024-02-08 (Thursday, not a draw day then): 1 2 3 4 5 6 bonus 7",
                         "several draws: 2024-03-02 (2 draws)"}));
    }

    void check_of_a_short_history_finds_nothing() {
        const std::vector<DrawRec> history = {draw("2024-01-03", {1, 2, 3, 4, 5, 6}),
                                              draw("2024-01-11", {1, 2, 3, 4, 5, 6})};
        const HistoryCheck check = check_history(history);
        QVERIFY(check.missing.empty() && check.suspicious.empty());
    }

    void draw_number_gaps_count_as_missing() {
        const QString csv = "Draw,Date,N1,N2,N3,N4,N5,N6\n"
                            "101,2024-01-03,1,2,3,4,5,6\n"
                            "102,2024-01-06,1,2,3,4,5,6\n"
                            "105,2024-01-13,1,2,3,4,5,6\n" // 103 and 104 (on 2024-01-10) missing
                            "106,2024-01-17,1,2,3,4,5,6\n";
        const ImportResult r = import_draws(csv.toUtf8(), lotto(49), {});
        QVERIFY(r.lines.contains("missing draw numbers: 103-104 (between 2024-01-06 and 2024-01-13)"));
        QCOMPARE(r.missing_dates, 2);
    }

    void gap_and_date_count_once() {
        const std::vector<DrawNumberGap> gaps =
            draw_number_gaps({{7, serial("2024-01-13")}, {5, serial("2024-01-06")}});
        QCOMPARE(gaps.size(), size_t(1));
        QCOMPARE(gaps[0].first, 6);
        QCOMPARE(missing_beyond_dates(gaps, {serial("2024-01-10")}), 0);
        QCOMPARE(missing_beyond_dates(gaps, {}), 1);
    }

    void export_reads_back() {
        const std::vector<DrawRec> draws = {draw("2024-01-06", {5, 17, 3, 49, 22, 1}, 9),
                                            draw("1982-06-12", {1, 2, 3, 4, 5, 6}),
                                            draw("2024-01-06", {7, 8, 9, 10, 11, 12}, 13)};
        const QString csv = export_draws_csv(draws, 6);
        QCOMPARE(csv, QStringLiteral("Date,N1,N2,N3,N4,N5,N6,Bonus\n1982-06-12,1,2,3,4,5,6,0\n"
                                     "2024-01-06,5,17,3,49,22,1,9\n2024-01-06,7,8,9,10,11,12,13\n"));
        const ImportResult r = import_draws(csv.toUtf8(), lotto(49), {});
        QCOMPARE(r.status, ImportStatus::done);
        QCOMPARE(r.added, (std::vector<DrawRec>{draws[1], draws[0], draws[2]}));
        const ImportResult again = import_draws(csv.toUtf8(), lotto(49), r.merged);
        QCOMPARE(again.summary(), QStringLiteral("Read 3 rows: 0 new, 3 already present, 0 conflicting, 0 "
                                                 "rejected; 0 draw dates missing."));
        QCOMPARE(again.merged, r.merged);
    }

    void export_of_five_numbers_reads_back() {
        const std::vector<DrawRec> draws = {draw("2024-01-06", {5, 17, 3, 35, 22, 0}, 9)};
        const QString csv = export_draws_csv(draws, 5);
        QVERIFY(csv.startsWith("Date,N1,N2,N3,N4,N5,Bonus\n2024-01-06,5,17,3,35,22,9\n"));
        QCOMPARE(import_draws(csv.toUtf8(), lotto(35, 5), {}).added, draws);
    }

    void draws_file_cells_of_a_draw() {
        QCOMPARE(draws_file_cells(draw("2024-01-31", {5, 17, 3, 35, 22, 0}, 0)),
                 (QStringList{"2024-01-31", "5", "17", "3", "35", "22", "0", "0"}));
    }

    void fixture_newest_first_with_gap() {
        const ImportResult r = import_draws(read_fixture("uk_lotto_newest_first.csv"), lotto(59), {});
        QCOMPARE(r.separator, QChar(u','));
        QCOMPARE(r.report(),
                 (QStringList{"missing draw number: 2244 (between 2017-08-12 and 2017-08-19)",
                              "missing draw: 2017-08-16 (Wednesday)",
                              "Read 26 rows: 26 new, 0 already present, 0 conflicting, 0 rejected; "
                              "1 draw dates missing."}));
        QCOMPARE(iso_date_text(r.added.front().date), QStringLiteral("2017-09-30"));
        QCOMPARE(r.added.front().n, (std::array<int16_t, 6>{54, 45, 17, 27, 22, 56}));
        QCOMPARE(r.added.front().nb, int16_t(1));
        QVERIFY(std::is_sorted(r.merged.begin(), r.merged.end(),
                               [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; }));
    }

    void fixture_cp1252_with_conflict_and_footer() {
        const std::vector<DrawRec> stored = {draw("2019-10-02", {22, 4, 30, 10, 33, 43}, 11),
                                             draw("2019-10-05", {32, 36, 29, 2, 40, 15}, 33)};
        const ImportResult r = import_draws(read_fixture("fr_loto_cp1252.csv"), lotto(49), stored);
        QCOMPARE(r.encoding, QStringLiteral("Windows-1252"));
        QCOMPARE(r.separator, QChar(u';'));
        QCOMPARE(r.status, ImportStatus::partly_done);
        QVERIFY2(r.lines.size() == 2, qPrintable(r.lines.join('\n')));
        QVERIFY2(r.lines[0].startsWith(
                     "line 3: conflicts with the stored draw of 2019-10-05 (stored 32 36 29 2 40 "
                     "15 bonus 33, file 32 36 29 2 40 16 bonus 33;"),
                 qPrintable(r.lines[0]));
        QCOMPARE(r.lines[1],
                 QStringLiteral("line 15: date \"Total des tirages : 13\" is not a date: Total des "
                                "tirages : 13;;;;;;;;"));
        QCOMPARE(r.summary(),
                 QStringLiteral("Read 14 rows: 11 new, 1 already present, 1 conflicting, 1 rejected; "
                                "0 draw dates missing."));
        QCOMPARE(r.merged.size(), size_t(13));
        QCOMPARE(r.merged[1], stored[1]);
    }

    void fixture_utf8_bom_quoted_with_thursday() {
        const ImportResult r = import_draws(read_fixture("au_lotto_bom.csv"), lotto(45), {});
        QCOMPARE(r.encoding, QStringLiteral("UTF-8 with byte-order mark"));
        QCOMPARE(r.report(),
                 (QStringList{"line 15: the header line again: " +
                                  QString::fromUtf8(read_fixture("au_lotto_bom.csv")).split('\n')[0],
                              // Draw 4411 moved from Wednesday to Thursday: its numbers run on.
                              "Read 27 rows: 26 new, 0 already present, 0 conflicting, 1 rejected; "
                              "0 draw dates missing."}));
    }
    // A date whose month, day and year lie in three columns, as one state lottery publishes it.
    void split_date_map_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("map");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("report");
        QTest::addColumn<QString>("first");
        const QString texas = "Lotto Texas,11,14,1992,13,16,22,29,32,36\n"
                              "Lotto Texas,11,18,1992,2,9,17,25,31,45\n";
        const QString summary2 =
            "Read 2 rows: 2 new, 0 already present, 0 conflicting, 0 rejected; 0 draw dates "
            "missing.";
        QTest::newRow("month first") << texas << "date=2-4,numbers=5-10,bonus=none" << int(DateOrder::mdy)
                                     << QStringList{summary2} << "1992-11-14";
        QTest::newRow("order found from the day")
            << texas << "date=2-4,numbers=5-10" << int(DateOrder::automatic) << QStringList{summary2}
            << "1992-11-14";
        QTest::newRow("day first") << "14;11;1992;13;16;22;29;32;36;7\n3;12;1992;2;9;17;25;31;45;8\n"
                                   << "date=1-3,numbers=4-9,bonus=10" << int(DateOrder::dmy)
                                   << QStringList{summary2} << "1992-11-14";
        QTest::newRow("year first") << "1992,11,14,13,16,22,29,32,36\n1992,11,18,2,9,17,25,31,45\n"
                                    << "date=1-3,numbers=4-9" << int(DateOrder::automatic)
                                    << QStringList{summary2} << "1992-11-14";
        QTest::newRow("no such day")
            << "Lotto Texas,2,30,1992,13,16,22,29,32,36\nLotto Texas,11,18,1992,2,9,17,25,31,45\n"
            << "date=2-4,numbers=5-10" << int(DateOrder::mdy)
            << QStringList{"line 1: date \"2,30,1992\" is not a valid month/day/year date: Lotto "
                           "Texas,2,30,1992,13,16,22,29,32,36",
                           "Read 2 rows: 1 new, 0 already present, 0 conflicting, 1 rejected; 0 draw dates "
                           "missing."}
            << "1992-11-18";
        QTest::newRow("a short row")
            << "Lotto Texas,11,14,1992,13,16,22,29,32,36\nLotto Texas,11,18\n"
               "Lotto Texas,11,21,1992,1,12,18,33,40,51\n"
            << "date=2-4,numbers=5-10" << int(DateOrder::mdy)
            << QStringList{"line 2: the row has 3 fields, the date is in field 4: Lotto "
                           "Texas,11,18",
                           "Read 3 rows: 2 new, 0 already present, 0 conflicting, 1 "
                           "rejected; 0 draw dates missing."}
            << "1992-11-14";
    }

    void split_date_map() {
        QFETCH(QString, csv);
        QFETCH(QString, map);
        QFETCH(int, order);
        QString error;
        ImportOptions options;
        options.columns = parse_column_map(map, &error);
        QVERIFY2(options.columns, qPrintable(error));
        options.date_order = static_cast<DateOrder>(order);
        const ImportResult r = import_draws(csv.toUtf8(), lotto(54), {}, options);
        QTEST(r.report(), "report");
        QVERIFY(!r.added.empty());
        QTEST(iso_date_text(r.added.front().date), "first");
    }

    void split_date_map_text_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // as column_map_text writes it, or the error
        QTest::newRow("three columns") << "date=2-4,numbers=5-10,bonus=none"
                                       << "date=2-4,numbers=5-10,bonus=none";
        QTest::newRow("two columns")
            << "date=2-3,numbers=5-10"
            << "column map \"date=2-3,numbers=5-10\": date=2-3 is not one column, nor "
               "three consecutive ones (day, month and year) such as 2-4";
        QTest::newRow("overlapping the numbers")
            << "date=2-4,numbers=4-9"
            << "column map \"date=2-4,numbers=4-9\": a column is given twice";
        QTest::newRow("one column") << "date=1,numbers=2-7,bonus=8,drawno=9"
                                    << "date=1,numbers=2-7,bonus=8,drawno=9";
    }

    void split_date_map_text() {
        QFETCH(QString, text);
        QString error;
        const auto map = parse_column_map(text, &error);
        QTEST(map ? ::column_map_text(*map) : error, "read");
    }

    // When no header names the columns, the refusal suggests a map read from the rows, and that
    // map imports every draw.
    void suggested_map_imports_the_file_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<int>("play_n");
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<int>("draws");
        QTest::newRow("weekday before the date, one heading over the numbers")
            << "Tag;Datum;Gewinnzahlen;;;;;;Superzahl\n"
               "Mi;03.01.2024;4;15;18;22;35;41;7\n"
               "Sa;06.01.2024;1;9;27;30;33;45;2\n"
               "Mi;10.01.2024;5;12;19;26;38;49;0\n"
               "Sa;13.01.2024;3;8;14;21;42;47;9\n"
               "Mi;17.01.2024;6;11;16;29;36;44;4\n"
            << 49 << "date=2,numbers=3-8,bonus=9" << 5;
        QTest::newRow("draw number first, headings in another script")
            << QString::fromUtf8("הגרלה,תאריך,1,2,3,4,5,6,חזק\n"
                                 "3954,30/01/2024,3,11,17,24,29,36,5\n"
                                 "3953,27/01/2024,1,8,13,20,33,37,2\n"
                                 "3952,23/01/2024,2,6,15,19,28,31,7\n"
                                 "3951,20/01/2024,4,9,10,25,30,35,1\n")
            << 37 << "date=2,numbers=3-8,bonus=9" << 4;
        QTest::newRow("split date, no header") << "Lotto Texas,11,14,1992,13,16,22,29,32,36\n"
                                                  "Lotto Texas,11,18,1992,2,9,17,25,31,45\n"
                                                  "Lotto Texas,11,21,1992,1,12,18,33,40,51\n"
                                               << 54 << "date=2-4,numbers=5-10,bonus=none" << 3;
        QTest::newRow("date last, small draw numbers first") << "No,N1,N2,N3,N4,N5,When\n"
                                                                "1,4,15,18,22,35,2024-01-03\n"
                                                                "2,1,9,27,30,33,2024-01-06\n"
                                                                "3,5,12,19,26,38,2024-01-10\n"
                                                             << 39 << "date=7,numbers=2-6,bonus=none" << 3;
    }

    void suggested_map_imports_the_file() {
        QFETCH(QString, csv);
        QFETCH(int, play_n);
        QFETCH(QString, suggested);
        QFETCH(int, draws);
        const int pick_n = suggested.contains("numbers=2-6") ? 5 : 6;
        const ImportResult refused = import_draws(csv.toUtf8(), lotto(play_n, pick_n), {});
        QCOMPARE(refused.status, ImportStatus::nothing_done);
        QCOMPARE(refused.suggested_columns, suggested);
        QVERIFY2(refused.message.endsWith("give a column map such as " + suggested),
                 qPrintable(refused.message));
        QVERIFY(refused.first_records.size() >= 3);
        ImportOptions options;
        options.columns = parse_column_map(suggested, nullptr);
        const ImportResult r = import_draws(csv.toUtf8(), lotto(play_n, pick_n), {}, options);
        QCOMPARE(r.new_rows, draws);
        QCOMPARE(r.rejected, 0);
    }

    void nothing_to_suggest_keeps_the_example() {
        const ImportResult r = import_draws("Name,Age\nAnn,31\nBob,42\n", lotto(49), {});
        QVERIFY(r.suggested_columns.isEmpty());
        QVERIFY2(r.message.endsWith("give a column map such as date=1,numbers=2-7,bonus=8"),
                 qPrintable(r.message));
    }

    // Rows sharing a date or draw number are reported once, with the filter that keeps one kind.
    void shared_dates_data() {
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("line"); // the report's line about them, or empty
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("kept"); // draws imported when the filter is followed
        const QString header = "PRODUCT,DRAW NUMBER,SEQUENCE NUMBER,DRAW DATE,NUMBER DRAWN 1,NUMBER DRAWN 2,"
                               "NUMBER DRAWN 3,NUMBER DRAWN 4,NUMBER DRAWN 5,NUMBER DRAWN 6,BONUS NUMBER\n";
        QTest::newRow("extra draws by sequence number")
            << header + "649,4001,0,2024-01-03,3,11,19,27,35,43,7\n"
                        "649,4001,1,2024-01-03,5,12,20,28,36,44,0\n"
                        "649,4002,0,2024-01-06,1,2,3,4,5,6,9\n"
                        "649,4003,0,2024-01-10,8,14,22,30,38,46,1\n"
                        "649,4003,1,2024-01-10,9,15,23,31,39,47,0\n"
                        "649,4003,2,2024-01-10,10,16,24,32,40,48,0\n"
            << "rows sharing a date or draw number: more than one draw on 2 dates and 2 draw numbers of the "
               "file, first 2024-01-03 on lines 2, 3; to keep one kind, filter with --where \"SEQUENCE "
               "NUMBER=0\""
            << "SEQUENCE NUMBER=0" << 3;
        QTest::newRow("no column tells them apart")
            << "Date,N1,N2,N3,N4,N5,N6\n2024-01-03,3,11,19,27,35,43\n2024-01-03,5,12,20,28,36,44\n"
            << "rows sharing a date or draw number: more than one draw on 1 date of the file, first "
               "2024-01-03 on lines 2, 3; no column tells their kinds apart"
            << "" << 0;
        QTest::newRow("a row given twice") << "Date,N1,N2,N3,N4,N5,N6\n2024-01-03,3,11,19,27,35,43\n"
                                              "2024-01-03,3,11,19,27,35,43\n"
                                           << ""
                                           << "" << 0;
        QTest::newRow("headerless, told apart by a column number")
            << "2024-01-03,3,11,19,27,35,43,7,main\n2024-01-03,5,12,20,28,36,44,0,extra\n"
               "2024-01-06,1,2,3,4,5,6,9,main\n"
            << "rows sharing a date or draw number: more than one draw on 1 date of the file, first "
               "2024-01-03 on lines 1, 2; to keep one kind, filter with --where \"9=main\""
            << "9=main" << 2;
    }

    void shared_dates() {
        QFETCH(QString, csv);
        QFETCH(QString, line);
        QFETCH(QString, filter);
        QFETCH(int, kept);
        ImportOptions options;
        if (!csv.startsWith("PRODUCT") && !csv.startsWith("Date"))
            options.columns = parse_column_map(u"date=1,numbers=2-7,bonus=8", nullptr);
        const ImportResult r = import_draws(csv.toUtf8(), lotto(49), {}, options);
        const QStringList about = r.lines.filter("rows sharing");
        QCOMPARE(about, line.isEmpty() ? QStringList{} : QStringList{line});
        QCOMPARE(r.suggested_filter, filter);
        if (filter.isEmpty())
            return;
        // Following the suggestion leaves one draw a date.
        options.filters.push_back(*parse_column_filter(filter, nullptr));
        const ImportResult following = import_draws(csv.toUtf8(), lotto(49), {}, options);
        QCOMPARE(following.lines.filter("rows sharing"), QStringList{});
        QCOMPARE(following.lines.filter("several draws"), QStringList{});
        QCOMPARE(following.added.size(), size_t(kept));
    }
};

QTEST_GUILESS_MAIN(TestDrawImport)
#include "test_draw_import.moc"
