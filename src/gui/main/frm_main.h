#pragma once

#include "gui/toolkit/working_window.h"

class QPushButton;

// The hub: installs the samples when it loads, and opens the seven working windows.
class frmMain : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmMain(AppContext& ctx, QWidget* parent = nullptr);

    void cmdLotto_Click();
    void cmdTsets_Click();
    void cmdSystems_Click();
    void cmdPerformance_Click();
    void cmdFability_Click();
    void cmdProfitability_Click();
    void cmdBacktest_Click();

  private:
    void Form_Load();
    QPushButton* add_button(const char* name, const QString& caption, const char* window,
                            void (frmMain::*handler)());
};
