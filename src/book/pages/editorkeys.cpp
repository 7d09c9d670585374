#include "book/pages/editorkeys.h"

#include <Qt>

namespace book {

EditorKey editorKeyDown(int qtKey, int shift, int linesPerSlot)
{
    if (qtKey == Qt::Key_Escape)
        return EditorKey::Cancel;
    if (qtKey != Qt::Key_Return && qtKey != Qt::Key_Enter)
        return EditorKey::Pass;
    const bool shifted = shift & ShiftKey;
    if (linesPerSlot < 2)
        return shifted ? EditorKey::Drop : EditorKey::Save;
    return shifted ? EditorKey::Save : EditorKey::Pass;
}

EditorKey editorKeyPress(QChar ch)
{
    if (ch == QChar(9))
        return EditorKey::Save;
    if (ch == QLatin1Char('{') || ch == QLatin1Char('}'))
        return EditorKey::Drop;
    return EditorKey::Pass;
}

QString toEditorText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString withoutCr(QString text)
{
    return text.remove(QLatin1Char('\r'));
}

} // namespace book
