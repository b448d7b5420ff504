#include "core/wheels/orbit_search.h"

#include "core/wheels/subset_walk.h"

#include <algorithm>
#include <numeric>

namespace {

using wheel_search::bit;
using wheel_search::for_each_subset;
using wheel_search::Random;

// Listing every ticket costs a byte each and a pass over them per shape, which cannot stop halfway:
// this many take about a tenth of a second.
constexpr uint64_t max_listed_tickets = 300'000;
constexpr int max_fixed = 4;
constexpr uint64_t stop_interval = 1'000'000; // work units, about a millisecond
constexpr int min_length = 5;
// Shorter cycles make more orbits, and so slower searches that seldom win; they come after the rest
// (three cycles of 3 hold the 60 tickets of 6 on 19 numbers that cover every 3-subset).
constexpr int min_short_length = 3;
// Cycles of two lengths make many more shapes, each a search of many short orbits: only where the
// tickets are this few (15 numbers, 5: 3,003), so that every shape gets its turn soon.
constexpr uint64_t max_halved_tickets = 5'000;

int order(int a, int n) {
    int k = 1;
    for (int x = a; x != 1; x = x * a % n)
        ++k;
    return k;
}

// A multiplier whose powers are the squares of the units mod n (where they are one cycle; else
// the square of the largest order); 1 when the only square is 1.
int square_generator(int n) {
    int best = 1, best_order = 1;
    for (int u = 2; u < n; ++u)
        if (std::gcd(u, n) == 1)
            if (const int sq = u * u % n, o = order(sq, n); o > best_order)
                best = sq, best_order = o;
    return best;
}

// The least unit mod n of the given order; 1 when there is none.
int unit_of_order(int n, int wanted) {
    for (int u = 2; u < n; ++u)
        if (std::gcd(u, n) == 1 && order(u, n) == wanted)
            return u;
    return 1;
}

} // namespace

std::vector<OrbitShape> orbit_shapes(const WheelParams& s) {
    std::vector<OrbitShape> shapes;
    if (s.t != s.m || s.t < 2 || s.k >= s.v || wheel_binomial(s.v, s.k) > max_listed_tickets)
        return shapes;
    // Every way to lay the numbers out in cycles of shortest..longest, up to max_fixed left fixed
    // (squared: only lengths with a square other than 1, times the squares). Fewest fixed numbers
    // first, and of those the most cycles: the order in which they most often held the best
    // wheel, which matters when the time is short.
    enum class Kind { Plain, Squared, Turned };
    // The multiplier of a layout of that kind; 1 where it has none (a plain cycle, or no such unit).
    const auto multiplier_of = [](Kind kind, int length, int cycles) {
        if (kind == Kind::Squared)
            return square_generator(length);
        return kind == Kind::Turned && cycles >= 3 ? unit_of_order(length, cycles) : 1;
    };
    const auto add_cycles = [&](int shortest, int longest, Kind kind, int most_fixed = max_fixed) {
        for (int fixed = 0; fixed <= most_fixed; ++fixed)
            for (int cycles = s.v - fixed; cycles >= 1; --cycles)
                if (const int length = (s.v - fixed) / cycles;
                    (s.v - fixed) % cycles == 0 && length >= shortest && length <= longest)
                    if (const int multiplier = multiplier_of(kind, length, cycles);
                        kind == Kind::Plain || multiplier > 1)
                        shapes.push_back({length, cycles, multiplier, kind == Kind::Turned});
    };
    add_cycles(min_length, s.v, Kind::Plain);
    add_cycles(min_short_length, min_length - 1, Kind::Plain);
    // The larger groups have few orbits, so their searches end soon; they hold some Steiner
    // systems that no single cycle does (the 1,771 tickets of 5 on 23 numbers that cover every
    // 4-subset once), and the smallest wheels known of 6 on 23 and 24 numbers that cover every
    // 3-subset and 4-subset (three cycles of 7 times the squares mod 7).
    add_cycles(min_short_length, s.v, Kind::Squared);
    // A unit of order c turning c cycles that hold every number: 70 tickets of 6 on 20 numbers
    // that cover every 3-subset, four cycles of 5 times 2 (mod 5), found within a tenth of a second
    // where four cycles of 5 alone took seconds, if ever. With numbers fixed they never gave the
    // smallest wheel of a case in the benchmark, and each shape costs the others time.
    add_cycles(min_short_length, s.v, Kind::Turned, 0);
    // Last, cycles of an even length and up to as many of half that length (55 tickets of 5 on 15
    // numbers that cover every 3-subset: two cycles of 4 and two of 2, three numbers fixed; no
    // shape of one length gives fewer than 56).
    if (wheel_binomial(s.v, s.k) <= max_halved_tickets)
        for (int fixed = 0; fixed <= max_fixed; ++fixed)
            for (int length = 4; length <= s.v - fixed; length += 2)
                for (int cycles = 1; cycles * length < s.v - fixed; ++cycles)
                    if (const int rest = s.v - fixed - cycles * length;
                        rest % (length / 2) == 0 && rest / (length / 2) <= cycles)
                        shapes.push_back({length, cycles, 1, false, rest / (length / 2)});
    return shapes;
}

struct OrbitSearch::State {
    WheelParams s;
    Random rng;
    std::vector<std::array<uint8_t, wheel_max_numbers>> group; // every permutation, the identity first
    bool usable = true;
    bool by_tickets = false; // the swap keeps the set below the best covering's tickets, see step()

    // Orbits of tickets (candidates) and of t-subsets (elements), each candidate with the elements
    // it covers and each element with the candidates that cover it.
    std::vector<Ticket> candidate;
    std::vector<uint32_t> cand_start, cand_elements;
    std::vector<uint32_t> elem_start, elem_candidates;
    uint32_t elements = 0;

    std::vector<uint32_t> count, sole; // per element: candidates chosen that cover it, xor of them
    std::vector<int64_t> weight, score;
    std::vector<uint8_t> chosen, may_enter;
    std::vector<uint64_t> stamp;
    std::vector<uint32_t> set, set_at, uncovered, uncovered_at;
    uint32_t tabu = UINT32_MAX;
    uint64_t steps = 0;
    uint64_t work_done = 0, work_at_best = 0;
    std::vector<uint32_t> tickets;              // per candidate: its orbit's size
    uint64_t set_tickets = 0, best_tickets = 0; // of the orbits chosen, and of the best covering
    std::vector<uint32_t> best;                 // candidates of the smallest covering found

    State(const WheelParams& shape_, OrbitShape orbits, uint64_t seed, const std::function<bool()>& stop)
        : s(shape_), rng(seed), by_tickets(orbits.multiplier > 1 || orbits.halves > 0) {
        const int cycled = orbits.length * orbits.cycles;
        const int half = orbits.length / 2;
        const int halved = cycled + orbits.halves * half;
        // Turns of the cycles, each times every power of the multiplier (only 1 when it is 1).
        std::array<uint8_t, wheel_max_numbers> image{};
        for (int scale = 1, power = 0;;) {
            const int move = orbits.turn ? power % orbits.cycles : 0;
            for (int turn = 0; turn < orbits.length; ++turn) {
                for (int n = 0; n < s.v; ++n) {
                    const int at = n % orbits.length;
                    const int cycle = (n / orbits.length + move) % orbits.cycles;
                    const int h = n - cycled; // on the half cycles
                    image[n] = static_cast<uint8_t>(
                        n < cycled   ? cycle * orbits.length + (at * scale + turn) % orbits.length
                        : n < halved ? cycled + h - h % half + (h % half * scale + turn) % half
                                     : n);
                }
                group.push_back(image);
            }
            scale = scale * orbits.multiplier % orbits.length;
            ++power;
            if (orbits.multiplier <= 1 || (scale == 1 && (!orbits.turn || power % orbits.cycles == 0)))
                break;
        }
        build(stop);
    }

    Ticket map(Ticket set, size_t g) const {
        Ticket out = 0;
        for (; set; set &= set - 1)
            out |= bit(group[g][std::countr_zero(set)]);
        return out;
    }
    static uint32_t rank(Ticket set) {
        uint32_t r = 0;
        for (int i = 1; set; set &= set - 1, ++i)
            r += static_cast<uint32_t>(wheel_binomial(std::countr_zero(set), i));
        return r;
    }

    void build(const std::function<bool()>& stop) {
        const Ticket all = s.v == 64 ? ~Ticket{0} : bit(s.v) - 1;
        std::vector<uint32_t> element_orbit(wheel_binomial(s.v, s.t), UINT32_MAX);
        for_each_subset(all, s.t, [&](Ticket e) {
            if (element_orbit[rank(e)] != UINT32_MAX)
                return;
            for (size_t g = 0; g < group.size(); ++g)
                element_orbit[rank(map(e, g))] = elements;
            ++elements;
        });
        // Short orbits too (tickets that part of the group maps onto themselves): they cost fewer
        // tickets, and some of the smallest wheels hold a few.
        std::vector<uint8_t> seen(wheel_binomial(s.v, s.k), 0);
        std::vector<uint32_t> own;
        cand_start.push_back(0);
        uint32_t listed = 0;
        for_each_subset(all, s.k, [&](Ticket c) {
            if ((++listed & 16383) == 0 && usable && stop && stop())
                usable = false;
            if (!usable || seen[rank(c)])
                return;
            uint32_t size = 0;
            for (size_t g = 0; g < group.size(); ++g)
                if (uint8_t& mark = seen[rank(map(c, g))]; !mark)
                    mark = 1, ++size;
            own.clear();
            for_each_subset(c, s.t, [&](Ticket e) { own.push_back(element_orbit[rank(e)]); });
            std::sort(own.begin(), own.end());
            own.erase(std::unique(own.begin(), own.end()), own.end());
            candidate.push_back(c);
            tickets.push_back(size);
            cand_elements.insert(cand_elements.end(), own.begin(), own.end());
            cand_start.push_back(static_cast<uint32_t>(cand_elements.size()));
        });
        // Every t-subset lies in some ticket's orbit, so only a stopped listing leaves one out.
        if (!usable)
            return;
        const uint32_t n = static_cast<uint32_t>(candidate.size());
        elem_start.assign(elements + 1, 0);
        for (const uint32_t e : cand_elements)
            ++elem_start[e + 1];
        for (uint32_t e = 0; e < elements; ++e)
            elem_start[e + 1] += elem_start[e];
        elem_candidates.resize(cand_elements.size());
        std::vector<uint32_t> fill(elem_start.begin(), elem_start.end() - 1);
        for (uint32_t c = 0; c < n; ++c)
            for (uint32_t i = cand_start[c]; i < cand_start[c + 1]; ++i)
                elem_candidates[fill[cand_elements[i]]++] = c;

        count.assign(elements, 0);
        sole.assign(elements, 0);
        weight.assign(elements, 1);
        uncovered_at.resize(elements);
        for (uint32_t e = 0; e < elements; ++e) {
            uncovered_at[e] = e;
            uncovered.push_back(e);
        }
        score.resize(n);
        for (uint32_t c = 0; c < n; ++c)
            score[c] = cand_start[c + 1] - cand_start[c];
        chosen.assign(n, 0);
        may_enter.assign(n, 1);
        stamp.assign(n, 0);
        set_at.resize(n);
    }

    // Element e was covered or uncovered: every orbit covering it gains by or loses its weight,
    // and may enter again. Returns the work.
    uint64_t shift_scores(uint32_t e, int64_t by) {
        for (uint32_t j = elem_start[e]; j < elem_start[e + 1]; ++j) {
            score[elem_candidates[j]] += by;
            may_enter[elem_candidates[j]] = 1;
        }
        return elem_start[e + 1] - elem_start[e];
    }

    // Score of a chosen orbit: minus the weight it alone covers; of another: the uncovered weight
    // it would cover. A chosen orbit's neighbours may enter again once an element they share
    // changes state (a rule that keeps the search from undoing its last steps).
    uint64_t add(uint32_t c) {
        chosen[c] = 1;
        set_at[c] = static_cast<uint32_t>(set.size());
        set.push_back(c);
        set_tickets += tickets[c];
        int64_t own = 0;
        uint64_t work = 0;
        for (uint32_t i = cand_start[c]; i < cand_start[c + 1]; ++i) {
            const uint32_t e = cand_elements[i];
            sole[e] ^= c;
            if (++count[e] == 1) {
                const uint32_t last = uncovered.back();
                uncovered[uncovered_at[e]] = last;
                uncovered_at[last] = uncovered_at[e];
                uncovered.pop_back();
                work += shift_scores(e, -weight[e]);
                own -= weight[e];
            } else if (count[e] == 2) {
                score[sole[e] ^ c] += weight[e];
            }
        }
        score[c] = own;
        return work + 8;
    }
    uint64_t remove(uint32_t c) {
        chosen[c] = 0;
        set_tickets -= tickets[c];
        const uint32_t last = set.back();
        set[set_at[c]] = last;
        set_at[last] = set_at[c];
        set.pop_back();
        int64_t own = 0;
        uint64_t work = 0;
        for (uint32_t i = cand_start[c]; i < cand_start[c + 1]; ++i) {
            const uint32_t e = cand_elements[i];
            sole[e] ^= c;
            if (--count[e] == 0) {
                uncovered_at[e] = static_cast<uint32_t>(uncovered.size());
                uncovered.push_back(e);
                work += shift_scores(e, weight[e]);
                own += weight[e];
            } else if (count[e] == 1) {
                score[sole[e]] -= weight[e];
            }
        }
        score[c] = own;
        may_enter[c] = 0;
        return work + 8;
    }

    // Scores are weighed per ticket, so that a short orbit counts for what it costs: above zero
    // when orbit a scores higher than b.
    int64_t compare(uint32_t a, uint32_t b) const { return score[a] * tickets[b] - score[b] * tickets[a]; }
    // Ahead of the pick so far (none: any), the oldest first among equals.
    bool ahead(uint32_t c, uint32_t pick) const {
        if (pick == UINT32_MAX)
            return true;
        const int64_t by = compare(c, pick);
        return by > 0 || (by == 0 && stamp[c] < stamp[pick]);
    }

    // The chosen orbit with the highest score; UINT32_MAX: none.
    uint32_t least_useful(uint32_t skip) const {
        uint32_t pick = UINT32_MAX;
        for (const uint32_t c : set)
            if (c != skip && ahead(c, pick))
                pick = c;
        return pick;
    }

    // The best orbit covering element e among those that may enter; UINT32_MAX: none may.
    uint32_t best_cover(uint32_t e) {
        uint32_t pick = UINT32_MAX;
        for (uint32_t j = elem_start[e]; j < elem_start[e + 1]; ++j)
            if (const uint32_t c = elem_candidates[j]; may_enter[c] && ahead(c, pick))
                pick = c;
        return pick;
    }

    uint64_t step() {
        uint64_t work = set.size();
        while (uncovered.empty()) {
            if (best.empty() || set_tickets < best_tickets) {
                best = set;
                best_tickets = set_tickets;
                work_at_best = work_done + work;
            }
            if (set.size() <= 1)
                return work;
            const uint32_t c = least_useful(UINT32_MAX);
            work += remove(c) + set.size();
            stamp[c] = steps;
        }
        ++steps;
        // Orbits of one size: one out, then one in. A multiplier or half cycles make orbits of
        // several sizes, and there the set only has to stay below the best covering's tickets,
        // whatever the number of its orbits (21 numbers, 6, 4 if 4: 504 tickets in 7 orbits of 21
        // to 126, where the greedy start's 6 orbits held 546 and a set kept at 5 orbits found
        // nothing; 15 numbers, 5, 3 if 3: 55 tickets under two cycles of 4 and two of 2, where
        // one out and one in stayed at 57).
        if (!by_tickets)
            if (const uint32_t c = least_useful(tabu); c != UINT32_MAX) {
                work += remove(c);
                stamp[c] = steps;
            }
        const uint32_t e = uncovered[rng.below(uncovered.size())];
        uint32_t c = best_cover(e);
        if (c == UINT32_MAX) // every one may not: a random one, which keeps the search moving
            c = elem_candidates[elem_start[e] + rng.below(elem_start[e + 1] - elem_start[e])];
        work += add(c) + (elem_start[e + 1] - elem_start[e]);
        stamp[c] = steps;
        tabu = c;
        while (by_tickets && set_tickets >= best_tickets && set.size() > 1) {
            const uint32_t out = least_useful(c);
            work += remove(out) + set.size();
            stamp[out] = steps;
        }
        for (const uint32_t u : uncovered) {
            ++weight[u];
            for (uint32_t j = elem_start[u]; j < elem_start[u + 1]; ++j)
                ++score[elem_candidates[j]];
            work += elem_start[u + 1] - elem_start[u];
        }
        return work;
    }

    // The usual start: orbits added one by one, each the best cover of a random uncovered element
    // (the first among equals: these starts, in the order the orbits were listed, did better).
    uint64_t greedy() {
        uint64_t work = 0;
        while (!uncovered.empty()) {
            const uint32_t e = uncovered[rng.below(uncovered.size())];
            uint32_t pick = elem_candidates[elem_start[e]];
            for (uint32_t j = elem_start[e] + 1; j < elem_start[e + 1]; ++j)
                if (compare(elem_candidates[j], pick) > 0)
                    pick = elem_candidates[j];
            work += add(pick) + (elem_start[e + 1] - elem_start[e]);
        }
        best = set;
        best_tickets = set_tickets;
        return work;
    }
};

OrbitSearch::OrbitSearch(const WheelParams& shape, OrbitShape orbits, uint64_t seed,
                         const std::function<bool()>& stop)
    : d_(std::make_unique<State>(shape, orbits, seed, stop)) {}

OrbitSearch::~OrbitSearch() = default;

bool OrbitSearch::usable() const {
    return d_->usable;
}

uint64_t OrbitSearch::run(uint64_t work, const std::function<bool()>& stop) {
    State& d = *d_;
    if (!d.usable)
        return 0;
    uint64_t spent = 0;
    if (d.best.empty()) {
        spent = d.greedy();
        d.work_done += spent;
        d.work_at_best = d.work_done;
    }
    // Steps cost from a few units to a hundred thousand: stop() is asked every million or so.
    for (uint64_t asked_at = 0; spent < work;) {
        if (spent >= asked_at) {
            if (stop && stop())
                break;
            asked_at = spent + stop_interval;
        }
        const uint64_t w = d.step();
        spent += w;
        d.work_done += w;
    }
    return spent;
}

uint64_t OrbitSearch::work_done() const {
    return d_->work_done;
}

uint64_t OrbitSearch::work_at_best() const {
    return d_->work_at_best;
}

size_t OrbitSearch::best_size() const {
    return d_->best_tickets;
}

std::vector<Ticket> OrbitSearch::best_wheel() const {
    std::vector<Ticket> wheel;
    for (const uint32_t c : d_->best) {
        const size_t from = wheel.size();
        for (size_t g = 0; g < d_->group.size(); ++g)
            wheel.push_back(d_->map(d_->candidate[c], g));
        std::sort(wheel.begin() + static_cast<std::ptrdiff_t>(from), wheel.end());
        wheel.erase(std::unique(wheel.begin() + static_cast<std::ptrdiff_t>(from), wheel.end()), wheel.end());
    }
    return wheel;
}
