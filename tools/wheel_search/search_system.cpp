#include "search_system.h"

#include "annealer.h"
#include "core/wheels/wheel_check.h"
#include "covering.h"
#include "exchange_search.h"
#include "lp_model.h"

namespace wheel_search {
namespace {

// Whether the v rotations of the chosen base tickets cover every t of the v positions, by the
// designer's exact check: it counts the t-subsets itself, apart from the tables the search scores.
bool covers_every_t_set(const Problem& pr, const std::vector<int>& chosen) {
    const int v = pr.info.v;
    std::vector<Ticket> tickets;
    for (const int c : chosen) {
        PositionMask mask = pr.cands[c].mask;
        for (int k = 0; k < v; ++k, mask = rotate_mask(mask, v))
            tickets.push_back(Ticket{mask}); // position p is bit p - 1 in both
    }
    return count_covered(WheelParams{v, pr.info.m, pr.info.t, pr.info.t}, tickets).complete();
}

// The base tickets of the --only system in a wheels file given with --start, as candidates; empty
// when there is none.
std::vector<int> start_from(const Problem& pr, const Options& opt) {
    std::vector<int> chosen;
    if (opt.start.empty() || opt.only != pr.info.name)
        return chosen;
    FILE* f = std::fopen(opt.start.c_str(), "rb");
    if (!f)
        return chosen;
    std::string text;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        text.append(buf, n);
    std::fclose(f);
    for (const WheelsEntry& e : parse_wheels(text).entries) {
        if (e.name.toStdString() != pr.info.name)
            continue;
        for (const auto& gaps : e.gaps) {
            PositionMask mask = 0;
            for (int j = 0, p = 0; j < pr.info.m; p += gaps[j], ++j)
                mask |= PositionMask{1} << (p % pr.info.v);
            if (const int c = pr.class_of(mask); c >= 0)
                chosen.push_back(c);
        }
    }
    if (static_cast<int>(chosen.size()) != pr.info.base_count)
        chosen.clear();
    return chosen;
}

} // namespace

Found search_system(const SystemInfo& info, const Options& opt, int index) {
    const auto t0 = std::chrono::steady_clock::now();
    Problem pr;
    pr.info = info;
    Gaps g{};
    lyndon_gap_lists(info.v, info.m, g, 0, 0, pr.cands);
    pr.index_classes();
    int goal_from = info.t, goal_to = info.t;
    for (const Target& tg : targets)
        if (tg.name == info.name) {
            pr.goals.push_back(tg);
            goal_from = std::min(goal_from, tg.row);
            goal_to = std::max(goal_to, tg.row);
        }
    // Padding weighs every row from t up; a search for published rows needs only those rows.
    tabulate(pr, goal_from, pr.goals.empty() ? info.m : goal_to);
    std::mt19937_64 rng(opt.seed * 1000003u + static_cast<uint64_t>(index));
    const int count = info.base_count;
    const Evaluator ev{pr};
    Found f;

    if (!opt.write_lp.empty()) {
        LpWriter w(pr);
        w.all = pr.goals;
        for (const Target& tg : stretch_targets)
            if (tg.name == info.name)
                w.all.push_back(tg);
        w.keep_from = start_from(pr, opt);
        w.keep = opt.lp_keep;
        if (opt.lp_own_rows && !w.keep_from.empty()) {
            tabulate(pr, 2, info.m);
            const Score own = Evaluator{pr}.score(sums_of(pr, w.keep_from));
            for (Target& tg : w.all) {
                tg.worst = unpack(own.worst[tg.row]);
                tg.best = unpack(own.best[tg.row]);
            }
        }
        std::string text = w.text();
        if (opt.write_lp.ends_with(".opb"))
            text = w.opb_text();
        FILE* out = std::fopen(opt.write_lp.c_str(), "wb");
        if (!out || std::fputs(text.c_str(), out) < 0 || std::fclose(out) != 0) {
            std::fprintf(stderr, "cannot write %s\n", opt.write_lp.c_str());
            std::exit(1);
        }
        std::fprintf(
            stderr, "%s: model with %d constraints, %zu ticket classes and %d other binaries in %s\n",
            std::string(info.name).c_str(), w.n_rows, pr.cands.size(), w.n_bin, opt.write_lp.c_str());
        std::exit(0);
    }
    std::vector<int> chosen = greedy_cover(pr, count);
    if (!opt.lp_solution.empty()) {
        chosen = read_lp_solution(opt.lp_solution, pr.cands.size());
        std::fprintf(stderr, "%s: %zu base tickets from %s\n", std::string(info.name).c_str(), chosen.size(),
                     opt.lp_solution.c_str());
        if (static_cast<int>(chosen.size()) != count)
            std::exit(1);
        tabulate(pr, 2, info.m);
        const Score sc = Evaluator{pr}.score(sums_of(pr, chosen));
        for (int i = 2; i <= info.m; ++i)
            std::fprintf(stderr, "  row %d worst %s best %s\n", i, row_text(sc.worst[i]).c_str(),
                         row_text(sc.best[i]).c_str());
        std::fprintf(stderr, "  uncovered %d\n", sc.uncovered);
        Found f;
        f.method = "exact model";
        for (const int c : chosen)
            f.gaps.push_back(pr.cands[c].gaps);
        return f;
    }
    if (const std::vector<int> start = start_from(pr, opt); !start.empty()) {
        // A later stage of a staged search: the searches below begin from the given base tickets.
        chosen = start;
        std::fprintf(stderr, "%s: starting from %zu base tickets of %s\n", std::string(info.name).c_str(),
                     chosen.size(), opt.start.c_str());
    }
    Score s = ev.score(sums_of(pr, chosen));
    std::fprintf(stderr, "%s: %zu ticket classes, %zu placement classes; greedy %zu base tickets%s\n",
                 std::string(info.name).c_str(), pr.cands.size(), pr.n_places(), chosen.size(),
                 s.uncovered ? " (not covering)" : "");
    const bool greedy_ok = s.uncovered == 0 && static_cast<int>(chosen.size()) == count;
    f.method = "greedy";
    if (greedy_ok && goal_distance(s, pr.goals) == 0) {
        // the greedy already meets everything
    } else if (!pr.goals.empty() && combinations(static_cast<int>(pr.cands.size()), count) <= 2e6) {
        f.method = "exhaustive";
        if (auto found = exhaustive(pr, count))
            chosen = *found;
        else
            f.note = "no choice meets the published rows";
    } else if (s.uncovered == 0 && static_cast<int>(chosen.size()) < count && pr.goals.empty()) {
        f.method = "greedy + padding";
        pad(pr, chosen, count);
    } else {
        const int per_ticket = static_cast<int>(combinations(info.m, info.t));
        const int classes = pr.row_begin[info.t + 1] - pr.row_begin[info.t];
        if (count * per_ticket == classes && pr.goals.empty()) {
            f.method = "exact cover";
            ExactCover x(pr, count);
            if (x.solve())
                chosen = x.chosen;
            else
                f.note = "no exact cover";
        } else {
            f.method = pr.goals.empty() ? "annealing" : "annealing to the published rows";
            Annealer an{pr, pr.goals, {}, pr.goals.empty() ? 1000 : opt.cover_weight, 1, nullptr};
            const std::string label = std::string(info.name);
            an.label = label.c_str();
            an.outside_weight = opt.outside_weight;
            if (static_cast<int>(chosen.size()) < count)
                pad(pr, chosen, count);
            const long long budget = pr.goals.empty() ? 2'000'000 : opt.target_moves;
            std::vector<int> best_chosen = chosen;
            long long best_energy = LLONG_MAX;
            for (int attempt = 0; attempt < opt.attempts; ++attempt) {
                if (attempt > 0 && opt.fresh_starts) {
                    // An independent start: the previous attempt's valley is already explored.
                    std::vector<char> used(pr.cands.size(), 0);
                    for (int& c : chosen) {
                        do
                            c = static_cast<int>(rng() % pr.cands.size());
                        while (used[c]);
                        used[c] = 1;
                    }
                }
                auto r = an.run(chosen, rng, budget, pr.goals.empty() ? 1.0 : opt.t_hi,
                                pr.goals.empty() ? 0.05 : opt.t_lo, 0, t0);
                if (r.energy > 0 && opt.pair_descent) {
                    const auto polished = pair_descent(an, r.chosen);
                    std::fprintf(stderr, "  %s: pair descent %lld -> %lld\n", label.c_str(), r.energy,
                                 polished.energy);
                    if (polished.energy < r.energy)
                        r = {polished.chosen, polished.energy, r.moves};
                }
                chosen = r.chosen;
                if (r.energy < best_energy) {
                    best_energy = r.energy;
                    best_chosen = r.chosen;
                }
                std::fprintf(stderr, "  %s: attempt %d, energy %lld after %lld moves, %.1f s\n",
                             label.c_str(), attempt + 1, r.energy, r.moves, seconds_since(t0));
                const Score now = ev.score(sums_of(pr, chosen));
                for (const Target& tg : pr.goals)
                    std::fprintf(stderr, "    row %d worst %s best %s\n", tg.row,
                                 row_text(now.worst[tg.row]).c_str(), row_text(now.best[tg.row]).c_str());
                if (r.energy == 0)
                    break;
            }
            chosen = best_chosen;
        }
    }
    s = ev.score(sums_of(pr, chosen));

    // The stretch rows: one bounded attempt that keeps the rows already matched.
    std::vector<Target> soft;
    for (const Target& tg : stretch_targets)
        if (tg.name == info.name)
            soft.push_back(tg);
    if (!soft.empty() && opt.stretch_moves > 0 && s.uncovered == 0 && goal_distance(s, pr.goals) == 0) {
        const auto t1 = std::chrono::steady_clock::now();
        tabulate(pr, 2, info.m);
        Annealer an{pr, pr.goals, soft, opt.cover_weight, opt.stretch_hard_weight, nullptr};
        const std::string label = std::string(info.name) + " rows 5-6";
        an.label = label.c_str();
        an.outside_weight = opt.stretch_outside_weight >= 0 ? opt.stretch_outside_weight : opt.outside_weight;
        an.keep_hard = true;
        const Evaluator ev2{pr};
        const int before = goal_distance(ev2.score(sums_of(pr, chosen)), soft);
        // The walk soon strays from the few states that keep the matched rows, so the budget is spent
        // in rounds, each starting again from the best state kept so far.
        const int rounds = std::max(1, opt.stretch_rounds);
        const double hi = opt.stretch_t_hi > 0 ? opt.stretch_t_hi : opt.t_hi;
        const double lo = opt.stretch_t_lo > 0 ? opt.stretch_t_lo : opt.t_lo;
        int after = before;
        long long moves = 0;
        for (int round = 0; round < rounds && after > 0; ++round) {
            auto r = an.run(chosen, rng, opt.stretch_moves / rounds, hi, lo, 0, t0);
            moves += r.moves;
            if (opt.pair_descent) {
                // Pairs of one-number moves reach states that keep the matched rows where single
                // moves cannot; the hard rows weigh more than the whole distance, so none is lost.
                Annealer strict = an;
                strict.hard_weight = 1000;
                r.chosen = pair_descent(strict, r.chosen).chosen;
            }
            const Score s2 = ev2.score(sums_of(pr, r.chosen));
            const int d = goal_distance(s2, soft);
            if (s2.uncovered == 0 && goal_distance(s2, pr.goals) == 0 && d < after) {
                chosen = r.chosen;
                after = d;
            }
            std::fprintf(stderr, "  %s: round %d of %d, distance %d, %.0f s\n", label.c_str(), round + 1,
                         rounds, after, seconds_since(t1));
        }
        char buf[200];
        std::snprintf(buf, sizeof buf, "; rows 5-6 attempt: %lld moves, %.0f s, distance %d -> %d", moves,
                      seconds_since(t1), before, after);
        f.note += buf;
    }

    if (!soft.empty() && opt.exchange_steps > 0 && s.uncovered == 0 &&
        (opt.exchange_hard_weight > 0 || goal_distance(ev.score(sums_of(pr, chosen)), pr.goals) == 0)) {
        const auto t1 = std::chrono::steady_clock::now();
        if (pr.row_from != 2 || pr.rows_to != info.m)
            tabulate(pr, 2, info.m);
        const std::string label = std::string(info.name) + " exchange";
        ExchangeSearch xs(pr, pr.goals, soft);
        xs.max_k = std::clamp(opt.exchange_k, 1, 3);
        xs.tenure = opt.tabu_tenure;
        xs.hard_weight = opt.exchange_hard_weight;
        xs.free_cover = opt.exchange_free_cover;
        if (xs.free_cover)
            xs.max_k = 1;
        const ExchangeSearch::Key before = xs.soft_key(sums_of(pr, chosen));
        const auto r = xs.run(chosen, opt.exchange_steps, t1, label.c_str());
        if (r.key.exact_scalar() < before.exact_scalar())
            chosen = r.chosen;
        char buf[200];
        std::snprintf(buf, sizeof buf, "; exchange search: %lld steps, %.0f s, distance %d -> %d",
                      opt.exchange_steps, seconds_since(t1), before.dist, r.key.dist);
        f.note += buf;
    }

    s = ev.score(sums_of(pr, chosen));
    if (!covers_every_t_set(pr, chosen))
        f.note += " NOT COVERING";
    for (const int c : chosen)
        f.gaps.push_back(pr.cands[c].gaps);
    f.seconds = seconds_since(t0);
    std::fprintf(stderr, "%s: %zu base tickets by %s in %.2f s%s\n", std::string(info.name).c_str(),
                 chosen.size(), f.method.c_str(), f.seconds, f.note.c_str());
    for (const Target& tg : pr.goals)
        std::fprintf(stderr, "  row %d worst %s best %s%s\n", tg.row, row_text(s.worst[tg.row]).c_str(),
                     row_text(s.best[tg.row]).c_str(),
                     distance(s.worst[tg.row], tg.worst) + distance(s.best[tg.row], tg.best) ? " (differs)"
                                                                                             : "");
    return f;
}

} // namespace wheel_search
