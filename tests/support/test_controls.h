#pragma once

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

// Clicks the button of that object name the way a user can: the test fails, instead of the click
// quietly doing nothing, when the button is missing, hidden or disabled.
inline void click_control(QWidget* window, const char* name) {
    auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
    QVERIFY2(button, qPrintable(QStringLiteral("no button %1").arg(QLatin1String(name))));
    QVERIFY2(button->isVisibleTo(window),
             qPrintable(QStringLiteral("%1 is hidden").arg(QLatin1String(name))));
    QVERIFY2(button->isEnabled(), qPrintable(QStringLiteral("%1 is disabled").arg(QLatin1String(name))));
    button->click();
}
