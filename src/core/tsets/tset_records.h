#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

inline constexpr int16_t tset_min_size = 10;
inline constexpr int16_t tset_max_size = 20;

// One dated forecast: the date text and the texts of N1..Nsize, as read or entered.
struct TsetRow {
    QString date;
    QStringList numbers;
};

// A targeted set as its file holds it; the current row is the last one (0 when there is none).
struct TsetRec {
    QString name;
    int16_t size = 0;
    std::vector<TsetRow> rows;
    int current_row = 0;
    // The line (from 1) at which reading stopped, short of lines that hold more rows; 0 when the
    // file was read to its end. A save of such a set would lose those rows.
    int unread_line = 0;
};
