#pragma once

#include "core/analyses/profitability.h"
#include "gui/toolkit/working_window.h"

#include <array>

class GridModel;
class GridView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Average Profitability: the net return per ticket of the selected system on the selected set,
// and the draws to play for the highest prize class, raised by the forecasting abilities.
class frmProfitability : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmProfitability(AppContext& ctx, QWidget* parent = nullptr);

    void cmdRefresh_Click();
    void cmbClevel_Click();

  private:
    void Form_Load();
    bool copy_factors();
    void calculate_avrprofitability();
    void show_expected_return(const ProfitInputs& in);
    void how_long_to_play(bool focus_on_error);
    FaTexts factor_texts() const;
    void fail(QLineEdit* box_in_work);

    QLabel* lblLotto_ = nullptr;
    QLabel* lblSystem_ = nullptr;
    // txtP2, txtP2b, txtP3, ... txtP6b
    std::array<QLineEdit*, 10> prize_{};
    GridModel* fa_ = nullptr;
    GridView* msfFA_ = nullptr;
    QLabel* lblProfitability_ = nullptr;
    QComboBox* cmbClevel_ = nullptr;
    QLabel* lblTimes_ = nullptr;
    QLabel* lblExpectedReturn_ = nullptr;
    QLabel* lblFaBasis_ = nullptr;
    QPushButton* cmdRefresh_ = nullptr;
};
