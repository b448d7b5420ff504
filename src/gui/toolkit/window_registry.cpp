#include "gui/toolkit/window_registry.h"

void WindowRegistry::add_factory(const QString& name, Factory factory) {
    factories_.insert(name, std::move(factory));
}

QWidget* WindowRegistry::find(const QString& name) const {
    const auto it = loaded_.constFind(name);
    QWidget* w = it == loaded_.cend() ? nullptr : it->data();
    // A closed window waits for its deferred delete without the attribute (Qt clears it on an
    // accepted close): it is gone already, and the next showing loads the window afresh.
    return w && w->testAttribute(Qt::WA_DeleteOnClose) ? w : nullptr;
}

QWidget* WindowRegistry::load(const QString& name) {
    if (QWidget* w = find(name))
        return w;
    const auto it = factories_.constFind(name);
    if (it == factories_.cend())
        return nullptr;
    QWidget* w = (*it)();
    if (!w)
        return nullptr;
    w->setAttribute(Qt::WA_DeleteOnClose);
    loaded_.insert(name, w);
    order_.removeAll(name);
    order_.append(name);
    return w;
}

QList<QWidget*> WindowRegistry::loaded() const {
    QList<QWidget*> windows;
    for (const QString& name : order_)
        if (QWidget* w = find(name))
            windows.append(w);
    return windows;
}

QWidget* WindowRegistry::show(const QString& name) {
    QWidget* w = load(name);
    if (!w)
        return nullptr;
    if (w->isMinimized())
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void WindowRegistry::destroy_all() {
    const auto windows = loaded_.values();
    loaded_.clear();
    order_.clear();
    for (const QPointer<QWidget>& w : windows)
        delete w.data();
}
