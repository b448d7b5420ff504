#pragma once

#include "core/wheels/wheel_check.h"
#include "core/wheels/wheel_params.h"

#include <QString>
#include <atomic>
#include <functional>
#include <vector>

// The search for the smallest wheel: a greedy start, then simulated annealing at decreasing sizes
// (drop a ticket, repair by moving one number of one ticket, counting the uncovered m-subsets as
// it goes), with reheats and restarts. Covering designs small enough to list every ticket also get
// a search among wheels with a cyclic symmetry (orbit_search.h), and the shrink goes on from the
// best wheel either found. Every wheel it hands out has passed the exact check.

struct DesignProgress {
    int best_size = 0;      // tickets of the best checked wheel that gives the guarantee; 0: none yet
    uint64_t uncovered = 0; // m-subsets the wheel being worked on leaves uncovered
    int size = 0;           // tickets of the wheel being worked on
    double elapsed = 0;     // seconds since the start
    uint64_t moves = 0;
};

// How the search moves; the defaults are what the benchmark settled on.
struct DesignTuning {
    // Annealing (wheels with t < m):
    double start_temperature = 0.7;
    double end_temperature = 0.12;
    double cooling = 0.985;         // factor per stage
    double stage_moves = 2.0;       // moves per stage, per ticket and number of a ticket
    int reheats_before_restart = 4; // then the search starts again from the best wheel
    // Covering designs (t = m) have two searches of their own. Automatic is the repair for every
    // shape: with 15 s of one core the annealing found no smaller wheel on any case benchmarked.
    enum class Cover { Automatic, Repair, Anneal };
    Cover cover = Cover::Automatic;
    // Their annealing keeps the number of tickets while it works, stage by stage, and reheats
    // once a few stages in a row found no lower count of uncovered subsets:
    double cover_start_temperature = 0.6;
    double cover_cooling = 0.995; // factor per stage
    double cover_stage_moves = 1; // moves per stage, per ticket, number in it and number not in it
    double cover_cold = 0.12;     // the temperature below which a run may count as frozen
    int cover_frozen_stages = 20; // stages without a new low before a reheat
    bool cover_aimed = true;      // each move covers a random uncovered subset; false: any trade
    double cover_plain_share = 0; // of the aimed moves, the share made as any trade instead
    // The weighted repair:
    int tabu_tenure = 2;       // moves before a number may return to the ticket it left, plus up to as many
    double stall_moves = 1000; // per ticket: a repair that long without a new low starts again
    int weight_threshold = 3;  // uncovered subsets gain weight after a trade that lowers the weight less
    int restart_weight_divisor = 1;  // a restart from the best wheel divides the weights (1: kept)
    bool restart_drops_least = true; // a restart drops the least useful ticket, not a random one
    // Covering designs with a symmetry (see orbit_search.h) are tried first, with this share of
    // the time, every shape in turn. 0: none. At 60 s, 0.6 did as well as 0.4 or better on five
    // cases that a symmetric wheel decides, three seeds each, and over the whole table gave
    // 22,992 tickets against 22,998 (21 numbers, 5, 3 if 3: 155 against 160).
    double orbit_share = 0.6;
    // The most slices a shape with a multiplier may run while it improves (the others: one).
    double multiplier_slices = 4;
};

// What the time budget is measured by. A benchmark on a busy machine wants the search thread's own
// processor time, so that "60 seconds of one core" still holds while other processes run.
enum class DesignClock { Wall, ThreadCpu };

struct DesignOptions {
    WheelParams shape;
    double seconds = 60;
    DesignClock clock = DesignClock::Wall; // also the clock of every time reported
    uint64_t seed = 1;
    int budget = 0;    // a fixed number of tickets: cover as many m-subsets as they can; 0: smallest wheel
    int stop_size = 0; // stop once a wheel this small gives the guarantee (0: search on)
    uint64_t max_moves = 0; // stop after so many moves (0: no limit), for runs that must repeat exactly
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const DesignProgress&)> progress; // called about every progress_interval seconds
    double progress_interval = 0.2;
    DesignTuning tuning;
};

struct DesignResult {
    QString error;               // why the shape cannot be designed; nothing else is set then
    std::vector<Ticket> tickets; // the best wheel found, checked, tickets in ascending order
    CoverCount count;            // its coverage by the exact check
    bool cancelled = false;
    double elapsed = 0;
    double first_wheel_seconds = -1; // when the first wheel giving the guarantee was checked
    double best_seconds = -1;        // when the wheel returned was found
    uint64_t moves = 0;
};

// Same options and seed, same moves: the wheel depends on the seed and on how long the search ran
// (or max_moves), never on the clock otherwise.
DesignResult design_wheel(const DesignOptions& options);
