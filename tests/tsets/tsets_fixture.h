#pragma once

#include "core/grid_model.h"
#include "support/test_files.h"
#include "support/window_driver.h"
#include "ui/window_offers.h"

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
    return app.windows.offer<TsetsOffer>(QStringLiteral("frmTsets"))->tsets_table();
}
