#include "app/start_up.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

AppFolders choose_folders(const QString& program_dir, const QString& user_data_dir,
                          const QString& data_dir_option) {
    AppFolders folders{program_dir, program_dir};
    const QDir program(program_dir);
    const QString installed_share = QDir::cleanPath(program.filePath(QStringLiteral("../share/zandrel")));
    if (program.dirName() == QLatin1String("bin") &&
        QFileInfo(installed_share + QStringLiteral("/main.htm")).isFile())
        folders = {user_data_dir, installed_share};
    if (!data_dir_option.isEmpty())
        folders.data_dir = data_dir_option;
    return folders;
}

bool make_data_folder(const QString& dir) {
    return !dir.isEmpty() && QDir().mkpath(dir) && QFileInfo(dir).isDir();
}

std::unique_ptr<QLockFile> lock_data_folder(const QString& dir, QString& refusal) {
    refusal.clear();
    auto lock = std::make_unique<QLockFile>(QDir(dir).filePath(QStringLiteral(".zandrel.lock")));
    // Held as long as the program runs: only a lock whose process is gone is stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (lock->error() == QLockFile::LockFailedError)
        refusal = QStringLiteral("Zandrel is already open on the data folder %1. Close that copy first, "
                                 "or start this one with --data-dir and another folder.")
                      .arg(QDir::toNativeSeparators(dir));
    return nullptr;
}

StartOptions read_start_options(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Corvane's Zandrel: targeted sets, systems and their results for lottery players.\n\n"
        "Commands, which need no display (zandrel COMMAND --help tells more):\n"
        "  import FILE --lotto NAME   add the draws of a published history (CSV and the like)\n"
        "  export FILE --lotto NAME   write the lotto's draws as CSV\n"
        "  check --lotto NAME         list missing draws and suspicious rows\n"
        "  backtest --lotto NAME --system NAME (--set SIZE/NAME | --numbers \"N1 N2 ...\" |\n"
        "           --rule RULE --window W)\n"
        "                             what a system would have paid and won over the draws\n"
        "  design --numbers V --pick K --guarantee T [--if M]\n"
        "                             the smallest wheel for a pool and a guarantee"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption data_dir(
        QStringLiteral("data-dir"),
        QStringLiteral("Keep the lottos, targeted sets and the current system in "
                       "<folder> (made when missing) instead of the usual place."),
        QStringLiteral("folder"));
    parser.addOption(data_dir);

    const QString program =
        arguments.isEmpty() ? QStringLiteral("zandrel") : QFileInfo(arguments[0]).fileName();
    const bool parsed = parser.parse(arguments);
    // Help and version answer even beside a mistake, as most command-line programs do.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'),
                     QStringLiteral("Usage: %1 [options]\n       %1 COMMAND ...").arg(program));
        return {false, 0, text, {}};
    }
    if (parser.isSet(version)) {
        const QString text =
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion();
        return {false, 0, text + u'\n', {}};
    }
    QString mistake;
    if (!parsed)
        mistake = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        mistake = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    else if (parser.isSet(data_dir) && parser.value(data_dir).isEmpty())
        mistake = QStringLiteral("The option '--data-dir' needs a folder.");
    if (!mistake.isEmpty())
        return {false, 1, QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, mistake), {}};
    StartOptions options;
    if (parser.isSet(data_dir))
        options.data_dir = QDir::cleanPath(QFileInfo(parser.value(data_dir)).absoluteFilePath());
    return options;
}
