// The delimited-text reader of imported draw histories, on any text and separator: every record
// re-quoted and read again gives the same cells.
#include "core/lotto/delimited_text.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    static const QChar separators[] = {QChar(u','), QChar(u';'), QChar(u'\t'), QChar(u'|'), blank_runs};
    const QChar sep = separators[in.byte() % 5];
    const QString text = in.rest_latin1();

    DelimitedReader reader(text, sep);
    qsizetype last_line = 0;
    while (reader.next()) {
        FUZZ_CHECK(reader.line() > last_line);
        last_line = reader.line();
        QStringList quoted;
        QStringList cells;
        for (qsizetype i = 0; i < reader.size(); ++i) {
            cells << reader.cell(i).toString();
            quoted << quote_cell(reader.cell(i), sep);
        }
        const QString again_text = quoted.join(sep);
        DelimitedReader again(again_text, sep);
        if (!again.next()) {
            FUZZ_CHECK(reader.blank());
            continue;
        }
        FUZZ_CHECK(again.size() == reader.size());
        for (qsizetype i = 0; i < again.size(); ++i)
            FUZZ_CHECK(again.cell(i) == QStringView(cells[i]));
        FUZZ_CHECK(!again.next());
    }
    return 0;
}
