#include "gui/toolkit/controls.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QComboBox* make_combo(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would silently turn a typed "Te" into a listed "Test".
    box->setCompleter(nullptr);
    // Only picking from the list counts as a click: typing a listed name and leaving the box, or
    // pressing Enter, must not load it over what is being typed (nor fire while the window is
    // being destroyed).
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    QObject::disconnect(box->lineEdit(), &QLineEdit::returnPressed, box, nullptr);
    return box;
}

QLineEdit* make_edit(const char* name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QPushButton* make_button(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(true);
    return button;
}

QLabel* make_label(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel* make_value(const char* name, const QString& text, QWidget* parent) {
    QLabel* label = make_label(name, text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFrame* make_line(const char* name, Qt::Orientation orientation, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void add_field(QGridLayout* grid, int row, QLabel* caption, QWidget* box, Qt::Alignment box_alignment,
               int column, int span) {
    grid->addWidget(caption, row, column);
    grid->addWidget(box, row, column + 1, 1, span, box_alignment);
}

QLabel* LabelMaker::operator()(const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(next_++));
    return label;
}
