#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

// The one place where text typed or read by the user becomes a value and back. Every function
// takes the locale explicitly (defaulting to the user's), so tests can fix it.

// Decimal text to a 16-bit integer: surrounding blanks allowed, a fraction rounds to the nearest
// integer with halves to even (7.5 -> 8, 6.5 -> 6); empty text, other text or a value outside
// -32768..32767 after rounding fails.
std::optional<int16_t> text_to_int16(const QString& text, const QLocale& loc = QLocale());

// Decimal text to a 64-bit float; fails on empty or other text and on infinities.
std::optional<double> text_to_double(const QString& text, const QLocale& loc = QLocale());

// Decimal text to a 32-bit float; fails on empty or other text and on values beyond float range.
std::optional<float> text_to_float(const QString& text, const QLocale& loc = QLocale());

// Shortest text of at most 7 significant digits; exponent form from ten million on (1E+07) and
// below 0.0001 (1E-05). No thousands separators; the locale's decimal separator.
QString float_to_text(float value, const QLocale& loc = QLocale());

// The same for 64-bit values with at most 15 significant digits (1.00000001490116).
QString double_to_text(double value, const QLocale& loc = QLocale());

enum class DatePart { DateOnly, DateTime };

// Day serial: days since 1899-12-30 (1900-01-01 is day 2). An invalid date gives NaN; a serial
// that is not finite or lies beyond any calendar gives an invalid date.
double date_to_serial(const QDate& date);
QDate serial_to_date(double serial);
// The text of a date-only day serial, as grids keep it in a hidden column: whole days, no exponent.
QString serial_text(double serial);

// The text without the invisible direction marks that right-to-left locales put around signs and
// separators.
QString without_direction_marks(QStringView text);

// Parses a date in the locale's short numeric form (day, month and year in the locale's order,
// one- or two-digit years taken as 1930..2029; month/day/year under the C/POSIX locale) or as
// ISO yyyy-MM-dd, which is always accepted.
// A time of day may follow after a 'T' (2024-03-05T18:30); with DateTime it becomes the fraction
// of the serial, with DateOnly it is dropped. Dates never contain blanks, not even around them:
// such a text fails. Direction marks are ignored and a final dot after dot-separated fields is allowed, as
// some locales write them.
std::optional<double> date_text_to_serial(QStringView text, DatePart part, const QLocale& loc = QLocale());

// The date in the locale's short numeric form with a four-digit year, no blanks and no direction
// marks; ISO under the C/POSIX locale and for locales whose short form is not numeric.
QString date_to_text(const QDate& date, const QLocale& loc = QLocale());
