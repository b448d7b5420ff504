#include "gui/toolkit/working_window.h"

#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/session/session.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/help_viewer.h"
#include "gui/toolkit/navigator.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>

namespace {

// Text boxes claim Ctrl+A (select all), and on some platforms Ctrl+U and Ctrl+E, before any
// shortcut sees them. In a working window the Help menu's keys win wherever the focus is.
class HelpKeysFirst final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* widget = qobject_cast<QWidget*>(watched);
        const auto* window = widget ? qobject_cast<WorkingWindow*>(widget->window()) : nullptr;
        const QKeySequence keys(static_cast<QKeyEvent*>(event)->keyCombination());
        if (!window || !window->has_help_shortcut(keys))
            return false;
        event->ignore(); // not wanted by the box: the shortcut fires
        return true;
    }
};

} // namespace

WorkingWindow::WorkingWindow(AppContext& ctx, const char* name, const QString& caption,
                             const QString& guide_page, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), guide_page_(guide_page) {
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    static QPointer<HelpKeysFirst> help_keys;
    if (!help_keys) {
        help_keys = new HelpKeysFirst(qApp);
        qApp->installEventFilter(help_keys);
    }
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help"));
    const auto add = [&](const char* name, const QString& caption, const QKeySequence& keys,
                         void (WorkingWindow::*handler)()) {
        QAction* action = help->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        help_keys_ << keys;
        connect(action, &QAction::triggered, this, handler);
    };
    add("About", tr("&About"), QKeySequence(Qt::CTRL | Qt::Key_A), &WorkingWindow::About_Click);
    add("UserGuide", tr("&User Guide"), QKeySequence(Qt::CTRL | Qt::Key_U), &WorkingWindow::UserGuide_Click);
    add("Exit", tr("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_E), &WorkingWindow::Exit_Click);
}

void WorkingWindow::About_Click() {
    open_help(ctx_, QStringLiteral("About"), QStringLiteral("about.htm"));
}

void WorkingWindow::UserGuide_Click() {
    open_help(ctx_, QStringLiteral("User Guide"), guide_page_);
}

// Ends the program at once: no window's handler runs, and what was not saved is kept aside by
// the program's end, not asked about.
void WorkingWindow::Exit_Click() {
    if (ctx_.exit_app)
        ctx_.exit_app();
}

void WorkingWindow::message(const QString& text) {
    ctx_.dialogs.message(this, text);
}

void WorkingWindow::message(const char* text) {
    message(QString::fromUtf8(text));
}

bool WorkingWindow::may_save_over(const FileStamp& stamp, const QString& path) {
    return !stamp.changed(path) ||
           ctx_.dialogs.ask(this, QString::fromUtf8(msg_file_changed).arg(QDir::toNativeSeparators(path)));
}

bool WorkingWindow::refuse_export_target(const QString& path) {
    const QString refusal = export_target_refusal(path, ctx_.session.app_dir, false);
    if (refusal.isEmpty())
        return false;
    message(QStringLiteral("Cannot export: %1.").arg(refusal));
    return true;
}
