#include "cli/command_support.h"
#include "core/base/file_names.h"

#include "core/base/text_files.h"
#include "core/session/start_up.h"
#include "core/wheels/design_inputs.h"
#include "core/wheels/designed_wheels.h"
#include "core/wheels/wheel_bounds.h"
#include "core/wheels/wheel_designer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

int refuse(const QString& text) {
    return cli::fail(QStringLiteral("design"), text);
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
    struct Option {
        const char* name;
        DesignInput input;
        const char* needed; // the message when the option is missing and needed
    };
    for (const Option& o : {Option{"numbers", DesignInput::numbers, "--numbers V is needed, as 20"},
                            Option{"pick", DesignInput::pick, "--pick K is needed, as 6"},
                            Option{"guarantee", DesignInput::guarantee, "--guarantee T is needed, as 3"},
                            Option{"if", DesignInput::if_m, nullptr}}) {
        const QString name = QLatin1String(o.name);
        if (!parser.isSet(name)) {
            if (o.needed)
                return refuse(QLatin1String(o.needed));
            shape.m = shape.t;
            continue;
        }
        if (const QString fault =
                read_design_input(o.input, QStringLiteral("--") + name, parser.value(name), options);
            !fault.isEmpty())
            return refuse(fault);
    }
    if (const QString fault = wheel_params_fault(shape); !fault.isEmpty())
        return refuse(fault);
    for (const Option& o :
         {Option{"seconds", DesignInput::seconds, nullptr}, Option{"seed", DesignInput::seed, nullptr},
          Option{"tickets", DesignInput::tickets, nullptr}}) {
        const QString name = QLatin1String(o.name);
        if (parser.isSet(name))
            if (const QString fault =
                    read_design_input(o.input, QStringLiteral("--") + name, parser.value(name), options);
                !fault.isEmpty())
                return refuse(fault);
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
