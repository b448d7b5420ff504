#pragma once

#include "core/session/session.h"
#include "gui/main/windows.h"
#include "gui/toolkit/app_context.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_registry.h"
#include "support/test_dialogs.h"

#include <QDir>
#include <QTemporaryDir>

// A whole application for GUI tests: its own folder, session, recording dialogs and registry.
struct TestApp {
    QTemporaryDir dir;
    Session session;
    TestDialogs dialogs;
    WindowRegistry windows;
    Navigator navigator{windows};
    int exits = 0;
    AppContext ctx{session, dialogs, navigator, [this] { ++exits; }};

    TestApp() {
        session.app_dir = dir.path();
        session.share_dir = dir.path();
        session.today = [] { return QDate(2026, 12, 7); };
        register_windows(windows, ctx);
    }
    ~TestApp() { windows.destroy_all(); }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    template <class T> T* show(const QString& name) { return qobject_cast<T*>(windows.show(name)); }
};
