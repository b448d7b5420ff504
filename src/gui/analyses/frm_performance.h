#pragma once

#include "core/analyses/performance.h"
#include "gui/toolkit/working_window.h"

#include <array>

class GridModel;
class GridView;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

// System Performance: what the selected system, played on the selected targeted set, would have
// won in the draw shown in the window.
class frmPerformance : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmPerformance(AppContext& ctx, QWidget* parent = nullptr);

    void cmdRefresh_Click();
    void cmdPrint_Click();

  private:
    void Form_Load();
    void build_boxes(QWidget* top);
    void set_tab_order();

    void show_prizes();
    void show_draw();
    void Performance();
    QStringList fill_row(const int16_t& numT, const QString& sTicket, const QString& sPrize) const;
    float add_total(); // the total, NaN when the values cannot be summed
    QString scored_draw_date() const;
    void empty_table();
    void print_results(QPrinter& printer);
    DrawTexts7 draw_texts() const;
    PrizeTexts prize_texts() const;

    // txtN1..txtN6 and the bonus box txtN7
    std::array<QLineEdit*, 7> txtN_{};
    // txtP2, txtP2b, txtP3, ... txtP6b
    std::array<QLineEdit*, prize_class_count> prize_{};
    QLabel* lblTset_ = nullptr;
    QLabel* lblSystem_ = nullptr;
    QLabel* lblDrawDate_ = nullptr;
    QLabel* lblNet_ = nullptr;
    GridModel* grid_ = nullptr;
    GridView* msfPerformance_ = nullptr;
    QPushButton* cmdRefresh_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
};
