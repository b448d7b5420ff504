#pragma once

#include "core/base/document.h"
#include "core/base/text_files.h"
#include "core/base/text_table.h"
#include "core/tsets/tset_files.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The targeted set the user works with: its size and name, the table of its dated rows (header
// row first, unsaved edits included), the current row and the numbers read from it, and the set
// file they came from. The Targeted Sets window edits it; the generator writes rows into it; the
// other windows read it.
class TsetDocument : public Document {
    Q_OBJECT
  public:
    explicit TsetDocument(QObject* parent = nullptr);

    int16_t size() const { return size_; }
    void set_size(int16_t size) { size_ = size; }
    const QString& name() const { return name_; }
    void set_name(const QString& name) { name_ = name; }

    TextTable& rows() { return rows_; }
    const TextTable& rows() const { return rows_; }
    int16_t current_row() const { return current_row_; }
    void set_current_row(int row) { current_row_ = static_cast<int16_t>(row); }
    // N1..Nsize of the current row as last read (index 0 unused).
    std::array<int16_t, 21>& numbers() { return numbers_; }
    const std::array<int16_t, 21>& numbers() const { return numbers_; }
    // Reads N1..Ncount of the current row into numbers(); the cell that does not read, if any.
    // The numbers read so far are the set's from then on.
    std::optional<CellRef> read_numbers(int count);

    struct Open {
        enum Status { opened, no_file, unreadable } status = opened;
        // The line where reading stopped short of more rows (0 when it read to the end).
        int unread_line = 0;
    };
    // Reads the set file at path (a set of the current size) into the table; it becomes the
    // current set, at its last row. A file that is missing or does not read changes nothing.
    Open open(const QString& path, const QString& name);
    // A new, empty set file at path, of the set name: saves go there from now on.
    void start_file(const QString& path, const QString& name);
    // The set whose file the rows are of (size and name); no name when they are of none (a size
    // just chosen, the editor closed).
    const QString& file_name() const { return file_name_; }
    int16_t file_size() const { return file_size_; }
    void forget_file() { file_name_.clear(); }
    // Puts the rows of a kept copy of this set's edits (at path) in place of the table's, as
    // edits not yet saved; the file they stand for stays the one a Save checks. False (with
    // *error) when the copy does not read.
    bool restore(const QString& path, QString* error = nullptr);
    // Writes the table over the file at path (blank rows dropped, the rest in date order).
    SaveResult save(const QString& path);
    // The set file as read or last saved, to tell whether someone changed it since.
    const FileStamp& stamp() const { return stamp_; }
    // Where reading the set stopped short of more rows: a Save would lose them (0 for none).
    int unread_line() const { return unread_line_; }

    // The editor closed: the rows go; the choices (size, name, numbers) stay.
    void release();

  signals:
    // The set's numbers were read afresh from its current row.
    void numbers_changed();

  private:
    int16_t size_ = 0;
    QString name_;
    TextTable rows_;
    int16_t current_row_ = 0;
    std::array<int16_t, 21> numbers_{};
    FileStamp stamp_;
    int unread_line_ = 0;
    QString file_name_;
    int16_t file_size_ = 0;
};
