#pragma once

#include "book/pages/bookkeymap.h"
#include "book/pages/celleditor.h"

#include <QChar>
#include <QString>
#include <functional>

namespace ui {
class GridModel;
class Prompter;
}

namespace book {

class BlockOps;

// What the page grid and the template grid do alike around their cell
// editor: the editor's keys and text, Delete on the marked cells, and a
// click that first settles an open editor's entry.
class EditorGrid {
public:
    CellEditor::State editor() const { return m_cell.state(); }

    bool gridKeyDown(int qtKey, int shift);      // Delete; true when the key was used here
    void gridScrolled() { m_cell.follow(); }
    bool editorKeyDown(int qtKey, int shift);    // true when the key was used here
    bool editorKeyPress(QChar ch);               // true when the key is dropped
    // A key in the editor as the keymap names it (its editor actions); true
    // when the key goes no further.
    bool runEditorKey(KeyAction action, int qtKey, int shift, QChar typed);
    bool editorKey(int qtKey, int shift, QChar typed);
    void setEditorText(const QString &text) { m_cell.setShownText(text); }   // every change of the editor box
    // True when the editor may be left; else the focus goes back to it.
    virtual bool checkUnsavedEntry() = 0;

protected:
    EditorGrid(KeyPlace place, ui::GridModel &grid, ui::Prompter &prompter, std::function<void()> changed,
               int firstRow)
        : m_cell(grid, prompter, std::move(changed), firstRow), m_place(place)
    {
    }
    virtual ~EditorGrid() = default;

    virtual CellEditor::Actions editorActions() = 0;
    virtual int linesPerSlot() const = 0;
    virtual BlockOps &markedCells() = 0;

    // What a character typed on the grid does there, by the keymap.
    KeyAction gridAction(QChar ch) const { return BookKeymap::typed(m_place, ch); }

    // A left click without Shift, Ctrl or Alt: an open editor's entry is
    // settled first. False when the click is to do nothing more.
    bool plainClickLeavesEditor(int button, int shift);
    // The grid's cursor onto a clicked data cell, and the marking starts there.
    void clickCell(ui::GridModel &grid, int row, int col);
    static bool inCells(const ui::GridModel &grid, int row, int col);
    // A left button released with Shift stretches the mark to the cell;
    // with Ctrl or Alt (window managers take Alt+click for moving windows)
    // the cell becomes current and a one-cell block. False: neither.
    bool markingClick(ui::GridModel &grid, int button, int shift, int row, int col);

    CellEditor m_cell;

private:
    KeyPlace m_place;
};

} // namespace book
