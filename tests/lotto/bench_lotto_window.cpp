// Times the Lotto window on a lotto with many draws: loading it, selecting a row, Add and Save.
// With --show it instead opens the window on a small lotto and leaves it on screen, for a look;
// --samples DIR then takes the sample sources d1 and d1a from DIR.

#include "core/base/text_files.h"
#include "core/lotto/lotto_files.h"
#include "gui/lotto/frm_lotto.h"
#include "gui/toolkit/grid_model.h"
#include "lotto/sample_lotto.h"
#include "support/test_app.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

void make_lotto(const QString& folder, int draws) {
    QDir().mkpath(folder);
    write_param_file(folder + QStringLiteral("/param.qtz"), lotto49());

    // Daily draws in shuffled order, so the load has real sorting to do.
    std::mt19937 rng(20261207);
    std::vector<int> days(draws);
    for (int i = 0; i < draws; ++i)
        days[i] = i;
    std::shuffle(days.begin(), days.end(), rng);
    const QDate first = QDate::currentDate().addDays(-draws);
    QStringList lines;
    lines.reserve(draws);
    for (int day : days) {
        std::vector<int> numbers(49);
        for (int n = 0; n < 49; ++n)
            numbers[n] = n + 1;
        std::shuffle(numbers.begin(), numbers.end(), rng);
        QString line = first.addDays(day).toString(Qt::ISODate) + u' ';
        for (int i = 0; i < 7; ++i)
            line += QString::number(numbers[i]) + u' ';
        lines << line;
    }
    write_text_lines(folder + QStringLiteral("/draws.txt"), lines);
}

double elapsed_ms(QElapsedTimer& t) {
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = [&] {
        QStringList a;
        for (int i = 1; i < argc; ++i)
            a << QString::fromLocal8Bit(argv[i]);
        return a;
    }();
    const bool show = args.contains(QStringLiteral("--show"));
    if (!show)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zandrel"));

    TestApp app;
    app.session.today = [] { return QDate::currentDate(); };
    if (show) {
        const qsizetype at = args.indexOf(QStringLiteral("--samples"));
        const QString lotto = app.path(QStringLiteral("Lto/Canada_6_49"));
        if (at >= 0 && at + 1 < args.size()) {
            QDir().mkpath(lotto);
            QFile::copy(args[at + 1] + QStringLiteral("/d1"), lotto + QStringLiteral("/draws.txt"));
            QFile::copy(args[at + 1] + QStringLiteral("/d1a"), lotto + QStringLiteral("/param.qtz"));
        } else {
            make_lotto(lotto, 120);
        }
        auto* w = app.show<frmLotto>(QStringLiteral("frmLotto"));
        auto* name = w->findChild<QComboBox*>(QStringLiteral("cmbName"));
        name->setCurrentIndex(0);
        w->cmbName_Click();
        return QApplication::exec();
    }

    const int draws = 100000;
    make_lotto(app.path(QStringLiteral("Lto/Big")), draws);
    auto* w = app.show<frmLotto>(QStringLiteral("frmLotto"));
    QApplication::processEvents();
    GridModel& grid = drive(w).grid("msfDraws");
    QElapsedTimer t;

    w->findChild<QComboBox*>(QStringLiteral("cmbName"))->setEditText(QStringLiteral("Big"));
    t.start();
    w->cmbName_Click();
    const double load = elapsed_ms(t);

    grid.set_row(draws / 2);
    grid.set_row_sel(draws / 2);
    t.start();
    w->msfDraws_Click();
    const double select = elapsed_ms(t);

    w->findChild<QLineEdit*>(QStringLiteral("txtN1"))->setText(QStringLiteral("7"));
    t.start();
    w->cmdAdd_Click();
    const double add = elapsed_ms(t);

    t.start();
    w->cmdDrawSave_Click();
    const double save = elapsed_ms(t);

    std::printf("Lotto window, %d draws (target: each under 500 ms)\n", grid.rows() - 1);
    std::printf("  load lotto   %8.1f ms\n", load);
    std::printf("  select row   %8.1f ms\n", select);
    std::printf("  add          %8.1f ms\n", add);
    std::printf("  save draws   %8.1f ms\n", save);
    if (!app.dialogs.messages.isEmpty())
        std::printf("  messages: %s\n", qPrintable(app.dialogs.messages.join(QStringLiteral(" | "))));
    return app.dialogs.messages.isEmpty() ? 0 : 1;
}
