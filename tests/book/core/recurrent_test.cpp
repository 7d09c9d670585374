// Recurrent bookings: the questions, the count of further bookings, and the
// series written all or nothing.
#include "bookfixture.h"

#include "book/pages/blockops.h"
#include "ui/core/dateinput.h"
#include "book/core/recurrentbooking.h"
#include "book/pages/pagestore.h"

#include <functional>

using namespace booktest;
using book::RecurrentBooking;

namespace {

const QString IntervalPrompt = QStringLiteral(
    "Please enter the time interval for this recurrent booking e.g. 1 for weekly, 2 for fortnightly, 3 for 3-weekly, "
    "4 for 4-weekly, etc (Range 1 - 12). Enter only a number.");
constexpr int Amber = 0x80D0FF;

// Runs `fn` when the prompt `n` prompts from now arrives (0: the next one).
void onPrompt(ui::ScriptedPrompter &p, int n, std::function<void()> fn)
{
    p.onNext([&p, n, fn](const ui::ScriptedPrompter::Prompt &) {
        if (n == 0)
            fn();
        else
            onPrompt(p, n - 1, fn);
    });
}

// Enter on each of the next `prompts` prompts: an input box keeps its
// default, a question takes its default button.
void pressEnter(ui::ScriptedPrompter &p, int prompts)
{
    if (prompts == 0)
        return;
    p.onNext([&p, prompts](const ui::ScriptedPrompter::Prompt &q) {
        if (q.kind == ui::ScriptedPrompter::Kind::Input)
            p.answerInput(q.defaultText);
        else if (q.kind == ui::ScriptedPrompter::Kind::Question && q.defaultNo)
            p.answerNo();
        else if (q.kind == ui::ScriptedPrompter::Kind::Question)
            p.answerYes();
        else
            p.expectMessage();
        pressEnter(p, prompts - 1);
    });
}

TEST(RecurrentRules, NumbersAndCounts)
{
    EXPECT_EQ(RecurrentBooking::readNumber("3"), 3);
    EXPECT_EQ(RecurrentBooking::readNumber(" 12 weeks"), 12);
    EXPECT_EQ(RecurrentBooking::readNumber("abc"), 0);
    EXPECT_EQ(RecurrentBooking::readNumber("-2"), -2);
    EXPECT_EQ(RecurrentBooking::readNumber("99999999999999"), 1000000);
    // period, interval -> further bookings
    const int cases[][3] = {{4, 1, 3}, {8, 2, 4}, {10, 3, 3}, {2, 5, 0}, {5, 2, 2}, {7, 2, 4},
                            {24, 1, 23}, {24, 12, 2}, {2, 12, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(RecurrentBooking::furtherBookings(c[1], c[0]), c[2]) << c[0] << " weeks by " << c[1];
}

class Recurrent : public BookTest {
protected:
    // Books "Smith" in amber at 09:00 AM (row 5), Dr Avery's column.
    void source(const QString &text = QStringLiteral("Smith"))
    {
        if (!text.isEmpty())
            st.type(5, 1, text);
        st.book->session().grid().setCursor(5, 1);
        st.book->blocks().chooseColor(Amber);
        st.book->blocks().chooseRowCount(1);
        st.book->session().grid().setCursor(5, 1);
    }
    int storedColour(const QDate &d, int row, int col)
    {
        const book::PageRecord p = book::PageStore(st.db).find(d);
        const auto v = book::shownColors(p.colors, 3 * 21);
        return v[static_cast<size_t>((col - 1) * 21 + row - 3)];
    }
    QDate week(int n) const { return Today.addDays(7 * n); }
};

TEST_P(Recurrent, NoNumberIsWeeklyAndTheSeriesIsWrittenWithItsColour)
{
    source();
    st.prompter.answerInput("x").answerInput("4").answerYes();
    st.book->recurrent().run();
    ASSERT_EQ(st.prompter.transcript().size(), 3u);
    EXPECT_EQ(st.prompter.transcript()[0].text, IntervalPrompt);
    EXPECT_EQ(st.prompter.transcript()[0].defaultText, "1");
    EXPECT_EQ(st.prompter.transcript()[1].defaultText, "4");
    const auto &confirm = st.prompter.last();
    EXPECT_EQ(confirm.text, "Bookings will be made for Smith 1-weekly over next 4 weeks. Excluding today's booking, "
                            "a further 3 booking(s) will be made. Is this correct?");
    EXPECT_EQ(confirm.title, "Recurrent Booking");
    EXPECT_FALSE(confirm.defaultNo);
    EXPECT_EQ(confirm.details.split('\n').size(), 3);
    EXPECT_EQ(confirm.details.split('\n').value(0), "Tuesday " + book::shortDate(week(1)));
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(st.stored(week(n), 5, 1), "Smith") << n;
        EXPECT_EQ(storedColour(week(n), 5, 1), Amber) << n;
        EXPECT_EQ(storedColour(week(n), 6, 1), book::DefaultCellColor) << n;
    }
    EXPECT_EQ(st.stored(week(4), 5, 1), "");
    EXPECT_EQ(st.book->session().date(), Today);
    EXPECT_EQ(st.book->session().grid().row(), 5);
    EXPECT_EQ(st.book->session().grid().col(), 1);
}

TEST_P(Recurrent, OutOfRangeAnswersAskToTryAgain)
{
    source();
    // 13 weeks: again; period 1 raised to 2; 25 weeks: No ends it.
    st.prompter.answerInput("13").answerYes().answerInput("2").answerInput("1").answerYes();
    st.book->recurrent().run();
    EXPECT_EQ(st.prompter.transcript()[1].text,
              "Sorry, you can make recurrent bookings only up to 12-weekly! Do you want to try again?");
    EXPECT_EQ(st.prompter.transcript()[1].title, "Time interval entry incorrect");
    EXPECT_TRUE(st.prompter.last().text.contains("2-weekly over next 2 weeks"));
    EXPECT_EQ(st.stored(week(2), 5, 1), "Smith");

    st.prompter.clear();
    st.prompter.answerInput("1").answerInput("25").answerNo();
    st.book->recurrent().run();
    EXPECT_EQ(st.prompter.last().text,
              "Sorry, you can make recurrent bookings for only up to 24 weeks! Do you want to try again?");
    EXPECT_EQ(st.prompter.last().title, "Time period entry incorrect");

    // 12-weekly over 2 weeks: no further booking, nothing written.
    st.prompter.clear();
    const int pages = st.pageCount();
    st.prompter.answerInput("12").answerInput("2").answerYes();
    st.book->recurrent().run();
    EXPECT_TRUE(st.prompter.last().text.contains("a further 0 booking(s)"));
    EXPECT_EQ(st.prompter.last().details, "No further bookings.");
    EXPECT_EQ(st.pageCount(), pages);
}

TEST_P(Recurrent, ATakenLastTargetWritesNothingAndNamesTheCell)
{
    const store::Settings s = store::SettingsStore(st.db).load();
    book::PageStore pages(st.db);
    pages.writeCells(pages.seek(week(3), s).id, {{{5, 1}, "Jones"}});
    pages.writeCells(pages.seek(week(1), s).id, {{{5, 1}, "Smith"}});   // the booking itself: no conflict
    st.setSetting("chk3", true);   // Tuesdays closed from now on
    source();
    st.book->navigation().goToDate(Today.addDays(1));
    st.book->navigation().goToDate(Today);
    st.book->session().grid().setCursor(5, 1);
    st.prompter.answerInput("1").answerInput("4").answerYes().expectMessage();
    st.book->recurrent().run();

    const auto &t = st.prompter.transcript();
    const QStringList details = t[2].details.split('\n');
    EXPECT_EQ(details.value(0), "Tuesday " + book::shortDate(week(1)));
    EXPECT_EQ(details.value(1), "Tuesday " + book::shortDate(week(2)) + "  - closed day");
    EXPECT_EQ(details.value(2), "Tuesday " + book::shortDate(week(3)) + "  - taken: Jones");
    // The question itself says the series cannot be made, and defaults to No.
    EXPECT_TRUE(t[2].text.contains(details.value(2))) << t[2].text.toStdString();
    EXPECT_TRUE(t[2].text.contains("Nothing will be booked."));
    EXPECT_TRUE(t[2].defaultNo);
    EXPECT_EQ(st.prompter.last().text, "The requested time cell at 09:00 AM on " + book::shortDate(week(3)) +
                                           " has already been taken! Please check and clear this cell before trying again...");
    EXPECT_EQ(st.prompter.last().title, "Time cell taken!");
    EXPECT_EQ(st.stored(week(2), 5, 1), "");   // made by the check, left empty
    EXPECT_TRUE(pages.exists(week(2)));
    EXPECT_EQ(storedColour(week(1), 5, 1), book::DefaultCellColor);
    EXPECT_EQ(st.stored(week(3), 5, 1), "Jones");
    EXPECT_EQ(st.book->session().date(), Today);
    EXPECT_EQ(st.book->session().grid().row(), 5);
}

TEST_P(Recurrent, ACellFilledAtAnotherStationWhileAskedIsNeverOverwritten)
{
    source();
    Station other(store);
    ASSERT_TRUE(other.book->load(Today));
    st.prompter.answerInput("1").answerInput("3").answerYes().expectMessage();
    onPrompt(st.prompter, 2, [&] {
        // The confirmation is on screen: the other station books week 2.
        other.book->navigation().goToDate(week(2));
        other.type(5, 1, "Brown");
    });
    st.book->recurrent().run();
    EXPECT_EQ(st.prompter.last().title, "Time cell taken!");
    EXPECT_TRUE(st.prompter.last().text.contains(book::shortDate(week(2))));
    EXPECT_EQ(st.stored(week(2), 5, 1), "Brown");
    EXPECT_EQ(st.stored(week(1), 5, 1), "");
}

TEST_P(Recurrent, AnEmptyCellClearsOnlyWhatWasShown)
{
    const store::Settings s = store::SettingsStore(st.db).load();
    book::PageStore pages(st.db);
    pages.writeCells(pages.seek(week(1), s).id, {{{5, 1}, "Old"}});
    st.book->session().grid().setCursor(5, 1);
    st.prompter.answerInput("1").answerInput("3").answerYes();
    st.book->recurrent().run();
    EXPECT_TRUE(st.prompter.last().details.contains("will be cleared: Old"));
    EXPECT_EQ(st.stored(week(1), 5, 1), "");
    EXPECT_TRUE(pages.exists(week(2)));
}

// F2 on an empty cell and Enter through the questions: the question says
// which bookings the series would erase, and its default keeps them.
TEST_P(Recurrent, EnterThroughAnEmptySeriesClearsNothing)
{
    const store::Settings s = store::SettingsStore(st.db).load();
    book::PageStore pages(st.db);
    for (int n = 1; n <= 3; ++n)
        pages.writeCells(pages.seek(week(n), s).id, {{{5, 1}, QStringLiteral("Booked %1").arg(n)}});
    st.book->session().grid().setCursor(5, 1);
    pressEnter(st.prompter, 3);
    st.book->recurrent().run();
    ASSERT_EQ(st.prompter.transcript().size(), 3u);
    const auto &q = st.prompter.last();
    EXPECT_TRUE(q.defaultNo);
    EXPECT_TRUE(q.text.contains("3 booking(s) will be cleared")) << q.text.toStdString();
    EXPECT_TRUE(q.text.contains(book::shortDate(week(2)) + "  - will be cleared: Booked 2"));
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(st.stored(week(n), 5, 1), QStringLiteral("Booked %1").arg(n));
}

// A refused series leaves the user on the page it was started from, and a
// page without the source's row is named with the row it lacks.
TEST_P(Recurrent, ARefusedSeriesStaysOnItsPageAndNamesWhatIsMissing)
{
    const QDate wednesday = Today.addDays(1);
    store::Settings s = store::SettingsStore(st.db).load();
    book::PageStore pages(st.db);
    pages.writeCells(pages.seek(wednesday.addDays(7), s).id, {{{5, 1}, "Jones"}});
    s.close = QStringLiteral("12:00 PM");
    pages.seek(Today.addDays(7), s);   // made when the practice closed at noon

    st.book->navigation().goToDate(wednesday);
    st.type(5, 1, "Smith");
    st.book->session().grid().setCursor(5, 1);
    st.prompter.answerInput("1").answerInput("2").answerYes().expectMessage();
    st.book->recurrent().run();
    EXPECT_EQ(st.prompter.last().title, "Time cell taken!");
    EXPECT_EQ(st.book->session().date(), wednesday);
    EXPECT_EQ(st.book->session().grid().row(), 5);
    EXPECT_EQ(st.book->session().grid().col(), 1);

    // 02:00 PM: past the noon page's last row.
    st.book->navigation().goToDate(Today);
    st.type(15, 2, "Brown");
    st.book->session().grid().setCursor(15, 2);
    st.prompter.clear();
    st.prompter.answerInput("1").answerInput("2").answerYes().expectMessage();
    st.book->recurrent().run();
    EXPECT_TRUE(st.prompter.transcript()[2].text.contains("the page has no 02:00 PM row"));
    EXPECT_EQ(st.prompter.last().text, "Recurrent booking failed: the page of Tuesday " + book::shortDate(week(1)) +
                                           " has no 02:00 PM row, as it was made with other times or columns. "
                                           "Nothing was booked; please book that day by hand.");
}

QUILLON_BOTH_ENGINES(Recurrent);

} // namespace
