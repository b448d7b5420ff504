#include "core/base/convert.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// Right-to-left locales put invisible direction marks around signs and date separators; they
// carry no value, and Windows-1252 files could not hold them.
bool is_direction_mark(QChar c) {
    const char16_t u = c.unicode();
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

// Formats value with at most `digits` significant digits the way the program shows numbers:
// trailing zeros dropped, exponent form when the decimal exponent is >= sci_from or <= -5.
QString format_significant(double value, int digits, int sci_from, const QLocale& loc) {
    if (value == 0.0 || !std::isfinite(value))
        return std::isfinite(value) ? QStringLiteral("0") : QString::number(value);
    std::array<char, 64> buf{};
    std::snprintf(buf.data(), buf.size(), "%.*e", digits - 1, value);
    // buf: [-]d.ddddde[+-]xx
    QString s = QString::fromLatin1(buf.data());
    const bool negative = s.startsWith(u'-');
    if (negative)
        s.remove(0, 1);
    const qsizetype epos = s.indexOf(u'e');
    const int exponent = s.mid(epos + 1).toInt();
    QString mantissa = s.left(epos);
    mantissa.remove(u'.');
    while (mantissa.size() > 1 && mantissa.endsWith(u'0'))
        mantissa.chop(1);

    const QString point = loc.decimalPoint();
    QString out;
    if (exponent >= sci_from || exponent <= -5) {
        out = mantissa.left(1);
        if (mantissa.size() > 1)
            out += point + mantissa.mid(1);
        out += (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
               QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent < 0) {
        out = QStringLiteral("0") + point + QString(-exponent - 1, u'0') + mantissa;
    } else if (mantissa.size() <= exponent + 1) {
        out = mantissa + QString(exponent + 1 - mantissa.size(), u'0');
    } else {
        out = mantissa.left(exponent + 1) + point + mantissa.mid(exponent + 1);
    }
    return negative ? loc.negativeSign() + out : out;
}

bool is_date_separator(QChar c) {
    return c == u'/' || c == u'-' || c == u'.';
}

struct DateLayout {
    QLocale::Language language = QLocale::AnyLanguage;
    QLocale::Script script = QLocale::AnyScript;
    QLocale::Territory territory = QLocale::AnyTerritory;
    bool iso = true; // the locale has no numeric short form: ISO is its form
    std::array<char, 3> order{'y', 'M', 'd'};
    QString write_format = QStringLiteral("yyyy-MM-dd");
};

// The short date format without blanks and direction marks. A blank that alone parts two fields
// (kkj: "dd/MM yyyy") becomes the format's separator, so the fields stay apart.
QString compact_date_format(const QString& format) {
    const QString fmt = without_direction_marks(format);
    QChar sep = u'/';
    for (const QChar c : fmt)
        if (is_date_separator(c)) {
            sep = c;
            break;
        }
    QString out;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != u' ') {
            out += fmt[i];
            continue;
        }
        qsizetype next = i;
        while (next < fmt.size() && fmt[next] == u' ')
            ++next;
        if (!out.isEmpty() && out.back().isLetter() && next < fmt.size() && fmt[next].isLetter())
            out += sep;
        i = next - 1;
    }
    return out;
}

// The field order and the writing form of the locale's short date, worked out once per locale.
const DateLayout& date_layout(const QLocale& loc) {
    static DateLayout cached;
    static bool have = false;
    // name() leaves out the script, and Serbian in Latin and Cyrillic script need not agree.
    if (have && cached.language == loc.language() && cached.script == loc.script() &&
        cached.territory == loc.territory())
        return cached;
    DateLayout layout;
    layout.language = loc.language();
    layout.script = loc.script();
    layout.territory = loc.territory();
    // The C/POSIX locale writes ISO but reads month/day/year too, the order of its own %x.
    if (loc.language() == QLocale::C)
        layout.order = {'M', 'd', 'y'};
    if (loc.language() != QLocale::C) {
        QString fmt = compact_date_format(loc.dateFormat(QLocale::ShortFormat));
        std::array<char, 3> order{};
        int found = 0;
        bool numeric = !fmt.contains(QStringLiteral("MMM")) && !fmt.contains(QStringLiteral("ddd"));
        for (qsizetype i = 0; i < fmt.size() && numeric; ++i) {
            const QChar ch = fmt[i];
            if (ch != u'd' && ch != u'M' && ch != u'y') {
                if (ch.isLetter())
                    numeric = false;
                continue;
            }
            if (i > 0 && fmt[i - 1] == ch)
                continue;
            if (found == 3) {
                numeric = false;
                break;
            }
            order[found++] = static_cast<char>(ch.toLatin1());
        }
        if (numeric && found == 3) {
            layout.iso = false;
            layout.order = order;
            if (!fmt.contains(QStringLiteral("yyyy")))
                fmt.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
            layout.write_format = fmt;
        }
    }
    cached = layout;
    have = true;
    return cached;
}

// Reads up to `max_digits` digits at pos; returns the digit count (0 when none).
int read_number(QStringView s, qsizetype& pos, int max_digits, int& value) {
    int n = 0;
    value = 0;
    while (pos < s.size() && s[pos].isDigit() && s[pos].unicode() < 128) {
        if (++n > max_digits)
            return -1;
        value = value * 10 + (s[pos].unicode() - u'0');
        ++pos;
    }
    return n;
}

std::optional<double> parse_time(QStringView s) {
    qsizetype pos = 0;
    int h = 0, m = 0, sec = 0;
    if (read_number(s, pos, 2, h) <= 0 || pos >= s.size() || s[pos] != u':')
        return std::nullopt;
    ++pos;
    if (read_number(s, pos, 2, m) != 2)
        return std::nullopt;
    if (pos < s.size()) {
        if (s[pos] != u':')
            return std::nullopt;
        ++pos;
        if (read_number(s, pos, 2, sec) != 2 || pos != s.size())
            return std::nullopt;
    }
    if (h > 23 || m > 59 || sec > 59)
        return std::nullopt;
    return (h * 3600 + m * 60 + sec) / 86400.0;
}

} // namespace

QString without_direction_marks(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!is_direction_mark(c))
            out += c;
    return out;
}

std::optional<double> text_to_double(const QString& text, const QLocale& loc) {
    const QString t = without_direction_marks(text).trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double v = loc.toDouble(t, &ok);
    if (!ok && loc.language() != QLocale::C)
        v = QLocale::c().toDouble(t, &ok); // a decimal point is understood everywhere
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int16_t> text_to_int16(const QString& text, const QLocale& loc) {
    const auto v = text_to_double(text, loc);
    if (!v)
        return std::nullopt;
    const double r = std::nearbyint(*v); // the default rounding mode rounds halves to even
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<float> text_to_float(const QString& text, const QLocale& loc) {
    const auto v = text_to_double(text, loc);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*v);
}

QString float_to_text(float value, const QLocale& loc) {
    return format_significant(value, 7, 7, loc);
}

QString double_to_text(double value, const QLocale& loc) {
    return format_significant(value, 15, 15, loc);
}

double date_to_serial(const QDate& date) {
    static const qint64 day0 = QDate(1899, 12, 30).toJulianDay();
    if (!date.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(date.toJulianDay() - day0);
}

QDate serial_to_date(double serial) {
    static const qint64 day0 = QDate(1899, 12, 30).toJulianDay();
    // Far beyond any calendar Qt keeps, and small enough that the day count cannot overflow.
    constexpr double limit = 1e15;
    if (!(std::fabs(serial) < limit))
        return {};
    return QDate::fromJulianDay(day0 + static_cast<qint64>(std::floor(serial)));
}

std::optional<double> date_text_to_serial(QStringView whole, DatePart part, const QLocale& loc) {
    // Loading sorts every draw by its date: copy only the rare text that holds a mark.
    QString clean;
    QStringView text = whole;
    if (std::any_of(whole.begin(), whole.end(), is_direction_mark)) {
        clean = without_direction_marks(whole);
        text = clean;
    }
    // A blank would split the date in a file's line; a typed one is a slip, not a separator.
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }))
        return std::nullopt;
    double fraction = 0.0;
    const qsizetype tpos = text.indexOf(u'T', 0, Qt::CaseInsensitive);
    if (tpos >= 0) {
        const auto t = parse_time(text.sliced(tpos + 1));
        if (!t)
            return std::nullopt;
        fraction = *t;
        text = text.first(tpos);
    }

    std::array<int, 3> field{};
    std::array<int, 3> digits{};
    qsizetype pos = 0;
    QChar sep;
    for (int i = 0; i < 3; ++i) {
        digits[i] = read_number(text, pos, 4, field[i]);
        if (digits[i] <= 0)
            return std::nullopt;
        if (i < 2) {
            if (pos >= text.size() || !is_date_separator(text[pos]) || (i == 1 && text[pos] != sep))
                return std::nullopt;
            sep = text[pos++];
        }
    }
    // Several locales end their short date with a dot (ko "2024. 3. 5.", hu, hr, sr, bs).
    if (pos + 1 == text.size() && text[pos] == u'.' && sep == u'.')
        ++pos;
    if (pos != text.size())
        return std::nullopt;

    int y = 0, m = 0, d = 0, ydigits = 0;
    if (digits[0] == 4 && sep == u'-') { // ISO, in every locale
        y = field[0], m = field[1], d = field[2], ydigits = 4;
    } else {
        const DateLayout& layout = date_layout(loc);
        for (int i = 0; i < 3; ++i) {
            switch (layout.order[i]) {
            case 'y':
                y = field[i], ydigits = digits[i];
                break;
            case 'M':
                m = field[i];
                if (digits[i] > 2)
                    return std::nullopt;
                break;
            default:
                d = field[i];
                if (digits[i] > 2)
                    return std::nullopt;
            }
        }
    }
    if (ydigits == 3)
        return std::nullopt;
    if (ydigits <= 2)
        y += y < 30 ? 2000 : 1900;
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    const double serial = date_to_serial(date);
    return part == DatePart::DateTime ? serial + fraction : serial;
}

QString date_to_text(const QDate& date, const QLocale& loc) {
    return date.toString(date_layout(loc).write_format);
}

QString serial_text(double serial) {
    return QString::number(static_cast<qint64>(serial));
}
