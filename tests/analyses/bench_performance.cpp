// Times System Performance of 19_4_5 (969 tickets) on one draw: the scoring alone and the
// window's Refresh. With --shot FILE it instead opens the window on the sample data (the sources
// d1, d1a and d2 from --samples DIR, default share/) and saves a picture of it, and with --pdf FILE
// also prints it there; --show leaves it on screen instead.

#include "core/analyses/performance.h"
#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/text_files.h"
#include "core/lotto/lotto_files.h"
#include "core/systems/system_catalogue.h"
#include "core/systems/system_expansion.h"
#include "gui/analyses/frm_performance.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/window_names.h"
#include "support/test_app.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Writes the current-system file of `name` on the set, as the Systems window does.
bool write_system(const QString& app_dir, const QString& name, const std::array<int16_t, 21>& set) {
    const std::optional<SystemInfo> info = find_system(name);
    if (!info)
        return false;
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(name, count, tickets);
    QStringList lines;
    for (int16_t row = 1; row <= info->ticket_count(); ++row) {
        const std::optional<QString> line = system_file_line(tickets, row, info->v, info->m, set);
        if (!line)
            return false;
        lines << *line;
    }
    return write_text_lines(system_file_path(app_dir), lines);
}

// The line of `file` whose first field is `date`, split into its fields (from index 1).
QStringList dated_line(const QString& file, const QString& date) {
    for (const QString& line : read_text_lines(file).value_or(QStringList())) {
        QStringList pieces;
        if (split_text(QStringLiteral(" "), line, pieces) > 0 && pieces[1] == date)
            return pieces;
    }
    return {};
}

// The selections of the user guide's example: Canada_6_49, its draw and Forecaster1's row of
// 2026-10-17, and the system 10_3_6.
bool select_samples(TestApp& app, const QString& samples) {
    const QString date = QStringLiteral("2026-10-17");
    const auto params = read_param_file(samples + QStringLiteral("/d1a"));
    const QStringList draw = dated_line(samples + QStringLiteral("/d1"), date);
    const QStringList row = dated_line(samples + QStringLiteral("/d2"), date);
    if (!params || draw.size() < 9 || row.size() < 12)
        return false;
    app.session.lotto.set_params(*params);
    app.session.lotto.set_name(QStringLiteral("Canada_6_49"));
    DrawRec drawn;
    drawn.date = *date_text_to_serial(date, DatePart::DateOnly);
    for (int i = 0; i < 6; ++i)
        drawn.n[i] = static_cast<int16_t>(draw[i + 2].toInt());
    drawn.nb = static_cast<int16_t>(draw[8].toInt());
    app.session.lotto.set_current_draw(drawn);
    app.session.tset.set_size(10);
    app.session.tset.set_name(QStringLiteral("Forecaster1"));
    for (int i = 1; i <= 10; ++i)
        app.session.tset.numbers()[i] = static_cast<int16_t>(row[i + 1].toInt());
    app.session.system.set_name(QStringLiteral("10_3_6"));
    return write_system(app.session.app_dir, app.session.system.name(), app.session.tset.numbers());
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const qsizetype shot_at = args.indexOf(QStringLiteral("--shot"));
    const bool show = args.contains(QStringLiteral("--show"));
    if (!show)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zandrel"));
    TestApp app;

    if (show || shot_at >= 0) {
        const qsizetype at = args.indexOf(QStringLiteral("--samples"));
        const QString samples =
            at >= 0 && at + 1 < args.size() ? args[at + 1] : QStringLiteral(ZANDREL_SHARE_DIR);
        if (!select_samples(app, samples)) {
            std::fprintf(stderr, "cannot read the samples in %s\n", qPrintable(samples));
            return 1;
        }
        auto* w = app.show<frmPerformance>(QLatin1String(window_name::performance));
        if (show)
            return QApplication::exec();
        QApplication::processEvents();
        const qsizetype pdf_at = args.indexOf(QStringLiteral("--pdf"));
        if (pdf_at >= 0) {
            app.dialogs.print_file = args.value(pdf_at + 1);
            w->cmdPrint_Click();
        }
        return w->grab().save(args.value(shot_at + 1)) ? 0 : 1;
    }

    // A 5/49 lotto paying every class, so that most tickets make a row: the six drawn numbers and
    // the bonus all lie in the set.
    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = 5;
    lotto.prize2 = 1;
    lotto.prize2b = 2;
    lotto.prize3 = 10;
    lotto.prize3b = 20;
    lotto.prize4 = 100;
    lotto.prize4b = 200;
    lotto.prize5 = 1000;
    lotto.prize5b = 2000;
    app.session.lotto.set_params(lotto);
    app.session.lotto.set_current_draw(DrawRec{46000, {2, 5, 11, 17, 23, 31}, 37});
    app.session.tset.set_size(19);
    const int16_t set[] = {2, 5, 11, 17, 23, 31, 37, 1, 3, 4, 6, 7, 8, 9, 10, 12, 13, 14, 15};
    std::copy(std::begin(set), std::end(set), app.session.tset.numbers().begin() + 1);
    app.session.system.set_name(QStringLiteral("19_4_5"));
    if (!write_system(app.session.app_dir, app.session.system.name(), app.session.tset.numbers())) {
        std::fprintf(stderr, "cannot write the system file\n");
        return 1;
    }

    const int runs = 50;
    DrawTexts7 draw;
    for (int i = 0; i < 6; ++i)
        draw[i] = QString::number(app.session.lotto.current_draw().n[i]);
    draw[6] = QString::number(app.session.lotto.current_draw().nb);
    PrizeTexts prizes;
    const float values[] = {1, 2, 10, 20, 100, 200, 1000, 2000, 0, 0};
    for (int i = 0; i < prize_class_count; ++i)
        prizes[i] = float_to_text(values[i]);
    std::vector<double> core_ms;
    size_t winners = 0;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        const auto file = app.session.system.open_file(app.session.app_dir);
        const SystemScore score = score_system(file.lines, draw, prizes, lotto.pick_n);
        core_ms.push_back(t.nsecsElapsed() / 1e6);
        winners = score.winners.size();
    }

    auto* w = app.show<frmPerformance>(QLatin1String(window_name::performance));
    QApplication::processEvents();
    auto* refresh = w->findChild<QPushButton*>(QStringLiteral("cmdRefresh"));
    std::vector<double> window_ms;
    for (int i = 0; i < runs; ++i) {
        t.start();
        refresh->click();
        QApplication::processEvents();
        window_ms.push_back(t.nsecsElapsed() / 1e6);
    }
    const GridModel& grid = drive(w).grid("msfPerformance");

    std::printf("System Performance of 19_4_5 (969 tickets) on one draw (target: under 20 ms)\n");
    std::printf("  winning tickets                %6zu (total %s)\n", winners,
                qPrintable(grid.text(grid.rows() - 1, 3)));
    std::printf("  read and score the file       %8.2f ms (median of %d)\n", median(core_ms), runs);
    std::printf("  Refresh, table shown          %8.2f ms (median of %d)\n", median(window_ms), runs);
    if (!app.dialogs.messages.isEmpty())
        std::printf("  messages: %s\n", qPrintable(app.dialogs.messages.join(QStringLiteral(" | "))));
    return app.dialogs.messages.isEmpty() ? 0 : 1;
}
