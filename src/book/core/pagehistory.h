#pragma once

#include "store/core/changelog.h"
#include "ui/core/services.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace book {

class BookHub;
class PageSession;

// One change of one cell, as the change log recorded it.
struct CellChange {
    store::LogEntry entry;               // when, station, user, command
    int row = 0;
    int col = 0;
    QString time;                        // the cell's time and consultant when it changed
    QString consultant;
    std::optional<QString> before;       // text (none: the text did not change)
    std::optional<QString> after;
    std::optional<int> colourBefore;     // colour (none: the colour did not change)
    std::optional<int> colourAfter;
};

// The grid menu's "Cell History" and "Deleted on this page": the change log
// of the page on display, read by cell. A booking that was emptied from the
// page (Cut, Delete, typed over, a clearing series) can be put back into
// its cell while that cell is still empty, through the page's guarded write.
class PageHistory {
public:
    PageHistory(BookHub &hub, PageSession &session, ui::Services &services);

    // Every change of a cell of a page, newest first.
    static std::vector<CellChange> ofCell(store::Database &db, const QDate &date, int row, int col);
    // Every booking emptied from a page, newest first: `before` holds it.
    static std::vector<CellChange> deletedFrom(store::Database &db, const QDate &date);
    // The history as the text window shows it.
    static QString report(const QString &title, const std::vector<CellChange> &changes);

    // For the current cell of the page on display.
    std::vector<CellChange> currentCell() const;
    std::vector<CellChange> deletedHere() const;

    // ---- the grid menu's commands
    void cellHistory();                          // "Cell History": the current cell's, as text
    void deletedOnPage();                        // "Deleted on this page": the list is asked for
    const std::vector<CellChange> &deletedShown() const { return m_deletedShown; }
    // Enter on a booking of that list: written into its cell (found by its
    // time and consultant when the page's layout has changed since) only
    // while that cell is empty and the page is not locked, as typing is.
    void putBack(const CellChange &deleted);

private:
    enum class PutBack { Done, Occupied, NoSuchCell, Failed };
    PutBack restore(const CellChange &deleted);

    BookHub &m_hub;
    PageSession &m_session;
    ui::Services &m_s;
    store::Database &m_db;
    std::vector<CellChange> m_deletedShown;
};

} // namespace book
