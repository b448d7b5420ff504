#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// A bar over an editor's table, shown while a kept copy of edits that were not saved waits for
// the user: Restore puts them back into the table, Discard deletes the copy. It asks nothing
// modally, so whoever works on simply goes on.
class KeptEditsBar : public QFrame {
    Q_OBJECT
  public:
    explicit KeptEditsBar(QWidget* parent = nullptr);

    // Shows the bar for the copy at path when there is one, hides it otherwise.
    void offer(const QString& path, const QString& what);
    const QString& path() const { return path_; }

  signals:
    void restore_clicked();
    void discard_clicked();

  private:
    QString path_;
    QLabel* lblUnsaved_ = nullptr;
};
