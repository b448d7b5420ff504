#include "cli/command_line.h"
#include "core/session/kept_edits.h"
#include "core/session/session.h"
#include "core/session/start_up.h"
#include "gui/main/windows.h"
#include "gui/toolkit/app_context.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/navigator.h"
#include "gui/toolkit/window_names.h"
#include "gui/toolkit/window_registry.h"
#include "zandrel_version.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

namespace {

int print_answer(const StartOptions& options) {
    std::fputs(options.answer.toLocal8Bit().constData(), options.exit_code == 0 ? stdout : stderr);
    return options.exit_code;
}

// Says why the program does not start: on stderr, and in a box for whoever sits at the display.
// On a display that nobody sees (offscreen) the box closes by itself.
void refuse_to_start(const QString& text) {
    std::fprintf(stderr, "zandrel: %s\n", qPrintable(text));
    QString shown = text;
    shown[0] = shown[0].toUpper();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), shown, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("msgStartRefused"));
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        QTimer::singleShot(3000, &box, &QMessageBox::accept);
    box.exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("Zandrel"));
    QApplication::setApplicationVersion(QStringLiteral(ZANDREL_VERSION));

    // Help, version, the commands and a mistaken command line need no display.
    {
        QStringList raw;
        for (int i = 0; i < argc; ++i)
            raw << QString::fromLocal8Bit(argv[i]);
        if (is_command(command_first(raw))) {
            QCoreApplication app(argc, argv);
            return run_command(command_first(QCoreApplication::arguments()),
                               QCoreApplication::applicationDirPath(),
                               QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        }
        const StartOptions early = read_start_options(without_toolkit_options(raw));
        if (!early.run)
            return print_answer(early);
    }

    QApplication app(argc, argv);
    const StartOptions options = read_start_options(QApplication::arguments());
    if (!options.run)
        return print_answer(options);
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zandrel-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.corvane.Zandrel"));

    const AppFolders folders =
        choose_folders(QApplication::applicationDirPath(),
                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), options.data_dir);
    if (!make_data_folder(folders.data_dir)) {
        refuse_to_start(folders.data_dir.isEmpty()
                            ? QStringLiteral("cannot make the data folder: no home folder is known. Start "
                                             "Zandrel with --data-dir and a folder to keep the data in.")
                            : QStringLiteral("cannot make the data folder %1").arg(folders.data_dir));
        return 1;
    }
    QString refusal;
    const auto lock = lock_data_folder(folders.data_dir, refusal);
    if (!refusal.isEmpty()) {
        refuse_to_start(refusal);
        return 1;
    }

    Session session;
    session.app_dir = folders.data_dir;
    session.share_dir = folders.share_dir;
    QtDialogs dialogs;
    WindowRegistry windows;
    Navigator navigator(windows);
    AppContext ctx{session, dialogs, navigator, [] { QApplication::exit(0); }};
    register_windows(windows, ctx);

    windows.show(window_name::main);
    const int rc = QApplication::exec();
    // However the program ends (Exit, the last window closed), edits not saved are kept aside
    // before the windows go; no window's handler runs for it.
    keep_unsaved_edits(session);
    windows.destroy_all();
    return rc;
}
