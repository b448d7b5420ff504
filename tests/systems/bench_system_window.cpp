// Times picking a system in the Systems window, offscreen: the results table, the expansion, the
// grid and the current-system file. With --shot FILE it instead saves a picture of the window with
// 10_4_6 expanded on the sample set (the last row of d2, the lotto of d1a, both taken from
// --samples DIR), and with --pages DIR pictures of the pages Print System would print.

#include "core/base/common_routines.h"
#include "core/base/text_files.h"
#include "core/lotto/lotto_files.h"
#include "core/systems/system_expansion.h"
#include "gui/systems/frm_system.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/ticket_printout.h"
#include "gui/toolkit/window_names.h"
#include "support/test_app.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void select(Session& s, int size, int16_t pick_n) {
    s.tset.set_name(QStringLiteral("Bench"));
    s.tset.set_size(static_cast<int16_t>(size));
    for (int i = 1; i <= size; ++i)
        s.tset.numbers()[i] = static_cast<int16_t>(2 * i + 1);
    s.lotto.set_name(QStringLiteral("Bench"));
    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = pick_n;
    lotto.cost = 2;
    s.lotto.set_params(lotto);
}

template <class F> double median_ms(F&& step) {
    std::vector<double> ms;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer t;
        t.start();
        step();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void pick(frmSystem* w, const QString& name) {
    auto* box = w->findChild<QComboBox*>(QStringLiteral("cmbList"));
    box->setCurrentIndex(box->findText(name));
    w->cmbList_Click();
}

// The sample set's last row and the sample lotto, as the Targeted Sets and Lotto windows load them.
bool select_samples(Session& s, const QString& dir) {
    const auto lines = read_text_lines(dir + QStringLiteral("/d2"));
    const auto lotto = read_param_file(dir + QStringLiteral("/d1a"));
    if (!lines || lines->isEmpty() || !lotto)
        return false;
    QStringList pieces;
    const int16_t count = split_text(QStringLiteral(" "), lines->last(), pieces);
    s.tset.set_name(QStringLiteral("Forecaster1"));
    s.tset.set_size(static_cast<int16_t>(count - 1));
    for (int i = 2; i <= count && i <= 21; ++i)
        s.tset.numbers()[i - 1] = static_cast<int16_t>(pieces[i].toShort());
    s.lotto.set_params(*lotto);
    s.lotto.set_name(QStringLiteral("Canada_6_49"));
    return true;
}

int look(TestApp& app, const QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--samples"));
    if (at < 0 || at + 1 >= args.size() || !select_samples(app.session, args[at + 1])) {
        std::fprintf(stderr, "--samples DIR must name the folder with d1a and d2\n");
        return 2;
    }
    auto* w = app.show<frmSystem>(window_name::system);
    pick(w, QStringLiteral("10_4_6"));
    QApplication::processEvents();
    if (const qsizetype shot = args.indexOf(QStringLiteral("--shot")); shot >= 0 && shot + 1 < args.size())
        w->grab().save(args[shot + 1]);
    if (const qsizetype pages = args.indexOf(QStringLiteral("--pages"));
        pages >= 0 && pages + 1 < args.size()) {
        // A page of A4 at 100 dots per inch.
        QImage page(827, 1169, QImage::Format_RGB32);
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        int n = 0;
        const auto save = [&] {
            return page.save(QStringLiteral("%1/page%2.png").arg(args[pages + 1]).arg(++n));
        };
        if (print_pages(page, save, w->printout()) > 0)
            save();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const QStringList args = QApplication::arguments();
    TestApp app;
    app.session.today = [] { return QDate::currentDate(); };
    if (args.contains(QStringLiteral("--shot")) || args.contains(QStringLiteral("--pages")))
        return look(app, args);

    std::printf("Picking a system in the Systems window (target: under 50 ms each)\n");
    struct Case {
        const char* name;
        int size;
        int16_t pick_n;
    };
    for (const Case& c : {Case{"20_4_6", 20, 6}, Case{"19_4_5", 19, 5}}) {
        select(app.session, c.size, c.pick_n);
        auto* w = app.show<frmSystem>(window_name::system);
        const QString name = QString::fromLatin1(c.name);
        const double whole = median_ms([&] {
            pick(w, name);
            QApplication::processEvents();
        });
        // Its parts, without the window.
        SystemSelection& s = app.session.system;
        const TsetDocument& set = app.session.tset;
        TextTable grid;
        const double tables = median_ms([&] { s.read_results(name); });
        const double expand = median_ms([&] {
            s.read_tickets(name);
            fill_system_grid(grid, s.tickets(), set.size(), c.pick_n, set.numbers());
        });
        const QString file = app.path(QStringLiteral("system"));
        const double write = median_ms([&] { write_text_lines(file, system_file_lines(grid)); });
        std::printf("  %s on a %d-number set, %d tickets: %.2f ms (tables %.2f, expansion and grid %.2f, "
                    "file %.2f; medians of 15)\n",
                    c.name, c.size, grid.rows() - 1, whole, tables, expand, write);
        w->close();
        QApplication::processEvents();
    }
    if (!app.dialogs.messages.isEmpty())
        std::printf("  messages: %s\n", qPrintable(app.dialogs.messages.join(QStringLiteral(" | "))));
    return app.dialogs.messages.isEmpty() ? 0 : 1;
}
