#include "gui/toolkit/ticket_printout.h"

#include "gui/toolkit/report_printer.h"

#include <QPrinter>
#include <algorithm>

namespace {

// The systems' page: the printout's title and header over a rule on every page and the page's
// number at its foot; items in columns, then the table kept on one page.
class SystemPages {
  public:
    SystemPages(QPaintDevice& device, const std::function<bool()>& next_page, const Printout& doc)
        : pages_(device, next_page, QFont(QStringLiteral("Sans Serif"), 10)), doc_(doc) {
        line_ = pages_.line_height(pages_.plain());
        pad_ = pages_.metrics(pages_.plain()).horizontalAdvance(u'0');
        pages_.set_body_bottom(pages_.page().bottom() - 2 * line_); // room for the page number
        pages_.set_heading([this] { return heading(); });
    }

    int run() {
        if (pages_.begin()) {
            print_items();
            print_table();
        }
        return pages_.end();
    }

  private:
    int heading() {
        QPainter& painter = pages_.painter();
        const QRect& page = pages_.page();
        painter.fillRect(page, Qt::white);
        int y = page.top();
        painter.setFont(pages_.bold());
        painter.drawText(QRect(page.left(), y, page.width(), line_), Qt::AlignLeft, doc_.title);
        painter.setFont(pages_.plain());
        y += line_ * 3 / 2;
        for (const QString& line : doc_.header) {
            painter.drawText(QRect(page.left(), y, page.width(), line_), Qt::AlignLeft, line);
            y += line_;
        }
        y += line_ / 2;
        painter.drawLine(page.left(), y, page.right(), y);
        y += line_;
        painter.drawText(QRect(page.left(), pages_.body_bottom() + line_, page.width(), line_),
                         Qt::AlignRight, QStringLiteral("Page %1").arg(pages_.page_count()));
        return y;
    }

    void print_items() {
        if (doc_.items.isEmpty())
            return;
        const QFontMetrics fm = pages_.metrics(pages_.plain());
        QPainter& painter = pages_.painter();
        const QRect& page = pages_.page();
        // An item's text after a tab starts at the same place in every item.
        int widest_label = 0, widest_rest = 0;
        for (const QString& item : doc_.items) {
            const qsizetype tab = item.indexOf(u'\t');
            widest_label = std::max(widest_label, tab < 0 ? 0 : fm.horizontalAdvance(item.left(tab)));
            widest_rest = std::max(widest_rest, fm.horizontalAdvance(tab < 0 ? item : item.mid(tab + 1)));
        }
        const int indent = widest_label > 0 ? widest_label + 2 * pad_ : 0;
        const int col_width = indent + widest_rest + 3 * pad_;
        const int cols = std::max(1, (page.width() + 3 * pad_) / col_width);
        const int top = pages_.body_top();
        const int per_col = std::max(1, (pages_.body_bottom() - top) / line_);
        qsizetype next = 0;
        while (next < doc_.items.size()) {
            if (next > 0 && !pages_.new_page())
                return;
            const qsizetype on_page =
                std::min<qsizetype>(doc_.items.size() - next, qsizetype{cols} * per_col);
            // Columns of equal length, so a short last page does not run down one column only.
            const qsizetype rows = (on_page + cols - 1) / cols;
            for (qsizetype i = 0; i < on_page; ++i) {
                const int x = page.left() + static_cast<int>(i / rows) * col_width;
                const int y = top + static_cast<int>(i % rows) * line_;
                const QString& item = doc_.items[next + i];
                const qsizetype tab = item.indexOf(u'\t');
                if (tab >= 0)
                    painter.drawText(QRect(x, y, indent, line_), Qt::AlignLeft, item.left(tab));
                painter.drawText(QRect(x + (tab >= 0 ? indent : 0), y, col_width, line_), Qt::AlignLeft,
                                 tab < 0 ? item : item.mid(tab + 1));
            }
            next += on_page;
            pages_.set_y(top + static_cast<int>(rows) * line_);
        }
    }

    void print_table() {
        if (doc_.table.empty())
            return;
        ReportTable table;
        table.rows = doc_.table;
        // Measured in the bold font, the wider of the two.
        table.widths = column_widths(table.rows, pages_.metrics(pages_.bold()), 2 * pad_);
        table.row_height = line_ * 5 / 4;
        table.bold = [this](int row, int col) {
            return row < doc_.table_fixed_rows || col < doc_.table_fixed_cols;
        };
        table.boxed = true;
        table.repeated_rows = doc_.table_fixed_rows;
        if (pages_.y() > pages_.body_top())
            pages_.skip(line_);
        // The title, the table and a row's room below it on one page.
        if (!pages_.keep_together((static_cast<int>(table.rows.size()) + 2) * table.row_height))
            return;
        QPainter& painter = pages_.painter();
        painter.setFont(pages_.bold());
        painter.drawText(QRect(pages_.page().left(), pages_.y(), pages_.page().width(), line_), Qt::AlignLeft,
                         doc_.table_title);
        pages_.skip(table.row_height * 3 / 2);
        pages_.table(table);
    }

    ReportPages pages_;
    const Printout& doc_;
    int line_ = 0;
    int pad_ = 0;
};

} // namespace

int print_pages(QPaintDevice& device, const std::function<bool()>& next_page, const Printout& doc) {
    return SystemPages(device, next_page, doc).run();
}

int print_pages(QPrinter& printer, const Printout& doc) {
    return print_pages(
        printer, [&printer] { return printer.newPage(); }, doc);
}
