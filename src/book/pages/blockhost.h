#pragma once

#include "book/pages/pagestore.h"
#include "store/core/dberror.h"
#include "ui/core/gridmodel.h"

#include <QString>

namespace store {
class Database;
}

namespace book {

// What the block commands need of the window that holds the grid: the page
// grid of the book or the template grid of the template window.
class BlockHost {
public:
    virtual ~BlockHost() = default;
    virtual ui::GridModel &blockGrid() = 0;
    // Stores the cells a command changed (the book: a merging write of the
    // page; the template window: its working text). The book writes only
    // when every touched cell still holds what it showed; otherwise nothing
    // is stored and the cells another station changed are returned. Throws
    // store::DbError.
    virtual CellList storeCells(const CellChanges &changes) = 0;
    // Stores the colours a command changed (the book: the page's colour
    // list; the template window keeps no colours), under the same rule.
    // Throws store::DbError.
    virtual CellList storeColors(const ColorChanges &changes) = 0;
    // Stores the cells and colours of one block command together: all or
    // nothing, under the rule above (the book writes both in one
    // transaction; the template window keeps its text alone). Throws
    // store::DbError, having stored nothing.
    virtual CellList storeBlock(const CellChanges &cells, const ColorChanges &colors)
    {
        CellList changed = storeCells(cells);
        if (changed.empty() && !colors.empty())
            changed = storeColors(colors);
        return changed;
    }
    // A command's cells and colours were stored (`command`: its name, `row`,
    // `col`: its first cell): the book keeps it to undo.
    virtual void commandStored(const QString &command, int row, int col)
    {
        (void)command;
        (void)row;
        (void)col;
    }
    // The database whose change log names the block commands' writes (none:
    // the host keeps its cells to itself until a write of its own).
    virtual store::Database *commandLog() { return nullptr; }
    // The page refresh, after a failed command.
    virtual void refreshPage() = 0;
    // A failed colour save (painting alone): the book reports it.
    virtual void colorSaveFailed(const store::DbError &error) = 0;
    // The words for a failed write of the block: its cause, `outcome`, and
    // what to do.
    virtual QString failureText(const store::DbError &error, const QString &outcome) const
    {
        return error.numbered() + QStringLiteral("\n\n") + outcome;
    }
    virtual bool editorOpen() const = 0;
    virtual QString blockoutText() = 0;
    virtual bool dayClosed() const = 0;
    virtual void focusGrid() {}
};

} // namespace book
