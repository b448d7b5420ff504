#pragma once

#include "gui/toolkit/grid_model.h"
#include "gui/tsets/frm_tsets.h"
#include "support/test_files.h"
#include "support/window_driver.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

using Win = WindowDriver<>;

inline Win show_tsets(TestApp& app) {
    return open_window(app, QStringLiteral("frmTsets"));
}

inline GridModel& tsets_grid(TestApp& app) {
    return drive(app.windows.find(QStringLiteral("frmTsets"))).grid("msfTsets");
}
