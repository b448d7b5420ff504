#pragma once

#include "core/base/text_files.h"
#include "gui/toolkit/app_context.h"

#include <QKeySequence>
#include <QList>
#include <QMainWindow>

// A window with the program's "&Help" menu: About, User Guide (the window's own page) and Exit.
class WorkingWindow : public QMainWindow {
    Q_OBJECT
  public:
    // name: the window's registry name (window_name::...), also its object name.
    WorkingWindow(AppContext& ctx, const char* name, const QString& caption, const QString& guide_page,
                  QWidget* parent = nullptr);

    void About_Click();
    void UserGuide_Click();
    void Exit_Click();

    bool has_help_shortcut(const QKeySequence& keys) const { return help_keys_.contains(keys); }

  protected:
    // A message box over this window.
    void message(const QString& text);
    void message(const char* text); // UTF-8, as the shared texts of core/messages.h
    // Before a save over path: true unless the file changed since stamp was taken and the user
    // does not want to save over it.
    bool may_save_over(const FileStamp& stamp, const QString& path);
    // Before an export to path: true, after saying why, when path is one of the data folder's own
    // files or not a regular file.
    bool refuse_export_target(const QString& path);

    AppContext& ctx_;

  private:
    QString guide_page_;
    QList<QKeySequence> help_keys_;
};
