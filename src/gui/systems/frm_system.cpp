#include "gui/systems/frm_system.h"

#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/session/session.h"
#include "core/systems/system_expansion.h"
#include "core/wheels/designed_systems.h"
#include "gui/systems/frm_system_print.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/report_printer.h"
#include "gui/toolkit/window_names.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Design widths of the results grid's header columns, in twips: wide enough for their texts.
constexpr int results_head_width = 1700;
constexpr int results_minmax_width = 640;

// The date of the set's current row, the row the numbers come from.
QString row_date(const Session& s) {
    const TextTable& rows = s.tset.rows();
    const int row = s.tset.current_row();
    return row >= rows.fixed_rows() && row < rows.rows() ? rows.text(row, 0).trimmed() : QString();
}

QString numbers_text(const Session& s) {
    QStringList numbers;
    for (int i = 1; i <= s.tset.size() && i < static_cast<int>(s.tset.numbers().size()); ++i)
        numbers << QString::number(s.tset.numbers()[i]);
    return numbers.join(u' ');
}

} // namespace

frmSystem::frmSystem(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::system, QStringLiteral("Systems"), QStringLiteral("system.htm"),
                    parent) {
    resize(860, 600);

    auto* central = new QWidget(this);
    auto* page = new QVBoxLayout(central);
    page->setContentsMargins(12, 10, 12, 12);
    page->setSpacing(10);

    LabelMaker label;
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setColumnStretch(2, 1);
    lblLotto_ = make_label("lblLotto", QStringLiteral("Not selected"), central);
    lblTset_ = make_label("lblTset", QStringLiteral("Not selected"), central);
    cmbList_ = make_combo("cmbList", central);
    cmbList_->setMinimumWidth(130);
    cmbList_->setMaxVisibleItems(20);
    lblNote_ = make_label("lblNote", QString(), central);
    lblNote_->setWordWrap(true);
    // Room for two lines, so the window does not jump when a note comes or goes.
    lblNote_->setMinimumHeight(2 * lblNote_->fontMetrics().lineSpacing());
    lblCost_ = make_label("lblCost", QStringLiteral("0"), central);
    add_field(form, 0, label(QStringLiteral("Lotto"), central), lblLotto_, {}, 0, 2);
    add_field(form, 1, label(QStringLiteral("Targeted Set"), central), lblTset_, {}, 0, 2);
    add_field(form, 2, label(QStringLiteral("System"), central), cmbList_);
    form->addWidget(lblNote_, 2, 2);
    page->addLayout(form);

    // A window opened afresh shows no tickets until a system is picked.
    ctx_.session.system.expanded().set_rows(0);
    system_ = new GridModel(ctx_.session.system.expanded(), this);
    system_->set_cols(2);
    system_->set_rows(1);
    system_->set_fixed_rows(1);
    system_->set_col_width(0, 600);
    system_->set_col_width(1, 1500);
    msfSystem_ = new GridView(central);
    msfSystem_->setObjectName(QStringLiteral("msfSystem"));
    msfSystem_->set_grid(system_);
    msfSystem_->setMinimumWidth(220);

    results_ = new GridModel(this);
    msfResults_ = new GridView(central);
    msfResults_->setObjectName(QStringLiteral("msfResults"));
    msfResults_->set_grid(results_);
    // Two header rows of 2 and 3 rows' height over ten rows: the grid is never taller than that.
    msfResults_->setFixedHeight(15 * msfResults_->verticalHeader()->defaultSectionSize() +
                                2 * msfResults_->frameWidth() + 2);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(16);
    auto* tickets = new QVBoxLayout;
    auto* cost = new QHBoxLayout;
    cost->addWidget(LabelMaker(5)(QStringLiteral("Cost of the system"), central));
    cost->addWidget(lblCost_);
    cost->addStretch(1);
    tickets->addLayout(cost);
    tickets->addWidget(msfSystem_, 1);
    columns->addLayout(tickets, 2);

    auto* results = new QVBoxLayout;
    results->addWidget(LabelMaker(4)(QStringLiteral("Guaranteed Results"), central));
    results->addWidget(msfResults_);
    results->addStretch(1);
    auto* buttons = new QHBoxLayout;
    cmdPrint_ = make_button("cmdPrint", QStringLiteral("Print System"), central);
    buttons->addStretch(1);
    buttons->addWidget(cmdPrint_);
    results->addLayout(buttons);
    columns->addLayout(results, 3);
    page->addLayout(columns, 1);
    setCentralWidget(central);

    setTabOrder(cmbList_, msfSystem_);
    setTabOrder(msfSystem_, msfResults_);
    setTabOrder(msfResults_, cmdPrint_);
    connect(cmbList_, &QComboBox::activated, this, &frmSystem::cmbList_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmSystem::cmdPrint_Click);

    Form_Load();
}

void frmSystem::Form_Load() {
    fill_list();
    const Session& s = ctx_.session;
    if (s.tset.name().isEmpty()) {
        message(msg_select_tset);
        ctx_.windows.show(window_name::tsets);
        return;
    }
    lblTset_->setText(s.tset.name());
    if (s.lotto.name().isEmpty()) {
        message(msg_select_lotto);
        ctx_.windows.show(window_name::lotto);
    } else {
        lblLotto_->setText(s.lotto.name());
    }
}

void frmSystem::fill_list() {
    cmbList_->addItems(system_choices(ctx_.session.app_dir));
    cmbList_->setCurrentIndex(-1);
    cmbList_->setEditText(QStringLiteral("Select "));
}

void frmSystem::cmbList_Click() {
    if (!fill_results())
        return;
    ctx_.session.system.set_name(cmbList_->currentText());
    fill_system();
}

bool frmSystem::fill_results() {
    Session& s = ctx_.session;
    const QString choice = cmbList_->currentText().trimmed();
    if (designed_name_of_choice(choice).isEmpty()) {
        s.system.read_results(choice);
    } else {
        SystemLookup played = find_played_system(choice, s.app_dir);
        if (!played.system) {
            message(played.error);
            return false;
        }
        s.system.read_played(std::move(*played.system));
    }
    fill_results_grid(results_->table(), s.system.guar_min(), s.system.guar_max());
    results_->set_row_height(0, 2 * results_->row_height(4));
    results_->set_row_height(1, 3 * results_->row_height(4));
    results_->set_col(0);
    results_->set_col_width(0, results_head_width);
    results_->set_col_width(1, results_minmax_width);
    return true;
}

void frmSystem::fill_system() {
    Session& s = ctx_.session;
    const QString name = cmbList_->currentText().trimmed();
    const PlayedSystem& played = s.system.played();
    const SystemShape shape = played.designed ? SystemShape{played.v, 0, played.m} : system_shape(name);
    if (!system_fits(shape, s.tset.size(), s.lotto.params().pick_n)) {
        // Without a word the results of this system would stand beside another one's tickets.
        lblNote_->setText(misfit_note(name, shape, expanded_.system));
        return;
    }
    lblNote_->clear();
    if (!played.designed)
        s.system.read_tickets(name);
    if (s.tset.numbers()[1] <= 0) {
        message(QStringLiteral("Please, select the targeted set on the form 'Tsets'"));
        return;
    }
    if (played.designed)
        fill_played_grid(system_->table(), played, s.tset.numbers());
    else
        fill_system_grid(system_->table(), s.system.tickets(), s.tset.size(), shape.m, s.tset.numbers());
    lblCost_->setText(system_cost_text(system_->rows() - 1, s.lotto.params().cost));
    expanded_ = {name,
                 s.lotto.name(),
                 s.tset.name(),
                 row_date(s),
                 numbers_text(s),
                 lblCost_->text(),
                 grid_rows(*results_)};
    if (const auto saved = s.system.save_file(s.app_dir); !saved.ok())
        message(saved.message);
}

void frmSystem::cmdPrint_Click() {
    if (expanded_.system.isEmpty()) {
        message(QStringLiteral("There are no tickets to print: please pick a system first."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(expanded_.system);
    if (!ctx_.dialogs.choose_printer(this, printer))
        return;
    if (print_pages(printer, printout()) == 0)
        message(msg_data_not_correct);
}

Printout frmSystem::printout() const {
    Printout doc;
    doc.title = QStringLiteral("System %1").arg(expanded_.system);
    doc.header << QStringLiteral("Lotto: %1").arg(expanded_.lotto)
               << (expanded_.date.isEmpty()
                       ? QStringLiteral("Targeted Set: %1   %2").arg(expanded_.tset, expanded_.numbers)
                       : QStringLiteral("Targeted Set: %1   row of %2: %3")
                             .arg(expanded_.tset, expanded_.date, expanded_.numbers))
               << QStringLiteral("Cost of the system: %1").arg(expanded_.cost);
    doc.items.reserve(system_->rows() - 1);
    for (int r = 1; r < system_->rows(); ++r)
        doc.items << system_->text(r, 0) + u'\t' + system_->text(r, 1);
    doc.table_title = QStringLiteral("Guaranteed Results");
    doc.table = expanded_.results;
    doc.table_fixed_rows = 2;
    doc.table_fixed_cols = 2;
    return doc;
}
