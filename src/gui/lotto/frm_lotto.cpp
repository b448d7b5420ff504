#include "gui/lotto/frm_lotto.h"

#include "core/base/convert.h"
#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/lotto/draw_check.h"
#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_files.h"
#include "core/session/kept_edits.h"
#include "core/session/session.h"
#include "gui/lotto/frm_lotto_import.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/kept_edits_bar.h"
#include "gui/toolkit/window_names.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Design widths of the draws table, in twips; columns 2..7 take half of column 0.
constexpr int date_col_width = 1440;
constexpr int bonus_col_width = 960;

} // namespace

frmLotto::frmLotto(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::lotto, QStringLiteral("Lotto"), QStringLiteral("lotto.htm"), parent),
      doc_(ctx.session.lotto) {
    resize(1000, 560);

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(12, 10, 12, 12);
    columns->setSpacing(14);
    auto* params = new QWidget(central);
    auto* draws = new QGroupBox(QStringLiteral("Draws"), central);
    draws->setObjectName(QStringLiteral("fraDraws"));
    build_parameters(params);
    build_draws(draws);
    columns->addWidget(params, 0);
    columns->addWidget(draws, 1);
    setCentralWidget(central);
    set_tab_order();

    Form_Load();
}

frmLotto::~frmLotto() {
    doc_.release_draws();
}

void frmLotto::closeEvent(QCloseEvent* event) {
    keep_unsaved_draws(doc_, ctx_.session.app_dir);
    WorkingWindow::closeEvent(event);
}

// A kept copy of this lotto's unsaved draws is offered, not forced: the bar waits beside the table.
void frmLotto::offer_kept_draws() {
    const QString& lotto = doc_.draws_lotto();
    unsaved_->offer(lotto.isEmpty() ? QString() : kept_draws_path(ctx_.session.app_dir, lotto),
                    QStringLiteral("the draws of '%1'").arg(lotto));
}

void frmLotto::cmdRestoreUnsaved_Click() {
    QString error;
    if (!doc_.restore_draws(unsaved_->path(), &error)) {
        message(QStringLiteral("The kept draws in %1 could not be read: %2")
                    .arg(QDir::toNativeSeparators(unsaved_->path()), error));
        return;
    }
    QFile::remove(unsaved_->path());
    show_loaded_draws();
    offer_kept_draws();
}

void frmLotto::cmdDiscardUnsaved_Click() {
    if (!QFile::remove(unsaved_->path()) && QFileInfo::exists(unsaved_->path()))
        message(QStringLiteral("The kept draws in %1 could not be deleted.")
                    .arg(QDir::toNativeSeparators(unsaved_->path())));
    offer_kept_draws();
}

void frmLotto::build_parameters(QWidget* side) {
    LabelMaker label;
    // One grid for the whole side, so the labels above and below the prizes line up.
    auto* form = new QGridLayout(side);
    form->setContentsMargins(0, 0, 0, 0);
    form->setColumnStretch(1, 1);
    cmbName_ = make_combo("cmbName", side);
    cmbPlayN_ = make_combo("cmbPlayN", side);
    cmbPickN_ = make_combo("cmbPickN", side);
    add_field(form, 0, label(QStringLiteral("Name"), side), cmbName_);
    add_field(form, 1, label(QStringLiteral("N of Playing Numbers"), side), cmbPlayN_);
    add_field(form, 2, label(QStringLiteral("N of Picking Numbers"), side), cmbPickN_);

    auto* prizes = new QGroupBox(QStringLiteral("Average Payout Prizes"), side);
    prizes->setObjectName(QStringLiteral("fraPrizes"));
    auto* grid = new QGridLayout(prizes);
    grid->setHorizontalSpacing(8);
    static const char* const names[] = {"txt2PR",  "txt2PRB", "txt3PR",  "txt3PRB", "txt4PR",
                                        "txt4PRB", "txt5PR",  "txt5PRB", "txt6PR",  "txt6PRB"};
    static const char* const captions[] = {"2 numbers ", "2+bonus",   "3 numbers", "3+bonus",   "4 numbers",
                                           "4+bonus",    "5 numbers", "5+bonus",   "6 numbers", "6+bonus"};
    static const char* const texts[] = {"0", "0", "10", "0", "80", "0", "2000", "10000", "1000000", "0"};
    for (int i = 0; i < 10; ++i) {
        const int row = i / 2, bonus = i % 2;
        const QString caption = QLatin1String(captions[i]);
        money_[i] = make_edit(names[i], QLatin1String(texts[i]), prizes);
        add_field(grid, row, label(caption, prizes), money_[i], {}, bonus * 2);
    }
    grid->setColumnMinimumWidth(2, 60);
    form->addWidget(prizes, 3, 0, 1, 2);

    txtCost_ = make_edit("txtCost", QStringLiteral("1"), side);
    txtCurrency_ = make_edit("txtCurrency", QStringLiteral("$"), side);
    txtCurrency_->setMaximumWidth(60);
    money_[10] = txtCost_;
    add_field(form, 4, label(QStringLiteral("Cost of a one play"), side), txtCost_);
    add_field(form, 5, label(QStringLiteral("Currency"), side), txtCurrency_, Qt::AlignLeft);
    form->setRowStretch(6, 1);

    auto* buttons = new QHBoxLayout;
    cmdLottoCreate_ = make_button("cmdLottoCreate", QStringLiteral("Create"), side);
    cmdLottoEdit_ = make_button("cmdLottoEdit", QStringLiteral("Edit"), side);
    cmdLottoSave_ = make_button("cmdLottoSave", QStringLiteral("Save"), side);
    for (QPushButton* b : {cmdLottoCreate_, cmdLottoEdit_, cmdLottoSave_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    form->addLayout(buttons, 7, 0, 1, 2);

    connect(cmbName_, &QComboBox::activated, this, &frmLotto::cmbName_Click);
    connect(cmdLottoCreate_, &QPushButton::clicked, this, &frmLotto::cmdLottoCreate_Click);
    connect(cmdLottoEdit_, &QPushButton::clicked, this, &frmLotto::cmdLottoEdit_Click);
    connect(cmdLottoSave_, &QPushButton::clicked, this, &frmLotto::cmdLottoSave_Click);
}

void frmLotto::build_draws(QWidget* side) {
    auto* layout = new QVBoxLayout(side);

    doc_.release_draws();
    draws_ = new GridModel(doc_.draws(), this);
    draws_->set_col_width(draws_col::date, date_col_width);
    draws_->set_col_width(draws_col::serial, 0);
    draws_->set_col_width(draws_col::bonus, bonus_col_width);
    const int half = static_cast<int>(std::nearbyint(date_col_width / 2.0));
    for (int c = draws_col::n1; c < draws_col::n1 + 6; ++c)
        draws_->set_col_width(c, half);
    msfDraws_ = new GridView(side);
    msfDraws_->setObjectName(QStringLiteral("msfDraws"));
    msfDraws_->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfDraws_->set_keys_select_rows(true);
    msfDraws_->set_grid(draws_);
    // A date is never cut short, whatever the font: the draws are too many to measure each.
    msfDraws_->set_min_texts(draws_col::date,
                             {QStringLiteral("0000-00-00"), date_to_text(QDate(2000, 12, 28))});
    unsaved_ = new KeptEditsBar(side);
    connect(unsaved_, &KeptEditsBar::restore_clicked, this, &frmLotto::cmdRestoreUnsaved_Click);
    connect(unsaved_, &KeptEditsBar::discard_clicked, this, &frmLotto::cmdDiscardUnsaved_Click);
    layout->addWidget(unsaved_);
    layout->addWidget(msfDraws_, 1);

    auto* entry = new QGridLayout;
    entry->setHorizontalSpacing(6);
    static const char* const names[] = {"txtDate", "txtN1", "txtN2", "txtN3",
                                        "txtN4",   "txtN5", "txtN6", "txtNB"};
    for (int i = 0; i < draw_text_count; ++i) {
        const QString caption = i == 0   ? QStringLiteral("Date")
                                : i == 7 ? QStringLiteral("N Bonus")
                                         : QStringLiteral("N%1").arg(i);
        QLabel* l = LabelMaker(16 + i)(caption, side);
        entry_[i] = make_edit(names[i], i == 0 ? QString() : QStringLiteral("0"), side);
        entry_[i]->setFixedWidth(i == 0 ? 110 : i == 7 ? 60 : 44);
        entry->addWidget(l, 0, i);
        entry->addWidget(entry_[i], 1, i);
    }
    entry->setColumnStretch(draw_text_count, 1);
    layout->addLayout(entry);

    auto* buttons = new QHBoxLayout;
    cmdImport_ = make_button("cmdImport", QStringLiteral("Import..."), side);
    cmdExport_ = make_button("cmdExport", QStringLiteral("Export..."), side);
    cmdCheck_ = make_button("cmdCheck", QStringLiteral("Check"), side);
    for (QPushButton* b : {cmdImport_, cmdExport_, cmdCheck_})
        buttons->addWidget(b);
    cmdDrawNew_ = make_button("cmdDrawNew", QStringLiteral("New"), side);
    cmdAdd_ = make_button("cmdAdd", QStringLiteral("Add"), side);
    cmdDrawSave_ = make_button("cmdDrawSave", QStringLiteral("Save"), side);
    buttons->addStretch(1);
    for (QPushButton* b : {cmdDrawNew_, cmdAdd_, cmdDrawSave_})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(msfDraws_, &GridView::grid_clicked, this, &frmLotto::msfDraws_Click);
    connect(cmdDrawNew_, &QPushButton::clicked, this, &frmLotto::cmdDrawNew_Click);
    connect(cmdAdd_, &QPushButton::clicked, this, &frmLotto::cmdAdd_Click);
    connect(cmdDrawSave_, &QPushButton::clicked, this, &frmLotto::cmdDrawSave_Click);
    connect(cmdImport_, &QPushButton::clicked, this, &frmLotto::cmdImport_Click);
    connect(cmdExport_, &QPushButton::clicked, this, &frmLotto::cmdExport_Click);
    connect(cmdCheck_, &QPushButton::clicked, this, &frmLotto::cmdCheck_Click);
}

void frmLotto::set_tab_order() {
    // Down the plain prizes, then down the bonus prizes.
    std::vector<QWidget*> order{cmbName_, cmbPlayN_, cmbPickN_};
    for (int i = 0; i < 10; i += 2)
        order.push_back(money_[i]);
    for (int i = 1; i < 10; i += 2)
        order.push_back(money_[i]);
    order.insert(order.end(),
                 {txtCost_, txtCurrency_, cmdLottoCreate_, cmdLottoEdit_, cmdLottoSave_, msfDraws_});
    order.insert(order.end(), entry_.begin(), entry_.end());
    order.insert(order.end(), {cmdImport_, cmdExport_, cmdCheck_, cmdDrawNew_, cmdAdd_, cmdDrawSave_});
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void frmLotto::Form_Load() {
    for (int n = 20; n <= 90; ++n)
        cmbPlayN_->addItem(QString::number(n));
    for (int n = 3; n <= 6; ++n)
        cmbPickN_->addItem(QString::number(n));
    cmbPlayN_->setEditText(QString());
    cmbPickN_->setEditText(QString());

    lotto_dir_ = lotto_dir(ctx_.session.app_dir) + u'/';
    QDir().mkpath(lotto_dir_);
    fill_list();
}

// Lists the lottos under lotto_dir in cmbName (keeping its text) and sets the edit mode.
void frmLotto::fill_list() {
    const QString text = cmbName_->currentText();
    const QStringList names = list_lottos(lotto_dir_);
    cmbName_->clear();
    cmbName_->addItems(names);
    cmbName_->setCurrentIndex(-1);
    cmbName_->setEditText(text);
    LottoEditMode(names.isEmpty() ? 1 : 0);
}

void frmLotto::LottoEditMode(int mode) {
    for (QPushButton* b : {cmdLottoCreate_, cmdLottoEdit_, cmdLottoSave_})
        b->setEnabled(true);
    if (mode == 0) {
        cmdLottoSave_->setEnabled(false);
    } else if (mode == 1) {
        cmdLottoEdit_->setEnabled(false);
        cmdLottoSave_->setEnabled(false);
    } else if (mode == 2) {
        cmdLottoCreate_->setEnabled(false);
        cmdLottoEdit_->setEnabled(false);
    }
}

// A lotto name becomes a folder name: refuse what would leave the Lto folder or be no name.
bool frmLotto::lotto_name_ok() {
    const QString name = cmbName_->currentText();
    if (name.isEmpty() || !is_safe_folder_name(name)) {
        message(name.isEmpty() ? msg_type_data : msg_data_not_correct);
        cmbName_->setFocus();
        return false;
    }
    return true;
}

void frmLotto::emty_lotto() {
    for (QComboBox* box : {cmbName_, cmbPlayN_, cmbPickN_})
        box->setEditText(QString());
    static const char* const texts[] = {"0",    "0",     "10",      "0", "100", "0",
                                        "1000", "10000", "1000000", "0", "1"};
    for (size_t i = 0; i < money_.size(); ++i)
        money_[i]->setText(QLatin1String(texts[i]));
}

void frmLotto::cmbName_Click() {
    if (!lotto_name_ok())
        return;
    // The table is replaced: its unsaved draws are kept aside, to be offered at their next load.
    keep_unsaved_draws(doc_, ctx_.session.app_dir);
    // Parameters that do not read release the table: it would otherwise go on showing the last
    // lotto's draws under this name.
    const LottoDocument::Open opened =
        doc_.open(join_path(lotto_dir_, cmbName_->currentText()), cmbName_->currentText());
    if (!opened.chosen()) {
        message(opened.message());
        return;
    }
    const LottoParams& params = doc_.params();
    const ParamTexts texts = params_to_texts(params);
    cmbPlayN_->setEditText(texts[0]);
    cmbPickN_->setEditText(texts[1]);
    for (size_t i = 0; i < money_.size(); ++i)
        money_[i]->setText(texts[i + 2]);
    // Shown so that a later Save keeps the stored currency instead of whatever the box held; a
    // record without one leaves the box as it was, which a Save requires filled.
    if (!params.currency.isEmpty())
        txtCurrency_->setText(params.currency);
    draws_->set_col(draws_col::serial);
    offer_kept_draws();
    if (opened.status != LottoDocument::Open::opened) {
        message(opened.message());
        return;
    }
    show_loaded_draws();
    LottoEditMode(0);
}

// The latest draw in the boxes and highlighted in the table. The current draw stays what was last
// selected or added: loading a lotto selects no draw.
void frmLotto::show_loaded_draws() {
    // With no draw at all the boxes start empty and current row 0 keeps Add off the header row.
    if (doc_.current_row() >= 1)
        show_draw(draw_row_texts(doc_.draws(), doc_.current_row()));
    else
        show_draw({QString(), "0", "0", "0", "0", "0", "0", "0"});
    show_sel_row();
}

void frmLotto::cmdLottoCreate_Click() {
    emty_lotto();
    LottoEditMode(2);
    const auto name =
        ctx_.dialogs.input(this, QStringLiteral("Please, type the name"), QStringLiteral("Name"), QString());
    cmbName_->setEditText(name.value_or(QString()));
}

void frmLotto::cmdLottoEdit_Click() {
    LottoEditMode(2);
}

void frmLotto::cmdLottoSave_Click() {
    for (QWidget* box :
         std::initializer_list<QWidget*>{cmbName_, cmbPlayN_, cmbPickN_, txtCost_, txtCurrency_}) {
        const auto* combo = qobject_cast<QComboBox*>(box);
        if ((combo ? combo->currentText() : static_cast<QLineEdit*>(box)->text()).isEmpty()) {
            message(msg_type_data);
            box->setFocus();
            return;
        }
    }
    if (!lotto_name_ok())
        return;

    LottoParams lotto = doc_.params();
    ParamTexts texts;
    texts[0] = cmbPlayN_->currentText();
    texts[1] = cmbPickN_->currentText();
    for (size_t i = 0; i < money_.size(); ++i)
        texts[i + 2] = money_[i]->text();
    const int bad = texts_to_params(texts, lotto);
    // What was converted before a box failed stays the lotto's, as the boxes read.
    doc_.set_params(lotto);
    if (bad >= 0) {
        message(msg_data_not_correct);
        (bad == 0 ? cmbPlayN_ : bad == 1 ? static_cast<QWidget*>(cmbPickN_) : money_[bad - 2])->setFocus();
        return;
    }
    lotto.currency = txtCurrency_->text();
    doc_.set_params(lotto);

    const QString name = cmbName_->currentText();
    const QString folder = join_path(lotto_dir_, name);
    // A record that cannot be encoded (a long currency) fails before any folder is made.
    const QString param_path = join_path(folder, QLatin1String(param_file_name));
    if (!may_save_over(doc_.params_stamp(), param_path))
        return;
    bool stored = encode_params(lotto) && QDir().mkpath(folder);
    if (stored) {
        doc_.set_name(name);
        stored = doc_.save_params(folder, lotto);
    }
    if (!stored) {
        message(msg_data_not_correct);
        txtCost_->setFocus();
        return;
    }
    fill_list();
    const int index = cmbName_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        cmbName_->setCurrentIndex(index);
    // The lotto saved is the current one, draws included: a table of another lotto's draws (left
    // by Create) gives way to this lotto's, from its file or none yet, and is kept aside first
    // when it holds unsaved edits. Draws typed before any lotto was loaded stay for its first Save.
    if (doc_.draws_lotto() != name && (!doc_.draws_lotto().isEmpty() || doc_.draws().rows() <= 1)) {
        keep_unsaved_draws(doc_, ctx_.session.app_dir);
        if (doc_.load_draws(folder, name) == LottoDocument::Load::no_file)
            doc_.set_current_row(0);
        draws_->set_col(draws_col::serial);
        show_loaded_draws();
        offer_kept_draws();
    }
}

DrawTexts frmLotto::draw_texts() const {
    DrawTexts texts;
    for (int i = 0; i < draw_text_count; ++i)
        texts[i] = entry_[i]->text();
    return texts;
}

void frmLotto::show_draw(const DrawTexts& texts) {
    for (int i = 0; i < draw_text_count; ++i)
        entry_[i]->setText(texts[i]);
}

void frmLotto::empty_draw() {
    DrawTexts texts;
    texts.fill(QStringLiteral("0"));
    texts[0] = date_to_text(ctx_.session.today());
    show_draw(texts);
}

void frmLotto::cmdDrawNew_Click() {
    empty_draw();
    draws_->append_rows({QStringList(draws_col::count, QString())});
    doc_.set_current_row(draws_->rows() - 1);
    show_sel_row();
}

// The grid's current row is the draw the boxes belong to, so keyboard use starts there; the
// current column stays the hidden serial column.
void frmLotto::show_sel_row() {
    const int row = doc_.current_row();
    if (row >= 1 && row < draws_->rows())
        msfDraws_->setCurrentIndex(msfDraws_->model()->index(row - draws_->fixed_rows(), draws_col::serial));
    msfDraws_->scrollToBottom();
}

void frmLotto::Check_draw(QString& er_tp, DrawRec& draw) {
    const DrawCheck check = check_draw(draw_texts(), ctx_.session.lotto.params().play_n);
    if (check.fault == DrawFault::none) {
        er_tp.clear();
        draw = check.draw;
        return;
    }
    er_tp = draw_box_label(check.box);
    QLineEdit* box = entry_[check.box];
    if (check.fault == DrawFault::out_of_range) {
        box->setFocus();
        message(msg_data_not_correct);
        return;
    }
    message(check.fault == DrawFault::empty ? msg_type_data : msg_data_not_correct);
    box->setFocus();
}

void frmLotto::cmdAdd_Click() {
    QString er_tp;
    DrawRec draw;
    Check_draw(er_tp, draw);
    if (!er_tp.isEmpty())
        return;
    doc_.set_current_draw(draw);
    // The table shows what the file will hold, so a text the file cannot hold is not kept as typed.
    const DrawTexts texts = storable_draw_texts(draw_texts(), draw);
    show_draw(texts);
    const int row = doc_.current_row();
    if (row >= 1 && row <= draws_->rows() - 1)
        set_draw_row_texts(doc_.draws(), row, texts);
}

void frmLotto::cmdDrawSave_Click() {
    // An empty name would write draws.txt straight into the Lto folder.
    if (!lotto_name_ok())
        return;
    const QString name = cmbName_->currentText();
    const QString folder = join_path(lotto_dir_, name);
    const QString path = join_path(folder, QLatin1String(draws_file_name));
    if (const auto may = doc_.may_save(folder, name); may != LottoDocument::Save::saved) {
        message(may == LottoDocument::Save::unread ? msg_draws_unread : msg_draws_not_loaded);
        return;
    }
    if (!QDir().mkpath(folder)) {
        message(msg_data_not_correct);
        return;
    }
    draws_->set_col(draws_col::serial);
    // The current row follows its draw through the sort, so a later Add still writes the draw
    // the boxes show.
    if (!doc_.sort()) {
        message(
            QStringLiteral("The data was not saved. Not correct date was found. Please correct the date"));
        return;
    }
    if (!may_save_over(doc_.draws_stamp(), path))
        return;
    if (doc_.write_draws(folder, name) != LottoDocument::Save::saved)
        message(msg_data_not_correct);
}

void frmLotto::msfDraws_Click() {
    const int r = draws_->row_sel();
    if (r < 1 || r > draws_->rows() - 1) {
        message(QStringLiteral("Please select a correct row"));
        return;
    }
    doc_.set_current_row(r);
    const DrawTexts texts = draw_row_texts(doc_.draws(), r);
    show_draw(texts);
    DrawRec draw = doc_.current_draw();
    const bool read = texts_to_draw(texts, draw);
    doc_.set_current_draw(draw);
    if (!read)
        message(QStringLiteral("In the selected row not correct data"));
}

// Import, export and check work on the table of the lotto that was loaded, unsaved draws included.
bool frmLotto::has_loaded_lotto() {
    const QString& table_lotto = doc_.draws_lotto();
    if (!table_lotto.isEmpty() && table_lotto == doc_.name() && cmbName_->currentText() == table_lotto)
        return true;
    message(msg_select_lotto);
    cmbName_->setFocus();
    return false;
}

// The table's draws by date; a row being typed, or one with a slip in it, is no draw to compare
// with or to export.
std::vector<DrawRec> frmLotto::sorted_table_draws() const {
    std::vector<DrawRec> draws;
    table_draws(doc_.draws(), draws);
    sort_stable(draws.begin(), draws.end(),
                [](const DrawRec& a, const DrawRec& b) { return a.date < b.date; });
    return draws;
}

void frmLotto::cmdImport_Click() {
    if (!has_loaded_lotto())
        return;
    auto* dialog = new frmImport(ctx_, ctx_.session.lotto.params(), sorted_table_draws(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { take_imported(dialog->result()); });
    dialog->open();
    // A file chosen straight away saves a step: the dialog opens on it.
    dialog->cmdBrowse_Click();
}

// The new draws join the table at their dates, as typed ones would; Save writes them.
void frmLotto::take_imported(const ImportResult& result) {
    if (result.added.empty())
        return;
    if (!doc_.append_draws(result.added))
        message(QStringLiteral("Not correct dates"));
    show_sel_row();
}

void frmLotto::cmdExport_Click() {
    if (!has_loaded_lotto())
        return;
    const auto path = ctx_.dialogs.save_file(this, QStringLiteral("Export Draws"),
                                             doc_.draws_lotto() + QStringLiteral(".csv"),
                                             QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!path || refuse_export_target(*path))
        return;
    const QString csv = export_draws_csv(sorted_table_draws(), ctx_.session.lotto.params().pick_n);
    if (!write_export_file(*path, csv.toUtf8()))
        message(msg_data_not_correct);
}

void frmLotto::cmdCheck_Click() {
    if (!has_loaded_lotto())
        return;
    const std::vector<DrawRec> draws = sorted_table_draws();
    const HistoryCheck check = check_history(draws);
    QStringList lines = history_check_lines(check, draws, ctx_.session.lotto.params().pick_n);
    lines << check_summary(check, draws);
    auto* report = new frmCheckReport(lines, this);
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->show();
}
