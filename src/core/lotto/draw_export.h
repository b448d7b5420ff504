#pragma once

#include "core/lotto/lotto_records.h"

#include <QString>
#include <QStringList>
#include <vector>

// Draws written out for other programs and for the draws file.

// CSV of the draws, oldest first: "Date,N1,..,N<pick_n>,Bonus", ISO dates, LF line ends.
QString export_draws_csv(const std::vector<DrawRec>& draws, int pick_n);

// The draws-file cells of a draw: ISO date, N1..N6 (0 past pick_n), bonus (0 for none).
QStringList draws_file_cells(const DrawRec& draw);
// A day serial as ISO text, 2024-01-31.
QString iso_date_text(double serial);
