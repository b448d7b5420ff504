#include "gui/analyses/frm_fability.h"

#include "core/analyses/fability.h"
#include "core/base/convert.h"
#include "core/base/messages.h"
#include "core/session/session.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmFability::frmFability(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::fability, QStringLiteral("Forecasting Abilities"),
                    QStringLiteral("fa.htm"), parent) {
    resize(560, 440);

    const auto [central, layout] = window_page<QVBoxLayout>(this);
    LabelMaker label;

    auto* top = new QHBoxLayout;
    auto* period = new QGroupBox(QStringLiteral(" Period"), central);
    period->setObjectName(QStringLiteral("fraSelectedDraws"));
    auto* dates = new QGridLayout(period);
    txtFrom_ = make_edit("txtFrom", QString(), period);
    txtTo_ = make_edit("txtTo", QString(), period);
    add_field(dates, 0, label(QStringLiteral("From"), period), txtFrom_);
    add_field(dates, 1, label(QStringLiteral("To"), period), txtTo_);
    top->addWidget(period, 1);

    auto* info = new QGridLayout;
    info->setHorizontalSpacing(12);
    lblLotto_ = make_value("lblLotto", QStringLiteral("Not Selected"), central);
    lblTSetName_ = make_value("lblTSetName", QStringLiteral("Not Selected"), central);
    lblTSetSize_ = make_value("lblTSetSize", QStringLiteral("Not Selected"), central);
    const std::pair<const char*, QLabel*> rows[] = {
        {"Lotto", lblLotto_}, {"TSet Name", lblTSetName_}, {"TSet Size", lblTSetSize_}};
    int r = 0;
    for (const auto& [caption, box] : rows)
        add_field(info, r++, label(QLatin1String(caption), central), box);
    info->setColumnStretch(1, 1);
    top->addSpacing(16);
    top->addLayout(info, 1);
    layout->addLayout(top);

    fa_ = new GridModel(ctx_.session.fa_table, this);
    lay_out_fa_grid(fa_->table(), 1, QStringLiteral("Forecasting Abilities"));
    fa_->set_col_width(0, 1200);
    fa_->set_col_width(1, 2400);
    msfFA_ = new GridView(central);
    msfFA_->setObjectName(QStringLiteral("msfFA"));
    msfFA_->set_grid(fa_);
    // All ten classes in view, whatever the font.
    msfFA_->setMinimumHeight(msfFA_->full_height(fa_class_rows));
    layout->addWidget(msfFA_, 1);

    cmdRefresh_ = make_button("cmdRefresh", QStringLiteral("Refresh"), central);
    // How many draws the factors rest on: all-1 factors from no draw at all are no neutral forecast.
    lblDrawsEvaluated_ = make_value("lblDrawsEvaluated", QString(), central);
    lblDrawsEvaluated_->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblDrawsEvaluated_, 1);
    buttons->addWidget(cmdRefresh_);
    layout->addLayout(buttons);
    setCentralWidget(central);

    setTabOrder(txtFrom_, txtTo_);
    setTabOrder(txtTo_, cmdRefresh_);
    setTabOrder(cmdRefresh_, msfFA_);
    connect(cmdRefresh_, &QPushButton::clicked, this, &frmFability::cmdRefresh_Click);
    // Enter in a date box recalculates, as Refresh would.
    for (QLineEdit* box : {txtFrom_, txtTo_})
        connect(box, &QLineEdit::returnPressed, this, &frmFability::cmdRefresh_Click);

    Form_Load();
}

frmFability::~frmFability() {
    fa_->table().set_rows(0);
}

void frmFability::Form_Load() {
    const QDate today = ctx_.session.today();
    txtTo_->setText(date_to_text(today));
    txtFrom_->setText(date_to_text(today.addMonths(-12)));
    calculate_fa();
}

void frmFability::cmdRefresh_Click() {
    calculate_fa();
}

bool frmFability::check_date(QLineEdit* box, double& date) {
    const auto serial = date_text_to_serial(box->text().trimmed(), DatePart::DateTime);
    if (!serial) {
        message(msg_incorrect_date);
        box->setFocus();
        return false;
    }
    date = *serial;
    return true;
}

void frmFability::calculate_fa() {
    double from = 0, to = 0;
    if (!check_date(txtFrom_, from) || !check_date(txtTo_, to))
        return;
    Session& st = ctx_.session;
    const FaRun run = run_fa(st.lotto, st.tset, from, to);
    if (run.status == FaRun::no_lotto) {
        message(msg_select_lotto);
        ctx_.windows.show(window_name::lotto);
        return;
    }
    lblLotto_->setText(st.lotto.name());
    if (run.status == FaRun::bad_lotto) {
        message(msg_incorrect_lotto);
        return;
    }
    if (run.status == FaRun::no_tset) {
        message(msg_select_tset);
        ctx_.windows.show(window_name::tsets);
        return;
    }
    lblTSetName_->setText(st.tset.name());
    lblTSetSize_->setText(QString::number(st.tset.size()));
    if (run.status == FaRun::bad_tset_size) {
        message(msg_incorrect_tset_size);
        return;
    }

    fa_->set_rows(fa_class_rows + 1);
    for (int row = 1; row <= fa_class_rows; ++row) {
        fa_->set_text(row, 0, fa_class_label(row));
        fa_->set_text(row, 1, run.texts[row - 1]);
    }
    st.fa_results = run.expected;
    show_evaluated(run.evaluated, from, to);
    // The Lotto and Targeted Sets windows end hidden after a count, as ever.
    if (run.counted) {
        ctx_.windows.hide(window_name::lotto);
        ctx_.windows.hide(window_name::tsets);
        if (isVisible())
            activateWindow();
    }
}

void frmFability::show_evaluated(int draws, double from, double to) {
    Session& st = ctx_.session;
    st.fa_basis = fa_basis_text(st.lotto.name(), st.tset.name(), from, to);
    lblDrawsEvaluated_->setText(
        draws > 0
            ? QStringLiteral("Draws evaluated: %1").arg(draws)
            : QStringLiteral("Draws evaluated: 0. No row of the set has the date of a draw in this period, "
                             "so every class shows 1: no forecast was measured."));
}
