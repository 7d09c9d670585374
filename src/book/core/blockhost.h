#pragma once

#include "book/pages/pagestore.h"
#include "ui/core/gridmodel.h"

#include <QString>

namespace store {
class DbError;
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
    // The page refresh, after a failed command.
    virtual void refreshPage() = 0;
    // A failed colour save: the book reports it and ends the program.
    virtual void colorSaveFailed(const store::DbError &error) = 0;
    virtual bool editorOpen() const = 0;
    virtual QString blockoutText() = 0;
    virtual bool dayClosed() const = 0;
    virtual void focusGrid() {}
};

} // namespace book
