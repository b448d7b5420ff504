#include "shell/windows.h"

#include "lotto/frm_lotto.h"
#include "shell/frm_help.h"
#include "shell/frm_main.h"
#include "ui/app_context.h"
#include "ui/window_registry.h"

void register_windows(AppContext& ctx) {
    WindowRegistry& w = ctx.windows;
    w.add_factory(QStringLiteral("frmHelp"), [] { return new frmHelp; });
    w.add_factory(QStringLiteral("frmMain"), [&ctx] { return new frmMain(ctx); });
    w.add_factory(QStringLiteral("frmLotto"), [&ctx] { return new frmLotto(ctx); });
}
