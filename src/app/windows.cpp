#include "app/windows.h"

#include "analyses/frm_backtest.h"
#include "analyses/frm_fability.h"
#include "analyses/frm_performance.h"
#include "analyses/frm_profitability.h"
#include "app/frm_main.h"
#include "lotto/frm_lotto.h"
#include "systems/frm_system.h"
#include "tsets/frm_tset_generator.h"
#include "tsets/frm_tsets.h"
#include "ui/app_context.h"
#include "ui/help_viewer.h"
#include "ui/window_names.h"
#include "ui/window_registry.h"

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
}
