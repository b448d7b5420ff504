#pragma once

#include "core/base/document.h"
#include "core/base/text_files.h"
#include "core/base/text_table.h"
#include "core/lotto/lotto_records.h"

#include <QObject>
#include <QString>
#include <vector>

// The lotto the user works with: its name and parameters, the table of its draws (texts as read
// or typed, unsaved edits included) and the current draw. The Lotto window edits it; the other
// windows and the command line read it.
class LottoDocument : public Document {
    Q_OBJECT
  public:
    explicit LottoDocument(QObject* parent = nullptr);

    const QString& name() const { return name_; }
    const LottoParams& params() const { return params_; }
    // The lotto chosen: its name, then its parameters once they are read or saved.
    void set_name(const QString& name);
    void set_params(const LottoParams& params);

    // The draws table (layout in lotto/lotto_files.h).
    TextTable& draws() { return draws_; }
    const TextTable& draws() const { return draws_; }
    // The lotto whose draws the table holds; empty when it holds none (nothing loaded, a load
    // that failed, or the table released).
    const QString& draws_lotto() const { return draws_lotto_; }
    // The draws file as it was when read or last saved, to tell whether someone changed it since.
    const FileStamp& draws_stamp() const { return draws_stamp_; }

    // What opening a lotto found: the parameters (no file, or a record that does not read) and then
    // the draws (see Load). path names the file concerned.
    struct Open {
        enum Status { opened, no_params, bad_params, no_draws, unreadable_draws, bad_date } status = opened;
        QString path;
        // Whether the lotto became the current one (its parameters read), draws or not.
        bool chosen() const { return status != no_params && status != bad_params; }
        // The message the Lotto window shows; empty when all was read.
        QString message() const;
    };
    // Makes the lotto in folder the current one: its name, its parameters and its draws, sorted.
    // Parameters that cannot be read leave the parameters as they were and release the draws,
    // which no longer belong to the lotto named.
    Open open(const QString& folder, const QString& lotto);
    // The parameters file as read or last saved, to tell whether someone changed it since.
    const FileStamp& params_stamp() const { return params_stamp_; }
    // Writes params into the parameters file in folder; they are then the lotto's.
    bool save_params(const QString& folder, const LottoParams& params);
    // The draws as dated records, in the order of the table; the first row that does not read (0 when
    // all do) ...
    int history(std::vector<DrawRec>& draws) const;
    // ... and the sentence that names it, for the caller's message.
    QString row_words(int row) const;

    enum class Load { loaded, no_file, unreadable, bad_date };
    // Reads the lotto's draws file in folder into the table and sorts it by date. With no file
    // the table stays empty but belongs to the lotto (its first Save writes the file); an
    // unreadable file leaves it belonging to none.
    Load load_draws(const QString& folder, const QString& lotto);
    // Why the last load found the draws file unreadable.
    const QString& load_error() const { return load_error_; }
    enum class Save { saved, not_loaded, unread, bad_date, failed };
    // Whether the table may be written over the draws file of lotto in folder: only the lotto the
    // table came from may have its history replaced by it, and another lotto's draws never become
    // a new lotto's first file; draws typed before any lotto was loaded may.
    Save may_save(const QString& folder, const QString& lotto) const;
    // Sorts the table by date (false on a date that does not parse) ...
    bool sort();
    // ... and writes it; the table then belongs to lotto.
    Save write_draws(const QString& folder, const QString& lotto);
    // Appends draws to the table and sorts it: they join at their dates, after the draws of the
    // same day already there. False when a date of the table does not parse (then unsorted).
    bool append_draws(const std::vector<DrawRec>& draws);
    // Empties the table to its header row; it then belongs to no lotto.
    void release_draws();
    // Puts the draws of a kept copy of this lotto's edits (at path) in place of the table's,
    // sorted when their dates read, as edits not yet saved; the draws file stays the one a Save
    // checks. False (with *error) when the copy does not read.
    bool restore_draws(const QString& path, QString* error = nullptr);

    // The row of the draws table that the entry boxes edit (0 for none); it follows its draw
    // when anything reorders the table.
    int current_row() const { return current_row_; }
    void set_current_row(int row) { current_row_ = row; }
    const DrawRec& current_draw() const { return current_draw_; }
    void set_current_draw(const DrawRec& draw);

  signals:
    // The lotto's name or parameters changed (chosen, opened or saved).
    void params_changed();

  private:
    Load read_aside(const QString& folder, const QString& lotto);

    QString name_;
    LottoParams params_;
    TextTable draws_;
    QString draws_lotto_;
    QString load_error_;
    QString unread_path_; // a draws file that could not be read: a Save would lose it
    FileStamp draws_stamp_;
    FileStamp params_stamp_;
    int current_row_ = 0;
    DrawRec current_draw_;
};
