#include "gui/systems/frm_system.h"

#include "core/base/file_names.h"
#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/session/session.h"
#include "core/systems/system_expansion.h"
#include "core/wheels/designed_systems.h"
#include "core/wheels/designed_wheels.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/report_printer.h"
#include "gui/toolkit/results_grid.h"
#include "gui/toolkit/ticket_printout.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <optional>

namespace {

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

    const auto [central, page] = window_page<QVBoxLayout>(this, 10);

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
    // A shipped designed wheel that gives a catalogue system's guarantee with fewer tickets.
    auto* designed = new QHBoxLayout;
    lblDesignedSaves_ = make_label("lblDesignedSaves", QString(), central);
    lblDesignedSaves_->setWordWrap(true);
    cmdDesignedWheel_ = make_button("cmdDesignedWheel", QStringLiteral("E&xpand Designed Wheel"), central);
    QSizePolicy keep = cmdDesignedWheel_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    cmdDesignedWheel_->setSizePolicy(keep);
    cmdDesignedWheel_->hide();
    designed->addWidget(lblDesignedSaves_, 1);
    designed->addWidget(cmdDesignedWheel_);
    page->addLayout(designed);

    // A window opened afresh shows no tickets until a system is picked.
    ctx_.session.system.expanded().set_rows(0);
    system_ = new GridModel(ctx_.session.system.expanded(), this);
    msfSystem_ = make_tickets_view(system_, "msfSystem", central);

    results_ = new GridModel(this);
    msfResults_ = make_results_view(results_, central);

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
    cmdDesigner_ = make_button("cmdDesigner", QStringLiteral("Wheel &Designer"), central);
    buttons->addWidget(cmdDesigner_);
    buttons->addStretch(1);
    buttons->addWidget(cmdPrint_);
    results->addLayout(buttons);
    columns->addLayout(results, 3);
    page->addLayout(columns, 1);
    setCentralWidget(central);

    setTabOrder(cmbList_, msfSystem_);
    setTabOrder(msfSystem_, msfResults_);
    setTabOrder(msfResults_, cmdPrint_);
    // The new buttons after the ones that always were, so that their order stays.
    setTabOrder(cmdPrint_, cmdDesignedWheel_);
    setTabOrder(cmdDesignedWheel_, cmdDesigner_);
    connect(cmbList_, &QComboBox::activated, this, &frmSystem::cmbList_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmSystem::cmdPrint_Click);
    connect(cmdDesigner_, &QPushButton::clicked, this, &frmSystem::cmdDesigner_Click);
    connect(cmdDesignedWheel_, &QPushButton::clicked, this, &frmSystem::cmdDesignedWheel_Click);
    connect(&ctx_.session, &Session::designed_systems_changed, this, &frmSystem::refresh_list);

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

// A designed system saved while the window is open joins the list; what the box shows stays.
void frmSystem::refresh_list() {
    const QStringList choices = system_choices(ctx_.session.app_dir);
    const QString text = cmbList_->currentText();
    const bool picked = cmbList_->currentIndex() >= 0;
    const QSignalBlocker quiet(cmbList_);
    cmbList_->clear();
    cmbList_->addItems(choices);
    cmbList_->setCurrentIndex(picked ? cmbList_->findText(text) : -1);
    if (cmbList_->currentIndex() < 0)
        cmbList_->setEditText(text);
}

void frmSystem::cmbList_Click() {
    if (!fill_results())
        return;
    ctx_.session.system.set_name(cmbList_->currentText());
    fill_system();
    show_designed_saving();
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
    show_results_grid();
    return true;
}

void frmSystem::show_results_grid() {
    show_guar_results(*results_, ctx_.session.system.guar_min(), ctx_.session.system.guar_max());
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

void frmSystem::cmdDesigner_Click() {
    ctx_.windows.show(window_name::wheel_designer);
}

namespace {

// The shipped designed wheel with a catalogue system's guarantee, when it has fewer tickets.
struct Saving {
    ShippedWheel wheel;
    int catalogue_tickets = 0;
};
std::optional<Saving> designed_saving(const QString& name) {
    const auto catalogue = catalogue_system(name);
    if (!catalogue)
        return std::nullopt;
    const SystemShape shape = system_shape(name);
    auto wheel = shipped_wheel({shape.v, shape.m, shape.t, shape.t});
    if (!wheel || static_cast<int>(wheel->tickets.size()) >= catalogue->ticket_count())
        return std::nullopt;
    return Saving{std::move(*wheel), catalogue->ticket_count()};
}

} // namespace

void frmSystem::show_designed_saving() {
    const auto saving = designed_saving(cmbList_->currentText().trimmed());
    cmdDesignedWheel_->setVisible(saving.has_value());
    lblDesignedSaves_->setText(
        saving ? QStringLiteral("A designed wheel gives the same guarantee with %1 tickets instead of %2.")
                     .arg(saving->wheel.tickets.size())
                     .arg(saving->catalogue_tickets)
               : QString());
}

void frmSystem::cmdDesignedWheel_Click() {
    const QString name = cmbList_->currentText().trimmed();
    auto saving = designed_saving(name);
    if (!saving)
        return;
    Session& s = ctx_.session;
    const WheelParams& shape = saving->wheel.shape;
    if (!system_fits(SystemShape{static_cast<int16_t>(shape.v), 0, static_cast<int16_t>(shape.k)},
                     s.tset.size(), s.lotto.params().pick_n)) {
        lblNote_->setText(misfit_note(name, system_shape(name), expanded_.system));
        return;
    }
    const QString designed = QStringLiteral("%1 (designed wheel)").arg(name);
    s.system.read_played(designed_system(designed, shape.v, shape.k, saving->wheel.tickets));
    show_results_grid();
    s.system.set_name(designed);
    fill_system();
    if (expanded_.system == name)
        expanded_.system = designed;
}
