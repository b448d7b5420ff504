#pragma once

#include <QObject>
#include <QString>
#include <functional>

class Session;
class Dialogs;
class Navigator;

// What the Targeted Sets editor shows in its size and date boxes now, typed over or not: the
// generator fills a row only for the size chosen and dates it with the date shown. The editor
// publishes it; the generator reads it and tells the editor when it filled the set's rows.
class TsetEditorState : public QObject {
    Q_OBJECT
  public:
    QString shown_size;
    QString shown_date;
    // Something other than the editor is filling the set's rows: the editor lets them be saved.
    void offer_save() { emit save_offered(); }

  signals:
    void save_offered();
};

// What every window is handed: the session with its documents, the dialogs, the navigator that
// shows other windows to the user, the way to end the program, and what one window shows that
// another window works from.
struct AppContext {
    Session& session;
    Dialogs& dialogs;
    Navigator& windows;
    std::function<void()> exit_app;
    TsetEditorState tset_editor{};
};
