#pragma once

#include <QChar>
#include <QString>

// The rules of the cell editor shared by the page grid and the template grid.
namespace book {

// Shift state bits of key and mouse events.
enum ShiftBits { ShiftKey = 1, CtrlKey = 2, AltKey = 4 };

enum class EditorKey {
    Pass,   // the editor box handles the key itself
    Save,   // the key saves the cell
    Drop,   // the key is swallowed
    Cancel, // the edit is given up: the cell keeps its stored text
};

// Enter saves with one line per slot (Shift+Enter does nothing then); with
// more lines Enter starts a new line and Shift+Enter saves. Escape cancels.
EditorKey editorKeyDown(int qtKey, int shift, int linesPerSlot);
// Tab saves; the braces are refused.
EditorKey editorKeyPress(QChar ch);

// A cell's text as the editor box shows it (line breaks CR LF), and the
// editor's text compared without CR.
QString toEditorText(QString cellText);
QString withoutCr(QString text);

} // namespace book
