// Prints how long Forecasting Abilities takes over 100,000 draws and a set of 100,000 rows (the
// arithmetic, and the window's Refresh reading both windows' grids), and how long Average
// Profitability takes.
#include "analyses/fability_scene.h"
#include "core/analyses/fability.h"
#include "core/analyses/profitability.h"
#include "core/base/text_table.h"
#include "core/systems/guar_results.h"
#include "gui/analyses/frm_fability.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QRandomGenerator>
#include <cstdio>
#include <ctime>

namespace {

constexpr int row_count = 100000;

// One draw a day from 1800-01-01 on, and one set row for each of those days.
void fill(TextTable& draws, TextTable& sets) {
    QRandomGenerator rng(11);
    std::vector<QString> d, s;
    d.reserve(row_count);
    s.reserve(row_count);
    const QDate first(1800, 1, 1);
    for (int i = 0; i < row_count; ++i) {
        const QString date = first.addDays(i).toString(Qt::ISODate);
        QStringList cells{date, QString()};
        for (int k = 0; k < 7; ++k)
            cells << QString::number(1 + rng.bounded(49));
        d.push_back(TextTable::pack(cells));
        QStringList set{date};
        for (int k = 0; k < 10; ++k)
            set << QString::number(1 + rng.bounded(49));
        s.push_back(TextTable::pack(set));
    }
    draws.append_packed_rows(std::move(d));
    sets.append_packed_rows(std::move(s));
}

double cpu_ms() {
    return std::clock() * 1000.0 / CLOCKS_PER_SEC;
}

// The best of some runs, in milliseconds of processor time: the machine may be shared.
template <class F> double best_ms(int runs, F&& f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const double start = cpu_ms();
        f();
        best = std::min(best, cpu_ms() - start);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FabilityScene scene;
    scene.app.session.today = [] { return QDate(2073, 10, 15); };
    TextTable& draws = scene.draws();
    TextTable& sets = scene.sets();
    fill(draws, sets);

    const double from = -1e6, to = 1e6;
    int evaluated = 0;
    const double core_ms = best_ms(5, [&] {
        const auto dd = grid_dates(draws), sd = grid_dates(sets);
        const FaRows dr{find_start(from, dd), find_end(to, dd)}, sr{find_start(from, sd), find_end(to, sd)};
        const FaCounts c = count_fa_hits(draws, dd, dr, sets, sd, sr, 6, 10);
        (void)fa_result_texts(c, fa_expected(49, 6, 10));
        evaluated = c.evaluated;
    });
    std::printf("Forecasting Abilities, %d draws against %d set rows (core): %.1f ms (%d draws evaluated)\n",
                row_count, row_count, core_ms, evaluated);

    auto* w = scene.app.show<frmFability>(QLatin1String(window_name::fability));
    w->findChild<QLineEdit*>(QStringLiteral("txtFrom"))->setText(QStringLiteral("1800-01-01"));
    const double window_ms = best_ms(5, [&] { w->cmdRefresh_Click(); });
    std::printf("Forecasting Abilities, the same through the window's Refresh: %.1f ms\n", window_ms);

    ProfitInputs in;
    in.play_n = 49;
    in.pick_n = 6;
    in.set_size = 10;
    for (int k = 2; k <= 6; ++k)
        in.prizes[k] = {float(k * 100), float(k * 10)};
    GuarMinMax lo, hi;
    get_guar_results(QStringLiteral("10_3_6"), in.guar_avg, lo, hi);
    for (int r = 1; r <= 10; ++r)
        in.fa[r - 1] = drive(w).grid("msfFA").text(r, 1);
    in.tickets = 10;
    in.cost = 1;
    std::array<QString, 10> prize_texts;
    prize_texts.fill(QStringLiteral("10"));
    float profit = 0;
    TimesToPlay times;
    const double profit_ms = best_ms(100, [&] {
        profit = average_profitability(in).value_or(0);
        times = how_long_to_play(49, 6, 10, prize_texts, in.fa, QStringLiteral("95"));
    });
    std::printf("Average Profitability with the times to play: %.3f ms (%g per ticket, %d draws)\n",
                profit_ms, profit, times.times);
    return 0;
}
