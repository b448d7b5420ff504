// The draw importer on any bytes, into a small stored history: the counts add up, no stored draw
// is lost, the merged history is sorted, and what is exported imports back as already present.
#include "core/lotto/draw_import.h"
#include "fuzz_support.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    LottoParams lotto;
    lotto.play_n = static_cast<int16_t>(6 + in.byte() % 85);
    lotto.pick_n = static_cast<int16_t>(1 + in.byte() % 6);
    ImportOptions options;
    options.date_order = static_cast<DateOrder>(in.byte() % 4);
    std::vector<DrawRec> stored = {{45300, {1, 2, 3, 4, 5, 6}, 0}, {45296, {6, 5, 4, 3, 2, 1}, 6}};
    for (DrawRec& d : stored)
        std::fill(d.n.begin() + lotto.pick_n, d.n.end(), int16_t(0));
    // A bonus never repeats a number of its draw (the importer rejects that): 1 is free below six.
    stored[1].nb = lotto.pick_n < 6 ? 1 : 0;
    const ImportResult r = import_draws(in.rest_bytes(), lotto, stored, options);

    FUZZ_CHECK(r.new_rows + r.already_present + r.conflicting + r.rejected <= r.rows_read);
    FUZZ_CHECK(r.report().last() == r.summary());
    FUZZ_CHECK(r.merged.size() == stored.size() + r.added.size());
    for (const DrawRec& d : stored)
        FUZZ_CHECK(std::find(r.merged.begin(), r.merged.end(), d) != r.merged.end());
    if (r.status == ImportStatus::nothing_done) {
        FUZZ_CHECK(r.added.empty());
        return 0;
    }
    FUZZ_CHECK(r.new_rows + r.already_present + r.conflicting + r.rejected == r.rows_read);
    FUZZ_CHECK(static_cast<int64_t>(r.added.size()) == r.new_rows);
    FUZZ_CHECK(std::is_sorted(r.merged.begin(), r.merged.end(),
                              [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; }));
    const QString csv = export_draws_csv(r.merged, lotto.pick_n);
    const ImportResult back = import_draws(csv.toUtf8(), lotto, r.merged);
    FUZZ_CHECK(back.status == ImportStatus::done);
    FUZZ_CHECK(back.already_present == static_cast<int64_t>(r.merged.size()));
    FUZZ_CHECK(back.merged == r.merged);
    return 0;
}
