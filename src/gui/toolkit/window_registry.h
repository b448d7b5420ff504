#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

// Keeps every window of the program at most once. Showing a loaded window only brings it
// forward; a window closed by its frame is destroyed and forgotten, so the next showing creates
// (and loads) it afresh.
class WindowRegistry {
  public:
    using Factory = std::function<QWidget*()>;

    void add_factory(const QString& name, Factory factory);
    bool knows(const QString& name) const { return factories_.contains(name); }

    // Creates the window when it is not loaded, then shows it modeless and brings it forward.
    QWidget* show(const QString& name);
    // The loaded window of that name, or nullptr.
    QWidget* find(const QString& name) const;
    // Creates the window without showing it, when it is not loaded.
    QWidget* load(const QString& name);
    // The loaded windows, in the order they were first loaded.
    QList<QWidget*> loaded() const;

    // Destroys every loaded window at once, running none of their close handlers.
    void destroy_all();

  private:
    QHash<QString, Factory> factories_;
    QHash<QString, QPointer<QWidget>> loaded_;
    QStringList order_;
};
