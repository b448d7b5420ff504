#include "core/lotto/draw_export.h"

#include "core/base/convert.h"
#include "core/base/text_pieces.h"
#include "core/lotto/draw_check.h"

QString iso_date_text(double serial) {
    const QDate date = serial_to_date(serial);
    if (!date.isValid())
        return {};
    QString out;
    out.reserve(10);
    append_decimal(out, date.year(), 4);
    out += u'-';
    append_decimal(out, date.month(), 2);
    out += u'-';
    append_decimal(out, date.day(), 2);
    return out;
}

QString export_draws_csv(const std::vector<DrawRec>& draws, int pick_n) {
    std::vector<const DrawRec*> order;
    order.reserve(draws.size());
    for (const DrawRec& d : draws)
        order.push_back(&d);
    sort_stable(order.begin(), order.end(),
                [](const DrawRec* a, const DrawRec* b) { return a->date < b->date; });
    QString out = QStringLiteral("Date");
    for (int i = 1; i <= pick_n; ++i)
        out += QStringLiteral(",N%1").arg(i);
    out += QStringLiteral(",Bonus\n");
    out.reserve(out.size() + static_cast<qsizetype>(draws.size()) * (11 + 3 * (pick_n + 1) + 1));
    for (const DrawRec* d : order) {
        out += iso_date_text(d->date);
        for (int i = 0; i < pick_n; ++i) {
            out += u',';
            append_decimal(out, d->n[static_cast<size_t>(i)], 1);
        }
        out += u',';
        append_decimal(out, d->nb, 1);
        out += u'\n';
    }
    return out;
}

QStringList draws_file_cells(const DrawRec& draw) {
    QStringList cells{iso_date_text(draw.date)};
    for (const int16_t n : draw.n)
        cells.append(QString::number(n));
    cells.append(QString::number(draw.nb));
    return cells;
}
