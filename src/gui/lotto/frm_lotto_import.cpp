#include "gui/lotto/frm_lotto_import.h"

#include "core/base/convert.h"
#include "core/lotto/delimited_text.h"
#include "gui/toolkit/app_context.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"

#include <QApplication>
#include <QCheckBox>
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
    resize(860, 660);
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
    txtColumns_->setPlaceholderText(QStringLiteral(
        "from the header, or date=1,numbers=2-7,bonus=8 (a date over three columns: date=2-4)"));
    cmdUseColumns_ = make_button("cmdUseColumns", QString(), how);
    cmdUseColumns_->hide();
    auto* columns_row = new QHBoxLayout;
    columns_row->addWidget(txtColumns_, 1);
    columns_row->addWidget(cmdUseColumns_);
    txtImportFrom_ = make_edit("txtImportFrom", QString(), how);
    txtImportFrom_->setPlaceholderText(QStringLiteral("first date"));
    txtImportTo_ = make_edit("txtImportTo", QString(), how);
    txtImportTo_->setPlaceholderText(QStringLiteral("last date"));
    auto* period_row = new QHBoxLayout;
    period_row->addWidget(txtImportFrom_);
    auto* to_label = new QLabel(QStringLiteral("&To"), how);
    to_label->setBuddy(txtImportTo_);
    period_row->addWidget(to_label);
    period_row->addWidget(txtImportTo_);
    txtWhere_ = make_edit("txtWhere", QString(), how);
    txtWhere_->setPlaceholderText(QStringLiteral("COLUMN=VALUE (a header name or a column number); several: "
                                                 "separate them with ;"));
    form->addRow(QStringLiteral("&Separator"), cmbSeparator_);
    form->addRow(QStringLiteral("&Encoding"), cmbEncoding_);
    form->addRow(QStringLiteral("&Date order"), cmbDateOrder_);
    form->addRow(QStringLiteral("&Columns"), columns_row);
    form->addRow(QStringLiteral("F&rom"), period_row);
    form->addRow(QStringLiteral("&Where"), txtWhere_);
    layout->addWidget(how);

    lblRead_ = make_label("lblRead", QString(), this);
    lblRead_->setWordWrap(true);
    layout->addWidget(lblRead_);

    // The file as it is, so that the columns of a map can be read off it.
    msfRaw_ = new QTableWidget(this);
    msfRaw_->setObjectName(QStringLiteral("msfRaw"));
    msfRaw_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    msfRaw_->verticalHeader()->setDefaultSectionSize(msfRaw_->fontMetrics().height() + 4);
    msfRaw_->setMaximumHeight(7 * (msfRaw_->fontMetrics().height() + 4));
    msfRaw_->hide();
    layout->addWidget(msfRaw_);

    auto* shared_row = new QHBoxLayout;
    lblShared_ = make_label("lblShared", QString(), this);
    lblShared_->setWordWrap(true);
    lblShared_->hide();
    cmdKeepOne_ = make_button("cmdKeepOne", QString(), this);
    cmdKeepOne_->hide();
    shared_row->addWidget(lblShared_, 1);
    shared_row->addWidget(cmdKeepOne_);
    layout->addLayout(shared_row);

    chkTroubles_ = new QCheckBox(QStringLiteral("Only conflicts and re&jected rows"), this);
    chkTroubles_->setObjectName(QStringLiteral("chkTroubles"));
    layout->addWidget(chkTroubles_);

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
    for (QLineEdit* edit : {txtColumns_, txtImportFrom_, txtImportTo_, txtWhere_})
        connect(edit, &QLineEdit::editingFinished, this, &frmImport::refresh);
    connect(chkTroubles_, &QCheckBox::toggled, this, &frmImport::show_rows);
    connect(cmdUseColumns_, &QPushButton::clicked, this, &frmImport::cmdUseColumns_Click);
    connect(cmdKeepOne_, &QPushButton::clicked, this, &frmImport::cmdKeepOne_Click);
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
    if (!error.isEmpty()) {
        error = QStringLiteral("Columns: %1").arg(error);
        return options;
    }
    for (const auto& [edit, date, name] :
         {std::tuple{txtImportFrom_, &options.from, "From"}, std::tuple{txtImportTo_, &options.to, "To"}}) {
        const QString text = edit->text().trimmed();
        if (text.isEmpty())
            continue;
        *date = QDate::fromString(text, Qt::ISODate);
        if (!date->isValid())
            if (const auto serial = date_text_to_serial(text, DatePart::DateOnly))
                *date = serial_to_date(*serial);
        if (!date->isValid()) {
            error = QStringLiteral("%1: '%2' is not a date (write it as 2024-01-31)")
                        .arg(QLatin1String(name), text);
            return options;
        }
    }
    if (options.from.isValid() && options.to.isValid() && options.from > options.to) {
        error = QStringLiteral("From comes after To");
        return options;
    }
    for (const QString& condition : txtWhere_->text().split(u';', Qt::SkipEmptyParts)) {
        if (condition.trimmed().isEmpty())
            continue;
        const auto filter = parse_column_filter(condition.trimmed(), &error);
        if (!filter) {
            error = QStringLiteral("Where: %1").arg(error);
            return options;
        }
        options.filters.push_back(*filter);
    }
    return options;
}

void frmImport::cmdUseColumns_Click() {
    txtColumns_->setText(result_.suggested_columns);
    refresh();
}

void frmImport::cmdKeepOne_Click() {
    const QString where = txtWhere_->text().trimmed();
    txtWhere_->setText(where.isEmpty() ? result_.suggested_filter
                                       : QStringLiteral("%1; %2").arg(where, result_.suggested_filter));
    refresh();
}

void frmImport::refresh() {
    result_ = ImportResult{};
    QString error;
    const ImportOptions opts = options(error);
    const QString path = txtFile_->text().trimmed();
    if (!error.isEmpty()) {
        result_.message = error;
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

void frmImport::show_rows() {
    const std::vector<PreviewRow>& rows = chkTroubles_->isChecked() ? result_.troubles : result_.preview;
    const int numbers = lotto_.pick_n;
    QStringList headers{QStringLiteral("Line"), QStringLiteral("Date")};
    for (int i = 1; i <= numbers; ++i)
        headers << QStringLiteral("N%1").arg(i);
    headers << QStringLiteral("Bonus") << QStringLiteral("Note");
    msfPreview_->clear();
    msfPreview_->setColumnCount(static_cast<int>(headers.size()));
    msfPreview_->setHorizontalHeaderLabels(headers);
    msfPreview_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const PreviewRow& row = rows[r];
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
}

void frmImport::show_first_records() {
    int width = 0;
    for (const QStringList& record : result_.first_records)
        width = std::max(width, static_cast<int>(record.size()));
    msfRaw_->clear();
    msfRaw_->setColumnCount(width);
    msfRaw_->setRowCount(static_cast<int>(result_.first_records.size()));
    QStringList headers;
    for (int c = 1; c <= width; ++c)
        headers << QString::number(c);
    msfRaw_->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < static_cast<int>(result_.first_records.size()); ++r)
        for (int c = 0; c < static_cast<int>(result_.first_records[r].size()); ++c)
            msfRaw_->setItem(r, c, new QTableWidgetItem(result_.first_records[r][c]));
    msfRaw_->resizeColumnsToContents();
    msfRaw_->setVisible(width > 0);
}

void frmImport::show_result() {
    show_rows();
    show_first_records();
    cmdUseColumns_->setText(QStringLiteral("Use %1").arg(result_.suggested_columns));
    cmdUseColumns_->setVisible(!result_.suggested_columns.isEmpty());
    const QStringList shared = result_.lines.filter(QStringLiteral("rows sharing a date or draw number"));
    lblShared_->setText(shared.value(0));
    lblShared_->setVisible(!shared.isEmpty());
    cmdKeepOne_->setText(QStringLiteral("Keep only %1").arg(result_.suggested_filter));
    cmdKeepOne_->setVisible(!result_.suggested_filter.isEmpty());
    chkTroubles_->setText(
        QStringLiteral("Only conflicts and re&jected rows (%1)").arg(result_.troubles.size()));

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
