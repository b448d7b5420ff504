#pragma once

#include "core/wheels/wheel_params.h"

#include <array>
#include <bit>
#include <cstdint>

// The small pieces the wheel searches share: their random numbers and their walks over subsets.
namespace wheel_search {

// xorshift64* seeded through splitmix64: small, fast and the same on every platform.
class Random {
  public:
    explicit Random(uint64_t seed) {
        uint64_t z = seed + 0x9E3779B97F4A7C15ULL;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        state_ = (z ^ (z >> 31)) | 1;
    }
    uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    // Uniform in 0..n-1 (n >= 1).
    uint32_t below(uint64_t n) { return static_cast<uint32_t>(((next() >> 32) * n) >> 32); }
    uint32_t bits32() { return static_cast<uint32_t>(next() >> 32); }

  private:
    uint64_t state_;
};

constexpr Ticket bit(int n) {
    return Ticket{1} << n;
}

inline int nth_number(Ticket set, uint32_t i) {
    for (; i > 0; --i)
        set &= set - 1;
    return std::countr_zero(set);
}

// Calls f(subset) for every subset of `size` numbers of mask.
template <class F> void for_each_subset(Ticket mask, int size, F&& f) {
    std::array<int, 64> numbers; // filled before use; no zeroing in the innermost loop
    int n = 0;
    for (Ticket m = mask; m; m &= m - 1)
        numbers[n++] = std::countr_zero(m);
    if (size > n)
        return;
    if (size == 0) {
        f(Ticket{0});
        return;
    }
    std::array<int, wheel_max_pick + 1> at{};
    for (int i = 0; i < size; ++i)
        at[i] = i;
    for (;;) {
        Ticket s = 0;
        for (int i = 0; i < size; ++i)
            s |= bit(numbers[at[i]]);
        f(s);
        int i = size - 1;
        while (i >= 0 && at[i] == n - size + i)
            --i;
        if (i < 0)
            return;
        ++at[i];
        for (int j = i + 1; j < size; ++j)
            at[j] = at[j - 1] + 1;
    }
}

} // namespace wheel_search
