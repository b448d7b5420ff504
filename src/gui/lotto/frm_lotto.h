#pragma once

#include "core/base/text_files.h"
#include "core/lotto/draw_import.h"
#include "core/lotto/lotto_entry.h"
#include "gui/toolkit/working_window.h"

#include <array>
#include <vector>

class GridModel;
class GridView;
class KeptEditsBar;
class LottoDocument;
class QComboBox;
class QLineEdit;
class QPushButton;

// The Lotto window: defines lottos, loads one into the session's lotto document, and edits its draws.
class frmLotto : public WorkingWindow {
    Q_OBJECT
  public:
    explicit frmLotto(AppContext& ctx, QWidget* parent = nullptr);
    // A closed window leaves no draws for the others.
    ~frmLotto() override;

    void cmbName_Click();
    void cmdLottoCreate_Click();
    void cmdLottoEdit_Click();
    void cmdLottoSave_Click();
    void cmdDrawNew_Click();
    void cmdAdd_Click();
    void cmdDrawSave_Click();
    void msfDraws_Click();
    void cmdImport_Click();
    void cmdExport_Click();
    void cmdCheck_Click();

    void cmdRestoreUnsaved_Click();
    void cmdDiscardUnsaved_Click();

  protected:
    // The frame discards the draws: edits not saved are kept aside first.
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void build_parameters(QWidget* side);
    void build_draws(QWidget* side);
    void set_tab_order();

    void LottoEditMode(int mode);
    void fill_list();
    void emty_lotto();
    void empty_draw();
    void show_sel_row();
    void Check_draw(QString& er_tp, DrawRec& draw);
    bool lotto_name_ok();
    void show_draw(const DrawTexts& texts);
    DrawTexts draw_texts() const;

    void show_loaded_draws();
    void offer_kept_draws();
    bool has_loaded_lotto();
    std::vector<DrawRec> sorted_table_draws() const;
    void take_imported(const ImportResult& result);

    QString lotto_dir_;
    LottoDocument& doc_;

    QComboBox* cmbName_ = nullptr;
    QComboBox* cmbPlayN_ = nullptr;
    QComboBox* cmbPickN_ = nullptr;
    // In the order Save converts them: txt2PR, txt2PRB, txt3PR, ... txt6PRB, txtCost.
    std::array<QLineEdit*, param_text_count - 2> money_{};
    QLineEdit* txtCost_ = nullptr;
    QLineEdit* txtCurrency_ = nullptr;
    QPushButton* cmdLottoCreate_ = nullptr;
    QPushButton* cmdLottoEdit_ = nullptr;
    QPushButton* cmdLottoSave_ = nullptr;

    KeptEditsBar* unsaved_ = nullptr;
    GridModel* draws_ = nullptr;
    GridView* msfDraws_ = nullptr;
    // txtDate, txtN1..txtN6, txtNB
    std::array<QLineEdit*, draw_text_count> entry_{};
    QPushButton* cmdDrawNew_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdDrawSave_ = nullptr;
    QPushButton* cmdImport_ = nullptr;
    QPushButton* cmdExport_ = nullptr;
    QPushButton* cmdCheck_ = nullptr;
};
