#pragma once

#include <functional>

class Session;
class Dialogs;
class WindowRegistry;

// What every window is handed: the session with its documents, the dialogs, the other windows, and the way
// to end the program.
struct AppContext {
    Session& session;
    Dialogs& dialogs;
    WindowRegistry& windows;
    std::function<void()> exit_app;
};
