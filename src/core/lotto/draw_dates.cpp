#include "core/lotto/draw_dates.h"

#include "core/base/text_files.h"
#include "core/base/text_pieces.h"

#include <QLocale>
#include <array>

namespace {

constexpr std::array<const char16_t*, 12> month_names = {u"january",   u"february", u"march",    u"april",
                                                         u"may",       u"june",     u"july",     u"august",
                                                         u"september", u"october",  u"november", u"december"};
constexpr std::array<const char16_t*, 7> weekday_names = {u"monday", u"tuesday",  u"wednesday", u"thursday",
                                                          u"friday", u"saturday", u"sunday"};

// 1..count when word is one of the names or its first three to five letters (the short forms
// publishers use: "Sep", "Sept", "Thu", "Thur", "Thurs", "Tues"), or "Weds", else 0.
template <size_t N> int name_index(QStringView word, const std::array<const char16_t*, N>& names) {
    for (size_t i = 0; i < N; ++i) {
        const QStringView name(names[i]);
        if (word.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
        if (word.size() >= 3 && word.size() <= 5 && name.startsWith(word, Qt::CaseInsensitive))
            return static_cast<int>(i) + 1;
        if (name == u"wednesday" && word.compare(u"weds", Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool is_digit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool is_letter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool is_date_punctuation(QChar c) {
    return c == u' ' || c == u',' || c == u'/' || c == u'-' || c == u'.' || c == u'\t' || c == QChar(0x00A0);
}

struct Token {
    qsizetype start = 0;
    qsizetype length = 0;
    bool alpha = false;
};

int two_digit_year(int year) {
    return year < 30 ? 2000 + year : 1900 + year;
}

} // namespace

std::optional<DateOrder> date_order_from_text(QStringView text) {
    const QStringView t = text.trimmed();
    if (t.compare(u"dmy", Qt::CaseInsensitive) == 0)
        return DateOrder::dmy;
    if (t.compare(u"mdy", Qt::CaseInsensitive) == 0)
        return DateOrder::mdy;
    if (t.compare(u"ymd", Qt::CaseInsensitive) == 0)
        return DateOrder::ymd;
    return std::nullopt;
}

bool PublishedDate::shows_day_first() const {
    return kind == Kind::numeric && a > 12 && b <= 12;
}

bool PublishedDate::shows_month_first() const {
    return kind == Kind::numeric && b > 12 && a <= 12;
}

bool PublishedDate::reads_both_ways() const {
    return kind == Kind::numeric && a != b && a >= 1 && b >= 1 && a <= 12 && b <= 12;
}

PublishedDate read_published_date(QStringView text, QString* error) {
    PublishedDate out;
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return PublishedDate{};
    };
    const auto not_a_date = [&] { return fail(QStringLiteral("date %1 is not a date").arg(quoted(text))); };

    std::array<Token, 6> tokens;
    int count = 0;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = text[i];
        if (is_date_punctuation(c)) {
            ++i;
            continue;
        }
        // A time of day ends the date: "2024-01-31 20:30", "2024-01-31T20:30".
        if (c == u':') {
            if (count > 0 && !tokens[count - 1].alpha)
                --count;
            break;
        }
        const bool digit = is_digit(c);
        if (!digit && !is_letter(c))
            return not_a_date();
        qsizetype j = i;
        while (j < size && (digit ? is_digit(text[j]) : is_letter(text[j])))
            ++j;
        if (!digit && (c == u'T' || c == u't') && j == i + 1 && count > 0 && !tokens[count - 1].alpha &&
            j < size && is_digit(text[j]))
            break;
        if (count == static_cast<int>(tokens.size()))
            return not_a_date();
        tokens[count++] = {i, j - i, !digit};
        // Ordinal endings: "June 12th, 1982".
        if (digit && j + 2 <= size) {
            const QStringView suffix = text.sliced(j, 2);
            const bool ordinal = suffix.compare(u"st", Qt::CaseInsensitive) == 0 ||
                                 suffix.compare(u"nd", Qt::CaseInsensitive) == 0 ||
                                 suffix.compare(u"rd", Qt::CaseInsensitive) == 0 ||
                                 suffix.compare(u"th", Qt::CaseInsensitive) == 0;
            if (ordinal && (j + 2 == size || !is_letter(text[j + 2])))
                j += 2;
        }
        i = j;
    }

    int month = 0;
    std::array<int, 3> numbers{};
    std::array<int, 3> digits{};
    int numeric = 0;
    for (int t = 0; t < count; ++t) {
        const QStringView word = text.sliced(tokens[t].start, tokens[t].length);
        if (!tokens[t].alpha) {
            if (numeric == 3 || word.size() > 8)
                return not_a_date();
            numbers[numeric] = word.toInt();
            digits[numeric++] = static_cast<int>(word.size());
            continue;
        }
        if (const int m = name_index(word, month_names); m > 0 && month == 0) {
            month = m;
        } else if (const int w = name_index(word, weekday_names); w > 0 && out.weekday == 0) {
            out.weekday = static_cast<uint8_t>(w);
        } else if (word.compare(u"of", Qt::CaseInsensitive) != 0) {
            bool has_digits = false;
            for (int k = 0; k < count; ++k)
                has_digits = has_digits || !tokens[k].alpha;
            if (!has_digits || m > 0)
                return not_a_date();
            return fail(QStringLiteral("date %1 has an unknown month %2").arg(quoted(text), quoted(word)));
        }
    }

    const auto fields = [&](PublishedDate::Kind kind, int a, int b, int c) {
        out.kind = kind;
        out.a = a;
        out.b = b;
        out.c = c;
        return out;
    };
    if (month > 0) {
        if (numeric != 2)
            return not_a_date();
        // The year is the four-digit field, or the last one: "12 Jun 1982", "June 12, 82".
        const int year_at = digits[0] >= 3 ? 0 : 1;
        const int day_at = 1 - year_at;
        if (digits[day_at] > 2 || digits[year_at] == 3 || digits[year_at] > 4)
            return not_a_date();
        const int year = digits[year_at] <= 2 ? two_digit_year(numbers[year_at]) : numbers[year_at];
        return fields(PublishedDate::Kind::definite, year, month, numbers[day_at]);
    }
    if (numeric == 1 && digits[0] == 8)
        return fields(PublishedDate::Kind::definite, numbers[0] / 10000, numbers[0] / 100 % 100,
                      numbers[0] % 100);
    if (numeric != 3 || digits[1] > 2 || digits[2] > 4 || digits[2] == 3)
        return not_a_date();
    if (digits[0] == 4) {
        if (digits[2] > 2)
            return not_a_date();
        return fields(PublishedDate::Kind::definite, numbers[0], numbers[1], numbers[2]);
    }
    if (digits[0] > 2)
        return not_a_date();
    out.year_digits = static_cast<uint8_t>(digits[2]);
    return fields(PublishedDate::Kind::numeric, numbers[0], numbers[1], numbers[2]);
}

std::optional<QDate> resolve_published_date(const PublishedDate& date, DateOrder order, QStringView text,
                                            QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<QDate> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    int y = date.a;
    int m = date.b;
    int d = date.c;
    const char* form = "year/month/day";
    switch (date.kind) {
    case PublishedDate::Kind::unreadable:
        return fail(QStringLiteral("date %1 is not a date").arg(quoted(text)));
    case PublishedDate::Kind::definite:
        break;
    case PublishedDate::Kind::numeric:
        if (order == DateOrder::ymd) {
            if (date.year_digits > 2)
                return fail(QStringLiteral("date %1 does not read as year/month/day").arg(quoted(text)));
            y = two_digit_year(date.a);
            m = date.b;
            d = date.c;
        } else {
            y = date.year_digits <= 2 ? two_digit_year(date.c) : date.c;
            const bool month_first = order == DateOrder::mdy;
            m = month_first ? date.a : date.b;
            d = month_first ? date.b : date.a;
            form = month_first ? "month/day/year" : "day/month/year";
        }
        break;
    }
    const QDate result(y, m, d);
    if (!result.isValid())
        return fail(QStringLiteral("date %1 is not a valid %2 date").arg(quoted(text), QLatin1String(form)));
    if (date.weekday != 0 && date.weekday != result.dayOfWeek())
        return fail(
            QStringLiteral("date %1 names another weekday than %2, a %3")
                .arg(quoted(text), result.toString(Qt::ISODate), QLocale::c().dayName(result.dayOfWeek())));
    return result;
}
