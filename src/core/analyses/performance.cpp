#include "core/analyses/performance.h"

#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/systems/system_expansion.h"

#include <cmath>
#include <limits>

namespace {

QStringView trim_blanks(QStringView s) {
    while (!s.isEmpty() && s.front() == u' ')
        s = s.sliced(1);
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    return s;
}

bool box_left_out(const QString& box) {
    return box.isEmpty() || box == u"0";
}

} // namespace

int prize_class(int matched, bool bonus) {
    if (matched < 2 || matched > 6)
        return -1;
    return (matched - 2) * 2 + (bonus ? 1 : 0);
}

TicketMatch match_ticket(std::span<const QString> numbers, const DrawTexts7& draw) {
    TicketMatch m;
    for (size_t b = 0; b < draw.size(); ++b) {
        if (box_left_out(draw[b]))
            continue;
        const QStringView wanted = trim_blanks(draw[b]);
        for (const QString& token : numbers) {
            if (token != wanted)
                continue;
            if (b < 6)
                ++m.matched;
            else
                m.bonus = true;
            break;
        }
    }
    return m;
}

std::optional<TicketLine> parse_ticket_line(const QString& line, int16_t pick_n) {
    QStringList pieces;
    const int16_t count = split_text(QStringLiteral(" "), line, pieces);
    if (count < 1)
        return std::nullopt;
    const auto number = text_to_int16(pieces[1].mid(1));
    if (!number || count < pick_n + 1)
        return std::nullopt;
    TicketLine t;
    t.number = *number;
    const qsizetype blank = line.indexOf(u' ');
    QStringView rest = blank < 0 ? QStringView(line) : QStringView(line).sliced(blank + 1);
    while (!rest.isEmpty() && rest.front() == u' ')
        rest = rest.sliced(1);
    t.numbers = rest.toString();
    if (pick_n > 0)
        t.tokens = pieces.mid(2, pick_n);
    return t;
}

SystemScore score_system(const QStringList& lines, const DrawTexts7& draw, const PrizeTexts& prizes,
                         int16_t pick_n) {
    SystemScore score;
    for (const QString& line : lines) {
        // The Systems window writes no empty lines; one typed in is no ticket.
        if (trim_blanks(line).isEmpty())
            continue;
        const std::optional<TicketLine> ticket = parse_ticket_line(line, pick_n);
        if (!ticket) {
            score.ok = false;
            return score;
        }
        const TicketMatch m = match_ticket(ticket->tokens, draw);
        const int cls = prize_class(m.matched, m.bonus);
        if (cls >= 0 && prizes[cls] != u"0")
            score.winners.push_back({ticket->number, ticket->numbers, cls});
    }
    return score;
}

std::optional<float> sum_prizes(std::span<const QString> values) {
    float sum = 0;
    for (const QString& text : values) {
        const std::optional<double> value = text_to_double(text);
        if (!value)
            return std::nullopt;
        const double next = static_cast<double>(sum) + *value;
        if (!std::isfinite(next) || std::fabs(next) > std::numeric_limits<float>::max())
            return std::nullopt;
        sum = static_cast<float>(next);
    }
    return sum;
}

std::optional<QString> tset_numbers_text(std::span<const int16_t> tset_numbers, int16_t size) {
    if (size >= static_cast<int16_t>(tset_numbers.size()))
        return std::nullopt;
    QString text;
    for (int i = 1; i <= size; ++i)
        text += QString::number(tset_numbers[i]) + u' ';
    return text;
}
