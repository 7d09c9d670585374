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
    st.book->openPageByDate();
    EXPECT_EQ(st.prompter.transcript()[0].text,
              "Please enter Date of Page to open in shortdate format: (e.g. 11/11/99, 1-1-00)");
    EXPECT_EQ(st.prompter.transcript()[0].title, "Search Date");
    EXPECT_EQ(st.prompter.transcript()[1].text, "Date entered is an invalid date or entered in the wrong format.");
    EXPECT_EQ(st.book->displayedDate(), QDate(2027, 1, 15));
    EXPECT_EQ(st.book->calendar().selectedDate(), QDate(2027, 1, 15));

    st.prompter.answerCancel();
    st.book->openPageByDate();
    EXPECT_EQ(st.book->displayedDate(), QDate(2027, 1, 15));
}

TEST_P(BookNav, DemoButtonCyclesThroughItsFiveDates)
{
    const QDate expected[] = {{1998, 10, 10}, {1998, 11, 11}, {1998, 9, 9}, {1998, 8, 8}, {1998, 12, 14}};
    for (const QDate &d : expected) {
        st.book->demo();
        EXPECT_EQ(st.book->displayedDate(), d);
    }
    EXPECT_EQ(st.book->demoCaption(), "Demo 1");
}

TEST_P(BookNav, ClickingADayOfTheMonthBeforeKeepsTheCalendar)
{
    // December 2026 begins on a Tuesday: cells 0 and 1 hold 29 and 30 November.
    const QDate first = st.book->calendar().dateAt(0);
    EXPECT_EQ(first, QDate(2026, 11, 29));
    st.book->dayClicked(1);
    EXPECT_EQ(st.book->displayedDate(), QDate(2026, 11, 30));
    EXPECT_EQ(st.book->calendar().dateAt(0), first);
    EXPECT_EQ(st.book->calendar().monthIndex(), 10);
}

TEST_P(BookNav, AnOpenEditWithChangesStopsNavigation)
{
    st.book->gridKeyPress(QLatin1Char('x'));
    st.prompter.expectMessage();
    st.book->dayClicked(20);
    EXPECT_EQ(st.book->displayedDate(), Today);
    EXPECT_EQ(st.prompter.last().text, "Save last appointment entry!?");
}

TEST_P(BookNav, KeysMoveTheSelectionAndEnterOpensTheDay)
{
    st.book->calendarFocusIn();
    const int start = st.book->calendar().selected();
    st.book->calendarKeyDown(Qt::Key_Right);
    EXPECT_EQ(st.book->calendar().selected(), start + 1);
    EXPECT_EQ(st.book->displayedDate(), Today);   // moving loads nothing
    st.book->calendarKeyPress(QChar(13));
    EXPECT_EQ(st.book->displayedDate(), Today.addDays(1));
}

TEST_P(BookNav, TodayReturnsToTodaysPage)
{
    st.book->openPage(Today.addDays(30));
    st.book->goToDate(Today);
    EXPECT_EQ(st.book->displayedDate(), Today);
    EXPECT_EQ(st.book->grid().row(), 3);
    EXPECT_EQ(st.book->calendar().selectedDate(), Today);
}

TEST_P(BookNav, TheWeekIsHandedOverWithoutCreatingPages)
{
    st.type(3, 2, "Smith");
    st.book->openPage(Today.addDays(2));
    st.type(5, 2, "Jones");
    st.book->openPage(Today);
    st.book->grid().setCursor(4, 2);
    const int pagesBefore = st.pageCount();

    st.book->prepareWeek();
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
    EXPECT_EQ(st.book->displayedDate(), Today);
    EXPECT_EQ(st.book->grid().row(), 4);
}

TEST_P(BookNav, TodayFollowsTheClockPastMidnightAndLocksYesterday)
{
    st.clock.set(QDateTime(Today.addDays(1), QTime(0, 5)));
    st.book->goToday();
    EXPECT_EQ(st.book->displayedDate(), Today.addDays(1));
    EXPECT_FALSE(st.book->pageLocked());

    st.book->goToDate(Today);   // yesterday now: its page is locked
    EXPECT_TRUE(st.book->pageLocked());
    st.book->grid().setCursor(5, 1);
    st.book->gridKeyPress(QLatin1Char('x'));
    EXPECT_TRUE(st.book->editor().readOnly);
}

QUILLON_BOTH_ENGINES(BookNav);

} // namespace
