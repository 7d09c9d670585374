#include "schedules/core/dailywidths.h"
#include "schedules/core/gridimport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace schedules;

namespace {

void shape(ui::GridModel &g, int rows, int cols, int fixed)
{
    g.setRows(rows);
    g.setCols(cols);
    g.setFixedRows(fixed);
}

} // namespace

TEST(GridImport, FixedRowsBecomeTheHeader)
{
    ui::GridModel g;
    shape(g, 10, 4, 1);
    g.setTextMatrix(0, 2, "Dr Lee");
    g.setTextMatrix(3, 2, "Smith");
    g.setCellAlign(0, 3, ui::CellAlign::Right);
    g.setColMerge(2, true);
    clsTablePrint t;
    LoadTableFromGrid(t, g, -1);
    EXPECT_EQ(t.headerRows(), 1);
    EXPECT_EQ(t.rows(), 9);
    EXPECT_EQ(t.cols(), 4);
    EXPECT_FALSE(t.hasFooter());
    EXPECT_TRUE(t.printHeaderOnEveryPage);
    EXPECT_EQ(t.headerText(0, 2), "Dr Lee");
    EXPECT_EQ(t.textMatrix(2, 2), "Smith");
    EXPECT_EQ(t.colAlignment(3), 2);
    EXPECT_TRUE(t.mergeCol(2));
    EXPECT_TRUE(t.mergeHeaderCol(2));
    EXPECT_EQ(t.colWidth(1), g.colWidth(1));

    // No data row, or fewer rows than fixed ones, is refused by the table.
    ui::GridModel empty;
    shape(empty, 2, 2, 2);
    EXPECT_THROW(LoadTableFromGrid(t, empty, -1), TableError);
}

TEST(GridImport, FitWidthSharesTheWidthInProportion)
{
    ui::GridModel g;
    shape(g, 4, 3, 1);
    g.setColWidth(0, 1000);
    g.setColWidth(1, 3000);
    g.setColWidth(2, 1000);
    clsTablePrint t;
    LoadTableFromGrid(t, g, 10000);
    EXPECT_DOUBLE_EQ(t.colWidth(0), 2000);
    EXPECT_DOUBLE_EQ(t.colWidth(1), 6000);
    EXPECT_DOUBLE_EQ(t.colWidth(2), 2000);

    // Every column collapsed: nothing to share by, the grid's widths stay.
    for (int c = 0; c < 3; ++c)
        g.setColWidth(c, 0);
    LoadTableFromGrid(t, g, 10000);
    for (int c = 0; c < 3; ++c)
        EXPECT_DOUBLE_EQ(t.colWidth(c), 0) << c;
}

TEST(GridImport, ColoursAndTheCreamFirstRow)
{
    ui::GridModel g;
    shape(g, 5, 2, 2);
    g.setCellColor(2, 1, 0x123456);
    g.setCellColor(3, 1, 0x8080FF);
    clsTablePrint t;
    LoadTableFromGrid(t, g, -1);
    EXPECT_EQ(t.cellColor(0, 1), 0xEEFFFF);
    EXPECT_EQ(g.cellColor(2, 1), 0xEEFFFF);    // on screen too
    EXPECT_EQ(t.cellColor(1, 1), 0x8080FF);
    EXPECT_EQ(t.cellColor(2, 0), 0xE0E0E0);    // never set: light grey
}

TEST(GridImport, NeighboursWithEqualFontsShareOneObject)
{
    ui::GridModel g;
    shape(g, 4, 1, 1);
    const ui::CellFont bold{"Arial", 10, true};
    g.setCellFont(1, 0, bold);
    g.setCellFont(2, 0, bold);
    g.setCellFont(3, 0, ui::CellFont{"Arial", 10, false});
    clsTablePrint t;
    LoadTableFromGrid(t, g, -1);
    EXPECT_EQ(t.fontMatrix(0, 0), t.fontMatrix(1, 0));
    EXPECT_NE(t.fontMatrix(1, 0), t.fontMatrix(2, 0));
    EXPECT_FALSE(t.fontMatrix(2, 0)->bold);
    EXPECT_EQ(t.fontMatrix(2, 0)->size, 10);
}

struct WidthCase {
    const char *name;
    int columns;
    const char *dwidth;
    std::vector<int> expected;   // -1: the column's default
};

class DailyWidths : public ::testing::TestWithParam<WidthCase> {};

// Stored entries are widths on the design screen: shown widened by the factor.
TEST_P(DailyWidths, StoredEntriesSetTheirColumns)
{
    const WidthCase &c = GetParam();
    const std::vector<int> defaults = dailyWidths(c.columns, QString(), 1.25);
    const std::vector<int> got = dailyWidths(c.columns, QString::fromLatin1(c.dwidth), 1.25);
    ASSERT_EQ(got.size(), c.expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], c.expected[i] < 0 ? defaults[i] : std::lround(c.expected[i] * 1.25)) << "column " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DailyWidths,
    ::testing::Values(WidthCase{"FirstEntriesOnly", 4, "1000%2500%", {1000, 2500, -1, -1}},
                      WidthCase{"LongerTextIgnored", 3, "900%1800%1700%1600%1500%", {900, 1800, 1700}},
                      WidthCase{"ZeroCollapses", 3, "880%0%1940%", {880, 0, 1940}},
                      WidthCase{"UnreadableOrTooWideKeepDefault", 4, "abc%40000%-5%1200%", {-1, -1, -1, 1200}}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(DailyWidthsText, EveryColumnFollowedByPercent)
{
    ui::GridModel g;
    shape(g, 5, 3, 2);
    g.setColWidth(0, 880);
    g.setColWidth(1, 0);
    g.setColWidth(2, 3850);
    EXPECT_EQ(dwidthText(g, 1.0), "880%0%3850%");
    // A wide screen's widths are stored as the design screen's.
    EXPECT_EQ(dwidthText(g, 2.0), "440%0%1925%");
}
