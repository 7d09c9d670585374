// Two stations on one book: what one station stores is never erased by a
// command or memo of the other that was made over an older view of the page.
#include "bookfixture.h"

#include "book/core/blockops.h"
#include "support/doubles/scriptedprompter.h"

#include <QSqlQuery>

using namespace booktest;

namespace {

const QString Changed = QStringLiteral("Another station has changed these cells since this page was shown");
constexpr int Red = 0x8080FF;

class StationPair : public ::testing::Test {
protected:
    testsupport::TestDir dir;
    Station a{dir};
    Station b{dir};
    void SetUp() override
    {
        ASSERT_TRUE(a.book->load(Today));
        ASSERT_TRUE(b.book->load(Today));
    }
    void TearDown() override
    {
        for (Station *s : {&a, &b}) {
            EXPECT_TRUE(s->prompter.failures().isEmpty()) << s->prompter.failures().join("\n").toStdString();
            EXPECT_TRUE(s->prompter.allAnswered());
            EXPECT_FALSE(s->windows.quitCalled());
        }
    }
    // Station A marks rows 3-4 of columns 1-2 with the mouse.
    void markOnA()
    {
        a.book->gridMouseDown(1, 0, 3, 1);
        a.book->gridMouseUp(1, 0, 3, 1);
        a.book->gridMouseUp(1, book::ShiftKey, 4, 2);
    }
    QString storedMemo(bool fixed)
    {
        return fixed ? a.db.scalar("SELECT \"FixedMemo\" FROM \"tbl_Setup\"").toString()
                     : a.db.scalar("SELECT \"Memo\" FROM \"tbl_Appt\" WHERE \"CalDate\" = ?", {Today}).toString();
    }
};

// ---- block commands over a booking made meanwhile at the other station

enum class Command { Delete, Blockout, Cut, Paste, Color };
struct BlockCase {
    Command command;
    const char *title;
    bool colour;   // the other station painted instead of booking
};

class BlockOverOtherStation : public StationPair, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(BlockOverOtherStation, WritesNothingAndSaysWhichCells)
{
    const BlockCase c = GetParam();
    a.type(6, 3, "Copied");
    a.book->grid().setCursor(6, 3);
    a.book->blocks().copy();
    a.book->blocks().chooseColor(0xFFC0C0);   // the colour the Color command paints
    markOnA();

    b.book->refreshGrid();
    b.book->grid().setCursor(4, 1);
    if (c.colour) {
        b.book->blocks().chooseRowCount(1);
        b.book->blocks().chooseColor(Red);
    } else {
        b.type(4, 1, "Smith");
    }
    const QString colorsBefore = b.db.scalar("SELECT \"CColor\" FROM \"tbl_Color\"").toString();

    if (c.command == Command::Delete)
        a.prompter.answerYes();
    a.prompter.expectMessage();
    switch (c.command) {
    case Command::Delete: a.book->blocks().remove(); break;
    case Command::Blockout: a.book->blocks().blockout(); break;
    case Command::Cut: a.book->blocks().cut(); break;
    case Command::Paste: a.book->blocks().paste(); break;
    case Command::Color: a.book->blocks().colorCommand(); break;
    }

    ASSERT_FALSE(a.prompter.transcript().empty());
    EXPECT_TRUE(a.prompter.last().text.startsWith(Changed)) << a.prompter.last().text.toStdString();
    EXPECT_TRUE(a.prompter.last().text.contains("08:30 AM Dr Avery")) << a.prompter.last().text.toStdString();
    EXPECT_EQ(a.prompter.last().title, c.title);
    EXPECT_EQ(a.stored(Today, 4, 1), c.colour ? "" : "Smith");
    EXPECT_EQ(a.stored(Today, 3, 1), "");
    EXPECT_EQ(a.db.scalar("SELECT \"CColor\" FROM \"tbl_Color\"").toString(), colorsBefore);
    // Station A now shows what is stored.
    EXPECT_EQ(a.book->grid().textMatrix(4, 1), c.colour ? "" : "Smith");
    if (c.colour) {
        EXPECT_EQ(a.book->grid().cellColor(4, 1), Red);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, BlockOverOtherStation,
                         ::testing::Values(BlockCase{Command::Delete, "Delete", false},
                                           BlockCase{Command::Blockout, "Blockout", false},
                                           BlockCase{Command::Cut, "Cut", false},
                                           BlockCase{Command::Paste, "Paste", false},
                                           BlockCase{Command::Color, "Set Cell Color", true},
                                           BlockCase{Command::Delete, "Delete", true}));

TEST_F(StationPair, BlockCommandsOverAnUnchangedPageStillWrite)
{
    b.type(10, 3, "Elsewhere");   // not in the block
    markOnA();
    a.type(3, 1, "Jones");
    markOnA();
    a.prompter.answerYes();
    a.book->blocks().remove();
    EXPECT_EQ(a.stored(Today, 3, 1), "");
    EXPECT_EQ(a.stored(Today, 10, 3), "Elsewhere");
}

// ---- memos

class MemoOverOtherStation : public StationPair, public ::testing::WithParamInterface<bool> {};

TEST_P(MemoOverOtherStation, TheUserChoosesAndNothingIsLostSilently)
{
    const bool fixed = GetParam();
    a.book->memoFocusIn(fixed);
    b.book->memoFocusIn(fixed);
    b.book->memoFocusOut(fixed, "Lab calls at 3");

    // No: both texts stay in A's box, the stored one first; nothing is stored
    // until A leaves the box again.
    a.prompter.answerNo().expectMessage();
    a.book->memoFocusOut(fixed, "Dr Avery away");
    EXPECT_TRUE(a.prompter.transcript()[0].text.contains("It now reads:\nLab calls at 3"));
    EXPECT_EQ(storedMemo(fixed), "Lab calls at 3");
    const QString merged = "Lab calls at 3\nDr Avery away";
    EXPECT_EQ(fixed ? a.book->fixedMemo() : a.book->dailyMemo(), merged);
    a.book->memoFocusIn(fixed);
    a.book->memoFocusOut(fixed, merged);
    EXPECT_EQ(storedMemo(fixed), merged);
    EXPECT_EQ(fixed ? a.book->fixedMemo() : a.book->dailyMemo(), merged);

    // Yes: the user's text is stored in place of the other station's.
    b.book->refreshGrid();
    b.book->memoFocusIn(fixed);
    a.book->memoFocusIn(fixed);
    a.book->memoFocusOut(fixed, "From A");
    b.prompter.answerYes();
    b.book->memoFocusOut(fixed, "From B");
    EXPECT_EQ(storedMemo(fixed), "From B");
}

INSTANTIATE_TEST_SUITE_P(DailyAndFixed, MemoOverOtherStation, ::testing::Bool());

// ---- cell entry against another station and a held database

TEST_F(StationPair, LosingEveryOverwriteRoundKeepsTheEntryAndSaysWhy)
{
    b.type(5, 1, "First");
    int round = 0;
    std::function<void(const ui::ScriptedPrompter::Prompt &)> change;
    change = [&](const ui::ScriptedPrompter::Prompt &) {
        // The other station changes the cell while the question is open.
        b.prompter.answerYes();
        b.type(5, 1, QStringLiteral("Other %1").arg(++round));
        if (round < 3)
            a.prompter.onNext(change);
    };
    a.prompter.onNext(change);
    a.prompter.answerYes().answerYes().answerYes().expectMessage();
    a.type(5, 1, "Mine");
    EXPECT_EQ(a.stored(Today, 5, 1), "Other 3");
    EXPECT_TRUE(a.book->editor().visible);
    EXPECT_EQ(a.book->editor().text, "Mine");
    EXPECT_TRUE(a.prompter.last().text.startsWith("Your entry was not stored"));

    a.prompter.answerYes();
    a.book->editorKeyPress(QChar(9));
    EXPECT_EQ(a.stored(Today, 5, 1), "Mine");
    EXPECT_FALSE(a.book->editor().visible);
}

TEST_F(StationPair, AHeldDatabaseKeepsTheEntryAndTheProgram)
{
    a.db.setBusyTimeout(50);
    QSqlQuery hold(b.db.connection());
    ASSERT_TRUE(hold.exec("BEGIN EXCLUSIVE"));
    bool busyShown = false;
    QObject::connect(a.book.get(), &book::BookController::busyChanged, [&](bool on) { busyShown |= on; });

    a.prompter.expectMessage();
    a.type(5, 2, "Smith");
    EXPECT_TRUE(a.prompter.last().text.startsWith("Another station is holding the database"));
    EXPECT_TRUE(busyShown);
    EXPECT_TRUE(a.book->editor().visible);
    EXPECT_EQ(a.book->editor().text, "Smith");

    ASSERT_TRUE(hold.exec("COMMIT"));
    a.book->editorKeyPress(QChar(9));
    EXPECT_EQ(a.stored(Today, 5, 2), "Smith");
    EXPECT_FALSE(a.book->editor().visible);
}

// ---- the page of a date made by the other station

TEST_F(StationPair, APageTheOtherStationMadeFirstIsTakenNotMadeAgain)
{
    const QDate tomorrow = Today.addDays(1);
    a.db.setBusyTimeout(50);
    QSqlQuery hold(b.db.connection());
    ASSERT_TRUE(hold.exec("BEGIN EXCLUSIVE"));
    // A's first try finds the file held; while A says so, B makes the page
    // and books into it.
    a.prompter.onNext([&](const ui::ScriptedPrompter::Prompt &) {
        ASSERT_TRUE(hold.exec("COMMIT"));
        b.book->goToDate(tomorrow);
        b.type(4, 2, "Booked at B");
    });
    a.prompter.expectMessage();
    a.book->goToDate(tomorrow);
    EXPECT_TRUE(a.prompter.last().text.contains("Another user is currently creating this page"));
    EXPECT_EQ(a.db.scalar("SELECT COUNT(*) FROM tbl_Appt WHERE CalDate = ?", {tomorrow}).toInt(), 1);
    EXPECT_EQ(a.book->page().id, b.book->page().id);
    EXPECT_EQ(a.book->grid().textMatrix(4, 2), "Booked at B");
}

// ---- the page removed by the other station while this one saves into it

TEST(PageRemoved, UnderAnEntryEndsTheProgram)
{
    testsupport::TestDir dir;
    Station a(dir);
    ASSERT_TRUE(a.book->load(Today));
    Station(dir).db.exec("DELETE FROM tbl_Appt WHERE CalDate = ?", {Today});
    bool closed = false;
    QObject::connect(a.book.get(), &book::BookController::closeRequested, [&] { closed = true; });

    a.prompter.expectMessage();
    a.book->grid().setCursor(5, 1);
    a.book->gridKeyPress(QLatin1Char('S'));
    a.book->editorKeyPress(QChar(9));
    EXPECT_EQ(a.prompter.last().title, "Save Cell Content");
    EXPECT_TRUE(a.prompter.last().text.contains("removed by another station"));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(a.windows.quitCalled());
}

} // namespace
