#include "bookfixture.h"

#include "book/pages/blockops.h"

#include <functional>

using namespace booktest;

namespace {

const QString Overwrite = QStringLiteral(
    "An appointment entry has already been made for this timeslot. Do you wish to overwrite?");

class CellEntry : public BookTest {
protected:
    void TearDown() override { EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString(); }
};

TEST_P(CellEntry, TodaysPageIsBuiltFromTheSettings)
{
    const auto &g = st.book->session().grid();
    EXPECT_EQ(g.rows(), 3 + 19 + 2);   // 08:00 AM to 05:00 PM by 30 minutes
    EXPECT_EQ(g.cols(), 4);
    EXPECT_EQ(g.textMatrix(3, 0), "08:00 AM");
    EXPECT_EQ(g.textMatrix(21, 0), "05:00 PM");
    EXPECT_EQ(g.textMatrix(0, 2), "2");
    EXPECT_EQ(g.textMatrix(1, 1), "Dr Avery");
    EXPECT_EQ(g.row(), 3);
    EXPECT_EQ(g.col(), 1);
    EXPECT_EQ(st.pageCount(), 1);
    EXPECT_EQ(st.book->session().dayCaption(), "Tuesday");
}

TEST_P(CellEntry, TypingANameAndTabStoresItWithoutAQuestion)
{
    st.book->session().grid().setCursor(5, 2);
    st.book->entry().gridKeyPress(QLatin1Char('S'));
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_EQ(st.book->entry().editor().text, "S");
    st.book->entry().setEditorText("Smith");
    EXPECT_TRUE(st.book->entry().editorKeyPress(QChar(9)));
    EXPECT_FALSE(st.book->entry().editor().visible);
    EXPECT_EQ(st.stored(Today, 5, 2), "Smith");
    EXPECT_TRUE(st.prompter.transcript().empty());
}

TEST_P(CellEntry, ChangingABookingAsksBeforeOverwriting)
{
    st.type(5, 2, "Smith");
    st.prompter.answerNo();
    st.type(5, 2, "Jones");
    EXPECT_EQ(st.prompter.last().text, Overwrite);
    EXPECT_EQ(st.prompter.last().title, "Appointment taken");
    EXPECT_TRUE(st.prompter.last().defaultNo);
    EXPECT_EQ(st.stored(Today, 5, 2), "Smith");
    EXPECT_EQ(st.book->session().grid().textMatrix(5, 2), "Smith");

    st.prompter.answerYes();
    st.type(5, 2, "Jones");
    EXPECT_EQ(st.stored(Today, 5, 2), "Jones");

    // Clearing asks too; Yes empties the cell.
    st.prompter.answerYes();
    st.type(5, 2, "");
    EXPECT_EQ(st.stored(Today, 5, 2), "");
    EXPECT_EQ(st.prompter.transcript().size(), 3u);
}

TEST_P(CellEntry, TabWithoutAChangeStoresNothing)
{
    st.type(4, 1, "Smith");
    st.db.exec("UPDATE tbl_Appt SET Memo = 'marker'");
    st.book->session().grid().setCursor(4, 1);
    st.book->entry().gridKeyPress(QChar(13));
    st.book->entry().editorKeyPress(QChar(9));
    EXPECT_TRUE(st.prompter.transcript().empty());
    EXPECT_EQ(st.stored(Today, 4, 1), "Smith");
}

TEST_P(CellEntry, EnterAndShiftEnterFollowTheLinesPerSlot)
{
    // One line per slot: Enter saves, Shift+Enter does nothing.
    st.book->session().grid().setCursor(6, 1);
    st.book->entry().gridKeyPress(QLatin1Char('A'));
    EXPECT_TRUE(st.book->entry().editorKeyDown(Qt::Key_Return, book::ShiftKey));
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_TRUE(st.book->entry().editorKeyDown(Qt::Key_Return, 0));
    EXPECT_EQ(st.stored(Today, 6, 1), "A");

    // Two lines per slot on a new page: Enter is a new line, Shift+Enter saves.
    st.setSetting("RHeight", 2);
    st.book->session().openPage(Today.addDays(1));
    st.book->session().grid().setCursor(3, 1);
    st.book->entry().gridKeyPress(QChar(13));
    EXPECT_FALSE(st.book->entry().editorKeyDown(Qt::Key_Return, 0));
    st.book->entry().setEditorText("Smith\r\nNew patient");
    EXPECT_TRUE(st.book->entry().editorKeyDown(Qt::Key_Return, book::ShiftKey));
    EXPECT_EQ(st.stored(Today.addDays(1), 3, 1), QString("Smith\nNew patient"));
    st.book->entry().gridKeyPress(QChar(13));
    EXPECT_EQ(st.book->entry().editor().text, "Smith\r\nNew patient");
}

TEST_P(CellEntry, LeavingAnEditedCellAsksToSaveFirst)
{
    st.type(3, 1, "Line one");
    st.book->session().grid().setCursor(3, 1);
    st.book->entry().gridKeyPress(QChar(13));
    st.book->gridMouseDown(1, 0, 7, 2);   // unchanged: moves without a word
    EXPECT_FALSE(st.book->entry().editor().visible);
    EXPECT_EQ(st.book->session().grid().row(), 7);

    st.book->entry().gridKeyPress(QLatin1Char('x'));
    st.prompter.expectMessage();
    st.book->gridMouseDown(1, 0, 9, 3);
    EXPECT_EQ(st.prompter.last().text, "Save last appointment entry!?");
    EXPECT_EQ(st.prompter.last().title, "Save appointment entry");
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_EQ(st.book->entry().editor().row, 7);
}

TEST_P(CellEntry, BracesAndPastedSeparatorsNeverReachThePage)
{
    st.book->session().grid().setCursor(8, 1);
    st.book->entry().gridKeyPress(QLatin1Char('{'));
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_EQ(st.book->entry().editor().text, "");
    EXPECT_TRUE(st.book->entry().editorKeyPress(QLatin1Char('}')));
    // TAB and CR pasted into the editor would split the page's cells.
    st.book->entry().setEditorText("Smith\tJones\rBrown");
    st.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(st.stored(Today, 8, 1), "Smith Jones\nBrown");
    EXPECT_EQ(st.stored(Today, 8, 2), "");
    EXPECT_EQ(st.stored(Today, 9, 1), "");
}

TEST_P(CellEntry, ALockedPageOpensTheEditorButTakesNoTyping)
{
    st.book->session().openPage(Today.addDays(-1));
    EXPECT_TRUE(st.book->session().locked());
    st.book->session().grid().setCursor(3, 1);
    st.book->entry().gridKeyPress(QLatin1Char('Z'));
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_TRUE(st.book->entry().editor().readOnly);
    st.book->entry().setEditorText("Zed");
    st.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(st.stored(Today.addDays(-1), 3, 1), "");

    st.book->panel().setPageLock(false);
    st.type(3, 1, "Zed");
    EXPECT_EQ(st.stored(Today.addDays(-1), 3, 1), "Zed");
    st.book->session().openPage(Today);
    EXPECT_FALSE(st.book->session().locked());
}

class TwoStations : public testsupport::EngineTest {};

TEST_P(TwoStations, BookingsOfBothStationsSurvive)
{
    Station a(store), b(store);
    ASSERT_TRUE(a.book->load(Today));
    ASSERT_TRUE(b.book->load(Today));
    a.type(3, 1, "Smith");
    b.type(4, 2, "Jones");   // b's grid did not show Smith
    EXPECT_EQ(a.stored(Today, 3, 1), "Smith");
    EXPECT_EQ(a.stored(Today, 4, 2), "Jones");
    EXPECT_EQ(b.book->session().grid().textMatrix(3, 1), "Smith");

    // The same slot: b is asked, with a's booking in front of it.
    a.type(6, 3, "Brown");
    b.prompter.answerNo();
    b.type(6, 3, "Green");
    EXPECT_EQ(b.prompter.transcript().size(), 1u);
    EXPECT_EQ(a.stored(Today, 6, 3), "Brown");
    EXPECT_TRUE(a.prompter.failures().isEmpty());
    EXPECT_TRUE(b.prompter.failures().isEmpty());
}

TEST_P(TwoStations, AFailedSaveKeepsTheEntryAndTheProgram)
{
    Station a(store);
    ASSERT_TRUE(a.book->load(Today));
    store::Database other;
    ASSERT_TRUE(store.open(other).ok());
    a.db.setBusyTimeout(50);
    // Another station is writing the page and does not let go.
    other.beginWrite();
    other.selectOneForUpdate("SELECT ID FROM tbl_Appt WHERE CalDate = ?", {Today});

    a.book->session().grid().setCursor(5, 1);
    a.book->entry().gridKeyPress(QLatin1Char('S'));
    a.book->entry().setEditorText("Smith");
    a.prompter.expectMessage();
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(a.prompter.last().title, "Save Cell Content");
    EXPECT_TRUE(a.book->entry().editor().visible);
    EXPECT_EQ(a.book->entry().editor().text, "Smith");
    EXPECT_FALSE(a.windows.quitCalled());

    other.rollback();
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_FALSE(a.book->entry().editor().visible);
    EXPECT_EQ(a.stored(Today, 5, 1), "Smith");
    EXPECT_TRUE(a.prompter.failures().isEmpty());
}

// ---- an entry being typed is never dropped on the way out

TEST_P(CellEntry, EscapeCancelsTheEdit)
{
    st.type(5, 2, "Smith");
    st.book->session().grid().setCursor(5, 2);
    st.book->entry().gridKeyPress(QLatin1Char('x'));
    EXPECT_TRUE(st.book->entry().editorKeyDown(Qt::Key_Escape, 0));
    EXPECT_FALSE(st.book->entry().editor().visible);
    EXPECT_EQ(st.book->session().grid().textMatrix(5, 2), "Smith");
    EXPECT_EQ(st.stored(Today, 5, 2), "Smith");
}

TEST_P(CellEntry, EveryWayOutAsksFirstAndKeepsTheEntry)
{
    const std::vector<std::pair<const char *, std::function<void()>>> ways{
        {"close box", [&] { EXPECT_FALSE(st.book->closeBook()); }},
        {"toolbar Refresh", [&] { st.book->refreshCommand(); }},
        {"calendar", [&] { st.book->navigation().calendarFocusIn(); }},
        {"office status", [&] { st.book->panel().statusChosen(1); }},
    };
    int row = 5;
    for (const auto &[name, leave] : ways) {
        SCOPED_TRACE(name);
        st.book->session().grid().setCursor(++row, 1);
        st.book->entry().gridKeyPress(QLatin1Char('J'));
        st.prompter.expectMessage();
        leave();
        EXPECT_EQ(st.prompter.last().text, "Save last appointment entry!?");
        EXPECT_TRUE(st.book->entry().editor().visible);
        EXPECT_EQ(st.book->entry().editor().text, "J");
        EXPECT_FALSE(st.windows.log().contains("show frmMenu"));
        st.book->entry().editorKeyPress(QChar(9));
        EXPECT_EQ(st.stored(Today, row, 1), "J");
    }
}

TEST_P(CellEntry, TheTimerNeverReReadsUnderAnEntry)
{
    st.setSetting("Timer1", true);
    st.setSetting("Refresh", 5);
    ASSERT_TRUE(st.book->load(Today));
    st.book->session().grid().setCursor(6, 1);
    st.book->entry().gridKeyPress(QLatin1Char('J'));
    st.book->panel().timerTick();
    EXPECT_TRUE(st.book->entry().editor().visible);
    EXPECT_EQ(st.book->entry().editor().text, "J");
}

// ---- the block the next command acts on is the block the user sees

TEST_P(CellEntry, RightClickActsOnTheClickedCellOrTheMarkedRange)
{
    int menuRow = 0, menuCol = 0;
    QObject::connect(&st.book->hub(), &book::BookHub::contextMenuRequested, [&](int r, int c) {
        menuRow = r;
        menuCol = c;
    });
    st.book->session().grid().setCursor(3, 1);
    st.book->entry().gridMouseUp(2, 0, 8, 3);   // outside: the clicked cell becomes current
    EXPECT_EQ(menuRow, 8);
    EXPECT_EQ(menuCol, 3);
    EXPECT_EQ(st.book->session().grid().row(), 8);

    st.book->gridMouseDown(1, 0, 4, 1);
    st.book->entry().gridMouseUp(1, 0, 4, 1);
    st.book->entry().gridMouseUp(1, book::ShiftKey, 6, 2);
    st.book->entry().gridMouseUp(2, 0, 5, 2);   // inside: the range stays marked
    EXPECT_TRUE(st.book->blocks().marked());
    EXPECT_EQ(menuRow, 4);
    EXPECT_EQ(st.book->session().grid().rowSel(), 6);

    // An auto-refresh keeps the range in sight.
    st.book->session().refreshGrid(false);
    EXPECT_EQ(st.book->session().grid().row(), 4);
    EXPECT_EQ(st.book->session().grid().rowSel(), 6);
    EXPECT_EQ(st.book->session().grid().colSel(), 2);
}

TEST_P(CellEntry, CtrlClickMarksAsAltClickDoes)
{
    st.book->entry().gridMouseUp(1, book::CtrlKey, 7, 2);
    EXPECT_TRUE(st.book->blocks().marked());
    EXPECT_TRUE(st.book->blocks().singleCell());
    EXPECT_EQ(st.book->session().grid().row(), 7);
}

TEST_P(CellEntry, ControlCharactersAreNotStored)
{
    st.type(5, 1, QStringLiteral("Sm") + QChar(0) + QStringLiteral("ith\u0007\nroom 2"));
    EXPECT_EQ(st.stored(Today, 5, 1), "Smith\nroom 2");
}
QUILLON_BOTH_ENGINES(CellEntry);
QUILLON_BOTH_ENGINES(TwoStations);

} // namespace
