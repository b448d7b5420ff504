#include "core/session/samples.h"

#include "core/base/file_names.h"
#include "core/lotto/lotto_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool file_exists(const QString& path) {
    return QFileInfo(path).isFile();
}
bool name_exists(const QString& path) {
    return QFileInfo::exists(path);
}

void make_folder(const QString& path) {
    if (!name_exists(path))
        QDir().mkdir(path);
}

void copy_if_missing(const QString& source, const QString& target) {
    if (!file_exists(target))
        QFile::copy(source, target);
}

} // namespace

void create_samples(const QString& app_dir, const QString& source_dir) {
    const QString& sources = source_dir.isEmpty() ? app_dir : source_dir;
    const QString d1 = join_path(sources, QStringLiteral("d1"));
    const QString d1a = join_path(sources, QStringLiteral("d1a"));
    const QString d2 = join_path(sources, QStringLiteral("d2"));
    const QString lto = lotto_dir(app_dir);
    const QString lotto = join_path(lto, QStringLiteral("Canada_6_49"));
    const QString tsets = join_path(app_dir, QStringLiteral("Tsets"));
    const QString size10 = join_path(tsets, QStringLiteral("10"));

    if (!file_exists(d1))
        return;
    make_folder(lto);
    make_folder(lotto);
    copy_if_missing(d1, join_path(lotto, QStringLiteral("draws.txt")));
    if (!file_exists(d1a))
        return;
    copy_if_missing(d1a, join_path(lotto, QStringLiteral("param.qtz")));
    if (!file_exists(d2))
        return;
    make_folder(tsets);
    make_folder(size10);
    copy_if_missing(d2, join_path(size10, QStringLiteral("Forecaster1")));
}
