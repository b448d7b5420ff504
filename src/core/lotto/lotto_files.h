#pragma once

#include "core/lotto/lotto_records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class TextTable;

inline constexpr char param_file_name[] = "param.qtz";
inline constexpr char draws_file_name[] = "draws.txt";
inline constexpr int param_record_size = 52;

// Where params fall outside what the program handles: the numbers picked outside 1..6, the numbers
// in play below the numbers picked or above 90, a prize or the cost not finite.
enum class ParamFault { none, play_n, pick_n, money };
ParamFault param_fault(const LottoParams& params);

// The 52-byte parameter record; nullopt when the currency needs more than 2 bytes or the values
// have a fault.
std::optional<QByteArray> encode_params(const LottoParams& params);
// Reads bytes 0 to 49 + n of a record and ignores the rest; nullopt when the record is cut short
// or its values have a fault.
std::optional<LottoParams> decode_params(const QByteArray& bytes);
std::optional<LottoParams> read_param_file(const QString& path);
bool write_param_file(const QString& path, const LottoParams& params);

// Columns of the draws table: the date text, its hidden day serial, N1..N6 and the bonus.
namespace draws_col {
inline constexpr int date = 0;
inline constexpr int serial = 1;
inline constexpr int n1 = 2;
inline constexpr int bonus = 8;
inline constexpr int count = 9;
} // namespace draws_col

// Empties the table to its header row. A changed date empties its serial until the next sort.
void reset_draws_table(TextTable& grid);

// Appends one row per line of the file. Empty lines are skipped, a line with fewer than eight
// fields leaves the rest of its row empty, and a line with more keeps the eighth field and all
// after it in the bonus cell, which then does not read as a number: the line is malformed and a
// save writes it back whole. False (with *error) when the file cannot be read.
bool read_draws_file(const QString& path, TextTable& grid, QString* error = nullptr);
// The same for lines already read.
void append_draw_lines(const QStringList& lines, TextTable& grid);

// Writes every draw row's day serial into column 1 and sorts the rows ascending by it, moving
// follow_row (when given) to where its row ends up. When a date does not parse, nothing changes
// and false is returned.
bool sort_draws_table(TextTable& grid, int* follow_row = nullptr);

// The file lines of the table: eight fields each followed by a blank; all-empty rows left out.
QStringList draws_file_lines(const TextTable& grid);
// The same lines as the file's bytes (Windows-1252, CR LF after each).
QByteArray draws_file_bytes(const TextTable& grid);
bool write_draws_file(const QString& path, const TextTable& grid);

// The folder of every lotto in the data folder, and the folder of one lotto in it.
QString lotto_dir(const QString& data_dir);
QString lotto_folder(const QString& data_dir, const QString& name);

// The lottos under lto_dir: its sub-folder names, sorted by name regardless of case.
QStringList list_lottos(const QString& lto_dir);
