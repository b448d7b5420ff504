#include "gui/main/frm_main.h"

#include "core/session/samples.h"
#include "core/session/session.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_names.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

frmMain::frmMain(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::main, QStringLiteral("Corvane's Zandrel"), QStringLiteral("main.htm"),
                    parent) {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(24, 18, 24, 24);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(10);

    auto* data = new QLabel(QStringLiteral("Data"), central);
    auto* calculations = new QLabel(QStringLiteral("Calculations"), central);
    for (QLabel* label : {data, calculations}) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
        label->setAlignment(Qt::AlignCenter);
    }
    data->setObjectName(QStringLiteral("Label1"));
    calculations->setObjectName(QStringLiteral("Label2"));
    QFrame* line = make_line("Line1", Qt::Vertical, central);

    QPushButton* buttons[] = {
        add_button("cmdLotto", QStringLiteral("Lotto"), window_name::lotto, &frmMain::cmdLotto_Click),
        add_button("cmdTsets", QStringLiteral("Targeted Sets"), window_name::tsets, &frmMain::cmdTsets_Click),
        add_button("cmdSystems", QStringLiteral("Systems"), window_name::system, &frmMain::cmdSystems_Click),
        add_button("cmdPerformance", QStringLiteral("System Performance"), window_name::performance,
                   &frmMain::cmdPerformance_Click),
        add_button("cmdFability", QStringLiteral("Forecasting Abilities"), window_name::fability,
                   &frmMain::cmdFability_Click),
        add_button("cmdProfitability", QStringLiteral("Average Profitability"), window_name::profitability,
                   &frmMain::cmdProfitability_Click),
        add_button("cmdBacktest", QStringLiteral("Backtest"), window_name::backtest,
                   &frmMain::cmdBacktest_Click),
    };
    grid->addWidget(data, 0, 0);
    grid->addWidget(calculations, 0, 2);
    grid->addWidget(line, 0, 1, 5, 1);
    // Three data windows on the left, the calculations below one another on the right.
    for (int i = 0; i < 7; ++i) {
        buttons[i]->setParent(central);
        buttons[i]->setMinimumSize(180, 34);
        grid->addWidget(buttons[i], i < 3 ? 1 + i : i - 2, i < 3 ? 0 : 2);
    }
    for (int i = 0; i + 1 < 7; ++i)
        setTabOrder(buttons[i], buttons[i + 1]);
    setCentralWidget(central);
    buttons[0]->setFocus();

    Form_Load();
}

QPushButton* frmMain::add_button(const char* name, const QString& caption, const char* window,
                                 void (frmMain::*handler)()) {
    QPushButton* button = make_button(name, caption, nullptr);
    // A window that this build does not have yet shows as a disabled button.
    button->setEnabled(ctx_.windows.knows(window));
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void frmMain::Form_Load() {
    create_samples(ctx_.session.app_dir, ctx_.session.resource_dir());
}

void frmMain::cmdLotto_Click() {
    ctx_.windows.show(window_name::lotto);
}
void frmMain::cmdTsets_Click() {
    ctx_.windows.show(window_name::tsets);
}
void frmMain::cmdSystems_Click() {
    ctx_.windows.show(window_name::system);
}
void frmMain::cmdPerformance_Click() {
    ctx_.windows.show(window_name::performance);
}
void frmMain::cmdFability_Click() {
    ctx_.windows.show(window_name::fability);
}
void frmMain::cmdProfitability_Click() {
    ctx_.windows.show(window_name::profitability);
}
void frmMain::cmdBacktest_Click() {
    ctx_.windows.show(window_name::backtest);
}
