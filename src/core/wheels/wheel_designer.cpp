#include "core/wheels/wheel_designer.h"

#include "core/wheels/orbit_search.h"
#include "core/wheels/subset_walk.h"
#include "core/wheels/wheel_bounds.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <ctime>

namespace {

using wheel_search::bit;
using wheel_search::for_each_subset;
using wheel_search::nth_number;
using wheel_search::Random;

// The processor time of the calling thread, where the platform counts it; otherwise the wall clock.
double thread_seconds() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec ts{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts) == 0)
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
#endif
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Roughly what the orbit searches get through in a second of one core.
constexpr double orbit_work_per_second = 800e6;
// A symmetric search is judged stale, and started again, at most this often (work units).
constexpr uint64_t max_orbit_chunk = 16'000'000;
// And what the shrink gets through; its first look takes this share of the time.
constexpr double shrink_work_per_second = 200e6;
constexpr double first_look_share = 0.05;

class Designer {
  public:
    explicit Designer(const DesignOptions& o)
        : o_(o), s_(o.shape), rng_(o.seed), start_(Clock::now()),
          cpu_start_(o.clock == DesignClock::ThreadCpu ? thread_seconds() : 0),
          all_(s_.v == 64 ? ~Ticket{0} : bit(s_.v) - 1) {
        for (int n = 0; n < s_.v; ++n)
            for (int k = 0; k <= wheel_max_pick; ++k)
                binom_[n][k] = static_cast<uint32_t>(wheel_binomial(n, k));
        total_ = static_cast<uint32_t>(wheel_binomial(s_.v, s_.m));
        lower_ = static_cast<int>(std::min<uint64_t>(wheel_lower_bound(s_), 1u << 30));
        weighted_ = s_.m == s_.t && o.tuning.cover != DesignTuning::Cover::Anneal;
        cover_anneal_ = s_.m == s_.t && o.tuning.cover == DesignTuning::Cover::Anneal;
        // The index costs a list per (t-1)-subset; beyond a million of them the scan stays.
        if (weighted_ && wheel_binomial(s_.v, s_.t - 1) <= 1'000'000)
            holders_.resize(wheel_binomial(s_.v, s_.t - 1));
        tabu_tenure_ = static_cast<uint64_t>(std::max(0, o.tuning.tabu_tenure));
        weight_threshold_ = o.tuning.weight_threshold;
    }

    DesignResult run() {
        count_.assign(total_, 0);
        uncovered_.resize(total_);
        where_.resize(total_);
        for (uint32_t r = 0; r < total_; ++r)
            uncovered_[r] = where_[r] = r;
        greedy(o_.budget);
        if (o_.budget > 0) {
            fixed_size();
        } else {
            // The shrink has a first look, often all a small case needs, before the symmetric
            // start takes its share.
            pause_at_ = work_ + static_cast<uint64_t>(first_look_share * std::min(o_.seconds, 3600.0) *
                                                      shrink_work_per_second);
            shrink();
            pause_at_ = UINT64_MAX;
            if (!stopped_) {
                symmetric_start();
                shrink();
            }
        }
        if (!cancelled_)
            check_pending();
        DesignResult result;
        result.tickets = best_;
        std::sort(result.tickets.begin(), result.tickets.end(),
                  [](Ticket a, Ticket b) { return ticket_numbers(a) < ticket_numbers(b); });
        result.count = best_count_;
        result.count.total = total_;
        result.cancelled = cancelled_;
        result.elapsed = elapsed();
        result.first_wheel_seconds = first_wheel_;
        result.best_seconds = best_found_;
        result.moves = moves_;
        return result;
    }

  private:
    using Clock = std::chrono::steady_clock;

    // Colex rank: the subset c1 < c2 < ... < cm has rank sum C(ci, i).
    uint32_t rank(Ticket set) const {
        uint32_t r = 0;
        for (int i = 1; set; set &= set - 1, ++i)
            r += binom_[std::countr_zero(set)][i];
        return r;
    }
    Ticket unrank(uint32_t r) const {
        Ticket set = 0;
        int c = s_.v - 1;
        for (int i = s_.m; i >= 1; --i) {
            while (binom_[c][i] > r)
                --c;
            set |= bit(c);
            r -= binom_[c][i];
            --c;
        }
        return set;
    }

    void mark_uncovered(uint32_t r) {
        where_[r] = static_cast<uint32_t>(uncovered_.size());
        uncovered_.push_back(r);
    }
    void mark_covered(uint32_t r) {
        const uint32_t last = uncovered_.back();
        uncovered_[where_[r]] = last;
        where_[last] = where_[r];
        uncovered_.pop_back();
    }

    // Every m-subset that meets the ticket in t numbers or more.
    template <class F> void for_each_covered(Ticket ticket, F&& f) {
        for (int i = s_.t; i <= std::min(s_.k, s_.m); ++i)
            for_each_subset(ticket, i, [&](Ticket a) {
                for_each_subset(all_ & ~ticket, s_.m - i, [&](Ticket d) { f(rank(a | d)); });
            });
    }
    // The m-subsets holding number p, not q, and t - 1 numbers of common: those that a ticket
    // common + p covers and common + q does not.
    template <class F> void for_each_pivot(Ticket common, int p, int q, F&& f) {
        const Ticket rest = all_ & ~common & ~bit(p) & ~(q >= 0 ? bit(q) : 0);
        for_each_subset(common, s_.t - 1, [&](Ticket a) {
            if (s_.m == s_.t)
                f(rank(a | bit(p)));
            else
                for_each_subset(rest, s_.m - s_.t, [&](Ticket d) { f(rank(a | d | bit(p))); });
        });
    }

    // The weighted repair looks at the t- and (t-1)-subsets of a ticket far more often than the
    // ticket changes, so they are kept beside it.
    struct Parts {
        std::array<Ticket, 20> sets;    // the t-subsets
        std::array<uint32_t, 20> ranks; // their ranks
        std::array<Ticket, 20> smaller; // the (t-1)-subsets
        std::array<uint32_t, 20> smaller_ranks;
        uint8_t set_count = 0;
        uint8_t smaller_count = 0;
    };
    void refresh_parts(size_t j) {
        if (!weighted_)
            return;
        if (parts_.size() < tickets_.size())
            parts_.resize(tickets_.size());
        Parts& p = parts_[j];
        p.set_count = p.smaller_count = 0;
        for_each_subset(tickets_[j], s_.t, [&](Ticket set) {
            p.sets[p.set_count] = set;
            p.ranks[p.set_count++] = rank(set);
        });
        for_each_subset(tickets_[j], s_.t - 1, [&](Ticket set) {
            p.smaller[p.smaller_count] = set;
            p.smaller_ranks[p.smaller_count++] = rank(set);
        });
    }

    // Which tickets hold each (t-1)-subset: the tickets one number short of an uncovered subset u
    // are those that hold one of u's (t-1)-subsets, found without looking at every ticket.
    void list_ticket(size_t j) {
        if (!holders_.empty())
            for (int i = 0; i < parts_[j].smaller_count; ++i)
                holders_[parts_[j].smaller_ranks[i]].push_back(static_cast<uint32_t>(j));
    }
    // Ticket from is listed as ticket to, or no longer (to = SIZE_MAX).
    void relabel_ticket(size_t from, size_t to) {
        if (holders_.empty())
            return;
        for (int i = 0; i < parts_[from].smaller_count; ++i) {
            std::vector<uint32_t>& list = holders_[parts_[from].smaller_ranks[i]];
            auto at = std::find(list.begin(), list.end(), static_cast<uint32_t>(from));
            if (to == SIZE_MAX) {
                *at = list.back();
                list.pop_back();
            } else {
                *at = static_cast<uint32_t>(to);
            }
        }
    }

    void add_ticket(Ticket ticket) {
        tickets_.push_back(ticket);
        refresh_parts(tickets_.size() - 1);
        if (weighted_)
            list_ticket(tickets_.size() - 1);
        for_each_covered(ticket, [&](uint32_t r) {
            if (count_[r]++ == 0)
                mark_covered(r);
        });
    }
    void remove_ticket(size_t j) {
        for_each_covered(tickets_[j], [&](uint32_t r) {
            if (--count_[r] == 0)
                mark_uncovered(r);
        });
        const size_t last = tickets_.size() - 1;
        if (weighted_) {
            relabel_ticket(j, SIZE_MAX);
            if (j != last)
                relabel_ticket(last, j);
            parts_[j] = parts_[last];
            parts_.pop_back();
        }
        tickets_[j] = tickets_[last];
        tickets_.pop_back();
    }
    void load(const std::vector<Ticket>& tickets) {
        while (!tickets_.empty())
            remove_ticket(tickets_.size() - 1);
        for (const Ticket t : tickets)
            add_ticket(t);
    }

    // A random uncovered m-subset, grown into a ticket number by number, each time taking the
    // number that covers the most still uncovered subsets (or any, where counting costs too much).
    void greedy(int limit) {
        while (!uncovered_.empty() && (limit == 0 || static_cast<int>(tickets_.size()) < limit)) {
            if (poll(true))
                return;
            const Ticket u = unrank(uncovered_[rng_.below(uncovered_.size())]);
            Ticket ticket = 0;
            for (int i = 0; i < s_.t; ++i)
                ticket |= bit(nth_number(u & ~ticket, rng_.below(s_.m - i)));
            for (int size = s_.t; size < s_.k; ++size) {
                const double cost = static_cast<double>(wheel_binomial(size, s_.t - 1)) *
                                    static_cast<double>(wheel_binomial(s_.v - size - 1, s_.m - s_.t)) *
                                    (s_.v - size);
                const Ticket free = all_ & ~ticket;
                if (cost > 400000) {
                    ticket |= bit(nth_number(free, rng_.below(std::popcount(free))));
                    continue;
                }
                int chosen = -1;
                int best = -1;
                int ties = 0;
                for (Ticket f = free; f; f &= f - 1) {
                    const int n = std::countr_zero(f);
                    int gain = 0;
                    for_each_pivot(ticket, n, -1, [&](uint32_t r) { gain += count_[r] == 0; });
                    if (gain > best) {
                        best = gain, chosen = n, ties = 1;
                    } else if (gain == best && rng_.below(++ties) == 0) {
                        chosen = n;
                    }
                }
                work_ += static_cast<uint64_t>(cost);
                ticket |= bit(chosen);
            }
            add_ticket(ticket);
        }
        if (uncovered_.empty())
            offer();
    }

    // Wheels with a symmetry: orbit searches of every shape in turn, each with a fresh seed. The
    // smallest wheel they find is where the shrink goes on; it may well be smaller than anything
    // the shrink would reach by itself.
    void symmetric_start() {
        const std::vector<OrbitShape> shapes = orbit_shapes(s_);
        const double share = std::clamp(o_.tuning.orbit_share, 0.0, 1.0);
        if (shapes.empty() || share <= 0 || stopped_)
            return;
        // Work units, not seconds, share the time out, so that a run cut by moves repeats exactly.
        const double work = share * std::min(o_.seconds, 3600.0) * orbit_work_per_second;
        // Asked about every millisecond; the clock is read each time, so that progress and Stop
        // keep their pace.
        const auto stop = [&] {
            ++moves_;
            return poll(true);
        };
        // A search goes on for half its slice, and then while the last three quarters of its work
        // found a smaller wheel: some sit long on one size before they drop to a much smaller one
        // (three cycles of 7 on 21 numbers: 98 tickets for a while, then 77).
        uint64_t used = 0;
        const double slice = work / 2 / static_cast<double>(shapes.size());
        const auto run = [&](OrbitShape shape) {
            OrbitSearch search(s_, shape, rng_.next(), stop);
            if (!search.usable())
                return;
            // A shape with a multiplier lists few orbits, but its searches that get anywhere go
            // on improving for several slices (three cycles of 7 and the squares on 24 numbers:
            // 784 tickets of 6 that cover every 4-subset after about three): it may run longer,
            // and stops as soon as any other once it stalls.
            const double own = shape.multiplier > 1 ? slice * o_.tuning.multiplier_slices : slice;
            const uint64_t chunk = std::clamp<uint64_t>(static_cast<uint64_t>(own / 16), 1, max_orbit_chunk);
            const auto half = static_cast<uint64_t>(slice / 2);
            while (search.work_done() < static_cast<uint64_t>(own) && !stopped_) {
                search.run(chunk, stop);
                if (search.work_done() >= std::max(4 * search.work_at_best(), half) + chunk)
                    break;
            }
            used += search.work_done();
            offer_wheel(search.best_wheel());
        };
        // Every shape in turn, with a new seed each time, until the share is spent.
        while (used < static_cast<uint64_t>(work) && !stopped_)
            for (const OrbitShape shape : shapes)
                if (used < static_cast<uint64_t>(work) && !stopped_)
                    run(shape);
        if (!best_.empty() && best_.size() < tickets_.size())
            load(best_);
    }
    void offer_wheel(const std::vector<Ticket>& wheel) {
        if (wheel.empty() || stopped_ || (!best_.empty() && wheel.size() >= best_.size()))
            return;
        pending_ = wheel;
        pending_found_ = elapsed();
        has_pending_ = true;
        check_pending();
    }

    // The change in uncovered subsets when ticket j trades number x for y; keeps the subsets
    // concerned for apply().
    int delta(size_t j, int x, int y) {
        const Ticket common = tickets_[j] & ~bit(x);
        lost_.clear();
        gained_.clear();
        int d = 0;
        for_each_pivot(common, x, y, [&](uint32_t r) {
            lost_.push_back(r);
            d += count_[r] == 1;
        });
        for_each_pivot(common, y, x, [&](uint32_t r) {
            gained_.push_back(r);
            d -= count_[r] == 0;
        });
        work_ += lost_.size() + gained_.size();
        return d;
    }
    void apply(size_t j, int x, int y) {
        for (const uint32_t r : lost_)
            if (--count_[r] == 0)
                mark_uncovered(r);
        for (const uint32_t r : gained_)
            if (count_[r]++ == 0)
                mark_covered(r);
        if (weighted_)
            relabel_ticket(j, SIZE_MAX);
        tickets_[j] = (tickets_[j] & ~bit(x)) | bit(y);
        refresh_parts(j);
        if (weighted_)
            list_ticket(j);
    }

    void set_temperature(double temperature) {
        temperature_ = temperature;
        for (size_t d = 0; d < accept_.size(); ++d)
            accept_[d] = static_cast<uint32_t>(
                std::min(4294967295.0, std::exp(-static_cast<double>(d) / temperature) * 4294967296.0));
    }

    // One move: an uncovered subset u, a ticket that meets it in t - 1 numbers, one of the ticket's
    // numbers outside u traded for one of u's outside the ticket, so that the ticket covers u.
    // Covering designs look harder before scanning: with many tickets few meet u in t - 1 numbers.
    void move(int probes = 24) {
        ++moves_;
        const Ticket u = unrank(uncovered_[rng_.below(uncovered_.size())]);
        const size_t b = tickets_.size();
        size_t j = b;
        for (int tries = 0; tries < probes && j == b; ++tries) {
            const size_t c = rng_.below(b);
            if (std::popcount(tickets_[c] & u) == s_.t - 1)
                j = c;
        }
        if (j == b) {
            uint32_t seen = 0;
            for (size_t c = 0; c < b; ++c)
                if (std::popcount(tickets_[c] & u) == s_.t - 1 && rng_.below(++seen) == 0)
                    j = c;
            work_ += b;
            if (j == b)
                j = rng_.below(b);
        }
        const Ticket t = tickets_[j];
        const Ticket out = t & ~u;
        const Ticket in = u & ~t;
        const int x = nth_number(out, rng_.below(std::popcount(out)));
        const int y = nth_number(in, rng_.below(std::popcount(in)));
        const int d = delta(j, x, y);
        if (d <= 0 || (d < static_cast<int>(accept_.size()) && rng_.bits32() < accept_[d]))
            apply(j, x, y);
    }

    // The weighted repair: every subset left uncovered after a step weighs one more, and each step
    // makes the best trade (by weight) among those that cover a random uncovered subset, never
    // putting back a number that just left its ticket. Subsets that stay uncovered grow heavy
    // until the search gives way around them.
    bool repair() {
        // Each size starts from even weights: what held the last size's wheel back says little
        // about this one's, and old heavy subsets would pin tickets in place.
        weight_.assign(total_, 1);
        tabu_.resize(tickets_.size() * wheel_max_numbers);
        // A jump of several tickets that does not repair soon is given up for one ticket less
        // than the best wheel.
        const size_t best_size = has_pending_ ? pending_.size() : best_.size();
        const double per_ticket = tickets_.size() + 1 < best_size ? 20.0 : o_.tuning.stall_moves;
        const size_t stall_limit = static_cast<size_t>(per_ticket * static_cast<double>(tickets_.size()));
        size_t fewest = uncovered_.size();
        size_t since_fewest = 0;
        while (!uncovered_.empty()) {
            if (poll(false))
                return false;
            // At a local minimum (no trade lowered the weight) the subsets still uncovered gain.
            if (weighted_move() >= weight_threshold_) {
                for (const uint32_t r : uncovered_)
                    ++weight_[r];
                work_ += uncovered_.size();
            }
            if (uncovered_.size() < fewest) {
                fewest = uncovered_.size();
                since_fewest = 0;
            } else if (++since_fewest > stall_limit && !best_.empty()) {
                restart();
                if (const uint32_t d = std::max(1, o_.tuning.restart_weight_divisor); d > 1)
                    for (uint32_t& w : weight_)
                        w = std::max<uint32_t>(1, w / d);
                tabu_.assign(tickets_.size() * wheel_max_numbers, 0);
                fewest = uncovered_.size();
                since_fewest = 0;
            }
        }
        return true;
    }

    int64_t weighted_move() {
        ++moves_;
        const Ticket u = unrank(uncovered_[rng_.below(uncovered_.size())]);
        const size_t b = tickets_.size();
        int64_t best = INT64_MAX;
        uint32_t ties = 0;
        size_t bj = 0;
        int bx = -1, by = -1;
        // With m = t the subset lacks one number y of each such ticket. The t-subsets of the ticket
        // that only it covers are lost with the number x they hold; the (t-1)-subsets of the ticket
        // plus y that nobody covers are gained unless they hold x. One pass over each gives the
        // weight of every trade of the ticket.
        std::array<int64_t, wheel_max_numbers> lost{}, gained{};
        const auto consider = [&](size_t j) {
            const Ticket t = tickets_[j];
            if (std::popcount(t & u) != s_.t - 1)
                return;
            const int y = std::countr_zero(u & ~t);
            if (tabu_[j * wheel_max_numbers + y] > moves_)
                return;
            const Ticket out = t & ~u;
            for (Ticket o = t; o; o &= o - 1)
                lost[std::countr_zero(o)] = gained[std::countr_zero(o)] = 0;
            int64_t all_gained = 0;
            const Parts& p = parts_[j];
            for (int i = 0; i < p.set_count; ++i) {
                const uint32_t r = p.ranks[i];
                if (count_[r] == 1)
                    for (Ticket e = p.sets[i] & out; e; e &= e - 1)
                        lost[std::countr_zero(e)] += weight_[r];
            }
            for (int i = 0; i < p.smaller_count; ++i) {
                const uint32_t r = rank(p.smaller[i] | bit(y));
                if (count_[r] != 0)
                    continue;
                all_gained += weight_[r];
                for (Ticket e = p.smaller[i] & out; e; e &= e - 1)
                    gained[std::countr_zero(e)] += weight_[r];
            }
            work_ += 40;
            for (Ticket o = out; o; o &= o - 1) {
                const int x = std::countr_zero(o);
                const int64_t d = lost[x] - (all_gained - gained[x]);
                if (d < best) {
                    best = d, bj = j, bx = x, by = y, ties = 1;
                } else if (d == best && rng_.below(++ties) == 0) {
                    bj = j, bx = x, by = y;
                }
            }
        };
        if (holders_.empty()) {
            for (size_t j = 0; j < b; ++j)
                consider(j);
            work_ += b;
        } else {
            for_each_subset(u, s_.t - 1, [&](Ticket a) {
                for (const uint32_t j : holders_[rank(a)])
                    consider(j);
            });
        }
        if (bx < 0) {
            // Every trade is tabu or no ticket is one number short: a random trade.
            bj = rng_.below(b);
            const Ticket out = tickets_[bj] & ~u;
            const Ticket in = u & ~tickets_[bj];
            bx = nth_number(out, rng_.below(std::popcount(out)));
            by = nth_number(in, rng_.below(std::popcount(in)));
        }
        delta(bj, bx, by);
        apply(bj, bx, by);
        tabu_[bj * wheel_max_numbers + bx] = moves_ + tabu_tenure_ + rng_.below(tabu_tenure_ + 1);
        return best;
    }

    // Anneals until every subset is covered (true) or the search must stop (false).
    bool anneal() {
        const DesignTuning& tune = o_.tuning;
        const uint64_t stage = std::max<uint64_t>(
            64, static_cast<uint64_t>(tune.stage_moves * static_cast<double>(tickets_.size()) * s_.k));
        // The temperature carries over from the size before: a fresh start at each size would undo
        // most of the easy steps down.
        if (temperature_ <= 0)
            set_temperature(tune.start_temperature);
        while (!uncovered_.empty()) {
            if (poll(false))
                return false;
            move();
            if (o_.budget > 0 && uncovered_.size() < best_pending_uncovered_)
                offer();
            if (++in_stage_ < stage)
                continue;
            in_stage_ = 0;
            double next = temperature_ * tune.cooling;
            if (next < tune.end_temperature) {
                next = tune.start_temperature;
                if (o_.budget == 0 && ++reheats_ >= tune.reheats_before_restart && !best_.empty()) {
                    restart();
                    reheats_ = 0;
                }
            }
            set_temperature(next);
        }
        return true;
    }

    // Any ticket trades any of its numbers for any other: the plain neighbourhood.
    void plain_move() {
        ++moves_;
        const size_t j = rng_.below(tickets_.size());
        const Ticket out = all_ & ~tickets_[j];
        const int x = nth_number(tickets_[j], rng_.below(s_.k));
        const int y = nth_number(out, rng_.below(std::popcount(out)));
        const int d = delta(j, x, y);
        if (d <= 0 || (d < static_cast<int>(accept_.size()) && rng_.bits32() < accept_[d]))
            apply(j, x, y);
    }

    // Anneals a covering design at its size until every subset is covered (true) or the search
    // must stop (false). A stage is a fixed share of the neighbourhood (tickets x numbers in x
    // numbers out); the run counts as frozen once several stages pass without a new low, and is
    // heated again, and after a few reheats starts over from the best wheel less a ticket.
    bool cover_anneal() {
        const DesignTuning& tune = o_.tuning;
        const double neighbours = static_cast<double>(tickets_.size()) * s_.k * (s_.v - s_.k);
        const uint64_t stage =
            std::max<uint64_t>(64, static_cast<uint64_t>(tune.cover_stage_moves * neighbours));
        if (temperature_ <= 0)
            set_temperature(tune.cover_start_temperature);
        const uint32_t plain_share =
            static_cast<uint32_t>(std::clamp(tune.cover_plain_share, 0.0, 0.999) * 4294967296.0);
        size_t lowest = uncovered_.size();
        int idle = 0;
        while (!uncovered_.empty()) {
            if (poll(false))
                return false;
            if (tune.cover_aimed && rng_.bits32() >= plain_share)
                move(256);
            else
                plain_move();
            if (uncovered_.size() < lowest) {
                lowest = uncovered_.size();
                idle = 0;
            }
            if (++in_stage_ < stage)
                continue;
            in_stage_ = 0;
            if (++idle < tune.cover_frozen_stages || temperature_ > tune.cover_cold) {
                set_temperature(std::max(temperature_ * tune.cover_cooling, 0.02));
                continue;
            }
            idle = 0;
            set_temperature(tune.cover_start_temperature);
            if (++reheats_ >= tune.reheats_before_restart && !best_.empty()) {
                restart();
                reheats_ = 0;
            }
            lowest = uncovered_.size();
        }
        return true;
    }

    // From the best wheel again, without another of its tickets.
    void restart() {
        step_ = 1;
        load(has_pending_ ? pending_ : best_);
        if (o_.tuning.restart_drops_least)
            drop_ticket();
        else
            remove_ticket(rng_.below(tickets_.size()));
    }

    // Drops the ticket whose loss uncovers the fewest subsets (among a sample when counting all
    // would cost too much).
    void drop_ticket() {
        const uint64_t per_ticket = std::max<uint64_t>(1, covered_per_ticket());
        const size_t b = tickets_.size();
        const size_t sample = per_ticket * b <= 2000000 ? b : std::max<size_t>(1, 2000000 / per_ticket);
        size_t chosen = rng_.below(b);
        uint64_t fewest = UINT64_MAX;
        uint32_t ties = 0;
        for (size_t i = 0; i < std::min(sample, b); ++i) {
            const size_t j = sample == b ? i : rng_.below(b);
            uint64_t alone = 0;
            for_each_covered(tickets_[j], [&](uint32_t r) { alone += count_[r] == 1; });
            if (alone < fewest) {
                fewest = alone, chosen = j, ties = 1;
            } else if (alone == fewest && rng_.below(++ties) == 0) {
                chosen = j;
            }
        }
        work_ += per_ticket * std::min(sample, b);
        remove_ticket(chosen);
    }
    uint64_t covered_per_ticket() const {
        uint64_t n = 0;
        for (int i = s_.t; i <= std::min(s_.k, s_.m); ++i)
            n += wheel_binomial(s_.k, i) * wheel_binomial(s_.v - s_.k, s_.m - i);
        return n;
    }

    // Far above the best size a repair is quick, and dropping one ticket at a time would spend the
    // time on easy steps: the step doubles while repairs stay quick and halves when one is not.
    void shrink() {
        step_ = 1;
        while (!stopped_) {
            if (!best_.empty() && (static_cast<int>(best_.size()) <= std::max(lower_, 1) ||
                                   static_cast<int>(best_.size()) <= o_.stop_size))
                return;
            if (uncovered_.empty()) {
                if (tickets_.size() <= 1)
                    return;
                const size_t floor = static_cast<size_t>(std::max({lower_, o_.stop_size, 1}));
                for (size_t i = 0; i < step_ && tickets_.size() > floor; ++i)
                    drop_ticket();
            }
            const uint64_t before = moves_;
            const size_t size = tickets_.size();
            if (!(weighted_ ? repair() : cover_anneal_ ? cover_anneal() : anneal()))
                return;
            if (moves_ - before < 4 * size)
                step_ = std::min(step_ * 2, std::max<size_t>(1, size / 16));
            else
                step_ = std::max<size_t>(1, step_ / 2);
            reheats_ = 0;
            offer();
        }
    }

    void fixed_size() {
        best_pending_uncovered_ = uncovered_.size() + 1;
        offer();
        if (!uncovered_.empty())
            anneal();
    }

    // The search's wheel as a candidate for the best: checked at once when the check is quick,
    // otherwise at the next poll a second after the last check (and before the result).
    void offer() {
        pending_ = tickets_;
        pending_found_ = elapsed();
        best_pending_uncovered_ = uncovered_.size();
        has_pending_ = true;
        // A budget run improves by small steps, too often to check each.
        if (o_.budget == 0 && check_seconds_ < 0.02)
            check_pending();
    }
    void check_pending() {
        if (!has_pending_)
            return;
        has_pending_ = false;
        const double before = elapsed();
        const CoverCount count = count_covered(s_, pending_);
        const double after = elapsed();
        check_seconds_ = after - before;
        last_check_ = after;
        const bool better =
            best_.empty() || (o_.budget > 0 ? count.covered > best_count_.covered
                                            : count.complete() && pending_.size() < best_.size());
        if (!better)
            return;
        if (o_.budget == 0 && !count.complete())
            return;
        best_ = pending_;
        best_count_ = count;
        best_found_ = pending_found_;
        if (count.complete() && first_wheel_ < 0)
            first_wheel_ = after;
        if (count.complete() && static_cast<int>(best_.size()) <= std::max(o_.stop_size, lower_))
            stopped_ = true;
    }

    // Looks at the clock now and then: true when the search must stop.
    bool poll(bool now) {
        if (stopped_ || work_ >= pause_at_)
            return true;
        if (o_.max_moves && moves_ >= o_.max_moves)
            return stopped_ = true;
        if (!now && work_ < next_poll_)
            return false;
        next_poll_ = work_ + 20000;
        const double t = elapsed();
        if (o_.cancel && o_.cancel->load(std::memory_order_relaxed)) {
            cancelled_ = true;
            return stopped_ = true;
        }
        if (t >= o_.seconds)
            return stopped_ = true;
        if (has_pending_ && t - last_check_ >= 1.0)
            check_pending();
        if (o_.progress && t - last_progress_ >= o_.progress_interval) {
            last_progress_ = t;
            DesignProgress p;
            p.best_size = best_count_.complete() && !best_.empty() ? static_cast<int>(best_.size()) : 0;
            p.uncovered = uncovered_.size();
            p.size = static_cast<int>(tickets_.size());
            p.elapsed = t;
            p.moves = moves_;
            o_.progress(p);
        }
        return stopped_;
    }
    double elapsed() const {
        if (o_.clock == DesignClock::ThreadCpu)
            return thread_seconds() - cpu_start_;
        return std::chrono::duration<double>(Clock::now() - start_).count();
    }

    const DesignOptions& o_;
    const WheelParams s_;
    Random rng_;
    const Clock::time_point start_;
    const double cpu_start_;
    const Ticket all_;
    std::array<std::array<uint32_t, wheel_max_pick + 1>, wheel_max_numbers> binom_{};
    uint32_t total_ = 0;
    int lower_ = 0;

    std::vector<uint32_t> count_;     // per m-subset: the tickets that cover it
    std::vector<uint32_t> uncovered_; // the m-subsets no ticket covers
    std::vector<uint32_t> where_;     // per uncovered subset: its place in uncovered_
    std::vector<Ticket> tickets_;
    std::vector<uint32_t> lost_, gained_;
    std::array<uint32_t, 24> accept_{};
    // The weighted repair, where a trade costs little enough to weigh every one around a subset.
    bool weighted_ = false;
    bool cover_anneal_ = false;
    std::vector<uint32_t> weight_;
    std::vector<Parts> parts_;                   // per ticket, in the weighted repair
    std::vector<std::vector<uint32_t>> holders_; // per (t-1)-subset: the tickets that hold it
    std::vector<uint64_t> tabu_; // per ticket and number: the move until which it may not come back
    uint64_t tabu_tenure_ = 4;
    int64_t weight_threshold_ = 0;
    double temperature_ = 0;
    uint64_t in_stage_ = 0;
    int reheats_ = 0; // at the current size

    std::vector<Ticket> best_, pending_;
    CoverCount best_count_;
    bool has_pending_ = false;
    size_t best_pending_uncovered_ = SIZE_MAX;
    double check_seconds_ = -1;
    double last_check_ = 0;
    double first_wheel_ = -1;
    double pending_found_ = 0;
    double best_found_ = -1;

    uint64_t moves_ = 0;
    size_t step_ = 1; // tickets dropped at once
    uint64_t work_ = 0;
    uint64_t next_poll_ = 0;
    double last_progress_ = 0;
    bool stopped_ = false;
    bool cancelled_ = false;
    uint64_t pause_at_ = UINT64_MAX; // the work at which the shrink hands over to the symmetric start
};

} // namespace

DesignResult design_wheel(const DesignOptions& options) {
    DesignResult result;
    result.error = wheel_params_fault(options.shape);
    if (result.error.isEmpty() && options.budget < 0)
        result.error = QStringLiteral("the number of tickets must be positive");
    if (!result.error.isEmpty())
        return result;
    return Designer(options).run();
}
