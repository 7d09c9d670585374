// Another station's change reaches the page on display within a second,
// without disturbing what this station is doing.
#include "bookfixture.h"

#include "book/pages/pagestore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

using namespace booktest;

namespace {

constexpr int Red = 0x8080FF;
constexpr int WithinMs = 1000;

struct LivePair {
    testsupport::TestStore store;
    Station a{store};
    Station b{store};
    explicit LivePair(testsupport::Engine engine) : store(engine)
    {
        EXPECT_TRUE(a.book->load(Today));
        EXPECT_TRUE(b.book->load(Today));
    }
    ~LivePair()
    {
        for (Station *s : {&a, &b})
            EXPECT_TRUE(s->prompter.failures().isEmpty()) << s->prompter.failures().join("\n").toStdString();
    }
    // Runs the event loop until `done`, or the time is up.
    template <typename F>
    static bool within(int ms, F done)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        return done();
    }
    bool aFlags(int row, int col) const
    {
        const auto &cells = a.book->changedElsewhere();
        return std::find(cells.begin(), cells.end(), std::make_pair(row, col)) != cells.end();
    }
};

class LiveRefresh : public testsupport::EngineTest {};

TEST_P(LiveRefresh, ABookingElsewhereReachesTheShownPageAndLeavesEditorMarkAndCursor)
{
    LivePair p(engine());
    auto &a = p.a;
    auto &g = a.book->session().grid();

    // A has rows 3-4 of columns 1-2 marked.
    a.book->gridMouseDown(1, 0, 3, 1);
    a.book->entry().gridMouseUp(1, 0, 3, 1);
    a.book->entry().gridMouseUp(1, book::ShiftKey, 4, 2);
    p.b.type(6, 1, "Jones");
    ASSERT_TRUE(LivePair::within(WithinMs, [&] { return g.textMatrix(6, 1) == "Jones"; }));
    EXPECT_EQ(std::make_tuple(g.row(), g.col(), g.rowSel(), g.colSel()), std::make_tuple(3, 1, 4, 2));
    EXPECT_EQ(a.book->changedElsewhere(), (book::CellList{{6, 1}}));

    // A is typing into another cell: the editor keeps its text and place.
    g.setCursor(5, 2);
    a.book->entry().gridKeyPress(QChar(13));
    a.book->entry().setEditorText("Smi");
    p.b.type(7, 2, "Brown");
    ASSERT_TRUE(LivePair::within(WithinMs, [&] { return g.textMatrix(7, 2) == "Brown"; }));
    EXPECT_TRUE(a.book->entry().editor().visible);
    EXPECT_EQ(std::make_tuple(a.book->entry().editor().row, a.book->entry().editor().col, a.book->entry().editor().text),
              std::make_tuple(5, 2, QString("Smi")));
    EXPECT_EQ(std::make_pair(g.row(), g.col()), std::make_pair(5, 2));
    a.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(a.stored(Today, 5, 2), "Smi");
    // Both entries stay: A's save was made over the page as now stored.
    EXPECT_EQ(a.stored(Today, 7, 2), "Brown");
}

TEST_P(LiveRefresh, ColoursStatusAndMemoElsewhereAreShownAndATypedMemoIsNotTakenOver)
{
    LivePair p(engine());
    auto &a = p.a;
    auto &b = p.b;

    b.book->session().storeColors({{{5, 1}, Red}});
    ASSERT_TRUE(LivePair::within(WithinMs, [&] { return a.book->session().grid().cellColor(5, 1) == Red; }));
    EXPECT_TRUE(p.aFlags(5, 1));

    // A begins typing the daily memo; B stores one meanwhile. A's box is not
    // replaced, the stored memo is offered beside it, and leaving the box
    // asks before B's memo is replaced.
    a.book->panel().memoFocusIn(false);
    b.book->panel().memoFocusIn(false);
    b.book->panel().memoFocusOut(false, "Lab calls at 3");
    ASSERT_TRUE(LivePair::within(WithinMs, [&] { return a.book->panel().dailyMemoStoredMeanwhile().has_value(); }));
    EXPECT_EQ(*a.book->panel().dailyMemoStoredMeanwhile(), "Lab calls at 3");
    a.prompter.answerNo().expectMessage();
    a.book->panel().memoFocusOut(false, "Dr Avery away");
    ASSERT_FALSE(a.prompter.transcript().empty());
    EXPECT_TRUE(a.prompter.transcript()[0].text.contains("It now reads:\nLab calls at 3"));
    EXPECT_EQ(a.db.scalar("SELECT Memo FROM tbl_Appt WHERE CalDate = ?", {Today}).toString(), "Lab calls at 3");

    // The office closed at B.
    b.book->session().pages().writeClinic(b.book->session().page().id, true);
    ASSERT_TRUE(LivePair::within(WithinMs, [&] { return a.book->session().closed(); }));
    EXPECT_EQ(a.book->panel().statusIndex(), 1);
}

TEST_P(LiveRefresh, AChangeArrivingWhileThisStationIsBusyWaitsUntilItIsDone)
{
    LivePair p(engine());
    bool quiet = false;   // a message box is open
    p.a.book->setQuietCheck([&quiet] { return quiet; });
    p.b.type(6, 1, "Jones");
    EXPECT_FALSE(LivePair::within(3 * 500, [&] { return p.a.book->session().grid().textMatrix(6, 1) == "Jones"; }));
    quiet = true;
    EXPECT_TRUE(LivePair::within(WithinMs, [&] { return p.a.book->session().grid().textMatrix(6, 1) == "Jones"; }));
}

TEST_P(LiveRefresh, TheBookCountsTheOtherStationsOpenAndOfficeStatusNamesThem)
{
    LivePair p(engine());
    p.a.db.setStation({"Reception", "desk1", "anna"});
    p.b.db.setStation({"Surgery", "desk2", "ben"});
    const auto clockOf = [](Station &s) { return [&s] { return s.clock.now(); }; };
    store::Presence mine(p.a.db, clockOf(p.a)), theirs(p.b.db, clockOf(p.b));
    mine.join();
    theirs.join();
    ASSERT_TRUE(LivePair::within(WithinMs, [&] { return !p.a.book->stations().others().empty(); }));
    EXPECT_EQ(p.a.book->stations().caption(), "1 other station open");
    EXPECT_EQ(p.a.book->stations().tip(), "Surgery (desk2, ben)");

    p.a.prompter.expectMessage();
    p.a.book->panel().statusChosen(1);
    EXPECT_EQ(p.a.prompter.last().text, "Please logout all other stations before changing office status!\n\n"
                                        "Stations still open:\n  Surgery (desk2, ben), since 09:00");

    // Gone from the count once it leaves.
    theirs.leave();
    ASSERT_TRUE(LivePair::within(WithinMs, [&] { return p.a.book->stations().others().empty(); }));
    EXPECT_EQ(p.a.book->stations().caption(), "");
}

QUILLON_BOTH_ENGINES(LiveRefresh);

} // namespace
