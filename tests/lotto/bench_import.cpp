// Imports generated 6/49 draw histories as CSV: 100,000 and 1,000,000 rows into an empty lotto,
// and 100,000 into a history that already holds them; prints the time of each and the peak memory.
#include "lotto/draw_import.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>

namespace {

// One draw a day from the year 1000 on, so a million draws keep four-digit years.
QByteArray history_csv(int rows) {
    QRandomGenerator rng(6049);
    QString csv = QStringLiteral("Draw Date,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball\r\n");
    csv.reserve(static_cast<qsizetype>(rows) * 36);
    const QDate first(1000, 1, 1);
    for (int i = 0; i < rows; ++i) {
        csv += first.addDays(i).toString(Qt::ISODate);
        std::array<bool, 50> used{};
        for (int k = 0; k < 7; ++k) {
            int n = 0;
            do
                n = 1 + static_cast<int>(rng.bounded(49));
            while (used[static_cast<size_t>(n)]);
            used[static_cast<size_t>(n)] = true;
            csv += u',';
            csv += QString::number(n);
        }
        csv += QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}

QString peak_memory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("unknown");
}

ImportResult timed(const char* what, const QByteArray& csv, const std::vector<DrawRec>& history) {
    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = 6;
    QElapsedTimer timer;
    timer.start();
    ImportResult result = import_draws(csv, lotto, history);
    const qint64 ms = timer.elapsed();
    std::printf("%-40s %6lld ms  peak %s\n  %s\n", what, static_cast<long long>(ms),
                qPrintable(peak_memory()), qPrintable(result.summary()));
    return result;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QByteArray small = history_csv(100000);
    std::printf("generated %lld bytes of CSV for 100,000 draws\n", static_cast<long long>(small.size()));
    const ImportResult first = timed("100,000 draws into an empty lotto", small, {});
    timed("100,000 draws already present", small, first.merged);
    QByteArray large = history_csv(1000000);
    std::printf("generated %lld bytes of CSV for 1,000,000 draws\n", static_cast<long long>(large.size()));
    timed("1,000,000 draws into an empty lotto", large, {});
    return 0;
}
