// Imports generated 6/49 draw histories as CSV: 100,000 and 1,000,000 rows into an empty lotto,
// and 100,000 into a history that already holds them; prints the time of each and the peak memory.
// Then the whole command, `zandrel import FILE --lotto NAME --create 49,6`, on the same files:
// reading, merging, sorting and the safe save of draws.txt, with the command's own peak memory.
// With --shot IMPORT.png CHECK.png it instead opens the Lotto window on the sample data (from
// --samples DIR, default share/), imports a small published history and checks the result, and
// saves a picture of the import dialog and of the check report.
#include "core/lotto/draw_import.h"

#include "support/shots.h"
#include "support/test_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

// One draw a day from the year 1000 on, so a million draws keep four-digit years.
QByteArray history_csv(int rows) {
    QRandomGenerator rng(6049);
    QString csv = QStringLiteral("Draw Date,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball\r\n");
    csv.reserve(static_cast<qsizetype>(rows) * 36);
    const QDate first(1000, 1, 1);
    for (int i = 0; i < rows; ++i) {
        csv += first.addDays(i).toString(Qt::ISODate);
        std::array<bool, 50> used{};
        for (int k = 0; k < 7; ++k) {
            int n = 0;
            do
                n = 1 + static_cast<int>(rng.bounded(49));
            while (used[static_cast<size_t>(n)]);
            used[static_cast<size_t>(n)] = true;
            csv += u',';
            csv += QString::number(n);
        }
        csv += QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}

QString peak_memory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("unknown");
}

ImportResult timed(const char* what, const QByteArray& csv, const std::vector<DrawRec>& history) {
    LottoParams lotto;
    lotto.play_n = 49;
    lotto.pick_n = 6;
    QElapsedTimer timer;
    timer.start();
    ImportResult result = import_draws(csv, lotto, history);
    const qint64 ms = timer.elapsed();
    std::printf("%-40s %6lld ms  peak %s\n  %s\n", what, static_cast<long long>(ms),
                qPrintable(peak_memory()), qPrintable(result.summary()));
    return result;
}

// The command on a file of csv, as a user runs it; the time and the peak memory of the command.
void timed_command(const char* what, const QByteArray& csv) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("history.csv")));
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size())
        return;
    file.close();
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    p.start(QStringLiteral(ZANDREL_BIN_DIR "/zandrel"),
            {"import", file.fileName(), "--lotto", "Big", "--create", "49,6", "--data-dir", dir.path()});
    p.waitForFinished(-1);
    const qint64 ms = timer.elapsed();
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const QStringList out = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    std::printf("%-40s %6lld ms  peak of the command so far %ld kB\n  exit %d: %s\n", what,
                static_cast<long long>(ms), usage.ru_maxrss, p.exitCode(),
                qPrintable(out.value(out.size() - 1)));
}

void click(QWidget* window, const char* name) {
    if (auto* button = window->findChild<QPushButton*>(QLatin1String(name)))
        button->click();
}

int shots(const QString& samples, const QString& import_png, const QString& check_png) {
    TestApp app;
    install_samples(app, samples);
    const QString csv = app.path(QStringLiteral("lotto_6_49.csv"));
    QFile f(csv);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write("DRAW NUMBER,DRAW DATE,NUMBER DRAWN 1,NUMBER DRAWN 2,NUMBER DRAWN 3,NUMBER DRAWN 4,"
            "NUMBER DRAWN 5,NUMBER DRAWN 6,BONUS NUMBER\r\n"
            "4150,\"December 5, 2026\",4,15,21,33,40,47,9\r\n"
            "4149,\"December 2, 2026\",7,12,19,28,36,44,3\r\n"
            "4148,\"November 28, 2026\",2,11,23,30,38,49,17\r\n"
            "4147,\"November 25, 2026\",5,14,22,31,39,46,1\r\n"
            "4146,\"Novmber 21, 2026\",8,16,24,32,41,45,6\r\n"
            "4145,\"November 18, 2026\",3,13,20,29,37,50,12\r\n");
    f.close();
    QWidget* lotto = app.windows.show(QStringLiteral("frmLotto"));
    auto* names = lotto->findChild<QComboBox*>(QStringLiteral("cmbName"));
    names->setCurrentIndex(names->findText(QStringLiteral("Canada_6_49")));
    emit names->activated(names->currentIndex());
    app.dialogs.file_answers = {csv};
    click(lotto, "cmdImport");
    auto* dialog = lotto->findChild<QDialog*>(QStringLiteral("frmImport"));
    if (!dialog)
        return 1;
    // The picture shows what the import would leave out or change: the conflicts and rejected rows.
    if (auto* troubles = dialog->findChild<QCheckBox*>(QStringLiteral("chkTroubles")))
        troubles->setChecked(true);
    QApplication::processEvents();
    const bool imported = dialog->grab().save(import_png);
    click(dialog, "cmdImport");
    click(lotto, "cmdCheck");
    auto* report = lotto->findChild<QDialog*>(QStringLiteral("frmCheck"));
    QApplication::processEvents();
    for (const QString& m : app.dialogs.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return imported && report && report->grab().save(check_png) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList args = offscreen_arguments(argc, argv);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    if (const ShotRequest shot = shot_request(args, 2, QStringLiteral(ZANDREL_SHARE_DIR)); shot.shot)
        return shots(shot.samples, shot.files[0], shot.files[1]);
    const QByteArray small = history_csv(100000);
    std::printf("generated %lld bytes of CSV for 100,000 draws\n", static_cast<long long>(small.size()));
    const ImportResult first = timed("100,000 draws into an empty lotto", small, {});
    timed("100,000 draws already present", small, first.merged);
    QByteArray large = history_csv(1000000);
    std::printf("generated %lld bytes of CSV for 1,000,000 draws\n", static_cast<long long>(large.size()));
    timed("1,000,000 draws into an empty lotto", large, {});
    timed_command("command: 100,000 draws, new lotto", small);
    timed_command("command: 1,000,000 draws, new lotto", large);
    return 0;
}
