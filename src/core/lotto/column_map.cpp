#include "core/lotto/column_map.h"

#include "core/base/text_files.h"
#include "core/base/text_pieces.h"
#include "core/lotto/delimited_text.h"
#include "core/lotto/history_reading.h"

#include <algorithm>
#include <array>

namespace {

bool is_date_name(const QString& n) {
    return n.startsWith(u"date") || n.endsWith(u"date") || n == u"datum" || n == u"fecha";
}

// 1..6 for number columns: N1, Num1, Number 1, Ball 1, Number Drawn 1, Winning Number 1, 1, and
// a few names of other languages (Numéro 1, Zahl 1).
int number_name_index(const QString& n) {
    static const QStringList prefixes = {"",
                                         "n",
                                         "no",
                                         "nr",
                                         "num",
                                         "number",
                                         "ball",
                                         "numberdrawn",
                                         "drawnnumber",
                                         "winningnumber",
                                         "winningball",
                                         "mainnumber",
                                         "mainball",
                                         "main",
                                         "numero",
                                         "zahl",
                                         "bola",
                                         "boule"};
    if (n.isEmpty() || !n.back().isDigit() || (n.size() > 1 && n[n.size() - 2].isDigit()))
        return 0;
    const int k = n.back().digitValue();
    return k >= 1 && k <= 6 && prefixes.contains(n.left(n.size() - 1)) ? k : 0;
}

bool is_bonus_name(const QString& n) {
    static const QStringList starts = {"extra", "supp", "additional"};
    static const QStringList parts = {"bonus", "complementaire", "zusatzzahl"};
    return n == u"nb" || n == u"bb" ||
           std::any_of(starts.begin(), starts.end(), [&](const QString& s) { return n.startsWith(s); }) ||
           std::any_of(parts.begin(), parts.end(), [&](const QString& s) { return n.contains(s); });
}

bool is_draw_number_name(const QString& n) {
    static const QStringList names = {"draw",   "drawno",  "drawnr",        "drawnum",  "drawnumber",
                                      "drawid", "drawing", "drawingnumber", "drawingno"};
    return names.contains(n);
}

} // namespace

QString normalized_name(QStringView name) {
    const QString decomposed = name.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.unicode() < 0x80 && c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

std::optional<ColumnMap> columns_from_header(const DelimitedReader& header, int pick_n) {
    ColumnMap map;
    std::array<int, 6> numbers;
    numbers.fill(-1);
    for (int c = 0; c < header.size(); ++c) {
        const QString n = normalized_name(header.cell(c));
        if (n.isEmpty())
            continue;
        if (map.date < 0 && is_date_name(n)) {
            map.date = c;
        } else if (const int k = number_name_index(n); k > 0) {
            if (numbers[static_cast<size_t>(k - 1)] < 0)
                numbers[static_cast<size_t>(k - 1)] = c;
        } else if (map.bonus < 0 && is_bonus_name(n)) {
            map.bonus = c;
        } else if (map.draw_number < 0 && is_draw_number_name(n)) {
            map.draw_number = c;
        }
    }
    for (int k = 0; k < pick_n; ++k) {
        if (numbers[static_cast<size_t>(k)] < 0)
            return std::nullopt;
        map.numbers.push_back(numbers[static_cast<size_t>(k)]);
    }
    if (map.date < 0)
        return std::nullopt;
    return map;
}

std::optional<ColumnMap> suggest_columns(std::vector<QStringList> records, const LottoParams& lotto) {
    // The first record is the one that named no columns: most likely a header.
    if (records.size() > 1)
        records.erase(records.begin());
    if (records.empty())
        return std::nullopt;
    const int k = lotto.pick_n;
    const auto most = [&](const auto& holds) {
        int yes = 0;
        for (const QStringList& r : records)
            yes += holds(r) ? 1 : 0;
        return yes * 5 >= static_cast<int>(records.size()) * 4;
    };
    const auto number = [](const QStringList& r, int c) -> std::optional<int64_t> {
        return c < r.size() ? whole_number(QStringView(r[c]).trimmed()) : std::nullopt;
    };
    qsizetype width = 0;
    for (const QStringList& r : records)
        width = std::max(width, r.size());

    ColumnMap map;
    QString ignored;
    for (int c = 0; c < width && map.date < 0; ++c)
        if (most([&](const QStringList& r) {
                return c < r.size() && !whole_number(QStringView(r[c]).trimmed()) &&
                       read_published_date(r[c], &ignored).kind != PublishedDate::Kind::unreadable;
            }))
            map.date = c;
    for (int c = 0; c + 2 < width && map.date < 0; ++c)
        if (most([&](const QStringList& r) {
                const auto a = number(r, c), b = number(r, c + 1), y = number(r, c + 2);
                const auto year = [](const auto& v) { return v && *v >= 1900 && *v <= 2200; };
                const auto field = [](const auto& v) { return v && *v >= 1 && *v <= 31; };
                return (field(a) && field(b) && year(y)) || (year(a) && field(b) && field(y));
            })) {
            map.date = c;
            map.date_columns = 3;
        }
    if (map.date < 0)
        return std::nullopt;

    const int date_end = map.date + map.date_columns;
    const auto draws_at = [&](int first) {
        return most([&](const QStringList& r) {
            std::vector<int64_t> seen;
            for (int c = first; c < first + k; ++c) {
                const auto v = number(r, c);
                if (!v || *v < 1 || *v > lotto.play_n ||
                    std::find(seen.begin(), seen.end(), *v) != seen.end())
                    return false;
                seen.push_back(*v);
            }
            return true;
        });
    };
    // A column counting up or down by one row by row is a draw number, not the first of the numbers.
    const auto counts = [&](int c) {
        std::vector<int64_t> values;
        for (const QStringList& r : records)
            if (const auto v = number(r, c))
                values.push_back(*v);
        if (values.size() < 3 || values.front() == values.back())
            return false;
        const int64_t step = values.back() > values.front() ? 1 : -1;
        for (size_t i = 1; i < values.size(); ++i)
            if (values[i] != values[i - 1] && values[i] != values[i - 1] + step)
                return false;
        return true;
    };
    for (const int from : {date_end, 0})
        for (int c = from; c + k <= width && map.numbers.empty(); ++c)
            if ((c >= date_end || c + k <= map.date) && !counts(c) && draws_at(c))
                for (int i = 0; i < k; ++i)
                    map.numbers.push_back(c + i);
    if (map.numbers.empty())
        return std::nullopt;
    const int after = map.numbers.back() + 1;
    if (after < width && (after < map.date || after >= date_end) && most([&](const QStringList& r) {
            const auto v = number(r, after);
            return v && *v >= 0 && *v <= lotto.play_n;
        }))
        map.bonus = after;
    return map;
}

std::optional<ColumnMap> parse_column_map(QStringView text, QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<ColumnMap> {
        if (error)
            *error = QStringLiteral("column map %1: %2").arg(quoted(text), why);
        return std::nullopt;
    };
    const auto column = [](QStringView s) -> int {
        const auto n = whole_number(s.trimmed());
        return n && *n >= 1 && *n <= 100000 ? static_cast<int>(*n - 1) : -1;
    };
    ColumnMap map;
    bool has_numbers = false;
    for (const QStringView item : text.split(u',')) {
        const qsizetype eq = item.indexOf(u'=');
        if (eq < 0)
            return fail(QStringLiteral("%1 is not KEY=COLUMN").arg(quoted(item.trimmed())));
        const QStringView key = item.first(eq).trimmed();
        const QStringView value = item.sliced(eq + 1).trimmed();
        if (key.compare(u"numbers", Qt::CaseInsensitive) == 0) {
            const qsizetype dash = value.indexOf(u'-');
            const int lo = column(dash < 0 ? value : value.first(dash));
            const int hi = dash < 0 ? lo : column(value.sliced(dash + 1));
            if (lo < 0 || hi < lo || hi - lo >= max_pick_n)
                return fail(QStringLiteral("numbers=%1 is not a range of up to %2 columns such as 2-7")
                                .arg(excerpt(value), QString::number(max_pick_n)));
            map.numbers.clear();
            for (int c = lo; c <= hi; ++c)
                map.numbers.push_back(c);
            has_numbers = true;
            continue;
        }
        if (key.compare(u"date", Qt::CaseInsensitive) == 0 && value.contains(u'-')) {
            const qsizetype dash = value.indexOf(u'-');
            const int lo = column(value.first(dash));
            const int hi = column(value.sliced(dash + 1));
            if (lo < 0 || hi - lo != 2)
                return fail(
                    QStringLiteral("date=%1 is not one column, nor three consecutive ones (day, month "
                                   "and year) such as 2-4")
                        .arg(value.toString()));
            map.date = lo;
            map.date_columns = 3;
            continue;
        }
        int* target = nullptr;
        if (key.compare(u"date", Qt::CaseInsensitive) == 0)
            target = &map.date;
        else if (key.compare(u"bonus", Qt::CaseInsensitive) == 0)
            target = &map.bonus;
        else if (key.compare(u"drawno", Qt::CaseInsensitive) == 0)
            target = &map.draw_number;
        else
            return fail(QStringLiteral("unknown key %1 (date, numbers, bonus or drawno)").arg(quoted(key)));
        if (target == &map.bonus && value.compare(u"none", Qt::CaseInsensitive) == 0) {
            map.bonus = -1;
            continue;
        }
        *target = column(value);
        if (*target < 0)
            return fail(
                QStringLiteral("%1=%2 is not a column number from 1").arg(excerpt(key), excerpt(value)));
    }
    if (map.date < 0)
        return fail(QStringLiteral("date=COLUMN is missing"));
    if (!has_numbers)
        return fail(QStringLiteral("numbers=FIRST-LAST is missing"));
    std::vector<int> used = map.numbers;
    for (int c = map.date; c < map.date + map.date_columns; ++c)
        used.push_back(c);
    if (map.bonus >= 0)
        used.push_back(map.bonus);
    if (map.draw_number >= 0)
        used.push_back(map.draw_number);
    std::sort(used.begin(), used.end());
    if (std::adjacent_find(used.begin(), used.end()) != used.end())
        return fail(QStringLiteral("a column is given twice"));
    return map;
}

QString column_map_text(const ColumnMap& map) {
    QString text = map.date_columns > 1
                       ? QStringLiteral("date=%1-%2").arg(map.date + 1).arg(map.date + map.date_columns)
                       : QStringLiteral("date=%1").arg(map.date + 1);
    if (!map.numbers.empty())
        text += QStringLiteral(",numbers=%1-%2").arg(map.numbers.front() + 1).arg(map.numbers.back() + 1);
    text += map.bonus >= 0 ? QStringLiteral(",bonus=%1").arg(map.bonus + 1) : QStringLiteral(",bonus=none");
    if (map.draw_number >= 0)
        text += QStringLiteral(",drawno=%1").arg(map.draw_number + 1);
    return text;
}

std::optional<ColumnFilter> parse_column_filter(QStringView text, QString* error) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0 || text.first(eq).trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("filter %1 is not COLUMN=VALUE").arg(quoted(text));
        return std::nullopt;
    }
    return ColumnFilter{text.first(eq).trimmed().toString(), text.sliced(eq + 1).trimmed().toString()};
}
