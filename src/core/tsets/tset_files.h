#pragma once

#include "core/tsets/tset_records.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

class TextTable;

// Targeted sets live in <app>/Tsets/<size>/<name>; the size is the folder's name, never stored in
// the file, and the name is the file name as typed, without an extension.
QString tsets_folder(const QString& app_dir);
QString size_folder(const QString& tsets_folder, int16_t size);
// A size box text as a set size: a whole number 10..20.
std::optional<int16_t> tset_size_from_text(const QString& text);
// The names of the sets in a size folder, sorted by name regardless of case.
QStringList list_tsets(const QString& size_folder);

enum class CreateResult { created, exists, failed };
// Makes an empty set file; an existing file is left as it is.
CreateResult create_tset_file(const QString& path);

// Lays grid out for a set of size numbers: the header row only, Date and N1..Nsize.
void Tsets_headers(TextTable& grid, int size);

// Reads the rows of a set file. Reading stops at the first line with fewer than size+1 tokens
// (noted in unread_line when more than blank lines follow); tabs count as blanks; tokens after the
// first size+1 are ignored. nullopt (with *error) when the file cannot be read.
std::optional<TsetRec> read_tset_file(const QString& path, const QString& name, int16_t size,
                                      QString* error = nullptr);
// The first row (its line, from 1) dated before the row above it (that row's line), when a hand
// edit has put the rows out of date order; rows whose date does not read are passed over.
std::optional<std::pair<int, int>> tset_dates_out_of_order(const TsetRec& set);
// Lays grid out for the set and fills it with the set's rows.
void show_tset(TextTable& grid, const TsetRec& set);

// The cell get_Tset could not read.
struct CellRef {
    int row = 0;
    int col = 0;
};
// Converts columns 1..size of row currow into TSet[1..size]. Stops at the first cell that is not
// a 16-bit number and reports it; the indexes before it keep their new values.
std::optional<CellRef> get_Tset(const TextTable& grid, int currow, int size, std::array<int16_t, 21>& TSet);
// "Incorrect data in the cell 3,5)"
QString incorrect_cell_text(CellRef cell);

// The file lines of the grid's data rows in grid order: columns 0..size, each followed by a
// blank; rows whose cells are all blank are left out. empty_cell, when given, stands in for an
// empty cell of a row that is kept (a kept copy of unsaved edits: a row half typed must not end
// the reading of the copy).
QStringList tset_file_lines(const TextTable& grid, int size, QStringView empty_cell = {});
// What a kept copy writes for an empty cell; no number or date reads as it.
inline constexpr char16_t kept_empty_cell[] = u"?";

enum class SaveResult { saved, bad_date, write_failed };
// Drops the blank rows from grid, sorts the rest by date and rewrites the file from them. A date
// that does not parse leaves both the grid and the file as they were.
SaveResult save_tset(const QString& path, int size, TextTable& grid);
