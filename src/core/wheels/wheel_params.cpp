#include "core/wheels/wheel_params.h"

#include <array>
#include <bit>

namespace {

struct BinomialTable {
    std::array<std::array<uint64_t, wheel_max_pick + 1>, wheel_max_numbers + 1> c{};
    constexpr BinomialTable() {
        for (int n = 0; n <= wheel_max_numbers; ++n) {
            c[n][0] = 1;
            for (int k = 1; k <= wheel_max_pick; ++k)
                c[n][k] = n == 0 ? 0 : c[n - 1][k - 1] + c[n - 1][k];
        }
    }
};
constexpr BinomialTable binomials;

// 20000000 as 20,000,000, whatever the user's locale, as the messages of the command line are English.
QString grouped(uint64_t n) {
    QString digits = QString::number(n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

} // namespace

uint64_t wheel_binomial(int n, int k) {
    if (n < 0 || k < 0 || n > wheel_max_numbers || k > wheel_max_pick)
        return 0;
    return binomials.c[n][k];
}

QString wheel_params_fault(const WheelParams& s) {
    if (s.k < 2 || s.k > wheel_max_pick)
        return QStringLiteral("tickets hold 2 to %1 numbers, not %2").arg(wheel_max_pick).arg(s.k);
    if (s.v < s.k)
        return QStringLiteral("%1 numbers are too few for tickets of %2").arg(s.v).arg(s.k);
    if (s.v > wheel_max_numbers)
        return QStringLiteral("%1 numbers are more than the designer takes (at most %2)")
            .arg(s.v)
            .arg(wheel_max_numbers);
    if (s.t < 1 || s.t > s.k)
        return QStringLiteral("the guarantee must be 1 to %1 (the ticket size), not %2").arg(s.k).arg(s.t);
    if (s.m < s.t || s.m > s.k)
        return QStringLiteral("the numbers drawn among the wheel's (--if) must be %1 to %2, not %3")
            .arg(s.t)
            .arg(s.k)
            .arg(s.m);
    const uint64_t subsets = wheel_binomial(s.v, s.m);
    if (subsets > wheel_max_subsets) {
        return QStringLiteral("%1 numbers have %2 subsets of %3 to cover; the designer counts at most %4")
            .arg(s.v)
            .arg(grouped(subsets))
            .arg(s.m)
            .arg(grouped(wheel_max_subsets));
    }
    return {};
}

std::vector<int> ticket_numbers(Ticket ticket) {
    std::vector<int> numbers;
    for (; ticket; ticket &= ticket - 1)
        numbers.push_back(std::countr_zero(ticket) + 1);
    return numbers;
}

QString ticket_text(Ticket ticket) {
    QString text;
    for (const int n : ticket_numbers(ticket)) {
        if (!text.isEmpty())
            text += u' ';
        text += QString::number(n);
    }
    return text;
}

Ticket ticket_of(std::span<const int> numbers) {
    Ticket t = 0;
    for (const int n : numbers)
        if (n >= 1 && n <= wheel_max_numbers)
            t |= Ticket{1} << (n - 1);
    return t;
}
