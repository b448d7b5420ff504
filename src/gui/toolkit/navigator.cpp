#include "gui/toolkit/navigator.h"

#include "gui/toolkit/help_viewer.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_registry.h"

void Navigator::show(const QString& name) {
    windows_.show(name);
}

void Navigator::hide(const QString& name) {
    if (QWidget* w = windows_.find(name))
        w->hide();
}

bool Navigator::is_loaded(const QString& name) const {
    return windows_.find(name) != nullptr;
}

bool Navigator::knows(const QString& name) const {
    return windows_.knows(name);
}

void Navigator::show_help(const QString& caption, const QString& path) {
    auto* help = qobject_cast<frmHelp*>(windows_.show(window_name::help));
    if (!help)
        return;
    help->setWindowTitle(caption);
    help->navigate(path);
}
