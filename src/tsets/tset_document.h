#pragma once

#include "core/text_table.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

// The targeted set the user works with: its size and name, the table of its dated rows (header
// row first, unsaved edits included), the current row and the numbers read from it. The Targeted
// Sets window edits it; the generator writes rows into it; the other windows read it.
class TsetDocument : public QObject {
    Q_OBJECT
  public:
    explicit TsetDocument(QObject* parent = nullptr) : QObject(parent) {}

    int16_t size() const { return size_; }
    void set_size(int16_t size) {
        size_ = size;
        emit changed();
    }
    const QString& name() const { return name_; }
    void set_name(const QString& name) {
        name_ = name;
        emit changed();
    }

    TextTable& rows() { return rows_; }
    const TextTable& rows() const { return rows_; }
    int16_t current_row() const { return current_row_; }
    void set_current_row(int row) {
        current_row_ = static_cast<int16_t>(row);
        emit changed();
    }
    // N1..Nsize of the current row as last read (index 0 unused).
    std::array<int16_t, 21>& numbers() { return numbers_; }
    const std::array<int16_t, 21>& numbers() const { return numbers_; }

    // What the editor's size and date boxes hold now, typed over or not: the generator fills a
    // row only for the size chosen and dates it with the date shown.
    const QString& shown_size() const { return shown_size_; }
    const QString& shown_date() const { return shown_date_; }
    void set_shown(const QString& size, const QString& date) { shown_size_ = size, shown_date_ = date; }

    // Something other than the editor filled rows: the editor lets them be saved.
    void offer_save() { emit save_offered(); }

    // The editor closed: the rows and what it showed go; the choices (size, name, numbers) stay.
    void release() {
        rows_.set_rows(0);
        rows_.set_cols(0);
        rows_.set_fixed_rows(0);
        shown_size_.clear();
        shown_date_.clear();
    }

  signals:
    // The size, the name or the current row changed.
    void changed();
    void save_offered();

  private:
    int16_t size_ = 0;
    QString name_;
    TextTable rows_;
    int16_t current_row_ = 0;
    std::array<int16_t, 21> numbers_{};
    QString shown_size_;
    QString shown_date_;
};
