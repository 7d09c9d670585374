#pragma once

#include "book/core/undohistory.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "store/core/settings.h"
#include "ui/core/gridmodel.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace store {
class DbError;
}

namespace book {

class BookHub;
class CellEntry;

// How often a guarded write of the page (a cell, a memo) is tried again
// while other stations keep changing what it is to be written over.
inline constexpr int SaveAttempts = 3;

// The page on display: finding or creating it, laying out and filling the
// grid, re-reading it, and the guarded writes of its cells and colours.
class PageSession {
public:
    // `entry`: the cell entry on this grid (made after the session; used only
    // once both are made).
    PageSession(BookHub &hub, ui::Services &services, CellEntry &entry);

    // The busy pointer while a statement may wait for another station.
    class BusyScope {
    public:
        explicit BusyScope(PageSession &s);
        ~BusyScope();
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        PageSession &m_s;
    };

    // Window load, in two steps around the calendar's setup: the settings,
    // then today's page. False when it failed (a message has been shown).
    bool beginLoad(const QDate &today);
    bool finishLoad(const QDate &today);

    void openPage(const QDate &date);      // find or create the page, fill the grid
    void fillGrid();                       // show the stored page anew
    void refreshGrid(bool hideEditor = true);  // re-read the page, cursor kept
    // Shows what another station changed on the page on display without
    // disturbing this station: the cursor, the marked range, the scroll
    // position, an open cell editor and a memo being typed stay as they are.
    // Returns the cells whose text or colour changed (none when the page is
    // as shown, or could not be read now).
    CellList showOthersChanges();
    void showPageColors();                 // the page's colours, or the closed look
    void readSettings();
    // The page text as stored, shown in the grid.
    void showStoredText(const QString &text);

    // Guarded writes: only over what this station showed. Cells and colours
    // of one command go in one transaction, all or nothing; the cells another
    // station changed meanwhile are returned, with nothing written. A page
    // another station removed is made again, and written when its times and
    // columns are those shown; otherwise the DbError is thrown on.
    CellList storeBlock(const CellChanges &cells, const ColorChanges &colors);
    CellList storeCells(const CellChanges &changes) { return storeBlock(changes, {}); }
    CellList storeColors(const ColorChanges &changes) { return storeBlock({}, changes); }
    void colorSaveFailed(const store::DbError &error);
    // The page of the displayed date made again, after another station
    // removed it (setup removes the pages that hold nothing, so that they are
    // made anew from its settings), and shown. Returns the layout the page
    // was shown with before. Throws DbError.
    PageLayout remakePage();

    // ---- undo and redo of this station's changes, page by page
    // Keeps a change just stored as a step named after the command and its
    // first cell ("Cut 08:00 AM Dr Avery"); a change that altered nothing is
    // not kept. The step belongs to the page on display.
    void keepStep(const QString &command, int row, int col, const std::vector<store::Edit> &edits);
    // What the last storeBlock wrote, taken once.
    store::Edit takeStoredEdit() { return std::exchange(m_storedEdit, {}); }
    // "Undo Cut 08:00 AM Dr Avery" for the page on display; empty: nothing to undo.
    QString undoText() const;
    QString redoText() const;
    // Takes the page's latest step back (or puts it again), through the
    // page writes: only where every cell still holds what the step (its
    // undo) left, all its pages or none. Otherwise nothing is written and
    // the user is told which cells another station changed and what they
    // hold now. Returns the cells of the page on display that were written.
    CellList undo() { return takeBack(true); }
    CellList redo() { return takeBack(false); }
    const UndoHistory &history() const { return m_history; }

    ui::GridModel &grid() { return m_grid; }
    const ui::GridModel &grid() const { return m_grid; }
    PageRecord &page() { return m_page; }
    const PageRecord &page() const { return m_page; }
    QDate date() const { return m_page.date; }   // the displayed date
    const PageLayout &layout() const { return m_layout; }
    store::Settings &settings() { return m_settings; }
    const store::Settings &settings() const { return m_settings; }
    PageStore &pages() { return m_pages; }
    store::SettingsStore &settingsStore() { return m_settingsStore; }
    const QString &weekdayTemplate() const { return m_template; }
    QDate today() const { return m_today; }
    void setToday(const QDate &today) { m_today = today; }
    bool loading() const { return m_loading; }
    bool busy() const { return m_busy > 0; }      // a write may be waiting
    bool closed() const { return m_closed; }       // Check1
    void setClosed(bool closed) { m_closed = closed; }
    bool locked() const { return m_locked; }       // Check2
    void setLocked(bool locked) { m_locked = locked; }
    // This station may change the book-wide items (book name, office status,
    // page lock, blockout string). The book marks every station so when it opens.
    bool adminStation() const { return m_admin; }
    QString dateCaption() const;           // short date
    QString dayCaption() const;            // "dddd"

private:
    bool seekRecord(const QDate &date);
    void populateGrid(const QDate &date);
    void setupGrid();
    CellList writeShown(const CellChanges &cells, const ColorChanges &colors);
    CellList takeBack(bool undo);
    void takeBackRefused(const UndoStep &step, bool undo, const PageChange &page, const PageStore::BlockWrite &w);

    BookHub &m_hub;
    ui::Services &m_s;
    CellEntry &m_entry;
    PageStore m_pages;
    store::SettingsStore m_settingsStore;
    store::Settings m_settings;
    ui::GridModel m_grid;
    PageRecord m_page;
    PageLayout m_layout;
    QString m_template;          // the weekday template last loaded
    QDate m_today;
    bool m_loading = false;
    int m_busy = 0;              // open BusyScopes
    bool m_closed = false;       // Check1
    bool m_locked = false;       // Check2
    bool m_admin = true;
    UndoHistory m_history;
    store::Edit m_storedEdit;
};

} // namespace book
