#include "book/core/bookfixture.h"
#include "ui/core/dateinput.h"
#include "book/pages/pagestore.h"
#include "support/doubles/recordingsurface.h"
#include "schedules/core/dailycontroller.h"
#include "schedules/core/scheduleprint.h"
#include "schedules/core/weeklycontroller.h"

#include <gtest/gtest.h>
#include <memory>

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
    ASSERT_TRUE(st.book->panel().timerEnabled());
    st.state.pageDate = Today;
    DailyController daily(st.services);
    daily.load(1.0);
    daily.activate();

    booktest::Station other(store);
    book::PageStore(other.db).writeCells(st.book->session().page().id, {{{5, 1}, "Walker"}});
    st.book->panel().timerTick();
    EXPECT_EQ(st.book->session().grid().textMatrix(5, 1), "");
    daily.close();
    st.book->panel().timerTick();
    EXPECT_EQ(st.book->session().grid().textMatrix(5, 1), "Walker");
}

TEST_P(Schedules, WeekOfAShortDay)
{
    st.setSetting("open", "08:00 AM");
    st.setSetting("Close", "09:00 AM");
    st.setSetting("timeslot", 30);
    st.book->navigation().goToDate(Monday);
    st.type(4, 2, "Smith");
    st.book->session().grid().setCursor(4, 2);
    st.book->navigation().weeklyView();
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
    st.book->navigation().goToDate(Monday);
    st.book->session().grid().setCursor(3, 3);
    st.book->navigation().weeklyView();
    WeeklyController weekly(st.services);
    weekly.load(1.0);
    weekly.activate();
    st.windows.clearLog();

    weekly.jump(7, 4);   // Thursday, 10:00 AM
    EXPECT_EQ(st.windows.log(), (QStringList{"show frmAppt", "unload frmWeekly"}));
    EXPECT_EQ(st.state.refreshHolds, 0);
    st.book->navigation().weekBack();
    EXPECT_EQ(st.book->session().date(), Monday.addDays(3));
    EXPECT_EQ(st.book->session().grid().textMatrix(7, 0), "10:00 AM");
    EXPECT_EQ(st.book->session().grid().row(), 7);
    EXPECT_EQ(st.book->session().grid().col(), 3);
    EXPECT_TRUE(st.book->entry().editor().visible);

    // Closing instead goes back to the page the week was taken from.
    st.book->entry().hideEditor();
    st.book->navigation().weeklyView();
    WeeklyController again(st.services);
    again.load(1.0);
    again.close();
    st.book->navigation().weekBack();
    EXPECT_EQ(st.book->session().date(), Monday.addDays(3));
    EXPECT_EQ(st.state.week.back, ui::WeekHandOver::Back::None);
}

TEST_P(Schedules, ALongDayPreviewsOnTwoSheetsWithItsHeaderOnEach)
{
    st.setSetting("open", "07:00 AM");
    st.setSetting("Close", "09:00 PM");
    st.setSetting("timeslot", 10);
    st.book->navigation().goToDate(Monday);
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
    EXPECT_GE(picture.textsOf("Dr Chen")[1].rect.top(), SchedulePrint::A4Long + 800);
    // Filled: as the printout, 125 twips in from the left, as wide as the
    // sheet less 570.
    double width = 0;
    for (int c = 0; c < job.table().cols(); ++c)
        width += job.table().colWidth(c);
    EXPECT_NEAR(width, SchedulePrint::A4Short - 570, 0.01);
    EXPECT_EQ(picture.boxes.first().left(), 125);
}

TEST_P(Schedules, PrintoutHasItsTitleOnTheFirstPageOnly)
{
    st.state.pageDate = Today;
    DailyController daily(st.services);
    daily.load(1.0);
    st.book->session().grid();   // the book stays open behind
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

// A 1920-pixel screen widens the summary's columns to 15,993 twips; the
// paper takes the design widths whatever the screen, and narrows widths too
// wide for the sheet, so no consultant is lost.
TEST_P(Schedules, NoColumnIsLostOnPaperWhateverTheScreen)
{
    st.state.pageDate = Today;
    const double fit = 11907 - 720 - SchedulePrint::FitAllowance;
    const auto printed = [&](double factor, std::vector<double> *widths) {
        DailyController daily(st.services);
        daily.load(factor);
        SchedulePrint job(SchedulePrint::Kind::Daily, daily.grid(), st.services, QString(), factor);
        job.load();
        auto paper = std::make_unique<RecordingSurface>(11907 - 720, 16840 - 720);
        EXPECT_TRUE(job.drawPrint(*paper).ok);
        if (widths)
            *widths = job.paperWidths(fit);
        return paper;
    };
    std::vector<double> wide, narrow;
    const auto paper = printed(1.875, &wide);
    const auto chen = paper->textsOf("Dr Chen");
    ASSERT_EQ(chen.size(), 1);
    EXPECT_LE(chen[0].rect.right(), 11907 - 720);
    printed(1.0, &narrow);
    ASSERT_EQ(wide.size(), narrow.size());
    for (size_t i = 0; i < wide.size(); ++i)
        EXPECT_NEAR(wide[i], narrow[i], 1) << "column " << i;

    // Widths a wide screen stores come back in proportion on a narrow one.
    {
        DailyController daily(st.services);
        daily.load(2.0);
        daily.grid().setColWidth(3, 6000);
        daily.saveWidths();
    }
    EXPECT_EQ(dwidth(), "880%2550%2550%3000%");

    // Stored widths wider than the sheet are narrowed to fit it.
    st.setSetting("DWidth", "2000%6000%6000%6000%");
    printed(1.0, &wide);
    double total = 0;
    for (double w : wide)
        total += w;
    EXPECT_NEAR(total, fit, 0.5);
    EXPECT_NEAR(wide[1], 3 * wide[0], 0.5);
}

// Each day shows its own page, or its own weekday's template, at its own
// times: the week's rows are every day's times.
TEST_P(Schedules, EachDayOfTheWeekShowsItsOwnPageAtItsOwnTimes)
{
    st.setSetting("open", "08:00 AM");
    st.setSetting("Close", "09:00 AM");
    st.setSetting("timeslot", 30);
    st.book->navigation().goToDate(Monday);
    st.type(4, 2, "Smith");   // 08:30 AM
    st.setSetting("open", "07:00 AM");
    st.setSetting("Close", "10:00 AM");
    st.setSetting("timeslot", 60);
    st.setSetting("Tue", "\tLUNCH\t");
    st.setSetting("Wed", "\tWED\t");
    st.book->navigation().goToDate(Monday.addDays(1));   // made from these settings and Tuesday's template
    st.type(6, 2, "Jones");   // 10:00 AM
    st.book->navigation().goToDate(Monday);
    st.book->session().grid().setCursor(3, 2);
    st.book->navigation().weeklyView();
    WeeklyController weekly(st.services);
    weekly.load(1.0);

    const ui::GridModel &g = weekly.grid();
    const QStringList times{"07:00 AM", "08:00 AM", "08:30 AM", "09:00 AM", "10:00 AM"};
    ASSERT_EQ(g.rows(), 3 + times.size() + 2);
    for (int i = 0; i < times.size(); ++i)
        EXPECT_EQ(g.textMatrix(3 + i, 0), times[i]);
    EXPECT_EQ(g.textMatrix(5, 1), "Smith");
    EXPECT_EQ(g.textMatrix(7, 2), "Jones");
    EXPECT_EQ(g.cellColor(3, 1), ui::colours::Grey);   // Monday has no 07:00 AM
    EXPECT_EQ(g.textMatrix(2, 2), "LUNCH");
    EXPECT_EQ(g.textMatrix(2, 3), "WED");
    for (int saturday : {6, 7}) {
        EXPECT_EQ(g.textMatrix(2, saturday), "");
        EXPECT_EQ(g.cellColor(4, saturday), ui::colours::Desktop);   // closed
    }
    EXPECT_EQ(g.cellColor(4, 3), ui::colours::PaleYellow);

    // A cell of the week opens its own row of that day's page.
    EXPECT_EQ(weekly.pageRow(2, 7), 6);
    EXPECT_EQ(weekly.pageRow(2, 5), 4);   // Tuesday has no 08:30: its 08:00
    EXPECT_EQ(weekly.pageRow(1, 5), 4);
    EXPECT_EQ(weekly.pageRow(1, 8), 6);   // the first free row after the times
}

QUILLON_BOTH_ENGINES(Schedules);
