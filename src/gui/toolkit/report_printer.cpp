#include "gui/toolkit/report_printer.h"

#include "gui/toolkit/grid_model.h"

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

std::vector<int> column_widths(const std::vector<QStringList>& rows, const QFontMetrics& metrics, int extra) {
    std::vector<int> widths;
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= static_cast<size_t>(c))
                widths.resize(c + 1, 0);
            widths[c] = std::max(widths[c], metrics.horizontalAdvance(row[c]) + extra);
        }
    return widths;
}

ReportPages::ReportPages(QPaintDevice& device, std::function<bool()> next_page, const QFont& face)
    : device_(device), next_page_(std::move(next_page)), plain_(face),
      page_(0, 0, device.width(), device.height()), body_bottom_(device.height()) {
    plain_.setPointSize(10);
    bold_ = plain_;
    bold_.setBold(true);
}

std::vector<std::vector<int>> column_bands(const std::vector<int>& widths, int width, int repeated) {
    const int count = static_cast<int>(widths.size());
    repeated = std::clamp(repeated, 0, count);
    int lead = 0;
    for (int c = 0; c < repeated; ++c)
        lead += widths[c];
    std::vector<std::vector<int>> bands;
    int next = repeated;
    do {
        std::vector<int> band;
        for (int c = 0; c < repeated; ++c)
            band.push_back(c);
        int used = lead;
        while (next < count &&
               (band.size() == static_cast<size_t>(repeated) || used + widths[next] <= width)) {
            used += widths[next];
            band.push_back(next++);
        }
        bands.push_back(std::move(band));
    } while (next < count);
    return bands;
}

std::vector<QStringList> band_rows(const std::vector<QStringList>& rows, const std::vector<int>& cols) {
    std::vector<QStringList> band;
    band.reserve(rows.size());
    for (const QStringList& row : rows) {
        QStringList cells;
        for (int c : cols)
            cells << row.value(c);
        band.push_back(std::move(cells));
    }
    return band;
}

void ReportPages::set_point_size(qreal points) {
    plain_.setPointSizeF(points);
    bold_.setPointSizeF(points);
}

ReportPages::ReportPages(QPrinter& printer, const QFont& face)
    : ReportPages(
          printer, [&printer] { return printer.newPage(); }, face) {}

bool ReportPages::begin() {
    if (!painter_.begin(&device_)) {
        failed_ = true;
        return false;
    }
    return new_page();
}

bool begin_report(QPrinter& printer, ReportPages& pages, const QString& title) {
    printer.setDocName(title);
    if (!pages.begin())
        return false;
    pages.title(title);
    return true;
}

int ReportPages::end() {
    if (painter_.isActive())
        painter_.end();
    return failed_ ? 0 : pages_;
}

bool ReportPages::new_page() {
    if (failed_ || (pages_ > 0 && !next_page_())) {
        failed_ = true;
        return false;
    }
    ++pages_;
    top_ = heading_ ? heading_() : page_.top();
    y_ = top_;
    return true;
}

bool ReportPages::keep_together(int height) {
    if (failed_)
        return false;
    return y_ + height <= body_bottom_ || y_ <= top_ || new_page();
}

std::optional<int> ReportPages::take(int height) {
    if (!keep_together(height))
        return std::nullopt;
    const int top = y_;
    y_ += height;
    return top;
}

void ReportPages::title(const QString& text) {
    QFont face = bold();
    face.setPointSize(14);
    text_line(face, text);
    skip(line_height(plain()) / 2);
}

bool ReportPages::text_line(const QFont& font, const QString& text, Qt::Alignment align) {
    const int h = line_height(font);
    const auto top = take(h);
    if (!top)
        return false;
    painter_.setFont(font);
    painter_.drawText(QRect(page_.left(), *top, page_.width(), h), align, text);
    return true;
}

bool ReportPages::table(const ReportTable& table) {
    const int rows = static_cast<int>(table.rows.size());
    for (int r = 0; r < rows; ++r) {
        if (r >= table.repeated_rows && y_ + table.row_height > body_bottom_ && y_ > top_) {
            if (!new_page())
                return false;
            for (int h = 0; h < std::min(table.repeated_rows, rows); ++h)
                if (!table_row(table, h))
                    return false;
        }
        if (!table_row(table, r))
            return false;
    }
    return true;
}

bool ReportPages::table_row(const ReportTable& table, int row) {
    const auto top = take(table.row_height);
    if (!top)
        return false;
    const QStringList& cells = table.rows[row];
    int x = page_.left();
    for (qsizetype c = 0; c < cells.size(); ++c) {
        const int col = static_cast<int>(c);
        painter_.setFont(table.bold && table.bold(row, col) ? bold_ : plain_);
        if (table.boxed) {
            const QRect cell(x, *top, table.widths[c], table.row_height);
            painter_.drawRect(cell);
            painter_.drawText(cell, Qt::AlignCenter, cells[c]);
        } else {
            painter_.drawText(QRect(x, *top, page_.width() - x, table.row_height),
                              Qt::AlignLeft | Qt::AlignVCenter, cells[c]);
        }
        x += table.widths[c];
    }
    return true;
}
