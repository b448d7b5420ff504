#include "core/lotto/lotto_entry.h"

#include "core/base/convert.h"
#include "core/base/text_files.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_files.h"

#include <algorithm>
#include <cmath>

namespace {

bool convert_draw_box(int box, const QString& text, DrawRec& draw, const QLocale& loc) {
    if (box == 0) {
        const auto serial = date_text_to_serial(text, DatePart::DateTime, loc);
        if (!serial)
            return false;
        draw.date = *serial;
        return true;
    }
    const auto n = text_to_int16(text, loc);
    if (!n)
        return false;
    (box <= 6 ? draw.n[box - 1] : draw.nb) = *n;
    return true;
}

} // namespace

int texts_to_params(const ParamTexts& texts, LottoParams& params, const QLocale& loc) {
    LottoParams work = params;
    for (int i = 0; i < 2; ++i) {
        const auto n = text_to_int16(texts[i], loc);
        if (!n) {
            params = work;
            return i;
        }
        (i == 0 ? work.play_n : work.pick_n) = *n;
    }
    float* const money[] = {&work.prize2, &work.prize2b, &work.prize3, &work.prize3b,
                            &work.prize4, &work.prize4b, &work.prize5, &work.prize5b,
                            &work.prize6, &work.prize6b, &work.cost};
    for (int i = 2; i < param_text_count; ++i) {
        const auto v = text_to_float(texts[i], loc);
        if (!v) {
            params = work;
            return i;
        }
        *money[i - 2] = *v;
    }
    switch (param_fault(work)) {
    case ParamFault::none:
        params = work;
        return -1;
    case ParamFault::play_n:
        return 0;
    case ParamFault::pick_n:
        return 1;
    case ParamFault::money:
        for (int i = 2; i < param_text_count; ++i)
            if (!std::isfinite(*money[i - 2]))
                return i;
    }
    return param_text_count - 1;
}

ParamTexts params_to_texts(const LottoParams& p, const QLocale& loc) {
    return {QString::number(p.play_n),     QString::number(p.pick_n),     float_to_text(p.prize2, loc),
            float_to_text(p.prize2b, loc), float_to_text(p.prize3, loc),  float_to_text(p.prize3b, loc),
            float_to_text(p.prize4, loc),  float_to_text(p.prize4b, loc), float_to_text(p.prize5, loc),
            float_to_text(p.prize5b, loc), float_to_text(p.prize6, loc),  float_to_text(p.prize6b, loc),
            float_to_text(p.cost, loc)};
}

QString draw_box_label(int box) {
    if (box == 0)
        return QStringLiteral("date");
    if (box == 7)
        return QStringLiteral("nb");
    return QStringLiteral("n%1").arg(box);
}

DrawCheck check_draw(const DrawTexts& texts, int16_t play_n, const QLocale& loc) {
    DrawCheck check;
    for (int box = 0; box < draw_text_count; ++box) {
        check.box = box;
        if (texts[box].isEmpty()) {
            check.fault = DrawFault::empty;
            return check;
        }
        if (!convert_draw_box(box, texts[box], check.draw, loc)) {
            check.fault = DrawFault::not_a_value;
            return check;
        }
        if (box == 0)
            continue;
        const int16_t n = box <= 6 ? check.draw.n[box - 1] : check.draw.nb;
        // Lottos that pick fewer than six numbers, and draws without a bonus, enter 0.
        const int16_t lowest = box <= 3 ? 1 : 0;
        if (n < lowest || n > play_n) {
            check.fault = DrawFault::out_of_range;
            return check;
        }
    }
    check.box = -1;
    return check;
}

bool texts_to_draw(const DrawTexts& texts, DrawRec& draw, const QLocale& loc) {
    for (int box = 0; box < draw_text_count; ++box)
        if (!convert_draw_box(box, texts[box], draw, loc))
            return false;
    return true;
}

DrawTexts storable_draw_texts(const DrawTexts& typed, const DrawRec& draw) {
    DrawTexts texts;
    texts[0] = storable_date_text(typed[0]);
    for (int box = 1; box < draw_text_count; ++box)
        texts[box] = storable_number_text(typed[box], box <= 6 ? draw.n[box - 1] : draw.nb);
    return texts;
}

DrawTexts draw_row_texts(const TextTable& grid, int row) {
    DrawTexts texts;
    texts[0] = grid.text(row, draws_col::date);
    for (int i = 1; i < draw_text_count; ++i)
        texts[i] = grid.text(row, draws_col::n1 + i - 1);
    return texts;
}

void set_draw_row_texts(TextTable& grid, int row, const DrawTexts& texts, const QLocale& loc) {
    grid.set_text(row, draws_col::date, texts[0]);
    const auto serial = date_text_to_serial(texts[0], DatePart::DateOnly, loc);
    grid.set_text(row, draws_col::serial, serial ? serial_text(*serial) : QString());
    for (int i = 1; i < draw_text_count; ++i)
        grid.set_text(row, draws_col::n1 + i - 1, texts[i]);
}

int table_draws(const TextTable& grid, std::vector<DrawRec>& draws, const QLocale& loc) {
    int first_bad = 0;
    draws.reserve(draws.size() + static_cast<size_t>(std::max(grid.rows() - 1, 0)));
    for (int r = 1; r < grid.rows(); ++r) {
        DrawRec draw;
        if (!texts_to_draw(draw_row_texts(grid, r), draw, loc)) {
            first_bad = first_bad ? first_bad : r;
            continue;
        }
        draw.date = std::floor(draw.date);
        draws.push_back(draw);
    }
    return first_bad;
}
