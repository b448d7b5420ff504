#pragma once

#include "gui/toolkit/working_window.h"

class GridModel;
class GridView;
class QLabel;
class QLineEdit;
class QPushButton;

// Forecasting Abilities: how well the selected targeted set forecast the draws of a period, class
// by class, against a random set of its size.
class frmFability : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmFability(AppContext& ctx, QWidget* parent = nullptr);
    // A closed window leaves no factors for the others.
    ~frmFability() override;

    void cmdRefresh_Click();

  private:
    void Form_Load();
    void calculate_fa();
    void show_evaluated(int draws, double from, double to);
    bool check_date(QLineEdit* box, double& date);

    QLineEdit* txtFrom_ = nullptr;
    QLineEdit* txtTo_ = nullptr;
    QLabel* lblLotto_ = nullptr;
    QLabel* lblTSetName_ = nullptr;
    QLabel* lblTSetSize_ = nullptr;
    QLabel* lblDrawsEvaluated_ = nullptr;
    GridModel* fa_ = nullptr;
    GridView* msfFA_ = nullptr;
    QPushButton* cmdRefresh_ = nullptr;
};
