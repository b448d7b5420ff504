#include "ui/controls.h"

#include <QComboBox>
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

QLabel* LabelMaker::operator()(const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(next_++));
    return label;
}
