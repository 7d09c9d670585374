#include "book/pages/blockops.h"

#include "blockhosts.h"
#include "support/teststore.h"
#include "ui/core/desktop.h"
#include "support/doubles/scriptedprompter.h"
#include "support/doubles/memoryclipboard.h"

#include <gtest/gtest.h>
#include <memory>

using book::BlockOps;
using blocktest::GridHost;
using blocktest::PageHost;

namespace {

constexpr int Red = 0x8080FF;
constexpr int Green = 0xC0FFC0;
constexpr int Default = 0xEEFFFF;
const QDate PageDate(2024, 3, 12);

const QString BusyText = QStringLiteral(
    "Another user is currently updating the same record. Please wait a while and try again...");
const QString PasteText = QStringLiteral(
    "Error in Paste routine - you're pasting beyond the grid's range. Please try again...");

// One station showing the page of PageDate: its own connection to the
// practice's database.
struct Station {
    store::Database db;
    std::unique_ptr<PageHost> host;
    ui::ScriptedPrompter prompter;
    ui::MemoryClipboard clipboard;
    std::unique_ptr<BlockOps> ops;

    explicit Station(const testsupport::TestStore &store, int listno = 3)
    {
        if (!store.available())
            return;   // the test skips
        EXPECT_TRUE(store.open(db).ok());
        host = std::make_unique<PageHost>(db, PageDate, blocktest::smallSettings(db, listno));
        ops = std::make_unique<BlockOps>(BlockOps::Kind::Page, *host, prompter, clipboard);
    }
    ui::GridModel &grid() { return host->grid; }

    // A booking (and its colour) stored and shown, as if typed and painted.
    void bookCell(int r, int c, const QString &text, int color = 0)
    {
        grid().setTextMatrix(r, c, text);
        host->storeCells({{{r, c}, text}});
        if (color) {
            grid().setCellColor(r, c, color);
            host->storeColors({{{r, c}, color}});
        }
        host->cellWrites.clear();
        host->colorWrites.clear();
    }
    void markRange(int r1, int c1, int r2, int c2)
    {
        ops->plainClick(r1, c1);
        grid().setCursor(r1, c1);
        ops->shiftClick(r2, c2);
    }
    void expectNoPrompts()
    {
        EXPECT_TRUE(prompter.transcript().empty()) << prompter.texts().join(" | ").toStdString();
        EXPECT_TRUE(prompter.failures().isEmpty());
    }
};

// Block commands on a stored page, on both engines.
class BlockStore : public testsupport::EngineTest {};

} // namespace

TEST_P(BlockStore, OneCopiedCellFillsAShiftMarkedRange)
{
    Station a(store);
    a.bookCell(3, 1, "Smith", Red);
    a.grid().setCursor(3, 1);
    a.ops->copy();
    EXPECT_EQ(a.clipboard.text(), "Smith");
    EXPECT_TRUE(a.ops->singleCell());
    EXPECT_EQ(a.ops->singleColor(), Red);

    a.markRange(4, 2, 6, 3);   // 3 rows by 2 columns
    EXPECT_EQ(a.grid().backColorSel(), book::BlockSelectionColor);
    EXPECT_FALSE(a.ops->singleCell());
    a.ops->paste();

    for (int r = 4; r <= 6; ++r)
        for (int c = 2; c <= 3; ++c) {
            EXPECT_EQ(a.host->storedCell(r, c), "Smith") << r << "," << c;
            EXPECT_EQ(a.host->storedColor(r, c), Red) << r << "," << c;
            EXPECT_EQ(a.grid().cellColor(r, c), Red);
        }
    EXPECT_EQ(a.host->storedCell(7, 2), "");
    // A cell never painted keeps the default colour it showed.
    EXPECT_EQ(a.host->storedColor(3, 2), book::DefaultCellColor);
    ASSERT_EQ(a.host->cellWrites.size(), 1u);
    EXPECT_EQ(a.host->cellWrites[0].size(), 6u);   // only the pasted cells
    EXPECT_FALSE(a.ops->marked());
    EXPECT_EQ(a.grid().row(), 4);
    EXPECT_EQ(a.grid().col(), 2);
    a.expectNoPrompts();
}

TEST_P(BlockStore, BlockPastedBeyondTheLastColumnStoresNothing)
{
    Station a(store);
    a.bookCell(3, 1, "A", Red);
    a.bookCell(4, 2, "D", Green);
    a.markRange(3, 1, 4, 2);
    a.ops->copy();
    EXPECT_EQ(a.clipboard.text(), QString("A\t\r\tD"));
    EXPECT_EQ(a.ops->colorList(), (std::vector<int>{Red, Default, Default, Green}));

    const QString data = a.host->storedData(), colors = a.host->storedColors();
    a.grid().setCursor(5, 3);   // the last column: the block needs one more
    a.prompter.expectMessage();
    a.ops->paste();
    EXPECT_EQ(a.prompter.last().text, PasteText);
    EXPECT_EQ(a.prompter.last().title, "Paste");
    EXPECT_EQ(a.host->refreshes, 1);
    EXPECT_TRUE(a.host->cellWrites.empty());
    EXPECT_TRUE(a.host->colorWrites.empty());
    EXPECT_EQ(a.host->storedData(), data);
    EXPECT_EQ(a.host->storedColors(), colors);
    EXPECT_EQ(a.grid().textMatrix(5, 3), "");

    // The same block fits one column further left, colours by position.
    a.grid().setCursor(6, 2);
    a.ops->paste();
    EXPECT_EQ(a.host->storedCell(6, 2), "A");
    EXPECT_EQ(a.host->storedCell(7, 3), "D");
    EXPECT_EQ(a.host->storedColor(6, 2), Red);
    EXPECT_EQ(a.host->storedColor(7, 3), Green);
    EXPECT_EQ(a.host->storedColor(7, 2), Default);
}

TEST_P(BlockStore, CutLeavesColourZeroAndDeleteTheDefaultColour)
{
    Station a(store);
    a.bookCell(3, 1, "a", Red);
    a.bookCell(3, 2, "b", Red);
    a.bookCell(4, 1, "c", Green);
    a.bookCell(4, 2, "d", Green);
    a.markRange(3, 1, 4, 2);
    a.ops->cut();
    EXPECT_EQ(a.clipboard.text(), QString("a\tb\rc\td"));
    EXPECT_TRUE(a.ops->somethingToPaste());
    for (int r = 3; r <= 4; ++r)
        for (int c = 1; c <= 2; ++c) {
            EXPECT_EQ(a.host->storedCell(r, c), "");
            EXPECT_EQ(a.host->storedColor(r, c), 0);
        }

    a.bookCell(6, 3, "Jones", Red);
    a.grid().setCursor(6, 3);
    a.prompter.answerNo();
    a.ops->remove();
    EXPECT_EQ(a.prompter.last().text, "Are you sure you want to proceed with Delete?");
    EXPECT_EQ(a.prompter.last().title, "Delete");
    EXPECT_EQ(a.host->storedCell(6, 3), "Jones");
    EXPECT_EQ(a.grid().textMatrix(6, 3), "Jones");

    a.prompter.answerYes();
    a.ops->remove();
    EXPECT_EQ(a.host->storedCell(6, 3), "");
    EXPECT_EQ(a.host->storedColor(6, 3), Default);
    EXPECT_EQ(a.clipboard.text(), QString("a\tb\rc\td"));   // Delete leaves the clipboard
    EXPECT_TRUE(a.prompter.allAnswered());
}

TEST_P(BlockStore, PasteBeforeAnyCopyDoesNothingOnAPageButPastesOnATemplate)
{
    Station a(store);
    a.clipboard.setText("Elsewhere");
    a.ops->paste();
    EXPECT_EQ(a.grid().textMatrix(3, 1), "");
    EXPECT_TRUE(a.host->cellWrites.empty());
    a.expectNoPrompts();

    GridHost t;
    ui::ScriptedPrompter p;
    ui::MemoryClipboard clip;
    clip.setText("Elsewhere");
    BlockOps ops(BlockOps::Kind::Template, t, p, clip);
    t.grid.setCursor(5, 2);
    ops.paste();
    EXPECT_EQ(t.grid.textMatrix(5, 2), "Elsewhere");
    ASSERT_EQ(t.cellWrites.size(), 1u);
    EXPECT_EQ(t.cellWrites[0], (book::CellChanges{{{5, 2}, "Elsewhere"}}));
    EXPECT_TRUE(t.colorWrites.empty());
    EXPECT_TRUE(p.transcript().empty());
}

TEST(BlockOps, PaintingWaitsForBothChoicesAndStopsAtTheLastTimeRow)
{
    GridHost h;   // time rows 3..7, free rows 8 and 9
    ui::ScriptedPrompter p;
    ui::MemoryClipboard clip;
    BlockOps ops(BlockOps::Kind::Page, h, p, clip);

    h.grid.setCursor(4, 2);
    ops.chooseColor(Green);
    EXPECT_TRUE(h.colorWrites.empty());
    h.editor = true;            // an open editor keeps the choice pending
    ops.chooseRowCount(2);
    EXPECT_TRUE(h.colorWrites.empty());
    EXPECT_TRUE(ops.colorChosen());
    h.editor = false;
    ops.chooseRowCount(2);
    ASSERT_EQ(h.colorWrites.size(), 1u);
    EXPECT_EQ(h.colorWrites[0], (book::ColorChanges{{{4, 2}, Green}, {{5, 2}, Green}}));
    EXPECT_EQ(h.grid.row(), 4);
    EXPECT_FALSE(ops.colorChosen());
    EXPECT_FALSE(ops.rowCountChosen());

    // A new colour alone waits for a row count again.
    ops.chooseColor(Red);
    EXPECT_EQ(h.colorWrites.size(), 1u);

    h.grid.setCursor(7, 1);     // the last time row
    ops.chooseRowCount(4);
    ASSERT_EQ(h.colorWrites.size(), 2u);
    EXPECT_EQ(h.colorWrites[1], (book::ColorChanges{{{7, 1}, Red}}));
    EXPECT_EQ(h.grid.cellColor(8, 1), 0);

    for (int freeRow : {8, 9}) {   // a free row: nothing, both choices still pending
        h.grid.setCursor(freeRow, 1);
        ops.chooseColor(Red);
        ops.chooseRowCount(1);
        EXPECT_EQ(h.colorWrites.size(), 2u);
        EXPECT_TRUE(ops.colorChosen()) << freeRow;
        EXPECT_TRUE(ops.rowCountChosen()) << freeRow;
    }

    // Context menu Color uses the last toolbar colour on the marked range.
    h.grid.setCursor(3, 3);
    ops.shiftClick(4, 3);
    ops.colorCommand();
    EXPECT_EQ(h.colorWrites.back(), (book::ColorChanges{{{3, 3}, Red}, {{4, 3}, Red}}));
    EXPECT_FALSE(ops.marked());
    EXPECT_TRUE(p.transcript().empty());
}

TEST_P(BlockStore, BlockoutReplacesBookingsWithoutAQuestion)
{
    Station a(store);
    a.bookCell(5, 1, "Smith", Red);
    a.bookCell(6, 2, "Jones");
    a.markRange(5, 1, 6, 2);
    a.host->blockout = "xxxx";
    a.ops->blockout();
    for (int r = 5; r <= 6; ++r)
        for (int c = 1; c <= 2; ++c)
            EXPECT_EQ(a.host->storedCell(r, c), "xxxx");
    EXPECT_EQ(a.host->storedColor(5, 1), Red);   // colours stay
    EXPECT_TRUE(a.host->colorWrites.empty());
    EXPECT_FALSE(a.ops->marked());
    a.expectNoPrompts();
}

TEST_P(BlockStore, RangesMarkedUpwardOrLeftwardActOnTheMarkedCells)
{
    Station a(store);
    a.bookCell(3, 1, "a", Red);
    a.bookCell(4, 2, "b", Green);
    a.markRange(4, 2, 3, 1);   // from bottom-right up to top-left
    EXPECT_EQ(a.ops->rowSpan(), -1);
    EXPECT_EQ(a.ops->colSpan(), -1);
    a.ops->copy();
    EXPECT_EQ(a.clipboard.text(), QString("a\t\r\tb"));
    EXPECT_EQ(a.ops->colorList(), (std::vector<int>{Red, Default, Default, Green}));
    EXPECT_EQ(a.grid().row(), 3);
    EXPECT_EQ(a.grid().col(), 1);

    // Pasted with the same negative spans, the block lands up and left of the cursor.
    a.grid().setCursor(7, 3);
    a.ops->paste();
    EXPECT_EQ(a.host->storedCell(6, 2), "a");
    EXPECT_EQ(a.host->storedCell(7, 3), "b");
    EXPECT_EQ(a.host->storedColor(6, 2), Red);
    EXPECT_EQ(a.host->storedColor(7, 3), Green);

    a.markRange(7, 3, 6, 2);
    a.prompter.answerYes();
    a.ops->remove();
    EXPECT_EQ(a.host->storedCell(6, 2), "");
    EXPECT_EQ(a.host->storedCell(7, 3), "");
    EXPECT_EQ(a.host->storedCell(3, 1), "a");
}

TEST(BlockOps, AltClickPastesTheSingleCellAndKeepsTheSpans)
{
    GridHost h;
    ui::ScriptedPrompter p;
    ui::MemoryClipboard clip;
    BlockOps ops(BlockOps::Kind::Page, h, p, clip);
    h.grid.setTextMatrix(3, 1, "one");
    h.grid.setCellColor(3, 1, Red);
    ops.copy();
    h.grid.setCursor(4, 1);
    ops.shiftClick(6, 2);
    ops.altClick(5, 3);
    EXPECT_EQ(ops.rowSpan(), 2);
    EXPECT_EQ(ops.colSpan(), 1);
    EXPECT_TRUE(ops.singleCell());
    EXPECT_EQ(h.grid.selTop(), 5);
    EXPECT_EQ(h.grid.selBottom(), 5);
    ops.paste();
    ASSERT_EQ(h.cellWrites.size(), 1u);
    EXPECT_EQ(h.cellWrites[0], (book::CellChanges{{{5, 3}, "one"}}));
    EXPECT_EQ(h.colorWrites[0], (book::ColorChanges{{{5, 3}, Red}}));
}

TEST(BlockOps, FailedSavesAreReported)
{
    GridHost h;
    ui::ScriptedPrompter p;
    ui::MemoryClipboard clip;
    BlockOps ops(BlockOps::Kind::Page, h, p, clip);
    h.grid.setTextMatrix(4, 1, "x");
    h.grid.setCursor(4, 1);
    ops.shiftClick(5, 2);
    h.failCells = true;
    p.expectMessage();
    ops.cut();
    EXPECT_EQ(p.last().text, BusyText);
    EXPECT_EQ(p.last().title, "Cut");
    EXPECT_EQ(h.refreshes, 1);
    EXPECT_TRUE(h.colorWrites.empty());
    EXPECT_EQ(h.grid.row(), 4);

    // Texts and colours are one write: a failed colour write stores no text.
    h.failCells = false;
    h.failColors = true;
    p.answerYes().expectMessage();
    ops.remove();
    EXPECT_EQ(p.last().text, BusyText);
    EXPECT_EQ(p.last().title, "Delete");
    EXPECT_TRUE(h.cellWrites.empty());
    EXPECT_TRUE(h.colorFailures.empty());

    // A mark left from a larger page reaches beyond this grid.
    h.failColors = false;
    h.grid.setCursor(8, 3);
    ops.shiftClick(9, 3);
    h.grid.setRows(9);
    p.expectMessage();
    ops.copy();
    EXPECT_EQ(p.last().text, "First you have to left mouseclick on START cell, then select END cell "
                             "holding down SHIFT key. Try again...");
    EXPECT_EQ(p.last().title, "Select range of cells");
    EXPECT_TRUE(p.failures().isEmpty());
}

TEST(BlockOps, TemplateTwins)
{
    GridHost t;
    ui::ScriptedPrompter p;
    ui::MemoryClipboard clip;
    BlockOps ops(BlockOps::Kind::Template, t, p, clip);
    for (int r = 3; r <= 4; ++r)
        for (int c = 1; c <= 2; ++c) {
            t.grid.setTextMatrix(r, c, QStringLiteral("t%1%2").arg(r).arg(c));
            t.grid.setCellColor(r, c, Red);
        }
    t.grid.setCursor(3, 1);
    ops.shiftClick(4, 2);
    ops.remove();   // no question; colours stay
    EXPECT_EQ(t.cellWrites.back().size(), 4u);
    EXPECT_EQ(t.grid.textMatrix(4, 2), "");
    EXPECT_EQ(t.grid.cellColor(4, 2), Red);

    t.grid.setTextMatrix(5, 1, "cut me");
    t.grid.setCellColor(5, 1, Red);
    t.grid.setCursor(5, 1);
    ops.cut();
    EXPECT_EQ(clip.text(), "cut me");
    EXPECT_EQ(t.grid.cellColor(5, 1), 0);
    EXPECT_TRUE(ops.colorList().empty());
    EXPECT_TRUE(t.colorWrites.empty());

    t.blockout = "- - - - - - - - - - - - - - - -";
    t.grid.setCursor(6, 3);
    ops.blockout();
    EXPECT_EQ(t.grid.textMatrix(6, 3), t.blockout);

    ops.plainClick(6, 3);
    EXPECT_EQ(t.grid.backColorSel(), Default);

    // Beyond the grid: nothing happens and nothing is said.
    t.grid.setCursor(3, 2);
    ops.shiftClick(4, 3);
    t.grid.setCursor(8, 3);
    const size_t writes = t.cellWrites.size();
    ops.paste();
    EXPECT_EQ(t.cellWrites.size(), writes);
    EXPECT_EQ(t.refreshes, 0);
    EXPECT_TRUE(p.transcript().empty());
}

// Two stations show the same page. B books a cell after A opened the page,
// so A's grid does not show it; A's block commands elsewhere must keep it.
TEST_P(BlockStore, AnotherStationsBookingSurvivesBlockCommands)
{
    Station a(store);
    Station b(store);
    ASSERT_EQ(a.host->page.id, b.host->page.id);
    b.bookCell(7, 3, "Jones", Green);
    EXPECT_EQ(a.grid().textMatrix(7, 3), "");

    a.bookCell(3, 1, "Smith", Red);
    a.grid().setCursor(3, 1);
    a.ops->copy();
    a.markRange(4, 1, 5, 2);
    a.ops->paste();
    a.markRange(4, 1, 4, 2);
    a.ops->cut();
    a.prompter.answerYes();
    a.markRange(5, 1, 6, 3);
    a.ops->remove();
    a.grid().setCursor(3, 3);
    a.ops->chooseRowCount(3);
    a.ops->chooseColor(Red);

    EXPECT_EQ(a.host->storedCell(7, 3), "Jones");
    EXPECT_EQ(a.host->storedColor(7, 3), Green);
    EXPECT_EQ(a.host->storedCell(3, 1), "Smith");
    EXPECT_EQ(a.host->storedCell(5, 1), "");
    EXPECT_EQ(a.host->storedColor(5, 1), Default);
    EXPECT_EQ(a.host->storedColor(5, 3), Red);   // painted over the deleted cell
    EXPECT_EQ(a.host->storedColor(6, 3), Default);
    EXPECT_TRUE(a.prompter.allAnswered());
}

// Colour lists are column by column over rows 3..last: the store's merging
// write and the grid's fill and read agree for pages of any shape.
TEST_P(BlockStore, ColourListRoundTripForPagesOfDifferentShapes)
{
    struct Shape {
        int listno;
        QString close;
    };
    for (const Shape &shape : {Shape{1, "08:30 AM"}, Shape{3, "10:00 AM"}, Shape{6, "11:15 AM"}}) {
        testsupport::TestStore shapeStore(engine());
        store::Database db;
        ASSERT_TRUE(shapeStore.open(db).ok());
        PageHost h(db, PageDate, blocktest::smallSettings(db, shape.listno, shape.close));
        const int rows = h.grid.rows(), cols = h.grid.cols();
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(rows).arg(cols).toStdString());
        EXPECT_EQ(h.storedColors(), "0");
        for (int c = 1; c < cols; ++c)
            EXPECT_EQ(h.grid.cellColor(3, c), Default);

        // Every cell its own colour, including the two free rows at the end.
        book::ColorChanges all;
        for (int c = 1; c < cols; ++c)
            for (int r = 3; r < rows; ++r)
                all[{r, c}] = c * 1000 + r;
        h.storeColors(all);
        const std::vector<int> stored = book::decodeColors(h.storedColors());
        ASSERT_EQ(stored.size(), static_cast<size_t>((cols - 1) * (rows - 3)));

        ui::GridModel fresh;
        blocktest::buildGrid(fresh, book::layoutOf(h.page, 1));
        book::applyColors(fresh, h.storedColors() + " ", false);   // a trailing blank is ignored
        EXPECT_EQ(book::gridColors(fresh), stored);
        for (int c = 1; c < cols; ++c)
            for (int r = 3; r < rows; ++r)
                EXPECT_EQ(fresh.cellColor(r, c), c * 1000 + r);
    }
}

QUILLON_BOTH_ENGINES(BlockStore);
