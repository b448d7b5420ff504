#pragma once

#include "core/lotto/lotto_records.h"

// A 6/49 lotto whose prizes and cost show every text form the boxes meet (2.5, 1000000).
inline LottoParams lotto49() {
    LottoParams p;
    p.play_n = 49;
    p.pick_n = 6;
    p.prize2 = 2.5f;
    p.prize3 = 10;
    p.prize4 = 80;
    p.prize5 = 2000;
    p.prize6 = 1000000;
    p.prize5b = 10000;
    p.cost = 3;
    p.currency = QStringLiteral("€");
    return p;
}

// A plain 6/49 lotto: no prizes, a ticket at $1.
inline LottoParams six49() {
    LottoParams p;
    p.play_n = 49;
    p.pick_n = 6;
    p.cost = 1;
    p.currency = QStringLiteral("$");
    return p;
}
