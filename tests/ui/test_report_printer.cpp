#include "gui/toolkit/report_printer.h"

#include <QPaintEngine>
#include <QtTest>
#include <memory>

namespace {

// A device of pages 800 x 1000 dots that keeps every text painted on it, with its page and line.
class TextPages final : public QPaintDevice {
  public:
    struct Text {
        int page;
        int y;
        QString text;
    };

    explicit TextPages(bool can_paint) : engine_(std::make_unique<Engine>(*this, can_paint)) {}

    std::vector<Text> texts;
    int page = 1;

    QPaintEngine* paintEngine() const override { return engine_.get(); }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 800;
        case PdmHeight:
            return 1000;
        case PdmWidthMM:
            return 203;
        case PdmHeightMM:
            return 254;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 100;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

  private:
    class Engine final : public QPaintEngine {
      public:
        Engine(TextPages& pages, bool can_paint)
            : QPaintEngine(AllFeatures), pages_(pages), can_paint_(can_paint) {}
        bool begin(QPaintDevice*) override { return can_paint_; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF& at, const QTextItem& item) override {
            pages_.texts.push_back({pages_.page, int(at.y()), item.text()});
        }
        Type type() const override { return User; }

      private:
        TextPages& pages_;
        bool can_paint_;
    };
    std::unique_ptr<Engine> engine_;
};

constexpr int heading_height = 100;
constexpr int row_height = 20;

} // namespace

class TestReportPrinter : public QObject {
    Q_OBJECT
  private slots:
    // A heading of 100 dots and rows of 20: a page holds the header row and 44 data rows.
    void table_over_pages_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages_taken"); // how many pages the device takes
        QTest::addColumn<bool>("can_paint");
        QTest::addColumn<int>("pages");
        QTest::newRow("on one page") << 44 << 9 << true << 1;
        QTest::newRow("one row more starts a page") << 45 << 9 << true << 2;
        QTest::newRow("over three pages") << 100 << 9 << true << 3;
        QTest::newRow("the device takes no third page") << 100 << 2 << true << 0;
        QTest::newRow("painting cannot start") << 10 << 9 << false << 0;
    }
    void table_over_pages() {
        QFETCH(int, rows);
        QFETCH(int, pages_taken);
        QFETCH(bool, can_paint);
        QFETCH(int, pages);
        TextPages device(can_paint);
        const auto next_page = [&] {
            if (device.page == pages_taken)
                return false;
            ++device.page;
            return true;
        };
        ReportPages report(device, next_page, QFont(QStringLiteral("Sans Serif"), 10));
        report.set_heading([&] {
            report.painter().drawText(QRect(0, 0, 800, 40), Qt::AlignLeft,
                                      QStringLiteral("Page %1").arg(report.page_count()));
            return heading_height;
        });
        ReportTable table;
        table.rows.push_back({QStringLiteral("N"), QStringLiteral("Numbers")});
        for (int r = 1; r <= rows; ++r)
            table.rows.push_back({QString::number(r), QStringLiteral("row %1").arg(r)});
        table.widths = {100, 300};
        table.row_height = row_height;
        table.repeated_rows = 1;
        if (report.begin())
            report.table(table);
        QCOMPARE(report.end(), pages);
        if (!can_paint) {
            QVERIFY(device.texts.empty());
            return;
        }

        // Each page: its heading, the header row, then the data rows that follow the last page's.
        const int printed = pages > 0 ? pages : pages_taken;
        QStringList expected;
        int next = 1;
        for (int page = 1; page <= printed; ++page) {
            expected << QStringLiteral("Page %1").arg(page) << QStringLiteral("N")
                     << QStringLiteral("Numbers");
            for (int i = 0; i < 44 && next <= rows; ++i, ++next)
                expected << QString::number(next) << QStringLiteral("row %1").arg(next);
        }
        QStringList seen;
        for (const TextPages::Text& t : device.texts) {
            seen << t.text;
            QVERIFY2(t.page <= printed && t.y <= 1000, qPrintable(t.text));
        }
        QCOMPARE(seen, expected);
        QCOMPARE(device.texts.back().page, printed);
    }

    // The widest cell of each column, wherever its row stops.
    void column_widths_measure_every_row() {
        const QFont font(QStringLiteral("Sans Serif"), 10);
        const QFontMetrics metrics(font);
        const std::vector<QStringList> rows = {{QStringLiteral("1")},
                                               {QStringLiteral("12345"), QStringLiteral("a")},
                                               {QStringLiteral("12"), QStringLiteral("abcdef"), QString()}};
        const std::vector<int> widths = column_widths(rows, metrics, 4);
        const std::vector<int> expected = {metrics.horizontalAdvance(QStringLiteral("12345")) + 4,
                                           metrics.horizontalAdvance(QStringLiteral("abcdef")) + 4, 4};
        QCOMPARE(widths, expected);
    }

    // A table too wide for the page goes in bands of columns, each starting with the repeated
    // ones; every column is in one band, none is lost, a column wider than the page stands alone.
    void column_bands_hold_every_column_data() {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("repeated");
        QTest::addColumn<QString>("bands");
        QTest::newRow("fits whole") << QList<int>{10, 20, 30} << 60 << 1 << "0 1 2";
        QTest::newRow("two bands") << QList<int>{10, 20, 30, 15} << 50 << 1 << "0 1 | 0 2 | 0 3";
        QTest::newRow("the date on each")
            << QList<int>{20, 10, 10, 10, 10, 10} << 50 << 1 << "0 1 2 3 | 0 4 5";
        QTest::newRow("a column too wide") << QList<int>{10, 90, 5} << 50 << 1 << "0 1 | 0 2";
        QTest::newRow("nothing repeated") << QList<int>{30, 30, 30} << 60 << 0 << "0 1 | 2";
        QTest::newRow("no columns") << QList<int>{} << 60 << 1 << "";
    }
    void column_bands_hold_every_column() {
        QFETCH(QList<int>, widths);
        QFETCH(int, page);
        QFETCH(int, repeated);
        QFETCH(QString, bands);
        QStringList shown;
        for (const std::vector<int>& band :
             column_bands(std::vector<int>(widths.begin(), widths.end()), page, repeated)) {
            QStringList cols;
            for (int c : band)
                cols << QString::number(c);
            shown << cols.join(u' ');
        }
        QCOMPARE(shown.join(QStringLiteral(" | ")), bands);
        const std::vector<QStringList> rows = {{"a", "b", "c"}, {"d"}};
        QCOMPARE(band_rows(rows, {2, 0}), (std::vector<QStringList>{{"c", "a"}, {QString(), "d"}}));
    }
};

QTEST_MAIN(TestReportPrinter)
#include "test_report_printer.moc"
