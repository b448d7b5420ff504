#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPaintDevice;
class QPrinter;

// A printout: a header repeated on every page, short items flowing down columns page after page,
// then a table.
struct Printout {
    QString title;
    QStringList header;
    QStringList items; // text after a tab lines up across the items
    QString table_title;
    std::vector<QStringList> table;
    int table_fixed_rows = 0; // drawn bold
    int table_fixed_cols = 0;
};

// Paints the printout onto printer; the count of pages, 0 when printing could not start.
int print_pages(QPrinter& printer, const Printout& doc);
// The same onto any device of a page's size; next_page is called between pages (a printer's
// newPage, or saving an image for a preview) and ends printing when it returns false.
int print_pages(QPaintDevice& device, const std::function<bool()>& next_page, const Printout& doc);
