#pragma once

#include "core/analyses/backtest.h"
#include "gui/toolkit/working_window.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>

class GridModel;
class GridView;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPrinter;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QThread;
class QTimer;

// Backtest: a system of the catalogue played over the lotto's history with numbers chosen one way
// (the set's forecasts, fixed numbers, or a rule over earlier draws), beside what chance gives.
class frmBacktest : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmBacktest(AppContext& ctx, QWidget* parent = nullptr);
    ~frmBacktest() override;

    void cmdRun_Click();
    void cmdCancel_Click();
    void cmdFromRow_Click();
    void cmdExport_Click();
    void cmdPrint_Click();
    bool running() const { return worker_ != nullptr; }

  private:
    // What a run in the background shares with the window.
    struct Run {
        std::atomic<bool> cancel{false};
        std::atomic<qsizetype> done{0};
        std::atomic<qsizetype> total{1};
        BacktestResult result;
    };

    void Form_Load();
    void show_in_force();
    std::optional<BacktestSource> source_from_controls();
    std::optional<BacktestPeriod> period_from_controls();
    void set_running(bool on);
    void run_finished();
    void show_result();
    void show_chart();
    void fit_hits();
    void print_report(QPrinter& printer);
    void show_mode();

    QLabel* lblLotto_ = nullptr;
    QLabel* lblTSet_ = nullptr;
    QComboBox* cmbSystem_ = nullptr;
    QRadioButton* optForecasts_ = nullptr;
    QRadioButton* optFixed_ = nullptr;
    QRadioButton* optRule_ = nullptr;
    QLineEdit* txtNumbers_ = nullptr;
    QPushButton* cmdFromRow_ = nullptr;
    QComboBox* cmbRule_ = nullptr;
    QLineEdit* txtWindow_ = nullptr;
    QLineEdit* txtSeed_ = nullptr;
    QLineEdit* txtFrom_ = nullptr;
    QLineEdit* txtTo_ = nullptr;
    QPushButton* cmdRun_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QProgressBar* prgRun_ = nullptr;
    QPushButton* cmdExport_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    // lblDrawsPlayed, lblTickets, lblCost, lblWinnings, lblNet, lblExpectedWinnings,
    // lblExpectedNet, lblExpectedReturn, lblTicketReturn
    std::array<QLabel*, 9> totals_{};
    GridModel* hits_ = nullptr;
    GridView* msfHits_ = nullptr;
    GridModel* draws_ = nullptr;
    GridView* msfDraws_ = nullptr;
    QChartView* chtCumulative_ = nullptr;
    QLineSeries* net_line_ = nullptr;
    QLineSeries* expected_line_ = nullptr;

    LottoParams params_; // of the last run
    std::shared_ptr<Run> run_;
    BacktestResult result_;
    QThread* worker_ = nullptr;
    QTimer* progress_timer_ = nullptr;
};
