#pragma once

#include "core/text_files.h"
#include "lotto/draw_import.h"
#include "lotto/lotto_entry.h"
#include "ui/window_offers.h"
#include "ui/working_window.h"

#include <QPersistentModelIndex>
#include <array>
#include <vector>

class GridModel;
class GridView;
class QComboBox;
class QLineEdit;
class QPushButton;

// The Lotto window: defines lottos, loads one into the shared state, and edits its draws.
class frmLotto : public WorkingWindow, public DrawsOffer {
    Q_OBJECT
  public:
    explicit frmLotto(AppContext& ctx, QWidget* parent = nullptr);

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

    // The draws table that other windows read (unsaved edits included).
    GridModel& draws_table() override { return *draws_; }
    int sel_row() const { return sel_row_; }

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

    void forget_draws();
    bool has_loaded_lotto();
    std::vector<DrawRec> sorted_table_draws() const;
    void take_imported(const ImportResult& result);

    QString lotto_dir_;
    // The lotto whose draws file the table holds, the only one whose existing file a Save may
    // replace; empty after a load that failed.
    QString table_lotto_;
    QString unread_draws_; // a draws file that exists but could not be read
    FileStamp param_stamp_, draws_stamp_;
    int sel_row_ = 0; // the row the entry boxes belong to; an int, as tables hold more than 32767 draws
    QPersistentModelIndex sel_mark_; // carries sel_row_ through a sort of the table, by anyone

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
