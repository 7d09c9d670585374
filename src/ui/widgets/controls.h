#pragma once

#include <QHBoxLayout>
#include <QString>
#include <QWidget>
#include <initializer_list>

// Small helpers the windows build their controls with.
namespace ui {

// A control made and given its objectName in one: the name is how the
// program's rules and its tests find every control.
template <class T>
T *named(T *object, const QString &name)
{
    object->setObjectName(name);
    return object;
}

// A window's row of buttons, kept to the right.
inline QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *b : buttons)
        row->addWidget(b);
    return row;
}

} // namespace ui
