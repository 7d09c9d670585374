#pragma once

#include "book/pages/bookkeymap.h"

#include <QChar>
#include <QString>

namespace book {

class BookController;
class BookPrinting;

// A key pressed in a control, with what the control shows that the key's
// action reads.
struct KeyPress {
    int key = 0;
    int shift = 0;        // ui::ShiftBits
    QChar typed{};        // as ui::KeyStroke
    int index = -1;       // a list's current entry
    int count = 0;        // … and its number of entries
    QString text{};       // a text box's text
    bool readOnly = false;
    bool checked = false;
};

struct KeyOutcome {
    bool used = false;    // the key goes no further
    int index = -1;       // a list's entry to select
    int focus = -1;       // the print panel's control to focus (PrintOptions::Focus)
};

// The action the keymap gives the key: by the key itself, else by the
// character it types.
KeyAction keyAction(KeyPlace place, const KeyPress &k);

// Carries out a key's action in the book window (grid, editor, calendar,
// navigation panel) or in its print panel.
KeyOutcome runBookKey(BookController &book, KeyPlace place, KeyAction action, const KeyPress &k);
KeyOutcome runPrintKey(BookPrinting &printing, KeyPlace place, KeyAction action, const KeyPress &k);

} // namespace book
