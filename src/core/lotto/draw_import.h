#pragma once

#include "core/lotto/column_map.h"
#include "core/lotto/draw_dates.h"
#include "core/lotto/draw_export.h"
#include "core/lotto/lotto_records.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Imports a published draw history (CSV and the like) into a lotto's stored draws, never losing
// or overwriting a stored draw. The parts: history_reading.h reads the rows, column_map.h says
// which columns hold what, this file merges and reports; draw_export.h writes the draws out.

struct ImportOptions {
    QChar separator;  // null: detected; blank_runs (' '): runs of blanks
    QString encoding; // empty: detected
    DateOrder date_order = DateOrder::automatic;
    std::optional<ColumnMap> columns; // nullopt: found from the header line
    std::vector<ColumnFilter> filters;
    QDate from; // inclusive; invalid: no limit
    QDate to;
    int preview_rows = 0; // how many rows to show as they will be imported
};

// A row of the file as it will be imported: its date, numbers and bonus, or, when it is rejected,
// the row's text; the note says what becomes of it.
struct PreviewRow {
    qsizetype line = 0;
    QStringList cells;
    QString note;
    bool rejected = false; // rejected or conflicting: not imported
};

// The exit status of a command that imports: everything taken (or already there), some rows
// rejected or conflicting, nothing done.
enum class ImportStatus { done = 0, partly_done = 1, nothing_done = 2 };

struct ImportResult {
    ImportStatus status = ImportStatus::nothing_done;
    QString message;  // why nothing was done; empty otherwise
    QString encoding; // the encoding the file was read in
    QChar separator;
    std::vector<DrawRec> merged; // the history and the new draws, sorted by date (stable)
    std::vector<DrawRec> added;  // the new draws in the order of the file
    int64_t rows_read = 0;
    int64_t new_rows = 0;
    int64_t already_present = 0;
    int64_t conflicting = 0;
    int64_t rejected = 0;
    int64_t missing_dates = 0;
    QStringList lines;               // rejected rows, conflicts and the check's findings
    std::vector<PreviewRow> preview; // the first rows read, up to ImportOptions::preview_rows
    // Every rejected and conflicting row, with its reason.
    std::vector<PreviewRow> troubles;
    // The file's first records as read, cell by cell, once the separator is known.
    std::vector<QStringList> first_records;
    // When the columns cannot be found: a map read from what the file's first rows hold, or empty.
    QString suggested_columns;
    // When rows of the file share a date or draw number: a filter "COLUMN=VALUE" keeping one row
    // of each, or empty.
    QString suggested_filter;

    // "Read R rows: N new, P already present, C conflicting, X rejected; M draw dates missing."
    QString summary() const;
    // The lines, the message when nothing was done, and the summary last.
    QStringList report() const;
};

// Reads the file's bytes as a draw history of the lotto and merges it into history.
ImportResult import_draws(const QByteArray& bytes, const LottoParams& lotto,
                          const std::vector<DrawRec>& history, const ImportOptions& options = {});
// The same for a file; a file that cannot be read is refused.
ImportResult import_draws_file(const QString& path, const LottoParams& lotto,
                               const std::vector<DrawRec>& history, const ImportOptions& options = {});
