#pragma once

#include <QWidget>

// The page of a working window: the widget that becomes its central widget and the box that lays
// it out (a QVBoxLayout or QHBoxLayout) with the margins every window keeps. The window fills it
// and hands it over with setCentralWidget once its controls are in.
template <class Box> struct WindowPage {
    QWidget* central;
    Box* layout;
};

template <class Box> WindowPage<Box> window_page(QWidget* window, int spacing = -1) {
    auto* central = new QWidget(window);
    auto* layout = new Box(central);
    layout->setContentsMargins(12, 10, 12, 12);
    if (spacing >= 0)
        layout->setSpacing(spacing);
    return {central, layout};
}
