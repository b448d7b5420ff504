#include "core/analyses/performance.h"

#include <QTest>

namespace {

// Seven draw boxes written as "b1|b2|...|b7"; the texts are kept exactly, blanks included.
DrawTexts7 draw_of(const QString& boxes) {
    const QStringList parts = boxes.split(u'|');
    DrawTexts7 d;
    for (size_t i = 0; i < d.size() && i < static_cast<size_t>(parts.size()); ++i)
        d[i] = parts[static_cast<qsizetype>(i)];
    return d;
}

PrizeTexts prizes_of(const QString& boxes) {
    const QStringList parts = boxes.split(u'|');
    PrizeTexts p;
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = parts.value(static_cast<qsizetype>(i), QStringLiteral("1"));
    return p;
}

const QString example_draw = QStringLiteral("3|11|19|27|35|43|8");

} // namespace

class TestPerformance : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void matching_is_textual_data() {
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("draw");
        QTest::addColumn<int>("matched");
        QTest::addColumn<bool>("bonus");
        QTest::newRow("two and the bonus") << "3 8 11 20 30 40" << example_draw << 2 << true;
        QTest::newRow("none") << "1 2 4 5 6 7" << example_draw << 0 << false;
        QTest::newRow("box text trimmed") << "5 6 7 8 9 10"
                                          << " 5 |6|0|0|0|0|0" << 2 << false;
        QTest::newRow("leading zero is another text") << "5 6 7 8 9 10"
                                                      << "05|6|0|0|0|0|0" << 1 << false;
        QTest::newRow("5.0 is another text") << "5 6 7 8 9 10"
                                             << "5.0|6|0|0|0|0|0" << 1 << false;
        QTest::newRow("a number in two boxes counts twice") << "5 6 7 8 9 10"
                                                            << "5|5|7|0||0|" << 3 << false;
        QTest::newRow("0 and empty boxes left out") << "0 6 7 8 9 10"
                                                    << "0|||0|6||0" << 1 << false;
        QTest::newRow("bonus box alone") << "5 6 7 8 9 10"
                                         << "1|2|3|4|11|12|9" << 0 << true;
    }
    void matching_is_textual() {
        QFETCH(QString, numbers);
        QFETCH(QString, draw);
        const QStringList tokens = numbers.split(u' ');
        const TicketMatch m = match_ticket(tokens, draw_of(draw));
        QFETCH(int, matched);
        QCOMPARE(m.matched, matched);
        QFETCH(bool, bonus);
        QCOMPARE(m.bonus, bonus);
    }

    void prize_classes_data() {
        QTest::addColumn<int>("matched");
        QTest::addColumn<bool>("bonus");
        QTest::addColumn<QString>("label");
        QTest::newRow("1+bonus") << 1 << true << "";
        QTest::newRow("2") << 2 << false << "2";
        QTest::newRow("2+bonus") << 2 << true << "2+bonus";
        QTest::newRow("3+bonus") << 3 << true << "3+bonus";
        QTest::newRow("5") << 5 << false << "5";
        QTest::newRow("6+bonus") << 6 << true << "6+bonus";
        QTest::newRow("7, a number typed twice") << 7 << false << "";
    }
    void prize_classes() {
        QFETCH(int, matched);
        QFETCH(bool, bonus);
        const int cls = prize_class(matched, bonus);
        QFETCH(QString, label);
        QCOMPARE(cls < 0 ? QString() : QString::fromLatin1(prize_class_labels[cls]), label);
    }

    // Winners as "number:class:numbers" joined by ';', then "!" when the file is not correct.
    void scoring_a_file_data() {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("draw");
        QTest::addColumn<QString>("prizes");
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("expected");
        QTest::newRow("example") << "N4 3 8 11 20 30 40\nN5 1 2 4 5 6 7" << example_draw << "" << 6
                                 << "4:2+bonus:3 8 11 20 30 40";
        QTest::newRow("a prize of 0 wins nothing")
            << "N1 3 11 19 8 1 2\nN2 3 11 19 1 2 4" << example_draw << "1|1|1|0" << 6 << "2:3:3 11 19 1 2 4";
        QTest::newRow("0.0 and empty are not 0")
            << "N1 3 11 19 8 1 2\nN2 3 11 1 2 4 5" << example_draw << "|1|1|0.0" << 6
            << "1:3+bonus:3 11 19 8 1 2;2:2:3 11 1 2 4 5";
        QTest::newRow("empty line is no ticket")
            << "N1 3 11 1 2 4 5\n\n   \nN2 1 2 4 5 6 7" << example_draw << "" << 6 << "1:2:3 11 1 2 4 5";
        QTest::newRow("runs of blanks")
            << "N7   3 11  19 1 2 4 " << example_draw << "" << 6 << "7:3:3 11  19 1 2 4 ";
        QTest::newRow("only the first pick numbers count")
            << "N3 3 11 1 2 4 19 27" << example_draw << "" << 5 << "3:2:3 11 1 2 4 19 27";
        QTest::newRow("no lotto: nothing compared") << "N1 3 11 19 27 35 43" << example_draw << "" << 0 << "";
        QTest::newRow("short line stops, earlier rows stay")
            << "N1 3 11 1 2 4 5\nN2 3 11 19\nN3 3 11 19 27 1 2" << example_draw << "" << 6
            << "1:2:3 11 1 2 4 5!";
        QTest::newRow("label without a number") << "N 3 11 1 2 4 5" << example_draw << "" << 6 << "!";
        QTest::newRow("label number not an integer") << "Nx 3 11 1 2 4 5" << example_draw << "" << 6 << "!";
    }
    void scoring_a_file() {
        QFETCH(QString, lines);
        QFETCH(QString, draw);
        QFETCH(QString, prizes);
        QFETCH(int, pick);
        const SystemScore score =
            score_system(lines.split(u'\n'), draw_of(draw), prizes_of(prizes), static_cast<int16_t>(pick));
        QStringList got;
        for (const WinningTicket& w : score.winners)
            got << QStringLiteral("%1:%2:%3")
                       .arg(w.number)
                       .arg(QLatin1String(prize_class_labels[w.prize_class]), w.numbers);
        QFETCH(QString, expected);
        QCOMPARE(got.join(u';') + (score.ok ? "" : "!"), expected);
    }

    void total_of_prizes_data() {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<float>("sum");
        QTest::addColumn<bool>("ok");
        QTest::newRow("10 + 2.5") << "10|2.5"
                                  << "C" << 12.5f << true;
        QTest::newRow("summed as 32-bit") << "16777216|1"
                                          << "C" << 16777216.0f << true;
        QTest::newRow("comma locale") << "10|2,5"
                                      << "de_DE" << 12.5f << true;
        QTest::newRow("empty value") << "10|"
                                     << "C" << 0.0f << false;
        QTest::newRow("not a number") << "10|abc"
                                      << "C" << 0.0f << false;
        QTest::newRow("overflow") << "3e38|3e38"
                                  << "C" << 0.0f << false;
    }
    void total_of_prizes() {
        QFETCH(QString, values);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const QStringList parts = values.split(u'|');
        QFETCH(bool, ok);
        QFETCH(float, sum);
        const std::optional<float> got = sum_prizes(parts);
        QCOMPARE(got.has_value(), ok);
        if (got)
            QCOMPARE(*got, sum);
    }

    void set_numbers_text() {
        std::array<int16_t, 21> numbers{};
        for (int i = 1; i <= 20; ++i)
            numbers[i] = static_cast<int16_t>(i * 2);
        QCOMPARE(tset_numbers_text(numbers, 3), QStringLiteral("2 4 6 "));
        QCOMPARE(tset_numbers_text(numbers, 20)->size(), 4 * 2 + 16 * 3);
        QVERIFY(!tset_numbers_text(numbers, 21));
    }
};

QTEST_GUILESS_MAIN(TestPerformance)
#include "test_performance.moc"
