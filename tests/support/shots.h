#pragma once

#include "core/session/samples.h"
#include "support/test_app.h"
#include "support/window_driver.h"

#include <QFile>
#include <QStringList>

// For the benchmark programs that can also take the pictures of the README.

// Installs the sample sources of samples (share/) into app's data folder, as a first start does.
inline void install_samples(TestApp& app, const QString& samples) {
    for (const char* name : {"d1", "d1a", "d2"})
        QFile::copy(samples + u'/' + QLatin1String(name), app.path(QLatin1String(name)));
    create_samples(app.dir.path());
}

// Installs the samples and chooses the sample lotto and the set Forecaster1 of 10, as a player
// would in the Lotto and Targeted Sets windows, which are then hidden.
inline void choose_samples(TestApp& app, const QString& samples) {
    install_samples(app, samples);
    open_window(app, "frmLotto").pick_typed("cmbName", "Canada_6_49");
    const auto tsets = open_window(app, "frmTsets");
    tsets.pick_typed("cmbSize", "10");
    tsets.pick_typed("cmbSets", "Forecaster1");
    for (const char* name : {"frmLotto", "frmTsets"})
        app.windows.find(name)->hide();
}

// A benchmark's arguments after the program name; its windows, when it opens any, go offscreen.
// Call before the QApplication is made.
inline QStringList offscreen_arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return args;
}

// "--shot FILE... [--samples DIR]": the files to save the pictures in and the folder of the sample
// sources (default_samples when not given); shot is false when no picture is asked for.
struct ShotRequest {
    bool shot = false;
    QStringList files;
    QString samples;
};
inline ShotRequest shot_request(const QStringList& args, int files, const QString& default_samples) {
    ShotRequest request;
    const qsizetype at = args.indexOf(QStringLiteral("--shot"));
    if (at < 0)
        return request;
    request.shot = true;
    for (int i = 1; i <= files; ++i)
        request.files << args.value(at + i);
    const qsizetype samples_at = args.indexOf(QStringLiteral("--samples"));
    request.samples = samples_at >= 0 ? args.value(samples_at + 1) : default_samples;
    return request;
}
