#pragma once

#include "core/tsets/tset_frequency.h"

#include <QWidget>
#include <vector>

struct AppContext;
class GridModel;
class GridView;
class QBarSet;
class QChart;
class QChartView;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TsetDocument;

// The Generator of Targeted Sets: fills the current row of the Targeted Sets window with numbers
// chosen by draw frequency or at random. A plain window without the Help menu.
class frmTsetGenerator : public QWidget {
    Q_OBJECT
  public:
    explicit frmTsetGenerator(AppContext& ctx, QWidget* parent = nullptr);

    void cmdGo_Click();

  private:
    void Form_Load();
    void build();

    // Counts into the frequency table and the chart; false (after its message) when it fails.
    bool calc_fr(double from, double to, int step, FrequencyCount& count);
    bool read_boxes(double& from, double& to, int& step);
    bool write_row(TsetDocument& tsets, const std::vector<int16_t>& numbers, int size);
    void show_chart(const FrequencyCount& count);
    void highlight(const std::vector<int16_t>& numbers);
    void refuse(QWidget* box);

    AppContext& ctx_;
    QLineEdit* txtFrom_ = nullptr;
    QLineEdit* txtTo_ = nullptr;
    QLineEdit* txtStep_ = nullptr;
    QRadioButton* optLowestFr0_ = nullptr;
    QRadioButton* optLowestFr_ = nullptr;
    QRadioButton* optHighFr_ = nullptr;
    QRadioButton* optRandom_ = nullptr;
    GridModel* frequencies_ = nullptr;
    GridView* msfFrequencies_ = nullptr;
    QChartView* chtFrequencies_ = nullptr;
    QBarSet* bars_ = nullptr;
    QPushButton* cmdGo_ = nullptr;
};
