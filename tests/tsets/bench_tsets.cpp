// Loads and saves a targeted set of 10,000 rows of 20 numbers, and counts the frequencies over
// 100,000 draws, as the Targeted Sets window and the generator do; prints the time of each step.
// With --shot TSETS.png GENERATOR.png it instead opens both windows on the sample data (from
// --samples DIR, default share/): the sample set with a new row filled by the ten most frequent
// numbers of the sample lotto's last year, and saves a picture of each.
#include "core/base/convert.h"
#include "core/base/text_files.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_files.h"
#include "core/tsets/tset_files.h"
#include "core/tsets/tset_frequency.h"
#include "support/bench_timing.h"
#include "support/shots.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

void print(const char* what, Time t) {
    std::printf("  %-36s %7.1f ms (processor %.1f ms)\n", what, t.wall, t.cpu);
}

int shots(const QString& samples, const QString& tsets_png, const QString& generator_png) {
    TestApp app;
    app.session.today = [] { return QDate(2026, 12, 1); };
    install_samples(app, samples);
    open_window(app, "frmLotto").pick_typed("cmbName", "Canada_6_49");
    const auto tsets = open_window(app, "frmTsets");
    tsets.pick_typed("cmbSize", "10");
    tsets.pick_typed("cmbSets", "Forecaster1");
    tsets.get<QPushButton>("cmdAdd")->click();
    tsets.get<QPushButton>("cmdTsetGenerator")->click();
    const auto generator = drive(app.windows.find("frmTsetGenerator"));
    generator.get<QRadioButton>("optHighFr")->setChecked(true);
    generator.get<QPushButton>("cmdGo")->click();
    generator.get("cmdGo")->setFocus();
    for (const QString& m : app.dialogs.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    QApplication::processEvents();
    return app.dialogs.messages.isEmpty() && tsets->grab().save(tsets_png) &&
                   generator->grab().save(generator_png)
               ? 0
               : 1;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = offscreen_arguments(argc, argv);
    QApplication qapp(argc, argv);
    QLocale::setDefault(QLocale::c());
    if (const ShotRequest shot = shot_request(args, 2, QStringLiteral(ZANDREL_SHARE_DIR)); shot.shot)
        return shots(shot.samples, shot.files[0], shot.files[1]);
    const int set_rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int draw_rows = argc > 2 ? std::atoi(argv[2]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath("Set");
    QRandomGenerator rng(2020);

    QStringList lines;
    const QDate first(1990, 1, 1);
    for (int i = 0; i < set_rows; ++i) {
        QString line = first.addDays(rng.bounded(20000)).toString(Qt::ISODate) + u' ';
        for (int n = 0; n < 20; ++n)
            line += QString::number(1 + rng.bounded(49)) + u' ';
        lines << line;
    }
    if (!write_text_lines(path, lines))
        return 1;

    TextTable grid;
    std::printf("set of %d rows x 20 numbers:\n", set_rows);
    print("load (read, split, fill the grid)", best(5, [&] {
              const auto set = read_tset_file(path, "Set", 20);
              show_tset(grid, *set);
          }));
    // The first save sorts the shuffled rows; the best run is one over rows already in order.
    print("save (sort by date, write)", best(1, [&] {
              if (save_tset(path, 20, grid) != SaveResult::saved)
                  std::exit(1);
          }));

    TextTable draws;
    reset_draws_table(draws);
    std::vector<QStringList> rows;
    rows.reserve(draw_rows);
    const QDate start(1900, 1, 1);
    for (int i = 0; i < draw_rows; ++i) {
        const QDate d = start.addDays(i);
        QStringList cells{d.toString(Qt::ISODate), serial_text(date_to_serial(d))};
        for (int n = 0; n < 7; ++n)
            cells << QString::number(1 + rng.bounded(49));
        rows.push_back(cells);
    }
    draws.append_rows(rows);
    const double from = date_to_serial(start), to = date_to_serial(start.addDays(draw_rows));
    std::printf("frequency count over %d draws:\n", draw_rows);
    std::vector<double> shuffled(draw_rows);
    for (double& k : shuffled)
        k = rng.bounded(draw_rows);
    draws.sort_rows_by_keys(1, shuffled);
    print("sort by serial (shuffled)", best(1, [&] { sort_draws_by_serial(draws); }));
    print("sort by serial (in order)", best(5, [&] { sort_draws_by_serial(draws); }));
    FrequencyCount count;
    print("count (calc_fr)", best(5, [&] { count = calc_fr(draws, from, to, 1, 6, 49); }));
    TextTable table;
    print("frequency table", best(5, [&] { fill_frequency_table(table, count); }));
    if (count.draws != draw_rows)
        return 1;
    return 0;
}
