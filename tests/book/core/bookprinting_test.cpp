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

    st.book->session().openPage(Today.addDays(-1));
    st.book->session().grid().setCursor(5, 2);
    printing().openPanel();
    printing().options().choose(book::PrintOptions::Choice::Weekly);
    printing().print();
    EXPECT_EQ(st.windows.log(), QStringList{"show frmWeekly"});
    EXPECT_EQ(st.state.week.returnDate, Today.addDays(-1));
    EXPECT_EQ(st.state.week.column, 2);
}

TEST_P(BookPrinting, TheDailyChoiceHandsThePageDateAndCloseBringsTheCellBack)
{
    st.book->session().grid().setCursor(6, 3);
    printing().openPanel();
    EXPECT_TRUE(printing().options().visible());
    EXPECT_EQ(printing().options().columnCaption(), "Print Column No. ( 1 to 3 )");
    st.book->session().grid().setCursor(3, 1);
    printing().print();
    EXPECT_EQ(st.state.pageDate, Today);
    EXPECT_EQ(st.windows.log(), QStringList{"show frmDaily"});
    printing().closePanel();
    EXPECT_FALSE(printing().options().visible());
    EXPECT_EQ(st.book->session().grid().row(), 6);
    EXPECT_EQ(st.book->session().grid().col(), 3);
}

// Carried out, a choice closes the panel and gives the grid its cell back;
// a choice that could not be carried out leaves the panel up.
TEST_P(BookPrinting, ACarriedOutChoiceClosesThePanel)
{
    struct Case {
        QDate page;
        book::PrintOptions::Choice choice;
        bool closes;
    };
    const QDate monday = Today.addDays(-1);
    for (const Case &c : {Case{Today, book::PrintOptions::Choice::Weekly, false},
                          Case{monday, book::PrintOptions::Choice::Weekly, true},
                          Case{Today, book::PrintOptions::Choice::Daily, true}}) {
        SCOPED_TRACE(int(c.choice));
        st.book->session().openPage(c.page);
        st.book->session().grid().setCursor(6, 2);
        printing().openPanel();
        printing().options().choose(c.choice);
        if (!c.closes)
            st.prompter.expectMessage();
        printing().print();
        EXPECT_EQ(printing().options().visible(), !c.closes);
        EXPECT_EQ(st.book->session().grid().row(), 6);
        printing().closePanel();
    }
}

QUILLON_BOTH_ENGINES(BookPrinting);

} // namespace
