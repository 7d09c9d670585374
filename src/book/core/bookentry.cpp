// Cell entry: the editor laid over a cell, saving a cell into the page, and
// the mouse rules of the page grid.
#include "book/core/blockops.h"
#include "book/core/bookcontroller.h"
#include "book/pages/editorkeys.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

namespace book {

using store::DbError;

namespace {

constexpr int SaveRetries = 3;

} // namespace

void BookController::gridKeyPress(QChar ch)
{
    stopTimer();
    if (ch == QChar(9)) {
        if (!m_panelShown)
            toggleFullWidth();
        requestFocus(Focus::Calendar);
        return;
    }
    if (ch == QChar(13)) {
        openEditor(QChar());
        return;
    }
    // Other control characters (Backspace, Escape) open nothing.
    if (ch.unicode() < 32)
        return;
    openEditor(ch);
}

bool BookController::gridKeyDown(int qtKey, int shift)
{
    m_lastShift = shift;
    if (qtKey == Qt::Key_Delete) {
        m_blocks->remove();
        return true;
    }
    return false;
}

void BookController::gridDoubleClick()
{
    stopTimer();
    openEditor(QChar());
}

void BookController::openEditor(QChar typed)
{
    if (m_page.id == 0)
        return;
    // A locked page takes no typing.
    m_clean = !m_cell.open(typed, m_locked, m_settings.rHeight >= 2) && m_clean;
    if (m_cell.visible())
        requestFocus(Focus::Editor);
}

void BookController::hideEditor()
{
    if (!m_cell.visible())
        return;
    m_clean = true;
    m_cell.hide();
}

void BookController::setEditorText(const QString &text)
{
    m_cell.setShownText(text);
}

bool BookController::editorKeyDown(int qtKey, int shift)
{
    const EditorKey k = m_cell.keyDown(qtKey, shift, m_settings.rHeight);
    if (k == EditorKey::Save)
        saveFromEditor();
    if (k == EditorKey::Cancel && m_cell.visible()) {
        // The cell shows its stored text; nothing typed is stored.
        hideEditor();
        armTimer();
        requestFocus(Focus::Grid);
    }
    return k != EditorKey::Pass;
}

bool BookController::editorKeyPress(QChar ch)
{
    const EditorKey k = m_cell.keyPress(ch);
    if (k == EditorKey::Save)
        saveFromEditor();
    return k != EditorKey::Pass;
}

void BookController::saveFromEditor()
{
    if (!m_cell.visible())
        return;
    armTimer();
    if (m_cell.readOnly()) {
        // A locked page: nothing was typed, nothing to store.
        hideEditor();
        requestFocus(Focus::Grid);
        return;
    }
    m_cell.placeCursor();
    const QString entry = m_cell.entry();
    if (!saveCell(entry))
        return;   // the save failed: the entry stays in the editor to try again
    hideEditor();
    m_clean = true;
    requestFocus(Focus::Grid);
}

bool BookController::saveCell(const QString &entry)
{
    const int row = m_cell.row(), col = m_cell.col();
    try {
        for (int attempt = 0; attempt < SaveRetries; ++attempt) {
            // What the cell holds now, at every station.
            QString current;
            {
                const BusyScope busy(*this);
                refreshGrid(false);
                m_grid.setCursor(row, col);
                current = m_grid.textMatrix(row, col);
            }
            if (!current.isEmpty()) {
                if (current == entry)
                    return true;   // already holds exactly this entry
                m_cell.setText(current);
                const bool yes = m_s.prompter.ask(
                    QStringLiteral("An appointment entry has already been made for this timeslot. Do you wish to overwrite?"),
                    QStringLiteral("Appointment taken"), ui::Icon::Question, true);
                if (!yes) {
                    refreshGrid(false);
                    return true;
                }
            }
            // Only this cell is written, and only if nobody changed it while
            // the question was open; otherwise look again.
            const CellChanges change{{{row, col}, entry}};
            const CellChanges expected{{{row, col}, current}};
            PageStore::CellWrite w;
            {
                const BusyScope busy(*this);
                w = m_pages.writeCells(m_page.id, change, &expected);
            }
            if (w.conflict)
                continue;
            m_page.data = w.storedText;
            pasteText(m_grid, m_page.data);
            m_grid.setCursor(row, col);
            return true;
        }
        // Other stations kept changing this cell: nothing was stored, and the
        // user's entry stays in the editor.
        refreshGrid(false);
        m_grid.setCursor(row, col);
        keepEntry(entry);
        m_s.prompter.message(QStringLiteral("Your entry was not stored: other stations kept changing this cell "
                                            "while you were asked. It is still in the editor; press Tab to try again."),
                             QStringLiteral("Save Cell Content"), ui::Icon::Warning);
        requestFocus(Focus::Editor);
        return false;
    } catch (const DbError &e) {
        keepEntry(entry);
        saveFailed(e);
        return !m_cell.visible();
    }
}

// The user's entry back in the editor after a save that stored nothing.
void BookController::keepEntry(const QString &entry)
{
    m_clean = false;
    m_cell.setText(entry);
}

void BookController::saveFailed(const DbError &error)
{
    if (error.number() == DbError::Busy) {
        // Another station holds the database: that is no reason to give up
        // the page. Nothing was stored; the entry waits for another try.
        m_s.prompter.message(QStringLiteral("Another station is holding the database at the moment, so this "
                                            "entry was not stored. It is still in the editor: press Tab to store "
                                            "it again in a moment."),
                             QStringLiteral("Save Cell Content"), ui::Icon::Warning);
    } else {
        m_s.prompter.message(error.numbered(), QStringLiteral("Save Cell Content"), ui::Icon::Critical);
    }
    // The write was all or nothing, so the stored page is as it was: show it
    // and keep the entry in the editor for another try. Only when the page
    // itself is gone does this station no longer know what it shows.
    try {
        const PageRecord fresh = m_pages.read(m_page.id);
        m_page.data = fresh.data;
        pasteText(m_grid, m_page.data);
    } catch (const DbError &e) {
        if (e.number() != DbError::Busy) {
            endProgram();
            return;
        }
        // Still held: the page stays as displayed.
    }
    m_cell.placeCursor();
    m_clean = false;
    emit editorChanged();
    requestFocus(Focus::Editor);
}

bool BookController::checkUnsavedEntry()
{
    if (m_cell.checkUnsaved()) {
        m_clean = true;
        return true;
    }
    requestFocus(Focus::Editor);
    m_clean = false;
    return false;
}

bool BookController::leaveEditor()
{
    return !m_cell.visible() || checkUnsavedEntry();
}

void BookController::gridMouseDown(int button, int shift, int row, int col)
{
    if (button != 1 || shift != 0)
        return;
    if (m_cell.visible()) {
        m_cell.placeCursor();
        if (!checkUnsavedEntry())
            return;
    }
    hideEditor();
    m_calendar.markShown();
    emit calendarChanged();
    if (row >= m_grid.fixedRows() && col >= m_grid.fixedCols() && row < m_grid.rows() && col < m_grid.cols())
        m_grid.setCursor(row, col);
    m_blocks->plainClick(m_grid.row(), m_grid.col());
    refreshGrid();
}

void BookController::gridMouseUp(int button, int shift, int row, int col)
{
    if (row < m_grid.fixedRows() || col < m_grid.fixedCols() || row >= m_grid.rows() || col >= m_grid.cols())
        return;
    if (button == 1 && (shift & ShiftKey)) {
        m_blocks->shiftClick(row, col);
    } else if (button == 1 && (shift & (AltKey | CtrlKey))) {
        // Ctrl as Alt: window managers take Alt+click for moving windows.
        m_grid.setCursor(row, col);
        m_blocks->altClick(row, col);
    } else if (button == 2) {
        // The menu acts on the cell the user clicked: outside the marked
        // range that cell becomes current (and the mark is given up).
        if (!m_blocks->covers(row, col)) {
            if (m_cell.visible() && !leaveEditor())
                return;
            m_blocks->plainClick(row, col);
            m_grid.setCursor(row, col);
        }
        emit contextMenuRequested(m_grid.row(), m_grid.col());
    }
}

void BookController::gridScrolled()
{
    m_cell.follow();
}

} // namespace book
