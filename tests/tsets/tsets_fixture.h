#pragma once

#include "core/grid_model.h"
#include "support/test_app.h"
#include "support/test_controls.h"
#include "ui/window_offers.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

// A window of the program driven by the object names of its controls.
struct Win {
    QWidget* w = nullptr;

    template <class T> T* get(const char* name) const {
        T* c = w->findChild<T*>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    void set(const char* name, const QString& text) const {
        if (auto* c = w->findChild<QComboBox*>(QLatin1String(name)))
            c->setEditText(text);
        else
            get<QLineEdit>(name)->setText(text);
    }
    QString text(const char* name) const {
        if (auto* c = w->findChild<QComboBox*>(QLatin1String(name)))
            return c->currentText();
        return get<QLineEdit>(name)->text();
    }
    void click(const char* name) const { click_control(w, name); }
    bool enabled(const char* name) const { return get<QWidget>(name)->isEnabled(); }
    // Picks an entry from a combo box's list the way a user does (a text not listed is typed).
    void pick(const char* name, const QString& text) const {
        auto* box = get<QComboBox>(name);
        const int i = box->findText(text);
        box->setCurrentIndex(i);
        if (i < 0)
            box->setEditText(text);
        emit box->activated(i);
    }
    // The control holding the focus; a combo box's editor counts as the box.
    QString focus() const {
        for (QWidget* p = w->focusWidget(); p; p = p->parentWidget())
            if (qobject_cast<QComboBox*>(p))
                return p->objectName();
        return w->focusWidget() ? w->focusWidget()->objectName() : QString();
    }
};

inline void write_file(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

inline QByteArray read_file(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Row r of a grid, its cells joined by blanks.
inline QString grid_row(const GridModel& g, int r) {
    QStringList cells;
    for (int c = 0; c < g.cols(); ++c)
        cells << g.text(r, c);
    return cells.join(u' ');
}

inline Win show_tsets(TestApp& app) {
    return Win{app.windows.show(QStringLiteral("frmTsets"))};
}

inline GridModel& tsets_grid(TestApp& app) {
    return app.windows.offer<TsetsOffer>(QStringLiteral("frmTsets"))->tsets_table();
}
