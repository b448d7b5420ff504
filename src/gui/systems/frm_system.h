#pragma once

#include "gui/toolkit/ticket_printout.h"
#include "gui/toolkit/working_window.h"

#include <QStringList>
#include <vector>

class GridModel;
class GridView;
class QComboBox;
class QLabel;
class QPushButton;

// The Systems window: picks a wheel of the catalogue, shows its guaranteed results, expands it on
// the selected targeted set into tickets with their cost, writes them to the current-system file
// and prints them.
class frmSystem : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmSystem(AppContext& ctx, QWidget* parent = nullptr);

    void cmbList_Click();
    void cmdPrint_Click();
    void cmdDesigner_Click();
    void cmdDesignedWheel_Click();
    // What Print System prints: the tickets last expanded, with their guaranteed results.
    Printout printout() const;

  private:
    void Form_Load();
    void fill_list();
    void refresh_list();
    bool fill_results();
    void fill_system();
    void show_results_grid();
    void show_designed_saving();

    // What the ticket grid shows, kept for printing: the expanded system and what it was
    // expanded on, with its guaranteed results.
    struct Expanded {
        QString system;
        QString lotto;
        QString tset;
        QString date; // of the set's row whose numbers were expanded; empty when unknown
        QString numbers;
        QString cost;
        std::vector<QStringList> results;
    };
    Expanded expanded_;

    QLabel* lblLotto_ = nullptr;
    QLabel* lblTset_ = nullptr;
    QComboBox* cmbList_ = nullptr;
    QLabel* lblNote_ = nullptr;
    QLabel* lblCost_ = nullptr;
    GridModel* system_ = nullptr;
    GridView* msfSystem_ = nullptr;
    GridModel* results_ = nullptr;
    GridView* msfResults_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdDesigner_ = nullptr;
    QLabel* lblDesignedSaves_ = nullptr;
    QPushButton* cmdDesignedWheel_ = nullptr;
};
