#include "ui/core/keys.h"

namespace ui {

int shiftState(Qt::KeyboardModifiers mods)
{
    return ((mods & Qt::ShiftModifier) ? ShiftBit : 0) | ((mods & Qt::ControlModifier) ? CtrlBit : 0)
        | ((mods & Qt::AltModifier) ? AltBit : 0);
}

KeyStroke translateKey(int key, Qt::KeyboardModifiers mods, const QString &text)
{
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        mods |= Qt::ShiftModifier;
    }
    KeyStroke k{key, shiftState(mods), {}};
    const bool chord = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        k.typed = QChar(13);
    else if (key == Qt::Key_Tab)
        k.typed = QChar(9);
    else if (key == Qt::Key_Backspace)
        k.typed = QChar(8);
    else if (!chord && !text.isEmpty() && text.at(0).isPrint())
        k.typed = text.at(0);
    return k;
}

} // namespace ui
