// The date parser on any text in locales of every kind, and the written form of any day.
#include "core/base/convert.h"
#include "core/base/text_files.h"
#include "fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const QLocale loc = fuzz_locale(in.byte());

    // Any day of years 1..9999 written in this locale reads back as the same day.
    const uint32_t low = in.u16(), high = in.u16();
    const int64_t day = static_cast<int64_t>(low | high << 16) % 3652059;
    const QDate written = QDate(1, 1, 1).addDays(day);
    const QString text = date_to_text(written, loc);
    FUZZ_CHECK(!text.contains(u' '));
    const auto back = date_text_to_serial(text, DatePart::DateOnly, loc);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(*back == date_to_serial(written));
    FUZZ_CHECK(serial_to_date(*back) == written);

    // Any text: a date that reads is a real day, and its written form reads as the same day.
    const QString typed = in.text(64);
    for (const DatePart part : {DatePart::DateOnly, DatePart::DateTime}) {
        const auto serial = date_text_to_serial(typed, part, loc);
        if (!serial)
            continue;
        FUZZ_CHECK(std::isfinite(*serial));
        // What reads as a date is stored without its marks, and must then hold no blank, which
        // would split it in a file's line; nor a character the single-byte file cannot hold.
        const QString stored = storable_date_text(typed);
        FUZZ_CHECK(std::none_of(stored.begin(), stored.end(), [](QChar c) { return c.isSpace(); }));
        FUZZ_CHECK(fits_cp1252(stored));
        const QDate d = serial_to_date(*serial);
        FUZZ_CHECK(d.isValid());
        FUZZ_CHECK(date_to_serial(d) == std::floor(*serial));
        if (part == DatePart::DateOnly)
            FUZZ_CHECK(*serial == std::floor(*serial));
        const auto again = date_text_to_serial(date_to_text(d, loc), DatePart::DateOnly, loc);
        FUZZ_CHECK(again.has_value() && *again == std::floor(*serial));
    }

    // Any serial, however wild, gives a day or none; never undefined arithmetic.
    double raw = 0;
    uint8_t bytes[8];
    for (uint8_t& b : bytes)
        b = in.byte();
    std::memcpy(&raw, bytes, 8);
    const QDate d = serial_to_date(raw);
    if (d.isValid())
        FUZZ_CHECK(date_to_serial(d) == std::floor(raw));
    return 0;
}
