#include "bookfixture.h"

using namespace booktest;

namespace {

class BookNav : public BookTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(st.prompter.allAnswered());
    }
};

TEST_P(BookNav, OpenByDateAsksAgainUntilTheDateIsValid)
{
    st.prompter.answerInput("31/31/99").expectMessage().answerInput("1-15-27");
    st.book->navigation().openPageByDate();
    EXPECT_EQ(st.prompter.transcript()[0].text,
              "Please enter Date of Page to open in shortdate format: (e.g. 11/11/99, 1-1-00)");
    EXPECT_EQ(st.prompter.transcript()[0].title, "Search Date");
    EXPECT_EQ(st.prompter.transcript()[1].text, "Date entered is an invalid date or entered in the wrong format.");
    EXPECT_EQ(st.book->session().date(), QDate(2027, 1, 15));
    EXPECT_EQ(st.book->navigation().calendar().selectedDate(), QDate(2027, 1, 15));

    st.prompter.answerCancel();
    st.book->navigation().openPageByDate();
    EXPECT_EQ(st.book->session().date(), QDate(2027, 1, 15));
}

TEST_P(BookNav, DemoButtonCyclesThroughItsFiveDates)
{
    const QDate expected[] = {{1998, 10, 10}, {1998, 11, 11}, {1998, 9, 9}, {1998, 8, 8}, {1998, 12, 14}};
    for (const QDate &d : expected) {
        st.book->navigation().demo();
        EXPECT_EQ(st.book->session().date(), d);
    }
    EXPECT_EQ(st.book->navigation().demoCaption(), "Demo 1");
}

TEST_P(BookNav, ClickingADayOfTheMonthBeforeKeepsTheCalendar)
{
    // December 2026 begins on a Tuesday: cells 0 and 1 hold 29 and 30 November.
    const QDate first = st.book->navigation().calendar().dateAt(0);
    EXPECT_EQ(first, QDate(2026, 11, 29));
    st.book->navigation().dayClicked(1);
    EXPECT_EQ(st.book->session().date(), QDate(2026, 11, 30));
    EXPECT_EQ(st.book->navigation().calendar().dateAt(0), first);
    EXPECT_EQ(st.book->navigation().calendar().monthIndex(), 10);
}

TEST_P(BookNav, AnOpenEditWithChangesStopsNavigation)
{
    st.book->entry().gridKeyPress(QLatin1Char('x'));
    st.prompter.expectMessage();
    st.book->navigation().dayClicked(20);
    EXPECT_EQ(st.book->session().date(), Today);
    EXPECT_EQ(st.prompter.last().text, "Save last appointment entry!?");
}

TEST_P(BookNav, KeysMoveTheSelectionAndEnterOpensTheDay)
{
    st.book->navigation().calendarFocusIn();
    const int start = st.book->navigation().calendar().selected();
    st.book->navigation().calendarKeyDown(Qt::Key_Right);
    EXPECT_EQ(st.book->navigation().calendar().selected(), start + 1);
    EXPECT_EQ(st.book->session().date(), Today);   // moving loads nothing
    st.book->navigation().calendarKeyPress(QChar(13));
    EXPECT_EQ(st.book->session().date(), Today.addDays(1));
}

TEST_P(BookNav, TodayReturnsToTodaysPage)
{
    st.book->session().openPage(Today.addDays(30));
    st.book->navigation().goToDate(Today);
    EXPECT_EQ(st.book->session().date(), Today);
    EXPECT_EQ(st.book->session().grid().row(), 3);
    EXPECT_EQ(st.book->navigation().calendar().selectedDate(), Today);
}

TEST_P(BookNav, TheWeekIsHandedOverWithoutCreatingPages)
{
    st.type(3, 2, "Smith");
    st.book->session().openPage(Today.addDays(2));
    st.type(5, 2, "Jones");
    st.book->session().openPage(Today);
    st.book->session().grid().setCursor(4, 2);
    const int pagesBefore = st.pageCount();

    st.book->navigation().prepareWeek();
    const ui::WeekHandOver &w = st.state.week;
    EXPECT_EQ(w.returnDate, Today);
    EXPECT_EQ(w.column, 2);
    EXPECT_EQ(w.consultant, "Dr Brook");
    ASSERT_EQ(w.dayTexts.size(), 7);
    EXPECT_EQ(w.dayTexts[0].split(QChar(13)).at(1), "Smith");   // rows from 2
    EXPECT_EQ(w.dayTexts[2].split(QChar(13)).at(3), "Jones");
    EXPECT_FALSE(w.dayStored[1]);
    EXPECT_TRUE(w.dayColours[1].empty());
    EXPECT_EQ(st.pageCount(), pagesBefore);
    EXPECT_EQ(st.book->session().date(), Today);
    EXPECT_EQ(st.book->session().grid().row(), 4);
}

TEST_P(BookNav, TodayFollowsTheClockPastMidnightAndLocksYesterday)
{
    st.clock.set(QDateTime(Today.addDays(1), QTime(0, 5)));
    st.book->goToday();
    EXPECT_EQ(st.book->session().date(), Today.addDays(1));
    EXPECT_FALSE(st.book->session().locked());

    st.book->navigation().goToDate(Today);   // yesterday now: its page is locked
    EXPECT_TRUE(st.book->session().locked());
    st.book->session().grid().setCursor(5, 1);
    st.book->entry().gridKeyPress(QLatin1Char('x'));
    EXPECT_TRUE(st.book->entry().editor().readOnly);
}

QUILLON_BOTH_ENGINES(BookNav);

} // namespace
