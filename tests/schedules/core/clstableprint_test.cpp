#include "support/doubles/recordingsurface.h"
#include "schedules/core/clstableprint.h"

#include <cmath>
#include <gtest/gtest.h>

using schedules::clsTablePrint;
using schedules::TableError;
using testsupport::RecordingSurface;

namespace {

constexpr double Row = RecordingSurface::LineHeight;   // data rows, no inset
constexpr double Header = 275;                          // the header rows' floor

// A table of `rows` data rows and `cols` columns of 1000 twips, no footer.
clsTablePrint table(int rows, int cols)
{
    clsTablePrint t;
    t.setHasFooter(false);
    t.setRows(rows);
    t.setCols(cols);
    t.setHeaderRows(1);
    t.setColWidth(-1, 1000);
    t.setCellColor(-1, -1, 0xFFFFFF);
    for (int c = 0; c < cols; ++c)
        t.setHeaderText(0, c, QStringLiteral("H%1").arg(c));
    return t;
}

// Starts a printer's next page.
void printerPages(clsTablePrint &t, int *calls = nullptr)
{
    t.setNewPageHandler([calls](ui::OutputSurface &out, bool &, bool &, int) {
        out.newPage();
        if (calls)
            ++*calls;
    });
}

int subscriptOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const TableError &e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(TablePrintProperties, SizesRefusedOrRecreateEverything)
{
    clsTablePrint t;
    EXPECT_EQ(t.rows(), 5);
    EXPECT_EQ(t.cols(), 2);
    EXPECT_EQ(t.headerRows(), 1);
    EXPECT_TRUE(t.hasFooter());
    EXPECT_EQ(t.colWidth(1), 15);

    EXPECT_EQ(subscriptOf([&] { t.setRows(-1); }), 380);
    EXPECT_EQ(subscriptOf([&] { t.setCols(0); }), 380);
    EXPECT_EQ(subscriptOf([&] { t.setHeaderRows(0); }), 380);
    EXPECT_EQ(t.rows(), 5);

    t.setTextMatrix(1, 1, "kept?");
    t.setColWidth(0, 900);
    t.setMergeRow(2, true);
    t.setCols(2);   // the same value still empties the tables
    EXPECT_EQ(t.textMatrix(1, 1), "");
    EXPECT_EQ(t.colWidth(0), 15);
    EXPECT_FALSE(t.mergeRow(2));

    // Rows = 0 is stored, fails, and leaves the table unusable until resized.
    EXPECT_EQ(subscriptOf([&] { t.setRows(0); }), 9);
    EXPECT_EQ(t.rows(), 0);
    RecordingSurface out(10000, 10000);
    EXPECT_EQ(t.drawTable(out, 0, 1).number, 9);
    t.setRows(3);
    EXPECT_TRUE(t.drawTable(out, 0, 1).ok);
}

TEST(TablePrintProperties, WildcardsAndSubscripts)
{
    clsTablePrint t;
    t.setRows(3);
    t.setCols(3);
    t.setTextMatrix(-1, 1, "col");
    t.setTextMatrix(2, -1, "row");
    EXPECT_EQ(t.textMatrix(0, 1), "col");
    EXPECT_EQ(t.textMatrix(2, 1), "row");
    EXPECT_EQ(t.textMatrix(0, 0), "");
    t.setCellColor(-1, -1, 7);
    EXPECT_EQ(t.cellColor(2, 2), 7);
    t.setColAlignment(-1, 2);
    EXPECT_EQ(t.colAlignment(2), 2);

    EXPECT_EQ(subscriptOf([&] { t.textMatrix(-1, 0); }), 9);
    EXPECT_EQ(subscriptOf([&] { t.textMatrix(3, 0); }), 9);
    EXPECT_EQ(subscriptOf([&] { t.setMergeCol(3, true); }), 9);

    // A footer asked for after the sizes has no tables behind it.
    clsTablePrint late;
    late.setHasFooter(false);
    late.setRows(2);
    late.setHasFooter(true);
    EXPECT_EQ(subscriptOf([&] { late.setFooterText(0, "x"); }), 9);
    RecordingSurface out(10000, 10000);
    const schedules::DrawResult r = late.drawTable(out, 0, 1);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message(), "9 Subscript out of range");
}

TEST(TablePrintDrawing, CellFlagsAndCurrentYAfterTheTable)
{
    clsTablePrint t = table(3, 3);
    t.setTextMatrix(0, 0, "08:00 AM");
    t.setTextMatrix(0, 1, "Smith & Sons");
    RecordingSurface out(10000, 10000);
    out.setCurrentY(500);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);

    EXPECT_EQ(out.textsOf("08:00 AM").value(0).flags, 0x835);
    // Other columns get their text broken into the lines it was measured in.
    EXPECT_EQ(out.textsOf("Smith &\nSons").value(0).flags, 0x800);
    EXPECT_EQ(out.textsOf("H1").value(0).flags & 0x800, 0x800);
    EXPECT_DOUBLE_EQ(out.currentY(), 500 + Header + 4 * Row);
    // The data cells sit under the header, one row height each.
    EXPECT_EQ(out.textsOf("08:00 AM").value(0).rect.top(), 500 + 275 + 1);
}

TEST(TablePrintDrawing, StartPastTheLastRowDrawsHeaderAndFooterOnly)
{
    clsTablePrint t;
    t.setHasFooter(true);
    t.setRows(4);
    t.setCols(2);
    t.setHeaderRows(1);
    t.setTextMatrix(-1, -1, "data");
    t.setHeaderText(0, 0, "head");
    t.setFooterText(0, "foot");
    RecordingSurface out(10000, 10000);
    ASSERT_TRUE(t.drawTable(out, 10, 1).ok);
    EXPECT_TRUE(out.textsOf("data").isEmpty());
    EXPECT_EQ(out.textsOf("head").size(), 1);
    EXPECT_EQ(out.textsOf("foot").size(), 1);
    EXPECT_DOUBLE_EQ(out.currentY(), Header + Row);
}

TEST(TablePrintDrawing, VerticalRunsBreakWithThePage)
{
    // One header row and six data rows fill the first page exactly.
    clsTablePrint t = table(8, 2);
    t.setMergeCol(1, true);
    for (int r = 4; r <= 6; ++r)
        t.setTextMatrix(r, 1, "Jones");
    t.printHeaderOnEveryPage = true;
    printerPages(t);
    RecordingSurface out(10000, Header + 6 * Row + 50);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);

    const auto runs = out.textsOf("Jones");
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0].page, 1);
    EXPECT_EQ(runs[0].rect.height(), 2 * Row);
    EXPECT_EQ(runs[1].page, 2);
    EXPECT_EQ(runs[1].rect.height(), Row);
    // The second page repeats the header.
    EXPECT_EQ(out.textsOf("H1").size(), 2);
    EXPECT_DOUBLE_EQ(out.currentY(), Header + 2 * Row);
}

TEST(TablePrintDrawing, HeaderOnlyOnTheFirstPageUnlessAsked)
{
    clsTablePrint t = table(8, 2);
    printerPages(t);
    RecordingSurface out(10000, Header + 6 * Row + 50);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);
    EXPECT_EQ(out.textsOf("H0").size(), 1);
    EXPECT_EQ(out.pages, 2);
    EXPECT_DOUBLE_EQ(out.currentY(), 2 * Row);   // page 2 sets no room aside for it
}

TEST(TablePrintDrawing, HorizontalRunsAndTheCentredMergedHeader)
{
    clsTablePrint t = table(2, 3);
    t.setMergeRow(0, true);
    t.setTextMatrix(0, 0, "A");
    t.setTextMatrix(0, 1, "A");
    t.setTextMatrix(0, 2, "B");
    t.setMergeHeaderRow(0, true);
    t.centerMergedHeader = true;
    t.setHeaderText(0, 0, "X");
    t.setHeaderText(0, 1, "X");
    t.setHeaderText(0, 2, "Y");
    t.setColAlignment(-1, 2);
    RecordingSurface out(10000, 10000);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);

    const auto a = out.textsOf("A");
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0].rect.left(), 0);
    EXPECT_EQ(a[0].rect.right(), 2000);
    EXPECT_EQ(out.textsOf("B").value(0).rect.left(), 2000);

    const auto x = out.textsOf("X");
    ASSERT_EQ(x.size(), 1);
    EXPECT_EQ(x[0].flags & 3, 1);
    EXPECT_EQ(x[0].rect.right(), 2000);
    EXPECT_EQ(out.textsOf("Y").value(0).flags & 3, 2);
}

// A row that no page can hold: each page takes one row, and the drawing ends.
TEST(TablePrintDrawing, RowsTallerThanAPageStillEnd)
{
    clsTablePrint t = table(4, 2);
    t.rowHeightMin = 5000;
    t.printHeaderOnEveryPage = true;
    t.setTextMatrix(-1, 0, "tall");
    int calls = 0;
    printerPages(t, &calls);
    RecordingSurface out(10000, 3000);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);
    EXPECT_EQ(calls, 4);   // the first page holds none, then one per page
    const auto tall = out.textsOf("tall");
    ASSERT_EQ(tall.size(), 4);
    EXPECT_EQ(tall[3].page, 5);
}

TEST(TablePrintDrawing, CancelStopsAndTheHandlerMayPlaceTheTop)
{
    clsTablePrint t = table(20, 2);
    t.setTextMatrix(-1, 0, "r");
    int last = -2;
    t.setNewPageHandler([&](ui::OutputSurface &out, bool &topSet, bool &cancel, int lastRow) {
        last = lastRow;
        out.newPage();
        out.setCurrentY(out.pageTop() + 1000);
        topSet = true;
        cancel = out.scaleHeight() > 6000;
    });
    RecordingSurface out(10000, 3000, true);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);
    // Page 1: 13 rows under the header; page 2 from 4000: 10 rows would fit,
    // 7 are left and drawn; no third page is needed.
    EXPECT_EQ(last, 12);
    EXPECT_EQ(out.textsOf("r").size(), 20);
    EXPECT_EQ(out.textsOf("r")[13].rect.top(), 4000 + 1);
}

TEST(TablePrintDrawing, SharedFontsChangeTheSurfaceOnlyWhereTheyDiffer)
{
    clsTablePrint t = table(10, 3);
    auto bold = std::make_shared<const ui::CellFont>(ui::CellFont{"Arial", 10, true});
    t.setFontMatrix(-1, -1, bold);
    RecordingSurface out(10000, 10000);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);
    EXPECT_EQ(out.fontChanges, 2);   // the shared font once, the caller's font back at the end

    // Equal fonts in separate objects are changed to every time.
    clsTablePrint u = table(10, 3);
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 3; ++c)
            u.setFontMatrix(r, c, std::make_shared<const ui::CellFont>(*bold));
    RecordingSurface out2(10000, 10000);
    ASSERT_TRUE(u.drawTable(out2, 0, 1).ok);
    EXPECT_GT(out2.fontChanges, 30);
}

TEST(TablePrintDrawing, PicturesSitInsideTheirCell)
{
    clsTablePrint t = table(1, 2);
    t.resizeCellsToPicHeight = true;
    t.setPictureMatrix(0, 1, QByteArray("png"));
    t.setColAlignment(1, 1);
    RecordingSurface out(10000, 10000);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);
    ASSERT_EQ(out.pictures.size(), 1);
    // The row grew to the picture's 300 twips; centred in its 1000 twips column.
    EXPECT_DOUBLE_EQ(out.pictures[0].left(), 1000 + 350);
    EXPECT_DOUBLE_EQ(out.pictures[0].height(), 300);
    EXPECT_DOUBLE_EQ(out.currentY(), Header + 300);
}

TEST(TablePrintLayout, RowsPerPage)
{
    clsTablePrint t;
    t.setHasFooter(true);
    t.setRows(50);
    t.setCols(2);
    t.setHeaderRows(2);
    t.marginTop = 300;
    t.marginBottom = 300;
    RecordingSurface out(10000, 5000);
    EXPECT_DOUBLE_EQ(t.calcNumRowsPerPage(out, false), std::floor((4400 - Row) / Row));
    EXPECT_DOUBLE_EQ(t.calcNumRowsPerPage(out, true, false), std::floor((4400 - 2 * Header) / Row));
}

TEST(TablePrintLayout, WrapBreaksAtBlanksAndHyphensAndInsideTooLongWords)
{
    const RecordingSurface out(10000, 10000);   // 100 twips a character
    EXPECT_EQ(out.wrap("Mrs Alexandra Montgomery-Hamilton", 2000),
              (QStringList{"Mrs Alexandra", "Montgomery-Hamilton"}));
    EXPECT_EQ(out.wrap("Smith\nJones", 2000), (QStringList{"Smith", "Jones"}));
    EXPECT_EQ(out.wrap("Abcdefghij", 400), (QStringList{"Abcd", "efgh", "ij"}));
    EXPECT_EQ(out.wrap("a  b", 100), (QStringList{"a", "b"}));
    EXPECT_EQ(out.wrap("", 400), QStringList{""});
    EXPECT_DOUBLE_EQ(out.wrappedHeight("Mrs Alexandra Montgomery-Hamilton", 2000), 2 * Row);
}

// One two-line cell makes its own row taller and no other; a long name
// wraps inside its cell; pages break where the rows' own heights run out.
TEST(TablePrintDrawing, EachRowIsAsTallAsItsOwnCells)
{
    clsTablePrint t = table(4, 3);
    t.setColWidth(-1, 2000);
    t.setTextMatrix(-1, 0, "08:00 AM");
    t.setTextMatrix(0, 1, "Mrs Alexandra Montgomery-Hamilton");
    t.setTextMatrix(1, 2, "Smith\nJones");
    t.setTextMatrix(2, 1, "Brown");
    t.setTextMatrix(3, 1, "Green");
    printerPages(t);
    RecordingSurface out(10000, Header + 5 * Row + 50);
    ASSERT_TRUE(t.drawTable(out, 0, 1).ok);

    const auto name = out.textsOf("Mrs Alexandra\nMontgomery-Hamilton");
    ASSERT_EQ(name.size(), 1);
    EXPECT_EQ(name[0].rect.height(), 2 * Row);
    EXPECT_EQ(out.textsOf("Smith\nJones").value(0).rect.height(), 2 * Row);
    EXPECT_EQ(out.textsOf("Brown").value(0).rect.height(), Row);
    EXPECT_EQ(out.textsOf("Brown").value(0).page, 1);
    EXPECT_EQ(out.textsOf("Green").value(0).page, 2);
    EXPECT_DOUBLE_EQ(out.currentY(), Row);
}
