#include "gui/toolkit/results_grid.h"

#include "core/systems/system_expansion.h"
#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"

#include <QHeaderView>

namespace {

// Design widths of the results grid's header columns, in twips: wide enough for their texts.
constexpr int results_head_width = 1700;
constexpr int results_minmax_width = 640;

} // namespace

GridView* make_tickets_view(GridModel* tickets, const char* name, QWidget* parent) {
    tickets->set_cols(2);
    tickets->set_rows(1);
    tickets->set_fixed_rows(1);
    tickets->set_col_width(0, 600);
    tickets->set_col_width(1, 1500);
    auto* view = new GridView(parent);
    view->setObjectName(QLatin1String(name));
    view->set_grid(tickets);
    view->setMinimumWidth(220);
    return view;
}

GridView* make_results_view(GridModel* results, QWidget* parent) {
    auto* view = new GridView(parent);
    view->setObjectName(QStringLiteral("msfResults"));
    view->set_grid(results);
    // Two header rows of 2 and 3 rows' height over ten rows: the grid is never taller than that.
    view->setFixedHeight(15 * view->verticalHeader()->defaultSectionSize() + 2 * view->frameWidth() + 2);
    return view;
}

void show_guar_results(GridModel& results, const GuarMinMax& guar_min, const GuarMinMax& guar_max) {
    fill_results_grid(results.table(), guar_min, guar_max);
    results.set_row_height(0, 2 * results.row_height(4));
    results.set_row_height(1, 3 * results.row_height(4));
    results.set_col(0);
    results.set_col_width(0, results_head_width);
    results.set_col_width(1, results_minmax_width);
}
