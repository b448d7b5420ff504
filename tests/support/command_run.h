#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

// Runs the real program as a user runs a command: no display at all. The test defines
// ZANDREL_BIN_DIR, the folder of the built program.
struct Run {
    int exit = -1;
    QStringList out; // stdout's lines, empty ones left out
    QString err;
};

// setup, when given, changes the child before it starts (a limit, its output).
inline Run zandrel(const QStringList& arguments, const std::function<void(QProcess&)>& setup = {}) {
    QProcess p;
    if (setup)
        setup(p);
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
