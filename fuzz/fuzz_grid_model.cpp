// The grid model against a plain table: any sequence of edits leaves both holding the same.
#include "core/grid_model.h"
#include "fuzz_support.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

struct PlainRow {
    std::vector<QString> cells;
    std::vector<bool> bold;
    int height = GridModel::default_row_height;
};

struct Plain {
    std::vector<PlainRow> rows;
    int cols = 0;

    void fit(PlainRow& r) const {
        r.cells.resize(cols);
        r.bold.resize(cols);
    }
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

QString clean(QString s) {
    return s.remove(GridModel::cell_separator);
}

void compare(const GridModel& g, const Plain& p) {
    FUZZ_CHECK(g.rows() == static_cast<int>(p.rows.size()));
    FUZZ_CHECK(g.cols() == p.cols);
    for (int r = 0; r < g.rows(); ++r) {
        FUZZ_CHECK(g.row_height(r) == p.rows[r].height);
        for (int c = 0; c < g.cols(); ++c) {
            FUZZ_CHECK(g.text(r, c) == p.rows[r].cells[c]);
            FUZZ_CHECK(g.bold(r, c) == (c < 64 && p.rows[r].bold[c]));
        }
    }
    FUZZ_CHECK(g.text(g.rows(), 0).isEmpty() && g.text(0, g.cols()).isEmpty() && g.text(-1, -1).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    GridModel g;
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
                p.rows[a].cells[b] = clean(t);
            break;
        }
        case 4:
            g.clear();
            for (PlainRow& r : p.rows) {
                std::fill(r.cells.begin(), r.cells.end(), QString());
                std::fill(r.bold.begin(), r.bold.end(), false);
            }
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
                    r.cells[i] = clean(cells[i]);
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
                    p.rows[a + i].cells[b] = clean(texts[i]);
            break;
        }
        case 8: {
            g.set_fixed_rows(a % 3);
            g.set_col(b);
            const bool ascending = in.byte() & 1;
            g.sort_numeric(ascending);
            const int first = std::max(a % 3, 0);
            if (first < static_cast<int>(p.rows.size())) {
                std::vector<double> keys;
                for (size_t r = first; r < p.rows.size(); ++r) {
                    bool ok = false;
                    const double v = b >= 0 && b < p.cols ? p.rows[r].cells[b].trimmed().toDouble(&ok) : 0.0;
                    keys.push_back(ok ? (ascending ? v : -v) : 0.0);
                }
                std::vector<int> order(keys.size());
                std::iota(order.begin(), order.end(), 0);
                std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return keys[x] < keys[y]; });
                // Rows move with their cells and bold flags; heights belong to the row index.
                std::vector<PlainRow> moved;
                for (int i : order)
                    moved.push_back(p.rows[first + i]);
                for (size_t i = 0; i < moved.size(); ++i) {
                    const int height = p.rows[first + i].height;
                    p.rows[first + i] = moved[i];
                    p.rows[first + i].height = height;
                }
            }
            break;
        }
        case 9:
            g.set_row_height(a, b * 60);
            if (a >= 0 && a < static_cast<int>(p.rows.size()))
                p.rows[a].height = std::max(b * 60, 0);
            break;
        case 10:
        case 11: {
            const bool on = op == 10;
            g.set_bold(a, b, on);
            if (a >= 0 && a < static_cast<int>(p.rows.size()) && b >= 0 && b < p.cols)
                p.rows[a].bold[b] = on;
            break;
        }
        }
        compare(g, p);
    }
    return 0;
}
