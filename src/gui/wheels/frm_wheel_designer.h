#pragma once

#include "core/systems/played_system.h"
#include "core/wheels/wheel_designer.h"
#include "gui/toolkit/ticket_printout.h"
#include "gui/toolkit/working_window.h"

#include <QPointF>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class GridModel;
class GridView;
class QChartView;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QThread;
class QTimer;

// The Wheel Designer: searches for the smallest wheel of a pool, ticket size and guarantee (or
// the best of a fixed number of tickets) on a thread of its own, shows its progress against the
// bounds, and shows, keeps as a designed system and prints the checked wheel it ends with.
class frmWheelDesigner : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmWheelDesigner(AppContext& ctx, QWidget* parent = nullptr);
    ~frmWheelDesigner() override;

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdSave_Click();
    void cmdPrint_Click();

    bool running() const { return worker_ != nullptr; }
    // What Print Wheel prints: the wheel shown, with its guaranteed results.
    Printout printout() const;

  private:
    // What the worker and the window share while a search runs.
    struct Run {
        std::atomic<bool> cancel{false};
        std::mutex lock;
        DesignProgress progress; // under lock
        bool progressed = false; // under lock: progress has been set at least once
        DesignResult result;     // the worker's, read once the search has ended
        bool shown = false;      // the window shows result
        GuarTables tables;       // the result's guaranteed results, read once the worker has finished
    };

    void Form_Load();
    void show_progress();
    void search_finished(Run& run);
    void run_finished();
    void show_result(const Run& run);
    void set_running(bool on);
    void draw_chart();
    QString shape_text() const;

    QLineEdit* txtNumbers_ = nullptr;
    QLineEdit* txtPick_ = nullptr;
    QLineEdit* txtGuarantee_ = nullptr;
    QLineEdit* txtIf_ = nullptr;
    QLineEdit* txtSeconds_ = nullptr;
    QLineEdit* txtSeed_ = nullptr;
    QLineEdit* txtTickets_ = nullptr;
    QPushButton* cmdStart_ = nullptr;
    QPushButton* cmdStop_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QLabel* lblBest_ = nullptr;
    QLabel* lblUncovered_ = nullptr;
    QLabel* lblElapsed_ = nullptr;
    QLabel* lblBounds_ = nullptr;
    QLabel* lblResult_ = nullptr;
    QChartView* chtProgress_ = nullptr;
    QLineSeries* best_line_ = nullptr;
    QLineSeries* bound_line_ = nullptr;
    QLineSeries* known_line_ = nullptr;
    GridModel* tickets_ = nullptr;
    GridView* msfTickets_ = nullptr;
    GridModel* results_ = nullptr;
    GridView* msfResults_ = nullptr;

    QThread* worker_ = nullptr;
    std::shared_ptr<Run> run_;
    QTimer* progress_timer_ = nullptr;
    DesignOptions options_;     // of the search running or last run
    std::vector<QPointF> best_; // seconds, best size: the chart's line
    uint64_t lower_bound_ = 0;
    int best_known_ = 0; // 0: none known

    // The wheel shown: its tickets (positions 1..v), what they were shown on, its results.
    WheelParams shown_;
    std::vector<Ticket> wheel_;
    CoverCount count_;
    QString numbers_;
    std::vector<QStringList> results_rows_;
};
