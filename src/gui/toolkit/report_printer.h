#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class GridModel;
class QPaintDevice;
class QPrinter;

// Every row of a grid as a row of cells, for a printed table.
std::vector<QStringList> grid_rows(const GridModel& grid);

// Each column as wide as its widest text in metrics, plus extra.
std::vector<int> column_widths(const std::vector<QStringList>& rows, const QFontMetrics& metrics, int extra);
// The columns of a table too wide for width, in bands that each fit it: every band starts with the
// first `repeated` columns (a date, say) and takes as many of the rest as fit, at least one.
std::vector<std::vector<int>> column_bands(const std::vector<int>& widths, int width, int repeated);
// The rows of a table with only the columns given, in that order.
std::vector<QStringList> band_rows(const std::vector<QStringList>& rows, const std::vector<int>& cols);

// A table of a printed report: rows of text cells in columns, row after row down the pages.
struct ReportTable {
    std::vector<QStringList> rows;
    std::vector<int> widths; // of each column
    int row_height = 0;
    std::function<bool(int row, int col)> bold;
    bool boxed = false;    // framed cells with their text centred; otherwise the text left-aligned
    int repeated_rows = 0; // header rows that start every further page of the table
};

// The pages of a printed report, in a face of 10 points, plain and bold: a heading at the top
// of every page, then a body whose lines flow down the page and on to a new one when the next
// does not fit.
class ReportPages {
  public:
    // next_page is called between pages (a printer's newPage, or saving an image for a preview);
    // printing stops once it returns false.
    ReportPages(QPaintDevice& device, std::function<bool()> next_page, const QFont& face);
    ReportPages(QPrinter& printer, const QFont& face);

    // Paints the heading of a new page (page_count() is its number) and returns where the page's
    // body starts; without one the body starts at the top of the page.
    void set_heading(std::function<int()> heading) { heading_ = std::move(heading); }
    // Where the body ends (the foot of the page unless set).
    void set_body_bottom(int bottom) { body_bottom_ = bottom; }

    // Starts painting on the first page; false when the device cannot be painted on.
    bool begin();
    // Ends painting; the count of pages, 0 when painting did not start or a page was refused.
    int end();

    QPainter& painter() { return painter_; }
    const QRect& page() const { return page_; }
    // The body's face from here on, in points (10 to start with), for a table too wide for it.
    void set_point_size(qreal points);
    const QFont& plain() const { return plain_; }
    const QFont& bold() const { return bold_; }
    QFontMetrics metrics(const QFont& font) const { return QFontMetrics(font, &device_); }
    int line_height(const QFont& font) const { return metrics(font).lineSpacing(); }
    int page_count() const { return pages_; }

    int body_top() const { return top_; }
    int body_bottom() const { return body_bottom_; }
    // The next free line of the current page.
    int y() const { return y_; }
    void set_y(int y) { y_ = y; }
    void skip(int height) { y_ += height; }

    // False once the device takes no further page; nothing is painted after that.
    bool new_page();
    // Starts a new page unless height fits below what is printed, or nothing is printed yet on
    // this page (where it could fit no better).
    bool keep_together(int height);
    // The top of a band of height below what is printed, on a new page when it does not fit.
    std::optional<int> take(int height);
    // One line of text across the page.
    // A report's title in 14-point bold and half a line under it.
    void title(const QString& text);
    bool text_line(const QFont& font, const QString& text,
                   Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    // The table's rows down the pages from the next free line.
    bool table(const ReportTable& table);

  private:
    bool table_row(const ReportTable& table, int row);

    QPaintDevice& device_;
    std::function<bool()> next_page_;
    std::function<int()> heading_;
    QPainter painter_;
    QFont plain_;
    QFont bold_;
    QRect page_;
    int top_ = 0;
    int y_ = 0;
    int body_bottom_ = 0;
    int pages_ = 0;
    bool failed_ = false;
};

// Starts a report on the printer: the document's name and the title on the first page. False
// when the printer cannot start; nothing is printed then.
bool begin_report(QPrinter& printer, ReportPages& pages, const QString& title);
