#pragma once

#include <QHBoxLayout>
#include <QVBoxLayout>
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

// The layout of a window that shows one list or text: `main` takes the room
// the rest leaves, the row of `buttons` stands under it. What goes above
// `main` the caller inserts at the top.
inline QVBoxLayout *listColumn(QWidget *window, QWidget *main, std::initializer_list<QWidget *> buttons,
                               int spacing = 8)
{
    auto *box = new QVBoxLayout(window);
    box->setContentsMargins(12, 12, 12, 12);
    box->setSpacing(spacing);
    box->addWidget(main, 1);
    box->addLayout(buttonRow(buttons));
    return box;
}

} // namespace ui
