#include "core/tsets/tset_frequency.h"

#include "core/base/convert.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_files.h"

#include <QRandomGenerator>
#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

namespace {

using DrawCells = std::array<QStringView, draws_col::count>;

DrawCells draw_cells(const TextTable& draws, int row) {
    DrawCells cells{};
    for (int c = 0; c < draws_col::count; ++c)
        cells[c] = draws.text_view(row, c);
    return cells;
}

bool is_blank_draw(const DrawCells& cells) {
    for (int c = 0; c < draws_col::count; ++c)
        if (c != draws_col::serial && !cells[c].trimmed().isEmpty())
            return false;
    return true;
}

// A drawn number: one or two plain digits are read at once, anything else as the user's text.
std::optional<int16_t> drawn_number(QStringView cell) {
    if (cell.size() == 1 && cell[0].isDigit() && cell[0].unicode() < 128)
        return static_cast<int16_t>(cell[0].unicode() - u'0');
    if (cell.size() == 2 && cell[0].isDigit() && cell[1].isDigit() && cell[0].unicode() < 128 &&
        cell[1].unicode() < 128)
        return static_cast<int16_t>((cell[0].unicode() - u'0') * 10 + cell[1].unicode() - u'0');
    return text_to_int16(cell.toString());
}

void order_by_frequency(FrequencyCount& count, int play_n) {
    count.order.resize(play_n);
    std::iota(count.order.begin(), count.order.end(), int16_t{1});
    std::stable_sort(count.order.begin(), count.order.end(),
                     [&](int16_t a, int16_t b) { return count.counts[a] > count.counts[b]; });
}

} // namespace

void sort_draws_by_serial(TextTable& draws) {
    // A row without a serial is one the Lotto window has begun (New) and not yet filled: it stays
    // at the end, where that window keeps writing it, instead of sorting to the top as a 0.
    std::vector<double> keys;
    keys.reserve(draws.rows() > 1 ? draws.rows() - 1 : 0);
    for (int r = 1; r < draws.rows(); ++r) {
        const QStringView cell = draws.text_view(r, draws_col::serial);
        keys.push_back(cell.trimmed().isEmpty() ? std::numeric_limits<double>::infinity()
                                                : TextTable::number_of(cell).value_or(0.0));
    }
    draws.sort_rows_by_keys(1, keys);
}

FrequencyCount calc_fr(const TextTable& draws, double from, double to, int step, int pick_n, int play_n) {
    FrequencyCount result;
    if (draws.rows() - 1 < 3) {
        result.fault = FrequencyFault::no_draws;
        return result;
    }
    if (step < 1 || pick_n < 1 || pick_n > 6 || play_n < 1 || play_n > max_lotto_number) {
        result.fault = FrequencyFault::bad_data;
        return result;
    }
    const double from_day = std::floor(from), to_day = std::floor(to);
    int first = 0, last = draws.rows() - 1;
    for (int r = 1; r < draws.rows(); ++r) {
        const DrawCells cells = draw_cells(draws, r);
        if (is_blank_draw(cells))
            continue;
        const auto date = date_text_to_serial(cells[draws_col::date], DatePart::DateTime);
        if (!date) {
            result.fault = FrequencyFault::bad_data;
            return result;
        }
        if (first == 0 && std::floor(*date) >= from_day)
            first = r;
        if (*date == to) {
            last = r;
            break;
        }
        if (std::floor(*date) > to_day) {
            last = r - 1;
            break;
        }
    }
    if (first == 0) {
        result.fault = FrequencyFault::no_criteria;
        return result;
    }
    // Blank rows sort to the top (no serial), so they never stand between first and last; they
    // are passed over all the same.
    for (int r = first; r <= last; r += step) {
        const DrawCells cells = draw_cells(draws, r);
        if (is_blank_draw(cells))
            continue;
        for (int c = draws_col::n1; c < draws_col::n1 + pick_n; ++c) {
            const auto n = drawn_number(cells[c]);
            if (!n || *n < 0 || *n > max_lotto_number) {
                result.fault = FrequencyFault::bad_data;
                result.draws = 0;
                result.counts.fill(0);
                return result;
            }
            ++result.counts[*n];
        }
        ++result.draws;
    }
    order_by_frequency(result, play_n);
    return result;
}

FrequencyCount count_draws(std::span<const DrawRec> draws, int pick_n, int play_n) {
    FrequencyCount result;
    const int picked = std::clamp(pick_n, 0, static_cast<int>(DrawRec{}.n.size()));
    for (const DrawRec& d : draws) {
        for (int i = 0; i < picked; ++i)
            if (d.n[i] >= 0 && d.n[i] <= max_lotto_number)
                ++result.counts[d.n[i]];
        ++result.draws;
    }
    order_by_frequency(result, std::clamp(play_n, 0, max_lotto_number));
    return result;
}

void fill_frequency_table(TextTable& table, const FrequencyCount& count) {
    const int n = static_cast<int>(count.order.size());
    table.set_rows(1);
    table.set_cols(2);
    table.clear();
    table.set_fixed_rows(1);
    table.set_fixed_cols(0);
    table.set_text(0, 0, QStringLiteral("Number"));
    table.set_text(0, 1, QStringLiteral("Frequency"));
    std::vector<QStringList> rows;
    rows.reserve(n + 2);
    for (int16_t number : count.order)
        rows.push_back({QString::number(number), QString::number(count.counts[number])});
    rows.push_back({QString(), QString()});
    rows.push_back({QStringLiteral("Total draws"), QString::number(count.draws)});
    table.append_rows(rows);
}

std::vector<int16_t> choose_numbers(FrequencyRule rule, const FrequencyCount& count, int size) {
    const auto& order = count.order;
    const int n = static_cast<int>(order.size());
    std::vector<int16_t> chosen;
    if (size < 0 || size > n)
        return chosen;
    switch (rule) {
    case FrequencyRule::highest:
        chosen.assign(order.begin(), order.begin() + size);
        break;
    case FrequencyRule::lowest:
        chosen.assign(order.rbegin(), order.rbegin() + size);
        break;
    case FrequencyRule::lowest_positive: {
        int last = 0; // the last row, counted from 1, whose frequency is positive
        while (last < n && count.counts[order[last]] > 0)
            ++last;
        const int first = std::max(last - size + 1, 1);
        chosen.assign(order.begin() + (first - 1), order.begin() + (first - 1 + size));
        break;
    }
    }
    return chosen;
}

std::vector<int16_t> get_rand(int size, int n, quint32 seed) {
    std::vector<int16_t> chosen;
    if (size < 0 || size > n)
        return chosen;
    QRandomGenerator rng(seed);
    while (static_cast<int>(chosen.size()) < size) {
        const auto number = static_cast<int16_t>(static_cast<int>(rng.generateDouble() * n) + 1);
        if (std::find(chosen.begin(), chosen.end(), number) == chosen.end())
            chosen.push_back(number);
    }
    return chosen;
}
