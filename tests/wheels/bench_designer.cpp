// The designer against the best known wheels: one case a line, one core, a fixed seed.
//   bench_designer [--seconds S] [--seed N] [--filter REGEX] [--stall MOVES] [--tenure MOVES]
//                  [--threshold WEIGHT] [--weight-divisor D] [--drop-random] [--anneal | --repair]
//                  [--plain] [--plain-share P] [--cover-schedule START COOLING STAGE FROZEN]
//                  [--cold T] [--reheats N] [--temperatures START END] [--cooling FACTOR]
//                  [--orbit-share S] [--multiplier-slices N] [--budget B] [--wall-clock]
//                  [--verbose] [--check-only] [--seeds N] [--jobs J]
// The seconds are the search thread's processor time unless --wall-clock, so that the figures
// hold on a machine busy with other work.
// --seeds N runs every case with the seeds N, N+1, ... as well and adds their sizes and how many
// reached the best known size: one seed's table can mislead by several percent either way, so a
// change to the search is judged on several. --jobs J runs that many searches at once, each on its
// own thread (and so its own processor time); --verbose only with one job.
// (--stall, --tenure, --threshold, --weight-divisor, --drop-random: the repair's tuning; --anneal,
// --repair: that search for every covering design, --plain, --plain-share, --cover-schedule, --cold:
// the tuning of their annealing; --reheats: reheats before a restart from the best wheel;
// --temperatures and --cooling: the schedule of wheels with t < m; --orbit-share: the share of the
// time for wheels with a symmetry, 0 for none; --multiplier-slices: the most slices of it a shape
// with a multiplier may run while it improves; --budget: a fixed number of tickets for every case)
// Columns: the case, the size found, the best known size (LJCR) or the lower bound, their ratio,
// when that size was found and when the first checked wheel was, the catalogue's size where it has
// the guarantee.
#include "core/systems/system_catalogue.h"
#include "core/wheels/wheel_bounds.h"
#include "core/wheels/wheel_check.h"
#include "core/wheels/wheel_designer.h"
#include "wheels/wheel_test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

struct Case {
    QString name;
    WheelParams shape;
    double seconds_factor = 1;
};

QString case_name(const WheelParams& s) {
    return s.t == s.m ? QStringLiteral("C(%1,%2,%3)").arg(s.v).arg(s.k).arg(s.t)
                      : QStringLiteral("%1 numbers, %2 if %3 (k=%4)").arg(s.v).arg(s.t).arg(s.m).arg(s.k);
}

std::vector<Case> cases() {
    std::vector<Case> list;
    for (int k = 5; k <= 6; ++k)
        for (int t = 3; t <= 4; ++t)
            for (int v = 7; v <= 25; ++v)
                list.push_back({case_name({v, k, t, t}), {v, k, t, t}});
    list.push_back({case_name({14, 6, 5, 5}), {14, 6, 5, 5}});
    list.push_back({case_name({49, 6, 3, 3}), {49, 6, 3, 3}});
    list.push_back({case_name({49, 6, 3, 6}), {49, 6, 3, 6}, 5});
    return list;
}

int catalogue_size(const WheelParams& s) {
    if (s.t != s.m)
        return 0;
    for (const SystemInfo& info : system_catalogue())
        if (info.v == s.v && info.t == s.t && info.m == s.k)
            return info.ticket_count();
    return 0;
}

// The exact check of a 49-number wheel for 6-subsets (13,983,816 of them).
void time_check() {
    for (const int t : {3, 4}) {
        const WheelParams shape{49, 6, t, 6};
        const auto wheel = random_tickets(49, 6, t == 3 ? 163 : 1000, 49);
        QElapsedTimer timer;
        timer.start();
        const CoverCount count = count_covered(shape, wheel);
        std::printf("check %-34s %6zu tickets  %llu of %llu covered  %.2f s\n", qPrintable(case_name(shape)),
                    wheel.size(), static_cast<unsigned long long>(count.covered),
                    static_cast<unsigned long long>(count.total), timer.elapsed() / 1000.0);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    double seconds = 60;
    uint64_t seed = 1;
    QRegularExpression filter;
    bool check_only = false;
    DesignTuning tuning;
    bool verbose = false;
    int budget = 0;
    DesignClock clock = DesignClock::ThreadCpu;
    int seeds = 1;
    int jobs = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seconds") && i + 1 < args.size())
            seconds = args[++i].toDouble();
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toULongLong();
        else if (args[i] == QLatin1String("--filter") && i + 1 < args.size())
            filter.setPattern(args[++i]);
        else if (args[i] == QLatin1String("--stall") && i + 1 < args.size())
            tuning.stall_moves = args[++i].toDouble();
        else if (args[i] == QLatin1String("--tenure") && i + 1 < args.size())
            tuning.tabu_tenure = args[++i].toInt();
        else if (args[i] == QLatin1String("--threshold") && i + 1 < args.size())
            tuning.weight_threshold = args[++i].toInt();
        else if (args[i] == QLatin1String("--temperatures") && i + 2 < args.size()) {
            tuning.start_temperature = args[++i].toDouble();
            tuning.end_temperature = args[++i].toDouble();
        } else if (args[i] == QLatin1String("--cooling") && i + 1 < args.size())
            tuning.cooling = args[++i].toDouble();
        else if (args[i] == QLatin1String("--weight-divisor") && i + 1 < args.size())
            tuning.restart_weight_divisor = args[++i].toInt();
        else if (args[i] == QLatin1String("--drop-random"))
            tuning.restart_drops_least = false;
        else if (args[i] == QLatin1String("--budget") && i + 1 < args.size())
            budget = args[++i].toInt();
        else if (args[i] == QLatin1String("--verbose"))
            verbose = true;
        else if (args[i] == QLatin1String("--wall-clock"))
            clock = DesignClock::Wall;
        else if (args[i] == QLatin1String("--anneal"))
            tuning.cover = DesignTuning::Cover::Anneal;
        else if (args[i] == QLatin1String("--repair"))
            tuning.cover = DesignTuning::Cover::Repair;
        else if (args[i] == QLatin1String("--plain"))
            tuning.cover_aimed = false;
        else if (args[i] == QLatin1String("--plain-share") && i + 1 < args.size())
            tuning.cover_plain_share = args[++i].toDouble();
        else if (args[i] == QLatin1String("--cover-schedule") && i + 4 < args.size()) {
            tuning.cover_start_temperature = args[++i].toDouble();
            tuning.cover_cooling = args[++i].toDouble();
            tuning.cover_stage_moves = args[++i].toDouble();
            tuning.cover_frozen_stages = args[++i].toInt();
        } else if (args[i] == QLatin1String("--cold") && i + 1 < args.size())
            tuning.cover_cold = args[++i].toDouble();
        else if (args[i] == QLatin1String("--reheats") && i + 1 < args.size())
            tuning.reheats_before_restart = args[++i].toInt();
        else if (args[i] == QLatin1String("--orbit-share") && i + 1 < args.size())
            tuning.orbit_share = args[++i].toDouble();
        else if (args[i] == QLatin1String("--multiplier-slices") && i + 1 < args.size())
            tuning.multiplier_slices = args[++i].toDouble();
        else if (args[i] == QLatin1String("--check-only"))
            check_only = true;
        else if (args[i] == QLatin1String("--seeds") && i + 1 < args.size())
            seeds = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--jobs") && i + 1 < args.size())
            jobs = std::max(1, args[++i].toInt());
        else {
            std::fprintf(stderr,
                         "usage: bench_designer [--seconds S] [--seed N] [--filter REGEX] [--stall MOVES]"
                         " [--tenure MOVES] [--threshold WEIGHT] [--weight-divisor D] [--drop-random]"
                         " [--anneal | --repair] [--plain] [--plain-share P]"
                         " [--cover-schedule START COOLING STAGE FROZEN] [--cold T] [--reheats N]"
                         " [--temperatures START END] [--cooling FACTOR] [--orbit-share S]"
                         " [--multiplier-slices N] [--budget B] [--wall-clock]"
                         " [--verbose] [--check-only] [--seeds N] [--jobs J]\n");
            return 2;
        }
    }
    time_check();
    if (check_only)
        return 0;
    std::printf("%-34s %6s %6s %7s %8s %8s %9s\n", "case", "size", "best", "ratio", "found s", "first s",
                "catalogue");
    std::vector<Case> chosen;
    for (const Case& c : cases())
        if (filter.pattern().isEmpty() || filter.match(c.name).hasMatch())
            chosen.push_back(c);
    // Every run of every case, handed out to the jobs in order; a case's line is printed once all
    // its runs are in, and the cases in their order.
    const auto per_case = static_cast<size_t>(seeds);
    const size_t runs = chosen.size() * per_case;
    std::vector<DesignResult> results(runs);
    std::vector<int> left(chosen.size(), seeds);
    std::atomic<size_t> next{0};
    std::mutex print_mutex;
    size_t printed = 0;
    const auto print_ready = [&] {
        for (; printed < chosen.size() && left[printed] == 0; ++printed) {
            const Case& c = chosen[printed];
            const DesignResult& r = results[printed * per_case];
            const auto best = best_known_size(c.shape);
            const uint64_t reference = best ? static_cast<uint64_t>(*best) : wheel_lower_bound(c.shape);
            const int catalogue = catalogue_size(c.shape);
            std::printf("%-34s %6zu %5llu%s %7.3f %8.2f %8.2f %9s%s", qPrintable(c.name), r.tickets.size(),
                        static_cast<unsigned long long>(reference), best ? " " : "L",
                        static_cast<double>(r.tickets.size()) / static_cast<double>(reference),
                        r.best_seconds, r.first_wheel_seconds,
                        catalogue ? qPrintable(QString::number(catalogue)) : "-",
                        r.count.complete() ? "" : "  (incomplete)");
            if (seeds > 1) {
                int reached = 0;
                std::printf("   seeds:");
                for (int i = 0; i < seeds; ++i) {
                    const size_t size = results[printed * per_case + static_cast<size_t>(i)].tickets.size();
                    reached += size <= reference;
                    std::printf(" %zu", size);
                }
                std::printf("  (%d of %d at %llu or below)", reached, seeds,
                            static_cast<unsigned long long>(reference));
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    };
    const auto work = [&] {
        for (size_t run = next++; run < runs; run = next++) {
            const Case& c = chosen[run / per_case];
            DesignOptions o;
            o.shape = c.shape;
            o.seconds = seconds * c.seconds_factor;
            o.seed = seed + run % per_case;
            o.clock = clock;
            o.budget = budget;
            o.tuning = tuning;
            if (verbose && jobs == 1) {
                o.progress_interval = 0.5;
                o.progress = [](const DesignProgress& p) {
                    std::printf("  %6.1f s  best %d  size %d  uncovered %llu  moves %llu\n", p.elapsed,
                                p.best_size, p.size, static_cast<unsigned long long>(p.uncovered),
                                static_cast<unsigned long long>(p.moves));
                };
            }
            DesignResult r = design_wheel(o);
            const std::lock_guard lock(print_mutex);
            results[run] = std::move(r);
            --left[run / per_case];
            print_ready();
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < jobs; ++j)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    return 0;
}
