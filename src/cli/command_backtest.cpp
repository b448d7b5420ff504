#include "cli/command_support.h"

#include "core/analyses/backtest.h"
#include "core/analyses/fability.h"
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/lotto/delimited_text.h"
#include "core/lotto/draw_check.h"
#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_entry.h"
#include "core/lotto/lotto_files.h"
#include "core/session/start_up.h"
#include "core/tsets/tset_files.h"
#include "core/wheels/designed_systems.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>

namespace cli {

namespace {

template <typename Value, typename Format>
QString class_line(const std::array<Value, backtest_classes>& values, Format format) {
    QStringList items;
    for (int c = 0; c < backtest_classes; ++c)
        items << QStringLiteral("%1=%2").arg(fa_class_label(c + 1), format(values[c]));
    return items.join(u' ');
}

// The targeted set SIZE/NAME of the data folder, as the Targeted Sets window reads it.
std::optional<TsetRec> read_named_set(const QString& data_dir, const QString& text, QString& error) {
    const qsizetype slash = text.indexOf(u'/');
    const auto size = slash > 0 ? tset_size_from_text(text.left(slash)) : std::nullopt;
    const QString name = slash > 0 ? text.mid(slash + 1) : QString();
    if (!size || !is_safe_folder_name(name)) {
        error =
            QStringLiteral("--set takes SIZE/NAME, a size of %1 to %2 and the set's name, as 10/Forecaster1")
                .arg(tset_min_size)
                .arg(tset_max_size);
        return std::nullopt;
    }
    const QString path = join_path(size_folder(tsets_folder(data_dir), *size), name);
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("there is no set %1 (%2)").arg(text, QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    QString why;
    auto set = read_tset_file(path, name, *size, &why);
    if (!set)
        error = QStringLiteral("the set %1 cannot be read (%2: %3)")
                    .arg(text, QDir::toNativeSeparators(path), why);
    else if (set->unread_line)
        error = QStringLiteral(
                    "the set %1 does not read past line %2; correct it in the Targeted Sets window first")
                    .arg(text, QString::number(set->unread_line));
    else if (const auto order = tset_dates_out_of_order(*set))
        error = QStringLiteral("the dates of the set %1 are out of order: line %2 (%3) comes after line %4 "
                               "(%5); open and save the set in the Targeted Sets window to sort it")
                    .arg(text, QString::number(order->second),
                         excerpt(set->rows[static_cast<size_t>(order->second - 1)].date),
                         QString::number(order->first),
                         excerpt(set->rows[static_cast<size_t>(order->first - 1)].date));
    if (!error.isEmpty())
        return std::nullopt;
    set->name = text;
    return set;
}

std::optional<WalkRule> walk_rule(const QString& text) {
    if (text == QLatin1String("highest"))
        return WalkRule::highest;
    if (text == QLatin1String("lowest"))
        return WalkRule::lowest;
    if (text == QLatin1String("lowest-positive"))
        return WalkRule::lowest_positive;
    if (text == QLatin1String("random"))
        return WalkRule::random;
    return std::nullopt;
}

// Where the numbers come from, as the options give it; the exit status when they do not fit.
std::optional<int> backtest_source(const QCommandLineParser& parser, const Context& ctx,
                                   BacktestSource& source) {
    const bool by_set = parser.isSet(QStringLiteral("set"));
    const bool by_numbers = parser.isSet(QStringLiteral("numbers"));
    const bool by_rule = parser.isSet(QStringLiteral("rule"));
    if (int(by_set) + int(by_numbers) + int(by_rule) != 1)
        return fail(ctx.command, QStringLiteral("give one of --set, --numbers and --rule"));
    if (!by_rule && (parser.isSet(QStringLiteral("window")) || parser.isSet(QStringLiteral("seed"))))
        return fail(ctx.command, QStringLiteral("--window and --seed go with --rule"));
    if (by_set) {
        QString error;
        auto set = read_named_set(ctx.data_dir, parser.value(QStringLiteral("set")), error);
        if (!set)
            return fail(ctx.command, error);
        source.kind = BacktestSource::Kind::forecasts;
        source.set = std::move(*set);
    } else if (by_numbers) {
        source.kind = BacktestSource::Kind::fixed;
        QString bad;
        auto numbers = parse_number_list(parser.value(QStringLiteral("numbers")), &bad);
        if (!numbers)
            return fail(ctx.command, QStringLiteral("--numbers: '%1' is not a number of a lotto").arg(bad));
        source.numbers = std::move(*numbers);
    } else {
        source.kind = BacktestSource::Kind::rule;
        const auto rule = walk_rule(parser.value(QStringLiteral("rule")));
        if (!rule)
            return fail(ctx.command,
                        QStringLiteral("--rule takes highest, lowest, lowest-positive or random"));
        source.rule = *rule;
        if (!parser.isSet(QStringLiteral("window")))
            return fail(ctx.command, QStringLiteral("--rule needs --window W, the earlier draws to count"));
        bool ok = false;
        source.window = parser.value(QStringLiteral("window")).toInt(&ok);
        if (!ok || source.window < 0)
            return fail(ctx.command, QStringLiteral("--window takes a count of draws, as 100"));
        if (parser.isSet(QStringLiteral("seed"))) {
            if (source.rule != WalkRule::random)
                return fail(ctx.command, QStringLiteral("--seed goes with --rule random"));
            source.seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
            if (!ok)
                return fail(ctx.command, QStringLiteral("--seed takes a whole number from 0 to 4294967295"));
        } else {
            source.seed = 1;
        }
    }
    return std::nullopt;
}

} // namespace

int run_backtest_command(const QStringList& arguments, const QString& program_dir,
                         const QString& user_data_dir) {
    Context ctx{QStringLiteral("backtest"), {}, {}};
    QCommandLineParser parser;
    parser.addOption(option(
        "system", "The system to play: one of the catalogue, as 10_3_6, or a designed one by its name.",
        "name"));
    parser.addOption(
        option("set", "Play each draw with the row of its date in the targeted set SIZE/NAME.", "SIZE/NAME"));
    parser.addOption(option("numbers", "Play these numbers, as many as the system takes, on every draw.",
                            "\"N1 N2 ...\""));
    parser.addOption(option("rule",
                            "Choose each draw's numbers by their frequencies in the draws before it "
                            "(highest, lowest, lowest-positive), or at random.",
                            "rule"));
    parser.addOption(option("window",
                            "With --rule: the earlier draws counted; a draw with fewer before it is not "
                            "played.",
                            "W"));
    parser.addOption(option("seed", "With --rule random: the seed (1 when not given).", "S"));
    parser.addOption(option("from", "Play the draws from this date on.", "date"));
    parser.addOption(option("to", "Play the draws up to this date.", "date"));
    parser.addOption(option("csv", "Also write the played draws, one a line, to FILE.", "FILE"));
    if (const auto exit = parse(parser, arguments,
                                QStringLiteral("--lotto NAME --system NAME (--set SIZE/NAME | --numbers "
                                               "\"N1 N2 ...\" | --rule RULE --window W [--seed S]) "
                                               "[--from DATE] [--to DATE] [--csv FILE]"),
                                0, ctx, program_dir, user_data_dir))
        return *exit;
    const QString system = parser.value(QStringLiteral("system"));
    if (system.isEmpty())
        return fail(ctx.command, QStringLiteral("--system NAME is needed, as 10_3_6"));
    BacktestPeriod period;
    std::optional<QDate> from, to;
    if (const auto exit = period_options(parser, ctx.command, from, to))
        return *exit;
    if (from)
        period.from = date_to_serial(*from);
    if (to)
        period.to = date_to_serial(*to);
    if (period.from > period.to)
        return fail(ctx.command, QStringLiteral("--from comes after --to"));
    const QString csv_file = parser.value(QStringLiteral("csv"));
    if (parser.isSet(QStringLiteral("csv")))
        if (const QString refusal = export_target_refusal(csv_file, ctx.data_dir, true); !refusal.isEmpty())
            return fail(ctx.command, QStringLiteral("--csv: %1").arg(refusal));
    BacktestSource source;
    if (const auto exit = backtest_source(parser, ctx, source))
        return *exit;
    StoredLotto lotto;
    if (const auto exit = open_lotto(ctx, lotto))
        return *exit;
    if (const auto impossible = impossible_draws(lotto); !impossible.empty())
        return fail(
            ctx.command,
            QStringLiteral("the draw '%1' of %2 cannot be a draw of the lotto (%3); correct "
                           "it in the Lotto window first")
                .arg(impossible.front().first,
                     QDir::toNativeSeparators(join_path(lotto.folder, QLatin1String(draws_file_name))),
                     impossible.front().second));

    const SystemLookup played = find_played_system(system, ctx.data_dir);
    if (!played.system)
        return fail(ctx.command, played.error);
    const BacktestResult result = run_backtest(lotto.params(), lotto.history, *played.system, period, source);
    if (!result.error.isEmpty())
        return fail(ctx.command, result.error);
    QString error;
    if (parser.isSet(QStringLiteral("csv")) && !write_export_file(csv_file, backtest_csv(result), &error))
        return fail(ctx.command,
                    QStringLiteral("cannot write %1 (%2)").arg(QDir::toNativeSeparators(csv_file), error));
    out() << "Draws played: " << result.draws.size() << '\n'
          << "Tickets: " << result.tickets << '\n'
          << "Cost: " << backtest_amount(result.cost) << '\n'
          << "Winnings: " << backtest_amount(result.winnings) << '\n'
          << "Net: " << backtest_amount(result.net) << '\n'
          << "Hits: " << class_line(result.hits, [](qint64 h) { return QString::number(h); }) << '\n'
          << "Expected hits: " << class_line(result.expected_hits, backtest_amount) << '\n'
          << "Expected winnings: " << backtest_amount(result.expected_winnings) << '\n';
    return done;
}

} // namespace cli
