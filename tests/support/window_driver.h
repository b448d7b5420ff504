#pragma once

#include "gui/toolkit/grid_model.h"
#include "gui/toolkit/grid_view.h"
#include "support/test_app.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QWidget>

// Clicks the button of that object name the way a user can: the test fails, instead of the click
// quietly doing nothing, when the button is missing, hidden or disabled.
inline void click_control(QWidget* window, const QString& name) {
    auto* button = window->findChild<QAbstractButton*>(name);
    QVERIFY2(button, qPrintable(QStringLiteral("no button %1").arg(name)));
    QVERIFY2(button->isVisibleTo(window), qPrintable(QStringLiteral("%1 is hidden").arg(name)));
    QVERIFY2(button->isEnabled(), qPrintable(QStringLiteral("%1 is disabled").arg(name)));
    button->click();
}

// The control holding the focus in window, by its own name (a combo box's inner editor counts as
// the box).
inline QString focus_name(QWidget* window) {
    QWidget* focus = window->focusWidget();
    for (QWidget* p = focus; p; p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p))
            return p->objectName();
    return focus ? focus->objectName() : QString();
}

// The cells of row r of a grid: a view's model or a document's table.
template <class Grid> QStringList row_cells(const Grid& g, int r) {
    QStringList cells;
    for (int c = 0; c < g.cols(); ++c)
        cells << g.text(r, c);
    return cells;
}

// Row r of a grid, its cells joined by blanks.
template <class Grid> QString grid_row(const Grid& g, int r) {
    return row_cells(g, r).join(u' ');
}

// A window of the program driven by the object names of its controls, as a user drives it. A
// missing control stops the test at once: every later step would only fail less clearly.
template <class W = QWidget> struct WindowDriver {
    W* w = nullptr;

    W* operator->() const { return w; }

    template <class T = QWidget> T* get(const QString& name) const {
        T* c = w->template findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    // The text of a label, of a combo box's editor or of a text box.
    QString text(const QString& name) const {
        if (auto* l = w->template findChild<QLabel*>(name))
            return l->text();
        if (auto* c = w->template findChild<QComboBox*>(name))
            return c->currentText();
        return get<QLineEdit>(name)->text();
    }
    // Types into a text box or a combo box's editor.
    void set(const QString& name, const QString& text) const {
        if (auto* c = w->template findChild<QComboBox*>(name))
            c->setEditText(text);
        else
            get<QLineEdit>(name)->setText(text);
    }
    QStringList texts(const QStringList& names) const {
        QStringList t;
        for (const QString& name : names)
            t << text(name);
        return t;
    }
    void set_texts(const QStringList& names, const QStringList& texts) const {
        for (qsizetype i = 0; i < names.size(); ++i)
            set(names[i], texts.value(i));
    }
    void click(const QString& name) const { click_control(w, name); }
    bool enabled(const QString& name) const { return get(name)->isEnabled(); }
    // "1" for each enabled control of names, "0" for each disabled one.
    QString enabled_flags(const QStringList& names) const {
        QString s;
        for (const QString& name : names)
            s += enabled(name) ? u'1' : u'0';
        return s;
    }
    // Picks the entry of that text from a combo box's list; the test fails when it is not listed.
    void pick(const QString& name, const QString& text) const {
        auto* box = get<QComboBox>(name);
        const int i = box->findText(text);
        QVERIFY2(i >= 0, qPrintable(QStringLiteral("%1 is not listed in %2").arg(text, name)));
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    // Confirms a text typed into a combo box as a pick; a text not listed comes with index -1.
    void pick_typed(const QString& name, const QString& text) const {
        auto* box = get<QComboBox>(name);
        const int i = box->findText(text);
        box->setCurrentIndex(i);
        if (i < 0)
            box->setEditText(text);
        emit box->activated(i);
    }
    QString focus() const { return focus_name(w); }
    // The grid behind a grid view.
    GridModel& grid(const QString& name) const { return *get<GridView>(name)->grid(); }
};

// A driver of a window already made.
template <class W = QWidget> WindowDriver<W> drive(QWidget* window) {
    auto* w = qobject_cast<W*>(window);
    if (!w)
        qFatal("no window %s of the expected class", window ? qPrintable(window->objectName()) : "");
    return WindowDriver<W>{w};
}

// Shows the window of that name through the registry, as the main window's buttons do.
template <class W = QWidget> WindowDriver<W> open_window(TestApp& app, const QString& name) {
    QWidget* w = app.windows.show(name);
    if (!w)
        qFatal("%s is not registered", qPrintable(name));
    return drive<W>(w);
}
