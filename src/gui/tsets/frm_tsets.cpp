#include "gui/tsets/frm_tsets.h"

#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/session/kept_edits.h"
#include "core/session/session.h"
#include "core/tsets/tset_document.h"
#include "core/tsets/tset_files.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/kept_edits_bar.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_names.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmTsets::frmTsets(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::tsets, QStringLiteral("Targeted Sets"), QStringLiteral("tset.htm"),
                    parent),
      doc_(ctx.session.tset) {
    // Wide enough for every column of a set of 20 in the usual desktop font.
    resize(1120, 520);

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(12, 10, 12, 12);
    columns->setSpacing(14);
    auto* panel = new QWidget(central);
    build(panel);
    doc_.release();
    tsets_ = new GridModel(doc_.rows(), this);
    msfTsets_ = new GridView(central);
    msfTsets_->setObjectName(QStringLiteral("msfTsets"));
    msfTsets_->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfTsets_->set_grid(tsets_);
    msfTsets_->horizontalHeader()->setStretchLastSection(false);
    // The date column keeps its 1000 twips in the grid; on screen it is never narrower than a
    // date, whose text may be wider than in the font the width was chosen for.
    const auto fit_dates = [this] {
        const int date_px = msfTsets_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) + 12;
        if (tsets_->cols() > 0 && msfTsets_->columnWidth(0) < date_px)
            msfTsets_->setColumnWidth(0, date_px);
        // Once the headers have their widths: a new size sets them column by column.
        QMetaObject::invokeMethod(this, &frmTsets::show_all_columns, Qt::QueuedConnection);
    };
    connect(tsets_, &GridModel::geometry_changed, this, fit_dates);
    connect(tsets_, &QAbstractItemModel::modelReset, this, fit_dates);
    // The view lays its columns out again when header cells change (bold ones, say): after it.
    connect(tsets_, &QAbstractItemModel::headerDataChanged, this, fit_dates);
    unsaved_ = new KeptEditsBar(central);
    connect(unsaved_, &KeptEditsBar::restore_clicked, this, &frmTsets::cmdRestoreUnsaved_Click);
    connect(unsaved_, &KeptEditsBar::discard_clicked, this, &frmTsets::cmdDiscardUnsaved_Click);
    auto* table = new QVBoxLayout;
    table->setSpacing(6);
    table->addWidget(unsaved_);
    table->addWidget(msfTsets_, 1);
    columns->addWidget(panel, 0);
    columns->addLayout(table, 1);
    setCentralWidget(central);
    set_tab_order();
    connect(msfTsets_, &GridView::grid_clicked, this, &frmTsets::msfTsets_Click);

    // The generator fills rows from its own window; they may be saved as typed ones.
    connect(&ctx_.tset_editor, &TsetEditorState::save_offered, this, [this] { cmdSave_->setEnabled(true); });
    // The generator reads what the size and date boxes show.
    connect(cmbSize_, &QComboBox::editTextChanged, this, &frmTsets::show_boxes);
    connect(txtDate_, &QLineEdit::textChanged, this, &frmTsets::show_boxes);

    Form_Load();
    show_boxes();
}

void frmTsets::closeEvent(QCloseEvent* event) {
    keep_unsaved_set(doc_, ctx_.session.app_dir);
    WorkingWindow::closeEvent(event);
}

// A kept copy of this set's unsaved rows is offered, not forced: the bar waits beside the table.
void frmTsets::offer_kept_rows() {
    const QString& name = doc_.file_name();
    unsaved_->offer(name.isEmpty() ? QString() : kept_set_path(ctx_.session.app_dir, doc_.file_size(), name),
                    QStringLiteral("the Targeted Set '%1'").arg(name));
}

void frmTsets::cmdRestoreUnsaved_Click() {
    QString error;
    if (!doc_.restore(unsaved_->path(), &error)) {
        message(QStringLiteral("The kept rows in %1 could not be read: %2")
                    .arg(QDir::toNativeSeparators(unsaved_->path()), error));
        return;
    }
    QFile::remove(unsaved_->path());
    show_headers();
    show_current_row();
    // Restored edits may be saved as typed ones.
    cmdSave_->setEnabled(true);
    offer_kept_rows();
}

void frmTsets::cmdDiscardUnsaved_Click() {
    if (!QFile::remove(unsaved_->path()) && QFileInfo::exists(unsaved_->path()))
        message(QStringLiteral("The kept rows in %1 could not be deleted.")
                    .arg(QDir::toNativeSeparators(unsaved_->path())));
    offer_kept_rows();
}

frmTsets::~frmTsets() {
    doc_.release();
    ctx_.tset_editor.shown_size.clear();
    ctx_.tset_editor.shown_date.clear();
}

// A larger font widens the columns: the window grows, as far as the screen allows, so that the
// last position of the set is in view rather than behind the scroll bar.
void frmTsets::show_all_columns() {
    if (tsets_->cols() == 0 || !isVisible())
        return;
    int missing = msfTsets_->full_width() - msfTsets_->width();
    if (msfTsets_->columnWidth(0) > msfTsets_->col_width_px(0))
        missing += msfTsets_->columnWidth(0) - msfTsets_->col_width_px(0);
    if (missing <= 0)
        return;
    const int room =
        screen() ? screen()->availableGeometry().width() - frameGeometry().width() + width() : width();
    resize(std::min(width() + missing, std::max(room, width())), height());
}

void frmTsets::show_boxes() {
    ctx_.tset_editor.shown_size = cmbSize_->currentText();
    ctx_.tset_editor.shown_date = txtDate_->text();
}

// Date and N1..Nsize in bold, 1000 twips for the date and 450 for each number; no current row.
void frmTsets::show_headers() {
    tsets_->set_col_width(0, 1000);
    for (int c = 1; c < tsets_->cols(); ++c)
        tsets_->set_col_width(c, 450);
    for (int c = 0; c < tsets_->cols(); ++c)
        tsets_->set_bold(0, c, true);
    tsets_->set_row(0);
    tsets_->set_row_sel(0);
}

void frmTsets::build(QWidget* panel) {
    LabelMaker label;
    auto* form = new QGridLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(8);
    form->setColumnMinimumWidth(1, 130);

    cmbSize_ = make_combo("cmbSize", panel);
    cmbSets_ = make_combo("cmbSets", panel);
    cmdNew_ = make_button("cmdNew", QStringLiteral("New"), panel);
    // The toolkit's file list behind cmbSets; the user picks from cmbSets.
    File1_ = new QListWidget(panel);
    File1_->setObjectName(QStringLiteral("File1"));
    File1_->hide();
    add_field(form, 0, label(QStringLiteral("Size"), panel), cmbSize_);
    add_field(form, 1, label(QStringLiteral("Name"), panel), cmbSets_);
    form->addWidget(cmdNew_, 1, 2);
    form->addWidget(make_line("Line1", Qt::Horizontal, panel), 2, 0, 1, 3);

    txtDate_ = make_edit("txtDate", QString(), panel);
    cmdAcceptDate_ = make_button("cmdAcceptDate", QStringLiteral("Accept Date"), panel);
    add_field(form, 3, label(QStringLiteral("Date"), panel), txtDate_);
    form->addWidget(cmdAcceptDate_, 3, 2);
    form->addWidget(make_line("Line2", Qt::Horizontal, panel), 4, 0, 1, 3);

    cmbIndex_ = make_combo("cmbIndex", panel);
    cmbNumber_ = make_combo("cmbNumber", panel);
    cmdAcceptNumber_ = make_button("cmdAcceptNumber", QStringLiteral("Accept Number"), panel);
    add_field(form, 5, label(QStringLiteral("Index"), panel), cmbIndex_);
    add_field(form, 6, label(QStringLiteral("Number"), panel), cmbNumber_);
    form->addWidget(cmdAcceptNumber_, 6, 2);
    form->addWidget(make_line("Line3", Qt::Horizontal, panel), 7, 0, 1, 3);

    cmdAdd_ = make_button("cmdAdd", QStringLiteral("Add"), panel);
    cmdSave_ = make_button("cmdSave", QStringLiteral("Save"), panel);
    form->addWidget(cmdAdd_, 8, 1);
    form->addWidget(cmdSave_, 8, 2);
    form->addWidget(make_line("Line4", Qt::Horizontal, panel), 9, 0, 1, 3);
    cmdTsetGenerator_ = make_button("cmdTsetGenerator", QStringLiteral("TSets Generator"), panel);
    form->addWidget(cmdTsetGenerator_, 10, 1, 1, 2);
    form->setRowStretch(11, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{cmbSets_, cmdNew_, cmdAcceptDate_, cmdAcceptNumber_,
                                                      cmdAdd_, cmdSave_, cmdTsetGenerator_})
        w->setEnabled(false);

    connect(cmbSize_, &QComboBox::activated, this, &frmTsets::cmbSize_Click);
    connect(cmbSets_, &QComboBox::activated, this, &frmTsets::cmbSets_Click);
    connect(cmdNew_, &QPushButton::clicked, this, &frmTsets::cmdNew_Click);
    connect(cmdAcceptDate_, &QPushButton::clicked, this, &frmTsets::cmdAcceptDate_Click);
    connect(cmdAcceptNumber_, &QPushButton::clicked, this, &frmTsets::cmdAcceptNumber_Click);
    connect(cmdAdd_, &QPushButton::clicked, this, &frmTsets::cmdAdd_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &frmTsets::cmdSave_Click);
    connect(cmdTsetGenerator_, &QPushButton::clicked, this, &frmTsets::cmdTsetGenerator_Click);
    // Enter in a box accepts what it holds, as its button would.
    connect(txtDate_, &QLineEdit::returnPressed, cmdAcceptDate_, &QPushButton::animateClick);
    connect(cmbNumber_->lineEdit(), &QLineEdit::returnPressed, cmdAcceptNumber_, &QPushButton::animateClick);
}

void frmTsets::set_tab_order() {
    QWidget* const order[] = {cmbSize_,   cmbSets_,         cmdNew_, txtDate_, cmdAcceptDate_,    cmbIndex_,
                              cmbNumber_, cmdAcceptNumber_, cmdAdd_, cmdSave_, cmdTsetGenerator_, msfTsets_};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void frmTsets::Form_Load() {
    for (int n = tset_min_size; n <= tset_max_size; ++n)
        cmbSize_->addItem(QString::number(n));
    for (int n = 1; n <= 90; ++n)
        cmbNumber_->addItem(QString::number(n));
    for (QComboBox* box : {cmbSize_, cmbIndex_, cmbNumber_}) {
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
    txtDate_->setText(date_to_text(ctx_.session.today()));
    tsets_dir_ = tsets_folder(ctx_.session.app_dir);
    QDir().mkpath(tsets_dir_);
}

// Lays the grid out for the chosen size with rows - 1 empty data rows, the last one current.
void frmTsets::lay_out(int rows) {
    Tsets_headers(doc_.rows(), doc_.size());
    show_headers();
    if (rows > 1)
        tsets_->append_rows(std::vector<QStringList>(rows - 1, QStringList()));
    doc_.set_current_row(rows - 1);
}

void frmTsets::fill_sets() {
    File1_->clear();
    File1_->addItems(list_tsets(size_dir_));
    cmbSets_->clear();
    for (int i = 0; i < File1_->count(); ++i)
        cmbSets_->addItem(File1_->item(i)->text());
    cmbSets_->setCurrentIndex(-1);
    cmbSets_->setEditText(QString());
}

void frmTsets::cmbSize_Click() {
    const QString text = cmbSize_->currentText();
    if (text.isEmpty()) {
        message(msg_select_size);
        cmbSize_->setFocus();
        return;
    }
    // Only a listed size may name a folder.
    const auto size = tset_size_from_text(text);
    if (!size) {
        message(msg_incorrect_tset_size);
        cmbSize_->setFocus();
        return;
    }
    // The grid is laid out afresh: its unsaved rows are kept aside, offered when the set opens next.
    keep_unsaved_set(doc_, ctx_.session.app_dir);
    doc_.forget_file();
    size_dir_ = size_folder(tsets_dir_, *size);
    QDir().mkpath(size_dir_);
    fill_sets();
    cmbIndex_->clear();
    for (int i = 1; i <= *size; ++i)
        cmbIndex_->addItem(QString::number(i));
    cmbIndex_->setCurrentIndex(-1);
    cmbIndex_->setEditText(QString());
    doc_.set_size(*size);
    lay_out(1);
    for (QWidget* w : std::initializer_list<QWidget*>{cmbSets_, cmdNew_, cmdAdd_})
        w->setEnabled(true);
    // The grid belongs to no set now: a Save must not write it over a set of the last name in
    // this size folder, nor into the last set's file with this size's columns.
    set_name_.clear();
    cmdSave_->setEnabled(false);
    offer_kept_rows();
}

void frmTsets::cmdNew_Click() {
    const auto answer = ctx_.dialogs.input(this, QString::fromLatin1(msg_type_name),
                                           QString::fromLatin1(msg_strategy_name), QString());
    QDir().mkpath(size_dir_);
    if (!answer || answer->trimmed().isEmpty())
        return;
    const QString& name = *answer;
    if (!is_safe_file_name(name)) {
        message(msg_data_not_correct);
        return;
    }
    const CreateResult made = create_tset_file(join_path(size_dir_, name));
    if (made == CreateResult::failed) {
        message(msg_data_not_correct);
        return;
    }
    // A new name joins the end of the list, as typed; the folder's order returns with the next size.
    if (cmbSets_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        cmbSets_->addItem(name);
    cmbSets_->setCurrentIndex(cmbSets_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    cmbSets_->setEditText(name);
    // An existing set is opened rather than emptied.
    if (made == CreateResult::exists) {
        cmbSets_Click();
        return;
    }
    keep_unsaved_set(doc_, ctx_.session.app_dir);
    set_name_ = name;
    doc_.start_file(join_path(size_dir_, name), name);
    lay_out(2);
    offer_kept_rows();
    for (QPushButton* b : {cmdAcceptDate_, cmdAcceptNumber_, cmdTsetGenerator_})
        b->setEnabled(true);
}

void frmTsets::cmbSets_Click() {
    const QString name = cmbSets_->currentText();
    if (!is_safe_file_name(name)) {
        message(msg_data_not_correct);
        cmbSets_->setFocus();
        return;
    }
    set_name_ = name;
    open_set(name);
    for (QPushButton* b : {cmdAcceptDate_, cmdAcceptNumber_, cmdTsetGenerator_})
        b->setEnabled(true);
}

void frmTsets::open_set(const QString& name) {
    keep_unsaved_set(doc_, ctx_.session.app_dir);
    switch (doc_.open(join_path(size_dir_, name), name).status) {
    case TsetDocument::Open::no_file:
        message(QStringLiteral("The Targeted Set '%1' does not exist.").arg(name));
        return;
    case TsetDocument::Open::unreadable:
        // The grid still shows the last set: saving it under this name would replace the file.
        set_name_.clear();
        message(msg_data_not_correct);
        return;
    case TsetDocument::Open::opened:
        break;
    }
    show_headers();
    show_current_row();
    offer_kept_rows();
    if (const auto bad = doc_.read_numbers(doc_.size()))
        message(incorrect_cell_text(*bad));
}

void frmTsets::show_current_row() {
    const int r = doc_.current_row();
    if (r >= 1 && r < tsets_->rows()) {
        const QModelIndex index = msfTsets_->model()->index(r - tsets_->fixed_rows(), 0);
        msfTsets_->setCurrentIndex(index);
        msfTsets_->scrollTo(index);
    }
}

void frmTsets::msfTsets_Click() {
    doc_.set_current_row(tsets_->row_sel());
    if (const auto bad = doc_.read_numbers(tsets_->cols() - 1))
        message(incorrect_cell_text(*bad));
}

void frmTsets::cmdAdd_Click() {
    tsets_->append_rows({QStringList()});
    doc_.set_current_row(tsets_->rows() - 1);
    show_current_row();
}

// The edit commands write into the current row; the header row is never one.
bool frmTsets::has_data_row() {
    const int r = doc_.current_row();
    if (r >= 1 && r < tsets_->rows())
        return true;
    message(msg_select_tset_row);
    return false;
}

void frmTsets::cmdAcceptDate_Click() {
    if (!has_data_row())
        return;
    // The cell gets the date written anew, so blanks around the typed one cost nothing.
    const auto serial = date_text_to_serial(txtDate_->text().trimmed(), DatePart::DateOnly);
    if (!serial) {
        message(msg_incorrect_date);
        txtDate_->setFocus();
        return;
    }
    tsets_->set_text(doc_.current_row(), 0, date_to_text(serial_to_date(*serial)));
}

void frmTsets::cmdAcceptNumber_Click() {
    if (!has_data_row())
        return;
    const auto index = text_to_int16(cmbIndex_->currentText());
    if (!index || *index < 1) {
        message(msg_select_index);
        cmbIndex_->setFocus();
        return;
    }
    const auto value = text_to_int16(cmbNumber_->currentText());
    if (!value) {
        message(msg_select_number);
        cmbNumber_->setFocus();
        return;
    }
    const QString number = storable_number_text(cmbNumber_->currentText(), *value);
    const int size = tsets_->cols() - 1;
    if (*index > size) {
        message(msg_index_exceeds);
        return;
    }
    const int row = doc_.current_row();
    bool any_empty = false;
    // The last position is not examined: the row is complete once it is filled.
    for (int c = 1; c < size; ++c) {
        const QStringView cell = tsets_->text_view(row, c);
        if (cell == number) {
            message(msg_number_repeated);
            return;
        }
        any_empty = any_empty || cell.isEmpty();
    }
    tsets_->set_text(row, *index, number);
    if (!any_empty)
        cmdSave_->setEnabled(true);
}

void frmTsets::cmdSave_Click() {
    if (set_name_.isEmpty()) {
        message(msg_select_tset);
        return;
    }
    if (doc_.unread_line() > 0) {
        message(QString::fromUtf8(msg_set_unread).arg(doc_.unread_line()));
        return;
    }
    const QString path = join_path(size_dir_, set_name_);
    if (!may_save_over(doc_.stamp(), path))
        return;
    QDir().mkpath(size_dir_);
    switch (doc_.save(path)) {
    case SaveResult::saved:
        // Blank rows were dropped; the current row keeps its number while there is such a row.
        if (doc_.current_row() >= tsets_->rows())
            doc_.set_current_row(tsets_->rows() - 1);
        // The set saved is the current one for the other windows, a new one too.
        doc_.set_name(set_name_);
        break;
    case SaveResult::bad_date:
        message(msg_incorrect_date);
        break;
    case SaveResult::write_failed:
        message(msg_data_not_correct);
        break;
    }
}

void frmTsets::cmdTsetGenerator_Click() {
    ctx_.windows.show(window_name::tset_generator);
}
