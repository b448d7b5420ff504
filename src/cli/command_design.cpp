#include "cli/command_support.h"
#include "core/base/file_names.h"

#include "core/base/text_files.h"
#include "core/session/start_up.h"
#include "core/wheels/designed_wheels.h"
#include "core/wheels/wheel_bounds.h"
#include "core/wheels/wheel_designer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cmath>
#include <optional>

namespace {

int refuse(const QString& text) {
    return cli::fail(QStringLiteral("design"), text);
}

// A whole number of an option; nullopt when the text is not one.
std::optional<long long> whole(const QCommandLineParser& parser, const char* name) {
    bool ok = false;
    const long long n = parser.value(QLatin1String(name)).trimmed().toLongLong(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

const char* const usage = "--numbers V --pick K --guarantee T [--if M] [--seconds S] [--seed N] "
                          "[--tickets B] [--out FILE] [--save NAME]";

} // namespace

int cli::run_design(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Designs a wheel on V numbers with tickets of K that guarantees T right whenever M of the\n"
        "drawn numbers are among the V (T if M), with as few tickets as the search finds in the time\n"
        "given; or, with --tickets, the B tickets that give the guarantee for as many draws as it\n"
        "finds. Every wheel is checked against all M-subsets before it is printed or saved.\n"
        "The best known sizes shown come from the La Jolla Covering Repository (LJCR).\n\n"
        "Example: zandrel design --numbers 20 --pick 6 --guarantee 3 --seconds 30 --out wheel.txt"));
    const QCommandLineOption help = parser.addHelpOption();
    const auto add = [&](const char* name, const char* description, const char* value) {
        parser.addOption(
            QCommandLineOption(QLatin1String(name), QString::fromUtf8(description), QLatin1String(value)));
    };
    add("data-dir", "Keep the data in <folder> instead of the usual place.", "folder");
    add("numbers", "The numbers in the wheel (V).", "V");
    add("pick", "The numbers on a ticket (K), 2 to 6.", "K");
    add("guarantee", "The numbers guaranteed right (T).", "T");
    add("if", "... when this many of the drawn numbers are among the V (M, T to K; T when not given).", "M");
    add("seconds", "Search this long (60 when not given).", "S");
    add("seed", "The seed of the search; the same seed gives the same wheel (1 when not given).", "N");
    add("tickets", "Use exactly B tickets and cover as many draws as they can.", "B");
    add("out", "Write the tickets to FILE, one a line, numbers ascending.", "FILE");
    add("save", "Keep the wheel as the designed system NAME in the data folder.", "NAME");
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'),
                     QStringLiteral("Usage: zandrel design %1").arg(QLatin1String(usage)));
        out() << text;
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return refuse(QStringLiteral("usage: zandrel design %1").arg(QLatin1String(usage)));

    DesignOptions options;
    WheelParams& shape = options.shape;
    struct Needed {
        const char* name;
        int* value;
        const char* what;
    };
    for (const Needed& n : {Needed{"numbers", &shape.v, "--numbers V is needed, as 20"},
                            Needed{"pick", &shape.k, "--pick K is needed, as 6"},
                            Needed{"guarantee", &shape.t, "--guarantee T is needed, as 3"}}) {
        if (!parser.isSet(QLatin1String(n.name)))
            return refuse(QLatin1String(n.what));
        const auto value = whole(parser, n.name);
        if (!value || *value < 0 || *value > 1000)
            return refuse(QStringLiteral("--%1: '%2' is not a whole number")
                              .arg(QLatin1String(n.name), parser.value(QLatin1String(n.name))));
        *n.value = static_cast<int>(*value);
    }
    shape.m = shape.t;
    if (parser.isSet(QStringLiteral("if"))) {
        const auto value = whole(parser, "if");
        if (!value || *value < 0 || *value > 1000)
            return refuse(
                QStringLiteral("--if: '%1' is not a whole number").arg(parser.value(QStringLiteral("if"))));
        shape.m = static_cast<int>(*value);
    }
    if (const QString fault = wheel_params_fault(shape); !fault.isEmpty())
        return refuse(fault);
    if (parser.isSet(QStringLiteral("seconds"))) {
        bool ok = false;
        options.seconds = parser.value(QStringLiteral("seconds")).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(options.seconds) || options.seconds <= 0)
            return refuse(QStringLiteral("--seconds: '%1' is not a positive number of seconds")
                              .arg(parser.value(QStringLiteral("seconds"))));
    }
    if (parser.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        options.seed = parser.value(QStringLiteral("seed")).trimmed().toULongLong(&ok);
        if (!ok)
            return refuse(QStringLiteral("--seed: '%1' is not a whole number from 0 to 18446744073709551615")
                              .arg(parser.value(QStringLiteral("seed"))));
    }
    if (parser.isSet(QStringLiteral("tickets"))) {
        const auto value = whole(parser, "tickets");
        if (!value || *value < 1 || *value > 10'000'000)
            return refuse(QStringLiteral("--tickets: '%1' is not a number of tickets")
                              .arg(parser.value(QStringLiteral("tickets"))));
        options.budget = static_cast<int>(*value);
    }
    const QString save_name = parser.value(QStringLiteral("save"));
    QString data_option = parser.value(QStringLiteral("data-dir"));
    if (parser.isSet(QStringLiteral("data-dir")) && data_option.isEmpty())
        return refuse(QStringLiteral("--data-dir needs a folder"));
    if (!data_option.isEmpty())
        data_option = QDir::cleanPath(QFileInfo(data_option).absoluteFilePath());
    const QString data_dir = choose_folders(program_dir, user_data_dir, data_option).data_dir;
    const QString out_file = parser.value(QStringLiteral("out"));
    if (parser.isSet(QStringLiteral("out")))
        if (const QString refusal = export_target_refusal(out_file, data_dir, true); !refusal.isEmpty())
            return refuse(refusal);
    std::unique_ptr<QLockFile> lock;
    if (parser.isSet(QStringLiteral("save"))) {
        if (const QString fault = designed_name_fault(save_name); !fault.isEmpty())
            return refuse(fault);
        if (!make_data_folder(data_dir))
            return refuse(QStringLiteral("cannot make the data folder %1").arg(data_dir));
        QString refusal;
        lock = lock_data_folder(data_dir, refusal);
        if (!refusal.isEmpty())
            return refuse(refusal);
    }

    const DesignResult result = design_wheel(options);
    if (!result.error.isEmpty())
        return refuse(result.error);
    if (parser.isSet(QStringLiteral("out"))) {
        QByteArray bytes;
        for (const QString& line : wheel_file_lines(result.tickets))
            bytes += line.toLatin1() + "\r\n";
        QString error;
        if (!write_export_file(out_file, bytes, &error))
            return refuse(
                QStringLiteral("cannot write %1 (%2)").arg(QDir::toNativeSeparators(out_file), error));
    }
    if (!save_name.isEmpty()) {
        QString error;
        if (!save_designed_wheel(data_dir, save_name, result.tickets, error))
            return refuse(error);
        out() << "Saved as the designed system " << save_name << ".\n";
    }
    const auto best = best_known_size(shape);
    out() << QStringLiteral("Wheel: %1 numbers, tickets of %2, %3 if %4\n")
                 .arg(shape.v)
                 .arg(shape.k)
                 .arg(shape.t)
                 .arg(shape.m)
          << "Tickets: " << result.tickets.size() << '\n'
          << "Lower bound: " << wheel_lower_bound(shape) << '\n'
          << "Best known: " << (best ? QString::number(*best) : QStringLiteral("-")) << '\n'
          << "Covered: " << result.count.covered << " of " << result.count.total << '\n';
    out().flush();
    return result.count.complete() && !result.tickets.empty() ? 0 : 1;
}
