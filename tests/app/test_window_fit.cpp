#include "gui/analyses/frm_backtest.h"
#include "gui/toolkit/window_names.h"
#include "support/shots.h"
#include "support/window_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

namespace {

// The cells of a grid whose text is wider than its column as shown, as "row,col text".
QStringList cut_cells(GridView* view) {
    QStringList cut;
    const GridModel& grid = *view->grid();
    QFont bold_font = view->font();
    bold_font.setBold(true);
    const QFontMetrics plain(view->font()), bold(bold_font);
    for (int c = grid.fixed_cols(); c < grid.cols(); ++c) {
        const int section = c - grid.fixed_cols();
        if (view->isColumnHidden(section))
            continue;
        for (int r = grid.fixed_rows(); r < grid.rows(); ++r) {
            const QString text = grid.text(r, c);
            const QFontMetrics& fm = grid.bold(r, c) ? bold : plain;
            // The item delegate's margins either side of the text.
            if (!text.isEmpty() && fm.horizontalAdvance(text) + 6 > view->columnWidth(section))
                cut << QStringLiteral("%1,%2 %3").arg(r).arg(c).arg(text);
        }
    }
    return cut;
}

// The sample lotto, set and system chosen as the help pages' examples do, with every bonus class
// paid so that System Performance lists "2+bonus" to "4+bonus".
struct Samples {
    TestApp app;
    WindowDriver<> lotto, tsets, system, performance, generator;

    explicit Samples(int point_size, int set_size = 10) {
        QFont font = QApplication::font();
        font.setPointSize(point_size);
        QApplication::setFont(font);
        install_samples(app, QStringLiteral(ZANDREL_SHARE_DIR));
        lotto = open_window(app, window_name::lotto);
        lotto.pick("cmbName", "Canada_6_49");
        tsets = open_window(app, window_name::tsets);
        tsets.pick("cmbSize", "10");
        tsets.pick("cmbSets", "Forecaster1");
        system = open_window(app, window_name::system);
        system.pick("cmbList", "10_3_6");
        performance = open_window(app, window_name::performance);
        performance.set_texts({"txtP2b", "txtP3b", "txtP4b", "txtN7"}, {"5", "10", "80", "2"});
        performance.click("cmdRefresh");
        tsets.click("cmdTsetGenerator");
        generator = drive(app.windows.find(window_name::tset_generator));
        generator.set("txtFrom", "2026-06-03");
        generator.set("txtTo", "2026-11-28");
        generator.get<QAbstractButton>("optHighFr")->setChecked(true);
        generator.click("cmdGo");
        if (set_size != 10) {
            tsets.pick("cmbSize", QString::number(set_size));
            app.dialogs.answers = {QStringLiteral("Wide")};
            tsets.click("cmdNew");
            generator.click("cmdGo");
        }
        QApplication::processEvents();
    }
    ~Samples() { QApplication::setFont(QFont()); }
};

// The room a window has on the smallest screen of its resolution, in its own pixels: 1,280 x 720
// at 96 dpi, 1,920 x 1,080 at 144 dpi (a scale of 1.5), less the frame's title bar and borders.
QSize screen_room() {
    const qreal scale = qApp->devicePixelRatio();
    const QSize screen = scale > 1.25 ? QSize(1920, 1080) : QSize(1280, 720);
    return QSize(qFloor(screen.width() / scale), qFloor(screen.height() / scale)) - QSize(8, 40);
}

bool fits(const QSize& size, const QSize& room) {
    return size.width() <= room.width() && size.height() <= room.height();
}

QString size_text(const QSize& size) {
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

// Every grid shows its texts whole at the windows' default sizes, in the usual desktop font and
// one step larger.
class TestWindowFit : public QObject {
    Q_OBJECT
  private slots:
    void grid_texts_are_whole_data() {
        QTest::addColumn<int>("point_size");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("grid");
        for (const int pt : {10, 12}) {
            const QByteArray size = QByteArray::number(pt) + " pt";
            QTest::newRow("draws, " + size) << pt << "frmLotto"
                                            << "msfDraws";
            QTest::newRow("set rows, " + size) << pt << "frmTsets"
                                               << "msfTsets";
            QTest::newRow("frequencies, " + size) << pt << "frmTsetGenerator"
                                                  << "msfFrequencies";
            QTest::newRow("tickets, " + size) << pt << "frmSystem"
                                              << "msfSystem";
            QTest::newRow("guaranteed results, " + size) << pt << "frmSystem"
                                                         << "msfResults";
            QTest::newRow("winning tickets, " + size) << pt << "frmPerformance"
                                                      << "msfPerformance";
        }
    }
    void grid_texts_are_whole() {
        QFETCH(int, point_size);
        QFETCH(QString, window);
        QFETCH(QString, grid);
        Samples samples(point_size);
        auto* view = samples.app.windows.find(window)->findChild<GridView*>(grid);
        QVERIFY(view);
        QVERIFY(view->grid()->rows() > view->grid()->fixed_rows());
        QCOMPARE(cut_cells(view), QStringList());
    }

    // "Total draws" stands whole beside its count, with no column off the side of the table.
    void frequency_total_is_whole() {
        Samples samples(12);
        auto* view = samples.generator.get<GridView>("msfFrequencies");
        const GridModel& grid = *view->grid();
        QCOMPARE(grid.text(grid.rows() - 1, 0), QStringLiteral("Total draws"));
        QCOMPARE(cut_cells(view), QStringList());
        QVERIFY(!view->horizontalScrollBar()->isVisible());
    }

    // Every position of a set of 20 is in view at the window's default size.
    void set_of_twenty_shows_every_column() {
        Samples samples(10, 20);
        auto* view = samples.tsets.get<GridView>("msfTsets");
        QCOMPARE(view->grid()->cols(), 21);
        QCOMPARE(view->grid()->text(0, 20), QStringLiteral("N20"));
        const int last = view->columnViewportPosition(19) + view->columnWidth(19);
        QVERIFY2(last <= view->viewport()->width(),
                 qPrintable(QStringLiteral("N20 ends at %1 of %2").arg(last).arg(view->viewport()->width())));
    }

    // All ten classes of Forecasting Abilities are in view without scrolling, in the larger font.
    void forecasting_abilities_show_every_class() {
        Samples samples(12);
        QWidget* fa = samples.app.windows.show(QLatin1String(window_name::fability));
        auto* view = drive(fa).get<GridView>("msfFA");
        QApplication::processEvents();
        QCOMPARE(view->grid()->rows(), 11);
        QVERIFY(!view->verticalScrollBar()->isVisible());
    }

    // Every window opens whole on the smallest screen, and can be made no larger than it.
    void windows_fit_the_screen_data() {
        QTest::addColumn<QString>("window");
        for (const char* name : {window_name::main, window_name::help, window_name::lotto, window_name::tsets,
                                 window_name::tset_generator, window_name::system, window_name::performance,
                                 window_name::fability, window_name::profitability, window_name::backtest,
                                 window_name::wheel_designer})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void windows_fit_the_screen() {
        QFETCH(QString, window);
        Samples samples(10);
        QWidget* w = samples.app.windows.show(window);
        QVERIFY(w);
        QApplication::processEvents();
        const QSize room = screen_room(), least = w->minimumSizeHint().expandedTo(w->minimumSize());
        QVERIFY2(
            fits(least, room),
            qPrintable(
                QStringLiteral("%1 needs at least %2 of %3").arg(window, size_text(least), size_text(room))));
        QVERIFY2(
            fits(w->size(), room),
            qPrintable(
                QStringLiteral("%1 opens at %2 on %3").arg(window, size_text(w->size()), size_text(room))));
    }

    // After a run, the Backtest window's grids show their figures whole at its default size, the
    // hits without scrolling.
    void backtest_figures_are_whole() {
        Samples samples(10);
        auto backtest = drive<frmBacktest>(samples.app.windows.show(QLatin1String(window_name::backtest)));
        backtest.get<QRadioButton>("optFixed")->setChecked(true);
        backtest.set("txtNumbers", "1 2 3 4 5 6 7 8 9 10");
        samples.app.dialogs.messages.clear();
        backtest.click("cmdRun");
        QTRY_VERIFY_WITH_TIMEOUT(!backtest->running(), 60000);
        QVERIFY2(samples.app.dialogs.messages.isEmpty(), qPrintable(samples.app.dialogs.messages.join(u'|')));
        QApplication::processEvents();
        auto* hits = backtest.get<GridView>("msfHits");
        QCOMPARE(hits->grid()->text(0, 3), QStringLiteral("Ratio"));
        QCOMPARE(cut_cells(hits), QStringList());
        QVERIFY(!hits->horizontalScrollBar()->isVisible());
        const int ratio_end = hits->columnViewportPosition(3) + hits->columnWidth(3);
        QVERIFY2(ratio_end <= hits->viewport()->width(),
                 qPrintable(
                     QStringLiteral("Ratio ends at %1 of %2").arg(ratio_end).arg(hits->viewport()->width())));
        auto* draws = backtest.get<GridView>("msfDraws");
        QVERIFY(draws->grid()->rows() > 1);
        QCOMPARE(cut_cells(draws), QStringList());
    }
};

QTEST_MAIN(TestWindowFit)
#include "test_window_fit.moc"
