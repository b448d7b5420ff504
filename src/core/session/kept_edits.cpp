#include "core/session/kept_edits.h"

#include "core/base/file_names.h"
#include "core/base/text_files.h"
#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_files.h"
#include "core/session/session.h"
#include "core/tsets/tset_document.h"
#include "core/tsets/tset_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString unsaved_dir(const QString& app_dir) {
    return join_path(app_dir, QStringLiteral("Unsaved"));
}

// Nothing to keep when the file already holds these bytes (an empty row added, say).
Kept keep(const QString& copy, const QString& original, const QByteArray& bytes) {
    if (QFileInfo(original).isFile()) {
        if (const auto now = read_whole_file(original); now && *now == bytes)
            return Kept::nothing;
    }
    if (!QDir().mkpath(QFileInfo(copy).absolutePath()) || !write_file_atomically(copy, bytes))
        return Kept::failed;
    return Kept::kept;
}

QByteArray file_bytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        append_cp1252(bytes, line);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

QString kept_draws_path(const QString& app_dir, const QString& lotto) {
    return join_path(join_path(join_path(unsaved_dir(app_dir), QStringLiteral("Lto")), lotto),
                     QLatin1String(draws_file_name));
}

QString kept_set_path(const QString& app_dir, int size, const QString& name) {
    return join_path(
        join_path(join_path(unsaved_dir(app_dir), QStringLiteral("Tsets")), QString::number(size)), name);
}

Kept keep_unsaved_draws(const LottoDocument& lotto, const QString& app_dir) {
    const QString& name = lotto.draws_lotto();
    if (!lotto.modified() || name.isEmpty() || !is_safe_folder_name(name))
        return Kept::nothing;
    const QString original = join_path(lotto_folder(app_dir, name), QLatin1String(draws_file_name));
    return keep(kept_draws_path(app_dir, name), original, draws_file_bytes(lotto.draws()));
}

Kept keep_unsaved_set(const TsetDocument& set, const QString& app_dir) {
    const QString& name = set.file_name();
    if (!set.modified() || name.isEmpty() || !is_safe_file_name(name) || set.rows().cols() < 2)
        return Kept::nothing;
    const QString original = join_path(size_folder(tsets_folder(app_dir), set.file_size()), name);
    const QStringList lines =
        tset_file_lines(set.rows(), set.rows().cols() - 1, QStringView(kept_empty_cell));
    return keep(kept_set_path(app_dir, set.file_size(), name), original, file_bytes(lines));
}

void keep_unsaved_edits(const Session& session) {
    keep_unsaved_draws(session.lotto, session.app_dir);
    keep_unsaved_set(session.tset, session.app_dir);
}
