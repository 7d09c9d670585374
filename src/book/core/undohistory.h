#pragma once

#include "book/pages/pagestore.h"
#include "store/core/edit.h"

#include <QDate>
#include <QString>
#include <deque>
#include <vector>

namespace book {

// What one write did to one day page: each cell's text and colour before and
// after, by grid position. Taking a change back writes `before` over `after`.
struct PageChange {
    QDate date;
    CellChanges textBefore, textAfter;
    ColorChanges colorBefore, colorAfter;

    bool empty() const { return textAfter.empty() && colorAfter.empty(); }
    // The cells it touched, in row-then-column order.
    CellList cells() const;
};

// The page change of a page write's edit ("row,col" texts, "row,col colour"
// colours).
PageChange pageChange(const store::Edit &edit);

// One command of this station as the user sees it: a typed cell, a block
// command, a colour or a whole recurrent series.
struct UndoStep {
    QDate page;                      // the page it was made on: it is undone there
    QString description;             // e.g. "Cut 08:00 AM Dr Avery"
    std::vector<PageChange> pages;   // one per page written
};

// The book session's undo and redo lists. Each page has its own order of
// steps, so that moving to another date and back finds them as they were;
// the session keeps at most `Limit` steps to undo, dropping the oldest.
class UndoHistory {
public:
    static constexpr size_t Limit = 100;

    // A new step; the page's steps to redo are gone, as in any editor.
    void add(UndoStep step);
    // The latest step of the page to undo or redo; null when there is none.
    const UndoStep *nextUndo(const QDate &page) const;
    const UndoStep *nextRedo(const QDate &page) const;
    // That step undone (redone): it moves to the other list.
    void undone(const QDate &page);
    void redone(const QDate &page);
    // That step dropped, when it can no longer be taken back.
    void dropUndo(const QDate &page);
    void dropRedo(const QDate &page);

    size_t undoCount() const { return m_undo.size(); }
    size_t redoCount() const { return m_redo.size(); }
    void clear();

private:
    std::deque<UndoStep> m_undo;   // oldest first
    std::deque<UndoStep> m_redo;
};

} // namespace book
