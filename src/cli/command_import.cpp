#include "cli/command_support.h"

#include "core/analyses/backtest.h"
#include "core/analyses/fability.h"
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/lotto/delimited_text.h"
#include "core/lotto/draw_check.h"
#include "core/lotto/draw_import.h"
#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_entry.h"
#include "core/lotto/lotto_files.h"
#include "core/session/start_up.h"
#include "core/tsets/tset_files.h"

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

// The parameters a new lotto has in the Lotto window, with the numbers given as "N,K".
std::optional<LottoParams> new_lotto_params(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    bool ok_n = false, ok_k = false;
    const int n = parts[0].trimmed().toInt(&ok_n);
    const int k = parts[1].trimmed().toInt(&ok_k);
    // Checked before they become 16-bit numbers, which 65585 would pass as 49.
    if (!ok_n || !ok_k || n < 1 || n > max_play_n || k < 1 || k > max_pick_n)
        return std::nullopt;
    LottoParams p;
    p.play_n = static_cast<int16_t>(n);
    p.pick_n = static_cast<int16_t>(k);
    p.prize2 = 0, p.prize3 = 10, p.prize4 = 100, p.prize5 = 1000, p.prize6 = 1000000;
    p.prize2b = 0, p.prize3b = 0, p.prize4b = 0, p.prize5b = 10000, p.prize6b = 0;
    p.cost = 1;
    p.currency = QStringLiteral("$");
    if (!ok_n || !ok_k || param_fault(p) != ParamFault::none)
        return std::nullopt;
    return p;
}

} // namespace

int run_import(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    Context ctx{QStringLiteral("import"), {}, {}};
    QCommandLineParser parser;
    parser.addOption(option(
        "create", "Make the lotto when it does not exist, with <N,K> numbers in play and picked.", "N,K"));
    parser.addOption(option(
        "columns",
        "Which columns hold what, counted from 1: date=C|C1-C3,numbers=C1-C6,bonus=C|none,drawno=C.", "map"));
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
    // Stated in the help: what the import reads.
    parser.setApplicationDescription(
        QStringLiteral("FILE must be a regular file of at most %1; a device, a pipe or a file that cannot be "
                       "read to its end is refused.")
            .arg(QLatin1String(max_read_size_text)));
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
    std::optional<QDate> from, to;
    if (const auto exit = period_options(parser, ctx.command, from, to))
        return *exit;
    if (from)
        options.from = *from;
    if (to)
        options.to = *to;
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
    const QString param_path = join_path(lotto.folder, QLatin1String(param_file_name));
    const QString draws_path = join_path(lotto.folder, QLatin1String(draws_file_name));
    std::optional<LottoParams> created;
    if (parser.isSet(QStringLiteral("create"))) {
        created = new_lotto_params(parser.value(QStringLiteral("create")));
        if (!created)
            return fail(ctx.command, QStringLiteral("--create takes N,K: numbers in play (K to %1) and "
                                                    "numbers picked (1 to %2), as 49,6")
                                         .arg(max_play_n)
                                         .arg(max_pick_n));
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
    const bool exists = QFileInfo::exists(param_path);
    if (!exists && QFileInfo::exists(draws_path))
        // Draws without their parameters are still a lotto: a new one would replace them.
        return fail(ctx.command,
                    QStringLiteral("the lotto %1 holds draws (%2) but not its parameters file %3; restore "
                                   "%3 from a backup copy, or write it with Edit and Save in the Lotto "
                                   "window, then import again (--create is refused, as it would replace "
                                   "the draws)")
                        .arg(ctx.lotto_name, QDir::toNativeSeparators(draws_path),
                             QDir::toNativeSeparators(param_path)));
    if (exists) {
        if (!load_lotto(lotto, error))
            return fail(ctx.command, error);
        if (created && (created->play_n != lotto.params().play_n || created->pick_n != lotto.params().pick_n))
            return fail(ctx.command,
                        QStringLiteral("the lotto %1 exists already, with %2 numbers in play and %3 "
                                       "picked")
                            .arg(ctx.lotto_name, QString::number(lotto.params().play_n),
                                 QString::number(lotto.params().pick_n)));
        created.reset();
    } else if (!created) {
        return fail(ctx.command, QStringLiteral("there is no lotto %1 in %2; --create N,K makes it")
                                     .arg(ctx.lotto_name, QDir::toNativeSeparators(lotto_dir(ctx.data_dir))));
    } else {
        lotto.doc.set_name(ctx.lotto_name);
        lotto.doc.set_params(*created);
        lotto.doc.load_draws(lotto.folder, ctx.lotto_name); // none yet: what is there when it saves
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

    // As the Lotto window does: a file that someone else changed since it was read is not saved over.
    if (lotto.doc.draws_stamp().changed(draws_path) || (created && QFileInfo::exists(param_path)))
        return fail(ctx.command, QStringLiteral("%1 changed while the import read it; nothing was saved, "
                                                "run the import again")
                                     .arg(QDir::toNativeSeparators(created ? lotto.folder : draws_path)));
    const bool made_folder = created && !QFileInfo::exists(lotto.folder);
    // What a new lotto's failed first save leaves: nothing.
    const auto unmake = [&] {
        QFile::remove(param_path);
        if (made_folder)
            QDir().rmdir(lotto.folder);
    };
    if (created && !(QDir().mkpath(lotto.folder) && write_param_file(param_path, *created))) {
        unmake();
        return fail(ctx.command,
                    QStringLiteral("cannot make the lotto %1 in %2").arg(ctx.lotto_name, lotto.folder));
    }
    // The stored lines stay as they are; the new ones (ISO dates) join at their dates, after the
    // stored draws of the same day.
    lotto.doc.append_draws(result.added);
    if (lotto.doc.write_draws(lotto.folder, ctx.lotto_name) != LottoDocument::Save::saved) {
        if (!created)
            return fail(ctx.command, QStringLiteral("the draws could not be saved; %1 is as it was")
                                         .arg(QDir::toNativeSeparators(draws_path)));
        unmake();
        return fail(
            ctx.command,
            QStringLiteral("the draws could not be saved, so the lotto %1 was not made").arg(ctx.lotto_name));
    }
    return static_cast<int>(result.status);
}

} // namespace cli
