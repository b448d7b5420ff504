#include "core/base/text_pieces.h"

#include "core/base/text_files.h"

#include <algorithm>

int write_decimal(char16_t* out, int64_t value, int width) {
    char16_t reversed[24];
    int k = 0;
    uint64_t u = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        reversed[k++] = static_cast<char16_t>(u'0' + u % 10);
        u /= 10;
    } while (u != 0);
    int at = 0;
    if (value < 0)
        out[at++] = u'-';
    for (int zeros = width - k; zeros > 0; --zeros)
        out[at++] = u'0';
    while (k > 0)
        out[at++] = reversed[--k];
    return at;
}

void append_decimal(QString& text, int64_t value, int width) {
    char16_t digits[48];
    const int n = write_decimal(digits, value, std::min(width, 40));
    text.append(QStringView(digits, n));
}

QString quoted(QStringView text) {
    return u'"' + excerpt(text) + u'"';
}
