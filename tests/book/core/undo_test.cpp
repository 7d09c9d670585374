// Undo and redo of this station's changes to the book: every command taken
// back and put again, a step refused over another station's change, steps
// kept per page across date changes, and the session's limit.
#include "bookfixture.h"

#include "book/pages/blockops.h"
#include "ui/core/dateinput.h"
#include "book/core/undohistory.h"
#include "book/pages/pagestore.h"

#include <functional>

using namespace booktest;

namespace {

constexpr int Red = 0x8080FF;
QDate week(int n) { return Today.addDays(7 * n); }

// The text and the shown colours of the pages of this week and the next three.
QStringList snapshot(Station &s)
{
    QStringList out;
    book::PageStore pages(s.db);
    for (int n = 0; n < 4; ++n) {
        const book::PageRecord p = pages.find(week(n));
        QStringList colours;
        for (int v : book::shownColors(p.colors, 3 * 21))
            colours << QString::number(v);
        out << p.data << colours.join(' ');
    }
    return out;
}

class Undo : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // The pages a recurrent series writes exist beforehand: a page made
        // by a command is an ordinary page, not part of what it undoes.
        book::PageStore pages(st.db);
        for (int n = 1; n < 4; ++n)
            pages.seek(week(n), st.book->session().settings());
    }
    void mark(int row, int col, int toRow, int toCol)
    {
        st.book->session().grid().setCursor(row, col);
        st.book->blocks().shiftClick(toRow, toCol);
    }
};

TEST_P(Undo, EveryCommandIsUndoneAndRedoneMostRecentFirst)
{
    book::BookController &b = *st.book;
    const QStringList empty = snapshot(st);
    st.type(3, 1, "Adams");
    st.type(4, 2, "Baker");
    st.type(5, 1, "Smith");

    struct Case {
        const char *step;
        std::function<void()> run;
        int markedRows, markedCols;   // the range marked after the undo (0: a single cell)
    };
    const Case cases[] = {
        {"Typing 09:30 AM Dr Brook", [&] { st.type(6, 2, "Carter"); }, 0, 0},
        {"Cut 08:00 AM Dr Avery", [&] { mark(3, 1, 4, 2); b.blocks().cut(); }, 1, 1},
        {"Paste 10:00 AM Dr Brook", [&] { b.session().grid().setCursor(7, 2); b.blocks().paste(); }, 1, 1},
        {"Delete 10:00 AM Dr Brook",
         [&] {
             st.prompter.answerYes();
             mark(7, 2, 8, 3);
             b.blocks().remove();
         },
         1, 1},
        {"Blockout 11:00 AM Dr Chen", [&] { mark(9, 3, 11, 3); b.blocks().blockout(); }, 2, 0},
        {"Color 08:00 AM Dr Avery",
         [&] {
             b.blocks().chooseColor(Red);   // pending until a row count is chosen
             mark(3, 1, 3, 3);
             b.blocks().colorCommand();
         },
         0, 2},
        {"Color 12:00 PM Dr Avery",
         [&] {
             b.session().grid().setCursor(11, 1);
             b.blocks().chooseRowCount(2);
         },
         1, 0},
        {"Recurrent Booking 09:00 AM Dr Avery",
         [&] {
             b.session().grid().setCursor(5, 1);
             st.prompter.answerInput("1").answerInput("4").answerYes();
             b.recurrent().run();
         },
         0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step);
        const QStringList before = snapshot(st);
        c.run();
        const QStringList after = snapshot(st);
        ASSERT_NE(after, before);
        EXPECT_EQ(b.session().undoText(), QStringLiteral("Undo ") + c.step);

        b.session().grid().setCursor(20, 3);
        b.undo();
        EXPECT_EQ(snapshot(st), before);
        EXPECT_EQ(b.session().page().data, before[0]);   // the page shown anew
        ASSERT_EQ(b.blocks().marked(), c.markedRows + c.markedCols > 0);
        if (b.blocks().marked()) {
            EXPECT_EQ(b.blocks().rowSpan(), c.markedRows);
            EXPECT_EQ(b.blocks().colSpan(), c.markedCols);
        }
        EXPECT_EQ(b.session().redoText(), QStringLiteral("Redo ") + c.step);

        b.redo();
        EXPECT_EQ(snapshot(st), after);
        EXPECT_EQ(b.session().undoText(), QStringLiteral("Undo ") + c.step);
        EXPECT_EQ(b.session().redoText(), "");
    }
    EXPECT_TRUE(st.prompter.allAnswered());

    // Every step taken back, the latest first, leaves the pages as they began.
    while (!b.session().undoText().isEmpty())
        b.undo();
    EXPECT_EQ(snapshot(st), empty);
    EXPECT_EQ(b.session().grid().textMatrix(3, 1), "");
    EXPECT_EQ(b.session().redoText(), "Redo Typing 08:00 AM Dr Avery");
}

TEST_P(Undo, StepsOfAPageWaitThereWhileAnotherDateIsShown)
{
    book::BookController &b = *st.book;
    const QDate tomorrow = Today.addDays(1);
    st.type(3, 1, "Today's");
    b.navigation().goToDate(tomorrow);
    EXPECT_EQ(b.session().undoText(), "");
    st.type(4, 1, "Tomorrow's");
    b.navigation().goToDate(Today);
    EXPECT_EQ(b.session().undoText(), "Undo Typing 08:00 AM Dr Avery");
    b.undo();
    EXPECT_EQ(st.stored(Today, 3, 1), "");
    EXPECT_EQ(st.stored(tomorrow, 4, 1), "Tomorrow's");
    b.navigation().goToDate(tomorrow);
    EXPECT_EQ(b.session().undoText(), "Undo Typing 08:30 AM Dr Avery");
    b.undo();
    EXPECT_EQ(st.stored(tomorrow, 4, 1), "");
    b.navigation().goToDate(Today);
    EXPECT_EQ(b.session().redoText(), "Redo Typing 08:00 AM Dr Avery");
}

TEST_P(Undo, AnEditorOpenKeepsItsOwnUndo)
{
    st.type(3, 1, "Jones");
    st.book->session().grid().setCursor(4, 1);
    st.book->entry().gridKeyPress(QChar('S'));
    ASSERT_TRUE(st.book->entry().editor().visible);
    st.book->undo();
    EXPECT_EQ(st.stored(Today, 3, 1), "Jones");
    EXPECT_TRUE(st.book->entry().editor().visible);
}

// ---- another station between the change and its undo

class UndoPair : public testsupport::EngineTest {};

TEST_P(UndoPair, AStepOverAnotherStationsChangeWritesNothingAndSaysWhatIsThere)
{
    testsupport::TestStore &s = store;
    Station a{s}, b{s};
    ASSERT_TRUE(a.book->load(Today));
    ASSERT_TRUE(b.book->load(Today));
    book::PageStore pagesOfB(b.db);
    const auto writeOnB = [&](const QDate &date, int row, int col, const QString &text) {
        pagesOfB.writeCells(pagesOfB.seek(date, b.book->session().settings()).id, {{{row, col}, text}});
    };

    // Undo of a typed cell another station has typed over.
    a.type(3, 1, "Jones");
    writeOnB(Today, 3, 1, "Smith");
    a.prompter.expectMessage();
    a.book->undo();
    EXPECT_EQ(a.prompter.last().title, "Undo");
    EXPECT_EQ(a.prompter.last().text,
              "Another station has changed these cells since this station's Typing 08:00 AM Dr Avery:\n\n"
              "08:00 AM Dr Avery now holds \"Smith\"\n\n"
              "Nothing was undone, and the step has been taken off the Undo list. The page now shows what is stored.");
    EXPECT_EQ(a.stored(Today, 3, 1), "Smith");
    EXPECT_EQ(a.book->session().grid().textMatrix(3, 1), "Smith");
    EXPECT_EQ(a.book->session().undoText(), "");

    // Redo of a cell emptied by an undo, which another station has booked since.
    a.type(4, 1, "Brown");
    a.book->undo();
    writeOnB(Today, 4, 1, "Green");
    a.prompter.expectMessage();
    a.book->redo();
    EXPECT_EQ(a.prompter.last().title, "Redo");
    EXPECT_EQ(a.prompter.last().text,
              "Another station has changed these cells since this station undid Typing 08:30 AM Dr Avery:\n\n"
              "08:30 AM Dr Avery now holds \"Green\"\n\n"
              "Nothing was redone, and the step has been taken off the Redo list. The page now shows what is stored.");
    EXPECT_EQ(a.stored(Today, 4, 1), "Green");

    // A colour painted over by another station.
    a.book->session().grid().setCursor(6, 2);
    a.book->blocks().chooseRowCount(1);
    a.book->blocks().chooseColor(Red);
    b.book->session().refreshGrid();
    b.book->session().grid().setCursor(6, 2);
    b.book->blocks().chooseRowCount(1);
    b.book->blocks().chooseColor(book::DefaultCellColor);
    a.prompter.expectMessage();
    a.book->undo();
    EXPECT_TRUE(a.prompter.last().text.contains("\n\n09:30 AM Dr Brook now has another colour\n\n"))
        << a.prompter.last().text.toStdString();
    EXPECT_EQ(a.book->session().grid().cellColor(6, 2), book::DefaultCellColor);

    // A recurrent series, one of whose pages another station emptied: none
    // of its pages is written.
    a.type(5, 1, "Smith");
    a.book->session().grid().setCursor(5, 1);
    a.prompter.answerInput("1").answerInput("4").answerYes();
    a.book->recurrent().run();
    ASSERT_EQ(a.stored(week(3), 5, 1), "Smith");
    writeOnB(week(2), 5, 1, "");
    a.prompter.expectMessage();
    a.book->undo();
    EXPECT_EQ(a.prompter.last().text,
              "Another station has changed these cells since this station's Recurrent Booking 09:00 AM Dr Avery:\n\n" +
                  book::weekdayName(week(2)) + " " + book::shortDate(week(2)) +
                  " 09:00 AM Dr Avery is now empty\n\n"
                  "Nothing was undone, and the step has been taken off the Undo list. The page now shows what is "
                  "stored.");
    EXPECT_EQ(a.stored(week(1), 5, 1), "Smith");
    EXPECT_EQ(a.stored(week(3), 5, 1), "Smith");
    EXPECT_TRUE(a.prompter.failures().isEmpty()) << a.prompter.failures().join("\n").toStdString();
}

QUILLON_BOTH_ENGINES(Undo);
QUILLON_BOTH_ENGINES(UndoPair);

// ---- the history itself

book::UndoStep step(const QDate &page, int n)
{
    book::UndoStep s;
    s.page = page;
    s.description = QString::number(n);
    return s;
}

TEST(UndoHistory, KeepsEachPagesOrderAndTheSessionsLatestHundredSteps)
{
    const QDate monday(2026, 12, 7), tuesday(2026, 12, 8);
    book::UndoHistory h;
    for (int n = 1; n <= 105; ++n)
        h.add(step(n % 2 ? monday : tuesday, n));
    EXPECT_EQ(h.undoCount(), book::UndoHistory::Limit);
    EXPECT_EQ(h.nextUndo(monday)->description, "105");
    EXPECT_EQ(h.nextUndo(tuesday)->description, "104");

    // Undone steps wait to be redone until their page gets a new step.
    h.undone(monday);
    h.undone(monday);
    h.undone(tuesday);
    EXPECT_EQ(h.nextUndo(monday)->description, "101");
    EXPECT_EQ(h.nextRedo(monday)->description, "103");
    h.redone(monday);
    EXPECT_EQ(h.nextUndo(monday)->description, "103");
    EXPECT_EQ(h.nextRedo(monday)->description, "105");
    h.add(step(monday, 106));
    EXPECT_EQ(h.nextRedo(monday), nullptr);
    EXPECT_EQ(h.nextRedo(tuesday)->description, "104");

    // Down to the oldest kept: steps 1 to 5 are gone.
    while (h.nextUndo(monday))
        h.undone(monday);
    EXPECT_EQ(h.nextRedo(monday)->description, "7");
}

} // namespace
