#pragma once

#include "book/pages/blockhost.h"

namespace ui {
struct Services;
}

namespace book {

class BookHub;
class CellEntry;
class PageSession;

// The block commands' host in the book: the page on display, written through
// the session's guarded writes, with each command kept to undo.
class PageBlockHost : public BlockHost {
public:
    PageBlockHost(BookHub &hub, PageSession &session, CellEntry &entry, ui::Services &services);

    ui::GridModel &blockGrid() override;
    store::Database *commandLog() override;
    CellList storeCells(const CellChanges &changes) override;
    CellList storeColors(const ColorChanges &changes) override;
    CellList storeBlock(const CellChanges &cells, const ColorChanges &colors) override;
    QString failureText(const store::DbError &error, const QString &outcome) const override;
    void commandStored(const QString &command, int row, int col) override;
    void refreshPage() override;
    void colorSaveFailed(const store::DbError &error) override;
    bool editorOpen() const override;
    QString blockoutText() override;   // as stored now
    bool dayClosed() const override;   // Check1
    void focusGrid() override;

    // Toolbar Blockout: the admin station gives the text that Blockout writes.
    void changeBlockoutString();

private:
    BookHub &m_hub;
    PageSession &m_session;
    CellEntry &m_entry;
    ui::Services &m_s;
};

} // namespace book
