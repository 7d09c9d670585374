#pragma once

#include "book/core/bookkeys.h"

#include <QHash>
#include <QObject>
#include <functional>

class QWidget;

namespace book {

// The one place the book's controls have their keys read: each bound
// control's key presses are looked up in the book's keymap and what it
// names is run; any other key reaches the control as usual. What the
// control shows (a list's entry, a box's text, a check) goes with the key.
class KeyBinder : public QObject {
public:
    using Run = std::function<KeyOutcome(KeyPlace, KeyAction, const KeyPress &)>;

    KeyBinder(Run run, QObject *parent);
    void bind(QWidget *control, KeyPlace place);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Run m_run;
    QHash<const QObject *, KeyPlace> m_places;
};

} // namespace book
