#include "core/lotto/draw_import.h"

#include "core/base/convert.h"
#include "core/base/text_files.h"
#include "core/base/text_pieces.h"
#include "core/lotto/delimited_text.h"
#include "core/lotto/draw_check.h"
#include "core/lotto/history_reading.h"
#include "core/lotto/lotto_files.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace {

using DrawKey = std::pair<std::array<int16_t, 6>, int16_t>;

struct DrawKeyHash {
    size_t operator()(const DrawKey& key) const {
        size_t h = static_cast<uint16_t>(key.second);
        for (const int16_t n : key.first)
            h = h * 131 + static_cast<uint16_t>(n);
        return std::hash<size_t>{}(h);
    }
};

DrawKey key_of(const DrawRec& d) {
    DrawKey key{d.n, d.nb};
    std::sort(key.first.begin(), key.first.end());
    return key;
}

int64_t day_of(double serial) {
    return static_cast<int64_t>(std::floor(serial));
}

class Importer {
  public:
    Importer(const LottoParams& lotto, const std::vector<DrawRec>& history, const ImportOptions& options)
        : lotto_(lotto), history_(history), options_(options) {}

    ImportResult run(const QByteArray& bytes);

  private:
    ImportResult refuse(const QString& why) {
        result_.status = ImportStatus::nothing_done;
        result_.message = why;
        result_.merged = history_;
        return std::move(result_);
    }
    std::optional<QString> find_columns(DelimitedReader& reader);
    void read_first_records(QChar separator);
    QStringList cells_of_row(const Row& row) const;
    void report_shared_rows();
    QString keeping_filter(const std::vector<std::vector<size_t>>& groups, const std::vector<size_t>& valid);
    std::optional<QString> resolve_filters();
    bool keep(const DelimitedReader& r) const;
    std::optional<QString> resolve_dates();
    void merge();
    void fill_preview();
    void reject(Row& row, const QString& why) {
        row.error = static_cast<int>(reasons_.size());
        reasons_.append(why);
    }
    QString row_text(const Row& row) const {
        QString raw = excerpt(QStringView(text_).sliced(row.raw_start, row.raw_length).trimmed());
        raw.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        raw.replace(u'\n', u' ');
        raw.replace(u'\r', u' ');
        return raw;
    }
    // The rows the text can give: one a line that is not blank, and no more than the text's
    // characters allow a date and the numbers each (a file of blank lines reserves nothing).
    size_t kept_rows_at_most() const {
        size_t lines = 0;
        bool filled = false;
        for (const QChar c : text_) {
            if (c == u'\n' || c == u'\r') {
                lines += filled ? 1 : 0;
                filled = false;
            } else if (!filled && !c.isSpace()) {
                filled = true;
            }
        }
        lines += filled ? 1 : 0;
        const auto shortest = static_cast<size_t>(2 * (lotto_.pick_n + 1));
        return std::min(lines, static_cast<size_t>(text_.size()) / shortest + 1);
    }
    QString line_of(const Row& row) const {
        return QStringLiteral("line %1 (%2)").arg(row.line).arg(row_text(row));
    }

    const LottoParams& lotto_;
    const std::vector<DrawRec>& history_;
    const ImportOptions& options_;
    ImportResult result_;
    QString text_;
    ColumnMap map_;
    QStringList header_; // empty when the file has none
    std::vector<std::pair<int, QString>> filters_;
    std::vector<Row> rows_;
    QStringList reasons_;
    std::vector<std::pair<qsizetype, QString>> row_lines_; // by line: rejected rows and conflicts
    std::vector<QStringList> sample_;                      // the first records, for a suggested map
};

std::optional<QString> Importer::find_columns(DelimitedReader& reader) {
    const int k = lotto_.pick_n;
    const RowReader probe_map(map_, lotto_);
    Row probe;
    QString why;
    if (options_.columns) {
        map_ = *options_.columns;
        if (static_cast<int>(map_.numbers.size()) != k)
            return QStringLiteral("the column map gives %1 number columns; this lotto draws %2")
                .arg(map_.numbers.size())
                .arg(k);
        if (!probe_map.read(reader, probe, &why))
            header_ = cells_of(reader);
        return std::nullopt;
    }
    if (const auto found = columns_from_header(reader, k)) {
        map_ = *found;
        header_ = cells_of(reader);
        return std::nullopt;
    }
    // Without a header, a row of just a date, the numbers and perhaps a bonus has one reading.
    if (reader.size() == k + 1 || reader.size() == k + 2) {
        map_.date = 0;
        for (int i = 1; i <= k; ++i)
            map_.numbers.push_back(i);
        map_.bonus = reader.size() == k + 2 ? k + 1 : -1;
        if (probe_map.read(reader, probe, &why))
            return std::nullopt;
    }
    if (const auto suggested = suggest_columns(sample_, lotto_))
        result_.suggested_columns = column_map_text(*suggested);
    // One pass: the line's own text is never searched for further markers.
    return QStringLiteral("line %1 does not name the date and %2 number columns (%3); give a column map such "
                          "as %4")
        .arg(QString::number(reader.line()), QString::number(k), excerpt(reader.raw().trimmed()),
             result_.suggested_columns.isEmpty()
                 ? QStringLiteral("date=1,numbers=2-%1,bonus=%2").arg(k + 1).arg(k + 2)
                 : result_.suggested_columns);
}

void Importer::read_first_records(QChar separator) {
    constexpr size_t shown = 12;
    constexpr size_t sampled = 40;
    DelimitedReader reader(text_, separator);
    while (sample_.size() < sampled && reader.next()) {
        if (reader.blank())
            continue;
        sample_.push_back(cells_of(reader));
        if (result_.first_records.size() < shown)
            result_.first_records.push_back(sample_.back());
    }
}

QStringList Importer::cells_of_row(const Row& row) const {
    DelimitedReader reader(QStringView(text_).sliced(row.raw_start, row.raw_length), result_.separator);
    return reader.next() ? cells_of(reader) : QStringList{};
}

// Rows of the file that share a date or a draw number hold different kinds of draws (extra or
// second-chance draws beside the regular one) more often than true second draws: say so once,
// with the filter that keeps one row of each when a column tells them apart.
void Importer::report_shared_rows() {
    std::vector<size_t> valid;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].counted && rows_[i].error < 0)
            valid.push_back(i);
    std::vector<std::vector<size_t>> groups;
    int dates = 0;
    int numbers = 0;
    const auto collect = [&](std::vector<size_t> order, const auto& key, int& count, bool skip_same_day) {
        sort_stable(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
        for (size_t a = 0; a < order.size();) {
            size_t b = a + 1;
            while (b < order.size() && key(order[b]) == key(order[a]))
                ++b;
            std::vector<size_t> group(order.begin() + static_cast<std::ptrdiff_t>(a),
                                      order.begin() + static_cast<std::ptrdiff_t>(b));
            a = b;
            std::vector<DrawKey> kinds;
            for (const size_t i : group)
                if (const DrawKey k = key_of(rows_[i].draw);
                    std::find(kinds.begin(), kinds.end(), k) == kinds.end())
                    kinds.push_back(k);
            if (kinds.size() < 2)
                continue;
            ++count;
            const bool same_day = std::all_of(group.begin(), group.end(), [&](size_t i) {
                return day_of(rows_[i].draw.date) == day_of(rows_[group[0]].draw.date);
            });
            if (!(skip_same_day && same_day))
                groups.push_back(std::move(group));
        }
    };
    collect(
        valid, [&](size_t i) { return day_of(rows_[i].draw.date); }, dates, false);
    std::vector<size_t> numbered;
    for (const size_t i : valid)
        if (rows_[i].draw_number >= 0)
            numbered.push_back(i);
    collect(
        numbered, [&](size_t i) { return rows_[i].draw_number; }, numbers, true);
    if (groups.empty())
        return;
    std::sort(groups.begin(), groups.end(),
              [&](const auto& a, const auto& b) { return rows_[a.front()].line < rows_[b.front()].line; });

    const std::vector<size_t>& first = groups.front();
    QStringList lines;
    for (const size_t i : first)
        lines.append(QString::number(rows_[i].line));
    QString what;
    if (dates > 0)
        what = QStringLiteral("%1 %2").arg(dates).arg(QLatin1String(dates == 1 ? "date" : "dates"));
    if (numbers > 0)
        what += QStringLiteral("%1%2 draw %3")
                    .arg(what.isEmpty() ? QString() : QStringLiteral(" and "))
                    .arg(numbers)
                    .arg(QLatin1String(numbers == 1 ? "number" : "numbers"));
    QString line =
        QStringLiteral("rows sharing a date or draw number: more than one draw on %1 of the file, "
                       "first %2 on lines %3")
            .arg(what, iso_date_text(rows_[first.front()].draw.date), lines.join(QStringLiteral(", ")));
    result_.suggested_filter = keeping_filter(groups, valid);
    if (result_.suggested_filter.isEmpty())
        line += QStringLiteral("; no column tells their kinds apart");
    else
        line +=
            QStringLiteral("; to keep one kind, filter with --where \"%1\"").arg(result_.suggested_filter);
    row_lines_.emplace_back(std::numeric_limits<qsizetype>::max(), line);
}

// "COLUMN=VALUE" for a column outside the map whose VALUE is held by exactly one row of each
// group and by every row outside the groups; empty when there is none.
QString Importer::keeping_filter(const std::vector<std::vector<size_t>>& groups,
                                 const std::vector<size_t>& valid) {
    std::vector<uint8_t> grouped(rows_.size(), 0);
    for (const auto& group : groups)
        for (const size_t i : group)
            grouped[i] = 1;
    std::vector<QStringList> cells(rows_.size());
    for (const size_t i : valid)
        cells[i] = cells_of_row(rows_[i]);
    std::vector<int> mapped = map_.numbers;
    for (int c = map_.date; c < map_.date + map_.date_columns; ++c)
        mapped.push_back(c);
    mapped.push_back(map_.bonus);
    mapped.push_back(map_.draw_number);
    const auto same = [](const QStringList& r, int c, const QString& v) {
        return c < r.size() && r[c].trimmed().compare(v, Qt::CaseInsensitive) == 0;
    };
    const QStringList& sample = cells[groups.front().front()];
    for (int c = 0; c < sample.size(); ++c) {
        if (std::find(mapped.begin(), mapped.end(), c) != mapped.end())
            continue;
        for (const size_t candidate : groups.front()) {
            const QString v = cells[candidate].value(c).trimmed();
            const bool one_each = std::all_of(groups.begin(), groups.end(), [&](const auto& group) {
                return std::count_if(group.begin(), group.end(),
                                     [&](size_t i) { return same(cells[i], c, v); }) == 1;
            });
            const bool others = std::all_of(valid.begin(), valid.end(),
                                            [&](size_t i) { return grouped[i] || same(cells[i], c, v); });
            if (!one_each || !others)
                continue;
            const QString name = c < header_.size() ? header_[c].trimmed() : QString();
            const bool by_name = !name.isEmpty() && !name.contains(u'=') && !name.contains(u'"');
            return QStringLiteral("%1=%2").arg(by_name ? name : QString::number(c + 1), v);
        }
    }
    return {};
}

std::optional<QString> Importer::resolve_filters() {
    for (const ColumnFilter& f : options_.filters) {
        int column = -1;
        const QString wanted = normalized_name(f.column);
        for (qsizetype c = 0; c < header_.size() && column < 0; ++c)
            if (header_[c].trimmed().compare(f.column.trimmed(), Qt::CaseInsensitive) == 0 ||
                (!wanted.isEmpty() && normalized_name(header_[c]) == wanted))
                column = static_cast<int>(c);
        if (column < 0) {
            const auto index = whole_number(QStringView(f.column).trimmed());
            if (!index || *index < 1 || *index > 100000)
                return QStringLiteral("the filter column %1 is neither a header name nor a column number")
                    .arg(quoted(f.column));
            column = static_cast<int>(*index - 1);
        }
        filters_.emplace_back(column, f.value.trimmed());
    }
    return std::nullopt;
}

bool Importer::keep(const DelimitedReader& r) const {
    for (const auto& [column, value] : filters_)
        if (column >= r.size() || r.cell(column).compare(value, Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

std::optional<QString> Importer::resolve_dates() {
    DateOrder order = options_.date_order;
    if (order == DateOrder::automatic) {
        const Row* day_first = nullptr;
        const Row* month_first = nullptr;
        const Row* either = nullptr;
        for (const Row& row : rows_) {
            if (!day_first && row.date.shows_day_first())
                day_first = &row;
            if (!month_first && row.date.shows_month_first())
                month_first = &row;
            if (!either && row.date.reads_both_ways())
                either = &row;
        }
        if (day_first && month_first)
            return QStringLiteral("the dates read day first on %1 but month first on %2; give --date-order "
                                  "dmy|mdy|ymd")
                .arg(line_of(*day_first), line_of(*month_first));
        if (day_first)
            order = DateOrder::dmy;
        else if (month_first)
            order = DateOrder::mdy;
        else if (either)
            return QStringLiteral("every date reads both day first and month first, as on %1; give "
                                  "--date-order dmy|mdy|ymd")
                .arg(line_of(*either));
    }
    const double from = options_.from.isValid() ? date_to_serial(options_.from) : -INFINITY;
    const double to = options_.to.isValid() ? date_to_serial(options_.to) : INFINITY;
    QString why;
    for (Row& row : rows_) {
        if (row.date.kind == PublishedDate::Kind::unreadable)
            continue;
        QString copy;
        QStringView text;
        if (row.date_at >= 0) {
            text = QStringView(text_).sliced(row.date_at, row.date_length);
        } else {
            copy = row_text(row);
            text = copy;
        }
        const auto date = resolve_published_date(row.date, order, text, &why);
        if (!date) {
            if (row.error < 0)
                reject(row, why);
            continue;
        }
        row.draw.date = date_to_serial(*date);
        if (row.draw.date < from || row.draw.date > to)
            row.counted = false;
    }
    return std::nullopt;
}

void Importer::merge() {
    std::vector<size_t> valid;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].counted && rows_[i].error < 0)
            valid.push_back(i);
    sort_stable(valid.begin(), valid.end(),
                [&](size_t a, size_t b) { return day_of(rows_[a].draw.date) < day_of(rows_[b].draw.date); });
    std::vector<size_t> stored(history_.size());
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = i;
    sort_stable(stored.begin(), stored.end(),
                [&](size_t a, size_t b) { return day_of(history_[a].date) < day_of(history_[b].date); });

    std::vector<uint8_t> is_new(rows_.size(), 0);
    // The draws of a day in hash sets: rows that share one date cost one look-up each, not a
    // comparison with every other row of that date.
    std::unordered_set<DrawKey, DrawKeyHash> stored_keys;
    std::unordered_set<DrawKey, DrawKeyHash> taken_keys;
    // Emptying a set costs its buckets: after a crowded day, a fresh one for the next.
    const auto reset = [](std::unordered_set<DrawKey, DrawKeyHash>& keys) {
        if (keys.bucket_count() > 64)
            keys = {};
        else
            keys.clear();
    };
    size_t s = 0;
    for (size_t v = 0; v < valid.size();) {
        const int64_t day = day_of(rows_[valid[v]].draw.date);
        while (s < stored.size() && day_of(history_[stored[s]].date) < day)
            ++s;
        size_t s_end = s;
        reset(stored_keys);
        while (s_end < stored.size() && day_of(history_[stored[s_end]].date) == day)
            stored_keys.insert(key_of(history_[stored[s_end++]]));
        reset(taken_keys);
        QString versions; // the stored draws of the day, once a row conflicts with them
        for (; v < valid.size() && day_of(rows_[valid[v]].draw.date) == day; ++v) {
            Row& row = rows_[valid[v]];
            const DrawKey key = key_of(row.draw);
            if (stored_keys.contains(key) || taken_keys.contains(key)) {
                ++result_.already_present;
                row.fate = Row::Fate::present;
            } else if (!stored_keys.empty()) {
                ++result_.conflicting;
                row.fate = Row::Fate::conflicting;
                if (versions.isEmpty()) {
                    QStringList list;
                    for (size_t t = s; t < s_end; ++t)
                        list.append(draw_numbers_text(history_[stored[t]], lotto_.pick_n));
                    versions = excerpt(list.join(QStringLiteral(" / ")));
                }
                row_lines_.emplace_back(
                    row.line,
                    QStringLiteral("line %1: conflicts with the stored draw of %2 (stored %3, file %4; "
                                   "the stored draw is kept): %5")
                        .arg(row.line)
                        .arg(iso_date_text(row.draw.date), versions,
                             draw_numbers_text(row.draw, lotto_.pick_n), row_text(row)));
            } else {
                ++result_.new_rows;
                taken_keys.insert(key);
                is_new[valid[v]] = 1;
                row.fate = Row::Fate::added;
            }
        }
        s = s_end;
    }

    result_.added.reserve(static_cast<size_t>(result_.new_rows));
    for (size_t i = 0; i < rows_.size(); ++i)
        if (is_new[i])
            result_.added.push_back(rows_[i].draw);
    // Stored draws first within a date, then the new ones in the order of the file.
    const auto by_date = [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; };
    std::vector<DrawRec> old_draws = history_;
    sort_stable(old_draws.begin(), old_draws.end(), by_date);
    std::vector<DrawRec> new_draws;
    new_draws.reserve(result_.added.size());
    for (const size_t i : valid)
        if (is_new[i])
            new_draws.push_back(rows_[i].draw);
    result_.merged.resize(old_draws.size() + new_draws.size());
    std::merge(old_draws.begin(), old_draws.end(), new_draws.begin(), new_draws.end(), result_.merged.begin(),
               by_date);
}

void Importer::fill_preview() {
    for (const Row& row : rows_) {
        if (!row.counted)
            continue;
        const bool trouble = row.error >= 0 || row.fate == Row::Fate::conflicting;
        const bool shown_first = static_cast<int>(result_.preview.size()) < options_.preview_rows;
        if (!trouble && !shown_first)
            continue;
        PreviewRow shown;
        shown.line = row.line;
        if (row.error >= 0) {
            shown.cells = QStringList{row_text(row)};
            shown.note = QStringLiteral("rejected: %1").arg(reasons_[row.error]);
            shown.rejected = true;
        } else {
            shown.cells = QStringList{iso_date_text(row.draw.date)};
            for (int k = 0; k < lotto_.pick_n; ++k)
                shown.cells << QString::number(row.draw.n[static_cast<size_t>(k)]);
            shown.cells << (row.draw.nb ? QString::number(row.draw.nb) : QString());
            shown.note = row.fate == Row::Fate::added     ? QStringLiteral("new")
                         : row.fate == Row::Fate::present ? QStringLiteral("already present")
                         : row.fate == Row::Fate::conflicting
                             ? QStringLiteral("conflicts with the stored draw")
                             : QString();
            shown.rejected = row.fate == Row::Fate::conflicting;
        }
        if (trouble)
            result_.troubles.push_back(shown);
        if (shown_first)
            result_.preview.push_back(std::move(shown));
    }
}

ImportResult Importer::run(const QByteArray& bytes) {
    if (param_fault(lotto_) != ParamFault::none)
        return refuse(QStringLiteral("the lotto's numbers in play and numbers drawn are not usable"));
    HistoryText read = read_history_text(bytes, options_.encoding);
    result_.encoding = read.encoding;
    if (!read.error.isEmpty())
        return refuse(read.error);
    text_ = std::move(read.text);

    const QChar separator =
        options_.separator.isNull() ? detect_separator(text_, lotto_.pick_n + 1) : options_.separator;
    result_.separator = separator;
    read_first_records(separator);
    DelimitedReader reader(text_, separator);
    bool first = true;
    while (first && reader.next())
        first = reader.blank();
    if (first)
        return refuse(QStringLiteral("the file is empty"));
    if (const auto why = find_columns(reader))
        return refuse(*why);
    if (const auto why = resolve_filters())
        return refuse(*why);

    const RowReader row_reader(map_, lotto_);
    rows_.reserve(kept_rows_at_most());
    QString why;
    bool at_first = header_.isEmpty();
    while (at_first || reader.next()) {
        at_first = false;
        if (reader.blank() || !keep(reader))
            continue;
        Row row;
        row.line = reader.line();
        row.raw_start = reader.raw().data() - text_.constData();
        row.raw_length = reader.raw().size();
        if (!header_.isEmpty() && same_cells(reader, header_))
            reject(row, QStringLiteral("the header line again"));
        else if (!row_reader.read(reader, row, &why))
            reject(row, why);
        const int date_last = map_.date + map_.date_columns - 1;
        if (date_last < reader.size()) {
            row.date_at = reader.cell_offset(map_.date);
            const qsizetype end = reader.cell_offset(date_last);
            row.date_length = end < 0 ? 0 : end + reader.cell(date_last).size() - row.date_at;
            if (end < 0)
                row.date_at = -1;
        }
        rows_.push_back(row);
    }
    if (const auto why_dates = resolve_dates())
        return refuse(*why_dates);

    std::vector<std::pair<int64_t, double>> numbered;
    for (const Row& row : rows_) {
        if (!row.counted)
            continue;
        ++result_.rows_read;
        if (row.error >= 0) {
            ++result_.rejected;
            row_lines_.emplace_back(
                row.line,
                QStringLiteral("line %1: %2: %3").arg(row.line).arg(reasons_[row.error], row_text(row)));
        } else if (row.draw_number >= 0) {
            numbered.emplace_back(row.draw_number, row.draw.date);
        }
    }
    if (result_.rows_read == 0) {
        for (auto& [line, text] : row_lines_)
            result_.lines.append(text);
        return refuse(options_.filters.empty() && !options_.from.isValid() && !options_.to.isValid()
                          ? QStringLiteral("the file holds no rows after its header line")
                          : QStringLiteral("no row of the file passes the filters"));
    }
    if (result_.rejected == result_.rows_read) {
        fill_preview();
        std::stable_sort(row_lines_.begin(), row_lines_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [line, text] : row_lines_)
            result_.lines.append(text);
        return refuse(
            QStringLiteral("no row of the file reads as a draw of this lotto (%1 numbers from 1..%2)")
                .arg(lotto_.pick_n)
                .arg(lotto_.play_n));
    }

    merge();
    fill_preview();
    report_shared_rows();
    std::stable_sort(row_lines_.begin(), row_lines_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [line, text] : row_lines_)
        result_.lines.append(std::move(text));

    const HistoryCheck check = check_history(result_.merged, numbered);
    const std::vector<DrawNumberGap> gaps = draw_number_gaps(std::move(numbered));
    result_.lines += history_check_lines(check, result_.merged, lotto_.pick_n, gaps);
    result_.missing_dates =
        static_cast<int64_t>(check.missing.size()) + missing_beyond_dates(gaps, check.missing);

    if (result_.new_rows + result_.already_present == 0) {
        result_.status = ImportStatus::nothing_done;
        result_.message =
            QStringLiteral("no row could be imported: each is rejected or conflicts with a stored "
                           "draw");
        result_.merged = history_;
        result_.added.clear();
    } else {
        result_.status =
            result_.rejected + result_.conflicting > 0 ? ImportStatus::partly_done : ImportStatus::done;
    }
    return std::move(result_);
}

} // namespace

QString ImportResult::summary() const {
    return QStringLiteral(
               "Read %1 rows: %2 new, %3 already present, %4 conflicting, %5 rejected; %6 draw dates "
               "missing.")
        .arg(rows_read)
        .arg(new_rows)
        .arg(already_present)
        .arg(conflicting)
        .arg(rejected)
        .arg(missing_dates);
}

QStringList ImportResult::report() const {
    QStringList out = lines;
    if (!message.isEmpty())
        out.append(message);
    out.append(summary());
    return out;
}

ImportResult import_draws(const QByteArray& bytes, const LottoParams& lotto,
                          const std::vector<DrawRec>& history, const ImportOptions& options) {
    return Importer(lotto, history, options).run(bytes);
}

ImportResult import_draws_file(const QString& path, const LottoParams& lotto,
                               const std::vector<DrawRec>& history, const ImportOptions& options) {
    QString error;
    const auto bytes = read_whole_file(path, &error);
    if (!bytes) {
        ImportResult result;
        result.message = QStringLiteral("cannot read %1: %2").arg(path, error);
        result.merged = history;
        return result;
    }
    return import_draws(*bytes, lotto, history, options);
}
