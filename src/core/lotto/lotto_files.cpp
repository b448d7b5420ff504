#include "core/lotto/lotto_files.h"

#include "core/base/common_routines.h"
#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/base/text_pieces.h"
#include "core/base/text_table.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

std::array<float LottoParams::*, 11> float_members() {
    return {&LottoParams::prize2,  &LottoParams::prize3,  &LottoParams::prize4,  &LottoParams::prize5,
            &LottoParams::prize6,  &LottoParams::prize2b, &LottoParams::prize3b, &LottoParams::prize4b,
            &LottoParams::prize5b, &LottoParams::prize6b, &LottoParams::cost};
}

} // namespace

ParamFault param_fault(const LottoParams& params) {
    if (params.pick_n < 1 || params.pick_n > max_pick_n)
        return ParamFault::pick_n;
    if (params.play_n < params.pick_n || params.play_n > max_play_n)
        return ParamFault::play_n;
    for (auto member : float_members())
        if (!std::isfinite(params.*member))
            return ParamFault::money;
    return ParamFault::none;
}

std::optional<QByteArray> encode_params(const LottoParams& params) {
    if (param_fault(params) != ParamFault::none)
        return std::nullopt;
    const QByteArray currency = encode_cp1252(params.currency);
    if (currency.size() > param_record_size - 50)
        return std::nullopt;
    QByteArray out(param_record_size, '\0');
    auto* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<qint16>(params.play_n, p);
    qToLittleEndian<qint16>(params.pick_n, p + 2);
    int offset = 4;
    for (auto member : float_members()) {
        quint32 bits = 0;
        const float value = params.*member;
        std::memcpy(&bits, &value, 4);
        qToLittleEndian<quint32>(bits, p + offset);
        offset += 4;
    }
    qToLittleEndian<quint16>(static_cast<quint16>(currency.size()), p + 48);
    std::memcpy(p + 50, currency.constData(), currency.size());
    return out;
}

std::optional<LottoParams> decode_params(const QByteArray& bytes) {
    if (bytes.size() < 50)
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const quint16 n = qFromLittleEndian<quint16>(p + 48);
    if (bytes.size() < 50 + n)
        return std::nullopt;
    LottoParams params;
    params.play_n = qFromLittleEndian<qint16>(p);
    params.pick_n = qFromLittleEndian<qint16>(p + 2);
    int offset = 4;
    for (auto member : float_members()) {
        const quint32 bits = qFromLittleEndian<quint32>(p + offset);
        std::memcpy(&(params.*member), &bits, 4);
        offset += 4;
    }
    if (param_fault(params) != ParamFault::none)
        return std::nullopt;
    params.currency = decode_cp1252(bytes.mid(50, n));
    return params;
}

std::optional<LottoParams> read_param_file(const QString& path) {
    // Read whole, as every file: a pipe or device is refused and a failed read is no record.
    const auto bytes = read_whole_file(path);
    if (!bytes)
        return std::nullopt;
    return decode_params(*bytes);
}

bool write_param_file(const QString& path, const LottoParams& params) {
    const auto bytes = encode_params(params);
    return bytes && write_file_atomically(path, *bytes);
}

void reset_draws_table(TextTable& grid) {
    grid.set_rows(1);
    grid.set_cols(draws_col::count);
    grid.clear();
    grid.set_fixed_rows(1);
    grid.set_fixed_cols(0);
    grid.set_text(0, draws_col::date, QStringLiteral("Date"));
    for (int i = 0; i < 6; ++i)
        grid.set_text(0, draws_col::n1 + i, QStringLiteral("N%1").arg(i + 1));
    grid.set_text(0, draws_col::bonus, QStringLiteral("NBonus"));
    grid.set_derived_col(draws_col::date, draws_col::serial);
}

namespace {

// Reads the lines of a draws file into the table: each line is split once, in place, packed
// straight into the table, and its date parsed once (the serial column keeps it until the date
// changes).
class DrawLineReader {
  public:
    explicit DrawLineReader(TextTable& table) : rows_(table) {}

    void add(QStringView line) {
        // Tabs are blanks (files edited by hand or pasted from a spreadsheet); a run of blanks is
        // one separator, as in every data file of the program.
        int n = 0;
        qsizetype i = 0;
        const qsizetype size = line.size();
        while (n < 8) {
            while (i < size && is_blank(line[i]))
                ++i;
            if (i == size)
                break;
            const qsizetype begin = i;
            while (i < size && !is_blank(line[i]))
                ++i;
            fields_[n++] = line.sliced(begin, i - begin);
        }
        if (n == 8) {
            // Fields past the eighth stay with it, so that the line is seen as malformed and kept
            // whole rather than cut on the next save.
            qsizetype end = size;
            while (end > i && is_blank(line[end - 1]))
                --end;
            if (end > i)
                fields_[7] = QStringView(fields_[7].data(), line.data() + end);
        }
        if (n == 0)
            return;
        // A line cut short (by hand) still loads, its missing fields empty, so that the user sees
        // it and a later save keeps it.
        std::array<QStringView, draws_col::count> cells{};
        cells[draws_col::date] = fields_[0];
        const auto serial = date_text_to_serial(fields_[0], DatePart::DateOnly, locale_);
        if (serial)
            cells[draws_col::serial] = serial_digits(*serial);
        for (int f = 1; f < n; ++f)
            cells[draws_col::n1 + f - 1] = fields_[f];
        rows_.add(cells, serial.value_or(std::numeric_limits<double>::quiet_NaN()));
    }

    // The lines of a file's bytes, each decoded on its own: the file is never held as text.
    void add_bytes(const QByteArray& bytes) {
        rows_.reserve(non_blank_lines(bytes));
        const char* data = bytes.constData();
        const qsizetype size = bytes.size();
        qsizetype start = 0;
        const auto line = [&](qsizetype end) {
            line_.resize(end - start);
            decode_cp1252(QByteArrayView(data + start, end - start), line_.data());
            add(QStringView(line_.data(), line_.size()));
        };
        for (qsizetype i = 0; i < size; ++i) {
            const char c = data[i];
            if (c != '\n' && c != '\r')
                continue;
            line(i);
            if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
        if (start < size)
            line(size);
    }

  private:
    static bool is_blank(QChar c) { return c == u' ' || c == u'\t'; }

    // The rows the bytes will give: blank lines give none, and a file of mostly blank lines must
    // not reserve a row for each.
    static size_t non_blank_lines(const QByteArray& bytes) {
        size_t lines = 0;
        bool filled = false;
        for (const char c : bytes) {
            if (c == '\n' || c == '\r') {
                lines += filled ? 1 : 0;
                filled = false;
            } else if (c != ' ' && c != '\t') {
                filled = true;
            }
        }
        return lines + (filled ? 1 : 0);
    }

    QStringView serial_digits(double serial) {
        const int n = write_decimal(digits_.data(), static_cast<qint64>(serial));
        return QStringView(digits_.data(), n);
    }

    TextTable::Appender rows_;
    const QLocale locale_; // one for every date of the file
    std::array<QStringView, 8> fields_{};
    std::array<char16_t, 24> digits_{};
    std::vector<char16_t> line_;
};

} // namespace

bool read_draws_file(const QString& path, TextTable& grid, QString* error) {
    const auto read = read_whole_file(path, error);
    if (!read)
        return false;
    const QByteArray& bytes = *read;
    DrawLineReader reader(grid);
    // A file saved as UTF-8 with a byte-order mark is read as text first (see decode_text_file).
    if (bytes.startsWith("\xEF\xBB\xBF"))
        for_each_line(decode_text_file(bytes), [&](QStringView line) { reader.add(line); });
    else
        reader.add_bytes(bytes);
    return true;
}

void append_draw_lines(const QStringList& lines, TextTable& grid) {
    DrawLineReader reader(grid);
    for (const QString& line : lines)
        reader.add(line);
}

bool sort_draws_table(TextTable& grid, int* follow_row) {
    return static_cast<bool>(sort_grid_by_date(grid, draws_col::date, {draws_col::serial, follow_row}));
}

namespace {

// Calls out(field) for the eight file fields of a draw row, in file order.
template <class Out> bool for_each_file_field(const TextTable& grid, int r, Out out) {
    bool empty = true;
    for (int c = 0; c < draws_col::count; ++c) {
        if (c == draws_col::serial)
            continue;
        const QStringView cell = grid.text_view(r, c);
        empty = empty && cell.isEmpty();
        out(cell);
    }
    return !empty;
}

} // namespace

QStringList draws_file_lines(const TextTable& grid) {
    QStringList lines;
    lines.reserve(grid.rows());
    for (int r = 1; r < grid.rows(); ++r) {
        QString line;
        if (for_each_file_field(grid, r, [&](QStringView cell) {
                line += cell;
                line += u' ';
            }))
            lines.append(line);
    }
    return lines;
}

QByteArray draws_file_bytes(const TextTable& grid) {
    // Each row straight into the file's bytes: no line is built as text first.
    QByteArray out;
    out.reserve(qsizetype(grid.rows()) * 32);
    for (int r = 1; r < grid.rows(); ++r) {
        const qsizetype line_start = out.size();
        if (for_each_file_field(grid, r, [&](QStringView cell) {
                append_cp1252(out, cell);
                out += ' ';
            }))
            out += "\r\n";
        else
            out.truncate(line_start);
    }
    return out;
}

bool write_draws_file(const QString& path, const TextTable& grid) {
    return write_file_atomically(path, draws_file_bytes(grid));
}

QString lotto_dir(const QString& data_dir) {
    return join_path(data_dir, QStringLiteral("Lto"));
}

QString lotto_folder(const QString& data_dir, const QString& name) {
    return join_path(lotto_dir(data_dir), name);
}

QStringList list_lottos(const QString& lto_dir) {
    return QDir(lto_dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}
