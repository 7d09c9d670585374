#include "ui/core/gridmodel.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

using ui::GridModel;

namespace {

// A 5 x 4 grid whose cells hold "r,c".
void fill(GridModel &g, int rows = 5, int cols = 4)
{
    g.setRows(rows);
    g.setCols(cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.setTextMatrix(r, c, QString("%1,%2").arg(r).arg(c));
}

const QString T = QStringLiteral("\t");
const QString CR = QStringLiteral("\r");

} // namespace

TEST(GridModelClip, ReadsSelectionRowByRowWithoutTrailingSeparators)
{
    GridModel g;
    fill(g);
    g.select(1, 1, 2, 3);
    const QString clip = g.clip();
    EXPECT_EQ(clip, "1,1" + T + "1,2" + T + "1,3" + CR + "2,1" + T + "2,2" + T + "2,3");
    EXPECT_EQ(clip.count('\t'), 4);
    EXPECT_EQ(clip.count('\r'), 1);

    g.setCursor(4, 0);
    EXPECT_EQ(g.clip(), "4,0");
}

TEST(GridModelClip, SelectionMarkedUpwardAndLeftwardIsNormalised)
{
    GridModel g;
    fill(g);
    g.select(3, 2, 2, 1);
    EXPECT_EQ(g.row(), 3);
    EXPECT_EQ(g.colSel(), 1);
    EXPECT_EQ(g.selTop(), 2);
    EXPECT_EQ(g.selBottom(), 3);
    EXPECT_EQ(g.selLeft(), 1);
    EXPECT_EQ(g.selRight(), 2);
    EXPECT_EQ(g.clip(), "2,1" + T + "2,2" + CR + "3,1" + T + "3,2");

    g.setClip("a" + T + "b");
    EXPECT_EQ(g.textMatrix(2, 1), "a");
    EXPECT_EQ(g.textMatrix(2, 2), "b");
    EXPECT_EQ(g.textMatrix(3, 1), "");
}

TEST(GridModelClip, WritingDropsWhatIsBeyondTheSelectionAndEmptiesTheRest)
{
    GridModel g;
    fill(g);
    g.select(1, 1, 1, 2);
    g.setClip("x" + T + "y" + T + "z");
    EXPECT_EQ(g.textMatrix(1, 1), "x");
    EXPECT_EQ(g.textMatrix(1, 2), "y");
    EXPECT_EQ(g.textMatrix(1, 3), "1,3");   // third cell dropped, neighbour untouched

    // Multi-row paste: short rows and missing rows leave selected cells empty,
    // extra rows are dropped, LF inside a cell is kept.
    g.select(1, 1, 3, 2);
    g.setClip("a" + T + "b" + CR + "two\nlines" + CR + "c" + T + "d" + CR + "extra");
    EXPECT_EQ(g.textMatrix(1, 1), "a");
    EXPECT_EQ(g.textMatrix(1, 2), "b");
    EXPECT_EQ(g.textMatrix(2, 1), "two\nlines");
    EXPECT_EQ(g.textMatrix(2, 2), "");
    EXPECT_EQ(g.textMatrix(3, 1), "c");
    EXPECT_EQ(g.textMatrix(3, 2), "d");
    EXPECT_EQ(g.textMatrix(4, 1), "4,1");
    EXPECT_EQ(g.textMatrix(1, 0), "1,0");
    EXPECT_EQ(g.textMatrix(1, 3), "1,3");

    // The clip read back is the clip written (within the selection).
    const QString page = "p" + T + "q" + CR + "r" + T + CR + T + "s";
    g.setClip(page);
    EXPECT_EQ(g.clip(), page);
}

TEST(GridModelClip, EmptyClipEmptiesEverySelectedCell)
{
    GridModel g;
    fill(g);
    g.select(1, 1, 3, 3);
    g.setClip(QString());
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(g.textMatrix(r, c), "") << r << "," << c;
    EXPECT_EQ(g.textMatrix(0, 1), "0,1");
    EXPECT_EQ(g.textMatrix(4, 3), "4,3");
    EXPECT_EQ(g.clip(), T + T + CR + T + T + CR + T + T);
}

TEST(GridModelSize, ResizingKeepsContentsAndClampsTheCursor)
{
    GridModel g;
    fill(g);
    g.setColWidth(1, 2000);
    g.setRowHeight(2, 500);
    g.select(4, 3, 2, 1);

    g.setRows(8);
    g.setCols(6);
    EXPECT_EQ(g.textMatrix(4, 3), "4,3");
    EXPECT_EQ(g.textMatrix(7, 5), "");
    EXPECT_EQ(g.colWidth(1), 2000);
    EXPECT_EQ(g.colWidth(5), g.defaultColWidth());
    EXPECT_EQ(g.rowHeight(7), g.defaultRowHeight());

    g.setRows(3);
    g.setCols(2);
    EXPECT_EQ(g.textMatrix(2, 1), "2,1");
    EXPECT_EQ(g.textMatrix(4, 3), "");     // gone, not a crash
    EXPECT_EQ(g.row(), 2);
    EXPECT_EQ(g.col(), 1);
    EXPECT_EQ(g.rowHeight(2), 500);

    // Grown again: the dropped cells come back empty.
    g.setRows(5);
    EXPECT_EQ(g.textMatrix(4, 1), "");
    EXPECT_EQ(g.rowHeight(4), g.defaultRowHeight());
}

TEST(GridModelSize, OutOfRangeIndexesAreHarmless)
{
    GridModel g;
    fill(g);
    g.setTextMatrix(9, 9, "x");
    g.setTextMatrix(-1, 0, "x");
    g.setCellColor(5, 0, 0xFF);
    g.setColWidth(4, 100);
    EXPECT_EQ(g.textMatrix(9, 9), "");
    EXPECT_EQ(g.cellColor(5, 0), 0);
    EXPECT_EQ(g.colWidth(4), 0);
    g.setRow(99);
    g.setCol(-5);
    EXPECT_EQ(g.row(), 4);
    EXPECT_EQ(g.col(), 0);
    g.setFixedRows(10);
    EXPECT_EQ(g.fixedRows(), 5);
}

TEST(GridModelCursor, SettingRowOrColCollapsesTheSelection)
{
    GridModel g;
    fill(g);
    g.select(1, 1, 3, 3);
    g.setRow(2);
    EXPECT_EQ(g.rowSel(), 2);
    EXPECT_EQ(g.colSel(), 3);   // only the row end collapsed so far
    g.setCol(2);
    EXPECT_EQ(g.colSel(), 2);
    g.setRowSel(4);
    g.setColSel(3);
    EXPECT_EQ(g.row(), 2);
    EXPECT_EQ(g.col(), 2);
    EXPECT_EQ(g.clip(), "2,2" + T + "2,3" + CR + "3,2" + T + "3,3" + CR + "4,2" + T + "4,3");
}

TEST(GridModelLook, SelectionWideColourFontAndAlignment)
{
    GridModel g;
    fill(g);
    g.setCursor(1, 1);
    g.setSelectionColor(0x8080FF);
    EXPECT_EQ(g.cellColor(1, 1), 0x8080FF);
    EXPECT_EQ(g.cellColor(1, 2), 0);

    g.select(2, 3, 3, 2);
    ui::CellFont bold;
    bold.bold = true;
    g.setSelectionColor(0xC0FFC0);
    g.setSelectionFont(bold);
    g.setSelectionAlign(ui::CellAlign::Center);
    for (int r = 2; r <= 3; ++r)
        for (int c = 2; c <= 3; ++c) {
            EXPECT_EQ(g.cellColor(r, c), 0xC0FFC0);
            EXPECT_TRUE(g.cellFont(r, c).bold);
            EXPECT_EQ(g.cellAlign(r, c), ui::CellAlign::Center);
        }
    EXPECT_EQ(g.cellColor(1, 1), 0x8080FF);
    EXPECT_FALSE(g.cellFont(1, 1).bold);
    EXPECT_EQ(g.cellAlign(4, 3), ui::CellAlign::General);

    // Cells without a font of their own follow the grid font.
    ui::CellFont big;
    big.size = 12;
    g.setFont(big);
    EXPECT_EQ(g.cellFont(0, 0).size, 12);
    EXPECT_EQ(g.cellFont(2, 2).size, 8);
}

TEST(GridModelGeometry, CellLeftAndTopSumTheSizesBefore)
{
    GridModel g;
    fill(g);
    g.setColWidth(0, 880);
    g.setColWidth(1, 0);
    g.setRowHeight(1, 500);
    EXPECT_EQ(g.cellLeft(0), 0);
    EXPECT_EQ(g.cellLeft(2), 880);
    EXPECT_EQ(g.cellLeft(3), 880 + g.defaultColWidth());
    EXPECT_EQ(g.cellTop(2), g.defaultRowHeight() + 500);
    g.setColWidth(0, -1);
    EXPECT_EQ(g.colWidth(0), g.defaultColWidth());
}

TEST(GridModelUpdate, BatchedChangesSignalOnceAfterTheOutermostEnd)
{
    GridModel g;
    int changed = 0, cursor = 0;
    QObject::connect(&g, &GridModel::changed, [&] { ++changed; });
    QObject::connect(&g, &GridModel::cursorChanged, [&] { ++cursor; });

    g.beginUpdate();
    g.beginUpdate();
    g.setRows(40);
    g.setCols(20);
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 20; ++c)
            g.setTextMatrix(r, c, "x");
    g.select(3, 1, 39, 19);
    g.setCursor(3, 1);
    g.endUpdate();
    EXPECT_TRUE(g.updating());
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(cursor, 0);
    g.endUpdate();
    EXPECT_FALSE(g.updating());
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(cursor, 1);

    // Outside a batch each change signals at once; no change, no signal.
    g.setTextMatrix(5, 5, "y");
    EXPECT_EQ(changed, 2);
    g.setTextMatrix(5, 5, "y");
    g.setCursor(3, 1);
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(cursor, 1);

    // A batch that changed nothing stays quiet; a stray end is ignored.
    g.beginUpdate();
    g.endUpdate();
    g.endUpdate();
    EXPECT_EQ(changed, 2);
    EXPECT_FALSE(g.updating());
}

// Every property tells the views once when it changes and not at all when
// set to what it holds; a negative size goes back to the default.
TEST(GridModelUpdate, EachPropertySignalsOnlyWhenItsValueChanges)
{
    GridModel g;
    fill(g);
    int changed = 0, cursor = 0;
    QObject::connect(&g, &GridModel::changed, [&] { ++changed; });
    QObject::connect(&g, &GridModel::cursorChanged, [&] { ++cursor; });
    const std::vector<std::function<void()>> sets{
        [&] { g.setCellColor(1, 1, ui::colours::Red); },
        [&] { g.setCellAlign(1, 2, ui::CellAlign::Right); },
        [&] { g.setCellPicture(2, 2, "png"); },
        [&] { g.setBackColor(ui::colours::Grey); },
        [&] { g.setVisible(false); },
        [&] { g.setFixedRows(2); },
        [&] { g.setColWidth(3, 2000); },
        [&] { g.setRowHeight(4, 500); },
    };
    for (size_t i = 0; i < sets.size(); ++i) {
        sets[i]();
        sets[i]();
        EXPECT_EQ(changed, int(i) + 1) << "setter " << i;
    }
    EXPECT_EQ(g.colWidth(3), 2000);
    g.setColWidth(3, -7);
    EXPECT_EQ(g.colWidth(3), g.defaultColWidth());
    g.setColWidth(3, -1);
    EXPECT_EQ(changed, int(sets.size()) + 1);

    // The selection's end moves alone; the cursor row takes it along.
    g.setCursor(1, 1);
    cursor = 0;
    g.setRowSel(3);
    g.setRowSel(3);
    EXPECT_EQ(cursor, 1);
    EXPECT_EQ(g.row(), 1);
    g.setRow(2);
    EXPECT_EQ(g.rowSel(), 2);
    EXPECT_EQ(cursor, 2);
    EXPECT_EQ(changed, int(sets.size()) + 1);
}
