#include "app/command_line.h"

#include "analyses/backtest.h"
#include "analyses/fability.h"
#include "app/command_design.h"
#include "app/start_up.h"
#include "core/convert.h"
#include "core/file_names.h"
#include "core/text_files.h"
#include "lotto/delimited_text.h"
#include "lotto/draw_check.h"
#include "lotto/draw_import.h"
#include "lotto/lotto_document.h"
#include "lotto/lotto_entry.h"
#include "lotto/lotto_files.h"
#include "tsets/tset_files.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <optional>

namespace {

enum Exit { done = 0, partly_done = 1, nothing_done = 2 };

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int fail(const QString& command, const QString& text) {
    out().flush();
    err() << "zandrel " << command << ": " << text << '\n';
    err().flush();
    return nothing_done;
}

// A lotto as its files hold it, for the commands.
struct StoredLotto {
    QString folder;
    QString name;
    LottoDocument doc;            // the lotto as the Lotto window would hold it
    std::vector<DrawRec> history; // its draws, by date
    const LottoParams& params() const { return doc.params(); }
};

QString lotto_folder(const QString& data_dir, const QString& name) {
    return join_path(join_path(data_dir, QStringLiteral("Lto")), name);
}

// Reads the parameters and the draws; error says what stops the command.
bool load_lotto(StoredLotto& lotto, QString& error) {
    const QString param_path = join_path(lotto.folder, QLatin1String(param_file_name));
    const auto params = read_param_file(param_path);
    if (!params) {
        error = QStringLiteral("the parameters of the lotto cannot be read (%1)").arg(param_path);
        return false;
    }
    lotto.doc.set_name(lotto.name);
    lotto.doc.set_params(*params);
    const QString draws_path = join_path(lotto.folder, QLatin1String(draws_file_name));
    // A date that does not read leaves the table unsorted, and that row is named below.
    const auto load = lotto.doc.load_draws(lotto.folder, lotto.name);
    if (load == LottoDocument::Load::no_file)
        return true;
    if (load == LottoDocument::Load::unreadable) {
        error = QStringLiteral("the draws cannot be read (%1)").arg(draws_path);
        return false;
    }
    if (const int r = table_draws(lotto.doc.draws(), lotto.history)) {
        const DrawTexts texts = draw_row_texts(lotto.doc.draws(), r);
        error = QStringLiteral("the draw '%1' of %2 does not read; correct it in the Lotto window first")
                    .arg(QStringList(texts.begin(), texts.end()).join(u' ').trimmed(), draws_path);
        return false;
    }
    return true;
}

struct Context {
    QString command;
    QString data_dir;
    QString lotto_name;
};

// The named lotto for a command that only reads it; the exit status when it cannot be read.
std::optional<int> open_lotto(const Context& ctx, StoredLotto& lotto) {
    lotto.folder = lotto_folder(ctx.data_dir, ctx.lotto_name);
    lotto.name = ctx.lotto_name;
    QString error;
    if (!QFileInfo::exists(lotto.folder))
        return fail(ctx.command, QStringLiteral("there is no lotto %1").arg(ctx.lotto_name));
    if (!load_lotto(lotto, error))
        return fail(ctx.command, error);
    return std::nullopt;
}

QCommandLineOption option(const char* name, const char* description, const char* value = nullptr) {
    return value
               ? QCommandLineOption(QLatin1String(name), QString::fromUtf8(description), QLatin1String(value))
               : QCommandLineOption(QLatin1String(name), QString::fromUtf8(description));
}

// A date of --from or --to: ISO, or the short form of the user's locale.
std::optional<QDate> option_date(const QString& text) {
    const QDate iso = QDate::fromString(text, Qt::ISODate);
    if (iso.isValid())
        return iso;
    const auto serial = date_text_to_serial(text, DatePart::DateOnly);
    if (!serial)
        return std::nullopt;
    return serial_to_date(*serial);
}

std::optional<QChar> option_separator(const QString& text) {
    const QString t = text.toLower();
    if (t == QLatin1String("tab") || t == QLatin1String("\\t") || t == QLatin1String("\t"))
        return QChar(u'\t');
    if (t == QLatin1String("blank") || t == QLatin1String("space") || t == QLatin1String("blanks") ||
        t == QLatin1String(" "))
        return blank_runs;
    if (t == QLatin1String("comma"))
        return QChar(u',');
    if (t == QLatin1String("semicolon"))
        return QChar(u';');
    if (text.size() == 1 && !text[0].isLetterOrNumber() && text[0] != u'"')
        return text[0];
    return std::nullopt;
}

// The parameters a new lotto has in the Lotto window, with the numbers given as "N,K".
std::optional<LottoParams> new_lotto_params(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    bool ok_n = false, ok_k = false;
    LottoParams p;
    p.play_n = static_cast<int16_t>(parts[0].trimmed().toInt(&ok_n));
    p.pick_n = static_cast<int16_t>(parts[1].trimmed().toInt(&ok_k));
    p.prize2 = 0, p.prize3 = 10, p.prize4 = 100, p.prize5 = 1000, p.prize6 = 1000000;
    p.prize2b = 0, p.prize3b = 0, p.prize4b = 0, p.prize5b = 10000, p.prize6b = 0;
    p.cost = 1;
    p.currency = QStringLiteral("$");
    if (!ok_n || !ok_k || param_fault(p) != ParamFault::none)
        return std::nullopt;
    return p;
}

// Parses the arguments of one command; returns the exit status when the command is not to run.
std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments, const QString& usage,
                         int files, Context& ctx, const QString& program_dir, const QString& user_data_dir) {
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOption(option("data-dir", "Keep the data in <folder> instead of the usual place.", "folder"));
    parser.addOption(option("lotto", "The lotto (its folder name under Lto).", "name"));
    if (!parser.parse(arguments))
        return fail(ctx.command, parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'), QStringLiteral("Usage: zandrel %1 %2").arg(ctx.command, usage));
        out() << text;
        return done;
    }
    const QStringList positional = parser.positionalArguments().mid(1);
    if (positional.size() != files)
        return fail(ctx.command, QStringLiteral("usage: zandrel %1 %2").arg(ctx.command, usage));
    ctx.lotto_name = parser.value(QStringLiteral("lotto"));
    if (ctx.lotto_name.isEmpty())
        return fail(ctx.command, QStringLiteral("--lotto NAME is needed"));
    if (!is_safe_folder_name(ctx.lotto_name))
        return fail(ctx.command, QStringLiteral("'%1' cannot be the name of a lotto").arg(ctx.lotto_name));
    QString data_option = parser.value(QStringLiteral("data-dir"));
    if (!data_option.isEmpty())
        data_option = QDir::cleanPath(QFileInfo(data_option).absoluteFilePath());
    ctx.data_dir = choose_folders(program_dir, user_data_dir, data_option).data_dir;
    return std::nullopt;
}

int run_import(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    Context ctx{QStringLiteral("import"), {}, {}};
    QCommandLineParser parser;
    parser.addOption(option(
        "create", "Make the lotto when it does not exist, with <N,K> numbers in play and picked.", "N,K"));
    parser.addOption(option(
        "columns", "Which columns hold what, counted from 1: date=C,numbers=C1-C6,bonus=C|none,drawno=C.",
        "map"));
    parser.addOption(option("date-order", "The order of day and month in numeric dates.", "dmy|mdy|ymd"));
    parser.addOption(option("encoding", "The file's character encoding (detected when not given).", "name"));
    parser.addOption(option(
        "separator", "The field separator: a character, tab or blank (detected when not given).", "c"));
    parser.addOption(option("from", "Import only the draws from this date on.", "date"));
    parser.addOption(option("to", "Import only the draws up to this date.", "date"));
    parser.addOption(option("where",
                            "Import only the rows whose COLUMN (a header name or a number) holds VALUE; "
                            "may be repeated.",
                            "COLUMN=VALUE"));
    parser.addOption(option("dry-run", "Read, merge and report, but write nothing."));
    if (const auto exit = parse(parser, arguments, QStringLiteral("FILE --lotto NAME [options]"), 1, ctx,
                                program_dir, user_data_dir))
        return *exit;

    ImportOptions options;
    QString error;
    if (parser.isSet(QStringLiteral("columns"))) {
        options.columns = parse_column_map(parser.value(QStringLiteral("columns")), &error);
        if (!options.columns)
            return fail(ctx.command, QStringLiteral("--columns: %1").arg(error));
    }
    if (parser.isSet(QStringLiteral("date-order"))) {
        const auto order = date_order_from_text(parser.value(QStringLiteral("date-order")));
        if (!order)
            return fail(ctx.command, QStringLiteral("--date-order takes dmy, mdy or ymd"));
        options.date_order = *order;
    }
    options.encoding = parser.value(QStringLiteral("encoding"));
    if (parser.isSet(QStringLiteral("separator"))) {
        const auto sep = option_separator(parser.value(QStringLiteral("separator")));
        if (!sep)
            return fail(ctx.command, QStringLiteral("--separator takes one character, tab or blank"));
        options.separator = *sep;
    }
    for (const char* name : {"from", "to"}) {
        if (!parser.isSet(QLatin1String(name)))
            continue;
        const auto date = option_date(parser.value(QLatin1String(name)));
        if (!date)
            return fail(ctx.command, QStringLiteral("--%1: '%2' is not a date (write it as 2024-01-31)")
                                         .arg(QLatin1String(name), parser.value(QLatin1String(name))));
        (name[0] == 'f' ? options.from : options.to) = *date;
    }
    for (const QString& where : parser.values(QStringLiteral("where"))) {
        const auto filter = parse_column_filter(where, &error);
        if (!filter)
            return fail(ctx.command, QStringLiteral("--where: %1").arg(error));
        options.filters.push_back(*filter);
    }
    const bool dry_run = parser.isSet(QStringLiteral("dry-run"));

    StoredLotto lotto;
    lotto.folder = lotto_folder(ctx.data_dir, ctx.lotto_name);
    lotto.name = ctx.lotto_name;
    const bool exists = QFileInfo::exists(join_path(lotto.folder, QLatin1String(param_file_name)));
    std::optional<LottoParams> created;
    if (parser.isSet(QStringLiteral("create"))) {
        created = new_lotto_params(parser.value(QStringLiteral("create")));
        if (!created)
            return fail(ctx.command, QStringLiteral("--create takes N,K: numbers in play (up to 90) and "
                                                    "numbers picked (1 to 6), as 49,6"));
    }
    std::unique_ptr<QLockFile> lock;
    if (!dry_run) {
        if (!make_data_folder(ctx.data_dir))
            return fail(ctx.command, QStringLiteral("cannot make the data folder %1").arg(ctx.data_dir));
        QString refusal;
        lock = lock_data_folder(ctx.data_dir, refusal);
        if (!refusal.isEmpty())
            return fail(ctx.command, refusal);
    }
    if (exists) {
        if (!load_lotto(lotto, error))
            return fail(ctx.command, error);
        if (created && (created->play_n != lotto.params().play_n || created->pick_n != lotto.params().pick_n))
            return fail(ctx.command,
                        QStringLiteral("the lotto %1 exists already, with %2 numbers in play and %3 "
                                       "picked")
                            .arg(ctx.lotto_name)
                            .arg(lotto.params().play_n)
                            .arg(lotto.params().pick_n));
        created.reset();
    } else if (!created) {
        return fail(ctx.command,
                    QStringLiteral("there is no lotto %1 in %2; --create N,K makes it")
                        .arg(ctx.lotto_name,
                             QDir::toNativeSeparators(join_path(ctx.data_dir, QStringLiteral("Lto")))));
    } else {
        lotto.doc.set_params(*created);
    }

    const QString file = parser.positionalArguments().at(1);
    const ImportResult result = import_draws_file(file, lotto.params(), lotto.history, options);
    for (const QString& line : result.report())
        out() << line << '\n';
    if (result.status == ImportStatus::nothing_done) {
        out().flush();
        err() << "zandrel import: " << result.message << '\n';
        return nothing_done;
    }
    if (dry_run || result.added.empty())
        return static_cast<int>(result.status);

    if (created && !(QDir().mkpath(lotto.folder) &&
                     write_param_file(join_path(lotto.folder, QLatin1String(param_file_name)), *created)))
        return fail(ctx.command,
                    QStringLiteral("cannot make the lotto %1 in %2").arg(ctx.lotto_name, lotto.folder));
    // The stored lines stay as they are; the new ones (ISO dates) join at their dates, after the
    // stored draws of the same day.
    lotto.doc.append_draws(result.added);
    const QString draws_path = join_path(lotto.folder, QLatin1String(draws_file_name));
    if (lotto.doc.write_draws(lotto.folder, ctx.lotto_name) != LottoDocument::Save::saved)
        return fail(ctx.command, QStringLiteral("the draws could not be saved; %1 is as it was")
                                     .arg(QDir::toNativeSeparators(draws_path)));
    return static_cast<int>(result.status);
}

int run_export(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    Context ctx{QStringLiteral("export"), {}, {}};
    QCommandLineParser parser;
    if (const auto exit =
            parse(parser, arguments, QStringLiteral("FILE --lotto NAME"), 1, ctx, program_dir, user_data_dir))
        return *exit;
    StoredLotto lotto;
    if (const auto exit = open_lotto(ctx, lotto))
        return *exit;
    const QByteArray csv = export_draws_csv(lotto.history, lotto.params().pick_n).toUtf8();
    const QString file = parser.positionalArguments().at(1);
    if (file == QLatin1String("-")) {
        std::fwrite(csv.constData(), 1, static_cast<size_t>(csv.size()), stdout);
        return done;
    }
    if (!write_file_atomically(file, csv))
        return fail(ctx.command, QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(file)));
    out() << QStringLiteral("Exported %1 draws of %2 to %3.")
                 .arg(lotto.history.size())
                 .arg(ctx.lotto_name, QDir::toNativeSeparators(file))
          << '\n';
    return done;
}

int run_check(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    Context ctx{QStringLiteral("check"), {}, {}};
    QCommandLineParser parser;
    if (const auto exit =
            parse(parser, arguments, QStringLiteral("--lotto NAME"), 0, ctx, program_dir, user_data_dir))
        return *exit;
    StoredLotto lotto;
    if (const auto exit = open_lotto(ctx, lotto))
        return *exit;
    const HistoryCheck check = check_history(lotto.history);
    for (const QString& line : history_check_lines(check, lotto.history, lotto.params().pick_n))
        out() << line << '\n';
    out() << check_summary(check, lotto.history) << '\n';
    const bool clean = check.missing.empty() && check.suspicious.empty() && check.crowded.empty();
    return clean ? done : partly_done;
}

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
    auto set = read_tset_file(path, name, *size);
    if (!set)
        error = QStringLiteral("the set %1 cannot be read (%2)").arg(text, QDir::toNativeSeparators(path));
    else if (set->unread_line)
        error = QStringLiteral(
                    "the set %1 does not read past line %2; correct it in the Targeted Sets window first")
                    .arg(text)
                    .arg(set->unread_line);
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
        static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
        for (const QString& word :
             parser.value(QStringLiteral("numbers")).split(separators, Qt::SkipEmptyParts)) {
            bool ok = false;
            const int n = word.toInt(&ok);
            if (!ok || n < 0 || n > max_play_n)
                return fail(ctx.command,
                            QStringLiteral("--numbers: '%1' is not a number of a lotto").arg(word));
            source.numbers.push_back(static_cast<int16_t>(n));
        }
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

int run_backtest_command(const QStringList& arguments, const QString& program_dir,
                         const QString& user_data_dir) {
    Context ctx{QStringLiteral("backtest"), {}, {}};
    QCommandLineParser parser;
    parser.addOption(option("system", "The system of the catalogue to play, as 10_3_6.", "name"));
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
    for (const char* name : {"from", "to"}) {
        if (!parser.isSet(QLatin1String(name)))
            continue;
        const auto date = option_date(parser.value(QLatin1String(name)));
        if (!date)
            return fail(ctx.command, QStringLiteral("--%1: '%2' is not a date (write it as 2024-01-31)")
                                         .arg(QLatin1String(name), parser.value(QLatin1String(name))));
        (name[0] == 'f' ? period.from : period.to) = date_to_serial(*date);
    }
    if (period.from > period.to)
        return fail(ctx.command, QStringLiteral("--from comes after --to"));
    BacktestSource source;
    if (const auto exit = backtest_source(parser, ctx, source))
        return *exit;
    StoredLotto lotto;
    if (const auto exit = open_lotto(ctx, lotto))
        return *exit;

    const BacktestResult result = run_backtest(lotto.params(), lotto.history, system, period, source);
    if (!result.error.isEmpty())
        return fail(ctx.command, result.error);
    if (parser.isSet(QStringLiteral("csv"))) {
        const QString file = parser.value(QStringLiteral("csv"));
        if (!write_file_atomically(file, backtest_csv(result)))
            return fail(ctx.command, QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(file)));
    }
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

} // namespace

bool is_command(const QStringList& arguments) {
    if (arguments.size() < 2)
        return false;
    const QString& word = arguments[1];
    return word == QLatin1String("import") || word == QLatin1String("export") ||
           word == QLatin1String("check") || word == QLatin1String("backtest") ||
           word == QLatin1String("design");
}

QStringList command_first(const QStringList& arguments) {
    if (arguments.size() < 3)
        return arguments;
    const QString& first = arguments[1];
    const int word = first == QLatin1String("--data-dir")             ? 3
                     : first.startsWith(QLatin1String("--data-dir=")) ? 2
                                                                      : 0;
    if (word == 0 || word >= arguments.size() || !is_command({arguments[0], arguments[word]}))
        return arguments;
    QStringList moved = arguments;
    moved.move(word, 1);
    return moved;
}

int run_command(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    const QString& word = arguments.at(1);
    int status = nothing_done;
    if (word == QLatin1String("import"))
        status = run_import(arguments, program_dir, user_data_dir);
    else if (word == QLatin1String("export"))
        status = run_export(arguments, program_dir, user_data_dir);
    else if (word == QLatin1String("backtest"))
        status = run_backtest_command(arguments, program_dir, user_data_dir);
    else if (word == QLatin1String("design"))
        status = run_design(arguments, program_dir, user_data_dir);
    else
        status = run_check(arguments, program_dir, user_data_dir);
    out().flush();
    err().flush();
    return status;
}
