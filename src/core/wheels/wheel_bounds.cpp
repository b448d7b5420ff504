#include "core/wheels/wheel_bounds.h"

#include <charconv>
#include <map>
#include <tuple>

uint64_t schonheim_bound(int v, int k, int t) {
    if (v < 1 || k < 1 || t < 1 || k > v || t > k)
        return 0;
    const uint64_t inner = t == 1 ? 1 : schonheim_bound(v - 1, k - 1, t - 1);
    const uint64_t n = static_cast<uint64_t>(v) * inner;
    return (n + static_cast<uint64_t>(k) - 1) / static_cast<uint64_t>(k);
}

uint64_t wheel_lower_bound(const WheelParams& s) {
    if (!wheel_params_fault(s).isEmpty())
        return 0;
    if (s.t == s.m)
        return schonheim_bound(s.v, s.k, s.t);
    if (s.t == 1)
        return static_cast<uint64_t>((s.v - s.m + 1 + s.k - 1) / s.k);
    uint64_t per_ticket = 0;
    for (int i = s.t; i <= s.m; ++i)
        per_ticket += wheel_binomial(s.k, i) * wheel_binomial(s.v - s.k, s.m - i);
    const uint64_t total = wheel_binomial(s.v, s.m);
    return (total + per_ticket - 1) / per_ticket;
}

namespace {

using Key = std::tuple<int, int, int>;

std::map<Key, int> read_table() {
    std::map<Key, int> table;
    std::string_view text = best_known_text();
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        int values[4] = {};
        const char* p = line.data();
        const char* const stop = line.data() + line.size();
        bool ok = true;
        for (int& value : values) {
            while (p < stop && *p == ' ')
                ++p;
            const auto [next, ec] = std::from_chars(p, stop, value);
            ok = ok && ec == std::errc();
            p = next;
        }
        if (ok)
            table[{values[0], values[1], values[2]}] = values[3];
    }
    return table;
}

} // namespace

std::optional<int> best_known_size(const WheelParams& s) {
    static const std::map<Key, int> table = read_table();
    if (s.t != s.m)
        return std::nullopt;
    const auto it = table.find({s.v, s.k, s.t});
    if (it == table.end())
        return std::nullopt;
    return it->second;
}
