// split_text, through which every data file is read, on any separator and text.
#include "core/base/common_routines.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const QString separators[] = {QStringLiteral(" "), QStringLiteral("_"), QStringLiteral(","),
                                         QStringLiteral("--"), QString()};
    const uint8_t pick = in.byte();
    const QString sep = pick < 200 ? separators[pick % 5] : in.text(pick - 200 + 1);
    const QString text = in.rest_latin1();

    QStringList pieces{QStringLiteral("left alone")};
    const int16_t count = split_text(sep, text, pieces);
    FUZZ_CHECK(count >= 0 && count <= 32767);
    FUZZ_CHECK(pieces.size() >= count + 1);
    FUZZ_CHECK(pieces[0] == QStringLiteral("left alone"));
    if (text.count(u' ') == text.size())
        FUZZ_CHECK(count == 0);
    for (int i = 1; i <= count; ++i) {
        const QString& p = pieces[i];
        // Trimmed of blanks at both ends; a piece never holds the separator.
        FUZZ_CHECK(!p.startsWith(u' ') && !p.endsWith(u' '));
        if (!sep.isEmpty())
            FUZZ_CHECK(!p.contains(sep));
    }
    if (sep == QStringLiteral(" ")) {
        // At blanks: no empty piece, and the pieces joined by one blank split the same way.
        QStringList again;
        const QStringList first = pieces.mid(1, count);
        for (const QString& p : first)
            FUZZ_CHECK(!p.isEmpty());
        FUZZ_CHECK(split_text(sep, first.join(u' '), again) == count);
        FUZZ_CHECK(again.mid(1, count) == first);
        // A line no longer than a count can hold loses none of its fields.
        if (count < 32767)
            FUZZ_CHECK(first.join(QString()).size() == qsizetype(text.size() - text.count(u' ')));
    }
    return 0;
}
