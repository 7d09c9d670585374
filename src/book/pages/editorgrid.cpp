#include "book/pages/editorgrid.h"

#include "book/pages/blockops.h"
#include "ui/core/gridmodel.h"

namespace book {

bool EditorGrid::gridKeyDown(int qtKey, int shift)
{
    // The grid's other keys come as the characters they type.
    if (BookKeymap::action(m_place, qtKey, shift) != KeyAction::DeleteMarked)
        return false;
    markedCells().remove();
    return true;
}

bool EditorGrid::editorKeyDown(int qtKey, int shift)
{
    return m_cell.keyDown(qtKey, shift, linesPerSlot(), editorActions());
}

bool EditorGrid::editorKeyPress(QChar ch)
{
    return m_cell.keyPress(ch, editorActions());
}

bool EditorGrid::runEditorKey(KeyAction action, int qtKey, int shift, QChar typed)
{
    switch (action) {
    case KeyAction::EditorEnter:
    case KeyAction::CancelEntry: return editorKeyDown(qtKey, shift);
    case KeyAction::SaveEntry:
        editorKeyPress(QChar(9));
        return true;   // Tab never reaches the text, whatever became of it
    case KeyAction::TypedInEditor: return editorKeyPress(typed);
    default: return false;
    }
}

bool EditorGrid::editorKey(int qtKey, int shift, QChar typed)
{
    return runEditorKey(BookKeymap::of(KeyPlace::Editor, qtKey, shift, typed), qtKey, shift, typed);
}

bool EditorGrid::markingClick(ui::GridModel &grid, int button, int shift, int row, int col)
{
    if (button != 1)
        return false;
    if (shift & ShiftKey) {
        markedCells().shiftClick(row, col);
    } else if (shift & (AltKey | CtrlKey)) {
        grid.setCursor(row, col);
        markedCells().altClick(row, col);
    } else {
        return false;
    }
    return true;
}

bool EditorGrid::plainClickLeavesEditor(int button, int shift)
{
    if (button != 1 || shift != 0)
        return false;
    if (!m_cell.visible())
        return true;
    m_cell.placeCursor();
    return checkUnsavedEntry();
}

void EditorGrid::clickCell(ui::GridModel &grid, int row, int col)
{
    if (inCells(grid, row, col))
        grid.setCursor(row, col);
    markedCells().plainClick(grid.row(), grid.col());
}

bool EditorGrid::inCells(const ui::GridModel &grid, int row, int col)
{
    return row >= grid.fixedRows() && col >= grid.fixedCols() && row < grid.rows() && col < grid.cols();
}

} // namespace book
