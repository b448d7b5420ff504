// Prints how long picking a system takes: loading its base tickets and computing its results table.
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "core/systems/guar_results.h"

int main() {
    double total = 0, worst = 0;
    const char* worst_name = "";
    for (const SystemInfo& s : system_catalogue()) {
        const QString name = QString::fromLatin1(s.name.data(), static_cast<qsizetype>(s.name.size()));
        std::vector<double> ms;
        for (int run = 0; run < 15; ++run) {
            const auto t0 = std::chrono::steady_clock::now();
            int16_t count = 0;
            SystemTickets tickets;
            get_system_tickets(name, count, tickets);
            GuarAvg avg;
            GuarMinMax lo, hi;
            get_guar_results(name, avg, lo, hi);
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        total += median;
        if (median > worst) {
            worst = median;
            worst_name = s.name.data();
        }
        std::printf("%-7.*s %4d tickets  pick %.3f ms (median of %zu)\n", int(s.name.size()), s.name.data(),
                    s.ticket_count(), median, ms.size());
    }
    std::printf("slowest pick: %.6s %.3f ms (target under 50 ms); all 41: %.3f ms\n", worst_name, worst,
                total);
    return 0;
}
