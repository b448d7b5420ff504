#pragma once

#include <QString>

class LottoDocument;
class Session;
class TsetDocument;

// Edits that were not saved are kept when they would otherwise go (the program ends, their window
// is closed by its frame): beside the data, never in it, as Unsaved/Lto/<lotto>/draws.txt and
// Unsaved/Tsets/<size>/<name> in the formats of the files they stand for. The next load of that
// lotto or set offers them back.
QString kept_draws_path(const QString& app_dir, const QString& lotto);
QString kept_set_path(const QString& app_dir, int size, const QString& name);

enum class Kept { nothing, kept, failed };
// Writes the table's draws when they differ from the draws file of the lotto they belong to.
Kept keep_unsaved_draws(const LottoDocument& lotto, const QString& app_dir);
// Writes the set's rows when they differ from the set file they belong to.
Kept keep_unsaved_set(const TsetDocument& set, const QString& app_dir);
// Both, as the program ends; a copy that cannot be written stops nothing.
void keep_unsaved_edits(const Session& session);
