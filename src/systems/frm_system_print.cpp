#include "systems/frm_system_print.h"

#include "core/grid_model.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

std::vector<QStringList> grid_rows(const GridModel& grid) {
    std::vector<QStringList> rows;
    rows.reserve(grid.rows());
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells << grid.text(r, c);
        rows.push_back(cells);
    }
    return rows;
}

namespace {

class PagePainter {
  public:
    PagePainter(QPaintDevice& device, const std::function<bool()>& next_page, const Printout& doc)
        : device_(device), next_page_(next_page), doc_(doc) {}

    int run() {
        if (!painter_.begin(&device_))
            return 0;
        plain_ = QFont(QStringLiteral("Sans Serif"), 10);
        bold_ = plain_;
        bold_.setBold(true);
        const QFontMetrics fm(plain_, &device_);
        const QFontMetrics bold_fm(bold_, &device_);
        line_ = fm.lineSpacing();
        pad_ = fm.horizontalAdvance(u'0');
        page_ = QRect(0, 0, device_.width(), device_.height());
        body_bottom_ = page_.bottom() - 2 * line_; // room for the page number

        if (start_page()) {
            print_items(fm);
            print_table(bold_fm);
        }
        painter_.end();
        return failed_ ? 0 : pages_;
    }

  private:
    // False once the device takes no further page; everything after that is not painted.
    bool start_page() {
        if (failed_ || (pages_ > 0 && !next_page_())) {
            failed_ = true;
            return false;
        }
        ++pages_;
        painter_.fillRect(page_, Qt::white);
        int y = page_.top();
        painter_.setFont(bold_);
        painter_.drawText(QRect(page_.left(), y, page_.width(), line_), Qt::AlignLeft, doc_.title);
        painter_.setFont(plain_);
        y += line_ * 3 / 2;
        for (const QString& line : doc_.header) {
            painter_.drawText(QRect(page_.left(), y, page_.width(), line_), Qt::AlignLeft, line);
            y += line_;
        }
        y += line_ / 2;
        painter_.drawLine(page_.left(), y, page_.right(), y);
        y += line_;
        painter_.drawText(QRect(page_.left(), body_bottom_ + line_, page_.width(), line_), Qt::AlignRight,
                          QStringLiteral("Page %1").arg(pages_));
        top_ = y;
        y_ = y;
        return true;
    }

    void print_items(const QFontMetrics& fm) {
        if (doc_.items.isEmpty())
            return;
        // An item's text after a tab starts at the same place in every item.
        int widest_label = 0, widest_rest = 0;
        for (const QString& item : doc_.items) {
            const qsizetype tab = item.indexOf(u'\t');
            widest_label = std::max(widest_label, tab < 0 ? 0 : fm.horizontalAdvance(item.left(tab)));
            widest_rest = std::max(widest_rest, fm.horizontalAdvance(tab < 0 ? item : item.mid(tab + 1)));
        }
        const int indent = widest_label > 0 ? widest_label + 2 * pad_ : 0;
        const int col_width = indent + widest_rest + 3 * pad_;
        const int cols = std::max(1, (page_.width() + 3 * pad_) / col_width);
        const int per_col = std::max(1, (body_bottom_ - top_) / line_);
        qsizetype next = 0;
        while (next < doc_.items.size()) {
            if (next > 0 && !start_page())
                return;
            const qsizetype on_page =
                std::min<qsizetype>(doc_.items.size() - next, qsizetype{cols} * per_col);
            // Columns of equal length, so a short last page does not run down one column only.
            const qsizetype rows = (on_page + cols - 1) / cols;
            for (qsizetype i = 0; i < on_page; ++i) {
                const int x = page_.left() + static_cast<int>(i / rows) * col_width;
                const int y = top_ + static_cast<int>(i % rows) * line_;
                const QString& item = doc_.items[next + i];
                const qsizetype tab = item.indexOf(u'\t');
                if (tab >= 0)
                    painter_.drawText(QRect(x, y, indent, line_), Qt::AlignLeft, item.left(tab));
                painter_.drawText(QRect(x + (tab >= 0 ? indent : 0), y, col_width, line_), Qt::AlignLeft,
                                  tab < 0 ? item : item.mid(tab + 1));
            }
            next += on_page;
            y_ = top_ + static_cast<int>(rows) * line_;
        }
    }

    // Measured in the bold font, the wider of the two.
    void print_table(const QFontMetrics& fm) {
        if (doc_.table.empty())
            return;
        std::vector<int> widths;
        for (const QStringList& row : doc_.table)
            for (qsizetype c = 0; c < row.size(); ++c) {
                if (widths.size() <= static_cast<size_t>(c))
                    widths.resize(c + 1, 0);
                widths[c] = std::max(widths[c], fm.horizontalAdvance(row[c]) + 2 * pad_);
            }
        const int row_height = line_ * 5 / 4;
        const int height = (static_cast<int>(doc_.table.size()) + 2) * row_height;
        if (y_ > top_)
            y_ += line_;
        if (y_ + height > body_bottom_ && y_ > top_ && !start_page())
            return;
        painter_.setFont(bold_);
        painter_.drawText(QRect(page_.left(), y_, page_.width(), line_), Qt::AlignLeft, doc_.table_title);
        y_ += row_height * 3 / 2;
        for (size_t r = 0; r < doc_.table.size(); ++r) {
            int x = page_.left();
            for (qsizetype c = 0; c < doc_.table[r].size(); ++c) {
                const bool fixed = static_cast<int>(r) < doc_.table_fixed_rows || c < doc_.table_fixed_cols;
                painter_.setFont(fixed ? bold_ : plain_);
                const QRect cell(x, y_, widths[c], row_height);
                painter_.drawRect(cell);
                painter_.drawText(cell, Qt::AlignCenter, doc_.table[r][c]);
                x += widths[c];
            }
            y_ += row_height;
        }
    }

    QPaintDevice& device_;
    const std::function<bool()>& next_page_;
    const Printout& doc_;
    QPainter painter_;
    QFont plain_;
    QFont bold_;
    QRect page_;
    int line_ = 0;
    int pad_ = 0;
    int top_ = 0; // where the body of every page starts
    int y_ = 0;   // the next free line of the current page
    int body_bottom_ = 0;
    int pages_ = 0;
    bool failed_ = false;
};

} // namespace

int print_pages(QPaintDevice& device, const std::function<bool()>& next_page, const Printout& doc) {
    return PagePainter(device, next_page, doc).run();
}

int print_pages(QPrinter& printer, const Printout& doc) {
    return print_pages(
        printer, [&printer] { return printer.newPage(); }, doc);
}
