// The current-system file: lines written for a system expanded on a set read back as the same
// tickets, and any text as the file is read without harm, as System Performance reads it.
#include "core/common_routines.h"
#include "core/convert.h"
#include "core/text_files.h"
#include "fuzz_support.h"
#include "systems/system_catalogue.h"

#include <array>
#include <map>
#include <vector>

namespace {

// One line as its reader takes it: the ticket number after the label's first character, then
// the first m numbers as text. nullopt when the line is short or the number is not one.
struct TicketLine {
    int16_t number = 0;
    QStringList numbers;
};

std::optional<TicketLine> read_ticket_line(const QString& line, int16_t m, QStringList& pieces) {
    const int16_t count = split_text(QStringLiteral(" "), line, pieces);
    if (count < m + 1)
        return std::nullopt;
    const auto number = text_to_int16(pieces[1].mid(1), QLocale::c());
    if (!number)
        return std::nullopt;
    return TicketLine{*number, pieces.mid(2, m)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const auto catalogue = system_catalogue();
    const SystemInfo& system = catalogue[in.byte() % catalogue.size()];
    std::array<int16_t, 21> tset{};
    for (int i = 1; i <= system.v; ++i)
        tset[i] = static_cast<int16_t>(in.u16() % 91);

    // Written, then read back: the same numbers, in the order of the ticket's positions.
    // Loading the base tickets parses the whole table; once per system is enough.
    static std::map<std::string_view, SystemTickets> loaded;
    if (!loaded.count(system.name)) {
        int16_t count = 0;
        get_system_tickets(
            QString::fromLatin1(system.name.data(), static_cast<qsizetype>(system.name.size())), count,
            loaded[system.name]);
        FUZZ_CHECK(count == system.base_count);
    }
    const SystemTickets& tickets = loaded[system.name];
    const int16_t rows = system.ticket_count();
    const int16_t first = static_cast<int16_t>(1 + in.u16() % rows);
    QStringList lines;
    for (int16_t row = first; row <= rows && row < first + 40; ++row) {
        const auto line = system_file_line(tickets, row, system.v, system.m, tset);
        FUZZ_CHECK(line.has_value());
        lines << *line;
    }
    QStringList read = split_lines(decode_text_file(encode_cp1252(lines.join(QStringLiteral("\r\n")))));
    FUZZ_CHECK(read == lines);
    QStringList pieces;
    for (int16_t i = 0; i < read.size(); ++i) {
        const auto ticket = read_ticket_line(read[i], system.m, pieces);
        FUZZ_CHECK(ticket.has_value());
        FUZZ_CHECK(ticket->number == first + i);
        const auto positions = ticket_positions(tickets, ticket->number, system.v, system.m);
        FUZZ_CHECK(positions.has_value());
        for (int k = 0; k < system.m; ++k) {
            const int16_t p = (*positions)[k];
            FUZZ_CHECK(p >= 1 && p <= system.v);
            FUZZ_CHECK(ticket->numbers[k] == QString::number(tset[p]));
        }
    }

    // The rest of the input as a hand-edited file: every line either reads or is refused.
    const int16_t m = static_cast<int16_t>(in.byte() % 8);
    for (const QString& line : split_lines(decode_text_file(in.rest_bytes()))) {
        const auto ticket = read_ticket_line(line, m, pieces);
        if (ticket)
            FUZZ_CHECK(ticket->numbers.size() == m);
    }
    return 0;
}
