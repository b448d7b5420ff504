#include "core/analyses/profitability.h"

#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/systems/system_catalogue.h"

#include <cmath>
#include <limits>

namespace {

float to_float(double v) {
    return static_cast<float>(v);
}

} // namespace

std::optional<float> average_profitability(const ProfitInputs& in) {
    if (in.tickets == 0 || in.set_size <= 0)
        return std::nullopt;
    const auto hyp = [&](int k) {
        return static_cast<double>(hypergeometric(in.play_n, in.pick_n, in.set_size, k));
    };
    const double hyp1 = hyp(1);

    // Expected prize when i drawn numbers are in the set. The bonus factor w carries over from one
    // class to the next, and from the last class of one i to the first of the next, while FAb is empty.
    std::array<float, 7> a{};
    float w = 1;
    for (int i = 2; i <= 6; ++i) {
        for (int j = 2; j <= 6; ++j) {
            const QString& fab = in.fa[2 * j - 3];
            if (!fab.isEmpty()) {
                const auto v = text_to_float(fab);
                if (!v)
                    return std::nullopt;
                w = *v;
            }
            a[i] = to_float(a[i] + (w * static_cast<double>(in.prizes[j][1]) * hyp1 + in.prizes[j][0]) *
                                       static_cast<double>(in.guar_avg(i, j)));
        }
    }

    float s = 0;
    for (int i = 2; i <= 6; ++i) {
        float f = 1;
        const QString& fa = in.fa[2 * i - 4];
        if (!fa.isEmpty()) {
            const auto v = text_to_float(fa);
            if (!v)
                return std::nullopt;
            f = *v;
        }
        s = to_float(s + hyp(i) * f * a[i]);
    }
    s = to_float(static_cast<double>(s) / in.tickets);
    if (in.cost > 0)
        s = to_float(static_cast<double>(s) / in.cost);
    s = to_float(static_cast<double>(s) - 1);
    if (!std::isfinite(s))
        return std::nullopt;
    return s;
}

std::optional<int> profit_ticket_count(const QString& system_name, int16_t base_count, int16_t set_size) {
    if (const auto info = find_system(system_name))
        return info->ticket_count();
    const int t = base_count * set_size;
    if (t < std::numeric_limits<int16_t>::min() || t > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return t;
}

TimesToPlay how_long_to_play(int16_t play_n, int16_t pick_n, int16_t set_size,
                             const std::array<QString, 10>& prize_texts, const FaTexts& fa,
                             const QString& level_text) {
    const TimesToPlay error;
    int m = 0;
    for (int k = 2; k <= 6; ++k) {
        const auto plain = text_to_double(prize_texts[2 * k - 4]);
        const auto bonus = text_to_double(prize_texts[2 * k - 3]);
        if (!plain || !bonus)
            return error;
        if (*plain != 0 || *bonus != 0)
            m = k;
    }
    float w = hypergeometric(play_n, pick_n, set_size, static_cast<int16_t>(m));
    if (w == 1)
        return {TimesToPlay::Outcome::no_lotto, 0};
    if (m >= 3) {
        const auto factor = text_to_double(fa[2 * m - 4]);
        if (!factor)
            return error;
        if (*factor > 1)
            w = to_float(w * *factor);
    }
    const auto level = text_to_float(level_text);
    if (!level)
        return error;
    const double t = std::log(1 - static_cast<double>(*level) / 100) / std::log(1 - static_cast<double>(w));
    // Beyond the logarithms' domain, or w = 0 (a zero divisor), there is no count to show.
    if (!std::isfinite(t) || std::fabs(t) > std::numeric_limits<int32_t>::max())
        return error;
    return {TimesToPlay::Outcome::ok, static_cast<int32_t>(std::nearbyint(t))};
}
