#pragma once

#include "app/windows.h"
#include "support/test_dialogs.h"
#include "ui/app_context.h"
#include "ui/app_state.h"
#include "ui/window_registry.h"

#include <QDir>
#include <QTemporaryDir>

// A whole application for GUI tests: its own folder, state, recording dialogs and registry.
struct TestApp {
    QTemporaryDir dir;
    AppState state;
    TestDialogs dialogs;
    WindowRegistry windows;
    int exits = 0;
    AppContext ctx{state, dialogs, windows, [this] { ++exits; }};

    TestApp() {
        state.app_dir = dir.path();
        state.share_dir = dir.path();
        state.today = [] { return QDate(2026, 12, 7); };
        register_windows(ctx);
    }
    ~TestApp() { windows.destroy_all(); }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    template <class T> T* show(const QString& name) { return qobject_cast<T*>(windows.show(name)); }
};
