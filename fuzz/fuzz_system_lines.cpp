// The current-system file: lines written for a system expanded on a set read back as the same
// tickets, and any text as the file is read and scored as System Performance does.
#include "core/analyses/performance.h"
#include "core/base/convert.h"
#include "core/base/text_files.h"
#include "core/systems/system_catalogue.h"
#include "fuzz_support.h"

#include <array>
#include <map>
#include <vector>

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
    for (int16_t i = 0; i < read.size(); ++i) {
        const auto ticket = parse_ticket_line(read[i], system.m);
        FUZZ_CHECK(ticket.has_value());
        FUZZ_CHECK(ticket->number == first + i);
        const auto positions = ticket_positions(tickets, ticket->number, system.v, system.m);
        FUZZ_CHECK(positions.has_value());
        for (int k = 0; k < system.m; ++k) {
            const int16_t p = (*positions)[k];
            FUZZ_CHECK(p >= 1 && p <= system.v);
            FUZZ_CHECK(ticket->tokens[k] == QString::number(tset[p]));
        }
    }

    // The rest of the input as a hand-edited file, scored against a draw and prizes from the input:
    // every line either reads or stops the scoring, and winners are real classes of read lines.
    const int16_t m = static_cast<int16_t>(in.byte() % 8);
    DrawTexts7 draw;
    for (QString& box : draw)
        box = QString::number(in.byte() % 50);
    PrizeTexts prizes;
    for (QString& box : prizes)
        box = (in.byte() & 1) ? QStringLiteral("0") : QStringLiteral("10");
    const QStringList hostile = split_lines(decode_text_file(in.rest_bytes()));
    int readable = 0;
    for (const QString& line : hostile) {
        const auto ticket = parse_ticket_line(line, m);
        if (!ticket)
            break;
        FUZZ_CHECK(ticket->tokens.size() == m);
        ++readable;
    }
    const SystemScore score = score_system(hostile, draw, prizes, m);
    FUZZ_CHECK(static_cast<int>(score.winners.size()) <= hostile.size());
    for (const WinningTicket& w : score.winners) {
        FUZZ_CHECK(w.prize_class >= 0 && w.prize_class < prize_class_count);
        FUZZ_CHECK(prizes[w.prize_class] != QStringLiteral("0"));
    }
    if (readable == hostile.size())
        FUZZ_CHECK(score.ok);
    return 0;
}
