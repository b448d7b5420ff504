#pragma once

#include "core/wheels/wheel_params.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Covering designs that a group of permutations of the numbers maps onto themselves. The group of
// a shape turns `cycles` cycles of `length` numbers each, the other numbers fixed; with a
// `multiplier` above 1 it also maps each cycle, its numbers read as 0..n-1, by x -> a x + b (mod n)
// with a among the powers of `multiplier` (a unit mod n), the same map on every cycle. With `turn`,
// the power a^j also moves each cycle j places on (number x of cycle i becomes a^j x + b of cycle
// i + j), so that the cycles map onto each other. After the cycles may come `halves` cycles of
// half their length, each turned one place as theirs are: the group keeps its `length`
// permutations, and a ticket on the half cycles alone has an orbit of half as many.
// Their tickets fall into orbits, so a search chooses among a few thousand orbits instead of every
// ticket, and many of the smallest wheels known have such a symmetry (the Steiner systems among
// them).
struct OrbitShape {
    int length = 0;
    int cycles = 0;
    int multiplier = 1;
    bool turn = false;
    int halves = 0;
    friend bool operator==(const OrbitShape&, const OrbitShape&) = default;
};

// The shapes worth a try for a covering design: cycles of 3 numbers or more, at most four fixed
// numbers, and few enough tickets to list them all; the likeliest first (cycles of 5 or more, then
// the shorter ones), and last the cycles times the squares of the units mod their length, where
// a square other than 1 exists, then three cycles or more holding every number times a unit of
// that order that turns them; and where the tickets are few, cycles of an even length with up to
// as many cycles of half that length. None for wheels with t < m.
std::vector<OrbitShape> orbit_shapes(const WheelParams& shape);

// A weighted local search over the orbits of one shape: it keeps a set of orbits, and when they
// cover every t-subset it records them and drops the orbit whose loss costs least; otherwise it
// trades the least useful orbit for the best one covering a random uncovered t-subset orbit.
// T-subsets that stay uncovered gain weight, so that the search gives way around them.
class OrbitSearch {
  public:
    // Lists the orbits, asking stop() now and then; a search stopped there is not usable.
    OrbitSearch(const WheelParams& shape, OrbitShape orbits, uint64_t seed,
                const std::function<bool()>& stop = {});
    ~OrbitSearch();
    OrbitSearch(const OrbitSearch&) = delete;
    OrbitSearch& operator=(const OrbitSearch&) = delete;

    // False when the listing was stopped.
    bool usable() const;
    // Runs until `work` more units are spent or stop() says so (asked about every millisecond).
    // Returns the units spent.
    uint64_t run(uint64_t work, const std::function<bool()>& stop);
    // The tickets of the smallest covering found (empty: none yet).
    std::vector<Ticket> best_wheel() const;
    size_t best_size() const; // tickets; 0 when none yet
    uint64_t work_done() const;
    uint64_t work_at_best() const; // the work done when the best covering was found

  private:
    struct State;
    std::unique_ptr<State> d_;
};
