// Big and malformed draws files: `bench_big_files make DIR` writes them, `bench_big_files load FILE`
// loads one as the Lotto window does (read, sort by date, write back) and prints the time of each
// step and the peak memory. Run each load alone (for example under /usr/bin/time -v) to see what
// one file costs.
#include "core/base/text_table.h"
#include "core/lotto/lotto_files.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

QByteArray draw_lines(int count, const char* end) {
    QRandomGenerator rng(6049);
    QByteArray out;
    const QDate first(1800, 1, 1);
    for (int i = 0; i < count; ++i) {
        out += first.addDays(rng.bounded(150000)).toString(Qt::ISODate).toLatin1() + ' ';
        for (int n = 0; n < 7; ++n)
            out += QByteArray::number(1 + rng.bounded(49)) + ' ';
        out += end;
    }
    return out;
}

bool make(const QString& dir) {
    QDir().mkpath(dir);
    const QByteArray one_draw = "2002-01-05 1 2 3 4 5 6 7 \r\n";
    QRandomGenerator rng(90);
    QByteArray noise(10 << 20, '\0');
    for (char& c : noise)
        c = static_cast<char>(rng.bounded(256));
    const std::pair<const char*, QByteArray> files[] = {
        {"lines_100k", draw_lines(100000, "\r\n")},
        {"lines_100k_cr", draw_lines(100000, "\r")},
        {"lines_1m", draw_lines(1000000, "\r\n")},
        // 500,000 fields after the draw: far past what a count holds.
        {"line_1mb_fields",
         one_draw + "2002-01-12 1 2 3 4 5 6 7" + QByteArray(" 9").repeated(500000) + "\r\n"},
        {"line_1mb_token", one_draw + QByteArray(1 << 20, '7') + " 1 2 3 4 5 6 7 \r\n"},
        {"noise_10mb", noise},
    };
    for (const auto& [name, bytes] : files) {
        QFile f(QDir(dir).filePath(QLatin1String(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return false;
        std::printf("%-16s %10lld bytes\n", name, static_cast<long long>(bytes.size()));
    }
    return true;
}

int load(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    TextTable grid;
    reset_draws_table(grid);
    if (!read_draws_file(path, grid))
        return 1;
    const qint64 read_ms = timer.elapsed();
    const bool sorted = sort_draws_table(grid);
    const qint64 sort_ms = timer.elapsed() - read_ms;
    timer.restart();
    const QString copy = path + QStringLiteral(".saved");
    const bool written = sorted && write_draws_file(copy, grid);
    const qint64 write_ms = timer.elapsed();
    QFile::remove(copy);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %d rows; read %lld ms, sort %lld ms (%s), write %lld ms (%s); peak %.1f MB\n",
                qPrintable(QDir(path).dirName()), grid.rows() - 1, static_cast<long long>(read_ms),
                static_cast<long long>(sort_ms), sorted ? "sorted" : "a date does not read",
                static_cast<long long>(write_ms), written ? "written" : "not written",
                usage.ru_maxrss / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "make") == 0)
        return make(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "load") == 0)
        return load(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: bench_big_files make DIR | load FILE\n");
    return 2;
}
