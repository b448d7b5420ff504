#pragma once

#include "lotto/lotto_records.h"
#include "systems/guar_results.h"
#include "systems/system_catalogue.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <array>
#include <cstdint>
#include <functional>

// The selections that the windows share for as long as the program runs. The application owns
// one; tests make their own.
struct AppState {
    QString app_dir;   // the data folder (Lto/, Tsets/, system); every data path starts here
    QString share_dir; // the help pages and sample sources; app_dir when empty, as beside the program
    const QString& resource_dir() const { return share_dir.isEmpty() ? app_dir : share_dir; }

    LottoParams cur_lotto;
    QString cur_lotto_name;
    DrawRec cur_draw;

    int16_t tset_size = 0;
    QString tset_name;
    std::array<int16_t, 21> tset_numbers{};
    int16_t tset_row = 0;

    QString system_name;
    int16_t system_ticket_count = 0;
    SystemTickets system_tickets;
    GuarAvg guar_avg;
    GuarMinMax guar_min;
    GuarMinMax guar_max;

    // Forecasting factors by prize class: [k][0] for k matches, [k][1] for k matches and the bonus.
    std::array<std::array<float, 2>, 7> fa_results{};

    // Today's date; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The seed of each random draw, from the time of day; tests fix it.
    std::function<quint32()> random_seed = [] {
        return static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay());
    };
};
