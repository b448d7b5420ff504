#pragma once

#include <functional>

class Session;
class Dialogs;
class Navigator;

// What every window is handed: the session with its documents, the dialogs, the navigator that
// shows other windows to the user, and the way to end the program.
struct AppContext {
    Session& session;
    Dialogs& dialogs;
    Navigator& windows;
    std::function<void()> exit_app;
};
