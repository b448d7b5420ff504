// The parameter record param.qtz, as a hand-edited or damaged file gives it.
#include "core/lotto/lotto_files.h"
#include "fuzz_support.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto params = decode_params(bytes);
    if (!params)
        return 0;
    // What loads is something the rest of the program can handle.
    FUZZ_CHECK(param_fault(*params) == ParamFault::none);
    FUZZ_CHECK(params->pick_n >= 1 && params->pick_n <= 6);
    FUZZ_CHECK(params->play_n >= params->pick_n && params->play_n <= 90);
    FUZZ_CHECK(std::isfinite(params->cost) && std::isfinite(params->prize6b));

    const auto n =
        static_cast<qsizetype>(static_cast<uint8_t>(bytes[48]) | static_cast<uint8_t>(bytes[49]) << 8);
    const auto encoded = encode_params(*params);
    // A currency of more than two bytes loads but cannot be saved (the record holds two).
    FUZZ_CHECK(encoded.has_value() == (n <= 2));
    if (!encoded)
        return 0;
    // Read, write, read: the same record, and the same bytes as the meaningful part of the input.
    FUZZ_CHECK(encoded->size() == param_record_size);
    FUZZ_CHECK(encoded->left(50 + n) == bytes.left(50 + n));
    FUZZ_CHECK(encoded->mid(50 + n) == QByteArray(param_record_size - 50 - n, '\0'));
    const auto again = decode_params(*encoded);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(encode_params(*again) == encoded);
    return 0;
}
