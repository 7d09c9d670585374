// The change log of the book as two stations see it: each cell's history,
// the bookings deleted from a page, and putting one back.
#include "bookfixture.h"

#include "book/pages/blockops.h"
#include "book/core/pagehistory.h"
#include "book/pages/pagestore.h"
#include "store/core/changelog.h"

using namespace booktest;
using book::PageHistory;

namespace {

struct Pair {
    testsupport::TestStore store;
    Station a{store};
    Station b{store};
    explicit Pair(testsupport::Engine engine) : store(engine)
    {
        a.db.setStation({"Desk A", "host-a", "ann"});
        b.db.setStation({"Desk B", "host-b", "bob"});
        EXPECT_TRUE(a.book->load(Today));
        EXPECT_TRUE(b.book->load(Today));
    }
    ~Pair()
    {
        for (Station *s : {&a, &b})
            EXPECT_TRUE(s->prompter.failures().isEmpty()) << s->prompter.failures().join("\n").toStdString();
    }
    int logged() { return a.db.scalar("SELECT COUNT(*) FROM sys_ChangeLog").toInt(); }
};

class PageHistoryTest : public testsupport::EngineTest {};

// A booking typed at one station and cut at the other: the cell's history
// lists both, newest first, with who did what; the page's deleted list
// holds the booking with its time and consultant.
TEST_P(PageHistoryTest, CellHistoryAndDeletedListShowWhatEachStationDid)
{
    Pair p(engine());
    p.a.type(3, 1, "SMITH 555");
    p.b.book->session().refreshGrid();
    p.b.book->session().grid().setCursor(3, 1);
    p.b.book->blocks().cut();
    p.b.type(4, 2, "JONES");

    const auto history = PageHistory::ofCell(p.a.db, Today, 3, 1);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].entry.command, "Cut");
    EXPECT_EQ(history[0].entry.station, "Desk B");
    EXPECT_EQ(history[0].entry.user, "bob");
    EXPECT_EQ(history[0].before.value_or("-"), "SMITH 555");
    EXPECT_EQ(history[0].after.value_or("-"), "");
    EXPECT_EQ(history[1].entry.command, "cell entry");
    EXPECT_EQ(history[1].entry.station, "Desk A");
    EXPECT_EQ(history[1].before.value_or("-"), "");
    EXPECT_EQ(history[1].time, "08:00 AM");
    const QString report = PageHistory::report("Cell History", history);
    EXPECT_TRUE(report.contains("Desk B (bob)  Cut  [08:00 AM")) << report.toStdString();
    EXPECT_TRUE(report.contains("\"SMITH 555\" -> \"\"")) << report.toStdString();

    const auto deleted = PageHistory::deletedFrom(p.a.db, Today);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].before.value_or("-"), "SMITH 555");
    EXPECT_EQ(deleted[0].row, 3);
    EXPECT_EQ(deleted[0].col, 1);
}

// Putting a booking back is a guarded write: when the other station booked
// the cell between this station's list and its Enter, nothing is written
// or logged and the user is told; into the empty cell it goes back.
TEST_P(PageHistoryTest, PutBackOnlyIntoTheEmptyCell)
{
    Pair p(engine());
    p.a.type(3, 1, "SMITH");
    p.a.book->session().grid().setCursor(3, 1);
    p.a.prompter.answerYes();
    p.a.book->blocks().remove();
    p.a.book->pageHistory().deletedOnPage();
    ASSERT_EQ(p.a.book->pageHistory().deletedShown().size(), 1u);
    const book::CellChange smith = p.a.book->pageHistory().deletedShown()[0];

    p.b.book->session().refreshGrid();
    p.b.type(3, 1, "JONES");
    const int before = p.logged();
    p.a.prompter.expectMessage();
    p.a.book->pageHistory().putBack(smith);
    EXPECT_EQ(p.a.prompter.last().text, "The cell is not empty any more: the booking was not put back.");
    EXPECT_EQ(p.a.stored(Today, 3, 1), "JONES");
    EXPECT_EQ(p.a.book->session().grid().textMatrix(3, 1), "JONES");
    EXPECT_EQ(p.logged(), before);

    p.b.book->session().grid().setCursor(3, 1);
    p.b.prompter.answerYes();
    p.b.book->blocks().remove();
    p.a.book->pageHistory().putBack(smith);
    EXPECT_EQ(p.a.stored(Today, 3, 1), "SMITH");
    EXPECT_EQ(p.a.book->session().grid().textMatrix(3, 1), "SMITH");
    const auto history = PageHistory::ofCell(p.b.db, Today, 3, 1);
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history[0].entry.command, "Put back");
    EXPECT_EQ(history[0].entry.station, "Desk A");
}

// A locked page takes no booking put back, as it takes no typing: nothing
// is written or logged and no question is asked; unlocked, it goes back.
TEST_P(PageHistoryTest, PutBackRespectsThePageLock)
{
    Pair p(engine());
    const QDate yesterday = Today.addDays(-1);
    p.a.book->session().openPage(yesterday);
    p.a.book->panel().setPageLock(false);
    p.a.type(3, 1, "SMITH");
    p.a.book->session().grid().setCursor(3, 1);
    p.a.prompter.answerYes();
    p.a.book->blocks().remove();
    p.a.book->pageHistory().deletedOnPage();
    ASSERT_EQ(p.a.book->pageHistory().deletedShown().size(), 1u);
    const book::CellChange smith = p.a.book->pageHistory().deletedShown()[0];

    p.a.book->panel().setPageLock(true);
    const int before = p.logged();
    const auto asked = p.a.prompter.transcript().size();
    p.a.book->pageHistory().putBack(smith);
    EXPECT_EQ(p.a.stored(yesterday, 3, 1), "");
    EXPECT_EQ(p.a.book->session().grid().textMatrix(3, 1), "");
    EXPECT_EQ(p.logged(), before);
    EXPECT_EQ(p.a.prompter.transcript().size(), asked);

    p.a.book->panel().setPageLock(false);
    p.a.book->pageHistory().putBack(smith);
    EXPECT_EQ(p.a.stored(yesterday, 3, 1), "SMITH");
}

// Each page write logs in its own transaction: a refused write logs
// nothing, a series over several pages is one batch, memo and closed day
// are logged by field.
TEST_P(PageHistoryTest, PageWritesAreLoggedWithTheirWrite)
{
    Pair p(engine());
    book::PageStore pages(p.a.db);
    const book::PageRecord page = pages.find(Today);
    const book::CellChanges wrong{{{5, 1}, "not what is stored"}};
    const int before = p.logged();
    EXPECT_TRUE(pages.writeCells(page.id, {{{5, 1}, "X"}}, &wrong).conflict);
    EXPECT_EQ(p.logged(), before);

    pages.writeMemo(page.id, "call back");
    pages.writeClinic(page.id, true);
    const auto log = store::ChangeLog::forRecord(p.a.db, "page", "2026-12-08");
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].command, "closed day");
    EXPECT_EQ(log[1].changes.at(0).field, "Memo");
    EXPECT_EQ(log[1].changes.at(0).after.toString(), "call back");

    std::vector<QDate> dates{Today.addDays(7), Today.addDays(14)};
    for (const QDate &d : dates)
        pages.seek(d, store::SettingsStore(p.a.db).load());
    ASSERT_TRUE(pages.writeCellSeries(dates, 4, 1, "WEEKLY", 0xFFFF, [](const QDate &, const QString &) { return true; })
                    .written);
    store::LogFilter all;
    const auto series = store::ChangeLog::between(p.a.db, all);
    ASSERT_GE(series.size(), 2u);
    EXPECT_EQ(series[0].command, "series of 2");
    EXPECT_EQ(series[0].batch, series[1].id);
    EXPECT_EQ(series[1].key, "2026-12-15");
}

QUILLON_BOTH_ENGINES(PageHistoryTest);

} // namespace
