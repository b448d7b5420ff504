#pragma once

#include "core/wheels/wheel_params.h"

#include <span>

// The exact check of a wheel, kept apart from the search: it walks the m-subsets of the numbers
// itself and never uses the search's ranks or counts.
struct CoverCount {
    uint64_t covered = 0;
    uint64_t total = 0;
    bool complete() const { return covered == total; }
};

// How many m-subsets of 1..v meet some ticket in at least t numbers. Tickets must lie in 1..v.
CoverCount count_covered(const WheelParams& shape, std::span<const Ticket> tickets);
