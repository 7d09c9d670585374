#pragma once

#include <QString>
#include <initializer_list>

class QWidget;

namespace ui {

// Gives every control of a window that a keyboard reaches a name a screen
// reader can say, where the window gave it none: a box takes the text of the
// label beside it (as its buddy, so the label's mnemonic reaches it too), or
// else its placeholder; an icon-only button takes its tooltip. Controls
// already named keep their names. The window registry runs it on every
// window it makes.
void nameControls(QWidget *window);

// A panel that asks something in the window itself (not a message box):
// the buttons that answer it carry the question as their description, so the
// reader says it with the button that takes the focus, and the reader is
// alerted when the panel shows.
void describeQuestion(QWidget *panel, const QString &question, std::initializer_list<QWidget *> answers);

// Whether a screen reader has a name to say for `w`.
bool hasAccessibleName(QWidget *w);

} // namespace ui
