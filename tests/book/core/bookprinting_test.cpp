#include "bookfixture.h"

using namespace booktest;

namespace {

class BookPrinting : public BookTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(st.prompter.allAnswered());
    }
    book::BookPrinting &printing() { return st.book->printing(); }
};

TEST_P(BookPrinting, TheWeeklyChoiceWantsAMondayAndLeavesTheBookOnScreen)
{
    printing().openPanel();
    printing().options().choose(book::PrintOptions::Choice::Weekly);
    st.prompter.expectMessage();
    printing().print();
    EXPECT_EQ(st.prompter.last().text, "Please go to the Monday Page to print the weekly schedule");
    EXPECT_EQ(st.prompter.last().title, "Print Weekly Schedule");
    EXPECT_TRUE(st.windows.log().isEmpty());

    st.book->openPage(Today.addDays(-1));
    st.book->grid().setCursor(5, 2);
    printing().openPanel();
    printing().options().choose(book::PrintOptions::Choice::Weekly);
    printing().print();
    EXPECT_EQ(st.windows.log(), QStringList{"show frmWeekly"});
    EXPECT_EQ(st.state.week.returnDate, Today.addDays(-1));
    EXPECT_EQ(st.state.week.column, 2);
}

TEST_P(BookPrinting, TheDailyChoiceHandsThePageDateAndCloseBringsTheCellBack)
{
    st.book->grid().setCursor(6, 3);
    printing().openPanel();
    EXPECT_TRUE(printing().options().visible());
    EXPECT_EQ(printing().options().columnCaption(), "Print Column No. ( 1 to 3 )");
    st.book->grid().setCursor(3, 1);
    printing().print();
    EXPECT_EQ(st.state.pageDate, Today);
    EXPECT_EQ(st.windows.log(), QStringList{"show frmDaily"});
    printing().closePanel();
    EXPECT_FALSE(printing().options().visible());
    EXPECT_EQ(st.book->grid().row(), 6);
    EXPECT_EQ(st.book->grid().col(), 3);
}

QUILLON_BOTH_ENGINES(BookPrinting);

} // namespace
