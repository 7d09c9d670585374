#include "book/pages/editorgrid.h"

#include "book/pages/blockops.h"
#include "ui/core/gridmodel.h"

namespace book {

bool EditorGrid::deletesMarked(int qtKey, int) const
{
    return qtKey == Qt::Key_Delete;
}

bool EditorGrid::gridKeyDown(int qtKey, int shift)
{
    if (!deletesMarked(qtKey, shift))
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
