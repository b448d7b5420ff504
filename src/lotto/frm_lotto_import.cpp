#include "lotto/frm_lotto_import.h"

#include "lotto/delimited_text.h"
#include "ui/app_context.h"
#include "ui/controls.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Above this size a file takes long enough to read that the dialog shows it is working.
constexpr qint64 busy_file_size = 8 * 1024 * 1024;
constexpr int preview_rows = 200;

const QList<QPair<QString, QChar>>& separators() {
    static const QList<QPair<QString, QChar>> list{
        {QStringLiteral("Detected"), QChar()},      {QStringLiteral("Comma"), QChar(u',')},
        {QStringLiteral("Semicolon"), QChar(u';')}, {QStringLiteral("Tab"), QChar(u'\t')},
        {QStringLiteral("Blanks"), blank_runs},     {QStringLiteral("Bar"), QChar(u'|')}};
    return list;
}

QString separator_name(QChar c) {
    for (const auto& [name, sep] : separators())
        if (sep == c && !sep.isNull())
            return name.toLower();
    return QStringLiteral("'%1'").arg(c);
}

} // namespace

frmImport::frmImport(AppContext& ctx, const LottoParams& lotto, std::vector<DrawRec> history, QWidget* parent)
    : QDialog(parent), ctx_(ctx), lotto_(lotto), history_(std::move(history)) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import Draws"));
    resize(820, 560);
    auto* layout = new QVBoxLayout(this);

    auto* file_row = new QHBoxLayout;
    txtFile_ = make_edit("txtFile", QString(), this);
    txtFile_->setPlaceholderText(QStringLiteral("A published draw history: CSV, text, ..."));
    auto* cmdBrowse = make_button("cmdBrowse", QStringLiteral("Browse..."), this);
    auto* file_label = new QLabel(QStringLiteral("&File"), this);
    file_label->setBuddy(txtFile_);
    file_row->addWidget(file_label);
    file_row->addWidget(txtFile_, 1);
    file_row->addWidget(cmdBrowse);
    layout->addLayout(file_row);

    auto* how = new QGroupBox(QStringLiteral("How the file is read"), this);
    auto* form = new QFormLayout(how);
    cmbSeparator_ = make_combo("cmbSeparator", how);
    cmbSeparator_->setEditable(false);
    for (const auto& entry : separators())
        cmbSeparator_->addItem(entry.first);
    cmbEncoding_ = make_combo("cmbEncoding", how);
    cmbEncoding_->addItems({QStringLiteral("Detected"), QStringLiteral("UTF-8"),
                            QStringLiteral("Windows-1252"), QStringLiteral("ISO-8859-1"),
                            QStringLiteral("ISO-8859-15"), QStringLiteral("UTF-16")});
    cmbDateOrder_ = make_combo("cmbDateOrder", how);
    cmbDateOrder_->setEditable(false);
    cmbDateOrder_->addItems({QStringLiteral("Detected"), QStringLiteral("Day first (dmy)"),
                             QStringLiteral("Month first (mdy)"), QStringLiteral("Year first (ymd)")});
    txtColumns_ = make_edit("txtColumns", QString(), how);
    txtColumns_->setPlaceholderText(QStringLiteral("from the header, or date=1,numbers=2-7,bonus=8"));
    form->addRow(QStringLiteral("&Separator"), cmbSeparator_);
    form->addRow(QStringLiteral("&Encoding"), cmbEncoding_);
    form->addRow(QStringLiteral("&Date order"), cmbDateOrder_);
    form->addRow(QStringLiteral("&Columns"), txtColumns_);
    layout->addWidget(how);

    lblRead_ = make_label("lblRead", QString(), this);
    lblRead_->setWordWrap(true);
    layout->addWidget(lblRead_);

    msfPreview_ = new QTableWidget(this);
    msfPreview_->setObjectName(QStringLiteral("msfPreview"));
    msfPreview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msfPreview_->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfPreview_->verticalHeader()->hide();
    msfPreview_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(msfPreview_, 1);

    lblCounts_ = make_value("lblCounts", QString(), this);
    lblCounts_->setWordWrap(true);
    layout->addWidget(lblCounts_);
    prgImport_ = new QProgressBar(this);
    prgImport_->setObjectName(QStringLiteral("prgImport"));
    prgImport_->setRange(0, 0);
    prgImport_->hide();
    layout->addWidget(prgImport_);

    auto* buttons = new QDialogButtonBox(this);
    cmdImport_ = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    cmdImport_->setObjectName(QStringLiteral("cmdImport"));
    cmdImport_->setEnabled(false);
    auto* cmdCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmImport::cmdBrowse_Click);
    connect(txtFile_, &QLineEdit::editingFinished, this, &frmImport::refresh);
    connect(txtColumns_, &QLineEdit::editingFinished, this, &frmImport::refresh);
    for (QComboBox* box : {cmbSeparator_, cmbEncoding_, cmbDateOrder_})
        connect(box, &QComboBox::activated, this, &frmImport::refresh);
    show_result();
}

void frmImport::cmdBrowse_Click() {
    const auto path =
        ctx_.dialogs.open_file(this, QStringLiteral("Import Draws"),
                               QStringLiteral("Draw histories (*.csv *.txt *.tsv *.dat);;All files (*)"));
    if (!path)
        return;
    txtFile_->setText(*path);
    refresh();
}

ImportOptions frmImport::options(QString& error) const {
    ImportOptions options;
    options.separator = separators().value(cmbSeparator_->currentIndex()).second;
    if (cmbEncoding_->currentIndex() != 0 || cmbEncoding_->currentText() != cmbEncoding_->itemText(0))
        options.encoding = cmbEncoding_->currentText().trimmed();
    constexpr DateOrder orders[] = {DateOrder::automatic, DateOrder::dmy, DateOrder::mdy, DateOrder::ymd};
    options.date_order = orders[std::max(0, cmbDateOrder_->currentIndex())];
    const QString columns = txtColumns_->text().trimmed();
    if (!columns.isEmpty())
        options.columns = parse_column_map(columns, &error);
    options.preview_rows = preview_rows;
    return options;
}

void frmImport::refresh() {
    result_ = ImportResult{};
    QString error;
    const ImportOptions opts = options(error);
    const QString path = txtFile_->text().trimmed();
    if (!error.isEmpty()) {
        result_.message = QStringLiteral("Columns: %1").arg(error);
    } else if (!path.isEmpty()) {
        const bool busy = QFileInfo(path).size() > busy_file_size;
        if (busy) {
            prgImport_->show();
            QApplication::setOverrideCursor(Qt::WaitCursor);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        result_ = import_draws_file(path, lotto_, history_, opts);
        if (busy) {
            QApplication::restoreOverrideCursor();
            prgImport_->hide();
        }
    }
    show_result();
}

void frmImport::show_result() {
    const int numbers = lotto_.pick_n;
    QStringList headers{QStringLiteral("Line"), QStringLiteral("Date")};
    for (int i = 1; i <= numbers; ++i)
        headers << QStringLiteral("N%1").arg(i);
    headers << QStringLiteral("Bonus") << QStringLiteral("Note");
    msfPreview_->clear();
    msfPreview_->setColumnCount(static_cast<int>(headers.size()));
    msfPreview_->setHorizontalHeaderLabels(headers);
    msfPreview_->setRowCount(static_cast<int>(result_.preview.size()));
    for (int r = 0; r < static_cast<int>(result_.preview.size()); ++r) {
        const PreviewRow& row = result_.preview[r];
        // A rejected row has no cells to show: its text is the tip of the whole row.
        const bool unread = row.cells.size() == 1;
        QStringList cells{QString::number(row.line)};
        if (!unread)
            cells << row.cells;
        while (cells.size() < headers.size() - 1)
            cells << QString();
        cells << row.note;
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (row.rejected)
                item->setForeground(QColor(0xb0, 0x10, 0x10));
            if (unread)
                item->setToolTip(row.cells.value(0));
            msfPreview_->setItem(r, c, item);
        }
    }
    msfPreview_->resizeColumnsToContents();

    if (txtFile_->text().trimmed().isEmpty() && result_.message.isEmpty()) {
        lblRead_->setText(QStringLiteral("Choose the file of a draw history: one draw a line, with its date, "
                                         "numbers and bonus in columns."));
        lblCounts_->clear();
    } else if (result_.status == ImportStatus::nothing_done) {
        lblRead_->setText(result_.encoding.isEmpty() ? QString()
                                                     : QStringLiteral("Read as %1.").arg(result_.encoding));
        lblCounts_->setText(result_.message);
    } else {
        lblRead_->setText(QStringLiteral("Read as %1, separated by %2.")
                              .arg(result_.encoding, separator_name(result_.separator)));
        lblCounts_->setText(result_.summary());
    }
    cmdImport_->setEnabled(result_.status != ImportStatus::nothing_done && !result_.added.empty());
}

frmCheckReport::frmCheckReport(const QStringList& lines, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral("Check Draws"));
    resize(560, 420);
    auto* layout = new QVBoxLayout(this);
    txtReport_ = new QPlainTextEdit(this);
    txtReport_->setObjectName(QStringLiteral("txtReport"));
    txtReport_->setReadOnly(true);
    txtReport_->setPlainText(lines.join(u'\n'));
    layout->addWidget(txtReport_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
