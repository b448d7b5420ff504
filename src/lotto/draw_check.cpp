#include "lotto/draw_check.h"

#include "lotto/draw_import.h"

#include "core/convert.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

// The window either side of a date in which its weekday's share of the draws is measured.
constexpr int64_t window_days = 35;

int64_t day_of(double serial) {
    return static_cast<int64_t>(std::floor(serial));
}

QString weekday_name(int64_t day) {
    return QLocale::c().dayName(static_cast<int>(((day + 5) % 7 + 7) % 7) + 1);
}

QString iso_text(int64_t day) {
    return serial_to_date(static_cast<double>(day)).toString(Qt::ISODate);
}

// Draw days of one stretch of the history (no gap wider than two windows), as flags and as
// running counts over the days of the same weekday, so that any window's count is two lookups.
class Stretch {
  public:
    Stretch(int64_t first, const std::vector<int64_t>& days) : first_(first) {
        const size_t span = static_cast<size_t>(days.back() - first + 1);
        has_.assign(span, 0);
        for (const int64_t d : days)
            has_[static_cast<size_t>(d - first)] = 1;
        running_.resize(span);
        for (size_t i = 0; i < span; ++i)
            running_[i] = has_[i] + (i >= 7 ? running_[i - 7] : 0);
    }
    int64_t span() const { return static_cast<int64_t>(has_.size()); }
    bool has(int64_t i) const { return has_[static_cast<size_t>(i)] != 0; }
    int64_t first() const { return first_; }

    // Days of i's weekday within [lo, hi], and how many of them hold a draw.
    std::pair<int, int> share(int64_t i, int64_t lo, int64_t hi) const {
        lo = std::max<int64_t>(lo, 0);
        hi = std::min<int64_t>(hi, span() - 1);
        const int64_t top = hi - ((hi - i) % 7 + 7) % 7;
        const int64_t bottom = lo + ((i - lo) % 7 + 7) % 7;
        if (bottom > top)
            return {0, 0};
        const int draws = running_[static_cast<size_t>(top)] -
                          (bottom >= 7 ? running_[static_cast<size_t>(bottom - 7)] : 0);
        return {static_cast<int>((top - bottom) / 7 + 1), draws};
    }

  private:
    int64_t first_;
    std::vector<uint8_t> has_;
    std::vector<int> running_;
};

enum class DayVerdict { fine, missing, suspicious };

DayVerdict judge(const Stretch& s, int64_t i) {
    const auto [dates, draws] = s.share(i, i - window_days, i + window_days);
    // Too few weeks to tell which weekdays the game uses.
    if (dates < 4)
        return DayVerdict::fine;
    const bool clear = draws * 4 >= dates;
    if (s.has(i))
        return clear ? DayVerdict::fine : DayVerdict::suspicious;
    if (!clear)
        return DayVerdict::fine;
    // A weekday counts as missing only between draws on it, so that the weeks before a game
    // takes up a second draw day, or after it drops one, are not reported.
    const bool before = i < 7 || s.share(i, i - window_days, i - 1).second > 0;
    const bool after = i > s.span() - 8 || s.share(i, i + 1, i + window_days).second > 0;
    return before && after ? DayVerdict::missing : DayVerdict::fine;
}

} // namespace

HistoryCheck check_history(const std::vector<DrawRec>& history) {
    HistoryCheck out;
    std::vector<size_t> order(history.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    sort_stable(order.begin(), order.end(),
                [&](size_t a, size_t b) { return day_of(history[a].date) < day_of(history[b].date); });

    std::vector<int64_t> days;
    for (size_t k = 0; k < order.size();) {
        const int64_t day = day_of(history[order[k]].date);
        size_t end = k;
        while (end < order.size() && day_of(history[order[end]].date) == day)
            ++end;
        if (end - k > 1)
            out.crowded.emplace_back(static_cast<double>(day), static_cast<int>(end - k));
        days.push_back(day);
        k = end;
    }

    // Stretches apart by more than two windows share no window.
    size_t next_draw = 0;
    for (size_t a = 0; a < days.size();) {
        size_t b = a + 1;
        while (b < days.size() && days[b] - days[b - 1] <= 2 * window_days)
            ++b;
        const std::vector<int64_t> part(days.begin() + static_cast<std::ptrdiff_t>(a),
                                        days.begin() + static_cast<std::ptrdiff_t>(b));
        const Stretch stretch(part.front(), part);
        for (int64_t i = 0; i < stretch.span(); ++i) {
            const DayVerdict verdict = judge(stretch, i);
            const int64_t day = stretch.first() + i;
            if (verdict == DayVerdict::missing)
                out.missing.push_back(static_cast<double>(day));
            if (!stretch.has(i))
                continue;
            while (next_draw < order.size() && day_of(history[order[next_draw]].date) == day) {
                if (verdict == DayVerdict::suspicious)
                    out.suspicious.push_back(order[next_draw]);
                ++next_draw;
            }
        }
        a = b;
    }
    return out;
}

std::vector<DrawNumberGap> draw_number_gaps(std::vector<std::pair<int64_t, double>> numbered) {
    std::sort(numbered.begin(), numbered.end());
    std::vector<DrawNumberGap> gaps;
    for (size_t i = 1; i < numbered.size(); ++i) {
        const auto& [was, was_date] = numbered[i - 1];
        const auto& [now, now_date] = numbered[i];
        if (now - was > 1)
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
