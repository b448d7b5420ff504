// Backtests as a player runs them: system 20_4_6 (500 tickets) on fixed numbers over 3,600 draws,
// and 10_3_6 on each draw's highest frequencies over the 100 draws before it, over 100,000 draws;
// prints the time of each. With --shot FILE it instead opens the Backtest window on the sample data
// (from --samples DIR, default share/), runs 10_3_6 on the forecasts of the sample set and saves a
// picture of it; with --screen WxH as well, the window as large as a screen of that many pixels
// lets it (at the scale QT_SCALE_FACTOR gives), to see what a laptop shows; with --pdf FILE the
// window's printout too.
#include "core/analyses/backtest.h"
#include "core/base/convert.h"
#include "gui/analyses/frm_backtest.h"
#include "support/bench_timing.h"
#include "support/shots.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QRandomGenerator>
#include <cstdio>
#include <ctime>

namespace {

void print(const char* what, Time t, double target) {
    std::printf("  %-44s %8.1f ms (processor %.1f ms; target %.0f ms)\n", what, t.wall, t.cpu, target);
}

// A 6/49 history of one draw a day, each with a bonus.
std::vector<DrawRec> history(int count) {
    QRandomGenerator rng(2020);
    std::vector<DrawRec> draws(static_cast<size_t>(count));
    const double first = date_to_serial(QDate(1900, 1, 1));
    for (int i = 0; i < count; ++i) {
        DrawRec& d = draws[static_cast<size_t>(i)];
        d.date = first + i;
        std::array<bool, 50> taken{};
        for (int j = 0; j < 7; ++j) {
            int16_t x = 0;
            do
                x = static_cast<int16_t>(1 + rng.bounded(49));
            while (taken[x]);
            taken[x] = true;
            (j < 6 ? d.n[j] : d.nb) = x;
        }
    }
    return draws;
}

int shot(const QString& samples, const QString& png, const QSize& screen, const QString& pdf) {
    TestApp app;
    app.session.today = [] { return QDate(2026, 12, 1); };
    choose_samples(app, samples);
    const auto w = open_window<frmBacktest>(app, "frmBacktest");
    if (screen.isValid()) {
        // The screen in the window's own pixels, less a title bar and borders.
        const qreal scale = qApp->devicePixelRatio();
        const QSize room =
            QSize(qFloor(screen.width() / scale), qFloor(screen.height() / scale)) - QSize(8, 40);
        w->resize(room.expandedTo(w->minimumSizeHint()));
        std::fprintf(stderr, "window %d x %d, at least %d x %d, on %d x %d\n", w->width(), w->height(),
                     w->minimumSizeHint().width(), w->minimumSizeHint().height(), room.width(),
                     room.height());
    }
    w.pick("cmbSystem", "10_3_6");
    w.get<QRadioButton>("optForecasts")->setChecked(true);
    w.click("cmdRun");
    QElapsedTimer waited;
    waited.start();
    while (w->running() && waited.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    for (const QString& m : app.dialogs.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    if (!pdf.isEmpty()) {
        app.dialogs.print_file = pdf;
        w.click("cmdPrint");
    }
    return app.dialogs.messages.isEmpty() && !w->running() && w->grab().save(png) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = offscreen_arguments(argc, argv);
    QApplication qapp(argc, argv);
    QLocale::setDefault(QLocale::c());
    if (const ShotRequest request = shot_request(args, 1, QStringLiteral(ZANDREL_SHARE_DIR)); request.shot)
        return shot(
            request.samples, request.files[0],
            [&args] {
                const QStringList size = args.value(args.indexOf(QStringLiteral("--screen")) + 1).split(u'x');
                return args.contains(QStringLiteral("--screen")) && size.size() == 2
                           ? QSize(size[0].toInt(), size[1].toInt())
                           : QSize();
            }(),
            args.contains(QStringLiteral("--pdf")) ? args.value(args.indexOf(QStringLiteral("--pdf")) + 1)
                                                   : QString());

    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = 6;
    lotto.prize3 = 10;
    lotto.prize4 = 100;
    lotto.prize5 = 1000;
    lotto.prize5b = 50000;
    lotto.prize6 = 1000000;
    lotto.cost = 3;

    const std::vector<DrawRec> short_history = history(3600);
    BacktestSource fixed;
    fixed.numbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    BacktestResult result;
    std::printf("fixed numbers, 3,600 draws:\n");
    print("20_4_6 (500 tickets a draw)",
          best(5, [&] { result = run_backtest(lotto, short_history, "20_4_6", {}, fixed); }), 100);
    if (result.draws.size() != 3600 || result.tickets != 3600 * 500)
        return 1;

    const std::vector<DrawRec> long_history = history(100000);
    BacktestSource rule;
    rule.kind = BacktestSource::Kind::rule;
    rule.window = 100;
    std::printf("rule over the 100 draws before each, 100,000 draws:\n");
    for (const auto& [name, walk] : {std::pair{"10_3_6, highest frequencies", WalkRule::highest},
                                     std::pair{"10_3_6, random", WalkRule::random}}) {
        rule.rule = walk;
        print(name, best(3, [&] { result = run_backtest(lotto, long_history, "10_3_6", {}, rule); }), 1000);
        if (result.draws.size() != 100000 - 100 && walk != WalkRule::random)
            return 1;
    }
    return 0;
}
