#include "core/systems/system_catalogue.h"

#include <charconv>

namespace {

constexpr std::array<SystemInfo, 41> catalogue{{
    {"10_3_6", 10, 3, 6, 1},  {"10_4_6", 10, 4, 6, 3},  {"11_3_5", 11, 3, 5, 2}, {"11_4_5", 11, 4, 5, 6},
    {"11_3_6", 11, 3, 6, 1},  {"11_4_6", 11, 4, 6, 5},  {"12_3_5", 12, 3, 5, 3}, {"12_4_5", 12, 4, 5, 13},
    {"12_3_6", 12, 3, 6, 2},  {"12_4_6", 12, 4, 6, 5},  {"13_3_5", 13, 3, 5, 4}, {"13_4_5", 13, 4, 5, 14},
    {"13_3_6", 13, 3, 6, 2},  {"13_4_6", 13, 4, 6, 6},  {"14_3_5", 14, 3, 5, 4}, {"14_4_5", 14, 4, 5, 19},
    {"14_3_6", 14, 3, 6, 2},  {"14_4_6", 14, 4, 6, 9},  {"15_3_5", 15, 3, 5, 5}, {"15_4_5", 15, 4, 5, 24},
    {"15_3_6", 15, 3, 6, 3},  {"15_4_6", 15, 4, 6, 10}, {"16_3_5", 16, 3, 5, 5}, {"16_4_5", 16, 4, 5, 29},
    {"16_3_6", 16, 3, 6, 3},  {"16_4_6", 16, 4, 6, 13}, {"17_3_5", 17, 3, 5, 4}, {"17_4_5", 17, 4, 5, 35},
    {"17_3_6", 17, 3, 6, 3},  {"17_4_6", 17, 4, 6, 15}, {"18_3_5", 18, 3, 5, 7}, {"18_4_5", 18, 4, 5, 45},
    {"18_3_6", 18, 3, 6, 4},  {"18_4_6", 18, 4, 6, 18}, {"19_3_5", 19, 3, 5, 7}, {"19_4_5", 19, 4, 5, 51},
    {"19_3_6", 19, 3, 6, 5},  {"19_4_6", 19, 4, 6, 22}, {"20_3_5", 20, 3, 5, 8}, {"20_3_6", 20, 3, 6, 5},
    {"20_4_6", 20, 4, 6, 25},
}};

bool same_name(QStringView name, std::string_view key) {
    if (name.size() != static_cast<qsizetype>(key.size()))
        return false;
    for (size_t i = 0; i < key.size(); ++i)
        if (name[i] != QChar(key[i]))
            return false;
    return true;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view next_word(std::string_view& s) {
    s = trim(s);
    size_t end = 0;
    while (end < s.size() && s[end] != ' ' && s[end] != '\t')
        ++end;
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

} // namespace

std::span<const SystemInfo> system_catalogue() {
    return catalogue;
}

std::optional<SystemInfo> find_system(QStringView name) {
    for (const SystemInfo& s : catalogue)
        if (same_name(name, s.name))
            return s;
    return std::nullopt;
}

WheelsParse parse_wheels(std::string_view text) {
    WheelsParse result;
    int line_number = 0;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        ++line_number;
        if (const size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = trim(line);
        if (line.empty())
            continue;

        const std::string_view name = next_word(line);
        std::array<int16_t, 6> gaps{};
        int count = 0;
        bool ok = true;
        for (std::string_view word = next_word(line); !word.empty(); word = next_word(line)) {
            int value = 0;
            const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
            if (ec != std::errc{} || end != word.data() + word.size() || value < 1 || value > 20 ||
                count == max_ticket_size) {
                ok = false;
                break;
            }
            gaps[count++] = static_cast<int16_t>(value);
        }
        if (!ok || count == 0) {
            result.error =
                QStringLiteral("line %1: expected a name and up to 6 positive gaps").arg(line_number);
            return result;
        }
        const QString qname = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        if (result.entries.empty() || result.entries.back().name != qname) {
            for (const WheelsEntry& e : result.entries)
                if (e.name == qname) {
                    result.error = QStringLiteral("line %1: the base tickets of %2 are not together")
                                       .arg(line_number)
                                       .arg(qname);
                    return result;
                }
            result.entries.push_back({qname, {}});
        }
        result.entries.back().gaps.push_back(gaps);
    }
    return result;
}

void get_system_tickets(const QString& name, int16_t& system_ticket_count, SystemTickets& system_tickets) {
    const WheelsParse parsed = parse_wheels(wheels_text());
    for (const WheelsEntry& e : parsed.entries) {
        if (e.name != name)
            continue;
        SystemTickets loaded;
        loaded.rows.assign(e.gaps.size() + 1, {});
        for (size_t b = 0; b < e.gaps.size(); ++b)
            for (int g = 0; g < max_ticket_size; ++g)
                loaded.rows[b + 1][g + 1] = e.gaps[b][g];
        system_ticket_count = loaded.count();
        system_tickets = std::move(loaded);
        return;
    }
}

TicketPositions rotation_positions(const SystemTickets& tickets, int16_t b, int16_t k, int16_t v, int16_t m) {
    TicketPositions p{};
    p[0] = k;
    for (int j = 1; j < m; ++j) {
        int16_t next = static_cast<int16_t>(p[j - 1] + tickets(b, j));
        if (next > v)
            next = static_cast<int16_t>(next - v);
        p[j] = next;
    }
    return p;
}

std::optional<TicketPositions> ticket_positions(const SystemTickets& tickets, int16_t ticket_number,
                                                int16_t v, int16_t m) {
    if (v < 1 || ticket_number < 1 || ticket_number > tickets.count() * v)
        return std::nullopt;
    const auto b = static_cast<int16_t>((ticket_number - 1) / v + 1);
    const auto k = static_cast<int16_t>(ticket_number - (b - 1) * v);
    return rotation_positions(tickets, b, k, v, m);
}

QString ticket_numbers_text(const TicketPositions& positions, int16_t m,
                            std::span<const int16_t> tset_numbers) {
    QString text;
    for (int j = 0; j < m; ++j) {
        if (j > 0)
            text += u' ';
        const auto p = static_cast<size_t>(positions[j]);
        text += QString::number(p < tset_numbers.size() ? tset_numbers[p] : 0);
    }
    return text;
}

std::optional<QString> system_file_line(const SystemTickets& tickets, int16_t row, int16_t v, int16_t m,
                                        std::span<const int16_t> tset_numbers) {
    if (static_cast<size_t>(v) >= tset_numbers.size() || m < 1 || m > max_ticket_size)
        return std::nullopt;
    const std::optional<TicketPositions> positions = ticket_positions(tickets, row, v, m);
    if (!positions)
        return std::nullopt;
    return QStringLiteral("N%1 ").arg(row) + ticket_numbers_text(*positions, m, tset_numbers);
}
