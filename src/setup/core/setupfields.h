#pragma once

#include "ui/core/formmodel.h"

#include <QChar>
#include <QString>
#include <optional>

// The controls of the setup window and the rules of its entry fields: what
// may be typed, how a value is corrected when the field is left, and where
// Enter and the arrow keys move the focus.
namespace setup {

// Named like the window's controls (their objectNames). The first ten are
// the text fields, in the order Enter walks through them.
enum class Field {
    Text1,
    txtHrO,
    txtMinO,
    txtAM,
    txtHrC,
    txtMinC,
    txtPM,
    Text4,
    txtRHT,
    Text5,
    Grid1,
    CmdOkay,
    CmdReset,
};

inline constexpr int TextFieldCount = 10;

inline bool isTextField(Field f) { return static_cast<int>(f) < TextFieldCount; }
inline int fieldIndex(Field f) { return static_cast<int>(f); }
inline Field fieldAt(int index) { return static_cast<Field>(index); }

QString fieldName(Field f);
std::optional<Field> fieldByName(const QString &name);

// The character a key press puts into the field, or nullopt when the field
// refuses it. Backspace (8) always passes.
std::optional<QChar> typedChar(Field f, QChar ch);
// A pasted or loaded text with the refused characters removed (and letters
// in capitals where typing makes them so).
QString cleanText(Field f, const QString &text);
// Longest text a field takes; 0 for no limit. Hours, minutes and AM/PM are
// two characters wide because the stored time is read back by position.
int maxLength(Field f);

using LeaveResult = ui::LeaveResult;

// The window's controls as a form: the ten text fields with their typing,
// length and leave rules, the two buttons, and where Enter and the arrow
// keys go (the names grid is a place to go, not a control of the form).
const ui::FormModel &form();

// The correction made when a field loses the focus. Text5's rebuild of the
// names grid is the controller's business; this only gives its value.
LeaveResult leaveRule(Field f, const QString &text);

// The whole number a digits-only field stands for; empty counts as 0, and a
// very long run of digits saturates instead of wrapping.
int digitsValue(const QString &text);

// Enter in a non-empty field moves on in the window's order; nullopt means
// the focus stays (an empty field, or the last field).
std::optional<Field> nextField(Field f);
// Up/Down move between the lines of the form; nullopt: no line that way.
std::optional<Field> lineAbove(Field f);
std::optional<Field> lineBelow(Field f);

} // namespace setup
