#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Dates as lottery histories publish them: ISO (with or without a time of day), numeric day-first,
// month-first or year-first forms with '/', '-' or '.', and English month and weekday names.

// The order of the fields of a numeric date whose year is not written with four digits first.
enum class DateOrder { automatic, dmy, mdy, ymd };
// "dmy", "mdy" or "ymd" (any case); nullopt for other text.
std::optional<DateOrder> date_order_from_text(QStringView text);

// A date cell as read before the order of the file's numeric dates is known.
struct PublishedDate {
    enum class Kind : uint8_t { unreadable, definite, numeric };
    Kind kind = Kind::unreadable;
    uint8_t weekday = 0;     // 1 (Monday) to 7 when the text names a day of the week
    uint8_t year_digits = 0; // numeric: the digits of the last field
    int32_t a = 0;           // definite: year, month, day; numeric: the three fields as written
    int32_t b = 0;
    int32_t c = 0;

    // Numeric dates with their year last whose first field can only be a day (dmy), or whose
    // second field can only be a day (mdy).
    bool shows_day_first() const;
    bool shows_month_first() const;
    // A numeric date that reads as two different dates, day first or month first.
    bool reads_both_ways() const;
};

// Reads a date cell; on failure kind is unreadable and *error says why, naming the text (a
// misspelt month is named, never guessed).
PublishedDate read_published_date(QStringView text, QString* error);

// The date in the given order (automatic reads year-last numeric dates day first). nullopt when
// the fields do not make a calendar date in that order, or when a named weekday is not the
// date's; *error then says why.
std::optional<QDate> resolve_published_date(const PublishedDate& date, DateOrder order, QStringView text,
                                            QString* error);
