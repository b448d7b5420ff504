#pragma once

#include "core/base/text_files.h"
#include "gui/toolkit/working_window.h"

class GridModel;
class TsetDocument;
class GridView;
class KeptEditsBar;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The Targeted Sets window: chooses a size, opens or creates a set, edits its dated rows and
// selects the set and row that the other windows use.
class frmTsets : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmTsets(AppContext& ctx, QWidget* parent = nullptr);
    // A closed window leaves no rows for the others.
    ~frmTsets() override;

    void cmbSize_Click();
    void cmdNew_Click();
    void cmbSets_Click();
    void msfTsets_Click();
    void cmdAdd_Click();
    void cmdAcceptDate_Click();
    void cmdAcceptNumber_Click();
    void cmdSave_Click();
    void cmdTsetGenerator_Click();

    void cmdRestoreUnsaved_Click();
    void cmdDiscardUnsaved_Click();

  protected:
    // The frame discards the rows: edits not saved are kept aside first.
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void build(QWidget* panel);
    void set_tab_order();

    void fill_sets();
    void lay_out(int rows);
    void show_headers();
    void show_boxes();
    void show_all_columns();
    void open_set(const QString& name);
    void show_current_row();
    bool has_data_row();
    void offer_kept_rows();

    TsetDocument& doc_;
    QString tsets_dir_;
    QString size_dir_;
    QString set_name_; // the set that Save writes; none after a size change

    QComboBox* cmbSize_ = nullptr;
    QComboBox* cmbSets_ = nullptr;
    QPushButton* cmdNew_ = nullptr;
    QListWidget* File1_ = nullptr;
    QLineEdit* txtDate_ = nullptr;
    QPushButton* cmdAcceptDate_ = nullptr;
    QComboBox* cmbIndex_ = nullptr;
    QComboBox* cmbNumber_ = nullptr;
    QPushButton* cmdAcceptNumber_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdTsetGenerator_ = nullptr;
    KeptEditsBar* unsaved_ = nullptr;
    GridModel* tsets_ = nullptr;
    GridView* msfTsets_ = nullptr;
};
