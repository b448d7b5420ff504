#include <QTest>
#include <set>

#include "core/base/common_routines.h"
#include "core/systems/system_catalogue.h"

namespace {

std::vector<int> positions_of(const TicketPositions& p, int m) {
    return {p.begin(), p.begin() + m};
}

// Ticket as a sorted bit set of its positions, independent of the library's masks.
uint32_t ticket_bits(const SystemTickets& tickets, int16_t b, int16_t k, int16_t v, int16_t m) {
    uint32_t bits = 0;
    for (const int16_t p : positions_of(rotation_positions(tickets, b, k, v, m), m))
        bits |= 1u << (p - 1);
    return bits;
}

} // namespace

class TestSystemCatalogue : public QObject {
    Q_OBJECT
  private slots:
    void catalogue_names_match_their_fields();
    void wheels_file_holds_exactly_the_catalogue();
    void every_system_data();
    void every_system();
    void published_entries();
    void unknown_name_changes_nothing_data();
    void unknown_name_changes_nothing();
    void parse_wheels_format_data();
    void parse_wheels_format();
    void ticket_positions_data();
    void ticket_positions();
    void ticket_number_out_of_range();
    void system_file_lines_data();
    void system_file_lines();
};

void TestSystemCatalogue::catalogue_names_match_their_fields() {
    const auto cat = system_catalogue();
    QCOMPARE(cat.size(), size_t{41});
    std::set<std::string_view> names;
    int total = 0;
    for (const SystemInfo& s : cat) {
        QVERIFY(names.insert(s.name).second);
        const QString name = QString::fromLatin1(s.name.data(), static_cast<qsizetype>(s.name.size()));
        QStringList pieces;
        QCOMPARE(split_text(QStringLiteral("_"), name, pieces), int16_t{3});
        QCOMPARE(pieces[1].toInt(), int{s.v});
        QCOMPARE(pieces[2].toInt(), int{s.t});
        QCOMPARE(pieces[3].toInt(), int{s.m});
        QCOMPARE(find_system(name)->name, s.name);
        total += s.ticket_count();
    }
    QCOMPARE(cat.front().name, std::string_view("10_3_6"));
    QCOMPARE(cat[35].name, std::string_view("19_4_5"));
    QCOMPARE(cat[35].ticket_count(), int16_t{969});
    QCOMPARE(cat.back().name, std::string_view("20_4_6"));
    QCOMPARE(total, 7390); // sum of the Tickets column
    QVERIFY(!find_system(u"10_3_5"));
    QVERIFY(!find_system(u" 10_3_6"));
}

void TestSystemCatalogue::wheels_file_holds_exactly_the_catalogue() {
    const WheelsParse parsed = parse_wheels(wheels_text());
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    const auto cat = system_catalogue();
    QCOMPARE(parsed.entries.size(), cat.size());
    for (size_t i = 0; i < cat.size(); ++i)
        QCOMPARE(parsed.entries[i].name.toStdString(), std::string(cat[i].name));
    QVERIFY(wheels_text().starts_with("#"));
}

void TestSystemCatalogue::every_system_data() {
    QTest::addColumn<QString>("name");
    for (const SystemInfo& s : system_catalogue())
        QTest::newRow(std::string(s.name).c_str()) << QString::fromLatin1(s.name.data(), s.name.size());
}

// Count, gap lists, no wasted tickets and the guarantee, checked by brute force over all tickets.
void TestSystemCatalogue::every_system() {
    QFETCH(QString, name);
    const SystemInfo info = *find_system(name);
    const int v = info.v, t = info.t, m = info.m;
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(name, count, tickets);
    QCOMPARE(count, info.base_count);
    QCOMPARE(tickets.count(), info.base_count);

    std::set<uint32_t> all;
    for (int16_t b = 1; b <= count; ++b) {
        int sum = 0;
        for (int g = 1; g <= 6; ++g) {
            if (g <= m)
                QVERIFY(tickets(b, g) > 0);
            else
                QCOMPARE(tickets(b, g), int16_t{0});
            sum += tickets(b, g);
        }
        QCOMPARE(sum, v);
        for (int16_t k = 1; k <= v; ++k) {
            const uint32_t bits =
                ticket_bits(tickets, b, k, static_cast<int16_t>(v), static_cast<int16_t>(m));
            QCOMPARE(std::popcount(bits), m);
            // A repeat means a periodic gap list or two base tickets yielding the same tickets.
            QVERIFY2(all.insert(bits).second,
                     qPrintable(QStringLiteral("base %1 rotation %2 repeats").arg(b).arg(k)));
        }
    }
    QCOMPARE(all.size(), size_t(count * v));

    for (uint32_t subset = 0; subset < (1u << v); ++subset) {
        if (std::popcount(subset) != t)
            continue;
        bool covered = false;
        for (const uint32_t ticket : all)
            if ((ticket & subset) == subset) {
                covered = true;
                break;
            }
        QVERIFY2(covered, qPrintable(QStringLiteral("positions %1 not covered").arg(subset, 0, 2)));
    }
}

void TestSystemCatalogue::published_entries() {
    const WheelsParse parsed = parse_wheels(wheels_text());
    using Gaps = std::array<int16_t, 6>;
    QCOMPARE(parsed.entries[0].gaps, (std::vector<Gaps>{{1, 1, 1, 1, 2, 4}}));
    QCOMPARE(parsed.entries[1].gaps,
             (std::vector<Gaps>{{1, 1, 1, 2, 1, 4}, {1, 1, 1, 2, 2, 3}, {1, 1, 1, 1, 3, 3}}));
}

void TestSystemCatalogue::unknown_name_changes_nothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("not in the catalogue") << QStringLiteral("10_3_5");
    QTest::newRow("leading blank") << QStringLiteral(" 10_3_6");
    QTest::newRow("empty") << QString();
}

void TestSystemCatalogue::unknown_name_changes_nothing() {
    QFETCH(QString, name);
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(QStringLiteral("10_4_6"), count, tickets);
    const SystemTickets before = tickets;
    get_system_tickets(name, count, tickets);
    QCOMPARE(count, int16_t{3});
    QCOMPARE(tickets.rows, before.rows);
}

void TestSystemCatalogue::parse_wheels_format_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("tickets");
    QTest::addColumn<bool>("ok");
    QTest::newRow("comments, blanks, CR LF") << "# head\r\n\r\nA 1 2 # tail\r\n  A 2 1\r\nB 3\n"
                                             << 2 << 3 << true;
    QTest::newRow("empty") << "" << 0 << 0 << true;
    QTest::newRow("no gaps") << "A\n" << 0 << 0 << false;
    QTest::newRow("zero gap") << "A 1 0 2\n" << 0 << 0 << false;
    QTest::newRow("not a number") << "A 1 x\n" << 0 << 0 << false;
    QTest::newRow("seven gaps") << "A 1 1 1 1 1 1 1\n" << 0 << 0 << false;
    QTest::newRow("entry split apart") << "A 1\nB 1\nA 2\n" << 0 << 0 << false;
}

void TestSystemCatalogue::parse_wheels_format() {
    QFETCH(QString, text);
    QFETCH(int, entries);
    QFETCH(int, tickets);
    QFETCH(bool, ok);
    const QByteArray bytes = text.toLatin1();
    const WheelsParse p = parse_wheels(std::string_view(bytes.constData(), bytes.size()));
    QCOMPARE(p.error.isEmpty(), ok);
    if (!ok)
        return;
    QCOMPARE(int(p.entries.size()), entries);
    int n = 0;
    for (const WheelsEntry& e : p.entries)
        n += int(e.gaps.size());
    QCOMPARE(n, tickets);
}

void TestSystemCatalogue::ticket_positions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ticket");
    QTest::addColumn<std::vector<int>>("positions");
    QTest::newRow("10_3_6 ticket 1") << "10_3_6" << 1 << std::vector<int>{1, 2, 3, 4, 5, 7};
    QTest::newRow("10_3_6 rotation 8 wraps") << "10_3_6" << 8 << std::vector<int>{8, 9, 10, 1, 2, 4};
    QTest::newRow("10_3_6 rotation 10") << "10_3_6" << 10 << std::vector<int>{10, 1, 2, 3, 4, 6};
    QTest::newRow("10_4_6 row 11 is base 2 rotation 1")
        << "10_4_6" << 11 << std::vector<int>{1, 2, 3, 4, 6, 8};
    QTest::newRow("10_4_6 last") << "10_4_6" << 30 << std::vector<int>{10, 1, 2, 3, 4, 7};
}

void TestSystemCatalogue::ticket_positions() {
    QFETCH(QString, name);
    QFETCH(int, ticket);
    QFETCH(std::vector<int>, positions);
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(name, count, tickets);
    const auto p = ::ticket_positions(tickets, static_cast<int16_t>(ticket), 10, 6);
    QVERIFY(p);
    QCOMPARE(std::vector<int>(p->begin(), p->end()), positions);
}

void TestSystemCatalogue::ticket_number_out_of_range() {
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(QStringLiteral("19_4_5"), count, tickets);
    QVERIFY(::ticket_positions(tickets, 969, 19, 5));
    QVERIFY(!::ticket_positions(tickets, 970, 19, 5));
    QVERIFY(!::ticket_positions(tickets, 0, 19, 5));
    QVERIFY(!::ticket_positions(SystemTickets{}, 1, 19, 5));
    const std::array<int16_t, 21> numbers{};
    QVERIFY(!system_file_line(tickets, 1, 21, 5, numbers));
}

void TestSystemCatalogue::system_file_lines_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::vector<int>>("set");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("line");
    const std::vector<int> set{3, 7, 12, 15, 22, 31, 34, 38, 41, 45};
    QTest::newRow("10_3_6 N1") << "10_3_6" << set << 1 << "N1 3 7 12 15 22 34";
    QTest::newRow("10_3_6 N8") << "10_3_6" << set << 8 << "N8 38 41 45 3 7 15";
    QTest::newRow("10_4_6 N11") << "10_4_6" << set << 11 << "N11 3 7 12 15 31 38";
    QTest::newRow("unsorted set stays unsorted")
        << "10_3_6" << std::vector<int>{45, 3, 41, 7, 38, 12, 34, 15, 31, 22} << 1 << "N1 45 3 41 7 38 34";
}

void TestSystemCatalogue::system_file_lines() {
    QFETCH(QString, name);
    QFETCH(std::vector<int>, set);
    QFETCH(int, row);
    QFETCH(QString, line);
    std::array<int16_t, 21> tset_numbers{};
    for (size_t i = 0; i < set.size(); ++i)
        tset_numbers[i + 1] = static_cast<int16_t>(set[i]);
    int16_t count = 0;
    SystemTickets tickets;
    get_system_tickets(name, count, tickets);
    QCOMPARE(system_file_line(tickets, static_cast<int16_t>(row), 10, 6, tset_numbers),
             std::optional<QString>(line));
}

QTEST_APPLESS_MAIN(TestSystemCatalogue)
#include "test_system_catalogue.moc"
