// Number conversions: typed text in locales of every kind, and the text shown for any value.
#include "core/base/convert.h"
#include "fuzz_support.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const QLocale loc = fuzz_locale(in.byte());

    // Any float shown in this locale reads back as the float its seven digits name, and showing
    // that one again gives the same text.
    uint32_t bits = in.u16() | static_cast<uint32_t>(in.u16()) << 16;
    float value = 0;
    std::memcpy(&value, &bits, 4);
    if (std::isfinite(value)) {
        const QString shown = float_to_text(value, loc);
        const auto back = text_to_float(shown, loc);
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(float_to_text(*back, loc) == shown);
        FUZZ_CHECK(std::fabs(*back - value) <= std::fabs(value) * 1e-6f);
        const double wide = static_cast<double>(value) * 969.0;
        const auto wide_back = text_to_float(double_to_text(wide, loc), loc);
        FUZZ_CHECK(!wide_back || std::isfinite(*wide_back));
    }
    const auto whole = static_cast<int16_t>(in.u16());
    FUZZ_CHECK(text_to_int16(QString::number(whole), loc) == whole);

    // Any text: what converts is finite and in range, and reads the same once shown.
    const QString typed = in.text(64);
    if (const auto f = text_to_float(typed, loc)) {
        FUZZ_CHECK(std::isfinite(*f));
        FUZZ_CHECK(text_to_float(float_to_text(*f, loc), loc).has_value());
    }
    if (const auto n = text_to_int16(typed, loc))
        FUZZ_CHECK(text_to_int16(QString::number(*n), loc) == n);
    return 0;
}
