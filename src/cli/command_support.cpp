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

// Reads the parameters and the draws; error says what stops the command.
bool load_lotto(StoredLotto& lotto, QString& error) {
    // A date that does not read leaves the table unsorted, and that row is named below.
    const LottoDocument::Open opened = lotto.doc.open(lotto.folder, lotto.name);
    switch (opened.status) {
    case LottoDocument::Open::no_params:
    case LottoDocument::Open::bad_params:
        error = QStringLiteral("the parameters of the lotto cannot be read (%1)").arg(opened.path);
        return false;
    case LottoDocument::Open::no_draws:
        return true;
    case LottoDocument::Open::unreadable_draws:
        error = QStringLiteral("the draws cannot be read (%1: %2)").arg(opened.path, lotto.doc.load_error());
        return false;
    case LottoDocument::Open::opened:
    case LottoDocument::Open::bad_date:
        break;
    }
    if (const int r = lotto.doc.history(lotto.history)) {
        error = QStringLiteral("the draw '%1' of %2 does not read; correct it in the Lotto window first")
                    .arg(excerpt(lotto.doc.row_words(r)), opened.path);
        return false;
    }
    return true;
}

// The stored draws that no draw of the lotto can be, each as its row's text and why.
std::vector<std::pair<QString, QString>> impossible_draws(const StoredLotto& lotto) {
    std::vector<std::pair<QString, QString>> found;
    // The history holds the table's rows in order (every row read, or the load refused).
    for (size_t i = 0; i < lotto.history.size(); ++i) {
        const QString why =
            impossible_draw_reason(lotto.history[i], lotto.params().play_n, lotto.params().pick_n);
        if (why.isEmpty())
            continue;
        found.emplace_back(excerpt(lotto.doc.row_words(static_cast<int>(i) + 1)), why);
    }
    return found;
}

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

QCommandLineOption option(const char* name, const char* description, const char* value) {
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

std::optional<int> period_options(const QCommandLineParser& parser, const QString& command,
                                  std::optional<QDate>& from, std::optional<QDate>& to) {
    for (const char* name : {"from", "to"}) {
        if (!parser.isSet(QLatin1String(name)))
            continue;
        const auto date = option_date(parser.value(QLatin1String(name)));
        if (!date)
            return fail(command, QStringLiteral("--%1: '%2' is not a date (write it as 2024-01-31)")
                                     .arg(QLatin1String(name), parser.value(QLatin1String(name))));
        (name[0] == 'f' ? from : to) = *date;
    }
    return std::nullopt;
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

// Parses the arguments of one command; returns the exit status when the command is not to run.
std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments, const QString& usage,
                         int files, Context& ctx, const QString& program_dir, const QString& user_data_dir) {
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOption(option("data-dir", "Keep the data in <folder> instead of the usual place.", "folder"));
    parser.addOption(option("lotto", "The lotto (its folder name under Lto).", "name"));
    if (!parser.parse(arguments))
        return fail(ctx.command, parser.errorText());
    const QStringList given = parser.optionNames();
    for (const QString& name : given)
        if (given.count(name) > 1 && name != QLatin1String("where") && !parser.values(name).isEmpty())
            return fail(ctx.command, QStringLiteral("--%1 is given more than once").arg(name));
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
    if (parser.isSet(QStringLiteral("data-dir")) && data_option.isEmpty())
        return fail(ctx.command, QStringLiteral("--data-dir needs a folder"));
    if (!data_option.isEmpty())
        data_option = QDir::cleanPath(QFileInfo(data_option).absoluteFilePath());
    ctx.data_dir = choose_folders(program_dir, user_data_dir, data_option).data_dir;
    return std::nullopt;
}

} // namespace cli
