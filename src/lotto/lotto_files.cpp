#include "lotto/lotto_files.h"

#include "core/common_routines.h"
#include "core/convert.h"
#include "core/grid_model.h"
#include "core/text_files.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <array>
#include <cmath>
#include <cstring>
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The currency length field allows at most 65535 bytes after the fixed part.
    return decode_params(file.read(50 + 65535));
}

bool write_param_file(const QString& path, const LottoParams& params) {
    const auto bytes = encode_params(params);
    return bytes && write_file_atomically(path, *bytes);
}

void reset_draws_table(GridModel& grid) {
    grid.set_rows(1);
    grid.set_cols(draws_col::count);
    grid.clear();
    grid.set_fixed_rows(1);
    grid.set_fixed_cols(0);
    grid.set_text(0, draws_col::date, QStringLiteral("Date"));
    for (int i = 0; i < 6; ++i)
        grid.set_text(0, draws_col::n1 + i, QStringLiteral("N%1").arg(i + 1));
    grid.set_text(0, draws_col::bonus, QStringLiteral("NBonus"));
    const int half = static_cast<int>(std::nearbyint(grid.col_width(draws_col::date) / 2.0));
    for (int c = draws_col::n1; c < draws_col::n1 + 6; ++c)
        grid.set_col_width(c, half);
}

bool read_draws_file(const QString& path, GridModel& grid) {
    const auto lines = read_text_lines(path);
    if (!lines)
        return false;
    append_draw_lines(*lines, grid);
    return true;
}

void append_draw_lines(const QStringList& lines, GridModel& grid) {
    std::vector<QString> rows;
    rows.reserve(lines.size());
    QStringList pieces;
    const QString sep(1, GridModel::cell_separator);
    for (QString line : lines) {
        line.remove(GridModel::cell_separator);
        line.replace(u'\t', u' '); // files edited by hand or pasted from a spreadsheet
        const int n = split_text(QStringLiteral(" "), line, pieces);
        if (n < 1)
            continue;
        // A line cut short (by hand) still loads, its missing fields empty, so that the user sees
        // it and a later save keeps it.
        QString joined = pieces[1];
        joined += sep; // the serial column is filled by the sort
        for (int i = 2; i <= 8; ++i) {
            joined += sep;
            if (i <= n)
                joined += pieces[i];
        }
        rows.push_back(std::move(joined));
    }
    grid.append_joined_rows(std::move(rows));
}

bool sort_draws_table(GridModel& grid, int* follow_row) {
    return static_cast<bool>(sort_grid_by_date(grid, draws_col::date, {draws_col::serial, follow_row}));
}

QStringList draws_file_lines(const GridModel& grid) {
    QStringList lines;
    lines.reserve(grid.rows());
    for (int r = 1; r < grid.rows(); ++r) {
        QString line;
        bool empty = true;
        for (int c = 0; c < draws_col::count; ++c) {
            if (c == draws_col::serial)
                continue;
            const QStringView cell = grid.text_view(r, c);
            empty = empty && cell.isEmpty();
            line += cell;
            line += u' ';
        }
        if (!empty)
            lines.append(line);
    }
    return lines;
}

bool write_draws_file(const QString& path, const GridModel& grid) {
    return write_text_lines(path, draws_file_lines(grid));
}

QStringList list_lottos(const QString& lto_dir) {
    return QDir(lto_dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}
