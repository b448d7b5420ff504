#include "core/lotto/lotto_document.h"

#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/base/text_pieces.h"
#include "core/lotto/draw_export.h"
#include "core/lotto/lotto_entry.h"
#include "core/lotto/lotto_files.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <array>
#include <cmath>

LottoDocument::LottoDocument(QObject* parent) : Document(parent) {
    reset_draws_table(draws_);
    track_edits(draws_, draws_col::serial);
    // Other readers sort the table too (the generator sorts it by serial): the current row moves
    // with its draw, so the next Add still writes the draw it belongs to.
    connect(&draws_, &TextTable::reordered, this, [this](int first_row, const std::vector<int>& order) {
        const int old = current_row_ - first_row;
        if (old < 0 || old >= static_cast<int>(order.size()))
            return;
        for (int i = 0; i < static_cast<int>(order.size()); ++i)
            if (order[i] == old) {
                current_row_ = first_row + i;
                return;
            }
    });
}

void LottoDocument::set_name(const QString& name) {
    name_ = name;
    emit params_changed();
}

void LottoDocument::set_params(const LottoParams& params) {
    params_ = params;
    emit params_changed();
}

void LottoDocument::set_current_draw(const DrawRec& draw) {
    current_draw_ = draw;
}

QString LottoDocument::Open::message() const {
    switch (status) {
    case no_params:
        return QStringLiteral("No the file 'param.qtz'.");
    case bad_params:
    case unreadable_draws:
        return QString::fromUtf8(msg_data_not_correct);
    case no_draws:
        return QStringLiteral("No the file 'draws.txt'");
    case bad_date:
        return QStringLiteral("Not correct dates");
    case opened:
        break;
    }
    return {};
}

LottoDocument::Open LottoDocument::open(const QString& folder, const QString& lotto) {
    const QString param_path = join_path(folder, QLatin1String(param_file_name));
    const auto params = QFileInfo::exists(param_path) ? read_param_file(param_path) : std::nullopt;
    if (!params) {
        release_draws();
        return {QFileInfo::exists(param_path) ? Open::bad_params : Open::no_params, param_path};
    }
    params_stamp_.take(param_path);
    params_ = *params;
    name_ = lotto;
    emit params_changed();
    const QString draws_path = join_path(folder, QLatin1String(draws_file_name));
    switch (load_draws(folder, lotto)) {
    case Load::no_file:
        return {Open::no_draws, draws_path};
    case Load::unreadable:
        return {Open::unreadable_draws, draws_path};
    case Load::bad_date:
        return {Open::bad_date, draws_path};
    case Load::loaded:
        break;
    }
    return {Open::opened, draws_path};
}

bool LottoDocument::save_params(const QString& folder, const LottoParams& params) {
    const QString path = join_path(folder, QLatin1String(param_file_name));
    if (!write_param_file(path, params))
        return false;
    params_stamp_.take(path);
    params_ = params;
    emit params_changed();
    return true;
}

int LottoDocument::history(std::vector<DrawRec>& draws) const {
    return table_draws(draws_, draws);
}

QString LottoDocument::row_words(int row) const {
    const DrawTexts texts = draw_row_texts(draws_, row);
    return QStringList(texts.begin(), texts.end()).join(u' ').trimmed();
}

LottoDocument::Load LottoDocument::load_draws(const QString& folder, const QString& lotto) {
    const Load load = read_aside(folder, lotto);
    // Without draws read the row stays as it was: no row of the emptied table is one to edit.
    if (load == Load::loaded)
        current_row_ = draws_.rows() - 1;
    else if (load == Load::bad_date)
        current_row_ = 1;
    set_modified(false);
    return load;
}

// Reads and sorts the draws in a table of their own, then takes its rows: whoever shows the
// table sees one change, not every step of the load.
LottoDocument::Load LottoDocument::read_aside(const QString& folder, const QString& lotto) {
    TextTable aside;
    reset_draws_table(aside);
    const auto take = qScopeGuard([&] { draws_.take(aside); });
    const QString path = join_path(folder, QLatin1String(draws_file_name));
    draws_lotto_ = lotto;
    unread_path_.clear();
    load_error_.clear();
    draws_stamp_.take(path);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return Load::no_file;
    if (!read_draws_file(path, aside, &load_error_)) {
        reset_draws_table(aside);
        draws_lotto_.clear();
        unread_path_ = path;
        return Load::unreadable;
    }
    return sort_draws_table(aside) ? Load::loaded : Load::bad_date;
}

LottoDocument::Save LottoDocument::may_save(const QString& folder, const QString& lotto) const {
    const QString path = join_path(folder, QLatin1String(draws_file_name));
    if (lotto != draws_lotto_ && (!draws_lotto_.isEmpty() || QFileInfo::exists(path)))
        return path == unread_path_ ? Save::unread : Save::not_loaded;
    return Save::saved;
}

bool LottoDocument::sort() {
    return sort_draws_table(draws_);
}

LottoDocument::Save LottoDocument::write_draws(const QString& folder, const QString& lotto) {
    const QString path = join_path(folder, QLatin1String(draws_file_name));
    if (!write_draws_file(path, draws_))
        return Save::failed;
    draws_lotto_ = lotto;
    unread_path_.clear();
    draws_stamp_.take(path);
    set_modified(false);
    return Save::saved;
}

bool LottoDocument::append_draws(const std::vector<DrawRec>& draws) {
    {
        // Each draw packed straight into the table, its day kept as the sort key: the texts are
        // those of draws_file_cells, written without a string per cell.
        TextTable::Appender rows(draws_);
        rows.reserve(draws.size());
        std::array<char16_t, 8 * 24> digits{};
        for (const DrawRec& draw : draws) {
            qsizetype at = 0;
            const auto number = [&](qint64 v) {
                const qsizetype begin = at;
                at += write_decimal(digits.data() + at, v);
                return QStringView(digits.data() + begin, at - begin);
            };
            const QString date = iso_date_text(draw.date);
            const double day = std::floor(draw.date);
            std::array<QStringView, draws_col::count> cells{};
            cells[draws_col::date] = date;
            cells[draws_col::serial] = number(static_cast<qint64>(day));
            for (int i = 0; i < 6; ++i)
                cells[draws_col::n1 + i] = number(draw.n[i]);
            cells[draws_col::bonus] = number(draw.nb);
            rows.add(cells, day);
        }
    }
    return sort();
}

void LottoDocument::release_draws() {
    reset_draws_table(draws_);
    draws_lotto_.clear();
    draws_stamp_.clear();
    current_row_ = 0;
    set_modified(false);
}

bool LottoDocument::restore_draws(const QString& path, QString* error) {
    TextTable aside;
    reset_draws_table(aside);
    if (!read_draws_file(path, aside, error))
        return false;
    sort_draws_table(aside);
    draws_.take(aside);
    current_row_ = draws_.rows() - 1;
    set_modified(true);
    return true;
}
