#pragma once

#include "book/pages/editorgrid.h"
#include "book/pages/pagegrid.h"
#include "ui/core/services.h"

#include <QChar>
#include <QString>

namespace store {
class DbError;
}

namespace book {

class BlockOps;
class BookHub;
class BookNavigation;
class SidePanel;
class PageSession;

// Cell entry on the page grid: opening the editor, saving a cell into the
// page with the overwrite question, keeping the entry when nothing could be
// stored, and the mouse rules of the grid.
class CellEntry : public EditorGrid {
public:
    CellEntry(BookHub &hub, PageSession &session, ui::Services &services, SidePanel &panel, BookNavigation &nav,
              BlockOps &blocks);

    bool visible() const { return m_cell.visible(); }
    bool clean() const { return m_clean; }
    void setReadOnly(bool readOnly) { m_cell.setReadOnly(readOnly); }

    // The page grid's keys as the book's keymap names them (Delete, Tab,
    // Enter, a typed character). The arrows and paging keys are the grid view's own.
    void gridKeyPress(QChar ch);                 // Tab, Enter or a typed character
    void gridDoubleClick();
    void gridMouseDown(int button, int shift, int row, int col);
    void gridMouseUp(int button, int shift, int row, int col);
    bool checkUnsavedEntry() override;
    bool leaveEditor();                          // CheckUnsavedEntry when the editor is open
    void saveFromEditor();
    void hideEditor();

protected:
    CellEditor::Actions editorActions() override;
    int linesPerSlot() const override;
    BlockOps &markedCells() override { return m_blocks; }

private:
    void openEditor(QChar typed);
    bool saveCell(const QString &entry);   // false: nothing stored, the editor stays open
    // Overwrite what another station stored since the editor opened? Both are shown.
    bool askOverOtherStation(const QString &stored, const QString &entry);
    void saveFailed(const store::DbError &error);
    void keepEntry(const QString &entry);
    void notOnPageMadeAgain(const QString &entry, const PageLayout &before, int row, int col);

    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
    SidePanel &m_panel;        // the auto-refresh timer waits while a cell is typed
    BookNavigation &m_nav;
    BlockOps &m_blocks;        // the grid's clicks mark ranges
    bool m_clean = true;
};

} // namespace book
