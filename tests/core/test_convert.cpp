#include "core/base/convert.h"
#include "core/base/text_pieces.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {
const QLocale us(QLocale::English, QLocale::UnitedStates);
const QLocale de(QLocale::German, QLocale::Germany);
const QLocale uk(QLocale::English, QLocale::UnitedKingdom);
const QLocale c_locale = QLocale::c();
} // namespace

Q_DECLARE_METATYPE(QLocale)

class TestConvert : public QObject {
    Q_OBJECT
  private slots:
    void int16_data() {
        QTest::addColumn<QLocale>("loc");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -99999 = fails
        QTest::newRow("plain") << us << "49" << 49;
        QTest::newRow("surrounding blanks") << us << "  7 " << 7;
        QTest::newRow("half up to even") << us << "7.5" << 8;
        QTest::newRow("half down to even") << us << "6.5" << 6;
        QTest::newRow("negative half") << us << "-2.5" << -2;
        QTest::newRow("fraction") << us << "2.51" << 3;
        QTest::newRow("german comma") << de << "7,5" << 8;
        QTest::newRow("largest") << us << "32767" << 32767;
        QTest::newRow("smallest") << us << "-32768" << -32768;
        QTest::newRow("rounds past the top") << us << "32767.5" << -99999;
        QTest::newRow("overflow") << us << "40000" << -99999;
        QTest::newRow("empty") << us << "" << -99999;
        QTest::newRow("letters") << us << "abc" << -99999;
        QTest::newRow("number then letters") << us << "12a" << -99999;
        QTest::newRow("nan") << us << "nan" << -99999;
        QTest::newRow("inf") << us << "inf" << -99999;
    }
    void int16() {
        QFETCH(QLocale, loc);
        QFETCH(QString, text);
        QFETCH(int, expected);
        const auto v = text_to_int16(text, loc);
        if (expected == -99999)
            QVERIFY(!v);
        else
            QCOMPARE(int(v.value()), expected);
    }

    void float_parse() {
        QCOMPARE(text_to_float("2.5", us).value(), 2.5f);
        QCOMPARE(text_to_float("2,5", de).value(), 2.5f);
        QCOMPARE(text_to_float("1E+07", us).value(), 1e7f);
        QCOMPARE(text_to_float("-3", us).value(), -3.0f);
        QVERIFY(!text_to_float("", us));
        QVERIFY(!text_to_float("abc", us));
        QVERIFY(!text_to_float("1e39", us));
    }

    void float_text_data() {
        QTest::addColumn<QLocale>("loc");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << us << 0.0f << "0";
        QTest::newRow("million") << us << 1000000.0f << "1000000";
        QTest::newRow("below ten million") << us << 9999999.0f << "9999999";
        QTest::newRow("ten million") << us << 1e7f << "1E+07";
        QTest::newRow("big with digits") << us << 12345678.0f << "1.234568E+07";
        QTest::newRow("2.5") << us << 2.5f << "2.5";
        QTest::newRow("2.5 german") << de << 2.5f << "2,5";
        QTest::newRow("0.1 shortest") << us << 0.1f << "0.1";
        QTest::newRow("30/7") << us << 30.0f / 7.0f << "4.285714";
        QTest::newRow("seven digits") << us << 0.2380952f << "0.2380952";
        QTest::newRow("small fixed") << us << 0.0001f << "0.0001";
        QTest::newRow("small exponent") << us << 0.00001f << "1E-05";
        QTest::newRow("negative") << us << -1.5f << "-1.5";
        QTest::newRow("0.0128999") << us << 0.0128999f << "0.0128999";
    }
    void float_text() {
        QFETCH(QLocale, loc);
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(float_to_text(value, loc), text);
    }

    void double_text_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("10 x 2") << 20.0 << "20";
        QTest::newRow("30 x 1.5") << 45.0 << "45";
        QTest::newRow("10 x float 0.1") << 10.0 * static_cast<double>(0.1f) << "1.00000001490116";
        QTest::newRow("969 x 3") << 2907.0 << "2907";
        QTest::newRow("large") << 1e15 << "1E+15";
        QTest::newRow("just below") << 999999999999999.0 << "999999999999999";
    }
    void double_text() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(double_to_text(value, us), text);
    }

    void dates_data() {
        QTest::addColumn<QLocale>("loc");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("serial"); // -1 = fails
        QTest::newRow("first day of 1900") << us << "1/1/1900" << 2.0;
        QTest::newRow("day zero") << c_locale << "1899-12-30" << 0.0;
        QTest::newRow("us month first") << us << "1/5/2002" << 37261.0;
        QTest::newRow("us padded") << us << "01/05/2002" << 37261.0;
        QTest::newRow("uk day first") << uk << "5/1/2002" << 37261.0;
        QTest::newRow("german dots") << de << "05.01.2002" << 37261.0;
        QTest::newRow("iso everywhere") << de << "2002-01-05" << 37261.0;
        QTest::newRow("iso in us") << us << "2002-01-05" << 37261.0;
        QTest::newRow("two-digit year 2000s") << us << "1/5/02" << 37261.0;
        QTest::newRow("two-digit year 1900s") << us << "12/29/99" << 36523.0;
        QTest::newRow("time dropped for date only") << us << "1/5/2002T18:00" << 37261.0;
        QTest::newRow("c locale: month/day/year") << c_locale << "1/5/2002" << 37261.0;
        QTest::newRow("c locale: not day/month/year") << c_locale << "29/12/2001" << -1.0;
        QTest::newRow("no 13th month") << us << "13/5/2002" << -1.0;
        QTest::newRow("no 30 February") << us << "2/30/2002" << -1.0;
        QTest::newRow("blank inside") << us << "1/5 /2002" << -1.0;
        QTest::newRow("mixed separators") << us << "1/5-2002" << -1.0;
        QTest::newRow("empty") << us << "" << -1.0;
        QTest::newRow("three-digit year") << us << "1/5/200" << -1.0;
        QTest::newRow("words") << us << "today" << -1.0;
        // Forms other locales write: a final dot, direction marks around the separators.
        const QLocale ko(QLocale::Korean, QLocale::SouthKorea), hu(QLocale::Hungarian, QLocale::Hungary),
            hr(QLocale::Croatian, QLocale::Croatia), ar(QLocale::Arabic, QLocale::Egypt);
        QTest::newRow("korean final dot") << ko << "2002.1.5." << 37261.0;
        QTest::newRow("hungarian final dot") << hu << "2002.01.05." << 37261.0;
        QTest::newRow("croatian final dot") << hr << "05.01.2002." << 37261.0;
        QTest::newRow("final dot optional") << hr << "05.01.2002" << 37261.0;
        QTest::newRow("two final dots") << hr << "05.01.2002.." << -1.0;
        QTest::newRow("final slash") << us << "1/5/2002/" << -1.0;
        QTest::newRow("arabic right-to-left marks")
            << ar << QString::fromUtf8("5\u200f/1\u200f/2002") << 37261.0;
        // A blank would split the date in a file's line, wherever it stands.
        QTest::newRow("marks around") << us << QString::fromUtf8("\u200e2030-01-05\u200e") << 47488.0;
        QTest::newRow("blank, then a mark") << us << QString::fromUtf8("2030-01-05 \u200e") << -1.0;
        QTest::newRow("leading blank") << us << " 2030-01-05" << -1.0;
        QTest::newRow("trailing tab") << us << "2030-01-05\t" << -1.0;
    }
    void dates() {
        QFETCH(QLocale, loc);
        QFETCH(QString, text);
        QFETCH(double, serial);
        const auto v = date_text_to_serial(text, DatePart::DateOnly, loc);
        if (serial < 0)
            QVERIFY(!v);
        else
            QCOMPARE(v.value(), serial);
    }

    void date_time_fraction() {
        QCOMPARE(date_text_to_serial(u"2002-01-05T18:00", DatePart::DateTime, us).value(), 37261.75);
        QCOMPARE(date_text_to_serial(u"1/5/2002T06:00:00", DatePart::DateTime, us).value(), 37261.25);
        QVERIFY(!date_text_to_serial(u"2002-01-05T25:00", DatePart::DateTime, us));
        QVERIFY(!date_text_to_serial(u"2002-01-05 18:00", DatePart::DateTime, us));
    }

    void date_text_round_trip() {
        const QDate d(2026, 3, 7);
        QCOMPARE(date_to_text(d, c_locale), "2026-03-07");
        QCOMPARE(date_to_text(d, us), "3/7/2026");
        QCOMPARE(date_to_text(d, de), "07.03.2026");
        for (const QLocale& loc : {c_locale, us, de, uk}) {
            const QString text = date_to_text(d, loc);
            QVERIFY2(!text.contains(u' '), qPrintable(text));
            QCOMPARE(date_text_to_serial(text, DatePart::DateOnly, loc).value(), date_to_serial(d));
        }
        QCOMPARE(serial_to_date(37261.75), QDate(2002, 1, 5));
    }

    // Whatever the program writes as a date in a locale, it reads back in that locale; the text
    // must also survive a Windows-1252 file, so it is plain ASCII.
    void dates_read_back_in_every_locale() {
        const QList<QDate> days{QDate(2024, 3, 5), QDate(1900, 1, 1), QDate(2029, 12, 31),
                                QDate(2001, 11, 22)};
        int locales = 0;
        for (const QLocale& loc :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            ++locales;
            for (const QDate& d : days) {
                const QString text = date_to_text(d, loc);
                const QString where = loc.bcp47Name() + u' ' + text;
                for (const QChar c : text)
                    QVERIFY2(c.unicode() > u' ' && c.unicode() < 127, qPrintable(where));
                const auto serial = date_text_to_serial(text, DatePart::DateOnly, loc);
                QVERIFY2(serial && *serial == date_to_serial(d), qPrintable(where));
            }
        }
        QVERIFY(locales > 300);
        QCOMPARE(date_to_text(QDate(2024, 3, 5), QLocale(u"kkj_CM")), "05/03/2024");
        QCOMPARE(date_to_text(QDate(2024, 3, 5), QLocale(QLocale::Arabic, QLocale::Egypt)), "5/3/2024");
    }

    // Right-to-left locales put a direction mark before the minus sign.
    void amounts_read_back_in_every_locale() {
        const float values[] = {-0.25f, -1234.5f, 2.5f, -1e8f, -3e-6f, 1000000.0f};
        for (const QLocale& loc :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            for (const float v : values) {
                const QString text = float_to_text(v, loc);
                const auto back = text_to_float(text, loc);
                QVERIFY2(back && *back == v, qPrintable(loc.bcp47Name() + u' ' + text));
            }
        }
        QCOMPARE(
            text_to_float(QString::fromUtf8("\u061c-0\u066b25"), QLocale(QLocale::Arabic, QLocale::Egypt)),
            -0.25f);
        QCOMPARE(text_to_int16(QString::fromUtf8("\u200e-7"), us), int16_t(-7));
    }

    void serials_beyond_the_calendar_data() {
        QTest::addColumn<double>("serial");
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
        QTest::newRow("1e300") << 1e300;
        QTest::newRow("-1e300") << -1e300;
        QTest::newRow("2^63") << 9223372036854775808.0;
    }
    void serials_beyond_the_calendar() {
        QFETCH(double, serial);
        QVERIFY(!serial_to_date(serial).isValid());
    }

    void invalid_date_has_no_serial() {
        QVERIFY(std::isnan(date_to_serial(QDate())));
        QVERIFY(std::isnan(date_to_serial(QDate(2002, 2, 30))));
        QCOMPARE(date_to_serial(serial_to_date(-1000.0)), -1000.0);
    }

    // The digits that the draws files and the export write without a string per number.
    void decimal_digits_data() {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << 1 << "0";
        QTest::newRow("zero padded") << qint64(0) << 2 << "00";
        QTest::newRow("month") << qint64(7) << 2 << "07";
        QTest::newRow("year") << qint64(2024) << 4 << "2024";
        QTest::newRow("wider than asked") << qint64(12345) << 2 << "12345";
        QTest::newRow("negative padded") << qint64(-5) << 3 << "-005";
        QTest::newRow("serial") << qint64(45322) << 1 << "45322";
        QTest::newRow("largest") << std::numeric_limits<qint64>::max() << 1 << "9223372036854775807";
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << 1 << "-9223372036854775808";
    }

    void decimal_digits() {
        QFETCH(qint64, value);
        QFETCH(int, width);
        QFETCH(QString, text);
        char16_t out[24] = {};
        QCOMPARE(QStringView(out, write_decimal(out, value, width)), text);
        QString appended = QStringLiteral("x");
        append_decimal(appended, value, width);
        QCOMPARE(appended, u'x' + text);
    }
};

QTEST_GUILESS_MAIN(TestConvert)
#include "test_convert.moc"
