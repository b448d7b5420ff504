#include "core/base/file_names.h"

#include <QDir>
#include <QFileInfo>

bool is_safe_file_name(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar ch : name)
        if (ch == u'/' || ch == u'\\' || ch.category() == QChar::Other_Control)
            return false;
    return true;
}

QString join_path(const QString& dir, const QString& name) {
    if (dir.endsWith(u'/'))
        return dir + name;
    return dir + u'/' + name;
}

bool is_safe_folder_name(const QString& name) {
    return is_safe_file_name(name) && !name.startsWith(u'.');
}

QString resolved_path(const QString& path) {
    QString p = QFileInfo(path).absoluteFilePath();
    // A chain of links, a dangling one included, leads where its last link points.
    for (int hops = 0; hops < 40 && QFileInfo(p).isSymLink(); ++hops)
        p = QFileInfo(p).symLinkTarget();
    const QString canonical = QFileInfo(p).canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QFileInfo info(QDir::cleanPath(p));
    const QString parent = info.path();
    if (parent == info.filePath()) // the root
        return parent;
    return join_path(resolved_path(parent), info.fileName());
}

QString export_target_refusal(const QString& path, const QString& data_dir, bool special_files) {
    const QString shown = QDir::toNativeSeparators(path);
    if (path.isEmpty())
        return QStringLiteral("no file is named to export to");
    const QString target = resolved_path(path);
    const QString root = resolved_path(data_dir);
    const auto within = [&](const QString& name) {
        const QString own = join_path(root, name);
        return target == own || target.startsWith(own + u'/');
    };
    if (!data_dir.isEmpty() && (within(QStringLiteral("Lto")) || within(QStringLiteral("Tsets")) ||
                                target == join_path(root, QStringLiteral("system")) ||
                                target == join_path(root, QStringLiteral(".zandrel.lock"))))
        return QStringLiteral("%1 is in the data folder %2, among the files that keep the lottos, the "
                              "targeted sets and the system; export to a file outside its Lto and Tsets "
                              "folders")
            .arg(shown, QDir::toNativeSeparators(root));
    const QFileInfo info(target);
    if (info.isDir())
        return QStringLiteral("%1 is a folder; name a file to export to").arg(shown);
    if (!special_files && info.exists() && !info.isFile())
        return QStringLiteral("%1 is not a regular file (a device or a pipe); choose a file").arg(shown);
    return {};
}
