#include "cli/command_support.h"

#include "core/analyses/backtest.h"
#include "core/analyses/fability.h"
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/lotto/delimited_text.h"
#include "core/lotto/draw_check.h"
#include "core/lotto/draw_export.h"
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

int run_export(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    Context ctx{QStringLiteral("export"), {}, {}};
    QCommandLineParser parser;
    if (const auto exit =
            parse(parser, arguments, QStringLiteral("FILE --lotto NAME"), 1, ctx, program_dir, user_data_dir))
        return *exit;
    const QString file = parser.positionalArguments().at(1);
    if (file != QLatin1String("-"))
        if (const QString refusal = export_target_refusal(file, ctx.data_dir, true); !refusal.isEmpty())
            return fail(ctx.command, refusal);
    StoredLotto lotto;
    if (const auto exit = open_lotto(ctx, lotto))
        return *exit;
    const QByteArray csv = export_draws_csv(lotto.history, lotto.params().pick_n).toUtf8();
    if (file == QLatin1String("-")) {
        std::fwrite(csv.constData(), 1, static_cast<size_t>(csv.size()), stdout);
        return done;
    }
    QString error;
    if (!write_export_file(file, csv, &error))
        return fail(ctx.command,
                    QStringLiteral("cannot write %1 (%2)").arg(QDir::toNativeSeparators(file), error));
    out() << QStringLiteral("Exported %1 draws of %2 to %3.")
                 .arg(lotto.history.size())
                 .arg(ctx.lotto_name, QDir::toNativeSeparators(file))
          << '\n';
    return done;
}

} // namespace cli
