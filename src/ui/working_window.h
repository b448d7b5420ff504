#pragma once

#include "ui/app_context.h"

#include <QKeySequence>
#include <QList>
#include <QMainWindow>

// A window with the program's "&Help" menu: About, User Guide (the window's own page) and Exit.
class WorkingWindow : public QMainWindow {
    Q_OBJECT
  public:
    WorkingWindow(AppContext& ctx, const QString& guide_page, QWidget* parent = nullptr);

    void About_Click();
    void UserGuide_Click();
    void Exit_Click();

    bool has_help_shortcut(const QKeySequence& keys) const { return help_keys_.contains(keys); }

  protected:
    AppContext& ctx_;

  private:
    QString guide_page_;
    QList<QKeySequence> help_keys_;
};
