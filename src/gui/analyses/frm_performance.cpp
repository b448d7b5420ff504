#include "gui/analyses/frm_performance.h"

#include "core/base/convert.h"
#include "core/base/messages.h"
#include "core/session/session.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/report_printer.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace {

namespace col {
constexpr int number = 0, numbers = 1, prize = 2, value = 3, count = 4;
} // namespace col

// Design widths in twips, after the header's spacing: "N |          Numbers     | Prize|     Value".
constexpr std::array<int, col::count> col_widths = {600, 2400, 900, 1200};

} // namespace

frmPerformance::frmPerformance(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::performance, QStringLiteral("System Performance"),
                    QStringLiteral("perform.htm"), parent) {
    resize(620, 600);

    const auto [central, layout] = window_page<QVBoxLayout>(this, 10);
    build_boxes(central);

    grid_ = new GridModel(this);
    grid_->set_cols(col::count);
    grid_->set_rows(2);
    grid_->set_fixed_rows(1);
    grid_->set_fixed_cols(1);
    const QStringList header = {QStringLiteral("N"), QStringLiteral("Numbers"), QStringLiteral("Prize"),
                                QStringLiteral("Value")};
    for (int c = 0; c < col::count; ++c) {
        grid_->set_text(0, c, header[c]);
        grid_->set_col_width(c, col_widths[c]);
    }
    msfPerformance_ = new GridView(central);
    msfPerformance_->setObjectName(QStringLiteral("msfPerformance"));
    msfPerformance_->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfPerformance_->set_grid(grid_);
    // A class such as "6+bonus" or a large total is never cut short.
    msfPerformance_->set_fit_cells(true);
    layout->addWidget(msfPerformance_, 1);

    auto* buttons = new QHBoxLayout;
    cmdRefresh_ = make_button("cmdRefresh", QStringLiteral("Refresh"), central);
    cmdPrint_ = make_button("cmdPrint", QStringLiteral("Print"), central);
    cmdRefresh_->setDefault(true);
    // What the system's tickets won less what they cost: the total alone looks like a gain.
    lblNet_ = make_value("lblNet", QString(), central);
    buttons->addWidget(lblNet_);
    buttons->addStretch(1);
    buttons->addWidget(cmdRefresh_);
    buttons->addWidget(cmdPrint_);
    layout->addLayout(buttons);
    setCentralWidget(central);
    set_tab_order();

    connect(cmdRefresh_, &QPushButton::clicked, this, &frmPerformance::cmdRefresh_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmPerformance::cmdPrint_Click);
    // Enter in any box recalculates, as a dialog's default button would.
    for (QLineEdit* box : txtN_)
        connect(box, &QLineEdit::returnPressed, this, &frmPerformance::cmdRefresh_Click);
    for (QLineEdit* box : prize_)
        connect(box, &QLineEdit::returnPressed, this, &frmPerformance::cmdRefresh_Click);

    Form_Load();
}

void frmPerformance::build_boxes(QWidget* top) {
    auto* layout = static_cast<QVBoxLayout*>(top->layout());
    LabelMaker label;

    auto* draw = new QGroupBox(QStringLiteral("Draw"), top);
    draw->setObjectName(QStringLiteral("fraDraw"));
    auto* draw_grid = new QGridLayout(draw);
    draw_grid->setHorizontalSpacing(6);
    for (int i = 0; i < 7; ++i) {
        const QString name = QStringLiteral("txtN%1").arg(i + 1);
        txtN_[i] = make_edit(name.toLatin1().constData(), QString(), draw);
        txtN_[i]->setFixedWidth(52);
        const QString caption = i < 6 ? QStringLiteral("N%1").arg(i + 1) : QStringLiteral("Bonus");
        draw_grid->addWidget(label(caption, draw), 0, i);
        draw_grid->addWidget(txtN_[i], 1, i);
    }
    // The day of the draw scored: the current draw's, while the boxes hold its numbers.
    lblDrawDate_ = make_value("lblDrawDate", QString(), draw);
    draw_grid->addWidget(label(QStringLiteral("Date"), draw), 0, 7);
    draw_grid->addWidget(lblDrawDate_, 1, 7);
    draw_grid->setColumnStretch(8, 1);
    layout->addWidget(draw);

    // Plain classes on the first line, their bonus classes below them.
    auto* prizes = new QGroupBox(QStringLiteral("Prizes"), top);
    prizes->setObjectName(QStringLiteral("fraPrizes"));
    auto* prize_grid = new QGridLayout(prizes);
    prize_grid->setHorizontalSpacing(8);
    for (int i = 0; i < prize_class_count; ++i) {
        const int column = i / 2, line = (i % 2) * 2;
        prize_[i] = make_edit(prize_box_names[i], QStringLiteral("0"), prizes);
        prize_grid->addWidget(label(QLatin1String(prize_class_labels[i]), prizes), line, column);
        prize_grid->addWidget(prize_[i], line + 1, column);
    }
    layout->addWidget(prizes);

    auto* selection = new QGridLayout;
    selection->setHorizontalSpacing(10);
    lblTset_ = make_value("lblTset", QStringLiteral("Not selected"), top);
    lblSystem_ = make_value("lblSystem", QStringLiteral("Not selected"), top);
    add_field(selection, 0, label(QStringLiteral("TSet"), top), lblTset_);
    add_field(selection, 1, label(QStringLiteral("System"), top), lblSystem_);
    selection->setColumnStretch(1, 1);
    layout->addLayout(selection);
}

void frmPerformance::set_tab_order() {
    std::vector<QWidget*> order(txtN_.begin(), txtN_.end());
    for (int i = 0; i < prize_class_count; i += 2)
        order.push_back(prize_[i]);
    for (int i = 1; i < prize_class_count; i += 2)
        order.push_back(prize_[i]);
    order.insert(order.end(), {msfPerformance_, cmdRefresh_, cmdPrint_});
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void frmPerformance::Form_Load() {
    // The calculation may open other windows and show messages; this one comes first.
    show();
    show_prizes();
    show_draw();
    Performance();
}

void frmPerformance::show_prizes() {
    const LottoParams& lotto = ctx_.session.lotto.params();
    const float prizes[] = {lotto.prize2,  lotto.prize2b, lotto.prize3,  lotto.prize3b, lotto.prize4,
                            lotto.prize4b, lotto.prize5,  lotto.prize5b, lotto.prize6,  lotto.prize6b};
    for (int i = 0; i < prize_class_count; ++i)
        prize_[i]->setText(float_to_text(prizes[i]));
}

void frmPerformance::show_draw() {
    const DrawRec& draw = ctx_.session.lotto.current_draw();
    for (int i = 0; i < 6; ++i)
        txtN_[i]->setText(QString::number(draw.n[i]));
    txtN_[6]->setText(QString::number(draw.nb));
}

void frmPerformance::cmdRefresh_Click() {
    Performance();
}

DrawTexts7 frmPerformance::draw_texts() const {
    DrawTexts7 texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = txtN_[i]->text();
    return texts;
}

PrizeTexts frmPerformance::prize_texts() const {
    PrizeTexts texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = prize_[i]->text();
    return texts;
}

// The table as the window opens: the header and one blank row.
void frmPerformance::empty_table() {
    grid_->set_rows(1);
    grid_->set_rows(2);
    grid_->set_row(0);
}

void frmPerformance::Performance() {
    const Session& state = ctx_.session;
    const QString first = txtN_[0]->text();
    if (first.isEmpty() || first == u"0") {
        message(msg_select_draw_numbers);
        txtN_[0]->setFocus();
        return;
    }
    if (state.tset.numbers()[1] <= 0) {
        message(msg_select_tset);
        ctx_.windows.show(QLatin1String(window_name::tsets));
        return;
    }
    if (state.system.name().isEmpty()) {
        message(msg_select_system);
        ctx_.windows.show(QLatin1String(window_name::system));
        return;
    }
    lblSystem_->setText(state.system.name());
    const std::optional<QString> tset = tset_numbers_text(state.tset.numbers(), state.tset.size());
    if (!tset) {
        message(msg_data_not_correct);
        return;
    }
    lblTset_->setText(*tset);

    // Rows of an earlier draw must not survive a calculation that finds no winner.
    empty_table();
    lblNet_->clear();
    lblDrawDate_->setText(scored_draw_date());
    const SystemSelection::FileResult file = state.system.open_file(state.app_dir);
    if (!file.ok()) {
        message(file.message);
        return;
    }
    const QStringList& lines = file.lines;
    const SystemScore score = score_system(lines, draw_texts(), prize_texts(), state.lotto.params().pick_n);
    // All winning rows in one step: a table of 969 rows fills at once instead of row by row.
    std::vector<QStringList> rows;
    rows.reserve(score.winners.size());
    for (const WinningTicket& t : score.winners)
        rows.push_back(fill_row(t.number, t.numbers, QLatin1String(prize_class_labels[t.prize_class])));
    if (!rows.empty()) {
        grid_->set_rows(1);
        grid_->append_rows(rows);
    }
    if (!score.ok) {
        message(msg_data_not_correct);
        return;
    }
    const float total = rows.empty() ? 0.0f : add_total();
    if (!std::isnan(total)) {
        const double cost = static_cast<double>(lines.size()) * state.lotto.params().cost;
        lblNet_->setText(QStringLiteral("Net: %1 (%2 tickets at %3 cost %4)")
                             .arg(double_to_text(total - cost))
                             .arg(lines.size())
                             .arg(float_to_text(state.lotto.params().cost), double_to_text(cost)));
    }
}

QString frmPerformance::scored_draw_date() const {
    const DrawRec& draw = ctx_.session.lotto.current_draw();
    const DrawTexts7 texts = draw_texts();
    for (int i = 0; i < 6; ++i)
        if (texts[i].trimmed() != QString::number(draw.n[i]))
            return QStringLiteral("typed");
    if (texts[6].trimmed() != QString::number(draw.nb) || !(draw.date > 0))
        return QStringLiteral("typed");
    return date_to_text(serial_to_date(draw.date));
}

// The cells of one winning row; its value is the text of the class's prize box as typed.
QStringList frmPerformance::fill_row(const int16_t& numT, const QString& sTicket,
                                     const QString& sPrize) const {
    QStringList cells = {QString::number(numT), sTicket, sPrize, QString()};
    for (int i = 0; i < prize_class_count; ++i)
        if (sPrize == QLatin1String(prize_class_labels[i]))
            cells[col::value] = prize_[i]->text();
    return cells;
}

float frmPerformance::add_total() {
    for (int c = 0; c < grid_->cols(); ++c)
        grid_->set_bold(0, c, true);
    std::vector<QString> values;
    for (int r = 1; r < grid_->rows(); ++r)
        values.push_back(grid_->text(r, col::value));
    const std::optional<float> sum = sum_prizes(values);
    if (!sum) {
        message(msg_data_not_correct);
        return std::numeric_limits<float>::quiet_NaN();
    }
    const int r = grid_->rows();
    grid_->set_rows(r + 1);
    grid_->set_row(r);
    grid_->set_text(r, col::numbers, QStringLiteral("Total"));
    grid_->set_text(r, col::value, float_to_text(*sum));
    grid_->set_bold(r, col::numbers, true);
    grid_->set_bold(r, col::value, true);
    return *sum;
}

void frmPerformance::cmdPrint_Click() {
    QPrinter printer;
    if (ctx_.dialogs.choose_printer(this, printer))
        print_results(printer);
}

// The draw, the set, the system and the table as the window shows them, over as many pages as
// the rows need.
void frmPerformance::print_results(QPrinter& printer) {
    ReportPages pages(printer, font());
    if (!begin_report(printer, pages, windowTitle())) {
        message(msg_data_not_correct);
        return;
    }
    const QFont& plain = pages.plain();
    QStringList draw;
    for (int i = 0; i < 6; ++i)
        draw << txtN_[i]->text();
    pages.text_line(plain, QStringLiteral("Draw: %1   Bonus: %2   Date: %3")
                               .arg(draw.join(u' '), txtN_[6]->text(), lblDrawDate_->text()));
    pages.text_line(plain, QStringLiteral("TSet: %1").arg(lblTset_->text()));
    pages.text_line(plain, QStringLiteral("System: %1").arg(lblSystem_->text()));
    if (!lblNet_->text().isEmpty())
        pages.text_line(plain, lblNet_->text());
    pages.skip(pages.line_height(plain) / 2);

    ReportTable table;
    table.rows = grid_rows(*grid_);
    // Each column as wide as its widest text, in the bold face so bold cells fit too.
    const QFontMetrics wide = pages.metrics(pages.bold());
    table.widths = column_widths(table.rows, wide, wide.horizontalAdvance(QStringLiteral("    ")));
    table.row_height = pages.line_height(pages.bold());
    table.bold = [this](int row, int col) { return grid_->bold(row, col); };
    table.repeated_rows = 1; // every page starts with the header row
    pages.table(table);
    pages.end();
}
