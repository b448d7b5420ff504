#include "core/analyses/backtest.h"

#include "core/analyses/fability.h"
#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/text_files.h"
#include "core/base/text_table.h"
#include "core/systems/system_catalogue.h"
#include "core/tsets/tset_frequency.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using Payouts = std::array<double, backtest_classes>;

// What a ticket of each class is paid: one with the bonus takes the better of its two classes,
// so that a bonus class left at 0 never lowers a win.
Payouts class_payouts(const LottoParams& p) {
    const float plain[] = {p.prize2, p.prize3, p.prize4, p.prize5, p.prize6};
    const float bonus[] = {p.prize2b, p.prize3b, p.prize4b, p.prize5b, p.prize6b};
    Payouts pay{};
    for (int m = 2; m <= 6; ++m) {
        pay[class_index(m, false)] = plain[m - 2];
        pay[class_index(m, true)] = std::max(plain[m - 2], bonus[m - 2]);
    }
    return pay;
}

double expected_ticket_winnings(const ClassFigures& chances, const Payouts& pay) {
    double sum = 0;
    for (int c = 0; c < backtest_classes; ++c)
        sum += chances[c] * pay[c];
    return sum;
}

// The numbers of a ticket must be distinct numbers of the lotto; else says which is not.
QString numbers_fault(std::span<const int16_t> numbers, int16_t play_n) {
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] < 1 || numbers[i] > play_n)
            return QStringLiteral("%1 is not a number of the lotto (1 to %2)").arg(numbers[i]).arg(play_n);
        if (std::find(numbers.begin(), numbers.begin() + static_cast<qsizetype>(i), numbers[i]) !=
            numbers.begin() + static_cast<qsizetype>(i))
            return QStringLiteral("%1 is given twice").arg(numbers[i]);
    }
    return {};
}

// Each draw's random numbers come from the seed and its day alone, so that they differ from draw
// to draw and a draw plays the same numbers whatever period it is run in.
quint32 draw_seed(quint32 seed, double day) {
    const quint32 words[2] = {seed, static_cast<quint32>(static_cast<qint64>(day))};
    QRandomGenerator generator(words);
    return generator.generate();
}

std::optional<FrequencyRule> frequency_rule(WalkRule rule) {
    switch (rule) {
    case WalkRule::highest:
        return FrequencyRule::highest;
    case WalkRule::lowest:
        return FrequencyRule::lowest;
    case WalkRule::lowest_positive:
        return FrequencyRule::lowest_positive;
    case WalkRule::random:
        break;
    }
    return std::nullopt;
}

struct SetRowDay {
    double day;
    int row;
};

} // namespace

std::optional<double> BacktestResult::ratio(int index) const {
    const double expected = expected_hits[index];
    if (!(expected > 0))
        return std::nullopt;
    return static_cast<double>(hits[index]) / expected;
}

std::optional<double> BacktestResult::expected_return() const {
    if (!(cost > 0))
        return std::nullopt;
    return expected_winnings / cost - 1;
}

ClassFigures ticket_class_chances(int16_t play_n, int16_t pick_n, bool bonus_drawn) {
    ClassFigures chances{};
    const double all = binomial(play_n, pick_n);
    if (!(all > 0))
        return chances;
    const int rest = play_n - pick_n; // the numbers not drawn, the bonus among them
    for (int16_t m = 2; m <= std::min<int16_t>(pick_n, 6); ++m) {
        const double exactly_m = binomial(pick_n, m) *
                                 binomial(static_cast<int16_t>(rest), static_cast<int16_t>(pick_n - m)) / all;
        const double with_bonus = bonus_drawn && rest > 0 ? static_cast<double>(pick_n - m) / rest : 0.0;
        chances[class_index(m, false)] = exactly_m * (1 - with_bonus);
        chances[class_index(m, true)] = exactly_m * with_bonus;
    }
    return chances;
}

std::optional<double> ticket_expected_return(const LottoParams& params, bool bonus_drawn) {
    if (!(params.cost > 0))
        return std::nullopt;
    const double wins = expected_ticket_winnings(
        ticket_class_chances(params.play_n, params.pick_n, bonus_drawn), class_payouts(params));
    return wins / params.cost - 1;
}

BacktestResult run_backtest(const LottoParams& params, std::span<const DrawRec> draws, const QString& system,
                            const BacktestPeriod& period, const BacktestSource& source,
                            const BacktestProgress& progress) {
    const auto played = catalogue_system(system);
    if (!played) {
        BacktestResult result;
        result.error = QStringLiteral("there is no system %1").arg(system);
        return result;
    }
    return run_backtest(params, draws, *played, period, source, progress);
}

BacktestResult run_backtest(const LottoParams& params, std::span<const DrawRec> draws,
                            const PlayedSystem& chosen, const BacktestPeriod& period,
                            const BacktestSource& source, const BacktestProgress& progress) {
    BacktestResult result;
    const QString& system = chosen.name;
    const int16_t v = chosen.v, k = chosen.m, n = params.play_n;
    if (k != params.pick_n) {
        result.error = QStringLiteral("the system %1 plays tickets of %2 numbers; the lotto picks %3")
                           .arg(system, QString::number(k), QString::number(params.pick_n));
        return result;
    }
    if (v > n) {
        result.error = QStringLiteral("the system %1 is played on %2 numbers; the lotto has %3")
                           .arg(system, QString::number(v), QString::number(n));
        return result;
    }
    using Kind = BacktestSource::Kind;
    if (source.kind == Kind::fixed) {
        if (static_cast<int>(source.numbers.size()) != v) {
            result.error = QStringLiteral("the system %1 is played on %2 numbers; %3 were given")
                               .arg(system, QString::number(v), QString::number(source.numbers.size()));
            return result;
        }
        result.error = numbers_fault(source.numbers, n);
        if (!result.error.isEmpty())
            return result;
    } else if (source.kind == Kind::forecasts && source.set.size != v) {
        // Each text in one pass: a name holding "%1" is quoted as it is.
        result.error =
            QStringLiteral("the set %1 holds %2 numbers a row; the system %3 is played on %4")
                .arg(source.set.name, QString::number(source.set.size), system, QString::number(v));
        return result;
    } else if (source.kind == Kind::rule && source.window < (source.rule == WalkRule::random ? 0 : 1)) {
        result.error = QStringLiteral("the window must hold at least one draw");
        return result;
    }

    // Positions of every ticket, expanded once as the Systems window expands them.
    const std::vector<TicketPositions>& tickets = chosen.tickets;
    const int ticket_count = static_cast<int>(tickets.size());

    std::vector<DrawRec> sorted_copy;
    if (!std::is_sorted(draws.begin(), draws.end(),
                        [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; })) {
        sorted_copy.assign(draws.begin(), draws.end());
        std::stable_sort(sorted_copy.begin(), sorted_copy.end(),
                         [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; });
        draws = sorted_copy;
    }

    // The set's rows by day, in set order within a day; rows whose date does not read play nowhere.
    std::vector<SetRowDay> set_days;
    if (source.kind == Kind::forecasts) {
        for (int r = 0; r < static_cast<int>(source.set.rows.size()); ++r)
            if (const auto date = date_text_to_serial(source.set.rows[r].date, DatePart::DateTime))
                set_days.push_back({std::floor(*date), r});
        std::stable_sort(set_days.begin(), set_days.end(),
                         [](const SetRowDay& a, const SetRowDay& b) { return a.day < b.day; });
    }

    const Payouts pay = class_payouts(params);
    const ClassFigures chances[2] = {ticket_class_chances(n, k, false), ticket_class_chances(n, k, true)};
    const double expected_wins[2] = {expected_ticket_winnings(chances[0], pay),
                                     expected_ticket_winnings(chances[1], pay)};
    const double draw_cost = ticket_count * static_cast<double>(params.cost);
    const double from = std::floor(period.from), to = std::floor(period.to);

    std::vector<std::vector<int16_t>> plays;
    std::vector<int16_t> row_numbers(static_cast<size_t>(v));
    double expected_cumulative = 0;
    for (size_t i = 0; i < draws.size(); ++i) {
        // Often enough for a bar to move smoothly, seldom enough to cost nothing.
        if (progress && i % 512 == 0 && !progress(static_cast<qsizetype>(i), std::ssize(draws))) {
            result.cancelled = true;
            return result;
        }
        const DrawRec& draw = draws[i];
        const double day = std::floor(draw.date);
        if (day < from || day > to)
            continue;
        plays.clear();
        switch (source.kind) {
        case Kind::fixed:
            plays.push_back(source.numbers);
            break;
        case Kind::rule: {
            // Only draws of earlier days: a draw never sees itself, a later draw or one of its day.
            const auto first_of_day =
                std::lower_bound(draws.begin(), draws.end(), day,
                                 [](const DrawRec& d, double x) { return std::floor(d.date) < x; }) -
                draws.begin();
            if (first_of_day < source.window)
                break;
            if (const auto rule = frequency_rule(source.rule)) {
                const FrequencyCount count =
                    count_draws(draws.subspan(static_cast<size_t>(first_of_day - source.window),
                                              static_cast<size_t>(source.window)),
                                k, n);
                plays.push_back(choose_numbers(*rule, count, v));
            } else {
                plays.push_back(get_rand(v, n, draw_seed(source.seed, day)));
            }
            break;
        }
        case Kind::forecasts: {
            auto it = std::lower_bound(set_days.begin(), set_days.end(), day,
                                       [](const SetRowDay& s, double x) { return s.day < x; });
            // One forecast a draw: two rows for a day would play the draw twice.
            if (it != set_days.end() && it + 1 != set_days.end() && it->day == day && (it + 1)->day == day) {
                BacktestResult refused;
                refused.error =
                    QStringLiteral("the set %1 has more than one row for the draw of %2 (rows %3 and "
                                   "%4); keep one of them")
                        .arg(source.set.name, excerpt(source.set.rows[it->row].date),
                             QString::number(it->row + 1), QString::number((it + 1)->row + 1));
                return refused;
            }
            for (; it != set_days.end() && it->day == day; ++it) {
                const TsetRow& row = source.set.rows[it->row];
                QString fault;
                for (int j = 0; j < v && fault.isEmpty(); ++j) {
                    const QString cell = j < row.numbers.size() ? row.numbers[j] : QString();
                    row_numbers[j] = number_cell(cell);
                    if (row_numbers[j] == 0)
                        fault = QStringLiteral("'%1' is not a number of the lotto (1 to %2)")
                                    .arg(excerpt(cell), QString::number(n));
                }
                if (fault.isEmpty())
                    fault = numbers_fault(row_numbers, n);
                if (!fault.isEmpty()) {
                    BacktestResult refused;
                    refused.error = QStringLiteral("the set row of %1: %2").arg(excerpt(row.date), fault);
                    return refused;
                }
                plays.push_back(row_numbers);
            }
            break;
        }
        }

        std::array<bool, max_play_n + 1> drawn{};
        for (int j = 0; j < k; ++j)
            if (draw.n[j] >= 1 && draw.n[j] <= max_play_n)
                drawn[draw.n[j]] = true;
        const bool bonus_drawn = draw.nb != 0;
        for (const std::vector<int16_t>& numbers : plays) {
            BacktestDraw played;
            played.date = day;
            played.numbers = numbers;
            played.tickets = ticket_count;
            played.cost = draw_cost;
            for (const TicketPositions& positions : tickets) {
                int m = 0;
                bool bonus = false;
                for (int j = 0; j < k; ++j) {
                    const int16_t x = numbers[positions[j] - 1];
                    m += drawn[x] ? 1 : 0;
                    bonus = bonus || (bonus_drawn && x == draw.nb);
                }
                if (m < 2)
                    continue;
                ++played.hits[class_index(m, bonus)];
                played.winnings += pay[class_index(m, bonus)];
            }
            played.net = played.winnings - played.cost;
            result.net += played.net;
            played.cumulative = result.net;
            played.expected_winnings = ticket_count * expected_wins[bonus_drawn];
            expected_cumulative += played.expected_winnings - played.cost;
            played.expected_cumulative = expected_cumulative;

            result.tickets += ticket_count;
            result.cost += played.cost;
            result.winnings += played.winnings;
            result.expected_winnings += played.expected_winnings;
            for (int c = 0; c < backtest_classes; ++c) {
                result.hits[c] += played.hits[c];
                result.expected_hits[c] += ticket_count * chances[bonus_drawn][c];
            }
            result.draws.push_back(std::move(played));
        }
    }
    if (progress)
        progress(std::ssize(draws), std::ssize(draws));
    return result;
}

QString backtest_amount(double value) {
    const QString text = QString::number(value, 'f', 2);
    return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
}

std::optional<std::vector<int16_t>> parse_number_list(const QString& text, QString* bad) {
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    std::vector<int16_t> numbers;
    for (const QString& word : text.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = word.toInt(&ok);
        if (!ok || n < 0 || n > max_play_n) {
            *bad = word;
            return std::nullopt;
        }
        numbers.push_back(static_cast<int16_t>(n));
    }
    return numbers;
}

QString backtest_numbers_text(const std::vector<int16_t>& numbers) {
    QStringList texts;
    for (int16_t n : numbers)
        texts << QString::number(n);
    return texts.join(u' ');
}

QByteArray backtest_csv(const BacktestResult& result) {
    QString csv = QStringLiteral("Date,Numbers,Tickets");
    for (int c = 0; c < backtest_classes; ++c)
        csv += u',' + fa_class_label(c + 1);
    csv += QStringLiteral(",Winnings,Cost,Net,Cumulative\n");
    for (const BacktestDraw& d : result.draws) {
        csv += serial_to_date(d.date).toString(Qt::ISODate) + u',' + backtest_numbers_text(d.numbers) + u',' +
               QString::number(d.tickets);
        for (qint64 h : d.hits)
            csv += u',' + QString::number(h);
        for (double amount : {d.winnings, d.cost, d.net, d.cumulative})
            csv += u',' + backtest_amount(amount);
        csv += u'\n';
    }
    return csv.toUtf8();
}

void fill_backtest_grid(TextTable& grid, const BacktestResult& result) {
    QStringList header{QStringLiteral("Date"), QStringLiteral("Numbers"), QStringLiteral("Tickets")};
    for (int c = 0; c < backtest_classes; ++c)
        header << fa_class_label(c + 1);
    header << QStringLiteral("Winnings") << QStringLiteral("Cost") << QStringLiteral("Net")
           << QStringLiteral("Cumulative");
    std::vector<QStringList> rows{header};
    rows.reserve(result.draws.size() + 1);
    for (const BacktestDraw& d : result.draws) {
        QStringList cells{date_to_text(serial_to_date(d.date)), backtest_numbers_text(d.numbers),
                          QString::number(d.tickets)};
        for (qint64 h : d.hits)
            cells << QString::number(h);
        for (double amount : {d.winnings, d.cost, d.net, d.cumulative})
            cells << backtest_amount(amount);
        rows.push_back(std::move(cells));
    }
    // Built aside and taken whole: emptying the cells in place would keep the old rows' places.
    TextTable fresh;
    fresh.set_cols(static_cast<int>(header.size()));
    fresh.append_rows(rows);
    fresh.set_fixed_rows(1);
    grid.take(fresh);
}
