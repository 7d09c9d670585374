#pragma once

#include <QChar>
#include <QString>
#include <QtCore/qnamespace.h>

namespace ui {

// Shift state bits as the controllers take them.
enum ShiftBits { ShiftBit = 1, CtrlBit = 2, AltBit = 4 };

// A key press as the controllers see it: Shift+Tab is Tab with the Shift
// bit, and the character typed is Enter 13, Tab 9, Backspace 8, else the
// printable text (none for Ctrl chords, which are shortcuts; AltGr, which
// arrives as Ctrl+Alt, still types).
struct KeyStroke {
    int key = 0;
    int shift = 0;
    QChar typed;
};

int shiftState(Qt::KeyboardModifiers mods);
KeyStroke translateKey(int key, Qt::KeyboardModifiers mods, const QString &text);

} // namespace ui
