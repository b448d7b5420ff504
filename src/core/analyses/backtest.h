#pragma once

#include "core/lotto/lotto_records.h"
#include "core/systems/played_system.h"
#include "core/tsets/tset_records.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <vector>

// Backtest: a catalogue system played on every draw of a period with numbers chosen one way, scored
// as the prize table pays, beside what chance alone gives the same tickets on the same draws.

// The classes in the order 2, 2+bonus, 3, 3+bonus, ... 6, 6+bonus.
inline constexpr int backtest_classes = 10;
constexpr int class_index(int m, bool bonus) {
    return 2 * (m - 2) + (bonus ? 1 : 0);
}
// (fa_class_label(index + 1) names a class.)

enum class WalkRule { highest, lowest, lowest_positive, random };

// Where the numbers of each draw come from.
struct BacktestSource {
    enum class Kind { forecasts, fixed, rule };
    Kind kind = Kind::fixed;
    TsetRec set;                  // forecasts: a draw is played with the row of its day (two refuse)
    std::vector<int16_t> numbers; // fixed: played on every draw
    WalkRule rule = WalkRule::highest;
    int window = 0;   // rule: the draws of earlier days it looks at, the latest first
    quint32 seed = 0; // random: with the draw's day, the seed of that draw's numbers
};

// Day serials, whole days, both ends included.
struct BacktestPeriod {
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();
};

using ClassHits = std::array<qint64, backtest_classes>;
using ClassFigures = std::array<double, backtest_classes>;

struct BacktestDraw {
    double date = 0; // day serial
    std::vector<int16_t> numbers;
    int tickets = 0;
    double cost = 0;
    ClassHits hits{};
    double winnings = 0;
    double net = 0;
    double cumulative = 0;
    double expected_winnings = 0;
    double expected_cumulative = 0; // expected winnings less cost, summed
};

struct BacktestResult {
    QString error;          // what does not fit; nothing was played when it is set
    bool cancelled = false; // stopped by its progress callback; the figures are those of a part
    std::vector<BacktestDraw> draws;
    qint64 tickets = 0;
    double cost = 0;
    double winnings = 0;
    double net = 0;
    ClassHits hits{};
    ClassFigures expected_hits{};
    double expected_winnings = 0;

    // Observed over expected hits; nullopt where chance gives none.
    std::optional<double> ratio(int index) const;
    // Expected winnings per unit stake less 1 over the tickets played; nullopt when nothing cost.
    std::optional<double> expected_return() const;
};

// The chance of one ticket of K distinct numbers falling into each class, for a draw with or
// without a bonus number.
ClassFigures ticket_class_chances(int16_t play_n, int16_t pick_n, bool bonus_drawn);
// What one ticket wins on average, per unit stake, less 1: the true expected return of a play.
std::optional<double> ticket_expected_return(const LottoParams& params, bool bonus_drawn);

// Told now and then how many of the lotto's draws a run has gone through; false stops the run.
using BacktestProgress = std::function<bool(qsizetype done, qsizetype total)>;

// draws: the lotto's draws (sorted by day here when they are not). The system must be one of the
// catalogue with tickets of the lotto's pick_n numbers.
BacktestResult run_backtest(const LottoParams& params, std::span<const DrawRec> draws, const QString& system,
                            const BacktestPeriod& period, const BacktestSource& source,
                            const BacktestProgress& progress = {});
// The same for any system, a designed one too, with its tickets at hand.
BacktestResult run_backtest(const LottoParams& params, std::span<const DrawRec> draws,
                            const PlayedSystem& played, const BacktestPeriod& period,
                            const BacktestSource& source, const BacktestProgress& progress = {});

// An amount or an expectation as the backtest writes it: two decimals and a dot whatever the locale.
QString backtest_amount(double value);
// Numbers to play typed as a list, blanks or commas between; nullopt with *bad set to the first
// word that is not a number of a lotto (0..max_play_n). An empty list is empty.
std::optional<std::vector<int16_t>> parse_number_list(const QString& text, QString* bad);
// The numbers played, separated by blanks.
QString backtest_numbers_text(const std::vector<int16_t>& numbers);
// The played draws as CSV, a header line first: date (ISO), numbers, tickets, hits per class,
// winnings, cost, net and the running net.
QByteArray backtest_csv(const BacktestResult& result);

class TextTable;
// Puts the played draws into grid in place of whatever it held, a header row first (fixed): date,
// numbers, tickets, hits per class, winnings, cost, net and the running net. The grid's views see
// one reset, so a second run never shows the first one's rows or an empty header.
void fill_backtest_grid(TextTable& grid, const BacktestResult& result);
