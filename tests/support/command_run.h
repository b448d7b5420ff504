#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the real program as a user runs a command: no display at all. The test defines
// ZANDREL_BIN_DIR, the folder of the built program.
struct Run {
    int exit = -1;
    QStringList out; // stdout's lines, empty ones left out
    QString err;
};

inline Run zandrel(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZANDREL_BIN_DIR "/zandrel"), arguments);
    if (!p.waitForFinished(60000))
        return {};
    Run run{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            {},
            QString::fromUtf8(p.readAllStandardError())};
    run.out = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return run;
}
