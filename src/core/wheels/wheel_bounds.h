#pragma once

#include "core/wheels/wheel_params.h"

#include <optional>
#include <string_view>

// Schönheim's lower bound on the tickets of a covering design C(v,k,t):
// L(v,k,t) = ceil(v / k * L(v-1,k-1,t-1)), L(v,k,1) = ceil(v / k).
uint64_t schonheim_bound(int v, int k, int t);

// A lower bound on the tickets of any wheel of the shape: Schönheim's for t = m; for t < m the
// larger of the counting bound (every ticket covers the same number of m-subsets at most) and,
// for t = 1, the exact ceil((v - m + 1) / k).
uint64_t wheel_lower_bound(const WheelParams& shape);

// The best known size of the covering design C(v,k,t) from the shipped table (t = m only).
std::optional<int> best_known_size(const WheelParams& shape);

// The table's text, compiled in from best_known.txt (credits in its header).
std::string_view best_known_text();
