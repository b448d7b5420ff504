#include "gui/toolkit/kept_edits_bar.h"

#include "gui/toolkit/controls.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

KeptEditsBar::KeptEditsBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraUnsaved"));
    setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    lblUnsaved_ = new QLabel(this);
    lblUnsaved_->setObjectName(QStringLiteral("lblUnsaved"));
    lblUnsaved_->setWordWrap(true);
    QPushButton* restore = make_button("cmdRestoreUnsaved", QStringLiteral("Restore"), this);
    QPushButton* discard = make_button("cmdDiscardUnsaved", QStringLiteral("Discard"), this);
    row->addWidget(lblUnsaved_, 1);
    row->addWidget(restore);
    row->addWidget(discard);
    connect(restore, &QPushButton::clicked, this, &KeptEditsBar::restore_clicked);
    connect(discard, &QPushButton::clicked, this, &KeptEditsBar::discard_clicked);
    hide();
}

void KeptEditsBar::offer(const QString& path, const QString& what) {
    const QFileInfo copy(path);
    if (path.isEmpty() || !copy.isFile()) {
        path_.clear();
        hide();
        return;
    }
    path_ = path;
    lblUnsaved_->setText(QStringLiteral("Changes to %1 that were not saved were kept on %2.")
                             .arg(what, QLocale().toString(copy.lastModified(), QLocale::ShortFormat)));
    show();
}
