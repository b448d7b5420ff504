// The table of text cells against a plain table: any sequence of edits leaves both holding the
// same, long rows and rows packed anew included.
#include "core/base/text_table.h"
#include "fuzz_support.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

struct PlainRow {
    std::vector<QString> cells;
};

struct Plain {
    std::vector<PlainRow> rows;
    int cols = 0;

    void fit(PlainRow& r) const { r.cells.resize(cols); }
    void set_cols(int n) {
        cols = n;
        for (PlainRow& r : rows)
            fit(r);
    }
    void set_rows(int n) {
        const auto old = static_cast<int>(rows.size());
        rows.resize(n);
        for (int i = old; i < n; ++i) {
            rows[i] = PlainRow{};
            fit(rows[i]);
        }
    }
};

void compare(const TextTable& g, const Plain& p) {
    FUZZ_CHECK(g.rows() == static_cast<int>(p.rows.size()));
    FUZZ_CHECK(g.cols() == p.cols);
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c)
            FUZZ_CHECK(g.text(r, c) == p.rows[r].cells[c]);
    FUZZ_CHECK(g.text(g.rows(), 0).isEmpty() && g.text(0, g.cols()).isEmpty() && g.text(-1, -1).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    TextTable g;
    Plain p;
    // Each step names an edit and its arguments; small numbers keep the tables small and dense.
    for (int step = 0; step < 64 && !in.empty(); ++step) {
        const uint8_t op = in.byte() % 12;
        const int a = in.byte() % 24 - 2, b = in.byte() % 24 - 2;
        switch (op) {
        case 0:
            g.set_rows(a);
            p.set_rows(std::max(a, 0));
            break;
        case 1:
            g.set_cols(a);
            p.set_cols(std::max(a, 0));
            break;
        case 2:
        case 3: {
            const QString t = in.text(6);
            g.set_text(a, b, t);
            if (a >= 0 && a < g.rows() && b >= 0 && b < g.cols())
                p.rows[a].cells[b] = t;
            break;
        }
        case 4:
            g.clear();
            for (PlainRow& r : p.rows)
                std::fill(r.cells.begin(), r.cells.end(), QString());
            break;
        case 5: {
            std::vector<QStringList> add(static_cast<size_t>(std::max(a, 0) % 4));
            for (QStringList& cells : add) {
                const int n = in.byte() % 6;
                for (int i = 0; i < n; ++i)
                    cells << in.text(4);
                PlainRow r;
                p.fit(r);
                for (int i = 0; i < std::min<int>(n, p.cols); ++i)
                    r.cells[i] = cells[i];
                p.rows.push_back(r);
            }
            g.append_rows(add);
            break;
        }
        case 6:
            g.remove_row(a);
            if (a >= 0 && a < static_cast<int>(p.rows.size()))
                p.rows.erase(p.rows.begin() + a);
            break;
        case 7: {
            std::vector<QString> texts(static_cast<size_t>(in.byte() % 4));
            for (QString& t : texts)
                t = in.text(4);
            g.set_column(b, a, texts);
            if (!texts.empty() && a >= 0 && a < g.rows() && b >= 0 && b < g.cols() &&
                a + static_cast<int>(texts.size()) <= g.rows())
                for (size_t i = 0; i < texts.size(); ++i)
                    p.rows[a + i].cells[b] = texts[i];
            break;
        }
        case 8: {
            // Sorts the rows from first by the number in column b, as a view's sort does.
            const bool ascending = in.byte() & 1;
            const int first = std::max(a % 3, 0);
            if (first < static_cast<int>(p.rows.size())) {
                std::vector<double> keys;
                for (size_t r = first; r < p.rows.size(); ++r) {
                    const double v =
                        b >= 0 && b < p.cols ? TextTable::number_of(p.rows[r].cells[b]).value_or(0.0) : 0.0;
                    keys.push_back(ascending ? v : -v);
                }
                g.sort_rows_by_keys(first, keys);
                std::vector<int> order(keys.size());
                std::iota(order.begin(), order.end(), 0);
                std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return keys[x] < keys[y]; });
                std::vector<PlainRow> moved;
                for (int i : order)
                    moved.push_back(p.rows[first + i]);
                std::copy(moved.begin(), moved.end(), p.rows.begin() + first);
            }
            break;
        }
        case 9:
        case 10: {
            // A long cell: past 65,535 characters a row's cell ends take two characters each.
            const QString t(std::max(b, 0) * 3000 + in.byte(), QChar(u'a' + op));
            g.set_text(a, b, t);
            if (a >= 0 && a < g.rows() && b >= 0 && b < g.cols())
                p.rows[a].cells[b] = t;
            break;
        }
        case 11: {
            // A cell copied from another cell of the table, as a view into the table itself.
            const int r = in.byte() % 24 - 2, c = in.byte() % 24 - 2;
            const QString t = g.text(r, c);
            g.set_text(a, b, g.text_view(r, c));
            if (a >= 0 && a < g.rows() && b >= 0 && b < g.cols())
                p.rows[a].cells[b] = t;
            break;
        }
        }
        compare(g, p);
    }
    return 0;
}
