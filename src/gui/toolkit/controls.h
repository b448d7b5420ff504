#pragma once

#include <QString>
#include <qnamespace.h>

class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls every window builds, each named by its system name.

// An editable combo box whose click is only a pick from its list: no inline completion, and
// neither Enter nor leaving the box selects a listed entry.
QComboBox* make_combo(const char* name, QWidget* parent);
QLineEdit* make_edit(const char* name, const QString& text, QWidget* parent);
QPushButton* make_button(const char* name, const QString& caption, QWidget* parent);
// A label whose text the window sets.
QLabel* make_label(const char* name, const QString& text, QWidget* parent);
// A label showing a value (a name, a result) that the user can select and copy.
QLabel* make_value(const char* name, const QString& text, QWidget* parent);
// A sunken rule between groups of controls, across (Qt::Horizontal) or down (Qt::Vertical).
QFrame* make_line(const char* name, Qt::Orientation orientation, QWidget* parent);

// A caption with its box to its right on one row of a grid, from column on; the box spans span
// columns.
void add_field(QGridLayout* grid, int row, QLabel* caption, QWidget* box, Qt::Alignment box_alignment = {},
               int column = 0, int span = 1);

// Plain captions named Label1, Label2, ... in the order a window makes them.
class LabelMaker {
  public:
    explicit LabelMaker(int first = 1) : next_(first) {}
    QLabel* operator()(const QString& caption, QWidget* parent);

  private:
    int next_;
};
