#include "core/tsets/tset_document.h"

#include <QFileInfo>

TsetDocument::TsetDocument(QObject* parent) : Document(parent) {
    track_edits(rows_);
}

TsetDocument::Open TsetDocument::open(const QString& path, const QString& name) {
    if (!QFileInfo(path).isFile())
        return {Open::no_file};
    const auto set = read_tset_file(path, name, size_);
    if (!set)
        return {Open::unreadable};
    // Laid out and filled aside, then taken whole: a load is no edit, and a view sees one change.
    TextTable aside;
    show_tset(aside, *set);
    rows_.take(aside);
    unread_line_ = set->unread_line;
    stamp_.take(path);
    current_row_ = static_cast<int16_t>(set->current_row);
    name_ = name;
    file_name_ = name;
    file_size_ = size_;
    set_modified(false);
    return {Open::opened, set->unread_line};
}

std::optional<CellRef> TsetDocument::read_numbers(int count) {
    const std::optional<CellRef> bad = get_Tset(rows_, current_row_, count, numbers_);
    emit numbers_changed();
    return bad;
}

void TsetDocument::start_file(const QString& path, const QString& name) {
    unread_line_ = 0;
    stamp_.take(path);
    file_name_ = name;
    file_size_ = size_;
    set_modified(false);
}

bool TsetDocument::restore(const QString& path, QString* error) {
    auto set = read_tset_file(path, file_name_, file_size_, error);
    if (!set)
        return false;
    // The copy marks a cell that was still empty, so that the row keeps its place in the line.
    for (TsetRow& row : set->rows) {
        if (row.date == QStringView(kept_empty_cell))
            row.date.clear();
        for (QString& n : row.numbers)
            if (n == QStringView(kept_empty_cell))
                n.clear();
    }
    TextTable aside;
    show_tset(aside, *set);
    rows_.take(aside);
    current_row_ = static_cast<int16_t>(set->current_row);
    set_modified(true);
    return true;
}

SaveResult TsetDocument::save(const QString& path) {
    const SaveResult saved = save_tset(path, rows_.cols() - 1, rows_);
    if (saved == SaveResult::saved) {
        stamp_.take(path);
        set_modified(false);
    }
    return saved;
}

void TsetDocument::release() {
    file_name_.clear();
    rows_.set_rows(0);
    rows_.set_cols(0);
    rows_.set_fixed_rows(0);
    set_modified(false);
}
