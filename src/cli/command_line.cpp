#include "cli/command_line.h"

#include "cli/command_support.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace cli;

bool is_command(const QStringList& arguments) {
    if (arguments.size() < 2)
        return false;
    const QString& word = arguments[1];
    return word == QLatin1String("import") || word == QLatin1String("export") ||
           word == QLatin1String("check") || word == QLatin1String("backtest") ||
           word == QLatin1String("design");
}

QStringList command_first(const QStringList& arguments) {
    if (arguments.size() < 3)
        return arguments;
    const QString& first = arguments[1];
    const int word = first == QLatin1String("--data-dir")             ? 3
                     : first.startsWith(QLatin1String("--data-dir=")) ? 2
                                                                      : 0;
    if (word == 0 || word >= arguments.size() || !is_command({arguments[0], arguments[word]}))
        return arguments;
    QStringList moved = arguments;
    moved.move(word, 1);
    return moved;
}

int run_command(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir) {
    const QString& word = arguments.at(1);
    int status = nothing_done;
    if (word == QLatin1String("import"))
        status = run_import(arguments, program_dir, user_data_dir);
    else if (word == QLatin1String("export"))
        status = run_export(arguments, program_dir, user_data_dir);
    else if (word == QLatin1String("backtest"))
        status = run_backtest_command(arguments, program_dir, user_data_dir);
    else if (word == QLatin1String("design"))
        status = run_design(arguments, program_dir, user_data_dir);
    else
        status = run_check(arguments, program_dir, user_data_dir);
    // What a full disk or a closed pipe refused is not a success.
    out().flush();
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (!flushed || std::ferror(stdout) || out().status() != QTextStream::Ok) {
        err() << "zandrel " << word << ": the standard output could not be written"
              << (error ? QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(error)))
                        : QString())
              << '\n';
        status = nothing_done;
    }
    err().flush();
    return status;
}
