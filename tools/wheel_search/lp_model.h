#pragma once

// The stretch rows as a 0/1 model for an external solver, and reading its solution back.

#include "problem.h"

namespace wheel_search {

// The exact model of 20_4_6 (or any m = 6, t = 4 system with published rows 2..6) as a 0/1 linear
// program in CPLEX LP format, for an external MIP solver. Debian packages one:
//   apt-get install -y coinor-cbc
//   cbc model.lp sec 2400 solve solu model.sol
// then `wheel_search --only NAME --lp-solution model.sol` turns the solution into base tickets and
// checks it.
//
// One binary x per ticket class, 25 of them chosen. The count of tickets holding an r-set
// (r = 2..5) is a continuous variable n<r>_<class> tied to x by an equality; the hit vector of a
// placement is a linear form in the counts of its subsets (inclusion-exclusion), so every row's
// worst and best case become linear constraints: a slack that is zero exactly when a placement
// ties the leading counts of the target, small binaries for the deeper ties, and one witness
// binary per placement that may reach the target exactly. The model is invariant under the
// multipliers of Z_v, so the witness of row 6's worst case is taken from one class per orbit
// (unless the model is asked to stay near a start wheel).
struct LpWriter {
    const Problem& pr;
    std::vector<Target> all;    // rows 2..6 to reproduce
    std::vector<int> keep_from; // base tickets of a start wheel
    int keep = -1;              // all but this many of them stay (-1: no such constraint)
    int v = 0;
    std::array<std::vector<PositionMask>, 7> reps; // class representatives of r-sets, r = 2..6
    std::string rows;                              // constraint text
    std::string binaries;
    int n_rows = 0, n_bin = 0;

    explicit LpWriter(const Problem& p) : pr(p), v(p.info.v) {
        for (int r = 2; r <= 6; ++r)
            reps[r] = placement_classes(v, r);
    }

    PositionMask canonical(PositionMask m) const {
        PositionMask low = m;
        for (int k = 1; k < v; ++k) {
            m = rotate_mask(m, v);
            low = std::min(low, m);
        }
        return low;
    }
    int class_index(PositionMask m) const {
        const auto& r = reps[std::popcount(m)];
        return static_cast<int>(std::lower_bound(r.begin(), r.end(), canonical(m)) - r.begin());
    }

    // A linear form over named variables.
    using Lin = std::vector<std::pair<std::string, long long>>;
    static void add(Lin& f, const std::string& var, long long c) {
        for (auto& [n, k] : f)
            if (n == var) {
                k += c;
                return;
            }
        f.emplace_back(var, c);
    }
    static Lin plus(Lin a, const Lin& b, long long scale = 1) {
        for (const auto& [n, k] : b)
            add(a, n, k * scale);
        return a;
    }
    std::string count_var(PositionMask sub) const {
        const int r = std::popcount(sub);
        if (r == 6) {
            const int c = pr.class_of(sub);
            return c < 0 ? std::string() : "x" + std::to_string(c);
        }
        return "n" + std::to_string(r) + "_" + std::to_string(class_index(sub));
    }
    // Tickets meeting the placement in exactly j positions (j = 2..|q|), as a linear form.
    std::array<Lin, 7> hits(PositionMask q) const {
        std::array<Lin, 7> h;
        const int i = std::popcount(q);
        for (PositionMask sub = q; sub; sub = (sub - 1) & q) {
            const int r = std::popcount(sub);
            if (r < 2)
                continue;
            const std::string var = count_var(sub);
            if (var.empty())
                continue;
            for (int j = 2; j <= r && j <= i; ++j) {
                const long long sign = (r - j) % 2 ? -1 : 1;
                add(h[j], var, sign * static_cast<long long>(combinations(r, j) + 0.5));
            }
        }
        return h;
    }
    // Sum of the counts of the placement's 4-subsets.
    Lin four_sum(PositionMask q) const {
        Lin f;
        for (PositionMask sub = q; sub; sub = (sub - 1) & q)
            if (std::popcount(sub) == 4)
                add(f, count_var(sub), 1);
        return f;
    }
    static Lin var1(const std::string& n, long long c = 1) { return Lin{{n, c}}; }

    struct Stored {
        Lin f;
        std::string op;
        long long rhs = 0;
    };
    std::vector<Stored> stored; // every row again, for the pseudo-Boolean form

    // f (op) rhs, with f's constant folded into rhs by the caller.
    void row(const Lin& f, const char* op, long long rhs) {
        stored.push_back({f, op, rhs});
        std::string line = " c" + std::to_string(n_rows++) + ":";
        bool any = false;
        for (const auto& [n, k] : f) {
            if (k == 0)
                continue;
            line += k < 0 ? " - " : (any ? " + " : " ");
            line += std::to_string(std::llabs(k)) + " " + n;
            any = true;
            if (line.size() - line.rfind('\n') > 200)
                line += "\n";
        }
        if (!any)
            line += " 0 x0";
        line += std::string(" ") + op + " " + std::to_string(rhs) + "\n";
        rows += line;
    }
    std::string binary(const char* prefix) {
        const std::string n = std::string(prefix) + std::to_string(n_bin++);
        binaries += " " + n + "\n";
        return n;
    }

    std::string text() {
        auto target = [&](int row) -> const Target* {
            for (const Target& tg : all)
                if (tg.row == row)
                    return &tg;
            return nullptr;
        };
        // choose the ticket count
        Lin all_x;
        for (size_t c = 0; c < pr.cands.size(); ++c)
            all_x.emplace_back("x" + std::to_string(c), 1);
        row(all_x, "=", pr.info.base_count);
        if (keep >= 0 && !keep_from.empty()) {
            Lin near_start;
            for (const int c : keep_from)
                add(near_start, "x" + std::to_string(c), 1);
            row(near_start, ">=", static_cast<long long>(keep_from.size()) - keep);
        }
        // counts of r-sets
        for (int r = 2; r <= 5; ++r)
            for (size_t q = 0; q < reps[r].size(); ++q) {
                Lin f = var1("n" + std::to_string(r) + "_" + std::to_string(q), 1);
                for (size_t c = 0; c < pr.cands.size(); ++c) {
                    PositionMask m = pr.cands[c].mask;
                    int n = 0;
                    for (int k = 0; k < v; ++k, m = rotate_mask(m, v))
                        n += (m & reps[r][q]) == reps[r][q];
                    if (n)
                        f.emplace_back("x" + std::to_string(c), -n);
                }
                row(f, "=", 0);
            }
        // coverage
        for (size_t q = 0; q < reps[pr.info.t].size(); ++q)
            row(var1("n" + std::to_string(pr.info.t) + "_" + std::to_string(q)), ">=", 1);

        for (int i = 2; i <= 6; ++i) {
            const Target* tg = target(i);
            if (!tg)
                continue;
            const HitRow& lo = tg->worst; // counts of 2..6
            const HitRow& hi = tg->best;
            Lin wmin, wmax; // sums of witness binaries
            std::vector<PositionMask> witness_min_ok(reps[i].begin(), reps[i].end());
            if (i == 6 && keep < 0) // a start wheel to stay near breaks the symmetry
                witness_min_ok = orbit_representatives(reps[6]);
            for (const PositionMask q : reps[i]) {
                const auto h = hits(q);
                const bool may_witness_min =
                    std::binary_search(witness_min_ok.begin(), witness_min_ok.end(), q);
                if (i == 2) {
                    row(h[2], ">=", lo[0]);
                    row(h[2], "<=", hi[0]);
                    const std::string a = binary("w"), b = binary("w");
                    add(wmin, a, 1);
                    add(wmax, b, 1);
                    row(plus(h[2], var1(a, hi[0] - lo[0])), "<=", hi[0]); // a -> n2 = lo
                    row(plus(h[2], var1(b, -(hi[0] - lo[0]))), ">=", lo[0]);
                } else if (i == 3) {
                    const Lin& h3 = h[3];
                    const Lin& h2 = h[2];
                    row(h3, ">=", lo[1]);
                    row(h3, "<=", hi[1]);
                    // worst: n3 = 7 forces h2 >= 90; s = n3 - 7
                    row(plus(h2, h3, lo[0]), ">=", lo[0] + lo[0] * lo[1]);
                    // best: s = 12 - n3; h2 <= 86 + 40 s  (h2 <= 3 * 42)
                    const long long m2 = 3 * hi[0] > 0 ? 126 - hi[0] : 0;
                    row(plus(h2, h3, m2), "<=", hi[0] + m2 * hi[1]);
                    const std::string a = binary("w"), b = binary("w");
                    add(wmin, a, 1);
                    add(wmax, b, 1);
                    row(plus(h3, var1(a, 5)), "<=", lo[1] + 5);
                    row(plus(h2, var1(a, 126)), "<=", lo[0] + 126);
                    row(plus(h3, var1(b, -hi[1])), ">=", 0);
                    row(plus(h2, var1(b, -hi[0])), ">=", 0);
                } else {
                    lex_rows(i, q, h, lo, hi, may_witness_min, wmin, wmax);
                }
            }
            row(wmin, ">=", 1);
            row(wmax, ">=", 1);
        }
        std::string out =
            "\\ exact model of " + std::string(pr.info.name) + "\nMinimize\n obj: 0 x0\nSubject To\n";
        out += rows;
        out += "Binaries\n";
        for (size_t c = 0; c < pr.cands.size(); ++c)
            out += " x" + std::to_string(c) + "\n";
        out += binaries;
        out += "End\n";
        return out;
    }

    // The same model as pseudo-Boolean constraints (OPB) for a SAT-based solver such as clasp or
    // minisat+: every count n<r>_<q> becomes lo + o1 + ... + ok in the order encoding (o1 >= o2 >=
    // ...), over the range that rows 2..5 allow it (a pair on 37..42 tickets, a triple on 7..12, a
    // 4-set on 1..4, a 5-set on 0..2 for 20_4_6). Ticket class c is variable x<c + 1>. Call after
    // text().
    std::string opb_text() const {
        auto target = [&](int row) -> const Target& {
            for (const Target& tg : all)
                if (tg.row == row)
                    return tg;
            std::fprintf(stderr, "the pseudo-Boolean form needs the targets of rows 2 to 5\n");
            std::exit(1);
        };
        const std::array<std::pair<long long, long long>, 6> range{{
            {0, 0},
            {0, 0},
            {target(2).worst[0], target(2).best[0]},
            {target(3).worst[1], target(3).best[1]},
            {pr.info.t == 4 ? 1 : 0, target(4).best[2]},
            {0, target(5).best[3]},
        }};
        std::map<std::string, int> index;
        std::map<std::string, std::vector<int>> unary; // the order bits of a count
        int next = 1;
        for (size_t c = 0; c < pr.cands.size(); ++c)
            index["x" + std::to_string(c)] = next++;
        std::string order_rows;
        int n_order = 0;
        auto bits_of = [&](const std::string& n) -> const std::vector<int>& {
            auto it = unary.find(n);
            if (it != unary.end())
                return it->second;
            const auto [lo, hi] = range[n[1] - '0'];
            std::vector<int> bits;
            for (long long k = lo; k < hi; ++k)
                bits.push_back(next++);
            for (size_t k = 1; k < bits.size(); ++k) {
                order_rows +=
                    "+1 x" + std::to_string(bits[k - 1]) + " -1 x" + std::to_string(bits[k]) + " >= 0 ;\n";
                ++n_order;
            }
            return unary.emplace(n, std::move(bits)).first->second;
        };
        std::string body;
        int n_body = 0;
        for (const Stored& st : stored) {
            // A count's definition n = sum a x: each order bit is tied to the sum both ways, so
            // that the chosen tickets fix every bit by propagation alone.
            if (st.op == "=" && !st.f.empty() && st.f[0].first[0] == 'n' && st.f[0].second == 1) {
                const auto [lo, hi] = range[st.f[0].first[1] - '0'];
                std::string sum;
                long long max_sum = 0;
                for (size_t k = 1; k < st.f.size(); ++k) {
                    sum += "+" + std::to_string(-st.f[k].second) + " x" +
                           std::to_string(index.at(st.f[k].first)) + " ";
                    max_sum -= st.f[k].second;
                }
                auto negated = [&] {
                    std::string out;
                    for (size_t k = 1; k < st.f.size(); ++k)
                        out += std::to_string(st.f[k].second) + " x" +
                               std::to_string(index.at(st.f[k].first)) + " ";
                    return out;
                };
                const std::string minus_sum = negated();
                body += sum + ">= " + std::to_string(lo) + " ;\n";
                body += minus_sum + ">= " + std::to_string(-hi) + " ;\n";
                n_body += 2;
                const std::vector<int>& bits = bits_of(st.f[0].first);
                for (size_t k = 0; k < bits.size(); ++k) {
                    const long long at = lo + static_cast<long long>(k) + 1; // bit k: n >= at
                    const std::string o = " x" + std::to_string(bits[k]) + " ";
                    body += sum + "-" + std::to_string(at) + o + ">= 0 ;\n";
                    body += minus_sum + "+" + std::to_string(max_sum - at + 1) + o +
                            ">= " + std::to_string(1 - at) + " ;\n";
                    n_body += 2;
                }
                continue;
            }
            std::map<int, long long> terms;
            long long rhs = st.rhs;
            for (const auto& [name, k] : st.f) {
                if (k == 0)
                    continue;
                if (name[0] == 'n') {
                    rhs -= k * range[name[1] - '0'].first;
                    for (const int b : bits_of(name))
                        terms[b] += k;
                } else {
                    auto [it, fresh] = index.try_emplace(name, next);
                    if (fresh)
                        ++next;
                    terms[it->second] += k;
                }
            }
            const long long sign = st.op == "<=" ? -1 : 1;
            std::string line;
            for (const auto& [var, k] : terms)
                if (k != 0)
                    line += (k * sign > 0 ? "+" : "") + std::to_string(k * sign) + " x" +
                            std::to_string(var) + " ";
            if (line.empty())
                line = "+0 x1 ";
            line += st.op == "=" ? "= " : ">= ";
            line += std::to_string(rhs * sign) + " ;\n";
            body += line;
            ++n_body;
        }
        return "* #variable= " + std::to_string(next - 1) +
               " #constraint= " + std::to_string(n_body + n_order) + "\n* exact model of " +
               std::string(pr.info.name) + "\n" + order_rows + body;
    }

    // Multipliers of Z_v map rotation classes to rotation classes; one class per orbit.
    std::vector<PositionMask> orbit_representatives(const std::vector<PositionMask>& classes) const {
        std::vector<PositionMask> keep;
        for (const PositionMask q : classes) {
            bool smallest = true;
            for (int u = 2; u < v && smallest; ++u) {
                if (std::gcd(u, v) != 1)
                    continue;
                PositionMask img = 0;
                for (int p = 0; p < v; ++p)
                    if (q >> p & 1)
                        img |= PositionMask{1} << (p * u % v);
                smallest = canonical(img) >= q;
            }
            if (smallest)
                keep.push_back(q);
        }
        return keep;
    }

    // Rows 4..6: the worst case needs every placement at or above it, the best case at or below.
    // Bounds used for the big-M terms follow from rows 2 to 4 (a pair on at most 42 tickets, a
    // triple on at most 12, a 4-set on at most 4) and from the 500 tickets.
    void lex_rows(int i, PositionMask q, const std::array<Lin, 7>& h, const HitRow& lo, const HitRow& hi,
                  bool may_witness_min, Lin& wmin, Lin& wmax) {
        const long long pairs = static_cast<long long>(combinations(i, 2) + 0.5);
        const long long triples = static_cast<long long>(combinations(i, 3) + 0.5);
        const long long fours = static_cast<long long>(combinations(i, 4) + 0.5);
        const long long n_tickets = pr.info.base_count * v;
        const long long max2 = std::min(n_tickets, pairs * hi_pair());
        const long long max3 = triples * 12;
        const long long max4 = fours * 4;
        const long long L2 = lo[0], L3 = lo[1], L4 = lo[2];
        const long long U2 = hi[0], U3 = hi[1], U4 = hi[2], U5 = hi[3], U6 = hi[4];
        // ---- worst case: (.., L4, L3, L2) with nothing above 4; s = C4 - L4 + h5 + h6 >= 0 by
        // coverage, zero exactly when the placement has L4 tickets with 4 and none with more.
        Lin s = four_sum(q);
        if (i >= 5)
            s = plus(s, h[5]);
        if (i >= 6)
            s = plus(s, h[6]);
        const long long s_const = -L4; // s = form + s_const
        const long long max_s = max4 + 12 + 1;
        // h3 - L3 + L3 * s >= 0
        row(plus(h[3], s, L3), ">=", L3 - L3 * s_const);
        // t >= 1 - (L3 + 1) s - (h3 - L3)  ->  t + (L3+1) s + h3 >= 1 + L3
        const std::string t = binary("t");
        row(plus(plus(var1(t), s, L3 + 1), h[3]), ">=", 1 + L3 - (L3 + 1) * s_const);
        // h2 >= L2 - L2 (1 - t)  ->  h2 - L2 t >= 0
        row(plus(h[2], var1(t, -L2)), ">=", 0);
        if (may_witness_min) {
            const std::string w = binary("w");
            add(wmin, w, 1);
            row(plus(s, var1(w, max_s)), "<=", max_s - s_const);
            row(plus(h[3], var1(w, max3)), "<=", L3 + max3);
            row(plus(h[2], var1(w, max2)), "<=", L2 + max2);
        }
        // ---- best case
        if (i == 4) {
            // h4 <= U4 (already n4 <= 4 by the bound); s = U4 - h4
            row(h[4], "<=", U4);
            const Lin s4 = plus(Lin{}, h[4], -1); // s = U4 - h4
            best_tail(q, s4, U4, h, U3, U2, max3, max2, wmax, h[4], U4);
        } else if (i == 5) {
            row(h[5], "<=", U5);
            // s = U5 - h5; then h4 <= U4 + (max4 - U4) s
            const Lin s5 = plus(Lin{}, h[5], -1);
            const long long k4 = max4 - U4;
            row(plus(h[4], s5, -k4), "<=", U4 + k4 * U5);
            // t1: tied through h4: t1 >= 1 - (k4+1) s - (U4 - h4)
            const std::string t1 = binary("t");
            //  t1 + (k4+1)(U5 - h5) + U4 - h4 >= 1
            row(plus(plus(var1(t1), h[5], -(k4 + 1)), h[4], -1), ">=", 1 - U4 - (k4 + 1) * U5);
            tail2(t1, h, U3, U2, max3, max2);
            const std::string w = binary("w");
            add(wmax, w, 1);
            row(plus(h[5], var1(w, -U5)), ">=", 0);
            row(plus(h[4], var1(w, -U4)), ">=", 0);
            row(plus(h[3], var1(w, -U3)), ">=", 0);
            row(plus(h[2], var1(w, -U2)), ">=", 0);
        } else if (i == 6) {
            const int c = pr.class_of(q);
            if (c < 0 || (pr.cands[c].mask != q && canonical(pr.cands[c].mask) != q))
                return; // never a ticket: count 6 is 0, below the best case
            const std::string x = "x" + std::to_string(c);
            const long long max5 = 12;
            // h5 <= U5 + (max5 - U5)(1 - x)
            row(plus(h[5], var1(x, max5 - U5)), "<=", max5);
            // s = (max5 + 1)(1 - x) + (U5 - h5) >= 0, zero when x = 1 and h5 = U5
            Lin s6 = plus(var1(x, -(max5 + 1)), h[5], -1);
            const long long s6c = (max5 + 1) + U5;
            const long long k4 = max4 - U4;
            // h4 <= U4 + k4 s
            row(plus(h[4], s6, -k4), "<=", U4 + k4 * s6c);
            const std::string t1 = binary("t");
            // t1 >= 1 - (k4 + 1) s - (U4 - h4)
            row(plus(plus(var1(t1), s6, k4 + 1), h[4], -1), ">=", 1 - U4 - (k4 + 1) * s6c);
            tail2(t1, h, U3, U2, max3, max2);
            const std::string w = binary("w");
            add(wmax, w, 1);
            row(plus(var1(w), var1(x, -1)), "<=", 0);
            (void)U6;
            row(plus(h[5], var1(w, -U5)), ">=", 0);
            row(plus(h[4], var1(w, -U4)), ">=", 0);
            row(plus(h[3], var1(w, -U3)), ">=", 0);
            row(plus(h[2], var1(w, -U2)), ">=", 0);
        }
    }
    static long long hi_pair() { return 42; }

    // Given t1 = 1 when tied through count 4: h3 <= U3, and when also h3 = U3, h2 <= U2.
    void tail2(const std::string& t1, const std::array<Lin, 7>& h, long long U3, long long U2, long long max3,
               long long max2) {
        // h3 <= U3 + (max3 - U3)(1 - t1)
        row(plus(h[3], var1(t1, max3 - U3)), "<=", max3);
        // t2 >= t1 - (U3 - h3) - (max3 + 1)(1 - t1)  ->  t2 - (max3 + 2) t1 + U3 - h3 >= -(max3 + 1)
        const std::string t2 = binary("t");
        row(plus(plus(var1(t2), var1(t1, -(max3 + 2))), h[3], -1), ">=", -(max3 + 1) - U3);
        // h2 <= U2 + (max2 - U2)(1 - t2)
        row(plus(h[2], var1(t2, max2 - U2)), "<=", max2);
    }

    // Row 4's best case: s = U4 - h4 (form s4 is -h4).
    void best_tail(PositionMask, const Lin& s4, long long, const std::array<Lin, 7>& h, long long U3,
                   long long U2, long long max3, long long max2, Lin& wmax, const Lin& h4, long long U4) {
        (void)s4;
        // h3 <= U3 + (max3 - U3) s
        row(plus(h[3], h4, max3 - U3), "<=", U3 + (max3 - U3) * U4);
        const std::string t1 = binary("t");
        // t1 >= 1 - (max3 - U3 + 1) s - (U3 - h3)
        row(plus(plus(var1(t1), h4, -(max3 - U3 + 1)), h[3], -1), ">=", 1 - U3 - (max3 - U3 + 1) * U4);
        row(plus(h[2], var1(t1, max2 - U2)), "<=", max2);
        const std::string w = binary("w");
        add(wmax, w, 1);
        row(plus(h4, var1(w, -U4)), ">=", 0);
        row(plus(h[3], var1(w, -U3)), ">=", 0);
        row(plus(h[2], var1(w, -U2)), ">=", 0);
    }
};

// The chosen classes of a CBC solution file: lines "index name value reduced-cost".
std::vector<int> read_lp_solution(const std::string& path, size_t n_cands);

} // namespace wheel_search
