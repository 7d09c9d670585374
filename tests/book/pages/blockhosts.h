#pragma once

#include "book/pages/blockhost.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "store/core/settings.h"

#include <gtest/gtest.h>
#include <vector>

namespace blocktest {

// Settings of a small practice: open 08:00 to 10:00 in 30 minute slots
// (time rows 3..7, free rows 8 and 9, so 10 grid rows) and blank templates.
inline store::Settings smallSettings(store::Database &db, int listno = 3,
                                     const QString &close = QStringLiteral("10:00 AM"))
{
    store::Settings s = store::SettingsStore(db).load();
    s.open = QStringLiteral("08:00 AM");
    s.close = close;
    s.timeslot = 30;
    s.listno = listno;
    s.names.clear();
    for (int i = 1; i <= listno; ++i)
        s.names += QStringLiteral("Dr %1%").arg(i);
    s.templates.fill(QString());
    s.closed.fill(false);
    return s;
}

// Builds a page grid for a layout, as the book's fill does.
inline void buildGrid(ui::GridModel &grid, const book::PageLayout &layout)
{
    book::setupColumns(grid, layout.columns, layout.names, QString(), 1.0);
    book::setupRows(grid, layout);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.setBackColorSel(book::DefaultCellColor);
    grid.setCursor(3, 1);
}

// What every test host records: the change sets it was handed, refreshes,
// colour save failures; and failures it can be told to raise.
class RecordingHost : public book::BlockHost {
public:
    ui::GridModel grid;
    std::vector<book::CellChanges> cellWrites;
    std::vector<book::ColorChanges> colorWrites;
    int refreshes = 0;
    int focusCalls = 0;
    std::vector<int> colorFailures;   // error numbers
    bool editor = false;
    QString blockout = QStringLiteral("- - - -");
    bool failCells = false;
    bool failColors = false;

    ui::GridModel &blockGrid() override { return grid; }
    book::CellList storeCells(const book::CellChanges &changes) override
    {
        if (failCells)
            throw store::DbError(store::DbError::Busy, QStringLiteral("locked"));
        cellWrites.push_back(changes);
        writeCells(changes);
        return {};
    }
    book::CellList storeColors(const book::ColorChanges &changes) override
    {
        if (failColors)
            throw store::DbError(store::DbError::Busy, QStringLiteral("locked"));
        colorWrites.push_back(changes);
        writeColors(changes);
        return {};
    }
    // All or nothing, as the book's page store.
    book::CellList storeBlock(const book::CellChanges &cells, const book::ColorChanges &colors) override
    {
        if ((failCells && !cells.empty()) || (failColors && !colors.empty()))
            throw store::DbError(store::DbError::Busy, QStringLiteral("locked"));
        if (!cells.empty())
            storeCells(cells);
        return colors.empty() ? book::CellList{} : storeColors(colors);
    }
    void refreshPage() override
    {
        ++refreshes;
        reload();
    }
    void colorSaveFailed(const store::DbError &e) override { colorFailures.push_back(e.number()); }
    bool editorOpen() const override { return editor; }
    QString blockoutText() override { return blockout; }
    bool dayClosed() const override { return false; }
    void focusGrid() override { ++focusCalls; }

protected:
    virtual void writeCells(const book::CellChanges &) {}
    virtual void writeColors(const book::ColorChanges &) {}
    virtual void reload() {}
};

// A grid alone: the template window, or a page whose storage does not matter.
class GridHost : public RecordingHost {
public:
    explicit GridHost(int listno = 3)
    {
        buildGrid(grid, book::layoutOf(listno, QString(), QStringLiteral("08:00 AM"),
                                       QStringLiteral("10:00 AM"), 30, 1));
    }
};

// One station's book page: its grid over a stored page of tbl_Appt.
class PageHost : public RecordingHost {
public:
    PageHost(store::Database &db, const QDate &date, const store::Settings &settings)
        : m_store(db)
    {
        page = m_store.seek(date, settings);
        EXPECT_NE(page.id, 0);
        buildGrid(grid, book::layoutOf(page, 1));
        reload();
        grid.setCursor(3, 1);
    }

    book::PageRecord page;

    // The stored page as it is now.
    QString storedCell(int row, int col) const
    {
        const auto cells = book::page::decode(m_store.read(page.id).data);
        const size_t r = static_cast<size_t>(row - 2);
        if (r >= cells.size() || col - 1 >= cells[r].size())
            return {};
        return cells[r][col - 1];
    }
    int storedColor(int row, int col) const
    {
        const std::vector<int> v = book::decodeColors(m_store.read(page.id).colors);
        const size_t k = static_cast<size_t>((col - 1) * (grid.rows() - 3) + (row - 3));
        return k < v.size() ? v[k] : -1;   // -1: nothing stored
    }
    QString storedData() const { return m_store.read(page.id).data; }
    QString storedColors() const { return m_store.read(page.id).colors; }

    // Another station's booking or painting, straight into the store.
    void otherStationWrites(int row, int col, const QString &text) { m_store.writeCells(page.id, {{{row, col}, text}}); }

protected:
    void writeCells(const book::CellChanges &changes) override { m_store.writeCells(page.id, changes); }
    void writeColors(const book::ColorChanges &changes) override
    {
        m_store.writeColors(page.colorId, grid.cols(), grid.rows(), changes);
    }
    void reload() override
    {
        const book::PageRecord now = m_store.read(page.id);
        const int r = grid.row(), c = grid.col();
        book::pasteText(grid, now.data);
        book::applyColors(grid, now.colors, now.clinic);
        grid.setCursor(r, c);
    }

private:
    book::PageStore m_store;
};

} // namespace blocktest
