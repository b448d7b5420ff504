#pragma once

#include "core/lotto/draw_import.h"
#include "core/lotto/lotto_records.h"

#include <QDialog>
#include <vector>

struct AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

// "Import Draws": reads a published draw history as the user sets it up, shows the file's first
// lines by column, the first rows as they will be imported (rejected ones marked with their
// reason) or every conflicting and rejected row, and the counts, and hands the new draws to the
// Lotto window on Import. It never writes a file.
class frmImport : public QDialog {
    Q_OBJECT
  public:
    frmImport(AppContext& ctx, const LottoParams& lotto, std::vector<DrawRec> history, QWidget* parent);

    void cmdBrowse_Click();
    // Reads the file again with the choices in the boxes.
    void refresh();
    const ImportResult& result() const { return result_; }

  private:
    ImportOptions options(QString& error) const;
    void show_result();
    void show_rows();
    void show_first_records();
    void cmdUseColumns_Click();
    void cmdKeepOne_Click();

    AppContext& ctx_;
    LottoParams lotto_;
    std::vector<DrawRec> history_;
    ImportResult result_;

    QLineEdit* txtFile_ = nullptr;
    QComboBox* cmbSeparator_ = nullptr;
    QComboBox* cmbEncoding_ = nullptr;
    QComboBox* cmbDateOrder_ = nullptr;
    QLineEdit* txtColumns_ = nullptr;
    QLineEdit* txtImportFrom_ = nullptr;
    QLineEdit* txtImportTo_ = nullptr;
    QLineEdit* txtWhere_ = nullptr;
    QLabel* lblRead_ = nullptr;
    QTableWidget* msfRaw_ = nullptr;
    QPushButton* cmdUseColumns_ = nullptr;
    QLabel* lblShared_ = nullptr;
    QPushButton* cmdKeepOne_ = nullptr;
    QCheckBox* chkTroubles_ = nullptr;
    QTableWidget* msfPreview_ = nullptr;
    QLabel* lblCounts_ = nullptr;
    QProgressBar* prgImport_ = nullptr;
    QPushButton* cmdImport_ = nullptr;
};

// "Check Draws": the findings of a check of the draw history, as text the user can copy.
class frmCheckReport : public QDialog {
    Q_OBJECT
  public:
    frmCheckReport(const QStringList& lines, QWidget* parent);

  private:
    QPlainTextEdit* txtReport_ = nullptr;
};
