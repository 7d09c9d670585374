#include "book/core/bookfixture.h"
#include "book/core/dateinput.h"
#include "book/pages/pagestore.h"
#include "support/doubles/recordingsurface.h"
#include "schedules/core/dailycontroller.h"
#include "schedules/core/scheduleprint.h"
#include "schedules/core/weeklycontroller.h"

#include <gtest/gtest.h>

using namespace schedules;
using booktest::Today;
using testsupport::RecordingSurface;

namespace {

const QDate Monday(2026, 12, 14);

class Schedules : public booktest::BookTest {
protected:
    int pageCount() { return st.pageCount(); }
    QString dwidth() { return store::SettingsStore(st.db).field("DWidth").toString(); }
};

} // namespace

TEST_P(Schedules, DailyCreatesAMissingPageAsTheBookWould)
{
    const QDate saturday(2026, 12, 19);
    st.setSetting("Sat", "\tclosed\r");
    st.state.pageDate = saturday;
    const int before = pageCount();
    DailyController daily(st.services);
    daily.load(1.0);
    EXPECT_EQ(pageCount(), before + 1);
    EXPECT_EQ(book::PageStore(st.db).find(saturday).data, "\tclosed\r");
    EXPECT_TRUE(daily.page().clinic);
    EXPECT_EQ(daily.dayCaption(), "Saturday");

    ui::GridModel &g = daily.grid();
    EXPECT_EQ(g.textMatrix(1, 2), "Dr Brook");
    EXPECT_EQ(g.textMatrix(3, 0), "08:00 AM");
    EXPECT_EQ(g.textMatrix(2, 2), "closed");
    EXPECT_EQ(g.cellColor(3, 1), book::DesktopColor);   // a closed day
    EXPECT_EQ(g.row(), 3);
    EXPECT_EQ(g.col(), 1);
}

TEST_P(Schedules, DailyWidthsAreStoredAndComeBack)
{
    st.setSetting("DWidth", "1000%2500%");
    st.state.pageDate = Today;
    {
        DailyController daily(st.services);
        daily.load(1.0);
        EXPECT_EQ(daily.grid().colWidth(0), 1000);
        EXPECT_EQ(daily.grid().colWidth(1), 2500);
        EXPECT_EQ(daily.grid().colWidth(2), 2550);
        daily.grid().setColWidth(3, 0);
        daily.print();
        EXPECT_EQ(dwidth(), "1000%2500%2550%0%");
        daily.activate();
        EXPECT_EQ(st.state.refreshHolds, 1);
        daily.close();
        EXPECT_EQ(st.state.refreshHolds, 0);
        EXPECT_TRUE(st.windows.log().contains("unload frmDaily"));
    }
    DailyController again(st.services);
    again.load(1.0);
    EXPECT_EQ(again.grid().colWidth(3), 0);   // collapsed the next time
}

TEST_P(Schedules, DailyWidthsNeverOverwriteAnotherStations)
{
    st.state.pageDate = Today;
    DailyController daily(st.services);
    daily.load(1.0);
    booktest::Station other(store);
    other.setSetting("DWidth", "700%700%700%700%");
    daily.grid().setColWidth(1, 4000);
    st.prompter.expectMessage();
    daily.print();
    EXPECT_EQ(st.prompter.last().title, "Save Column Widths");
    EXPECT_EQ(dwidth(), "700%700%700%700%");
    // Saved again, the user's widths go over the ones now known.
    daily.close();
    EXPECT_TRUE(dwidth().contains("4000%"));
}

TEST_P(Schedules, TheBooksRefreshWaitsWhileASummaryIsOpen)
{
    st.setSetting("Timer1", true);
    st.book->session().readSettings();
    st.book->activate();
    ASSERT_TRUE(st.book->timerEnabled());
    st.state.pageDate = Today;
    DailyController daily(st.services);
    daily.load(1.0);
    daily.activate();

    booktest::Station other(store);
    book::PageStore(other.db).writeCells(st.book->page().id, {{{5, 1}, "Walker"}});
    st.book->timerTick();
    EXPECT_EQ(st.book->grid().textMatrix(5, 1), "");
    daily.close();
    st.book->timerTick();
    EXPECT_EQ(st.book->grid().textMatrix(5, 1), "Walker");
}

TEST_P(Schedules, WeekOfAShortDay)
{
    st.setSetting("open", "08:00 AM");
    st.setSetting("Close", "09:00 AM");
    st.setSetting("timeslot", 30);
    st.book->goToDate(Monday);
    st.type(4, 2, "Smith");
    st.book->grid().setCursor(4, 2);
    st.book->weeklyView();
    WeeklyController weekly(st.services);
    weekly.load(1.0);

    const ui::GridModel &g = weekly.grid();
    EXPECT_EQ(g.rows(), 8);
    EXPECT_EQ(g.cols(), 8);
    EXPECT_EQ(g.textMatrix(0, 1), book::shortDate(Monday));
    EXPECT_EQ(g.textMatrix(0, 7), book::shortDate(Monday.addDays(6)));
    EXPECT_EQ(g.textMatrix(1, 1), "Monday");
    EXPECT_EQ(g.textMatrix(1, 7), "Sunday");
    EXPECT_EQ(g.textMatrix(3, 0), "08:00 AM");
    EXPECT_EQ(g.textMatrix(5, 0), "09:00 AM");
    EXPECT_EQ(g.textMatrix(4, 1), "Smith");
    EXPECT_EQ(g.colWidth(1), WeeklyController::DayColumnWidth);
    EXPECT_EQ(weekly.consultant(), "Dr Brook");
}

TEST_P(Schedules, AJumpFromTheWeekOpensTheCellInTheBook)
{
    st.book->goToDate(Monday);
    st.book->grid().setCursor(3, 3);
    st.book->weeklyView();
    WeeklyController weekly(st.services);
    weekly.load(1.0);
    weekly.activate();
    st.windows.clearLog();

    weekly.jump(7, 4);   // Thursday, 10:00 AM
    EXPECT_EQ(st.windows.log(), (QStringList{"show frmAppt", "unload frmWeekly"}));
    EXPECT_EQ(st.state.refreshHolds, 0);
    st.book->weekBack();
    EXPECT_EQ(st.book->displayedDate(), Monday.addDays(3));
    EXPECT_EQ(st.book->grid().textMatrix(7, 0), "10:00 AM");
    EXPECT_EQ(st.book->grid().row(), 7);
    EXPECT_EQ(st.book->grid().col(), 3);
    EXPECT_TRUE(st.book->editor().visible);

    // Closing instead goes back to the page the week was taken from.
    st.book->entry().hideEditor();
    st.book->weeklyView();
    WeeklyController again(st.services);
    again.load(1.0);
    again.close();
    st.book->weekBack();
    EXPECT_EQ(st.book->displayedDate(), Monday.addDays(3));
    EXPECT_EQ(st.state.week.back, ui::WeekHandOver::Back::None);
}

TEST_P(Schedules, ALongDayPreviewsOnTwoSheetsWithItsHeaderOnEach)
{
    st.setSetting("open", "07:00 AM");
    st.setSetting("Close", "09:00 PM");
    st.setSetting("timeslot", 10);
    st.book->goToDate(Monday);
    st.state.pageDate = Monday;
    DailyController daily(st.services);
    daily.load(1.0);
    SchedulePrint job(SchedulePrint::Kind::Daily, daily.grid(), st.services);
    job.load();
    job.setFillPage(true);

    RecordingSurface picture(job.sheetWidth(), job.sheetHeight(), true);
    ASSERT_TRUE(job.drawPreview(picture).ok);
    EXPECT_EQ(picture.pages, 2);
    EXPECT_EQ(picture.textsOf("Dr Chen").size(), 2);
    EXPECT_GE(picture.textsOf("Dr Chen")[1].rect.top(), SchedulePrint::A4Long + 285);
    // Filled: 285 twips in from the left, as wide as the sheet less 570.
    double width = 0;
    for (int c = 0; c < job.table().cols(); ++c)
        width += job.table().colWidth(c);
    EXPECT_NEAR(width, SchedulePrint::A4Short - 570, 0.01);
    EXPECT_EQ(picture.boxes.first().left(), 285);
}

TEST_P(Schedules, PrintoutHasItsTitleOnTheFirstPageOnly)
{
    st.state.pageDate = Today;
    DailyController daily(st.services);
    daily.load(1.0);
    st.book->grid();   // the book stays open behind
    SchedulePrint job(SchedulePrint::Kind::Daily, daily.grid(), st.services);
    job.load();
    RecordingSurface printer(11187, 3000);
    ASSERT_TRUE(job.drawPrint(printer).ok);
    EXPECT_EQ(printer.titles, (QStringList{"Daily Schedule", book::shortDate(Today), "Tuesday"}));
    EXPECT_GT(printer.pages, 1);
    // Later pages start with the header rows at the top margin (names in the second).
    const double headerRow = 275 + 2 * 10;
    EXPECT_EQ(printer.textsOf("Dr Avery").last().rect.top(), 800 + headerRow + 1);
    EXPECT_EQ(printer.textsOf("Dr Avery").last().page, printer.pages);
}

TEST_P(Schedules, OrientationAndFillChoiceAreStoredOnClosing)
{
    st.state.pageDate = Today;
    DailyController daily(st.services);
    daily.load(1.0);
    {
        SchedulePrint job(SchedulePrint::Kind::Daily, daily.grid(), st.services);
        job.load();
        EXPECT_EQ(job.orientationCaption(), "&Portrait");
        job.toggleOrientation();
        job.setFillPage(true);
        EXPECT_EQ(job.sheetWidth(), 16840);
        job.close();
    }
    SchedulePrint next(SchedulePrint::Kind::Daily, daily.grid(), st.services);
    next.load();
    EXPECT_EQ(next.orientation(), SchedulePrint::Landscape);
    EXPECT_EQ(next.orientationCaption(), "&Landscape");
    EXPECT_TRUE(next.fillPage());
    EXPECT_EQ(next.pdfFileName(), "Daily Schedule 2026-12-08.pdf");

    SchedulePrint week(SchedulePrint::Kind::Weekly, daily.grid(), st.services, "Dr A/B");
    week.toggleOrientation();
    EXPECT_EQ(week.orientation(), SchedulePrint::Landscape);
}

QUILLON_BOTH_ENGINES(Schedules);
