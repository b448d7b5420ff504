#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

// A wheel on v numbers with tickets of k numbers guarantees "t if m" when every m-subset of the
// v numbers meets some ticket in at least t numbers (m = t: a covering design).
struct WheelParams {
    int v = 0;
    int k = 0;
    int t = 0;
    int m = 0;
    friend bool operator==(const WheelParams&, const WheelParams&) = default;
};

// A ticket is a set of numbers 1..v kept as bits: number n is bit n - 1.
using Ticket = uint64_t;

constexpr int wheel_max_numbers = 64;
constexpr int wheel_max_pick = 6;
// The search keeps a count for every m-subset; beyond this many it would not fit in memory.
constexpr uint64_t wheel_max_subsets = 20'000'000;

// n choose k for n <= 64, k <= 6 (0 outside), exact in 64 bits.
uint64_t wheel_binomial(int n, int k);

// Why the wheel cannot be designed ("" when it can): K > V, T > K, M < T, M > K, V beyond the limit.
QString wheel_params_fault(const WheelParams& shape);

// The ticket's numbers ascending.
std::vector<int> ticket_numbers(Ticket ticket);
// "1 5 9 12 20 33": the numbers ascending, one blank between them.
QString ticket_text(Ticket ticket);
Ticket ticket_of(std::span<const int> numbers);
