#include "gui/analyses/frm_backtest.h"

#include "core/analyses/fability.h"
#include "core/base/convert.h"
#include "core/base/messages.h"
#include "core/base/text_files.h"
#include "core/lotto/lotto_entry.h"
#include "core/session/session.h"
#include "core/wheels/designed_systems.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/report_printer.h"
#include "gui/toolkit/window_names.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSplitter>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The totals, on screen and on paper, in this order.
constexpr const char* total_captions[] = {"Draws played",
                                          "Tickets",
                                          "Cost",
                                          "Winnings",
                                          "Net",
                                          "Expected winnings",
                                          "Expected net",
                                          "Expected return per unit stake",
                                          "True expected return of a ticket"};

const char* const rule_captions[] = {"Highest frequencies", "Lowest frequencies",
                                     "Lowest positive frequencies", "Random"};
const WalkRule rules[] = {WalkRule::highest, WalkRule::lowest, WalkRule::lowest_positive, WalkRule::random};

// The core's messages start in lower case to follow a command's name; a box shows a sentence.
QString sentence(const QString& text) {
    return text.left(1).toUpper() + text.mid(1) + u'.';
}

QString return_text(std::optional<double> value) {
    return value ? QString::number(*value, 'f', 4) : QStringLiteral("-");
}

qint64 chart_x(double serial) {
    return QDateTime(serial_to_date(serial), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
}

// A chart needs no more points than a screen has pixels across.
constexpr size_t chart_points = 2000;

} // namespace

frmBacktest::frmBacktest(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::backtest, QStringLiteral("Backtest"), QStringLiteral("backtest.htm"),
                    parent) {
    resize(1180, 660); // whole on a 1,280 x 720 screen
    auto* central = new QWidget(this);
    auto* page = new QVBoxLayout(central);
    page->setContentsMargins(12, 10, 12, 12);
    LabelMaker label;

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    auto* inputs = new QGridLayout;
    lblLotto_ = make_value("lblLotto", QStringLiteral("Not Selected"), central);
    lblTSet_ = make_value("lblTSet", QStringLiteral("Not Selected"), central);
    cmbSystem_ = make_combo("cmbSystem", central);
    cmbSystem_->setMinimumContentsLength(8); // the longest name, 20_4_6, with room to spare
    add_field(inputs, 0, label(QStringLiteral("Lotto"), central), lblLotto_);
    add_field(inputs, 1, label(QStringLiteral("Targeted Set"), central), lblTSet_);
    add_field(inputs, 2, label(QStringLiteral("System"), central), cmbSystem_, Qt::AlignLeft);

    auto* source = new QGroupBox(QStringLiteral("Numbers Played"), central);
    source->setObjectName(QStringLiteral("fraSource"));
    auto* s = new QGridLayout(source);
    optForecasts_ = new QRadioButton(QStringLiteral("Forecasts: the set's row of each draw's date"), source);
    optForecasts_->setObjectName(QStringLiteral("optForecasts"));
    optFixed_ = new QRadioButton(QStringLiteral("Fixed numbers"), source);
    optFixed_->setObjectName(QStringLiteral("optFixed"));
    optRule_ = new QRadioButton(QStringLiteral("Rule over the earlier draws"), source);
    optRule_->setObjectName(QStringLiteral("optRule"));
    txtNumbers_ = make_edit("txtNumbers", QString(), source);
    txtNumbers_->setMinimumWidth(220);
    cmdFromRow_ = make_button("cmdFromRow", QStringLiteral("From Set Row"), source);
    cmbRule_ = new QComboBox(source);
    cmbRule_->setObjectName(QStringLiteral("cmbRule"));
    for (const char* caption : rule_captions)
        cmbRule_->addItem(QLatin1String(caption));
    txtWindow_ = make_edit("txtWindow", QStringLiteral("100"), source);
    txtSeed_ = make_edit("txtSeed", QStringLiteral("1"), source);
    for (QLineEdit* box : {txtWindow_, txtSeed_})
        box->setMaximumWidth(100);
    s->addWidget(optForecasts_, 0, 0, 1, 4);
    s->addWidget(optFixed_, 1, 0);
    s->addWidget(txtNumbers_, 1, 1, 1, 2);
    s->addWidget(cmdFromRow_, 1, 3);
    s->addWidget(optRule_, 2, 0);
    s->addWidget(cmbRule_, 2, 1, 1, 3);
    auto* rule_options = new QHBoxLayout;
    rule_options->addWidget(label(QStringLiteral("Draws counted (W)"), source));
    rule_options->addWidget(txtWindow_);
    rule_options->addSpacing(12);
    rule_options->addWidget(label(QStringLiteral("Seed"), source));
    rule_options->addWidget(txtSeed_);
    rule_options->addStretch(1);
    s->addLayout(rule_options, 3, 1, 1, 3);
    s->setColumnStretch(2, 1);
    inputs->addWidget(source, 3, 0, 1, 2);

    auto* period = new QHBoxLayout;
    txtFrom_ = make_edit("txtFrom", QString(), central);
    txtTo_ = make_edit("txtTo", QString(), central);
    txtFrom_->setPlaceholderText(QStringLiteral("first draw"));
    txtTo_->setPlaceholderText(QStringLiteral("last draw"));
    period->addWidget(label(QStringLiteral("From"), central));
    period->addWidget(txtFrom_);
    period->addWidget(label(QStringLiteral("To"), central));
    period->addWidget(txtTo_);
    inputs->addLayout(period, 4, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    cmdRun_ = make_button("cmdRun", QStringLiteral("Run"), central);
    cmdCancel_ = make_button("cmdCancel", QStringLiteral("Cancel"), central);
    prgRun_ = new QProgressBar(central);
    prgRun_->setObjectName(QStringLiteral("prgRun"));
    prgRun_->setRange(0, 1000);
    prgRun_->setValue(0);
    prgRun_->setTextVisible(false);
    cmdExport_ = make_button("cmdExport", QStringLiteral("Export..."), central);
    cmdPrint_ = make_button("cmdPrint", QStringLiteral("Print"), central);
    buttons->addWidget(cmdRun_);
    buttons->addWidget(cmdCancel_);
    buttons->addWidget(prgRun_, 1);
    buttons->addWidget(cmdExport_);
    buttons->addWidget(cmdPrint_);
    inputs->addLayout(buttons, 5, 0, 1, 2);
    lblStatus_ = make_label("lblStatus", QString(), central);
    lblStatus_->setWordWrap(true);
    inputs->addWidget(lblStatus_, 6, 0, 1, 2);
    inputs->setRowStretch(7, 1);
    inputs->setColumnStretch(1, 1);
    top->addLayout(inputs, 3);

    auto* totals = new QGroupBox(QStringLiteral("Totals"), central);
    totals->setObjectName(QStringLiteral("fraTotals"));
    auto* t = new QGridLayout(totals);
    const char* names[] = {"lblDrawsPlayed", "lblTickets",          "lblCost",        "lblWinnings",
                           "lblNet",         "lblExpectedWinnings", "lblExpectedNet", "lblExpectedReturn",
                           "lblTicketReturn"};
    for (int i = 0; i < 9; ++i) {
        totals_[i] = make_value(names[i], QString(), totals);
        totals_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        totals_[i]->setMinimumWidth(90);
    }
    // Observed first, then what chance gives the same tickets, in one column: side by side they
    // made the window wider than a laptop's screen.
    for (int i = 0; i < 9; ++i)
        add_field(t, i, label(QLatin1String(total_captions[i]), totals), totals_[i]);
    t->setColumnMinimumWidth(2, 12);
    t->setRowStretch(9, 1);
    hits_ = new GridModel(this);
    hits_->set_cols(4);
    hits_->set_rows(1 + backtest_classes);
    hits_->set_fixed_rows(1);
    const char* hit_headers[] = {"Class", "Hits", "Expected", "Ratio"};
    for (int c = 0; c < 4; ++c) {
        hits_->set_text(0, c, QLatin1String(hit_headers[c]));
        hits_->set_col_width(c, c == 0 ? 1000 : 800); // widened to their texts
    }
    for (int c = 0; c < backtest_classes; ++c)
        hits_->set_text(1 + c, 0, fa_class_label(c + 1));
    msfHits_ = new GridView(totals);
    msfHits_->setObjectName(QStringLiteral("msfHits"));
    msfHits_->set_grid(hits_);
    // Ten classes and their figures: each column as wide as its texts, whatever the font.
    msfHits_->set_fit_cells(true);
    t->addWidget(msfHits_, 0, 3, 10, 1);
    fit_hits();
    top->addWidget(totals, 4);
    page->addLayout(top);

    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Cumulative net: as played, and as chance gives it"));
    chart->setMargins(QMargins(4, 4, 4, 4));
    net_line_ = new QLineSeries(chart);
    net_line_->setName(QStringLiteral("Net"));
    expected_line_ = new QLineSeries(chart);
    expected_line_->setName(QStringLiteral("Expected net"));
    auto* dates = new QDateTimeAxis(chart);
    dates->setFormat(QStringLiteral("yyyy-MM"));
    dates->setTickCount(5);
    auto* amounts = new QValueAxis(chart);
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(amounts, Qt::AlignLeft);
    // No scale before a run has drawn something to measure.
    dates->setVisible(false);
    amounts->setVisible(false);
    for (QLineSeries* line : {net_line_, expected_line_}) {
        chart->addSeries(line);
        line->attachAxis(dates);
        line->attachAxis(amounts);
    }
    chtCumulative_ = new QChartView(chart, central);
    chtCumulative_->setObjectName(QStringLiteral("chtCumulative"));
    chtCumulative_->setFocusPolicy(Qt::NoFocus);
    chtCumulative_->setRenderHint(QPainter::Antialiasing);
    chtCumulative_->setMinimumSize(380, 260);

    draws_ = new GridModel(this);
    msfDraws_ = new GridView(central);
    msfDraws_->setObjectName(QStringLiteral("msfDraws"));
    msfDraws_->set_grid(draws_);
    msfDraws_->setMinimumHeight(200);
    auto* bottom = new QSplitter(Qt::Horizontal, central);
    bottom->addWidget(chtCumulative_);
    bottom->addWidget(msfDraws_);
    bottom->setStretchFactor(0, 2);
    bottom->setStretchFactor(1, 3);
    bottom->setSizes({560, 800}); // room for the dates under the chart
    page->addWidget(bottom, 1);
    setCentralWidget(central);

    progress_timer_ = new QTimer(this);
    progress_timer_->setInterval(100);
    connect(progress_timer_, &QTimer::timeout, this, [this] {
        if (run_)
            prgRun_->setValue(static_cast<int>(run_->done * 1000 / std::max<qsizetype>(run_->total, 1)));
    });
    connect(cmdRun_, &QPushButton::clicked, this, &frmBacktest::cmdRun_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmBacktest::cmdCancel_Click);
    connect(cmdFromRow_, &QPushButton::clicked, this, &frmBacktest::cmdFromRow_Click);
    connect(cmdExport_, &QPushButton::clicked, this, &frmBacktest::cmdExport_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmBacktest::cmdPrint_Click);
    for (QRadioButton* option : {optForecasts_, optFixed_, optRule_})
        connect(option, &QRadioButton::toggled, this, &frmBacktest::show_mode);
    connect(cmbRule_, &QComboBox::currentIndexChanged, this, &frmBacktest::show_mode);
    for (QLineEdit* box : {txtNumbers_, txtWindow_, txtSeed_, txtFrom_, txtTo_})
        connect(box, &QLineEdit::returnPressed, cmdRun_, &QPushButton::animateClick);
    // The lotto and the set are picked in their own windows: what this one names follows them,
    // and so does the system while no run is going.
    const Session& st = ctx_.session;
    connect(&st.lotto, &LottoDocument::params_changed, this, &frmBacktest::show_in_force);
    connect(&st.tset, &TsetDocument::numbers_changed, this, &frmBacktest::show_in_force);
    // A designed system saved meanwhile joins the list; the system shown stays.
    connect(&st, &Session::designed_systems_changed, this, [this] {
        const QString shown = cmbSystem_->currentText();
        const QSignalBlocker quiet(cmbSystem_);
        cmbSystem_->clear();
        cmbSystem_->addItems(system_choices(ctx_.session.app_dir));
        cmbSystem_->setCurrentIndex(std::max(0, cmbSystem_->findText(shown)));
    });
    connect(&st.system, &SystemSelection::changed, this, [this] {
        const int system = cmbSystem_->findText(ctx_.session.system.name().trimmed());
        if (system >= 0 && !worker_)
            cmbSystem_->setCurrentIndex(system);
    });

    Form_Load();
}

frmBacktest::~frmBacktest() {
    // A run still going reads nothing of the window, but must end before the window's parts go.
    if (worker_) {
        worker_->disconnect(this);
        run_->cancel = true;
        worker_->wait();
        delete worker_;
    }
}

void frmBacktest::Form_Load() {
    cmbSystem_->addItems(system_choices(ctx_.session.app_dir));
    // The system picked in the Systems window, else the help pages' example.
    int system = cmbSystem_->findText(ctx_.session.system.name().trimmed());
    if (system < 0)
        system = cmbSystem_->findText(QStringLiteral("10_3_6"));
    cmbSystem_->setCurrentIndex(std::max(0, system));
    optForecasts_->setChecked(true);
    set_running(false);
    show_in_force();
    show_mode();
}

void frmBacktest::show_in_force() {
    const Session& st = ctx_.session;
    lblLotto_->setText(st.lotto.name().isEmpty() ? QStringLiteral("Not Selected") : st.lotto.name());
    lblTSet_->setText(st.tset.name().isEmpty()
                          ? QStringLiteral("Not Selected")
                          : QStringLiteral("%1 (size %2)").arg(st.tset.name()).arg(st.tset.size()));
}

void frmBacktest::show_mode() {
    const bool running = worker_ != nullptr;
    txtNumbers_->setEnabled(!running && optFixed_->isChecked());
    cmdFromRow_->setEnabled(!running && optFixed_->isChecked());
    cmbRule_->setEnabled(!running && optRule_->isChecked());
    txtWindow_->setEnabled(!running && optRule_->isChecked());
    txtSeed_->setEnabled(!running && optRule_->isChecked() && cmbRule_->currentIndex() == 3);
}

void frmBacktest::set_running(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{cmbSystem_, optForecasts_, optFixed_, optRule_,
                                                      txtFrom_, txtTo_, cmdRun_})
        w->setEnabled(!on);
    cmdCancel_->setEnabled(on);
    const bool shown = !on && !result_.draws.empty();
    cmdExport_->setEnabled(shown);
    cmdPrint_->setEnabled(shown);
    show_mode();
}

void frmBacktest::cmdFromRow_Click() {
    const Session& st = ctx_.session;
    const TextTable& rows = st.tset.rows();
    const int row = st.tset.current_row();
    if (st.tset.name().isEmpty() || row < rows.fixed_rows() || row < 1 || row >= rows.rows()) {
        message(msg_select_tset_row);
        return;
    }
    QStringList numbers;
    for (int c = 1; c <= st.tset.size() && c < rows.cols(); ++c)
        numbers << rows.text(row, c).trimmed();
    txtNumbers_->setText(numbers.join(u' '));
}

std::optional<BacktestPeriod> frmBacktest::period_from_controls() {
    BacktestPeriod period;
    for (QLineEdit* box : {txtFrom_, txtTo_}) {
        const QString text = box->text().trimmed();
        if (text.isEmpty())
            continue;
        const auto serial = date_text_to_serial(text, DatePart::DateTime);
        if (!serial) {
            message(msg_incorrect_date);
            box->setFocus();
            return std::nullopt;
        }
        (box == txtFrom_ ? period.from : period.to) = *serial;
    }
    if (period.from > period.to) {
        message(QStringLiteral("The period starts after it ends: From comes after To."));
        txtFrom_->setFocus();
        return std::nullopt;
    }
    return period;
}

std::optional<BacktestSource> frmBacktest::source_from_controls() {
    BacktestSource source;
    Session& st = ctx_.session;
    if (optForecasts_->isChecked()) {
        if (st.tset.name().isEmpty()) {
            message(msg_select_tset);
            ctx_.windows.show(window_name::tsets);
            return std::nullopt;
        }
        // The set's rows are in the table only while its window is open.
        const TextTable& rows = st.tset.rows();
        source.kind = BacktestSource::Kind::forecasts;
        source.set.name = st.tset.name();
        source.set.size = st.tset.size();
        for (int r = rows.fixed_rows(); r < rows.rows(); ++r) {
            TsetRow row{rows.text(r, 0), {}};
            for (int c = 1; c <= source.set.size && c < rows.cols(); ++c)
                row.numbers << rows.text(r, c).trimmed();
            source.set.rows.push_back(std::move(row));
        }
    } else if (optFixed_->isChecked()) {
        source.kind = BacktestSource::Kind::fixed;
        QString bad;
        auto numbers = parse_number_list(txtNumbers_->text(), &bad);
        if (numbers && numbers->empty()) {
            message(msg_type_data);
            txtNumbers_->setFocus();
            return std::nullopt;
        }
        if (!numbers) {
            message(QStringLiteral("'%1' is not a number of a lotto.").arg(bad));
            txtNumbers_->setFocus();
            return std::nullopt;
        }
        source.numbers = std::move(*numbers);
    } else {
        source.kind = BacktestSource::Kind::rule;
        source.rule = rules[std::clamp(cmbRule_->currentIndex(), 0, 3)];
        bool ok = false;
        source.window = txtWindow_->text().trimmed().toInt(&ok);
        if (!ok || source.window < 0) {
            message(QStringLiteral("The draws counted (W) are a count of draws, as 100."));
            txtWindow_->setFocus();
            return std::nullopt;
        }
        source.seed = txtSeed_->text().trimmed().toUInt(&ok);
        if (source.rule == WalkRule::random && !ok) {
            message(QStringLiteral("The seed is a whole number from 0 to 4294967295."));
            txtSeed_->setFocus();
            return std::nullopt;
        }
    }
    return source;
}

void frmBacktest::cmdRun_Click() {
    if (worker_)
        return;
    Session& st = ctx_.session;
    show_in_force();
    if (st.lotto.name().isEmpty()) {
        message(msg_select_lotto);
        ctx_.windows.show(window_name::lotto);
        return;
    }
    const LottoParams params = st.lotto.params();
    if (params.play_n == 0 || params.pick_n == 0) {
        message(msg_incorrect_lotto);
        return;
    }
    const auto period = period_from_controls();
    if (!period)
        return;
    auto source = source_from_controls();
    if (!source)
        return;
    // The draws are in the table only while the Lotto window is open.
    std::vector<DrawRec> draws;
    if (const int r = st.lotto.history(draws)) {
        message(QStringLiteral("The draw '%1' does not read; please correct it in the 'Lotto' window first.")
                    .arg(st.lotto.row_words(r)));
        return;
    }
    if (draws.empty()) {
        message(msg_no_draws_data);
        return;
    }

    SystemLookup played = find_played_system(cmbSystem_->currentText(), st.app_dir);
    if (!played.system) {
        message(played.error);
        return;
    }

    params_ = params;
    run_ = std::make_shared<Run>();
    worker_ =
        QThread::create([run = run_, params, draws = std::move(draws), system = std::move(*played.system),
                         period = *period, source = std::move(*source)] {
            run->result =
                run_backtest(params, draws, system, period, source, [&run](qsizetype done, qsizetype total) {
                    run->done = done;
                    run->total = total;
                    return !run->cancel;
                });
        });
    connect(worker_, &QThread::finished, this, &frmBacktest::run_finished);
    lblStatus_->setText(QStringLiteral("Running..."));
    prgRun_->setValue(0);
    set_running(true);
    progress_timer_->start();
    worker_->start();
}

void frmBacktest::cmdCancel_Click() {
    if (run_)
        run_->cancel = true;
}

void frmBacktest::run_finished() {
    worker_->wait();
    worker_->deleteLater();
    worker_ = nullptr;
    progress_timer_->stop();
    BacktestResult result = std::move(run_->result);
    run_.reset();
    if (result.cancelled) {
        prgRun_->setValue(0);
        lblStatus_->setText(
            result_.draws.empty()
                ? QStringLiteral("Cancelled.")
                : QStringLiteral("Cancelled: the figures shown are those of the last whole run."));
    } else if (!result.error.isEmpty()) {
        prgRun_->setValue(0);
        lblStatus_->clear();
        set_running(false);
        message(sentence(result.error));
        return;
    } else {
        prgRun_->setValue(prgRun_->maximum());
        result_ = std::move(result);
        lblStatus_->setText(result_.draws.empty() ? QStringLiteral("No draw of the period was played.")
                                                  : QString());
        show_result();
    }
    set_running(false);
}

void frmBacktest::show_result() {
    const BacktestResult& r = result_;
    const QString values[] = {QString::number(r.draws.size()),
                              QString::number(r.tickets),
                              backtest_amount(r.cost),
                              backtest_amount(r.winnings),
                              backtest_amount(r.net),
                              backtest_amount(r.expected_winnings),
                              backtest_amount(r.expected_winnings - r.cost),
                              return_text(r.expected_return()),
                              return_text(ticket_expected_return(params_, true))};
    for (int i = 0; i < 9; ++i)
        totals_[i]->setText(values[i]);
    for (int c = 0; c < backtest_classes; ++c) {
        const auto ratio = r.ratio(c);
        hits_->set_text(1 + c, 1, QString::number(r.hits[c]));
        hits_->set_text(1 + c, 2, backtest_amount(r.expected_hits[c]));
        hits_->set_text(1 + c, 3, ratio ? QString::number(*ratio, 'f', 2) : QStringLiteral("-"));
    }

    fill_backtest_grid(draws_->table(), r);
    const int numbers = r.draws.empty() ? 10 : static_cast<int>(r.draws.front().numbers.size());
    draws_->set_col_width(0, 1400);
    draws_->set_col_width(1, std::max(1200, numbers * 360));
    draws_->set_col_width(2, 900);
    // Too many rows to measure each: a date and the widest numbers keep their columns wide enough.
    msfDraws_->set_min_texts(0, {QStringLiteral("0000-00-00"), date_to_text(QDate(2000, 12, 28))});
    msfDraws_->set_min_texts(1, {QStringList(numbers, QStringLiteral("00")).join(u' ')});
    for (int c = 0; c < backtest_classes; ++c)
        draws_->set_col_width(3 + c, 900);
    for (int c = 3 + backtest_classes; c < draws_->cols(); ++c)
        draws_->set_col_width(c, 1300);
    fit_hits();
    show_chart();
}

// The hits grid as wide as its columns and as tall as its classes, so that no figure is cut.
void frmBacktest::fit_hits() {
    msfHits_->setMinimumSize(msfHits_->full_width(), msfHits_->full_height(backtest_classes));
}

void frmBacktest::show_chart() {
    const std::vector<BacktestDraw>& draws = result_.draws;
    QList<QPointF> net, expected;
    double low = 0, high = 0;
    const size_t step = std::max<size_t>(1, draws.size() / chart_points);
    for (size_t i = 0; i < draws.size(); ++i) {
        const BacktestDraw& d = draws[i];
        low = std::min({low, d.cumulative, d.expected_cumulative});
        high = std::max({high, d.cumulative, d.expected_cumulative});
        if (i % step != 0 && i + 1 != draws.size())
            continue;
        const auto x = static_cast<qreal>(chart_x(d.date));
        net << QPointF(x, d.cumulative);
        expected << QPointF(x, d.expected_cumulative);
    }
    net_line_->replace(net);
    expected_line_->replace(expected);
    QChart* chart = chtCumulative_->chart();
    auto* dates = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* amounts = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    if (!draws.empty()) {
        const QDate first = serial_to_date(draws.front().date), last = serial_to_date(draws.back().date);
        dates->setFormat(first.daysTo(last) > 3 * 365 ? QStringLiteral("yyyy") : QStringLiteral("yyyy-MM"));
        dates->setRange(QDateTime(first, QTime(0, 0), Qt::UTC),
                        QDateTime(std::max(last, first.addDays(1)), QTime(0, 0), Qt::UTC));
    }
    amounts->setRange(low, high > low ? high : low + 1);
    amounts->applyNiceNumbers();
    dates->setVisible(!draws.empty());
    amounts->setVisible(!draws.empty());
}

void frmBacktest::cmdExport_Click() {
    const auto path =
        ctx_.dialogs.save_file(this, QStringLiteral("Export Backtest"), QStringLiteral("backtest.csv"),
                               QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (path && !refuse_export_target(*path) && !write_export_file(*path, backtest_csv(result_)))
        message(msg_data_not_correct);
}

void frmBacktest::cmdPrint_Click() {
    QPrinter printer;
    // The played draws have seventeen columns: they need the page's long side.
    printer.setPageOrientation(QPageLayout::Landscape);
    if (ctx_.dialogs.choose_printer(this, printer))
        print_report(printer);
}

// The inputs and totals, the hits by class, the chart and the played draws, over as many pages as
// the draws need.
void frmBacktest::print_report(QPrinter& printer) {
    ReportPages pages(printer, font());
    if (!begin_report(printer, pages, windowTitle())) {
        message(msg_data_not_correct);
        return;
    }
    const QFont& plain = pages.plain();
    QString source;
    if (optForecasts_->isChecked())
        source = QStringLiteral("the forecasts of the set");
    else if (optFixed_->isChecked())
        source = QStringLiteral("the fixed numbers %1").arg(txtNumbers_->text().trimmed());
    else
        source = QStringLiteral("%1 over %2 earlier draws").arg(cmbRule_->currentText(), txtWindow_->text());
    pages.text_line(plain, QStringLiteral("Lotto: %1   Targeted Set: %2   System: %3")
                               .arg(lblLotto_->text(), lblTSet_->text(), cmbSystem_->currentText()));
    pages.text_line(plain, QStringLiteral("Numbers: %1").arg(source));
    // An open end of the period is the date of the first or last draw played.
    const auto period_end = [](const QLineEdit* box, double played) {
        const QString typed = box->text().trimmed();
        return typed.isEmpty() ? date_to_text(serial_to_date(played)) : typed;
    };
    const double first = result_.draws.empty() ? 0 : result_.draws.front().date;
    const double last = result_.draws.empty() ? 0 : result_.draws.back().date;
    pages.text_line(
        plain, QStringLiteral("Period: %1 to %2").arg(period_end(txtFrom_, first), period_end(txtTo_, last)));
    pages.skip(pages.line_height(plain) / 2);
    for (int i = 0; i < 9; ++i)
        pages.text_line(plain,
                        QStringLiteral("%1: %2").arg(QLatin1String(total_captions[i]), totals_[i]->text()));
    pages.skip(pages.line_height(plain) / 2);

    const QFontMetrics wide = pages.metrics(pages.bold());
    ReportTable hits;
    hits.rows = grid_rows(*hits_);
    hits.widths = column_widths(hits.rows, wide, wide.horizontalAdvance(QStringLiteral("    ")));
    hits.row_height = pages.line_height(pages.bold());
    hits.bold = [](int row, int) { return row == 0; };
    hits.repeated_rows = 1;
    pages.table(hits);
    pages.skip(pages.line_height(plain));

    // Half as tall as wide, and no more than half the page's height.
    const int chart_height = std::min(pages.page().width() / 2, pages.page().height() / 2);
    if (const auto top = pages.take(chart_height)) {
        const QRect band(pages.page().left(), *top, std::min(pages.page().width(), 2 * chart_height),
                         chart_height);
        chtCumulative_->render(&pages.painter(), band);
        pages.skip(pages.line_height(plain));
    }

    // Every column of the played draws: in smaller type where the page is too narrow for them,
    // and in bands of columns, each beginning with the date, where even that is not enough.
    const std::vector<QStringList> rows = grid_rows(*draws_);
    const auto widths = [&pages, &rows] {
        const QFontMetrics m = pages.metrics(pages.bold());
        return column_widths(rows, m, m.horizontalAdvance(QStringLiteral("  ")));
    };
    std::vector<int> width = widths();
    const auto total = [&width] { return std::accumulate(width.begin(), width.end(), 0); };
    if (total() > pages.page().width()) {
        constexpr qreal smallest = 6;
        pages.set_point_size(std::max(smallest, std::floor(20.0 * pages.page().width() / total()) / 2));
        width = widths();
        while (total() > pages.page().width() && pages.plain().pointSizeF() > smallest) {
            pages.set_point_size(pages.plain().pointSizeF() - 0.5);
            width = widths();
        }
    }
    const auto bands = column_bands(width, pages.page().width(), 1);
    for (const std::vector<int>& cols : bands) {
        if (&cols != &bands.front())
            pages.skip(pages.line_height(pages.plain()));
        ReportTable table;
        table.rows = bands.size() == 1 ? rows : band_rows(rows, cols);
        for (int c : cols)
            table.widths.push_back(width[c]);
        table.row_height = pages.line_height(pages.bold());
        table.bold = [](int row, int) { return row == 0; };
        table.repeated_rows = 1;
        pages.table(table);
    }
    pages.end();
}
