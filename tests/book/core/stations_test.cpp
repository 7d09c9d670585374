// Two stations on one book: what one station stores is never erased by a
// command or memo of the other that was made over an older view of the page.
#include "bookfixture.h"

#include "book/pages/blockops.h"
#include "book/pages/pagestore.h"
#include "store/core/dbcopy.h"
#include "support/doubles/scriptedprompter.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace booktest;

namespace {

const QString Changed = QStringLiteral("Another station has changed these cells since this page was shown");
constexpr int Red = 0x8080FF;

// Two stations on a fresh database of the test's engine.
struct Pair {
    testsupport::TestStore store;
    bool quitExpected = false;   // station A is to end the program
    Station a{store};
    Station b{store};
    explicit Pair(testsupport::Engine engine) : store(engine)
    {
        EXPECT_TRUE(a.book->load(Today));
        EXPECT_TRUE(b.book->load(Today));
    }
    ~Pair()
    {
        for (Station *s : {&a, &b}) {
            EXPECT_TRUE(s->prompter.failures().isEmpty()) << s->prompter.failures().join("\n").toStdString();
            EXPECT_EQ(s->windows.quitCalled(), quitExpected && s == &a);
        }
    }
    // Station A marks rows 3-4 of columns 1-2 with the mouse.
    void markOnA()
    {
        a.book->gridMouseDown(1, 0, 3, 1);
        a.book->entry().gridMouseUp(1, 0, 3, 1);
        a.book->entry().gridMouseUp(1, book::ShiftKey, 4, 2);
    }
    QString storedMemo(bool fixed)
    {
        return fixed ? a.db.scalar("SELECT FixedMemo FROM tbl_Setup").toString()
                     : a.db.scalar("SELECT Memo FROM tbl_Appt WHERE CalDate = ?", {Today}).toString();
    }
    QString storedColors() { return a.db.scalar("SELECT CColor FROM tbl_Color WHERE caldate = ?", {Today}).toString(); }
};

class StationPair : public testsupport::EngineTest {};

// Holds the pages so that no other connection can read or write them, until
// the query's COMMIT.
bool holdPages(QSqlQuery &hold, bool server)
{
    if (server)
        return hold.exec("BEGIN") && hold.exec("LOCK TABLE tbl_appt IN ACCESS EXCLUSIVE MODE");
    return hold.exec("BEGIN EXCLUSIVE");
}

// ---- block commands over a booking made meanwhile at the other station

enum class Command { Delete, Blockout, Cut, Paste, Color };
struct BlockCase {
    Command command;
    const char *title;
    bool colour;   // the other station painted instead of booking
};

TEST_P(StationPair, BlockCommandsOverAnotherStationsChangeWriteNothingAndSayWhere)
{
    const BlockCase cases[] = {{Command::Delete, "Delete", false},   {Command::Blockout, "Blockout", false},
                               {Command::Cut, "Cut", false},         {Command::Paste, "Paste", false},
                               {Command::Color, "Set Cell Color", true}, {Command::Delete, "Delete", true}};
    for (const BlockCase &c : cases) {
        SCOPED_TRACE(c.title + std::string(c.colour ? " over a colour" : " over a booking"));
        Pair p(engine());
        p.a.type(6, 3, "Copied");
        p.a.book->session().grid().setCursor(6, 3);
        p.a.book->blocks().copy();
        p.a.book->blocks().chooseColor(0xFFC0C0);   // the colour the Color command paints
        p.markOnA();

        p.b.book->session().refreshGrid();
        p.b.book->session().grid().setCursor(4, 1);
        if (c.colour) {
            p.b.book->blocks().chooseRowCount(1);
            p.b.book->blocks().chooseColor(Red);
        } else {
            p.b.type(4, 1, "Smith");
        }
        const QString colorsBefore = p.storedColors();

        if (c.command == Command::Delete)
            p.a.prompter.answerYes();
        p.a.prompter.expectMessage();
        switch (c.command) {
        case Command::Delete: p.a.book->blocks().remove(); break;
        case Command::Blockout: p.a.book->blocks().blockout(); break;
        case Command::Cut: p.a.book->blocks().cut(); break;
        case Command::Paste: p.a.book->blocks().paste(); break;
        case Command::Color: p.a.book->blocks().colorCommand(); break;
        }

        ASSERT_FALSE(p.a.prompter.transcript().empty());
        const QString said = p.a.prompter.last().text;
        EXPECT_TRUE(said.startsWith(Changed)) << said.toStdString();
        EXPECT_TRUE(said.contains("08:30 AM Dr Avery")) << said.toStdString();
        EXPECT_EQ(p.a.prompter.last().title, c.title);
        EXPECT_EQ(p.a.stored(Today, 4, 1), c.colour ? "" : "Smith");
        EXPECT_EQ(p.a.stored(Today, 3, 1), "");
        EXPECT_EQ(p.storedColors(), colorsBefore);
        // Station A now shows what is stored.
        EXPECT_EQ(p.a.book->session().grid().textMatrix(4, 1), c.colour ? "" : "Smith");
        if (c.colour) {
            EXPECT_EQ(p.a.book->session().grid().cellColor(4, 1), Red);
        }
    }
}

TEST_P(StationPair, BlockCommandsOverAnUnchangedPageStillWrite)
{
    Pair p(engine());
    auto &a = p.a;
    auto &b = p.b;
    b.type(10, 3, "Elsewhere");   // not in the block
    p.markOnA();
    a.type(3, 1, "Jones");
    p.markOnA();
    a.prompter.answerYes();
    a.book->blocks().remove();
    EXPECT_EQ(a.stored(Today, 3, 1), "");
    EXPECT_EQ(a.stored(Today, 10, 3), "Elsewhere");
}

// ---- memos

TEST_P(StationPair, MemosOverAnotherStationsLetTheUserChooseAndLoseNothing)
{
    for (const bool fixed : {false, true}) {
    SCOPED_TRACE(fixed ? "fixed memo" : "daily memo");
    Pair p(engine());
    auto &a = p.a;
    auto &b = p.b;
    a.book->panel().memoFocusIn(fixed);
    b.book->panel().memoFocusIn(fixed);
    b.book->panel().memoFocusOut(fixed, "Lab calls at 3");

    // No: both texts stay in A's box, the stored one first; nothing is stored
    // until A leaves the box again.
    a.prompter.answerNo().expectMessage();
    a.book->panel().memoFocusOut(fixed, "Dr Avery away");
    EXPECT_TRUE(a.prompter.transcript()[0].text.contains("It now reads:\nLab calls at 3"));
    EXPECT_EQ(p.storedMemo(fixed), "Lab calls at 3");
    const QString merged = "Lab calls at 3\nDr Avery away";
    EXPECT_EQ(fixed ? a.book->panel().fixedMemo() : a.book->panel().dailyMemo(), merged);
    a.book->panel().memoFocusIn(fixed);
    a.book->panel().memoFocusOut(fixed, merged);
    EXPECT_EQ(p.storedMemo(fixed), merged);
    EXPECT_EQ(fixed ? a.book->panel().fixedMemo() : a.book->panel().dailyMemo(), merged);

    // Yes: the user's text is stored in place of the other station's.
    b.book->session().refreshGrid();
    b.book->panel().memoFocusIn(fixed);
    a.book->panel().memoFocusIn(fixed);
    a.book->panel().memoFocusOut(fixed, "From A");
    b.prompter.answerYes();
    b.book->panel().memoFocusOut(fixed, "From B");
    EXPECT_EQ(p.storedMemo(fixed), "From B");
    }
}


// ---- cell entry against another station and a held database

TEST_P(StationPair, LosingEveryOverwriteRoundKeepsTheEntryAndSaysWhy)
{
    Pair p(engine());
    auto &a = p.a;
    auto &b = p.b;
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
    EXPECT_TRUE(a.book->entry().editor().visible);
    EXPECT_EQ(a.book->entry().editor().text, "Mine");
    EXPECT_TRUE(a.prompter.last().text.startsWith("Your entry was not stored"));

    a.prompter.answerYes();
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(a.stored(Today, 5, 1), "Mine");
    EXPECT_FALSE(a.book->entry().editor().visible);
}

// Both stations type into one cell: the later one is shown both entries, and
// No keeps its own in the editor instead of dropping it.
TEST_P(StationPair, TwoEntriesForOneCellAreBothShownAndNoKeepsTheTypedOne)
{
    Pair p(engine());
    auto &a = p.a;
    a.book->session().grid().setCursor(5, 1);
    a.book->entry().gridKeyPress(QLatin1Char('S'));
    a.book->entry().setEditorText("Smith\nNew patient");
    p.b.type(5, 1, "Jones");
    a.prompter.answerNo();
    a.book->entry().editorKeyPress(QChar(9));
    const auto &q = a.prompter.last();
    EXPECT_TRUE(q.text.contains("Jones")) << q.text.toStdString();
    EXPECT_TRUE(q.text.contains("Smith / New patient"));
    EXPECT_TRUE(q.defaultNo);
    EXPECT_EQ(a.stored(Today, 5, 1), "Jones");
    EXPECT_EQ(a.book->session().grid().textMatrix(5, 1), "Jones");
    ASSERT_TRUE(a.book->entry().editor().visible);
    EXPECT_EQ(a.book->entry().editor().text, "Smith\r\nNew patient");

    // Tab again overwrites the entry now shown, as any change of a booking does.
    a.prompter.answerYes();
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(a.prompter.last().text,
              "An appointment entry has already been made for this timeslot. Do you wish to overwrite?");
    EXPECT_EQ(a.stored(Today, 5, 1), "Smith\nNew patient");
    EXPECT_FALSE(a.book->entry().editor().visible);
}

TEST_P(StationPair, AHeldDatabaseKeepsTheEntryAndTheProgram)
{
    Pair p(engine());
    auto &a = p.a;
    auto &b = p.b;
    a.db.setBusyTimeout(50);
    // Another station holds the pages so that nobody can read or write them.
    QSqlQuery hold(b.db.connection());
    ASSERT_TRUE(holdPages(hold, onServer()));
    bool busyShown = false;
    QObject::connect(&a.book->hub(), &book::BookHub::busyChanged, [&](bool on) { busyShown |= on; });

    a.prompter.expectMessage();
    a.type(5, 2, "Smith");
    EXPECT_TRUE(a.prompter.last().text.startsWith("Another station is holding the database"));
    EXPECT_TRUE(busyShown);
    EXPECT_TRUE(a.book->entry().editor().visible);
    EXPECT_EQ(a.book->entry().editor().text, "Smith");

    ASSERT_TRUE(hold.exec("COMMIT"));
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(a.stored(Today, 5, 2), "Smith");
    EXPECT_FALSE(a.book->entry().editor().visible);
}

// ---- the page of a date made by the other station

TEST_P(StationPair, APageTheOtherStationMadeFirstIsTakenNotMadeAgain)
{
    Pair p(engine());
    auto &a = p.a;
    auto &b = p.b;
    const QDate tomorrow = Today.addDays(1);
    a.db.setBusyTimeout(50);
    QSqlQuery hold(b.db.connection());
    ASSERT_TRUE(holdPages(hold, onServer()));
    // A's first try finds the pages held; while A says so, B makes the page
    // and books into it.
    a.prompter.onNext([&](const ui::ScriptedPrompter::Prompt &) {
        ASSERT_TRUE(hold.exec("COMMIT"));
        b.book->navigation().goToDate(tomorrow);
        b.type(4, 2, "Booked at B");
    });
    a.prompter.expectMessage();
    a.book->navigation().goToDate(tomorrow);
    EXPECT_TRUE(a.prompter.last().text.contains("Another user is currently creating this page"));
    EXPECT_EQ(a.db.scalar("SELECT COUNT(*) FROM tbl_Appt WHERE CalDate = ?", {tomorrow}).toInt(), 1);
    EXPECT_EQ(a.book->session().page().id, b.book->session().page().id);
    EXPECT_EQ(a.book->session().grid().textMatrix(4, 2), "Booked at B");
}

// ---- the page removed by the other station while this one saves into it

// Setup's Okay at station B removes the pages that hold nothing, so that they
// are made anew from the new settings. Station A, typing into today's page
// meanwhile, makes the page again and stores the entry at the same time.
TEST_P(StationPair, APageRemovedUnderAnEntryIsMadeAgainAndTakesIt)
{
    struct Case {
        const char *open;
        int row;   // where 09:00 AM is on the page made again; 0: not on it
    };
    for (const Case c : {Case{"08:00 AM", 5}, Case{"07:00 AM", 7}, Case{"10:00 AM", 0}}) {
        SCOPED_TRACE(c.open);
        Pair p(engine());
        auto &a = p.a;
        a.book->session().grid().setCursor(5, 1);   // 09:00 AM, Dr Avery
        a.book->entry().gridKeyPress(QLatin1Char('S'));
        a.book->entry().setEditorText("Smith");
        p.b.setSetting("open", c.open);
        ASSERT_EQ(book::PageStore(p.b.db).removeEmptyPages(), 1);

        if (!c.row)
            a.prompter.expectMessage();
        a.book->entry().editorKeyPress(QChar(9));
        EXPECT_FALSE(a.book->entry().editor().visible);
        EXPECT_EQ(a.book->session().grid().textMatrix(3, 0), c.open);
        EXPECT_EQ(a.pageCount(), 1);
        if (c.row) {
            EXPECT_TRUE(a.prompter.transcript().empty()) << a.prompter.texts().join(" | ").toStdString();
            EXPECT_EQ(a.stored(Today, c.row, 1), "Smith");
            EXPECT_EQ(a.book->session().grid().textMatrix(c.row, 1), "Smith");
        } else {
            // No 09:00 AM any more: nothing stored, and the entry kept.
            EXPECT_EQ(a.prompter.last().title, "Save Cell Content");
            EXPECT_TRUE(a.prompter.last().text.contains("which have no 09:00 AM for Dr Avery")) << a.prompter.last().text.toStdString();
            EXPECT_EQ(a.clipboard.text(), "Smith");
            EXPECT_FALSE(a.db.scalar("SELECT Data FROM tbl_Appt").toString().contains("Smith"));
        }
    }
}

// The same for a block command: on a page made again with the same times
// and consultants the block is written; nothing ends the program.
TEST_P(StationPair, ABlockCommandOnARemovedPageWritesIntoThePageMadeAgain)
{
    Pair p(engine());
    p.markOnA();
    ASSERT_EQ(book::PageStore(p.b.db).removeEmptyPages(), 1);
    p.a.book->blocks().blockout();
    const QString blockout = p.a.book->blockHost().blockoutText();
    EXPECT_EQ(p.a.stored(Today, 3, 1), blockout);
    EXPECT_EQ(p.a.stored(Today, 4, 2), blockout);
    EXPECT_EQ(p.a.pageCount(), 1);
}

// ---- a block's texts and colours are one write

// B repaints a cell of A's block after A's page was read. A's Cut, Delete
// and Paste change texts and colours: all of it is refused, texts included.
TEST_P(StationPair, ABlockOverARepaintedCellWritesNoTextEither)
{
    for (const Command command : {Command::Cut, Command::Delete, Command::Paste}) {
        Pair p(engine());
        auto &a = p.a;
        a.type(6, 3, "Copied");
        a.book->session().grid().setCursor(6, 3);
        a.book->blocks().copy();
        a.type(3, 1, "Smith");
        a.type(4, 2, "Jones");
        p.markOnA();
        p.b.book->session().refreshGrid();
        p.b.book->session().grid().setCursor(4, 1);
        p.b.book->blocks().chooseRowCount(1);
        p.b.book->blocks().chooseColor(Red);

        if (command == Command::Delete)
            a.prompter.answerYes();
        a.prompter.expectMessage();
        switch (command) {
        case Command::Cut: a.book->blocks().cut(); break;
        case Command::Delete: a.book->blocks().remove(); break;
        default:
            a.book->session().grid().setCursor(3, 1);
            a.book->blocks().paste();
            break;
        }
        SCOPED_TRACE(a.prompter.last().title.toStdString());
        EXPECT_TRUE(a.prompter.last().text.startsWith(Changed)) << a.prompter.last().text.toStdString();
        EXPECT_EQ(a.stored(Today, 3, 1), "Smith");
        EXPECT_EQ(a.stored(Today, 4, 2), "Jones");
        EXPECT_EQ(a.book->session().grid().textMatrix(3, 1), "Smith");
    }
}

// A station that read its page before another station restored a backup
// stores nothing over the restored data: it is told, the entry stays in the
// editor over the page as restored, and Tab again stores it there.
TEST_P(StationPair, AnEntryTypedBeforeARestoreElsewhereIsKeptUntilTabbedAgain)
{
    Pair p(engine());
    auto &a = p.a;
    const auto copy = store::DatabaseCopy::forDatabase(p.b.db);
    QTemporaryDir media;
    const QString backup = QDir(media.path()).filePath("db.mdb");
    copy->writeSnapshot(backup);
    copy->replaceWith(backup);

    a.book->session().grid().setCursor(5, 1);
    a.book->entry().gridKeyPress(QLatin1Char('S'));
    a.book->entry().setEditorText("Smith");
    a.prompter.expectMessage();
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_TRUE(a.prompter.last().text.contains("restored from a backup")) << a.prompter.last().text.toStdString();
    EXPECT_TRUE(a.book->entry().editor().visible);
    EXPECT_EQ(a.stored(Today, 5, 1), "");
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(a.stored(Today, 5, 1), "Smith");
}

QUILLON_BOTH_ENGINES(StationPair);

} // namespace
