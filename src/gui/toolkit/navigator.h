#pragma once

#include <QString>

class WindowRegistry;

// Shows and hides windows for the user's sake ("show the Lotto window"), the only way a window
// reaches another: it hands out no window, so what windows share stays in the documents.
class Navigator {
  public:
    explicit Navigator(WindowRegistry& windows) : windows_(windows) {}

    // Creates the window when it is not loaded, then shows it and brings it forward.
    void show(const QString& name);
    // Hides the window when it is loaded; it stays loaded.
    void hide(const QString& name);
    bool is_loaded(const QString& name) const;
    bool knows(const QString& name) const;
    // Shows the help window with caption on the page at path.
    void show_help(const QString& caption, const QString& path);

  private:
    WindowRegistry& windows_;
};
