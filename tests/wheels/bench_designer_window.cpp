// The Wheel Designer as a player runs it: how soon the window shows a first checked wheel for 49
// numbers (tickets of 6, 3 if 3), how often its progress changes, and how long Stop takes to show
// the best wheel and then its guaranteed results. With --shot DURING AFTER it instead opens the window on the
// sample data (from --samples DIR, default share/), designs a wheel for 20 numbers (tickets of 6, 3 if 3) and
// saves a picture of it a few seconds into the run and one after it.
#include "gui/wheels/frm_wheel_designer.h"
#include "support/shots.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

using Designer = WindowDriver<frmWheelDesigner>;

void start(const Designer& d, const QStringList& values) {
    d.set_texts({"txtNumbers", "txtPick", "txtGuarantee", "txtIf", "txtSeconds", "txtSeed", "txtTickets"},
                values);
    d.click("cmdStart");
}

// Lets the window run for ms, or until its search ends.
void run_for(const Designer& d, qint64 ms) {
    QElapsedTimer waited;
    waited.start();
    while (d->running() && waited.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
}

int shot(const ShotRequest& request) {
    TestApp app;
    choose_samples(app, request.samples);
    const auto d = open_window<frmWheelDesigner>(app, "frmWheelDesigner");
    start(d, {"20", "6", "3", "3", "20", "1", "0"});
    run_for(d, 4000);
    d->grab().save(request.files[0]);
    run_for(d, 60000);
    d->grab().save(request.files[1]);
    for (const QString& m : app.dialogs.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return 0;
}

int bench() {
    TestApp app;
    const auto d = open_window<frmWheelDesigner>(app, "frmWheelDesigner");
    QElapsedTimer clock;
    clock.start();
    start(d, {"49", "6", "3", "3", "60", "1", "0"});
    while (!d.text("lblBest").endsWith(QStringLiteral("tickets")) && clock.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double first = clock.nsecsElapsed() / 1e9;
    std::printf("49 numbers, tickets of 6, 3 if 3:\n  first checked wheel shown after %.2f s (%s)\n", first,
                qPrintable(d.text("lblBest")));
    // How often the progress changes over the next three seconds.
    int changes = 0;
    QString last = d.text("lblElapsed");
    QElapsedTimer watched;
    watched.start();
    while (watched.elapsed() < 3000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (d.text("lblElapsed") != last) {
            last = d.text("lblElapsed");
            ++changes;
        }
    }
    std::printf("  progress shown %.1f times a second\n", changes / (watched.nsecsElapsed() / 1e9));
    QElapsedTimer stop;
    stop.start();
    d.click("cmdStop");
    while (d.grid("msfTickets").rows() < 2 && stop.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    std::printf("  Stop: the best wheel (%s) shown %.1f ms after the click,", qPrintable(d.text("lblBest")),
                stop.nsecsElapsed() / 1e6);
    run_for(d, 60000);
    std::printf(" its guaranteed results after %.1f ms\n", stop.nsecsElapsed() / 1e6);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = offscreen_arguments(argc, argv);
    QApplication qapp(argc, argv);
    const ShotRequest request = shot_request(args, 2, QStringLiteral(ZANDREL_SHARE_DIR));
    return request.shot ? shot(request) : bench();
}
