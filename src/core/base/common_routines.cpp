#include "core/base/common_routines.h"

#include "core/base/convert.h"
#include "core/base/text_table.h"

#include <QLocale>
#include <algorithm>
#include <vector>

namespace {

QStringView trim_blanks(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

QStringView trim_trailing_blanks(QStringView s) {
    qsizetype e = s.size();
    while (e > 0 && s[e - 1] == u' ')
        --e;
    return s.first(e);
}

} // namespace

int16_t split_text(const QString& sep, const QString& text, QStringList& pieces) {
    int count = 0;
    QStringView work = trim_blanks(text);
    while (!work.isEmpty()) {
        const qsizetype p = sep.isEmpty() ? -1 : work.indexOf(sep);
        const QStringView piece = p >= 0 ? trim_trailing_blanks(work.first(p)) : work;
        if (count == 32767) // more pieces than a count can hold: the rest are ignored
            break;
        ++count;
        if (pieces.size() < count + 1)
            pieces.resize(count + 1);
        pieces[count] = piece.toString();
        if (p < 0)
            break;
        work = trim_blanks(work.sliced(p + sep.size()));
    }
    return static_cast<int16_t>(count);
}

DateSortResult sort_grid_by_date(TextTable& grid, int col, const DateSortOptions& options) {
    // Keys are read first, so a bad date leaves the grid untouched; then one stable sort, with
    // no scratch column written and sorted twice. A serial column kept from an earlier parse (the
    // table empties it when its date changes) is read instead of the date.
    const int rows = grid.rows();
    const int serial_col = options.serial_col;
    const bool kept = serial_col >= 0 && grid.derived_col() == serial_col;
    const QLocale locale; // one for every date of the table
    std::vector<double> keys;
    keys.reserve(rows > 1 ? rows - 1 : 0);
    bool all_kept = true;
    for (int r = 1; r < rows; ++r) {
        if (kept) {
            if (const auto serial = grid.derived_key(r)) {
                keys.push_back(*serial);
                continue;
            }
        }
        const auto serial = date_text_to_serial(grid.text_view(r, col), DatePart::DateOnly, locale);
        if (!serial)
            return {r};
        keys.push_back(*serial);
        all_kept = false;
    }
    if (serial_col >= 0 && !(kept && all_kept)) {
        std::vector<QString> texts;
        texts.reserve(keys.size());
        for (double k : keys)
            texts.push_back(serial_text(k));
        grid.set_column(serial_col, 1, texts);
    }
    if (int* follow = options.follow_row; follow && *follow >= 1 && *follow < rows) {
        // The sort is stable: the row lands after every smaller key and every equal key above it.
        const double key = keys[*follow - 1];
        int to = 1;
        for (int i = 0; i < static_cast<int>(keys.size()); ++i)
            if (keys[i] < key || (keys[i] == key && i < *follow - 1))
                ++to;
        *follow = to;
    }
    grid.sort_rows_by_keys(1, keys);
    return {};
}

double binomial(int16_t n, int16_t k) {
    if (n < k || k < 0)
        return 0.0;
    const int other = n - k;
    const int small = std::min<int>(k, other);
    const int large = std::max<int>(k, other);
    if (small == 0)
        return 1.0;
    double d = 1.0;
    for (int i = 1; i <= small; ++i)
        d *= i;
    double m = 1.0;
    for (int i = large + 1; i <= n; ++i)
        m *= i;
    return m / d;
}

float hypergeometric(int16_t N, int16_t K, int16_t n, int16_t k) {
    const double a = binomial(N, n);
    const double b = binomial(K, k);
    const float q = static_cast<float>(b / a);
    const double c = binomial(static_cast<int16_t>(N - K), static_cast<int16_t>(n - k));
    return static_cast<float>(static_cast<double>(q) * c);
}
