#pragma once

#include <QString>

class QComboBox;
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

// Plain captions named Label1, Label2, ... in the order a window makes them.
class LabelMaker {
  public:
    explicit LabelMaker(int first = 1) : next_(first) {}
    QLabel* operator()(const QString& caption, QWidget* parent);

  private:
    int next_;
};
