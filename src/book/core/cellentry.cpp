// Cell entry: saving a cell into the page, and the mouse rules of the page
// grid; the editor itself is the CellEditor.
#include "book/core/cellentry.h"

#include "book/pages/blockops.h"
#include "book/core/bookhub.h"
#include "book/pages/bookkeymap.h"
#include "book/core/booknavigation.h"
#include "ui/core/dateinput.h"
#include "book/core/writefailure.h"
#include "book/core/pagesession.h"
#include "book/core/sidepanel.h"
#include "book/pages/editorkeys.h"
#include "book/pages/pagepos.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

namespace book {

using store::DbError;

CellEntry::CellEntry(BookHub &hub, PageSession &session, ui::Services &services, SidePanel &panel,
                     BookNavigation &nav, BlockOps &blocks)
    : EditorGrid(KeyPlace::Grid, session.grid(), services.prompter, [this] { emit m_hub.editorChanged(); }, pos::FirstTimeRow),
      m_hub(hub),
      m_session(session),
      m_s(services),
      m_panel(panel),
      m_nav(nav),
      m_blocks(blocks)
{
}

void CellEntry::gridKeyPress(QChar ch)
{
    m_panel.stopTimer();
    switch (gridAction(ch)) {
    case KeyAction::LeaveGrid:
        if (!m_nav.panelShown())
            m_nav.toggleFullWidth();
        m_hub.requestFocus(Focus::Calendar);
        break;
    case KeyAction::OpenEditor: openEditor(QChar()); break;
    case KeyAction::OpenEditorTyped: openEditor(ch); break;
    default: break;
    }
}

int CellEntry::linesPerSlot() const
{
    return m_session.settings().rHeight;
}

void CellEntry::gridDoubleClick()
{
    m_panel.stopTimer();
    openEditor(QChar());
}

void CellEntry::openEditor(QChar typed)
{
    if (m_session.page().id == 0)
        return;
    // A locked page takes no typing.
    m_clean = !m_cell.open(typed, m_session.locked(), m_session.settings().rHeight >= 2) && m_clean;
    if (m_cell.visible())
        m_hub.requestFocus(Focus::Editor);
}

void CellEntry::hideEditor()
{
    if (!m_cell.visible())
        return;
    m_clean = true;
    m_cell.hide();
}

CellEditor::Actions CellEntry::editorActions()
{
    return {[this] { saveFromEditor(); },
            [this] {
                // The cell shows its stored text; nothing typed is stored.
                hideEditor();
                m_panel.armTimer();
                m_hub.requestFocus(Focus::Grid);
            }};
}

void CellEntry::saveFromEditor()
{
    if (!m_cell.visible())
        return;
    m_panel.armTimer();
    if (m_cell.readOnly()) {
        // A locked page: nothing was typed, nothing to store.
        hideEditor();
        m_hub.requestFocus(Focus::Grid);
        return;
    }
    m_cell.placeCursor();
    const QString entry = m_cell.entry();
    if (!saveCell(entry))
        return;   // the save failed: the entry stays in the editor to try again
    hideEditor();
    m_clean = true;
    m_hub.requestFocus(Focus::Grid);
}

bool CellEntry::saveCell(const QString &entry)
{
    int row = m_cell.row(), col = m_cell.col();
    bool remade = false;
    try {
        for (int attempt = 0; attempt < SaveAttempts; ++attempt) {
            // What the cell holds now, at every station.
            QString current;
            {
                const PageSession::BusyScope busy(m_session);
                m_session.refreshGrid(false);
                m_session.grid().setCursor(row, col);
                current = m_session.grid().textMatrix(row, col);
            }
            if (!current.isEmpty()) {
                if (current == entry)
                    return true;   // already holds exactly this entry
                if (current != m_cell.opening()) {
                    // Another station stored this entry while the user typed:
                    // both are shown, and No keeps the user's in the editor.
                    if (!askOverOtherStation(current, entry)) {
                        m_session.refreshGrid(false);
                        m_session.grid().setCursor(row, col);
                        m_cell.setOpening(current);
                        keepEntry(entry);
                        m_hub.requestFocus(Focus::Editor);
                        return false;
                    }
                } else {
                    m_cell.setText(current);
                    const bool yes = m_s.prompter.ask(QStringLiteral("An appointment entry has already been made "
                                                                     "for this timeslot. Do you wish to overwrite?"),
                                                      QStringLiteral("Appointment taken"), ui::Icon::Question, true);
                    if (!yes) {
                        m_session.refreshGrid(false);
                        return true;
                    }
                }
            }
            // Only this cell is written, and only if nobody changed it while
            // the question was open; otherwise look again.
            const CellChanges change{{{row, col}, entry}};
            const CellChanges expected{{{row, col}, current}};
            PageStore::CellWrite w;
            try {
                const PageSession::BusyScope busy(m_session);
                w = m_session.pages().writeCells(m_session.page().id, change, &expected);
            } catch (const DbError &e) {
                if (e.number() != DbError::NoCurrentRecord || remade)
                    throw;
                // Another station removed the page (setup removes those that
                // hold nothing, to be made anew from its settings). It is made
                // again, and the entry goes to the same time and consultant.
                remade = true;
                const PageLayout before = m_session.remakePage();
                const auto at = samePlace(before, m_session.layout(), row, col);
                if (!at) {
                    notOnPageMadeAgain(entry, before, row, col);
                    return true;
                }
                row = at->first;
                col = at->second;
                m_cell.moveTo(row, col);
                --attempt;   // no round lost to another station's entry
                continue;
            }
            if (w.conflict)
                continue;
            m_session.showStoredText(w.storedText);
            m_session.grid().setCursor(row, col);
            m_session.keepStep(QStringLiteral("Typing"), row, col, {w.edit});
            return true;
        }
        // Other stations kept changing this cell: nothing was stored, and the
        // user's entry stays in the editor.
        m_session.refreshGrid(false);
        m_session.grid().setCursor(row, col);
        keepEntry(entry);
        m_s.prompter.message(QStringLiteral("Your entry was not stored: other stations kept changing this cell "
                                            "while you were asked. It is still in the editor; press Tab to try again."),
                             QStringLiteral("Save Cell Content"), ui::Icon::Warning);
        m_hub.requestFocus(Focus::Editor);
        return false;
    } catch (const DbError &e) {
        keepEntry(entry);
        saveFailed(e);
        return !m_cell.visible();
    }
}

bool CellEntry::askOverOtherStation(const QString &stored, const QString &entry)
{
    const auto shown = [](QString text) {
        return text.isEmpty() ? QStringLiteral("(nothing: the cell would be emptied)")
                              : text.replace(page::LineBreak, QStringLiteral(" / "));
    };
    return m_s.prompter.ask(
        QStringLiteral("Another station has made an entry for this timeslot while you were typing.\n\n"
                       "Stored now:\t%1\nYour entry:\t%2\n\nDo you wish to overwrite it with your entry? No keeps "
                       "the stored entry, and yours stays in the editor to change or to drop with Esc.")
            .arg(shown(stored), shown(entry)),
        QStringLiteral("Appointment taken"), ui::Icon::Question, true);
}

// The page made again has no row of the entry's time, or no column of its
// consultant: the entry cannot be stored where it was typed. It goes to the
// clipboard, so the user can put it where it now belongs.
void CellEntry::notOnPageMadeAgain(const QString &entry, const PageLayout &before, int row, int col)
{
    QString time = QStringLiteral("the free row");
    if (row >= pos::FirstTimeRow && row <= before.lastTimeRow())
        time = page::formatTime(before.times[static_cast<size_t>(row - pos::FirstTimeRow)]).trimmed();
    const QString name = pos::textCol(col) < before.names.size() ? before.names[pos::textCol(col)].trimmed() : QString();
    m_s.clipboard.setText(entry);
    hideEditor();
    m_s.prompter.message(
        QStringLiteral("Another station removed the page of %1 while you were typing, and it has been made again "
                       "from the practice's present settings, which have no %2 for %3.\n\nYour entry \"%4\" was "
                       "not stored. It has been put on the clipboard: paste it into the cell where it now belongs.")
            .arg(shortDate(m_session.page().date), time,
                 name.isEmpty() ? QStringLiteral("column %1").arg(col) : name, entry),
        QStringLiteral("Save Cell Content"), ui::Icon::Warning);
}

// The user's entry back in the editor after a save that stored nothing.
void CellEntry::keepEntry(const QString &entry)
{
    m_clean = false;
    m_cell.setText(entry);
}

void CellEntry::saveFailed(const DbError &error)
{
    if (error.number() == DbError::Busy) {
        // Another station holds the database: that is no reason to give up
        // the page. Nothing was stored; the entry waits for another try.
        m_s.prompter.message(QStringLiteral("Another station is holding the database at the moment, so this "
                                            "entry was not stored. It is still in the editor: press Tab to store "
                                            "it again in a moment."),
                             QStringLiteral("Save Cell Content"), ui::Icon::Warning);
    } else {
        m_s.prompter.message(writeFailure(error, m_s.db,
                                          QStringLiteral("Your entry was not stored. It is still in the editor: "
                                                         "press Tab to store it again.")),
                             QStringLiteral("Save Cell Content"), ui::Icon::Critical);
    }
    // The write was all or nothing, so the stored page is as it was: show it
    // and keep the entry in the editor for another try.
    try {
        // After a restore elsewhere this is the page as restored (a page
        // made since the backup is gone, and the next save makes it again).
        const PageRecord fresh = m_session.pages().read(m_session.page().id);
        m_session.showStoredText(fresh.data);
    } catch (const DbError &) {
        // Not readable now: the page stays as displayed, the entry with it.
    }
    m_cell.placeCursor();
    m_clean = false;
    emit m_hub.editorChanged();
    m_hub.requestFocus(Focus::Editor);
}

bool CellEntry::checkUnsavedEntry()
{
    if (m_cell.checkUnsaved()) {
        m_clean = true;
        return true;
    }
    m_hub.requestFocus(Focus::Editor);
    m_clean = false;
    return false;
}

bool CellEntry::leaveEditor()
{
    return !m_cell.visible() || checkUnsavedEntry();
}

void CellEntry::gridMouseDown(int button, int shift, int row, int col)
{
    if (!plainClickLeavesEditor(button, shift))
        return;
    hideEditor();
    m_nav.calendar().markShown();
    emit m_hub.calendarChanged();
    clickCell(m_session.grid(), row, col);
    m_session.refreshGrid();
}

void CellEntry::gridMouseUp(int button, int shift, int row, int col)
{
    ui::GridModel &grid = m_session.grid();
    if (!inCells(grid, row, col))
        return;
    if (markingClick(grid, button, shift, row, col))
        return;
    if (button == 2) {
        // The menu acts on the cell the user clicked: outside the marked
        // range that cell becomes current (and the mark is given up).
        if (!m_blocks.covers(row, col)) {
            if (m_cell.visible() && !leaveEditor())
                return;
            m_blocks.plainClick(row, col);
            grid.setCursor(row, col);
        }
        emit m_hub.contextMenuRequested(grid.row(), grid.col());
    }
}

} // namespace book
