#pragma once

#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/window_names.h"
#include "support/test_app.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// A 6/49 lotto "L" and a set "S" of size 10 selected; add_draws and add_sets put unsaved rows
// ("date n1 .. n6 bonus", "date n1 .. n10") into the grids of the Lotto and Targeted Sets windows.
struct FabilityScene {
    TestApp app;

    FabilityScene() {
        LottoParams lotto;
        lotto.play_n = 49;
        lotto.pick_n = 6;
        lotto.prize3 = 10;
        lotto.prize4 = 100;
        lotto.prize5 = 1000;
        lotto.prize6 = 1000000;
        lotto.cost = 1;
        app.session.lotto.set_params(lotto);
        app.session.lotto.set_name(QStringLiteral("L"));
        app.session.tset.set_name(QStringLiteral("S"));
        app.session.tset.set_size(10);
    }

    TextTable& draws() {
        app.windows.load(QLatin1String(window_name::lotto));
        return app.session.lotto.draws();
    }
    TextTable& sets() {
        app.windows.load(QLatin1String(window_name::tsets));
        TextTable& g = app.session.tset.rows();
        // Laid out as for a set of 10 when the window has not laid its grid out yet.
        if (g.cols() < 11)
            g.set_cols(11);
        if (g.rows() < 1) {
            g.set_rows(1);
            g.set_fixed_rows(1);
        }
        return g;
    }
    void add_draws(const QStringList& lines) {
        std::vector<QStringList> rows;
        for (const QString& line : lines) {
            QStringList cells = line.split(u' ');
            cells.insert(1, QString()); // the hidden serial
            rows.push_back(cells);
        }
        draws().append_rows(rows);
    }
    void add_sets(const QStringList& lines) {
        std::vector<QStringList> rows;
        for (const QString& line : lines)
            rows.push_back(line.split(u' '));
        sets().append_rows(rows);
    }
    bool visible(const char* name) const {
        QWidget* w = app.windows.find(QLatin1String(name));
        return w && w->isVisible();
    }
};

// Column 1 of rows 1..10 of a results grid, joined by blanks.
inline QString fa_column(const GridModel& g) {
    QStringList t;
    for (int r = 1; r < g.rows(); ++r)
        t << g.text(r, 1);
    return t.join(u' ');
}
