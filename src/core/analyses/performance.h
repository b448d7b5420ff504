#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Scoring the tickets of the current-system file against one draw, as the System Performance
// window shows it. Everything works on the texts of the window's boxes, so a typed draw or prize
// counts exactly as the user wrote it.

// The ten prize classes, in the order of the prize boxes txtP2, txtP2b, txtP3, ... txtP6b.
inline constexpr int prize_class_count = 10;
inline constexpr std::array<const char*, prize_class_count> prize_class_labels = {
    "2", "2+bonus", "3", "3+bonus", "4", "4+bonus", "5", "5+bonus", "6", "6+bonus"};
// The object names of those boxes, shared by every window that asks for the prizes.
inline constexpr std::array<const char*, prize_class_count> prize_box_names = {
    "txtP2", "txtP2b", "txtP3", "txtP3b", "txtP4", "txtP4b", "txtP5", "txtP5b", "txtP6", "txtP6b"};

// The class of a ticket holding `matched` drawn numbers (and the bonus when `bonus`), or -1 when
// it wins nothing (fewer than 2 or more than 6 numbers).
int prize_class(int matched, bool bonus);

// The texts of the draw boxes N1..N6 and Bonus, and of the ten prize boxes in class order.
using DrawTexts7 = std::array<QString, 7>;
using PrizeTexts = std::array<QString, prize_class_count>;

struct TicketMatch {
    int matched = 0;
    bool bonus = false;
};

// Matches one ticket's number tokens (as text) against the draw boxes. A box that is empty or
// holds exactly "0" is left out; the others are trimmed of blanks and compared as text, so "05"
// is not 5 and a number typed in two boxes counts twice.
TicketMatch match_ticket(std::span<const QString> numbers, const DrawTexts7& draw);

// One line of the current-system file: "N<number> <numbers ...>".
struct TicketLine {
    int16_t number = 0;
    QString numbers;    // the text after the first blank, leading blanks removed
    QStringList tokens; // the tokens after the label; at least pick_n of them
};

// nullopt when the label's number is not an integer or the line holds fewer than pick_n numbers.
std::optional<TicketLine> parse_ticket_line(const QString& line, int16_t pick_n);

struct WinningTicket {
    int16_t number = 0;
    QString numbers;
    int prize_class = -1;
};

// The winning tickets in file order. A class whose prize box holds exactly "0" does not win, and
// a line holding only blanks is no ticket. On a bad line `ok` is false and `winners` holds what
// was found before it.
struct SystemScore {
    std::vector<WinningTicket> winners;
    bool ok = true;
};
SystemScore score_system(const QStringList& lines, const DrawTexts7& draw, const PrizeTexts& prizes,
                         int16_t pick_n);

// Adds prize texts the way the total row does: each read as a 64-bit value, the running sum kept
// as a 32-bit float. nullopt when a text is not a number or the sum overflows.
std::optional<float> sum_prizes(std::span<const QString> values);

// The numbers 1..size of the set, each followed by a blank; nullopt when size exceeds the array.
std::optional<QString> tset_numbers_text(std::span<const int16_t> tset_numbers, int16_t size);
