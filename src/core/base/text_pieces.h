#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// Small pieces that files and messages are built of.

// The decimal digits of value written at out without allocating: at least width digits (zeros in
// front), '-' first when negative. Returns how many characters were written; out must hold
// max(width, 20) + 1. For files of many numbers, where a string per number costs too much.
int write_decimal(char16_t* out, int64_t value, int width = 1);
// The same appended to text (width at most 40).
void append_decimal(QString& text, int64_t value, int width = 1);

// An excerpt of the text (see excerpt) in double quotes, as messages cite a cell or an argument.
QString quoted(QStringView text);
