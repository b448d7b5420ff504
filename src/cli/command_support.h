#pragma once

#include "core/lotto/lotto_document.h"
#include "core/lotto/lotto_records.h"

#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <utility>
#include <vector>

// What every command shares: its streams and exit statuses, its arguments, and the lotto it reads.
namespace cli {

enum Exit { done = 0, partly_done = 1, nothing_done = 2 };

QTextStream& out();
QTextStream& err();
// Says on stderr why the command did nothing; the exit status nothing_done.
int fail(const QString& command, const QString& text);

// A lotto as its files hold it, for the commands.
struct StoredLotto {
    QString folder;
    QString name;
    LottoDocument doc;            // the lotto as the Lotto window would hold it
    std::vector<DrawRec> history; // its draws, by date
    const LottoParams& params() const { return doc.params(); }
};

// Reads the parameters and the draws; error says what stops the command.
bool load_lotto(StoredLotto& lotto, QString& error);
// The stored draws that no draw of the lotto can be, each as its row's text and why.
std::vector<std::pair<QString, QString>> impossible_draws(const StoredLotto& lotto);

struct Context {
    QString command;
    QString data_dir;
    QString lotto_name;
};

// The named lotto for a command that only reads it; the exit status when it cannot be read.
std::optional<int> open_lotto(const Context& ctx, StoredLotto& lotto);

QCommandLineOption option(const char* name, const char* description, const char* value = nullptr);
// A date of --from or --to: ISO, or the short form of the user's locale.
std::optional<QDate> option_date(const QString& text);
std::optional<QChar> option_separator(const QString& text);
// The dates of --from and --to, each left empty when not given; the exit status when one is not
// a date, after saying so.
std::optional<int> period_options(const QCommandLineParser& parser, const QString& command,
                                  std::optional<QDate>& from, std::optional<QDate>& to);

// Parses the arguments of one command; returns the exit status when the command is not to run.
std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments, const QString& usage,
                         int files, Context& ctx, const QString& program_dir, const QString& user_data_dir);

// The commands, one file each.
int run_import(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir);
int run_export(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir);
int run_check(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir);
int run_backtest_command(const QStringList& arguments, const QString& program_dir,
                         const QString& user_data_dir);
// zandrel design: the smallest wheel for a pool and a guarantee, or the best share with a fixed
// number of tickets. Exit 0 when the wheel gives the guarantee (checked), 1 when the time or the
// budget ended first, 2 for parameters that do not make a wheel.
int run_design(const QStringList& arguments, const QString& program_dir, const QString& user_data_dir);

} // namespace cli
