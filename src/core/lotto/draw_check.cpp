#include "core/lotto/draw_check.h"

#include "core/lotto/draw_export.h"

#include "core/base/convert.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// How far a missing draw may lie from the draws on its weekday either side of it.
constexpr int64_t window_days = 35;
// A draw on a weekday not yet in use starts a schedule when at least this many of the next three
// weeks repeat it; a schedule lapses after four weeks without a draw on its weekday.
constexpr int repeats_needed = 2;
constexpr int64_t lapse_days = 28;

int64_t day_of(double serial) {
    return static_cast<int64_t>(std::floor(serial));
}

QString weekday_name(int64_t day) {
    return QLocale::c().dayName(static_cast<int>(((day + 5) % 7 + 7) % 7) + 1);
}

QString iso_text(int64_t day) {
    return serial_to_date(static_cast<double>(day)).toString(Qt::ISODate);
}

int weekday_index(int64_t day) {
    return static_cast<int>(((day % 7) + 7) % 7);
}

// The draw days of one weekday, ascending, each marked when the game drew on that weekday by
// schedule then: from the first draw on it that the following weeks repeat, for as long as the
// draws on it go on without lapsing.
struct WeekdayDraws {
    static constexpr uint8_t doubtful = 1;
    static constexpr uint8_t confirmed = 2;
    std::vector<int64_t> days;
    std::vector<uint8_t> scheduled; // 0: off schedule, doubtful or confirmed

    // all_days: every draw day of the history, ascending. A following week in which the history
    // holds no draw at all is a gap in the record, not a week without the draw.
    void judge(const std::vector<int64_t>& all_days) {
        scheduled.assign(days.size(), 0);
        const auto recorded = [&](int64_t day) {
            const auto it = std::lower_bound(all_days.begin(), all_days.end(), day - 3);
            return it != all_days.end() && *it <= day + 3;
        };
        for (size_t j = 0; j < days.size(); ++j) {
            if (j > 0 && scheduled[j - 1] && days[j] - days[j - 1] <= lapse_days) {
                scheduled[j] = scheduled[j - 1];
                continue;
            }
            // The recorded weeks among the next three, and how many of them repeat the draw.
            int weeks = 0;
            int repeated = 0;
            for (int w = 1; w <= 3; ++w) {
                const int64_t day = days[j] + 7 * w;
                if (!recorded(day))
                    continue;
                ++weeks;
                repeated += std::binary_search(days.begin() + static_cast<std::ptrdiff_t>(j), days.end(), day)
                                ? 1
                                : 0;
            }
            // Fewer recorded weeks (near the end of the history) cannot tell: the draw is given the
            // benefit of the doubt, but marks no dates as missing.
            scheduled[j] = weeks < 3 ? doubtful : repeated >= repeats_needed ? confirmed : 0;
        }
    }
};

// Spans of dates that consecutive draw numbers show to be complete, ascending.
std::vector<std::pair<int64_t, int64_t>> numbered_runs(std::vector<std::pair<int64_t, double>> numbered) {
    std::sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second, a.first) < std::pair(b.second, b.first);
    });
    std::vector<std::pair<int64_t, int64_t>> runs;
    size_t start = 0;
    for (size_t i = 1; i <= numbered.size(); ++i) {
        const bool continues = i < numbered.size() && (numbered[i].first == numbered[i - 1].first + 1 ||
                                                       numbered[i].first == numbered[i - 1].first);
        if (continues)
            continue;
        if (i - start > 1 && numbered[i - 1].first > numbered[start].first)
            runs.emplace_back(day_of(numbered[start].second), day_of(numbered[i - 1].second));
        start = i;
    }
    return runs;
}

bool within(const std::vector<std::pair<int64_t, int64_t>>& runs, int64_t day) {
    const auto after = std::upper_bound(runs.begin(), runs.end(), day,
                                        [](int64_t d, const auto& run) { return d < run.first; });
    return after != runs.begin() && day <= std::prev(after)->second;
}

} // namespace

HistoryCheck check_history(const std::vector<DrawRec>& history,
                           const std::vector<std::pair<int64_t, double>>& numbered) {
    HistoryCheck out;
    std::vector<size_t> order(history.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    sort_stable(order.begin(), order.end(),
                [&](size_t a, size_t b) { return day_of(history[a].date) < day_of(history[b].date); });

    std::array<WeekdayDraws, 7> weekdays;
    std::vector<int64_t> all_days;
    for (size_t k = 0; k < order.size();) {
        const int64_t day = day_of(history[order[k]].date);
        size_t end = k;
        while (end < order.size() && day_of(history[order[end]].date) == day)
            ++end;
        if (end - k > 1)
            out.crowded.emplace_back(static_cast<double>(day), static_cast<int>(end - k));
        weekdays[static_cast<size_t>(weekday_index(day))].days.push_back(day);
        all_days.push_back(day);
        k = end;
    }
    if (order.empty())
        return out;
    const int64_t first_day = day_of(history[order.front()].date);
    const int64_t last_day = day_of(history[order.back()].date);
    const auto runs = numbered_runs(numbered);

    std::vector<int64_t> suspicious_days;
    for (WeekdayDraws& w : weekdays) {
        if (w.days.empty())
            continue;
        w.judge(all_days);
        for (size_t j = 0; j < w.days.size(); ++j)
            if (!w.scheduled[j] && !within(runs, w.days[j]))
                suspicious_days.push_back(w.days[j]);
        // A date of the weekday without a draw is missing between scheduled draws on it (or the
        // ends of the history) no further than the window on either side.
        const int64_t weekday = weekday_index(w.days.front());
        int64_t day = first_day + ((weekday - weekday_index(first_day)) % 7 + 7) % 7;
        size_t next = 0;
        int64_t previous = -1; // the last scheduled draw on the weekday before day, or -1
        bool previous_set = false;
        for (; day <= last_day; day += 7) {
            while (next < w.days.size() && w.days[next] < day) {
                if (w.scheduled[next] == WeekdayDraws::confirmed) {
                    previous = w.days[next];
                    previous_set = true;
                }
                ++next;
            }
            if (next < w.days.size() && w.days[next] == day)
                continue;
            const bool before = day - first_day < 7 || (previous_set && day - previous <= window_days);
            size_t ahead = next;
            while (ahead < w.days.size() && w.scheduled[ahead] != WeekdayDraws::confirmed &&
                   w.days[ahead] - day <= window_days)
                ++ahead;
            const bool after = last_day - day < 7 ||
                               (ahead < w.days.size() && w.scheduled[ahead] == WeekdayDraws::confirmed &&
                                w.days[ahead] - day <= window_days);
            if (before && after && !within(runs, day))
                out.missing.push_back(static_cast<double>(day));
        }
    }
    std::sort(out.missing.begin(), out.missing.end());
    std::sort(suspicious_days.begin(), suspicious_days.end());
    for (const size_t i : order)
        if (std::binary_search(suspicious_days.begin(), suspicious_days.end(), day_of(history[i].date)))
            out.suspicious.push_back(i);
    return out;
}

std::vector<DrawNumberGap> draw_number_gaps(std::vector<std::pair<int64_t, double>> numbered) {
    std::sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second, a.first) < std::pair(b.second, b.first);
    });
    std::vector<DrawNumberGap> gaps;
    for (size_t i = 1; i < numbered.size(); ++i) {
        const auto& [was, was_date] = numbered[i - 1];
        const auto& [now, now_date] = numbered[i];
        // Numbering that goes back, or jumps further than two draws a day could take it, is a new
        // scheme of numbers, not a gap.
        const double days = std::max(1.0, std::floor(now_date) - std::floor(was_date));
        if (now - was > 1 && static_cast<double>(now - was - 1) <= 2 * days)
            gaps.push_back({was + 1, now - 1, was_date, now_date});
    }
    return gaps;
}

int64_t missing_beyond_dates(const std::vector<DrawNumberGap>& gaps, const std::vector<double>& missing) {
    int64_t extra = 0;
    for (const DrawNumberGap& gap : gaps) {
        const double lo = std::min(gap.before, gap.after);
        const double hi = std::max(gap.before, gap.after);
        const auto dated = std::upper_bound(missing.begin(), missing.end(), hi) -
                           std::lower_bound(missing.begin(), missing.end(), lo);
        extra += std::max<int64_t>(0, gap.last - gap.first + 1 - dated);
    }
    return extra;
}

QString draw_numbers_text(const DrawRec& draw, int pick_n) {
    QString out;
    for (int i = 0; i < pick_n && i < 6; ++i) {
        if (i > 0)
            out += u' ';
        out += QString::number(draw.n[static_cast<size_t>(i)]);
    }
    if (draw.nb != 0)
        out += QStringLiteral(" bonus %1").arg(draw.nb);
    return out;
}

QStringList history_check_lines(const HistoryCheck& check, const std::vector<DrawRec>& history, int pick_n,
                                const std::vector<DrawNumberGap>& gaps) {
    std::vector<std::pair<double, QString>> found;
    for (const double day : check.missing)
        found.emplace_back(
            day,
            QStringLiteral("missing draw: %1 (%2)").arg(iso_text(day_of(day)), weekday_name(day_of(day))));
    for (const size_t i : check.suspicious) {
        const int64_t day = day_of(history[i].date);
        found.emplace_back(day,
                           QStringLiteral("suspicious draw: %1 (%2, not a draw day then): %3")
                               .arg(iso_text(day), weekday_name(day), draw_numbers_text(history[i], pick_n)));
    }
    for (const auto& [day, count] : check.crowded)
        found.emplace_back(
            day, QStringLiteral("several draws: %1 (%2 draws)").arg(iso_text(day_of(day))).arg(count));
    for (const DrawNumberGap& gap : gaps) {
        const QString numbers =
            gap.first == gap.last
                ? QStringLiteral("missing draw number: %1").arg(gap.first)
                : QStringLiteral("missing draw numbers: %1-%2").arg(gap.first).arg(gap.last);
        found.emplace_back(std::min(gap.before, gap.after),
                           QStringLiteral("%1 (between %2 and %3)")
                               .arg(numbers, iso_text(day_of(gap.before)), iso_text(day_of(gap.after))));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(found.size()));
    for (auto& item : found)
        lines.append(std::move(item.second));
    return lines;
}

QString check_summary(const HistoryCheck& check, const std::vector<DrawRec>& history) {
    if (history.empty())
        return QStringLiteral("Checked 0 draws.");
    const auto [first, last] = std::minmax_element(
        history.begin(), history.end(), [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; });
    const auto count = [](size_t n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    return QStringLiteral("Checked %1 from %2 to %3: %4 missing, %5, %6 with several draws.")
        .arg(count(history.size(), "draw", "draws"), iso_date_text(first->date), iso_date_text(last->date),
             count(check.missing.size(), "draw date", "draw dates"),
             count(check.suspicious.size(), "suspicious draw", "suspicious draws"),
             count(check.crowded.size(), "date", "dates"));
}

QString impossible_draw_reason(const DrawRec& draw, int play_n, int pick_n) {
    const int count = std::clamp(pick_n, 0, static_cast<int>(draw.n.size()));
    for (int i = 0; i < count; ++i) {
        const int x = draw.n[static_cast<size_t>(i)];
        if (x < 1 || x > play_n)
            return QStringLiteral("number %1 is outside 1..%2").arg(x).arg(play_n);
        for (int j = 0; j < i; ++j)
            if (draw.n[static_cast<size_t>(j)] == x)
                return QStringLiteral("number %1 appears twice").arg(x);
    }
    if (draw.nb < 0 || draw.nb > play_n)
        return QStringLiteral("the bonus %1 is outside 0..%2").arg(draw.nb).arg(play_n);
    if (draw.nb != 0 && std::find(draw.n.begin(), draw.n.begin() + count, draw.nb) != draw.n.begin() + count)
        return QStringLiteral("the bonus %1 repeats a number of the draw").arg(draw.nb);
    return {};
}
