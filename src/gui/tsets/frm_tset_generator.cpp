#include "gui/tsets/frm_tset_generator.h"

#include "core/base/convert.h"
#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/session/session.h"
#include "gui/toolkit/app_context.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_names.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

frmTsetGenerator::frmTsetGenerator(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmTsetGenerator"));
    setWindowTitle(QStringLiteral("Generator of Targeted Sets"));
    resize(1000, 520);
    build();
    Form_Load();
}

void frmTsetGenerator::build() {
    LabelMaker label;
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(12, 10, 12, 12);
    columns->setSpacing(14);

    auto* left = new QVBoxLayout;
    auto* draws = new QGroupBox(QStringLiteral("Select Draws"), this);
    draws->setObjectName(QStringLiteral("fraSelectedDraws"));
    auto* form = new QFormLayout(draws);
    txtFrom_ = make_edit("txtFrom", QString(), draws);
    txtTo_ = make_edit("txtTo", QString(), draws);
    txtStep_ = make_edit("txtStep", QString(), draws);
    form->addRow(label(QStringLiteral("From"), draws), txtFrom_);
    form->addRow(label(QStringLiteral("To"), draws), txtTo_);
    form->addRow(label(QStringLiteral("Step"), draws), txtStep_);
    left->addWidget(draws);

    auto* rules = new QGroupBox(QStringLiteral("Type"), this);
    rules->setObjectName(QStringLiteral("fraRules"));
    auto* options = new QVBoxLayout(rules);
    const auto option = [&](const char* name, const char* caption) {
        auto* b = new QRadioButton(QLatin1String(caption), rules);
        b->setObjectName(QLatin1String(name));
        options->addWidget(b);
        return b;
    };
    optLowestFr0_ = option("optLowestFr0", "With Lowest Frequencies");
    optLowestFr_ = option("optLowestFr", "With Lowest Positive Frequencies");
    optHighFr_ = option("optHighFr", "With Highest Frequencies");
    optRandom_ = option("optRandom", "Random");
    left->addWidget(rules);
    cmdGo_ = make_button("cmdGo", QStringLiteral("Go"), this);
    cmdGo_->setDefault(true);
    left->addWidget(cmdGo_);
    left->addStretch(1);
    columns->addLayout(left, 0);

    frequencies_ = new GridModel(this);
    msfFrequencies_ = new GridView(this);
    msfFrequencies_->setObjectName(QStringLiteral("msfFrequencies"));
    msfFrequencies_->setSelectionBehavior(QAbstractItemView::SelectRows);
    msfFrequencies_->set_grid(frequencies_);
    msfFrequencies_->set_fit_cells(true);
    msfFrequencies_->setFixedWidth(220);
    columns->addWidget(msfFrequencies_, 0);

    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setTitle(QStringLiteral("Frequency of each number (orange: chosen by the last Go)"));
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* series = new QBarSeries(chart);
    series->setBarWidth(0.8);
    bars_ = new QBarSet(QStringLiteral("Frequency"), series);
    bars_->setColor(QColor(0x5b, 0x84, 0xb1));
    bars_->setSelectedColor(QColor(0xe0, 0x7a, 0x1f));
    series->append(bars_);
    chart->addSeries(series);
    // Bar i stands at x = i; bar 0 (no number) lies outside the range, so ticks fall on 5, 10, ...
    auto* numbers = new QValueAxis(chart);
    numbers->setLabelFormat(QStringLiteral("%d"));
    numbers->setTickType(QValueAxis::TicksDynamic);
    numbers->setTickAnchor(0);
    numbers->setTickInterval(5);
    numbers->setRange(0.5, 49.5);
    // Whole counts only: ticks every step of at least one draw, so small counts never repeat a label.
    auto* counts = new QValueAxis(chart);
    counts->setLabelFormat(QStringLiteral("%d"));
    counts->setTickType(QValueAxis::TicksDynamic);
    counts->setTickAnchor(0);
    counts->setTickInterval(1);
    counts->setRange(0, 1);
    chart->addAxis(numbers, Qt::AlignBottom);
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(numbers);
    series->attachAxis(counts);
    chtFrequencies_ = new QChartView(chart, this);
    chtFrequencies_->setObjectName(QStringLiteral("chtFrequencies"));
    chtFrequencies_->setFocusPolicy(Qt::NoFocus); // a picture, nothing to operate
    chtFrequencies_->setRenderHint(QPainter::Antialiasing);
    // Room for the whole title beside the plot's margins, whatever the font.
    chtFrequencies_->setMinimumWidth(
        std::max(360, QFontMetrics(chart->titleFont()).horizontalAdvance(chart->title()) + 60));
    columns->addWidget(chtFrequencies_, 1);

    setTabOrder(txtFrom_, txtTo_);
    setTabOrder(txtTo_, txtStep_);
    setTabOrder(txtStep_, optLowestFr0_);
    setTabOrder(optLowestFr0_, cmdGo_);
    setTabOrder(cmdGo_, msfFrequencies_);
    connect(cmdGo_, &QPushButton::clicked, this, &frmTsetGenerator::cmdGo_Click);
    for (QLineEdit* box : {txtFrom_, txtTo_, txtStep_})
        connect(box, &QLineEdit::returnPressed, cmdGo_, &QPushButton::animateClick);
}

void frmTsetGenerator::Form_Load() {
    const QDate today = ctx_.session.today();
    txtFrom_->setText(date_to_text(today.addMonths(-12)));
    txtTo_->setText(date_to_text(today));
    txtStep_->setText(QStringLiteral("1"));
    optRandom_->setChecked(true);
    frequencies_->set_rows(1);
    frequencies_->set_cols(2);
    frequencies_->set_fixed_rows(1);
    frequencies_->set_text(0, 0, QStringLiteral("Number"));
    frequencies_->set_text(0, 1, QStringLiteral("Frequency"));
}

void frmTsetGenerator::refuse(QWidget* box) {
    ctx_.dialogs.message(this, QString::fromLatin1(msg_data_not_correct));
    if (box)
        box->setFocus();
}

bool frmTsetGenerator::read_boxes(double& from, double& to, int& step) {
    const auto f = date_text_to_serial(txtFrom_->text().trimmed(), DatePart::DateTime);
    if (!f) {
        refuse(txtFrom_);
        return false;
    }
    const auto t = date_text_to_serial(txtTo_->text().trimmed(), DatePart::DateTime);
    if (!t) {
        refuse(txtTo_);
        return false;
    }
    // A step below 1 would never leave the first draw.
    const auto s = text_to_int16(txtStep_->text());
    if (!s || *s < 1) {
        refuse(txtStep_);
        return false;
    }
    from = *f;
    to = *t;
    step = *s;
    return true;
}

void frmTsetGenerator::cmdGo_Click() {
    const LottoParams& lotto = ctx_.session.lotto.params();
    if (lotto.play_n == 0) {
        ctx_.dialogs.message(this, QString::fromLatin1(msg_select_lotto));
        ctx_.windows.show(window_name::lotto);
        return;
    }
    double from = 0, to = 0;
    int step = 1;
    if (!read_boxes(from, to, step))
        return;
    TsetDocument& tsets = ctx_.session.tset;
    const auto size = text_to_int16(ctx_.tset_editor.shown_size);
    // The row to fill is laid out for tset_size; a size box typed over without a choice is no size.
    if (!size || *size != ctx_.session.tset.size() || *size < 1) {
        ctx_.dialogs.message(this, QString::fromLatin1(msg_select_tset));
        ctx_.windows.show(window_name::tsets);
        return;
    }
    // Every rule needs size distinct numbers in play.
    if (lotto.play_n < *size || lotto.play_n > max_lotto_number) {
        refuse(nullptr);
        return;
    }
    ctx_.tset_editor.offer_save();

    std::vector<int16_t> numbers;
    if (optRandom_->isChecked()) {
        numbers = get_rand(*size, lotto.play_n, ctx_.session.random_seed());
    } else {
        FrequencyCount count;
        if (!calc_fr(from, to, step, count))
            return;
        const FrequencyRule rule = optHighFr_->isChecked()     ? FrequencyRule::highest
                                   : optLowestFr_->isChecked() ? FrequencyRule::lowest_positive
                                                               : FrequencyRule::lowest;
        numbers = choose_numbers(rule, count, *size);
    }
    if (write_row(tsets, numbers, *size))
        highlight(numbers);
}

bool frmTsetGenerator::calc_fr(double from, double to, int step, FrequencyCount& count) {
    // A closed Lotto window leaves no draws: the count says so.
    TextTable& draws = ctx_.session.lotto.draws();
    sort_draws_by_serial(draws);
    count = ::calc_fr(draws, from, to, step, ctx_.session.lotto.params().pick_n,
                      ctx_.session.lotto.params().play_n);
    switch (count.fault) {
    case FrequencyFault::none:
        break;
    case FrequencyFault::no_draws:
        ctx_.dialogs.message(this, QString::fromLatin1(msg_no_draws_data));
        return false;
    case FrequencyFault::no_criteria:
        ctx_.dialogs.message(this, QStringLiteral("No data for this criteria. "));
        return false;
    case FrequencyFault::bad_data:
        // An unreadable cell of the draws ends the count without a message.
        return false;
    }
    fill_frequency_table(frequencies_->table(), count);
    frequencies_->set_col_width(1, static_cast<int>(std::lround(frequencies_->col_width(0) * 5.0 / 6.0)));
    // Wide enough for "Total draws" beside its count, in whatever font the desktop uses.
    msfFrequencies_->setFixedWidth(std::max(220, msfFrequencies_->full_width()));
    show_chart(count);
    return true;
}

bool frmTsetGenerator::write_row(TsetDocument& tsets, const std::vector<int16_t>& numbers, int size) {
    if (tsets.current_row() < 1)
        tsets.set_current_row(1);
    const int row = tsets.current_row();
    TextTable& grid = tsets.rows();
    if (grid.rows() - 1 < row) {
        ctx_.dialogs.message(this, QString::fromLatin1(msg_select_tset_row));
        ctx_.windows.show(window_name::tsets);
        return false;
    }
    for (int i = 0; i < size && i < static_cast<int>(numbers.size()); ++i)
        grid.set_text(row, i + 1, QString::number(numbers[i]));
    grid.set_text(row, 0, storable_date_text(ctx_.tset_editor.shown_date));
    return true;
}

void frmTsetGenerator::show_chart(const FrequencyCount& count) {
    const int n = static_cast<int>(count.order.size());
    QList<qreal> values{0};
    int top = 1;
    for (int number = 1; number <= n; ++number) {
        values << count.counts[number];
        top = std::max(top, count.counts[number]);
    }
    bars_->deselectAllBars();
    bars_->remove(0, bars_->count());
    bars_->append(values);
    QChart* chart = chtFrequencies_->chart();
    auto* numbers = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    numbers->setRange(0.5, n + 0.5);
    auto* counts = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    int step = 1; // the first of 1, 2, 5, 10, 20, 50, ... that reaches the top in five steps
    for (int scale = 1; step * 5 < top; scale *= 10)
        for (const int m : {1, 2, 5})
            if (step * 5 < top)
                step = m * scale;
    counts->setTickInterval(step);
    counts->setRange(0, (top + step - 1) / step * step);
}

void frmTsetGenerator::highlight(const std::vector<int16_t>& numbers) {
    bars_->deselectAllBars();
    QList<int> indexes;
    for (int16_t number : numbers)
        if (number >= 1 && number < bars_->count())
            indexes << number;
    bars_->selectBars(indexes);
}
