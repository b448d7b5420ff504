#include "core/wheels/wheel_check.h"

#include <algorithm>
#include <bit>

namespace {

// Walks the m-subsets in lexicographic order, one number a level, keeping only the tickets that
// can still reach t numbers of the subset; a ticket already at t covers every completion at once.
class Walk {
  public:
    Walk(const WheelParams& shape, std::span<const Ticket> tickets)
        : s_(shape), all_(shape.v == 64 ? ~Ticket{0} : (Ticket{1} << shape.v) - 1) {
        live_.resize(static_cast<size_t>(shape.m) + 1);
        for (const Ticket t : tickets)
            live_[0].push_back({t, 0});
    }
    uint64_t covered() { return level(0, 0); }

  private:
    struct Live {
        Ticket ticket;
        int hits;
    };

    // Numbers from..v-1 (bits) left to choose depth..m-1 of the subset from.
    uint64_t level(int depth, int from) {
        const std::vector<Live>& live = live_[depth];
        const int need = s_.m - depth;
        if (need == 1) {
            // The last number: covered when a ticket already has t, or has t - 1 and holds it.
            Ticket last = 0;
            for (const Live& l : live) {
                if (l.hits >= s_.t)
                    return static_cast<uint64_t>(s_.v - from);
                if (l.hits == s_.t - 1)
                    last |= l.ticket;
            }
            const Ticket range = all_ & ~((Ticket{1} << from) - 1);
            return static_cast<uint64_t>(std::popcount(last & range));
        }
        uint64_t covered = 0;
        for (int n = from; n <= s_.v - need; ++n) {
            const Ticket bit = Ticket{1} << n;
            const Ticket after = all_ & ~((bit << 1) - 1);
            std::vector<Live>& next = live_[depth + 1];
            next.clear();
            bool all = false;
            for (const Live& l : live) {
                const int hits = l.hits + ((l.ticket & bit) ? 1 : 0);
                if (hits >= s_.t) {
                    all = true;
                    break;
                }
                const int reach = std::min(need - 1, std::popcount(l.ticket & after));
                if (hits + reach >= s_.t)
                    next.push_back({l.ticket, hits});
            }
            if (all)
                covered += wheel_binomial(s_.v - n - 1, need - 1);
            else if (!next.empty())
                covered += level(depth + 1, n + 1);
        }
        return covered;
    }

    WheelParams s_;
    Ticket all_;
    std::vector<std::vector<Live>> live_;
};

} // namespace

CoverCount count_covered(const WheelParams& shape, std::span<const Ticket> tickets) {
    CoverCount count;
    count.total = wheel_binomial(shape.v, shape.m);
    if (shape.m < 1 || shape.t < 1 || shape.v < shape.m)
        return count;
    count.covered = Walk(shape, tickets).covered();
    return count;
}
