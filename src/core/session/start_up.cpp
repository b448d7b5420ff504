#include "core/session/start_up.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

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

namespace {

// Who holds a lock file, from the lines QLockFile writes: process id, program, host name, machine
// id, boot id. read is false for a file that does not hold them (empty, cut, not a file at all).
struct LockHolder {
    bool read = false;
    QString host;
    QByteArray machine;
};

LockHolder lock_holder(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool ok = false;
    if (lines.size() < 3 || lines[0].toLongLong(&ok) <= 0 || !ok)
        return {};
    return {true, QString::fromUtf8(lines[2]), lines.size() > 3 ? lines[3] : QByteArray()};
}

bool of_this_machine(const LockHolder& holder) {
    const QByteArray machine = QSysInfo::machineUniqueId();
    if (!holder.machine.isEmpty() && !machine.isEmpty())
        return holder.machine == machine;
    return holder.host.isEmpty() || holder.host == QSysInfo::machineHostName();
}

// The other computer as its lock names it: by its host name, and by its machine ID where that
// name is this computer's too.
QString holder_name(const LockHolder& holder) {
    if (holder.host.isEmpty())
        return QStringLiteral("machine ID %1").arg(QString::fromLatin1(holder.machine));
    if (holder.host == QSysInfo::machineHostName() && !holder.machine.isEmpty())
        return QStringLiteral("%1, machine ID %2").arg(holder.host, QString::fromLatin1(holder.machine));
    return holder.host;
}

// Removes a lock file that names no holder. Another copy writes its lines straight after making
// the file, so one that still names none a moment later was left half made (a crash, a full disk)
// or is not a lock at all. False when it cannot be removed.
bool remove_unread_lock(const QString& path) {
    QThread::msleep(100);
    if (lock_holder(path).read)
        return true; // a copy has just made it: tried again, it refuses as it should
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(path);
    if (info.isDir() && !info.isSymLink())
        return ::rmdir(name.constData()) == 0;
    return ::unlink(name.constData()) == 0 || errno == ENOENT;
}

} // namespace

std::unique_ptr<QLockFile> lock_data_folder(const QString& dir, QString& refusal) {
    refusal.clear();
    const QString path = QDir(dir).filePath(QStringLiteral(".zandrel.lock"));
    const QString shown = QDir::toNativeSeparators(path);
    auto lock = std::make_unique<QLockFile>(path);
    // Held as long as the program runs: only a lock whose process is gone is stale.
    lock->setStaleLockTime(0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock->tryLock(0))
            return lock;
        if (lock->error() != QLockFile::LockFailedError)
            break;
        const LockHolder holder = lock_holder(path);
        if (holder.read && !of_this_machine(holder)) {
            refusal = QStringLiteral("the data folder %1 is locked by Zandrel on another computer (%2). If "
                                     "Zandrel is not open there, remove the file %3, then start again.")
                          .arg(QDir::toNativeSeparators(dir), holder_name(holder), shown);
            return nullptr;
        }
        if (holder.read || attempt > 0) {
            refusal = QStringLiteral("Zandrel is already open on the data folder %1. Close that copy first, "
                                     "or start this one with --data-dir and another folder.")
                          .arg(QDir::toNativeSeparators(dir));
            return nullptr;
        }
        if (!remove_unread_lock(path)) {
            refusal = QStringLiteral("the lock file %1 holds no lock and cannot be removed (%2); remove it, "
                                     "then start again.")
                          .arg(shown, QString::fromLocal8Bit(std::strerror(errno)));
            return nullptr;
        }
    }
    // Without a lock two copies could save over each other's work: nothing runs on such a folder.
    refusal = QStringLiteral("cannot make the lock file %1, so the data folder %2 cannot be used (is it "
                             "read-only?). Start Zandrel with --data-dir and a folder it can write to.")
                  .arg(shown, QDir::toNativeSeparators(dir));
    return nullptr;
}

namespace {

QString not_a_command(const QString& word) {
    static const QStringList commands{QStringLiteral("import"), QStringLiteral("export"),
                                      QStringLiteral("check"), QStringLiteral("backtest")};
    QString text = QStringLiteral("'%1' is not a command.").arg(word);
    if (commands.contains(word.toLower()))
        text += QStringLiteral(" Commands are written in lower case: %1.").arg(word.toLower());
    return text;
}

} // namespace

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
    // A mistyped command word is told as such, before what follows it.
    const QString first = arguments.value(1);
    const auto data_dirs = std::count_if(arguments.begin(), arguments.end(), [](const QString& a) {
        return a == QLatin1String("--data-dir") || a.startsWith(QLatin1String("--data-dir="));
    });
    QString mistake;
    if (!first.isEmpty() && !first.startsWith(u'-'))
        mistake = not_a_command(first);
    else if (data_dirs > 1)
        mistake = QStringLiteral("The option '--data-dir' is given more than once.");
    else if (!parsed)
        mistake = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        mistake = not_a_command(parser.positionalArguments().constFirst());
    else if (parser.isSet(data_dir) && parser.value(data_dir).isEmpty())
        mistake = QStringLiteral("The option '--data-dir' needs a folder.");
    if (!mistake.isEmpty())
        return {false,
                1,
                QStringLiteral(
                    "%1: %2\n"
                    "Usage: %1 [--data-dir FOLDER]\n"
                    "       %1 import|export|check|backtest|design ... (%1 COMMAND --help tells more)\n"
                    "Try '%1 --help'.\n")
                    .arg(program, mistake),
                {}};
    StartOptions options;
    if (parser.isSet(data_dir))
        options.data_dir = QDir::cleanPath(QFileInfo(parser.value(data_dir)).absoluteFilePath());
    return options;
}

QStringList without_toolkit_options(const QStringList& arguments) {
    // The options QApplication takes for itself (with one dash or two), those with a value first.
    static const QStringList with_value{QStringLiteral("platform"),
                                        QStringLiteral("platformpluginpath"),
                                        QStringLiteral("platformtheme"),
                                        QStringLiteral("plugin"),
                                        QStringLiteral("qwindowgeometry"),
                                        QStringLiteral("geometry"),
                                        QStringLiteral("qwindowtitle"),
                                        QStringLiteral("title"),
                                        QStringLiteral("qwindowicon"),
                                        QStringLiteral("icon"),
                                        QStringLiteral("session"),
                                        QStringLiteral("display"),
                                        QStringLiteral("name"),
                                        QStringLiteral("style"),
                                        QStringLiteral("stylesheet"),
                                        QStringLiteral("visual")};
    static const QStringList flags{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                   QStringLiteral("nograb"),  QStringLiteral("dograb"),
                                   QStringLiteral("sync"),    QStringLiteral("testability")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (i == 0 || !arg.startsWith(u'-') || arg == QLatin1String("--")) {
            kept << arg;
            continue;
        }
        QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        const bool joined = equals >= 0;
        if (joined)
            name.truncate(equals);
        if (name == QLatin1String("qmljsdebugger") || (joined && with_value.contains(name)))
            continue;
        if (with_value.contains(name)) {
            ++i; // its value goes with it
            continue;
        }
        if (!flags.contains(name))
            kept << arg;
    }
    return kept;
}
