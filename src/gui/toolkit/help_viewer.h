#pragma once

#include <QWidget>

struct AppContext;
class QPushButton;
class QTextBrowser;

// The one help window: the pages beside the program in a browser with Back and Forward.
class frmHelp : public QWidget {
    Q_OBJECT
  public:
    explicit frmHelp(QWidget* parent = nullptr);
    void navigate(const QString& path);

    void cmdBack_Click();
    void cmdForward_Click();

  private:
    QTextBrowser* WebBrowser1;
    QPushButton* cmdBack;
    QPushButton* cmdForward;
};

// Shows the help window (creating it on first use) with the caption, on the page of the
// resource folder. Never reports a failure; a missing page shows empty.
void open_help(AppContext& ctx, const QString& caption, const QString& page);
