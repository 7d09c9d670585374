#include "book/core/calendar.h"

#include <gtest/gtest.h>

using book::CalendarModel;
using book::CellPaint;
using book::DemoCycle;

namespace {

// Every cell holds the day after the previous cell, and the caption its day.
void expectConsecutive(const CalendarModel &cal)
{
    for (int i = 0; i < CalendarModel::kCells; ++i) {
        EXPECT_EQ(cal.caption(i), QString::number(cal.dateAt(i).day())) << "cell " << i;
        if (i > 0) {
            EXPECT_EQ(cal.dateAt(i), cal.dateAt(i - 1).addDays(1)) << "cell " << i;
        }
    }
}

// Exactly one cell is painted other than pale yellow: the selected one.
void expectOnlySelectedPainted(const CalendarModel &cal, CellPaint paint)
{
    for (int i = 0; i < CalendarModel::kCells; ++i) {
        const CellPaint expected = i == cal.selected() ? paint : CellPaint::Ordinary;
        EXPECT_EQ(cal.paint(i), expected) << "cell " << i;
    }
}

CalendarModel calendarAt(QDate date)
{
    CalendarModel cal;
    cal.populate(date);
    return cal;
}

} // namespace

TEST(CalendarPopulate, SundayFirstMonthShowsWholeWeekBefore)
{
    // 1 February 1998 is a Sunday.
    const CalendarModel cal = calendarAt(QDate(1998, 2, 15));
    EXPECT_EQ(cal.dateAt(7), QDate(1998, 2, 1));
    EXPECT_EQ(cal.dateAt(0), QDate(1998, 1, 25));
    EXPECT_EQ(cal.dateAt(41), QDate(1998, 3, 7));
    EXPECT_EQ(cal.selected(), 21);
    EXPECT_EQ(cal.selectedDate(), QDate(1998, 2, 15));
    EXPECT_EQ(cal.monthIndex(), 1);
    EXPECT_EQ(cal.yearIndex(), 1);
    expectConsecutive(cal);
    expectOnlySelectedPainted(cal, CellPaint::Focused);
    EXPECT_EQ(cal.colour(cal.selected()), 0xFFFF00u);
    EXPECT_EQ(cal.colour(0), 0xEEFFFFu);
}

TEST(CalendarPopulate, MondayFirstMonthShowsOneDayBefore)
{
    // 1 June 1998 is a Monday; the first of the month is the selected date.
    const CalendarModel cal = calendarAt(QDate(1998, 6, 1));
    EXPECT_EQ(cal.dateAt(0), QDate(1998, 5, 31));
    EXPECT_EQ(cal.dateAt(1), QDate(1998, 6, 1));
    EXPECT_EQ(cal.selected(), 1);
    expectConsecutive(cal);
}

TEST(CalendarKeys, RightAndLeftAtTheEndsScrollOneWeek)
{
    CalendarModel cal = calendarAt(QDate(1998, 6, 10));
    const QDate last = cal.dateAt(41);
    cal.setSelected(41);
    ASSERT_TRUE(cal.moveRight());
    EXPECT_EQ(cal.selected(), 35);
    EXPECT_EQ(cal.selectedDate(), last.addDays(1));
    EXPECT_EQ(cal.dateAt(34), last);
    expectConsecutive(cal);
    expectOnlySelectedPainted(cal, CellPaint::Focused);

    cal.populate(QDate(1998, 6, 10));
    const QDate first = cal.dateAt(0);
    cal.setSelected(0);
    ASSERT_TRUE(cal.moveLeft());
    EXPECT_EQ(cal.selected(), 6);
    EXPECT_EQ(cal.selectedDate(), first.addDays(-1));
    EXPECT_EQ(cal.dateAt(7), first);
    expectConsecutive(cal);
    // The selection left June: the selectors follow it.
    EXPECT_EQ(cal.monthIndex(), 4);
}

TEST(CalendarKeys, InsideMovesKeepTheWindow)
{
    CalendarModel cal = calendarAt(QDate(1998, 6, 10));
    const QDate first = cal.dateAt(0);
    const int start = cal.selected();
    cal.moveRight();
    cal.moveDown();
    cal.moveLeft();
    cal.moveUp();
    cal.moveUp();
    EXPECT_EQ(cal.selected(), start - 7);
    EXPECT_EQ(cal.selectedDate(), QDate(1998, 6, 3));
    EXPECT_EQ(cal.dateAt(0), first);
    expectOnlySelectedPainted(cal, CellPaint::Focused);
}

TEST(CalendarKeys, DownAndUpAtEdgesKeepTheCell)
{
    CalendarModel cal = calendarAt(QDate(1998, 6, 10));
    cal.setSelected(38);
    const QDate bottom = cal.selectedDate();
    ASSERT_TRUE(cal.moveDown());
    EXPECT_EQ(cal.selected(), 38);
    EXPECT_EQ(cal.selectedDate(), bottom.addDays(7));
    expectConsecutive(cal);

    cal.setSelected(3);
    const QDate top = cal.selectedDate();
    ASSERT_TRUE(cal.moveUp());
    EXPECT_EQ(cal.selected(), 3);
    EXPECT_EQ(cal.selectedDate(), top.addDays(-7));
    expectConsecutive(cal);
}

TEST(CalendarKeys, PageUpThenPageDownGainsAWeek)
{
    CalendarModel cal = calendarAt(QDate(1998, 6, 10));
    const int cell = cal.selected();
    const QDate first = cal.dateAt(0);

    ASSERT_TRUE(cal.movePageUp());
    EXPECT_EQ(cal.selected(), cell);
    EXPECT_EQ(cal.dateAt(21), first);
    EXPECT_EQ(cal.selectedDate(), QDate(1998, 5, 20));
    EXPECT_EQ(cal.monthIndex(), 4);

    const QDate last = cal.dateAt(41);
    ASSERT_TRUE(cal.movePageDown());
    EXPECT_EQ(cal.selected(), cell);
    EXPECT_EQ(cal.dateAt(13), last);
    EXPECT_EQ(cal.selectedDate(), QDate(1998, 6, 17));
    EXPECT_EQ(cal.monthIndex(), 5);
    expectConsecutive(cal);
}

TEST(CalendarSelectors, YearsRunFrom1997ToThirtyYearsAhead)
{
    const QStringList years = CalendarModel::yearEntries();
    ASSERT_FALSE(years.isEmpty());
    EXPECT_EQ(years.front(), "1997");
    EXPECT_GE(years.back().toInt(), QDate::currentDate().year() + 30);
    const CalendarModel cal = calendarAt(QDate(2039, 3, 1));
    EXPECT_EQ(cal.yearIndex(), 2039 - 1997);
}

TEST(CalendarKeys, ForwardKeysStopAfterTheFirstJanuaryPastTheLastYear)
{
    const int last = CalendarModel::yearEntries().back().toInt();
    CalendarModel cal = calendarAt(QDate(last + 1, 1, 1));
    EXPECT_EQ(cal.years().value(cal.yearIndex()), QString::number(last + 1)); // the selector widens
    ASSERT_TRUE(cal.moveRight()); // 1 January itself still moves
    const QDate blockedAt = cal.selectedDate();
    const QDate first = cal.dateAt(0);
    EXPECT_FALSE(cal.moveRight());
    EXPECT_FALSE(cal.moveDown());
    EXPECT_FALSE(cal.movePageDown());
    EXPECT_EQ(cal.selectedDate(), blockedAt);
    EXPECT_EQ(cal.dateAt(0), first);
    EXPECT_TRUE(cal.moveLeft());
}

TEST(CalendarKeys, BackwardKeysStopBeforeEleventhNovember1997)
{
    CalendarModel cal = calendarAt(QDate(1997, 11, 11));
    ASSERT_TRUE(cal.moveLeft());
    EXPECT_EQ(cal.selectedDate(), QDate(1997, 11, 10));
    EXPECT_FALSE(cal.moveLeft());
    EXPECT_FALSE(cal.moveUp());
    EXPECT_FALSE(cal.movePageUp());
    EXPECT_EQ(cal.selectedDate(), QDate(1997, 11, 10));
    EXPECT_TRUE(cal.moveRight());
}

TEST(CalendarSelectors, DayBeyondMonthEndRollsOver)
{
    CalendarModel cal = calendarAt(QDate(2000, 1, 31));
    EXPECT_EQ(cal.dateFromSelectors(3, 3), QDate(2000, 5, 1));
    EXPECT_EQ(cal.dateFromSelectors(1, 3), QDate(2000, 3, 2)); // 31 Feb of a leap year
    EXPECT_FALSE(cal.dateFromSelectors(12, 3).isValid());
    EXPECT_FALSE(cal.dateFromSelectors(0, int(CalendarModel::yearEntries().size())).isValid());

    cal.markShown();
    EXPECT_EQ(cal.applySelectors(3, 3), QDate(2000, 5, 1));
    EXPECT_EQ(cal.selectedDate(), QDate(2000, 5, 1));
    EXPECT_EQ(cal.monthIndex(), 4);
    EXPECT_EQ(cal.yearIndex(), 3);
    expectOnlySelectedPainted(cal, CellPaint::Focused);

    const QDate before = cal.selectedDate();
    EXPECT_FALSE(cal.applySelectors(-1, 3).isValid());
    EXPECT_EQ(cal.selectedDate(), before);
}

TEST(CalendarSelectors, CheckMonthYearReportsChangeAndKeepsGuard)
{
    CalendarModel cal = calendarAt(QDate(1998, 6, 10));
    EXPECT_FALSE(cal.checkMonthYear(QDate(1998, 6, 30)));
    EXPECT_TRUE(cal.checkMonthYear(QDate(1999, 6, 30)));
    EXPECT_EQ(cal.yearIndex(), 2);
    cal.selectorGuard = true;
    cal.checkMonthYear(QDate(1997, 1, 1));
    EXPECT_TRUE(cal.selectorGuard);
}

TEST(CalendarClick, NeighbourDayKeepsCellsAndShowDateRefills)
{
    CalendarModel cal = calendarAt(QDate(1998, 6, 10));
    cal.markShown();
    const QDate first = cal.dateAt(0);
    EXPECT_EQ(cal.clickCell(0), QDate(1998, 5, 31));
    EXPECT_EQ(cal.selected(), 0);
    EXPECT_EQ(cal.dateAt(0), first);
    EXPECT_EQ(cal.monthIndex(), 4);
    expectOnlySelectedPainted(cal, CellPaint::Shown);
    EXPECT_EQ(cal.colour(0), 0xC0C0C0u);
    EXPECT_FALSE(cal.clickCell(42).isValid());

    cal.showDate(QDate(1998, 12, 14));
    EXPECT_EQ(cal.selectedDate(), QDate(1998, 12, 14));
    expectOnlySelectedPainted(cal, CellPaint::Shown);
    EXPECT_FALSE(cal.hasFocusMark());
    cal.markFocused();
    EXPECT_TRUE(cal.hasFocusMark());
}

TEST(Demo, FivePressesCycleThroughTheDates)
{
    DemoCycle demo;
    const QDate expected[] = {QDate(1998, 10, 10), QDate(1998, 11, 11), QDate(1998, 9, 9),
                              QDate(1998, 8, 8), QDate(1998, 12, 14)};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(demo.caption(), QString("Demo %1").arg(i + 1));
        EXPECT_EQ(demo.press(), expected[i]);
    }
    EXPECT_EQ(demo.caption(), "Demo 1");
    EXPECT_EQ(demo.press(), QDate(1998, 10, 10));
}
