#include "core/lotto/history_reading.h"

#include "core/base/text_files.h"
#include "core/base/text_pieces.h"

#include <algorithm>

namespace {

// The file's first bytes say it is no text: a NUL byte, mostly control bytes, or the signature of
// a workbook or archive.
QString binary_reason(const QByteArray& bytes) {
    if (bytes.startsWith("PK\x03\x04"))
        return QStringLiteral("the file is a zip archive (as a .xlsx workbook is), not delimited text; "
                              "save the sheet as CSV first");
    if (bytes.startsWith("\xD0\xCF\x11\xE0"))
        return QStringLiteral("the file is an old-style .xls workbook, not delimited text; save the sheet as "
                              "CSV first");
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return {};
    const QByteArrayView head = QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 65536));
    qsizetype control = 0;
    for (const char ch : head) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == 0)
            return QStringLiteral("the file is binary (it holds NUL bytes), not text");
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f')
            ++control;
    }
    if (control * 10 > head.size())
        return QStringLiteral("the file is binary (mostly control bytes), not text");
    return {};
}

bool looks_like_html(QStringView text) {
    const QStringView head = text.first(std::min<qsizetype>(text.size(), 2048)).trimmed();
    if (!head.startsWith(u'<'))
        return false;
    for (const char16_t* tag : {u"<html", u"<!doctype html", u"<table", u"<head", u"<body"})
        if (head.contains(QStringView(tag), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

HistoryText read_history_text(const QByteArray& bytes, const QString& encoding) {
    HistoryText out;
    const auto refuse = [&](const QString& why) {
        out.text.clear();
        out.error = why;
        return out;
    };
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return QChar::isSpace(static_cast<uchar>(c)); }))
        return refuse(QStringLiteral("the file is empty"));
    // Text of two or four bytes a character holds NUL bytes: given as such, it is decoded first
    // and its characters checked instead.
    const bool wide = code_unit_size(encoding) > 1;
    if (const QString why = wide ? QString() : binary_reason(bytes); !why.isEmpty())
        return refuse(why);
    DecodedText decoded = decode_published_text(bytes, encoding);
    out.encoding = decoded.encoding;
    if (!decoded.error.isEmpty())
        return refuse(decoded.error);
    out.text = std::move(decoded.text);
    if (wide && out.text.contains(QChar(0)))
        return refuse(QStringLiteral("the file is binary (it holds NUL characters as %1 text), not text")
                          .arg(decoded.encoding));
    if (looks_like_html(out.text))
        return refuse(
            QStringLiteral("the file is an HTML page (a web page saved under a spreadsheet name), not "
                           "delimited text; open it in a browser or spreadsheet and save the table "
                           "as CSV"));
    if (QStringView(out.text).trimmed().isEmpty())
        return refuse(QStringLiteral("the file is empty"));
    return out;
}

std::optional<int64_t> whole_number(QStringView s) {
    bool negative = false;
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
        negative = s[0] == u'-';
        s = s.sliced(1);
    }
    if (s.isEmpty() || s.size() > 15)
        return std::nullopt;
    int64_t value = 0;
    for (const QChar c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

bool RowReader::read(const DelimitedReader& r, Row& row, QString* why) const {
    const auto cell = [&](int column, const char* what, QStringView* out) {
        if (column < r.size()) {
            *out = r.cell(column);
            return true;
        }
        *why = QStringLiteral("the row has %1 fields, the %2 is in field %3")
                   .arg(r.size())
                   .arg(QLatin1String(what))
                   .arg(column + 1);
        return false;
    };
    QStringView text;
    QString joined;
    if (!cell(map_.date, "date", &text))
        return false;
    if (map_.date_columns > 1) {
        // The fields joined as one numeric date when they are numbers, or with blanks when a
        // month is named.
        QStringList fields;
        bool numeric = true;
        for (int c = map_.date; c < map_.date + map_.date_columns; ++c) {
            if (!cell(c, "date", &text))
                return false;
            fields.append(text.toString());
            numeric = numeric && whole_number(text).has_value();
        }
        joined = fields.join(numeric ? u'/' : u' ');
        text = joined;
    }
    row.date = read_published_date(text, why);
    if (row.date.kind == PublishedDate::Kind::unreadable)
        return false;
    row.draw.n.fill(0);
    for (size_t k = 0; k < map_.numbers.size(); ++k) {
        if (!cell(map_.numbers[k], "number", &text))
            return false;
        if (text.isEmpty()) {
            *why = QStringLiteral("number %1 is empty").arg(k + 1);
            return false;
        }
        const auto value = whole_number(text);
        if (!value) {
            *why = QStringLiteral("%1 is not a number").arg(quoted(text));
            return false;
        }
        if (*value < 1 || *value > lotto_.play_n) {
            *why = QStringLiteral("number %1 is outside 1..%2").arg(*value).arg(lotto_.play_n);
            return false;
        }
        const auto n = static_cast<int16_t>(*value);
        if (std::find(row.draw.n.begin(), row.draw.n.begin() + static_cast<std::ptrdiff_t>(k), n) !=
            row.draw.n.begin() + static_cast<std::ptrdiff_t>(k)) {
            *why = QStringLiteral("number %1 appears twice").arg(n);
            return false;
        }
        row.draw.n[k] = n;
    }
    row.draw.nb = 0;
    if (map_.bonus >= 0) {
        if (!cell(map_.bonus, "bonus", &text))
            return false;
        if (!text.isEmpty()) {
            const auto value = whole_number(text);
            if (!value) {
                *why = QStringLiteral("bonus %1 is not a number").arg(quoted(text));
                return false;
            }
            if (*value < 0 || *value > lotto_.play_n) {
                *why = QStringLiteral("bonus %1 is outside 0..%2").arg(*value).arg(lotto_.play_n);
                return false;
            }
            row.draw.nb = static_cast<int16_t>(*value);
            const auto drawn_end = row.draw.n.begin() + static_cast<std::ptrdiff_t>(map_.numbers.size());
            if (row.draw.nb != 0 && std::find(row.draw.n.begin(), drawn_end, row.draw.nb) != drawn_end) {
                *why = QStringLiteral("bonus %1 repeats a number of the draw").arg(row.draw.nb);
                return false;
            }
        }
    }
    row.draw_number = -1;
    if (map_.draw_number >= 0) {
        if (!cell(map_.draw_number, "draw number", &text))
            return false;
        if (!text.isEmpty()) {
            const auto value = whole_number(text);
            if (!value || *value < 0) {
                *why = QStringLiteral("draw number %1 is not a whole number").arg(quoted(text));
                return false;
            }
            row.draw_number = *value;
        }
    }
    return true;
}

bool same_cells(const DelimitedReader& r, const QStringList& cells) {
    if (r.size() != cells.size())
        return false;
    for (qsizetype i = 0; i < r.size(); ++i)
        if (r.cell(i) != cells[i])
            return false;
    return true;
}

QStringList cells_of(const DelimitedReader& r) {
    QStringList out;
    for (qsizetype i = 0; i < r.size(); ++i)
        out.append(r.cell(i).toString());
    return out;
}
