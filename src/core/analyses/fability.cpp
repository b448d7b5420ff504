#include "core/analyses/fability.h"

#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_document.h"
#include "core/tsets/tset_document.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int draws_date_col = 0;
constexpr int draws_first_number_col = 2;
constexpr int draws_bonus_col = 8;
constexpr int max_pick = 7;
constexpr int max_set_size = 20;

int whole_day(double serial) {
    return static_cast<int>(std::floor(serial));
}

// The ISO form, which every locale accepts, read without the locale's machinery; the same value as
// date_text_to_serial gives it, which reads every other form.
std::optional<double> cell_date(QStringView text) {
    if (text.size() == 10 && text[4] == u'-' && text[7] == u'-') {
        int f[3] = {0, 0, 0};
        const int starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
        bool digits = true;
        for (int i = 0; i < 3 && digits; ++i)
            for (int p = starts[i]; p < starts[i] + lengths[i]; ++p) {
                const char16_t c = text[p].unicode();
                digits = digits && c >= u'0' && c <= u'9';
                f[i] = f[i] * 10 + (c - u'0');
            }
        if (digits) {
            const QDate date(f[0], f[1], f[2]);
            return date.isValid() ? std::optional<double>(date_to_serial(date)) : std::nullopt;
        }
    }
    return date_text_to_serial(text, DatePart::DateTime);
}

void row_cells(const TextTable& grid, int row, int first_col, std::span<QStringView> out) {
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = grid.text_view(row, first_col + static_cast<int>(i));
}

} // namespace

QString fa_class_label(int row) {
    const int k = (row + 3) / 2;
    return row % 2 ? QString::number(k) : QStringLiteral("%1+bonus").arg(k);
}

void lay_out_fa_grid(TextTable& grid, int rows, const QString& factor_header) {
    grid.set_cols(2);
    grid.set_rows(rows);
    grid.set_fixed_rows(1);
    grid.set_fixed_cols(1);
    grid.set_text(0, 0, QStringLiteral("Prizes"));
    grid.set_text(0, 1, factor_header);
}

FaTable fa_expected(int16_t play_n, int16_t pick_n, int16_t set_size) {
    FaTable t{};
    const float p1 = hypergeometric(play_n, pick_n, set_size, 1);
    for (int16_t k = 2; k <= 6; ++k) {
        t[k][0] = hypergeometric(play_n, pick_n, set_size, k);
        t[k][1] = static_cast<float>(static_cast<double>(t[k][0]) * p1);
    }
    return t;
}

std::vector<std::optional<double>> grid_dates(const TextTable& grid) {
    std::vector<std::optional<double>> dates;
    dates.reserve(grid.rows() > 1 ? grid.rows() - 1 : 0);
    std::array<QStringView, 1> cell;
    for (int r = 1; r < grid.rows(); ++r) {
        row_cells(grid, r, draws_date_col, cell);
        dates.push_back(cell_date(cell[0]));
    }
    return dates;
}

int find_start(double from, std::span<const std::optional<double>> dates) {
    const int day = whole_day(from);
    for (size_t i = 0; i < dates.size(); ++i) {
        if (!dates[i])
            return 0;
        if (whole_day(*dates[i]) >= day)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int find_end(double to, std::span<const std::optional<double>> dates) {
    const int day = whole_day(to);
    for (size_t i = 0; i < dates.size(); ++i) {
        if (!dates[i])
            break;
        if (whole_day(*dates[i]) > day)
            return static_cast<int>(i);
    }
    return static_cast<int>(dates.size());
}

int intersect(std::span<const int16_t> a, std::span<const int16_t> b) {
    int m = 0;
    for (int16_t x : a)
        if (x > 0)
            m += static_cast<int>(std::count(b.begin(), b.end(), x));
    return m;
}

int16_t number_cell(QStringView text) {
    // Plain digits are by far the common case; anything else goes through the locale.
    const QStringView t = text.trimmed();
    if (!t.isEmpty() && t.size() <= 4 &&
        std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        int v = 0;
        for (QChar c : t)
            v = v * 10 + (c.unicode() - u'0');
        return static_cast<int16_t>(v);
    }
    return text_to_int16(t.toString()).value_or(0);
}

FaCounts count_fa_hits(const TextTable& draws, std::span<const std::optional<double>> draw_dates,
                       FaRows draw_rows, const TextTable& sets,
                       std::span<const std::optional<double>> set_dates, FaRows set_rows, int16_t pick_n,
                       int16_t set_size) {
    FaCounts counts;
    // The set rows of the period by date and time, in grid order within one value, so that
    // looking a draw up gives the same pairs as trying every set row in turn.
    std::vector<std::pair<double, int>> by_date;
    for (int r = std::max(set_rows.first, 1); r <= set_rows.last && r <= static_cast<int>(set_dates.size());
         ++r)
        if (set_dates[r - 1])
            by_date.emplace_back(*set_dates[r - 1], r);
    std::stable_sort(by_date.begin(), by_date.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });

    // Only the numbers that the grids have columns for.
    const int k_count =
        std::clamp<int>(pick_n, 0, std::clamp(draws.cols() - draws_first_number_col, 0, max_pick));
    const int s_count = std::clamp<int>(set_size, 0, std::clamp(sets.cols() - 1, 0, max_set_size));
    std::array<int16_t, max_pick> drawn{};
    std::array<int16_t, max_set_size> set{};
    std::array<QStringView, draws_bonus_col - draws_first_number_col + 1> draw_cells;
    std::array<QStringView, max_set_size> set_cells;
    const std::span<const int16_t> drawn_span(drawn.data(), static_cast<size_t>(k_count));
    const std::span<const int16_t> set_span(set.data(), static_cast<size_t>(s_count));

    for (int d = std::max(draw_rows.first, 1);
         d <= draw_rows.last && d <= static_cast<int>(draw_dates.size()); ++d) {
        if (!draw_dates[d - 1])
            continue;
        const double when = *draw_dates[d - 1];
        auto it = std::lower_bound(by_date.begin(), by_date.end(), when,
                                   [](const auto& x, double v) { return x.first < v; });
        if (it == by_date.end() || it->first != when)
            continue;
        row_cells(draws, d, draws_first_number_col, draw_cells);
        for (int i = 0; i < k_count; ++i)
            drawn[i] = number_cell(draw_cells[i]);
        const int16_t bonus = number_cell(draw_cells[draws_bonus_col - draws_first_number_col]);
        for (; it != by_date.end() && it->first == when; ++it) {
            row_cells(sets, it->second, 1, set_cells);
            for (int j = 0; j < s_count; ++j)
                set[j] = number_cell(set_cells[j]);
            const int m = intersect(drawn_span, set_span);
            // A row holding a number twice can count more matches than there are classes.
            const bool has_class = m <= 6;
            if (m > 0 && has_class)
                ++counts.hits[m][0];
            ++counts.evaluated;
            if (bonus != 0 && has_class &&
                std::find(set_span.begin(), set_span.end(), bonus) != set_span.end())
                ++counts.hits[m][1];
        }
    }
    return counts;
}

QString fa_ratio_text(int hits, int evaluated, float expected) {
    if (evaluated < 1 || !(expected > 0) || !std::isfinite(expected))
        return QStringLiteral("1");
    const double ratio = hits / (static_cast<double>(evaluated) * static_cast<double>(expected));
    if (!(ratio > 1) || !std::isfinite(ratio))
        return QStringLiteral("1");
    return double_to_text(std::nearbyint(ratio * 100) / 100);
}

std::array<QString, fa_class_rows> fa_result_texts(const FaCounts& counts, const FaTable& expected) {
    std::array<QString, fa_class_rows> texts;
    for (int k = 2; k <= 6; ++k)
        for (int b = 0; b <= 1; ++b)
            texts[2 * k - 4 + b] = fa_ratio_text(counts.hits[k][b], counts.evaluated, expected[k][b]);
    return texts;
}

FaRun run_fa(const LottoDocument& lotto, const TsetDocument& tset, double from, double to) {
    FaRun run;
    const int16_t play_n = lotto.params().play_n, pick_n = lotto.params().pick_n;
    if (lotto.name().isEmpty())
        run.status = FaRun::no_lotto;
    else if (play_n == 0 || pick_n == 0)
        run.status = FaRun::bad_lotto;
    else if (tset.name().isEmpty())
        run.status = FaRun::no_tset;
    else if (tset.size() == 0)
        run.status = FaRun::bad_tset_size;
    if (run.status != FaRun::done)
        return run;
    run.expected = fa_expected(play_n, pick_n, tset.size());
    run.texts.fill(QStringLiteral("1"));
    const auto draw_dates = grid_dates(lotto.draws());
    const auto set_dates = grid_dates(tset.rows());
    const FaRows draw_rows{find_start(from, draw_dates), find_end(to, draw_dates)};
    const FaRows set_rows{find_start(from, set_dates), find_end(to, set_dates)};
    if (!draw_rows.first || !draw_rows.last || !set_rows.first || !set_rows.last)
        return run;
    const FaCounts counts = count_fa_hits(lotto.draws(), draw_dates, draw_rows, tset.rows(), set_dates,
                                          set_rows, pick_n, tset.size());
    run.counted = true;
    run.evaluated = counts.evaluated;
    run.texts = fa_result_texts(counts, run.expected);
    return run;
}

QString fa_basis_text(const QString& lotto, const QString& set, double from, double to) {
    return QStringLiteral("%1, set %2, %3 to %4")
        .arg(lotto, set, date_to_text(serial_to_date(from)), date_to_text(serial_to_date(to)));
}
