#pragma once

#include <functional>

struct AppState;
class Dialogs;
class WindowRegistry;

// What every window is handed: the shared selections, the dialogs, the other windows, and the way
// to end the program.
struct AppContext {
    AppState& state;
    Dialogs& dialogs;
    WindowRegistry& windows;
    std::function<void()> exit_app;
};
