#include "core/file_names.h"

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
