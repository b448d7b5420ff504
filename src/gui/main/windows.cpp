#include "gui/main/windows.h"

#include "gui/analyses/frm_backtest.h"
#include "gui/analyses/frm_fability.h"
#include "gui/analyses/frm_performance.h"
#include "gui/analyses/frm_profitability.h"
#include "gui/lotto/frm_lotto.h"
#include "gui/main/frm_main.h"
#include "gui/systems/frm_system.h"
#include "gui/toolkit/app_context.h"
#include "gui/toolkit/help_viewer.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_registry.h"
#include "gui/tsets/frm_tset_generator.h"
#include "gui/tsets/frm_tsets.h"
#include "gui/wheels/frm_wheel_designer.h"

void register_windows(WindowRegistry& w, AppContext& ctx) {
    w.add_factory(window_name::help, [] { return new frmHelp; });
    w.add_factory(window_name::main, [&ctx] { return new frmMain(ctx); });
    w.add_factory(window_name::lotto, [&ctx] { return new frmLotto(ctx); });
    w.add_factory(window_name::tsets, [&ctx] { return new frmTsets(ctx); });
    w.add_factory(window_name::tset_generator, [&ctx] { return new frmTsetGenerator(ctx); });
    w.add_factory(window_name::performance, [&ctx] { return new frmPerformance(ctx); });
    w.add_factory(window_name::system, [&ctx] { return new frmSystem(ctx); });
    w.add_factory(window_name::fability, [&ctx] { return new frmFability(ctx); });
    w.add_factory(window_name::profitability, [&ctx] { return new frmProfitability(ctx); });
    w.add_factory(window_name::backtest, [&ctx] { return new frmBacktest(ctx); });
    w.add_factory(window_name::wheel_designer, [&ctx] { return new frmWheelDesigner(ctx); });
}
