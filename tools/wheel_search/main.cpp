// Finds the base tickets of every catalogue system and writes them in the wheels.txt format.
//
// Everything works on rotation classes: a base ticket is a class of v tickets, and a placement
// of winning numbers is scored once per class, since rotating it does not change its hit vector.
// For each pair (ticket class, placement class) the packed hit vector that the v rotations of the
// ticket give that placement is tabulated once; a set of base tickets then scores a placement by
// adding its tickets' entries, and swapping one base ticket costs one pass over the placements.
//
// Per system: a greedy over the gap lists in lexicographic order; when it needs more base tickets
// than the catalogue allows, an exact cover (when the count is tight) or annealing; when it needs
// fewer, the spare base tickets are chosen to raise the worst cases of the results table. Systems
// with published results rows are searched until their tickets reproduce those rows.
//
// For the stretch rows of 20_4_6 there are three further searches, each starting from a wheels file
// (--only 20_4_6 --start FILE):
// - annealing in rounds (--stretch-moves);
// - a tabu walk over exact k-exchange neighbourhoods (--exchange-steps), the hard rows either a
//   filter or a weighted penalty (--exchange-hard-weight, --exchange-free-cover); a new best
//   covering is logged as wheels lines ("    best ..."), so a stopped walk can be resumed from them;
// - the whole problem as a 0/1 model for an external MIP solver (--write-lp, --lp-solution), or,
//   with a file name ending in .opb, as pseudo-Boolean constraints for a SAT-based solver:
//     apt-get install -y clasp
//     clasp model.opb --time-limit=2400 > model.out
//     wheel_search --only 20_4_6 --lp-solution model.out
//
// Deterministic for a given seed: the random moves come from a seeded generator and every budget

#include "problem.h"
#include "search_system.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace wheel_search {
namespace {

std::optional<Options> parse_args(int argc, char** argv) {
    Options o;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        const bool has_value = a + 1 < argc;
        if (arg == "--seed" && has_value)
            o.seed = std::strtoull(argv[++a], nullptr, 10);
        else if (arg == "--only" && has_value)
            o.only = argv[++a];
        else if (arg == "--out" && has_value)
            o.out = argv[++a];
        else if (arg == "--stretch-moves" && has_value)
            o.stretch_moves = std::strtoll(argv[++a], nullptr, 10);
        else if (arg == "--target-moves" && has_value)
            o.target_moves = std::strtoll(argv[++a], nullptr, 10);
        else if (arg == "--attempts" && has_value)
            o.attempts = std::atoi(argv[++a]);
        else if (arg == "--cover-weight" && has_value)
            o.cover_weight = std::atoi(argv[++a]);
        else if (arg == "--outside-weight" && has_value)
            o.outside_weight = std::atoi(argv[++a]);
        else if (arg == "--stretch-hard-weight" && has_value)
            o.stretch_hard_weight = std::atoi(argv[++a]);
        else if (arg == "--start" && has_value)
            o.start = argv[++a];
        else if (arg == "--pair-descent")
            o.pair_descent = true;
        else if (arg == "--stretch-outside-weight" && has_value)
            o.stretch_outside_weight = std::atoi(argv[++a]);
        else if (arg == "--stretch-rounds" && has_value)
            o.stretch_rounds = std::atoi(argv[++a]);
        else if (arg == "--stretch-t-hi" && has_value)
            o.stretch_t_hi = std::atof(argv[++a]);
        else if (arg == "--stretch-t-lo" && has_value)
            o.stretch_t_lo = std::atof(argv[++a]);
        else if (arg == "--exchange-steps" && has_value)
            o.exchange_steps = std::strtoll(argv[++a], nullptr, 10);
        else if (arg == "--exchange-k" && has_value)
            o.exchange_k = std::atoi(argv[++a]);
        else if (arg == "--exchange-free-cover")
            o.exchange_free_cover = true;
        else if (arg == "--exchange-hard-weight" && has_value)
            o.exchange_hard_weight = std::atoi(argv[++a]);
        else if (arg == "--tabu-tenure" && has_value)
            o.tabu_tenure = std::atoi(argv[++a]);
        else if (arg == "--write-lp" && has_value)
            o.write_lp = argv[++a];
        else if (arg == "--lp-solution" && has_value)
            o.lp_solution = argv[++a];
        else if (arg == "--lp-keep" && has_value)
            o.lp_keep = std::atoi(argv[++a]);
        else if (arg == "--lp-own-rows")
            o.lp_own_rows = true;
        else if (arg == "--fresh-starts")
            o.fresh_starts = true;
        else if (arg == "--t-hi" && has_value)
            o.t_hi = std::atof(argv[++a]);
        else if (arg == "--t-lo" && has_value)
            o.t_lo = std::atof(argv[++a]);
        else
            return std::nullopt;
    }
    return o;
}

} // namespace
} // namespace wheel_search

using namespace wheel_search;

int main(int argc, char** argv) {
    const std::optional<Options> opt = parse_args(argc, argv);
    if (!opt) {
        std::fprintf(
            stderr,
            "usage: wheel_search [--seed N] [--only NAME] [--out FILE] [--start FILE] [--target-moves N] "
            "[--attempts N] [--fresh-starts] [--cover-weight N] [--outside-weight N] "
            "[--t-hi X] [--t-lo X] "
            "[--pair-descent] [--stretch-moves N] "
            "[--stretch-hard-weight N] [--stretch-outside-weight N] [--stretch-rounds N] [--stretch-t-hi X] "
            "[--stretch-t-lo X] [--exchange-steps N] [--exchange-k K] [--exchange-hard-weight W] "
            "[--exchange-free-cover] "
            "[--tabu-tenure N] "
            "[--write-lp FILE] [--lp-keep K] [--lp-own-rows] [--lp-solution FILE]\n");
        return 2;
    }
    const auto t0 = std::chrono::steady_clock::now();
    std::string body;
    int index = 0;
    for (const SystemInfo& info : system_catalogue()) {
        ++index;
        if (!opt->only.empty() && opt->only != info.name)
            continue;
        std::fprintf(stderr, "[%d/41] %s ...\n", index, std::string(info.name).c_str());
        const Found f = search_system(info, *opt, index);
        body += "\n# " + std::string(info.name) + ": " + f.method + "\n";
        for (const Gaps& g : f.gaps) {
            body += std::string(info.name);
            for (int j = 0; j < info.m; ++j)
                body += " " + std::to_string(g[j]);
            body += "\n";
        }
    }
    std::string text = "# Base tickets of the wheel catalogue, one per line: <system> <gap 1> ... <gap m>.\n"
                       "# Rotation k of a base ticket starts at position k and steps by its gaps; the v\n"
                       "# rotations of all base tickets of a system v_t_m cover every t of its v positions.\n"
                       "# Produced by tools/wheel_search (deterministic for a given seed and options):\n"
                       "#   wheel_search";
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "--out") == 0) {
            ++a;
            continue;
        }
        text += std::string(" ") + argv[a];
    }
    text += "\n# Each system's comment names the method that found its base tickets.\n";
    text += body;
    if (opt->out.empty()) {
        std::fputs(text.c_str(), stdout);
    } else {
        FILE* f = std::fopen(opt->out.c_str(), "wb");
        if (!f || std::fputs(text.c_str(), f) < 0 || std::fclose(f) != 0) {
            std::fprintf(stderr, "cannot write %s\n", opt->out.c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "all done in %.1f s\n", seconds_since(t0));
    return 0;
}
