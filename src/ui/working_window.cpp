#include "ui/working_window.h"

#include "ui/help_viewer.h"

#include <QMenuBar>

WorkingWindow::WorkingWindow(AppContext& ctx, const QString& guide_page, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), guide_page_(guide_page) {
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help"));
    const auto add = [&](const char* name, const QString& caption, const QKeySequence& keys,
                         void (WorkingWindow::*handler)()) {
        QAction* action = help->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
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

void WorkingWindow::Exit_Click() {
    if (ctx_.exit_app)
        ctx_.exit_app();
}
