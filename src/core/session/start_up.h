#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

// Where the user's data lives (Lto/, Tsets/, system) and where the help pages and sample sources
// are read from.
struct AppFolders {
    QString data_dir;
    QString share_dir;
};

// Portable, as in a build folder or an unpacked one: both folders are the program's own.
// Installed (the program in <prefix>/bin and the help pages in <prefix>/share/zandrel): the data in
// user_data_dir, the rest in <prefix>/share/zandrel. The layout decides, not write rights, which
// root always has. A data_dir_option that is not empty replaces the data folder in either case.
AppFolders choose_folders(const QString& program_dir, const QString& user_data_dir,
                          const QString& data_dir_option);

// Makes the data folder and its parents when missing; false when that fails.
bool make_data_folder(const QString& dir);

// Claims the data folder for this copy of the program while the lock lives, so that two copies
// never save over each other's draws and sets. A lock left by a copy that crashed is taken over.
// A lock file that names no holder (empty, cut, a folder, a dangling link) is stale and removed.
// On a folder that another copy holds, refusal names the folder (and the computer, for a copy on
// another one) and no lock is returned; where no lock file can be made (a read-only folder), too:
// without a lock two copies could save over each other's work.
std::unique_ptr<QLockFile> lock_data_folder(const QString& dir, QString& refusal);

// What the command line asks for: to run (with the data folder it names, made absolute), or an
// answer to print (help or version on stdout with exit code 0, a mistake on stderr with 1).
struct StartOptions {
    bool run = true;
    int exit_code = 0;
    QString answer;
    QString data_dir;
};
StartOptions read_start_options(const QStringList& arguments);

// The arguments without the options QApplication takes for itself (-platform NAME, -style=S, ...),
// so that a mistake is told before the windows start, which may need a display.
QStringList without_toolkit_options(const QStringList& arguments);
