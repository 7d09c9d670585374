#include "book/pages/pagegrid.h"

#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"

#include <gtest/gtest.h>

using book::PageLayout;
using ui::GridModel;
namespace page = book::page;

namespace {

QStringList colLabels(const GridModel &g, int row)
{
    QStringList out;
    for (int c = 1; c < g.cols(); ++c)
        out << g.textMatrix(row, c);
    return out;
}

// A page grid of 3 consultants, 08:00 to 09:00 by 15 minutes: 10 rows.
struct SmallPage {
    SmallPage()
    {
        layout = book::layoutOf(3, "A%B%C%", "08:00 AM", "09:00 AM", 15, 1);
        book::setupColumns(grid, layout.columns, layout.names, QString(), 1.0);
        book::setupRows(grid, layout);
    }
    GridModel grid;
    PageLayout layout;
};

TEST(PageGridColumns, DefaultWidthsByColumnCount)
{
    GridModel g;
    book::setupColumns(g, 2, {"Dr Avery"}, QString(), 1.0);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.colWidth(0), 880);
    EXPECT_EQ(g.colWidth(1), 7800);

    book::setupColumns(g, 6, {}, QString(), 1.0);
    for (int c = 1; c < 6; ++c)
        EXPECT_EQ(g.colWidth(c), 1940) << c;

    book::setupColumns(g, 4, {}, QString(), 1.0);
    EXPECT_EQ(g.colWidth(3), 2550);
    book::setupColumns(g, 3, {}, QString(), 1.0);
    EXPECT_EQ(g.colWidth(2), 3850);

    // The width factor scales the time column and the default widths alike.
    book::setupColumns(g, 3, {}, QString(), 1.5);
    EXPECT_EQ(g.colWidth(0), 1320);
    EXPECT_EQ(g.colWidth(1), 5775);
}

TEST(PageGridColumns, StoredWidthsOverrideColumnByColumn)
{
    GridModel g;
    book::setupColumns(g, 4, {}, "2000%3000%", 1.0);
    EXPECT_EQ(g.colWidth(1), 2000);
    EXPECT_EQ(g.colWidth(2), 3000);
    EXPECT_EQ(g.colWidth(3), 2550);

    // An unreadable entry leaves its column at the default and goes on.
    book::setupColumns(g, 6, {}, "abc%2500%%1200.6%", 1.0);
    EXPECT_EQ(g.colWidth(1), 1940);
    EXPECT_EQ(g.colWidth(2), 2500);
    EXPECT_EQ(g.colWidth(3), 1940);
    EXPECT_EQ(g.colWidth(4), 1201);
    EXPECT_EQ(g.colWidth(5), 1940);

    // Widths of a wider page: only the columns that exist take them.
    book::setupColumns(g, 2, {}, "1000%2000%3000%", 1.0);
    EXPECT_EQ(g.cols(), 2);
    EXPECT_EQ(g.colWidth(1), 1000);
}

TEST(PageGridColumns, NumbersAndNames)
{
    GridModel g;
    g.setRows(5);
    g.setCols(4);
    g.setTextMatrix(1, 3, "kept");
    book::setupColumns(g, 4, {"Dr A", "Dr B"}, QString(), 1.0);
    EXPECT_EQ(colLabels(g, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(colLabels(g, 1), (QStringList{"Dr A", "Dr B", "kept"}));   // a missing name changes nothing
    EXPECT_EQ(g.cellAlign(0, 2), ui::CellAlign::Center);
    EXPECT_EQ(g.cellAlign(1, 1), ui::CellAlign::Center);
    EXPECT_TRUE(g.textMatrix(0, 0).isEmpty());
}

TEST(PageGridRows, TimeLabelsAndFreeRows)
{
    SmallPage p;
    const GridModel &g = p.grid;
    ASSERT_EQ(g.rows(), 10);
    EXPECT_EQ(p.layout.lastTimeRow(), 7);
    const QStringList expected{"08:00 AM", "08:15 AM", "08:30 AM", "08:45 AM", "09:00 AM"};
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(g.textMatrix(3 + i, 0), expected[i]);
        EXPECT_EQ(g.cellAlign(3 + i, 0), ui::CellAlign::Center);
        EXPECT_EQ(g.rowHeight(3 + i), 250);
    }
    for (int r : {0, 1, 2, 8, 9})
        EXPECT_TRUE(g.textMatrix(r, 0).isEmpty()) << r;

    // A closing time between slots ends on the next slot; rows are taller
    // with more text lines.
    const PageLayout l = book::layoutOf(3, "A%", "08:00 AM", "08:50 AM", 15, 3);
    book::setupRows(p.grid, l);
    EXPECT_EQ(g.textMatrix(7, 0), "09:00 AM");
    EXPECT_EQ(g.rowHeight(4), 750);

    // A shorter page after a longer one leaves no stale labels.
    GridModel big;
    book::setupRows(big, book::layoutOf(1, "A%", "08:00 AM", "05:00 PM", 30, 1));
    EXPECT_EQ(big.rows(), 2 + 19 + 3);
    book::setupRows(big, book::layoutOf(1, "A%", "08:00 AM", "08:30 AM", 30, 1));
    EXPECT_EQ(big.rows(), 7);
    EXPECT_EQ(big.textMatrix(4, 0), "08:30 AM");
    EXPECT_TRUE(big.textMatrix(5, 0).isEmpty());
    EXPECT_TRUE(big.textMatrix(6, 0).isEmpty());
}

TEST(PageGridRows, LayoutOfAPageRecord)
{
    book::PageRecord rec;
    rec.listno = 2;
    rec.names = "X%Y%";
    rec.open = "09:00 AM";
    rec.close = "10:00 AM";
    rec.timeslot = 20;
    const PageLayout l = book::layoutOf(rec, 2);
    EXPECT_EQ(l.columns, 3);
    EXPECT_EQ(l.names, (QStringList{"X", "Y"}));
    EXPECT_EQ(l.times, (std::vector<int>{540, 560, 580, 600}));
    EXPECT_EQ(l.rows(), 2 + 4 + 3);
    EXPECT_EQ(l.rowHeight(), 500);
}

TEST(PageGridText, ShortTextFillsFromTheTopLeftAndEmptiesTheRest)
{
    SmallPage p;
    GridModel &g = p.grid;
    for (int r = 2; r < g.rows(); ++r)
        for (int c = 1; c < g.cols(); ++c)
            g.setTextMatrix(r, c, "old");
    g.setCursor(5, 2);
    book::pasteText(g, QStringLiteral("a\tb\rc"));
    EXPECT_EQ(g.textMatrix(2, 1), "a");
    EXPECT_EQ(g.textMatrix(2, 2), "b");
    EXPECT_EQ(g.textMatrix(3, 1), "c");
    for (int r = 2; r < g.rows(); ++r)
        for (int c = 1; c < g.cols(); ++c)
            if (!(r == 2 && c <= 2) && !(r == 3 && c == 1)) {
                EXPECT_TRUE(g.textMatrix(r, c).isEmpty()) << r << "," << c;
            }
    // Names, numbers and times are not part of the page text.
    EXPECT_EQ(g.textMatrix(1, 1), "A");
    EXPECT_EQ(g.textMatrix(0, 3), "3");
    EXPECT_EQ(g.textMatrix(3, 0), "08:00 AM");
    EXPECT_EQ(g.row(), 5);
    EXPECT_EQ(g.col(), 2);
}

TEST(PageGridText, LongTextIsCutAtTheEdges)
{
    SmallPage p;
    GridModel &g = p.grid;
    page::Cells cells(12, QStringList{"1", "2", "3", "4", "5"});
    cells[0][2] = "edge";
    cells[7][2] = "corner";
    book::pasteText(g, page::encode(cells));
    EXPECT_EQ(g.rows(), 10);
    EXPECT_EQ(g.cols(), 4);
    EXPECT_EQ(g.textMatrix(2, 3), "edge");
    EXPECT_EQ(g.textMatrix(9, 3), "corner");
    const page::Cells back = page::decode(book::rectText(g));
    ASSERT_EQ(back.size(), 8u);
    for (const QStringList &row : back)
        EXPECT_EQ(row.size(), 3);
}

TEST(PageGridText, RectTextRoundTrip)
{
    SmallPage p;
    page::Cells cells = page::decode(page::blank(8, 3));
    cells[1][0] = "Smith\nnew";
    cells[4][2] = "- - - -";
    cells[7][1] = "last";
    const QString text = page::encode(cells);
    book::pasteText(p.grid, text);
    EXPECT_EQ(p.grid.textMatrix(3, 1), "Smith\nnew");
    EXPECT_EQ(book::rectText(p.grid), text);
}

TEST(PageGridColours, NothingStoredGivesTheDayColour)
{
    SmallPage p;
    GridModel &g = p.grid;
    book::applyColors(g, "0", false);
    for (int c = 1; c < 4; ++c)
        for (int r = 3; r < 10; ++r)
            EXPECT_EQ(g.cellColor(r, c), book::DefaultCellColor) << r << "," << c;
    EXPECT_EQ(g.cellColor(2, 1), book::DefaultCellColor);   // the free row above: no colour stored, never grey
    EXPECT_EQ(g.cellColor(3, 0), 0);   // the time column is not coloured

    book::applyColors(g, "0", true);
    EXPECT_EQ(g.cellColor(3, 1), book::DesktopColor);
    EXPECT_EQ(g.cellColor(9, 3), book::DesktopColor);
}

TEST(PageGridColours, StoredColoursColumnByColumn)
{
    SmallPage p;
    GridModel &g = p.grid;
    std::vector<int> values(3 * 7, 0);
    values[0] = 0xFF;          // row 3, column 1
    values[7 + 1] = 0xFF00;    // row 4, column 2
    values[14 + 6] = 0xFF0000; // row 9, column 3
    book::applyColors(g, book::encodeColors(values), false);
    EXPECT_EQ(g.cellColor(3, 1), 0xFF);
    EXPECT_EQ(g.cellColor(4, 2), 0xFF00);
    EXPECT_EQ(g.cellColor(9, 3), 0xFF0000);
    EXPECT_EQ(g.cellColor(4, 1), 0);
    EXPECT_EQ(book::gridColors(g), values);

    // A list shorter than the grid leaves the rest without a colour.
    book::applyColors(g, "5 6", false);
    EXPECT_EQ(g.cellColor(3, 1), 5);
    EXPECT_EQ(g.cellColor(4, 1), 6);
    EXPECT_EQ(g.cellColor(5, 1), 0);
    EXPECT_EQ(g.cellColor(3, 2), 0);
    // Such a cell is not free: on an open day it shows grey.
    EXPECT_EQ(g.backColor(), book::NoColourShown);
}

} // namespace
