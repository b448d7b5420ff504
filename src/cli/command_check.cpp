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
    const auto impossible = impossible_draws(lotto);
    for (const auto& [draw, why] : impossible)
        out() << QStringLiteral("impossible draw: %1 (%2)").arg(draw, why) << '\n';
    for (const QString& line : history_check_lines(check, lotto.history, lotto.params().pick_n))
        out() << line << '\n';
    out() << check_summary(check, lotto.history) << '\n';
    if (!impossible.empty())
        out() << QStringLiteral("%1 impossible stored draws: correct them in the Lotto window.")
                     .arg(impossible.size())
              << '\n';
    const bool clean =
        check.missing.empty() && check.suspicious.empty() && check.crowded.empty() && impossible.empty();
    return clean ? done : partly_done;
}

} // namespace cli
