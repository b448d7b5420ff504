#include "core/base/convert.h"
#include "core/lotto/draw_check.h"
#include "core/lotto/draw_import.h"

#include <QtTest>

namespace {

double serial(const QString& iso) {
    return date_to_serial(QDate::fromString(iso, Qt::ISODate));
}

QStringList iso_dates(const std::vector<double>& serials) {
    QStringList out;
    for (const double s : serials)
        out << iso_date_text(s);
    return out;
}

// A history from schedules "FIRST..LAST:WEEKDAYS" (1 = Monday), without the removed dates and with
// the extra ones, oldest first.
std::vector<DrawRec> history_of(const QStringList& schedules, const QStringList& removed,
                                const QStringList& extra) {
    std::vector<DrawRec> out;
    for (const QString& schedule : schedules) {
        const QStringList parts = schedule.split(u':');
        const QStringList span = parts[0].split(QStringLiteral(".."));
        QList<int> weekdays;
        for (const QString& w : parts[1].split(u','))
            weekdays << w.toInt();
        for (QDate d = QDate::fromString(span[0], Qt::ISODate); d <= QDate::fromString(span[1], Qt::ISODate);
             d = d.addDays(1))
            if (weekdays.contains(d.dayOfWeek()) && !removed.contains(d.toString(Qt::ISODate)))
                out.push_back({date_to_serial(d), {int16_t(1 + d.day() % 30), 32, 33, 34, 35, 36}, 0});
    }
    for (const QString& iso : extra)
        out.push_back({serial(iso), {1, 2, 3, 4, 5, 6}, 7});
    std::sort(out.begin(), out.end(), [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; });
    return out;
}

// The draws numbered one by one from first in date order, as a published numbered history is.
std::vector<std::pair<int64_t, double>> numbered_from(const std::vector<DrawRec>& history, int64_t first) {
    std::vector<std::pair<int64_t, double>> out;
    for (const DrawRec& d : history)
        out.emplace_back(first++, d.date);
    return out;
}

// "NUMBER@DATE" items.
std::vector<std::pair<int64_t, double>> numbers_at(const QStringList& items) {
    std::vector<std::pair<int64_t, double>> out;
    for (const QString& item : items) {
        const QStringList parts = item.split(u'@');
        out.emplace_back(parts[0].toLongLong(), serial(parts[1]));
    }
    return out;
}

} // namespace

class TestDrawCheck : public QObject {
    Q_OBJECT
  private slots:
    void schedules_data() {
        QTest::addColumn<QStringList>("schedules");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QStringList>("suspicious");
        const QStringList wed_sat{"2023-01-04..2023-12-30:3,6"};
        QTest::newRow("missing Wednesday") << wed_sat << QStringList{"2023-06-14"} << QStringList{} << false
                                           << QStringList{"2023-06-14"} << QStringList{};
        QTest::newRow("one-off Thursday") << wed_sat << QStringList{} << QStringList{"2023-05-11"} << false
                                          << QStringList{} << QStringList{"2023-05-11"};
        QTest::newRow("numbered run complete whatever the weekdays")
            << wed_sat << QStringList{"2023-06-14", "2023-09-02"} << QStringList{"2023-05-11"} << true
            << QStringList{} << QStringList{};
        QTest::newRow("second draw day taken up")
            << QStringList{"2022-01-01..2022-12-31:6", "2023-01-04..2023-12-30:3,6"} << QStringList{}
            << QStringList{} << false << QStringList{} << QStringList{};
        QTest::newRow("draw day moved, one missing after the move")
            << QStringList{"2022-01-04..2022-12-27:2", "2023-01-05..2023-12-28:4"}
            << QStringList{"2023-03-09"} << QStringList{} << false << QStringList{"2023-03-09"}
            << QStringList{};
        QTest::newRow("new draw day as the last draw")
            << QStringList{"2023-01-04..2024-01-31:3"} << QStringList{} << QStringList{"2024-02-03"} << false
            << QStringList{} << QStringList{};
        QTest::newRow("new draw day in the last weeks")
            << QStringList{"2023-01-04..2024-02-07:3", "2024-01-20..2024-02-03:6"} << QStringList{}
            << QStringList{} << false << QStringList{} << QStringList{};
        QTest::newRow("draw day dropped")
            << QStringList{"2023-01-04..2023-06-28:3,6", "2023-07-01..2023-12-30:6"} << QStringList{}
            << QStringList{} << false << QStringList{} << QStringList{};
        QTest::newRow("first and last weeks")
            << wed_sat << QStringList{"2023-01-07", "2023-12-27"} << QStringList{} << false
            << QStringList{"2023-01-07", "2023-12-27"} << QStringList{};
    }

    void schedules() {
        QFETCH(QStringList, schedules);
        QFETCH(QStringList, removed);
        QFETCH(QStringList, extra);
        QFETCH(bool, numbered);
        const std::vector<DrawRec> history = history_of(schedules, removed, extra);
        const HistoryCheck check = check_history(
            history, numbered ? numbered_from(history, 2321) : std::vector<std::pair<int64_t, double>>{});
        QTEST(iso_dates(check.missing), "missing");
        std::vector<double> suspicious;
        for (const size_t i : check.suspicious)
            suspicious.push_back(history[i].date);
        QTEST(iso_dates(suspicious), "suspicious");
    }

    // Only the numbered stretch is taken as complete: a missing date outside it is still found.
    void numbered_stretch_only() {
        const std::vector<DrawRec> history =
            history_of({"2023-01-04..2023-12-30:3,6"}, {"2023-03-15", "2023-09-13"}, {});
        std::vector<std::pair<int64_t, double>> numbered;
        for (const DrawRec& d : history)
            if (d.date >= serial("2023-06-01"))
                numbered.emplace_back(static_cast<int64_t>(numbered.size()) + 500, d.date);
        QCOMPARE(iso_dates(check_history(history, numbered).missing), QStringList{"2023-03-15"});
    }

    void draw_number_gaps_data() {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("gaps");
        QTest::newRow("consecutive") << QStringList{"101@2024-01-03", "102@2024-01-06"} << QStringList{};
        QTest::newRow("gap") << QStringList{"101@2024-01-03", "102@2024-01-06", "105@2024-01-13"}
                             << QStringList{"103-104"};
        QTest::newRow("newest first")
            << QStringList{"105@2024-01-13", "102@2024-01-06", "101@2024-01-03"} << QStringList{"103-104"};
        QTest::newRow("restart of the numbering")
            << QStringList{"6799@2011-12-27", "6800@2011-12-31", "1@2012-01-03", "2@2012-01-07"}
            << QStringList{};
        QTest::newRow("back to a lower series")
            << QStringList{"6800@2011-12-31", "2321@2012-01-03", "2322@2012-01-07"} << QStringList{};
        QTest::newRow("leap further than the dates allow")
            << QStringList{"3954@2024-01-06", "7000@2024-01-09", "7001@2024-01-13"} << QStringList{};
        QTest::newRow("extra rows share a number")
            << QStringList{"101@2024-01-03", "101@2024-01-03", "102@2024-01-06"} << QStringList{};
        QTest::newRow("gap after a restart")
            << QStringList{"6800@2011-12-31", "1@2012-01-03", "2@2012-01-07", "4@2012-01-14"}
            << QStringList{"3-3"};
    }

    void draw_number_gaps() {
        QFETCH(QStringList, numbers);
        QStringList found;
        for (const DrawNumberGap& gap : ::draw_number_gaps(numbers_at(numbers)))
            found << QStringLiteral("%1-%2").arg(gap.first).arg(gap.last);
        QTEST(found, "gaps");
    }

    // A numbered history on irregular weekdays, newest first, in two numbering schemes: the
    // import's report finds nothing missing.
    void import_of_a_numbered_history() {
        QString csv = QStringLiteral("Draw,Date,N1,N2,N3,N4,N5,N6,Strong\n");
        std::vector<DrawRec> history = history_of(
            {"2011-10-01..2011-12-31:2,6", "2012-01-03..2012-06-30:2,4,6"}, {"2012-02-16"}, {"2012-03-02"});
        int64_t number = 2321 + static_cast<int64_t>(history.size());
        for (auto d = history.rbegin(); d != history.rend(); ++d) {
            // The old scheme's numbers run higher than the new one's.
            const int64_t shown = d->date < serial("2012-01-01") ? number + 4000 : number;
            csv += QStringLiteral("%1,%2,%3,32,33,34,35,36,%4\n")
                       .arg(shown)
                       .arg(serial_to_date(d->date).toString(QStringLiteral("dd/MM/yyyy")))
                       .arg(d->n[0])
                       .arg(1 + number % 7 == d->n[0] ? 8 : 1 + number % 7); // never one of the numbers
            --number;
        }
        ImportOptions options;
        options.columns = parse_column_map(u"date=2,numbers=3-8,bonus=9,drawno=1", nullptr);
        LottoParams lotto;
        lotto.play_n = 37;
        lotto.pick_n = 6;
        const ImportResult r = import_draws(csv.toUtf8(), lotto, {}, options);
        QCOMPARE(r.report(),
                 QStringList{QStringLiteral("Read %1 rows: %1 new, 0 already present, 0 conflicting, "
                                            "0 rejected; 0 draw dates missing.")
                                 .arg(history.size())});
    }
};

QTEST_GUILESS_MAIN(TestDrawCheck)
#include "test_draw_check.moc"
