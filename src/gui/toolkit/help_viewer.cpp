#include "gui/toolkit/help_viewer.h"

#include "core/base/file_names.h"
#include "core/session/session.h"
#include "gui/toolkit/app_context.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_names.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

frmHelp::frmHelp(QWidget* parent) : QWidget(parent) {
    setObjectName(window_name::help);
    setWindowTitle(QStringLiteral("Help"));
    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setOpenLinks(true);
    WebBrowser1->setOpenExternalLinks(false);
    cmdBack = new QPushButton(QStringLiteral("Back"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdForward = new QPushButton(QStringLiteral("Forward"), this);
    cmdForward->setObjectName(QStringLiteral("cmdForward"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WebBrowser1, 1);
    layout->addLayout(buttons);

    connect(cmdBack, &QPushButton::clicked, this, &frmHelp::cmdBack_Click);
    connect(cmdForward, &QPushButton::clicked, this, &frmHelp::cmdForward_Click);
    resize(780, 600);
}

void frmHelp::navigate(const QString& path) {
    WebBrowser1->setSource(QUrl::fromLocalFile(path));
}

// QTextBrowser does nothing at either end of its history, which is what the buttons should do.
void frmHelp::cmdBack_Click() {
    WebBrowser1->backward();
}

void frmHelp::cmdForward_Click() {
    WebBrowser1->forward();
}

void open_help(AppContext& ctx, const QString& caption, const QString& page) {
    ctx.windows.show_help(caption, join_path(ctx.session.resource_dir(), page));
}
