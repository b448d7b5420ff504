#include "gui/analyses/frm_profitability.h"

#include "core/analyses/backtest.h"
#include "core/analyses/fability.h"
#include "core/analyses/performance.h"
#include "core/analyses/profitability.h"
#include "core/base/convert.h"
#include "core/base/messages.h"
#include "core/session/session.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int fa_rows = 11;

} // namespace

frmProfitability::frmProfitability(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::profitability, QStringLiteral("Average Profitability"),
                    QStringLiteral("profit.htm"), parent) {
    resize(720, 470);

    const auto [central, columns] = window_page<QHBoxLayout>(this, 16);
    LabelMaker label;

    auto* left = new QVBoxLayout;
    auto* names = new QGridLayout;
    lblLotto_ = make_value("lblLotto", QStringLiteral("Not Selected"), central);
    lblSystem_ = make_value("lblSystem", QStringLiteral("Not Selected"), central);
    add_field(names, 0, label(QStringLiteral("Lotto"), central), lblLotto_);
    add_field(names, 1, label(QStringLiteral("System"), central), lblSystem_);
    names->setColumnStretch(1, 1);
    left->addLayout(names);

    auto* prizes = new QGroupBox(QStringLiteral("Average Prizes"), central);
    prizes->setObjectName(QStringLiteral("fraPrizes"));
    auto* grid = new QGridLayout(prizes);
    grid->setHorizontalSpacing(8);
    for (int i = 0; i < prize_class_count; ++i) {
        const int bonus = i % 2;
        const QString caption = QLatin1String(prize_class_labels[i]);
        prize_[i] = make_edit(prize_box_names[i], QStringLiteral("0"), prizes);
        prize_[i]->setMinimumWidth(90);
        add_field(grid, i / 2, label(caption, prizes), prize_[i], {}, bonus * 2);
    }
    grid->setColumnMinimumWidth(2, 56);
    left->addWidget(prizes);

    auto* results = new QGridLayout;
    results->setHorizontalSpacing(12);
    lblProfitability_ = make_value("lblProfitability", QStringLiteral("0"), central);
    cmbClevel_ = make_combo("cmbClevel", central);
    cmbClevel_->setMinimumContentsLength(3);
    lblTimes_ = make_value("lblTimes", QStringLiteral("0"), central);
    add_field(results, 0, label(QStringLiteral("Average Profitability per Ticket"), central),
              lblProfitability_);
    add_field(results, 1, label(QStringLiteral("Confidence Level %"), central), cmbClevel_, Qt::AlignLeft);
    add_field(results, 2, label(QStringLiteral("Times to play"), central), lblTimes_);
    // Beside the figure, what any ticket returns on average for this prize table: the figure above
    // weights the classes by the set's forecasts, this one by chance alone.
    lblExpectedReturn_ = make_value("lblExpectedReturn", QString(), central);
    lblExpectedReturn_->setWordWrap(true);
    results->addWidget(lblExpectedReturn_, 3, 0, 1, 2);
    results->setColumnStretch(1, 1);
    left->addSpacing(6);
    left->addLayout(results);
    left->addStretch(1);
    cmdRefresh_ = make_button("cmdRefresh", QStringLiteral("Refresh"), central);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRefresh_);
    buttons->addStretch(1);
    left->addLayout(buttons);
    columns->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    QLabel* grid_caption = label(QStringLiteral("Forecasting         Abilities"), central);
    // Narrow, so that the caption stands on two lines over the grid.
    grid_caption->setWordWrap(true);
    grid_caption->setAlignment(Qt::AlignCenter);
    grid_caption->setFixedWidth(
        grid_caption->fontMetrics().horizontalAdvance(QStringLiteral("Forecasting  ")));
    grid_caption->setMinimumHeight(2 * grid_caption->fontMetrics().lineSpacing() + 4);
    right->addWidget(grid_caption, 0, Qt::AlignHCenter);
    fa_ = new GridModel(this);
    lay_out_fa_grid(fa_->table(), 2, QStringLiteral("FA"));
    fa_->set_col_width(0, 1200);
    fa_->set_col_width(1, 1000);
    msfFA_ = new GridView(central);
    msfFA_->setObjectName(QStringLiteral("msfFA"));
    msfFA_->set_grid(fa_);
    msfFA_->setMinimumWidth(200);
    right->addWidget(msfFA_, 1);
    // Factors copied from another lotto or period would mislead: the window says whose they are.
    lblFaBasis_ = make_value("lblFaBasis", QString(), central);
    lblFaBasis_->setWordWrap(true);
    lblFaBasis_->setMaximumWidth(260);
    right->addWidget(lblFaBasis_);
    columns->addLayout(right, 0);
    setCentralWidget(central);

    for (int i = 0; i + 1 < 10; ++i)
        setTabOrder(prize_[i], prize_[i + 1]);
    setTabOrder(prize_[9], cmbClevel_);
    setTabOrder(cmbClevel_, cmdRefresh_);
    setTabOrder(cmdRefresh_, msfFA_);

    connect(cmdRefresh_, &QPushButton::clicked, this, &frmProfitability::cmdRefresh_Click);
    connect(cmbClevel_, &QComboBox::activated, this, &frmProfitability::cmbClevel_Click);
    // Enter in a prize box recalculates with the edited prizes, as Refresh would.
    for (QLineEdit* box : prize_)
        connect(box, &QLineEdit::returnPressed, this, &frmProfitability::cmdRefresh_Click);

    Form_Load();
}

void frmProfitability::Form_Load() {
    for (int level = 95; level <= 99; ++level)
        cmbClevel_->addItem(QString::number(level));
    cmbClevel_->setCurrentIndex(0);
    if (!copy_factors())
        return;
    const LottoParams& lotto = ctx_.session.lotto.params();
    const float prizes[] = {lotto.prize2,  lotto.prize2b, lotto.prize3,  lotto.prize3b, lotto.prize4,
                            lotto.prize4b, lotto.prize5,  lotto.prize5b, lotto.prize6,  lotto.prize6b};
    for (int i = 0; i < 10; ++i)
        prize_[i]->setText(float_to_text(prizes[i]));
    calculate_avrprofitability();
}

void frmProfitability::cmdRefresh_Click() {
    if (copy_factors())
        calculate_avrprofitability();
}

void frmProfitability::cmbClevel_Click() {
    how_long_to_play(false);
}

// The factors of the prize classes: those the Forecasting Abilities window shows when it is
// loaded, else worked out here for the last twelve months as that window's loading does. The
// window is shown to the user meanwhile and hidden again once the factors are in.
bool frmProfitability::copy_factors() {
    Session& st = ctx_.session;
    std::optional<FaRun> run;
    double from = 0, to = 0;
    if (!ctx_.windows.is_loaded(window_name::fability)) {
        const QDate today = st.today();
        from = date_to_serial(today.addMonths(-12));
        to = date_to_serial(today);
        run = run_fa(st.lotto, st.tset, from, to);
    }
    ctx_.windows.show(window_name::fability);
    const TextTable& shown = st.fa_table;
    fa_->set_rows(fa_rows);
    if (run ? run->status != FaRun::done : shown.rows() < fa_rows || shown.cols() < 2) {
        message(msg_calculate_fa);
        return false;
    }
    for (int r = 1; r < fa_rows; ++r) {
        fa_->set_text(r, 0, run ? fa_class_label(r) : shown.text(r, 0));
        fa_->set_text(r, 1, run ? run->texts[r - 1] : shown.text(r, 1));
    }
    const QString basis = run ? fa_basis_text(st.lotto.name(), st.tset.name(), from, to) : st.fa_basis;
    lblFaBasis_->setText(QStringLiteral("Factors of %1").arg(basis));
    ctx_.windows.hide(window_name::fability);
    if (isVisible())
        activateWindow();
    return true;
}

FaTexts frmProfitability::factor_texts() const {
    FaTexts fa;
    for (int r = 1; r < fa_rows; ++r)
        fa[r - 1] = fa_->text(r, 1);
    return fa;
}

void frmProfitability::fail(QLineEdit* box_in_work) {
    message(msg_data_not_correct);
    box_in_work->setFocus();
}

void frmProfitability::calculate_avrprofitability() {
    Session& st = ctx_.session;
    if (st.lotto.name().isEmpty()) {
        message(msg_select_lotto);
        ctx_.windows.show(window_name::lotto);
        return;
    }
    lblLotto_->setText(st.lotto.name());
    if (st.system.name().isEmpty()) {
        message(msg_select_system);
        ctx_.windows.show(window_name::system);
        return;
    }
    lblSystem_->setText(st.system.name());

    ProfitInputs in;
    for (int i = 0; i < 10; ++i) {
        const auto prize = text_to_float(prize_[i]->text());
        if (!prize) {
            fail(prize_[i]);
            return;
        }
        in.prizes[2 + i / 2][i % 2] = *prize;
    }
    in.play_n = st.lotto.params().play_n;
    in.pick_n = st.lotto.params().pick_n;
    in.set_size = st.tset.size();
    in.guar_avg = st.system.guar_avg();
    in.fa = factor_texts();
    in.cost = st.lotto.params().cost;
    const auto tickets =
        st.system.played().designed
            ? std::optional<int>(st.system.played_ticket_count(st.tset.size()))
            : profit_ticket_count(st.system.name(), st.system.ticket_count(), st.tset.size());
    const auto profit = tickets ? (in.tickets = *tickets, average_profitability(in)) : std::nullopt;
    if (!profit) {
        fail(prize_[9]);
        return;
    }
    lblProfitability_->setText(float_to_text(*profit));
    show_expected_return(in);
    how_long_to_play(true);
}

void frmProfitability::how_long_to_play(bool focus_on_error) {
    const Session& st = ctx_.session;
    std::array<QString, 10> prizes;
    for (int i = 0; i < 10; ++i)
        prizes[i] = prize_[i]->text();
    const TimesToPlay t =
        ::how_long_to_play(st.lotto.params().play_n, st.lotto.params().pick_n, st.tset.size(), prizes,
                           factor_texts(), cmbClevel_->currentText());
    switch (t.outcome) {
    case TimesToPlay::Outcome::ok:
        lblTimes_->setText(QString::number(t.times));
        break;
    case TimesToPlay::Outcome::no_lotto:
        message(msg_select_lotto);
        break;
    case TimesToPlay::Outcome::error:
        if (focus_on_error)
            fail(prize_[9]);
        else
            message(msg_data_not_correct);
        break;
    }
}

void frmProfitability::show_expected_return(const ProfitInputs& in) {
    LottoParams table = ctx_.session.lotto.params();
    float* const prizes[5][2] = {{&table.prize2, &table.prize2b},
                                 {&table.prize3, &table.prize3b},
                                 {&table.prize4, &table.prize4b},
                                 {&table.prize5, &table.prize5b},
                                 {&table.prize6, &table.prize6b}};
    for (int k = 2; k <= 6; ++k)
        for (int b = 0; b <= 1; ++b)
            *prizes[k - 2][b] = in.prizes[k][b];
    const auto ret = ticket_expected_return(table, true);
    lblExpectedReturn_->setText(
        ret ? QStringLiteral("True expected return of one ticket per unit stake, by chance alone: %1")
                  .arg(QString::number(*ret, 'f', 4))
            : QString());
}
