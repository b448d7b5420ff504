#include "core/lotto/delimited_text.h"

#include "core/base/text_files.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <uchardet.h>

namespace {

bool is_blank(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0x00A0);
}

QStringView trimmed(QStringView s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && is_blank(s[from]))
        ++from;
    while (to > from && is_blank(s[to - 1]))
        --to;
    return s.sliced(from, to - from);
}

} // namespace

DelimitedReader::DelimitedReader(QStringView text, QChar separator) : text_(text), separator_(separator) {}

bool DelimitedReader::at_line_end(qsizetype i) const {
    return text_[i] == u'\n' || text_[i] == u'\r';
}

QStringView DelimitedReader::cell(qsizetype i) const {
    const Cell& c = cells_[static_cast<size_t>(i)];
    return (c.unquoted_copy ? QStringView(scratch_) : text_).sliced(c.start, c.length);
}

bool DelimitedReader::blank() const {
    return std::all_of(cells_.begin(), cells_.end(), [](const Cell& c) { return c.length == 0; });
}

void DelimitedReader::add_cell(qsizetype from, qsizetype to) {
    const QStringView cell = trimmed(text_.sliced(from, to - from));
    cells_.push_back({cell.data() - text_.data(), cell.size(), false});
}

qsizetype DelimitedReader::cell_offset(qsizetype i) const {
    const Cell& c = cells_[static_cast<size_t>(i)];
    return c.unquoted_copy ? -1 : c.start;
}

// Reads a quoted cell whose opening quote is at `quote`, with the text that may follow its closing
// quote up to the next separator; returns the index after that text, or -1 when the quote never
// closes (the quote then counts as a plain character).
qsizetype DelimitedReader::read_quoted(qsizetype quote) {
    const qsizetype size = text_.size();
    const qsizetype lines_before = next_line_;
    qsizetype close = -1;
    bool doubled = false;
    for (qsizetype i = quote + 1; i < size; ++i) {
        const QChar c = text_[i];
        if (c == u'\n' || (c == u'\r' && !(i + 1 < size && text_[i + 1] == u'\n')))
            ++next_line_;
        if (c != u'"')
            continue;
        if (i + 1 < size && text_[i + 1] == u'"') {
            doubled = true;
            ++i;
            continue;
        }
        close = i;
        break;
    }
    if (close < 0) {
        next_line_ = lines_before;
        return -1;
    }
    qsizetype k = close + 1;
    const bool runs = separator_ == blank_runs;
    while (k < size && !at_line_end(k) && text_[k] != separator_ && !(runs && is_blank(text_[k])))
        ++k;
    // Text between the closing quote and the separator is kept, not lost.
    const QStringView tail = trimmed(text_.sliced(close + 1, k - close - 1));
    if (!doubled && tail.isEmpty()) {
        cells_.push_back({quote + 1, close - quote - 1, false});
        return k;
    }
    const qsizetype start = scratch_.size();
    for (qsizetype i = quote + 1; i < close; ++i) {
        scratch_ += text_[i];
        if (text_[i] == u'"')
            ++i; // the first of a doubled pair
    }
    scratch_ += tail;
    cells_.push_back({start, scratch_.size() - start, true});
    return k;
}

bool DelimitedReader::next() {
    const qsizetype size = text_.size();
    if (pos_ >= size)
        return false;
    cells_.clear();
    scratch_.resize(0);
    start_ = pos_;
    line_ = next_line_;
    qsizetype i = pos_;
    const bool runs = separator_ == blank_runs;
    for (;;) {
        if (runs)
            while (i < size && is_blank(text_[i]))
                ++i;
        if (i >= size || at_line_end(i)) {
            if (!runs)
                add_cell(i, i);
            break;
        }
        qsizetype j = i;
        while (j < size && is_blank(text_[j]) && text_[j] != separator_)
            ++j;
        bool quoted = false;
        if (j < size && text_[j] == u'"') {
            const qsizetype after = read_quoted(j);
            if (after >= 0) {
                quoted = true;
                i = after;
            }
        }
        if (!quoted) {
            qsizetype k = i;
            while (k < size && !at_line_end(k) && text_[k] != separator_ && !(runs && is_blank(text_[k])))
                ++k;
            add_cell(i, k);
            i = k;
        }
        if (i < size && !runs && text_[i] == separator_) {
            ++i;
            continue;
        }
        if (i >= size || at_line_end(i))
            break;
    }
    end_ = i;
    if (i < size) {
        if (text_[i] == u'\r' && i + 1 < size && text_[i + 1] == u'\n')
            ++i;
        ++i;
        ++next_line_;
    }
    pos_ = i;
    return true;
}

QChar detect_separator(QStringView text, int min_fields) {
    static constexpr std::array<char16_t, 4> candidates = {u'\t', u';', u',', u'|'};
    constexpr int sample = 30;
    QChar best = blank_runs;
    int best_share = 0;
    qsizetype best_fields = 0;
    for (const char16_t sep : candidates) {
        if (!text.contains(QChar(sep)))
            continue;
        DelimitedReader reader(text, QChar(sep));
        std::vector<qsizetype> counts;
        while (static_cast<int>(counts.size()) < sample && reader.next())
            if (!reader.blank())
                counts.push_back(reader.size());
        if (counts.empty())
            continue;
        // The most frequent field count and how many lines have it.
        std::sort(counts.begin(), counts.end());
        qsizetype mode = 0;
        int mode_share = 0;
        for (size_t a = 0; a < counts.size();) {
            size_t b = a;
            while (b < counts.size() && counts[b] == counts[a])
                ++b;
            if (static_cast<int>(b - a) >= mode_share) {
                mode_share = static_cast<int>(b - a);
                mode = counts[a];
            }
            a = b;
        }
        if (mode < min_fields || mode_share * 10 < static_cast<int>(counts.size()) * 6)
            continue;
        if (mode_share > best_share || (mode_share == best_share && mode > best_fields)) {
            best = QChar(sep);
            best_share = mode_share;
            best_fields = mode;
        }
    }
    return best;
}

QString quote_cell(QStringView cell, QChar separator) {
    const bool runs = separator == blank_runs;
    bool needs = cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r') ||
                 (!cell.isEmpty() && (is_blank(cell.front()) || is_blank(cell.back())));
    if (runs)
        needs = needs || cell.isEmpty() || std::any_of(cell.begin(), cell.end(), is_blank);
    else
        needs = needs || cell.contains(separator);
    if (!needs)
        return cell.toString();
    QString out;
    out.reserve(cell.size() + 2);
    out += u'"';
    for (const QChar c : cell) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

namespace {

// Windows-1252 bytes of Western European text: accented letters, quotes, dashes, currency and
// a few signs. Superscripts, fractions and the like are rare there but stand for letters in
// other single-byte encodings.
bool western_byte(unsigned char b) {
    static constexpr std::array<unsigned char, 20> signs = {0x80, 0x85, 0x8A, 0x8C, 0x8E, 0x91, 0x92,
                                                            0x93, 0x94, 0x96, 0x97, 0x9A, 0x9C, 0x9E,
                                                            0x9F, 0xA0, 0xA3, 0xAB, 0xB0, 0xBB};
    if (b >= 0xC0)
        return b != 0xD7 && b != 0xF7;
    return std::find(signs.begin(), signs.end(), b) != signs.end() || b == 0xA7 || b == 0xA9 || b == 0xAA ||
           b == 0xAE || b == 0xB4 || b == 0xBA || b == 0xBF || b == 0xA1;
}

// Text whose bytes above 0x7F are Western signs standing alone or in pairs (runs of three or
// more are words of a non-Latin script).
bool plainly_cp1252(const QByteArray& bytes) {
    int run = 0;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            run = 0;
            continue;
        }
        if (!western_byte(b) || ++run >= 3)
            return false;
    }
    return true;
}

QString detector_guess(const QByteArray& bytes) {
    uchardet_t detector = uchardet_new();
    if (!detector)
        return {};
    uchardet_handle_data(detector, bytes.constData(), static_cast<size_t>(bytes.size()));
    uchardet_data_end(detector);
    const QString name = QString::fromLatin1(uchardet_get_charset(detector));
    uchardet_delete(detector);
    return name;
}

bool is_cp1252_name(const QString& name) {
    static const QStringList names = {"windows-1252", "cp1252",    "iso-8859-1", "latin1",  "latin-1",
                                      "iso-8859-15",  "iso8859-1", "ascii",      "us-ascii"};
    return names.contains(name.trimmed(), Qt::CaseInsensitive);
}

DecodedText decode_with(QStringDecoder& decoder, QByteArrayView bytes, const QString& name) {
    // A character of two or four bytes cut in half is reported, not dropped at the end.
    const int unit = code_unit_size(name);
    if (bytes.size() % unit != 0)
        return {{},
                name,
                QStringLiteral("the file ends with %1 byte(s) that are not a whole %2 character: it is cut "
                               "short or not %2 text")
                    .arg(QString::number(bytes.size() % unit), name)};
    QString text = decoder(bytes);
    if (decoder.hasError())
        return {{}, name, QStringLiteral("the file is not valid %1 text").arg(name)};
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return {text, name, {}};
}

} // namespace

int code_unit_size(const QString& encoding) {
    const QString name = encoding.toUpper().remove(u'-').remove(u'_');
    if (!name.startsWith(u"UTF") && !name.startsWith(u"UCS"))
        return 1;
    return name.contains(u"32") || name.startsWith(u"UCS4")   ? 4
           : name.contains(u"16") || name.startsWith(u"UCS2") ? 2
                                                              : 1;
}

DecodedText decode_published_text(const QByteArray& bytes, const QString& encoding) {
    if (!encoding.isEmpty()) {
        if (is_cp1252_name(encoding))
            return {decode_cp1252(bytes), QStringLiteral("Windows-1252"), {}};
        QStringDecoder decoder(encoding.toLatin1().constData(), QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            return {{}, encoding, QStringLiteral("the encoding %1 is not known").arg(encoding)};
        return decode_with(decoder, bytes, encoding);
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool le = bytes.startsWith("\xFF\xFE");
        QStringDecoder decoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decode_with(decoder, QByteArrayView(bytes).sliced(2),
                           le ? QStringLiteral("UTF-16LE") : QStringLiteral("UTF-16BE"));
    }
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArrayView body = bom ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(body);
        if (!utf8.hasError())
            return {text, bom ? QStringLiteral("UTF-8 with byte-order mark") : QStringLiteral("UTF-8"), {}};
    }
    const QByteArray rest = body.toByteArray();
    if (!plainly_cp1252(rest)) {
        const QString guess = detector_guess(rest);
        if (!guess.isEmpty() && !is_cp1252_name(guess)) {
            QStringDecoder decoder(guess.toLatin1().constData(), QStringDecoder::Flag::Stateless);
            if (decoder.isValid()) {
                DecodedText out = decode_with(decoder, rest, guess);
                if (out.error.isEmpty())
                    return out;
            }
        }
    }
    return {decode_cp1252(rest), QStringLiteral("Windows-1252"), {}};
}
