// Reads a 100,000-line draws file into the draws table and sorts it by date, as loading a lotto
// does; prints the time of each step and the peak memory of the process.
#include "core/base/text_files.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_files.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peak_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath("draws.txt");

    // Dates shuffled so that the sort has real work to do.
    QRandomGenerator rng(6049);
    QStringList text;
    text.reserve(lines);
    const QDate first(1800, 1, 1);
    for (int i = 0; i < lines; ++i) {
        QString line = first.addDays(rng.bounded(150000)).toString(Qt::ISODate) + u' ';
        for (int n = 0; n < 7; ++n)
            line += QString::number(1 + rng.bounded(49)) + u' ';
        text << line;
    }
    if (!write_text_lines(path, text))
        return 1;
    text.clear();
    std::printf("draws file: %d lines\n", lines);
    const long before = peak_kib();

    QElapsedTimer timer;
    timer.start();
    TextTable grid;
    reset_draws_table(grid);
    if (!read_draws_file(path, grid))
        return 1;
    const qint64 read_ms = timer.elapsed();
    if (!sort_draws_table(grid))
        return 1;
    const qint64 total_ms = timer.elapsed();
    timer.restart();
    if (!write_draws_file(path, grid))
        return 1;
    const qint64 write_ms = timer.elapsed();

    std::printf("read into the grid: %lld ms\n", static_cast<long long>(read_ms));
    std::printf("sort by date:       %lld ms\n", static_cast<long long>(total_ms - read_ms));
    std::printf("read and sort:      %lld ms (target < 500 ms)\n", static_cast<long long>(total_ms));
    std::printf("write back:         %lld ms\n", static_cast<long long>(write_ms));
    std::printf("peak memory:        %.1f MB (%.1f MB before loading; target < 100 MB)\n",
                peak_kib() / 1024.0, before / 1024.0);
    std::printf("rows in grid:       %d\n", grid.rows() - 1);
    return 0;
}
