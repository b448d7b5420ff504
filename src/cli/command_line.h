#pragma once

#include <QString>
#include <QStringList>

// The commands that work on the data folder without a window (zandrel import|export|check|backtest|design
// ...). They need no display: the program runs them under a QCoreApplication.

// True when the first argument after the program names a command.
bool is_command(const QStringList& arguments);
// The arguments with the command word first when --data-dir DIR (or --data-dir=DIR) comes before
// it, as the folder is given for the window program; otherwise as they are.
QStringList command_first(const QStringList& arguments);

// Runs the command: plain lines on stdout, mistakes on stderr. Exit status 0 when all was done,
// 1 when some of it was refused (rejected or conflicting rows, findings of a check), 2 when nothing
// was done. program_dir is where the program lies (it decides the data folder, as for the windows).
int run_command(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir);
