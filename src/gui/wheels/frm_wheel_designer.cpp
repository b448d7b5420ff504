#include "gui/wheels/frm_wheel_designer.h"

#include "core/base/messages.h"
#include "core/session/session.h"
#include "core/systems/system_expansion.h"
#include "core/wheels/design_inputs.h"
#include "core/wheels/designed_systems.h"
#include "core/wheels/designed_wheels.h"
#include "core/wheels/wheel_bounds.h"
#include "gui/toolkit/controls.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "gui/toolkit/report_printer.h"
#include "gui/toolkit/results_grid.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_page.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrinter>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {

QString ratio_text(double ratio) {
    return QString::number(ratio, 'f', 2);
}

} // namespace

frmWheelDesigner::frmWheelDesigner(AppContext& ctx, QWidget* parent)
    : WorkingWindow(ctx, window_name::wheel_designer, QStringLiteral("Wheel Designer"),
                    QStringLiteral("designer.htm"), parent) {
    resize(1180, 600);
    const auto [central, page] = window_page<QVBoxLayout>(this, 10);

    LabelMaker label;
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(8);
    const auto field = [&](int row, int column, const QString& caption, const char* name) {
        QLineEdit* box = make_edit(name, QString(), central);
        box->setMaximumWidth(90);
        QLabel* text = label(caption, central);
        text->setBuddy(box);
        add_field(form, row, text, box, {}, column);
        return box;
    };
    txtNumbers_ = field(0, 0, QStringLiteral("&Numbers (V)"), "txtNumbers");
    txtPick_ = field(1, 0, QStringLiteral("&Ticket size (K)"), "txtPick");
    txtGuarantee_ = field(2, 0, QStringLiteral("&Guarantee (T)"), "txtGuarantee");
    txtIf_ = field(3, 0, QStringLiteral("&If drawn (M)"), "txtIf");
    txtSeconds_ = field(4, 0, QStringLiteral("Secon&ds"), "txtSeconds");
    txtSeed_ = field(5, 0, QStringLiteral("S&eed"), "txtSeed");
    txtTickets_ = field(6, 0, QStringLiteral("Tic&kets (0: fewest)"), "txtTickets");
    txtNumbers_->setToolTip(QStringLiteral("How many numbers the wheel covers."));
    txtIf_->setToolTip(QStringLiteral("T right whenever M of the drawn numbers are among the V."));
    txtTickets_->setToolTip(
        QStringLiteral("0: the fewest tickets that give the guarantee; a number: that many "
                       "tickets, covering as many draws as they can."));

    cmdStart_ = make_button("cmdStart", QStringLiteral("&Start"), central);
    cmdStop_ = make_button("cmdStop", QStringLiteral("St&op"), central);
    auto* run_buttons = new QHBoxLayout;
    run_buttons->addWidget(cmdStart_);
    run_buttons->addWidget(cmdStop_);
    form->addLayout(run_buttons, 7, 0, 1, 2);

    lblBest_ = make_value("lblBest", QStringLiteral("-"), central);
    lblUncovered_ = make_value("lblUncovered", QStringLiteral("-"), central);
    lblElapsed_ = make_value("lblElapsed", QStringLiteral("-"), central);
    lblBounds_ = make_value("lblBounds", QString(), central);
    add_field(form, 8, label(QStringLiteral("Best wheel"), central), lblBest_);
    add_field(form, 9, label(QStringLiteral("Uncovered"), central), lblUncovered_);
    add_field(form, 10, label(QStringLiteral("Elapsed"), central), lblElapsed_);
    add_field(form, 11, label(QStringLiteral("Bounds"), central), lblBounds_);
    form->setRowStretch(12, 1);

    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Tickets of the best wheel found, by seconds"));
    chart->setMargins(QMargins(4, 4, 4, 4));
    best_line_ = new QLineSeries(chart);
    best_line_->setName(QStringLiteral("Best wheel"));
    bound_line_ = new QLineSeries(chart);
    bound_line_->setName(QStringLiteral("Lower bound"));
    known_line_ = new QLineSeries(chart);
    known_line_->setName(QStringLiteral("Best known"));
    auto* seconds = new QValueAxis(chart);
    seconds->setLabelFormat(QStringLiteral("%.0f"));
    auto* sizes = new QValueAxis(chart);
    sizes->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(seconds, Qt::AlignBottom);
    chart->addAxis(sizes, Qt::AlignLeft);
    for (QLineSeries* line : {best_line_, bound_line_, known_line_}) {
        chart->addSeries(line);
        line->attachAxis(seconds);
        line->attachAxis(sizes);
    }
    QPen dashed(Qt::DashLine);
    dashed.setWidth(2);
    dashed.setColor(QColor(200, 60, 40));
    bound_line_->setPen(dashed);
    dashed.setColor(QColor(40, 140, 60));
    known_line_->setPen(dashed);
    // No scale before a run has drawn something to measure.
    seconds->setVisible(false);
    sizes->setVisible(false);
    chtProgress_ = new QChartView(chart, central);
    chtProgress_->setObjectName(QStringLiteral("chtProgress"));
    chtProgress_->setFocusPolicy(Qt::NoFocus);
    chtProgress_->setRenderHint(QPainter::Antialiasing);
    chtProgress_->setMinimumSize(340, 220);

    tickets_ = new GridModel(this);
    msfTickets_ = make_tickets_view(tickets_, "msfTickets", central);
    tickets_->set_text(0, 0, QStringLiteral("Tickets"));
    tickets_->set_text(0, 1, QStringLiteral("Numbers"));
    msfTickets_->setMinimumHeight(120);

    results_ = new GridModel(this);
    msfResults_ = make_results_view(results_, central);
    // As wide as its columns, measured on the header rows, which it shows until a wheel is found.
    show_guar_results(*results_, {}, {});
    results_->set_rows(2);
    msfResults_->setMinimumWidth(msfResults_->full_width());

    // Three columns: what to design and how it goes; the chart over the tickets; their results.
    auto* columns = new QHBoxLayout;
    columns->setSpacing(16);
    columns->addLayout(form);
    auto* middle = new QVBoxLayout;
    middle->addWidget(chtProgress_, 3);
    middle->addWidget(msfTickets_, 2);
    columns->addLayout(middle, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(label(QStringLiteral("Guaranteed Results"), central));
    right->addWidget(msfResults_);
    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    cmdSave_ = make_button("cmdSave", QStringLiteral("Save as S&ystem"), central);
    cmdPrint_ = make_button("cmdPrint", QStringLiteral("&Print Wheel"), central);
    buttons->addStretch(1);
    buttons->addWidget(cmdSave_);
    buttons->addWidget(cmdPrint_);
    right->addLayout(buttons);
    columns->addLayout(right);
    page->addLayout(columns, 1);

    lblResult_ = make_value("lblResult", QString(), central);
    lblResult_->setWordWrap(true);
    lblResult_->setMinimumHeight(2 * lblResult_->fontMetrics().lineSpacing());
    page->addWidget(lblResult_);
    setCentralWidget(central);

    progress_timer_ = new QTimer(this);
    progress_timer_->setInterval(200);
    connect(progress_timer_, &QTimer::timeout, this, &frmWheelDesigner::show_progress);
    connect(cmdStart_, &QPushButton::clicked, this, &frmWheelDesigner::cmdStart_Click);
    connect(cmdStop_, &QPushButton::clicked, this, &frmWheelDesigner::cmdStop_Click);
    connect(cmdSave_, &QPushButton::clicked, this, &frmWheelDesigner::cmdSave_Click);
    connect(cmdPrint_, &QPushButton::clicked, this, &frmWheelDesigner::cmdPrint_Click);
    for (QLineEdit* box : {txtNumbers_, txtPick_, txtGuarantee_, txtIf_, txtSeconds_, txtSeed_, txtTickets_})
        connect(box, &QLineEdit::returnPressed, this, &frmWheelDesigner::cmdStart_Click);
    Form_Load();
}

frmWheelDesigner::~frmWheelDesigner() {
    // A search still going reads nothing of the window, but must end before the window's parts go.
    if (worker_) {
        worker_->disconnect(this);
        run_->cancel = true;
        worker_->wait();
        delete worker_;
    }
}

void frmWheelDesigner::Form_Load() {
    const Session& s = ctx_.session;
    const int pick = s.lotto.params().pick_n;
    const int v = !s.tset.name().isEmpty() && s.tset.size() > 0 ? s.tset.size() : 10;
    const int k = pick >= 2 && pick <= wheel_max_pick ? pick : 6;
    const int t = std::min(3, k);
    txtNumbers_->setText(QString::number(v));
    txtPick_->setText(QString::number(k));
    txtGuarantee_->setText(QString::number(t));
    txtIf_->setText(QString::number(t));
    txtSeconds_->setText(QStringLiteral("10"));
    txtSeed_->setText(QStringLiteral("1"));
    txtTickets_->setText(QStringLiteral("0"));
    set_running(false);
}

void frmWheelDesigner::set_running(bool on) {
    for (QLineEdit* box : {txtNumbers_, txtPick_, txtGuarantee_, txtIf_, txtSeconds_, txtSeed_, txtTickets_})
        box->setEnabled(!on);
    cmdStart_->setEnabled(!on);
    cmdStop_->setEnabled(on);
    cmdSave_->setEnabled(!on && !wheel_.empty());
    cmdPrint_->setEnabled(!on && !wheel_.empty());
    if (on)
        cmdStop_->setFocus();
    else if (cmdStop_->hasFocus() || !focusWidget())
        cmdStart_->setFocus();
}

void frmWheelDesigner::cmdStart_Click() {
    if (running())
        return;
    DesignOptions options;
    struct Box {
        DesignInput input;
        const char* label;
        QLineEdit* box;
    };
    const Box boxes[] = {
        {DesignInput::numbers, "Numbers", txtNumbers_},       {DesignInput::pick, "Ticket size", txtPick_},
        {DesignInput::guarantee, "Guarantee", txtGuarantee_}, {DesignInput::if_m, "If drawn", txtIf_},
        {DesignInput::seconds, "Seconds", txtSeconds_},       {DesignInput::seed, "Seed", txtSeed_},
        {DesignInput::tickets, "Tickets", txtTickets_}};
    for (const Box& b : boxes) {
        const QString text = b.box->text().trimmed();
        QString fault;
        if (b.input == DesignInput::if_m && text.isEmpty())
            options.shape.m = options.shape.t; // "T if T" unless said otherwise
        else if (b.input != DesignInput::tickets || (!text.isEmpty() && text != u'0'))
            fault = read_design_input(b.input, QLatin1String(b.label), b.box->text(), options);
        if (fault.isEmpty() && b.input == DesignInput::if_m)
            fault = wheel_params_fault(options.shape);
        if (!fault.isEmpty()) {
            message(fault);
            b.box->setFocus();
            return;
        }
    }

    options_ = options;
    lower_bound_ = wheel_lower_bound(options.shape);
    best_known_ = best_known_size(options.shape).value_or(0);
    lblBounds_->setText(QStringLiteral("lower %1, best known %2")
                            .arg(lower_bound_)
                            .arg(best_known_ > 0 ? QString::number(best_known_) : QStringLiteral("-")));
    best_.clear();
    lblBest_->setText(QStringLiteral("none yet"));
    lblUncovered_->setText(QStringLiteral("-"));
    lblElapsed_->setText(QStringLiteral("0.0 s"));
    lblResult_->setText(QStringLiteral("Searching..."));
    // The wheel shown before is not this search's: it goes, and with it Save and Print.
    wheel_.clear();
    tickets_->set_rows(1);
    results_->set_rows(2);
    draw_chart();

    run_ = std::make_shared<Run>();
    options.cancel = &run_->cancel;
    options.progress_interval = 0.1;
    options.progress = [run = run_.get()](const DesignProgress& p) {
        const std::lock_guard hold(run->lock);
        run->progress = p;
        run->progressed = true;
    };
    worker_ = QThread::create([this, run = run_, options] {
        run->result = design_wheel(options);
        // The wheel is shown at once; its guaranteed results, which take a while for a big wheel,
        // follow. The window outlives this thread, and a call posted to it after it has gone is dropped.
        QMetaObject::invokeMethod(
            this, [this, run] { search_finished(*run); }, Qt::QueuedConnection);
        if (!run->result.tickets.empty())
            run->tables = played_guar_tables(
                designed_system(QString(), options.shape.v, options.shape.k, run->result.tickets));
    });
    connect(worker_, &QThread::finished, this, &frmWheelDesigner::run_finished);
    set_running(true);
    progress_timer_->start();
    worker_->start();
}

void frmWheelDesigner::cmdStop_Click() {
    if (run_)
        run_->cancel = true;
}

void frmWheelDesigner::show_progress() {
    if (!run_)
        return;
    DesignProgress p;
    {
        const std::lock_guard hold(run_->lock);
        if (!run_->progressed)
            return;
        p = run_->progress;
    }
    lblBest_->setText(p.best_size > 0 ? QStringLiteral("%1 tickets").arg(p.best_size)
                                      : QStringLiteral("none yet"));
    lblUncovered_->setText(QStringLiteral("%1 with %2 tickets").arg(p.uncovered).arg(p.size));
    lblElapsed_->setText(QStringLiteral("%1 s").arg(p.elapsed, 0, 'f', 1));
    if (p.best_size > 0 && (best_.empty() || best_.back().x() < p.elapsed)) {
        best_.emplace_back(p.elapsed, p.best_size);
        draw_chart();
    }
}

void frmWheelDesigner::draw_chart() {
    QList<QPointF> best(best_.begin(), best_.end());
    best_line_->replace(best);
    QChart* chart = chtProgress_->chart();
    auto* seconds = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* sizes = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    const double end = std::max(options_.seconds, best_.empty() ? 0.0 : best_.back().x());
    const auto across = [end](double y) { return QList<QPointF>{QPointF(0, y), QPointF(end, y)}; };
    bound_line_->replace(lower_bound_ > 0 ? across(static_cast<double>(lower_bound_)) : QList<QPointF>{});
    known_line_->replace(best_known_ > 0 ? across(best_known_) : QList<QPointF>{});
    double low = static_cast<double>(lower_bound_), high = std::max<double>(low, best_known_);
    for (const QPointF& p : best_)
        high = std::max(high, p.y());
    if (low <= 0 && high <= 0) {
        seconds->setVisible(false);
        sizes->setVisible(false);
        return;
    }
    seconds->setRange(0, end > 0 ? end : 1);
    sizes->setRange(std::max(0.0, low - std::max(1.0, 0.05 * low)), high + std::max(1.0, 0.05 * high));
    sizes->applyNiceNumbers();
    seconds->setVisible(true);
    sizes->setVisible(true);
}

void frmWheelDesigner::search_finished(Run& run) {
    if (run.shown)
        return;
    run.shown = true;
    progress_timer_->stop();
    show_progress();
    cmdStop_->setEnabled(false);
    if (!run.result.error.isEmpty()) {
        lblResult_->clear();
        message(run.result.error);
        return;
    }
    const DesignResult& r = run.result;
    if (!r.tickets.empty() && r.count.complete()) {
        best_.emplace_back(r.elapsed, static_cast<double>(r.tickets.size()));
        lblBest_->setText(QStringLiteral("%1 tickets").arg(r.tickets.size()));
    }
    lblElapsed_->setText(QStringLiteral("%1 s").arg(r.elapsed, 0, 'f', 1));
    lblUncovered_->setText(QString::number(r.count.total - r.count.covered));
    draw_chart();
    show_result(run);
}

void frmWheelDesigner::run_finished() {
    worker_->wait();
    worker_->deleteLater();
    worker_ = nullptr;
    const std::shared_ptr<Run> run = std::move(run_);
    search_finished(*run);
    if (!run->result.tickets.empty()) {
        show_guar_results(*results_, run->tables.min, run->tables.max);
        results_rows_ = grid_rows(*results_);
    }
    set_running(false);
}

void frmWheelDesigner::show_result(const Run& run) {
    const DesignResult& r = run.result;
    if (r.tickets.empty()) {
        lblResult_->setText(r.cancelled ? QStringLiteral("Stopped before a wheel was found.")
                                        : QStringLiteral("No wheel was found in the time given."));
        return;
    }
    const Session& s = ctx_.session;
    const int v = options_.shape.v;
    std::vector<int16_t> numbers(static_cast<size_t>(v) + 1, 0);
    const bool on_set = s.tset.size() == v && s.tset.numbers()[1] > 0;
    QStringList shown;
    for (int i = 1; i <= v; ++i) {
        numbers[i] = on_set ? s.tset.numbers()[i] : static_cast<int16_t>(i);
        shown << QString::number(numbers[i]);
    }
    shown_ = options_.shape;
    wheel_ = r.tickets;
    count_ = r.count;
    numbers_ = shown.join(u' ');
    fill_played_grid(tickets_->table(), designed_system(QString(), v, options_.shape.k, r.tickets), numbers);

    const auto size = static_cast<double>(r.tickets.size());
    QString text =
        QStringLiteral("%1 tickets on %2. ").arg(r.tickets.size()).arg(on_set ? s.tset.name() : numbers_);
    if (r.count.complete()) {
        text += QStringLiteral("Checked: every one of the %1 draws of %2 among the %3 numbers gets %4 right.")
                    .arg(r.count.total)
                    .arg(shown_.m)
                    .arg(v)
                    .arg(shown_.t);
        text += QStringLiteral(" Ratio to the lower bound %1")
                    .arg(ratio_text(size / static_cast<double>(lower_bound_)));
        if (best_known_ > 0)
            text += QStringLiteral(", to the best known %1").arg(ratio_text(size / best_known_));
        text += u'.';
    } else {
        text += QStringLiteral("Checked: %1 of the %2 draws of %3 among the %4 numbers (%5%) get %6 right.")
                    .arg(r.count.covered)
                    .arg(r.count.total)
                    .arg(shown_.m)
                    .arg(v)
                    .arg(100.0 * static_cast<double>(r.count.covered) / static_cast<double>(r.count.total), 0,
                         'f', 1)
                    .arg(shown_.t);
    }
    if (r.cancelled)
        text += QStringLiteral(" Stopped: the best wheel found so far.");
    lblResult_->setText(text);
}

void frmWheelDesigner::cmdSave_Click() {
    if (wheel_.empty()) {
        message(QStringLiteral("There is no wheel to save: please design one first."));
        return;
    }
    const auto name = ctx_.dialogs.input(this, QStringLiteral("The name of the designed system:"),
                                         QStringLiteral("Save as System"), QString());
    if (!name)
        return;
    const QString chosen = name->trimmed();
    if (const QString fault = designed_name_fault(chosen); !fault.isEmpty()) {
        message(fault);
        return;
    }
    if (list_designed_wheels(ctx_.session.app_dir).contains(chosen) &&
        !ctx_.dialogs.ask(this,
                          QStringLiteral("A designed system %1 exists already. Replace it?").arg(chosen)))
        return;
    QString error;
    if (!save_designed_wheel(ctx_.session.app_dir, chosen, wheel_, error)) {
        message(error);
        return;
    }
    ctx_.session.designed_system_saved();
    message(QStringLiteral("Saved: the Systems window offers it as %1.").arg(designed_choice(chosen)));
}

void frmWheelDesigner::cmdPrint_Click() {
    if (wheel_.empty()) {
        message(QStringLiteral("There is no wheel to print: please design one first."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Wheel"));
    if (!ctx_.dialogs.choose_printer(this, printer))
        return;
    if (print_pages(printer, printout()) == 0)
        message(msg_data_not_correct);
}

QString frmWheelDesigner::shape_text() const {
    return QStringLiteral("%1 numbers, tickets of %2, %3 if %4")
        .arg(shown_.v)
        .arg(shown_.k)
        .arg(shown_.t)
        .arg(shown_.m);
}

Printout frmWheelDesigner::printout() const {
    Printout doc;
    doc.title = QStringLiteral("Wheel: %1").arg(shape_text());
    const auto known = best_known_size(shown_);
    doc.header << QStringLiteral("Numbers: %1").arg(numbers_)
               << QStringLiteral("Tickets: %1   Lower bound: %2   Best known: %3")
                      .arg(wheel_.size())
                      .arg(wheel_lower_bound(shown_))
                      .arg(known ? QString::number(*known) : QStringLiteral("-"))
               << QStringLiteral("Covered: %1 of %2").arg(count_.covered).arg(count_.total);
    for (int r = 1; r < tickets_->rows(); ++r)
        doc.items << tickets_->text(r, 0) + u'\t' + tickets_->text(r, 1);
    doc.table_title = QStringLiteral("Guaranteed Results");
    doc.table = results_rows_;
    doc.table_fixed_rows = 2;
    doc.table_fixed_cols = 2;
    return doc;
}
