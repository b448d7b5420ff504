// The draws file draws.txt: any bytes as the file, loaded, sorted and saved as the Lotto window does.
#include "core/base/text_files.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_files.h"
#include "fuzz_support.h"

namespace {

QStringList load(const QByteArray& file, TextTable& grid) {
    reset_draws_table(grid);
    append_draw_lines(split_lines(decode_text_file(file)), grid);
    return draws_file_lines(grid);
}

QByteArray file_of(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += encode_cp1252(line) + "\r\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    QLocale::setDefault(fuzz_locale(in.byte()));
    const QByteArray file = in.rest_bytes();

    TextTable grid;
    const QStringList lines = load(file, grid);
    // Every line that holds a field becomes a row; none is lost and none is invented.
    FUZZ_CHECK(lines.size() == grid.rows() - 1);
    const bool sorted = sort_draws_table(grid);
    const QStringList sorted_lines = draws_file_lines(grid);
    FUZZ_CHECK(sorted_lines.size() == lines.size());
    if (sorted)
        for (int r = 2; r < grid.rows(); ++r)
            FUZZ_CHECK(grid.text(r - 1, draws_col::serial).toLongLong() <=
                       grid.text(r, draws_col::serial).toLongLong());

    // Save, load the saved file, save again: the same bytes, the same rows. Save writes only a
    // table whose dates all read, so a saved file never starts with what reads as a UTF-8 mark.
    if (!sorted)
        return 0;
    const QByteArray saved = file_of(sorted_lines);
    TextTable again;
    const QStringList reread = load(saved, again);
    FUZZ_CHECK(reread.size() == sorted_lines.size());
    FUZZ_CHECK(file_of(reread) == saved);
    FUZZ_CHECK(sort_draws_table(again));
    FUZZ_CHECK(file_of(draws_file_lines(again)) == saved);
    return 0;
}
