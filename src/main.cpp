#include "app/windows.h"
#include "ui/app_context.h"
#include "ui/app_state.h"
#include "ui/dialogs.h"
#include "ui/window_names.h"
#include "ui/window_registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zandrel"));

    AppState state;
    state.app_dir = QApplication::applicationDirPath();
    QtDialogs dialogs;
    WindowRegistry windows;
    AppContext ctx{state, dialogs, windows, [] { QApplication::exit(0); }};
    register_windows(ctx);

    windows.show(window_name::main);
    const int rc = QApplication::exec();
    windows.destroy_all();
    return rc;
}
