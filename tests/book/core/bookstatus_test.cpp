#include "bookfixture.h"

#include "book/pages/pagegrid.h"

using namespace booktest;

namespace {

class BookStatus : public BookTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(st.prompter.allAnswered());
    }
    QVariant pageField(const QDate &d, const char *field)
    {
        return st.db.scalar(QStringLiteral("SELECT %1 FROM tbl_Appt WHERE CalDate = ?").arg(field), {d});
    }
};

TEST_P(BookStatus, DailyMemoBelongsToItsPageAndTheFixedMemoToEveryPage)
{
    st.book->panel().memoFocusIn(false);
    st.book->panel().memoFocusOut(false, "Call the lab");
    st.book->panel().memoFocusOut(true, "Staff meeting Fridays");
    EXPECT_EQ(pageField(Today, "Memo").toString(), "Call the lab");

    st.book->session().openPage(Today.addDays(2));
    EXPECT_EQ(st.book->panel().dailyMemo(), "");
    EXPECT_EQ(st.book->panel().fixedMemo(), "Staff meeting Fridays");
    st.book->session().openPage(Today);
    EXPECT_EQ(st.book->panel().dailyMemo(), "Call the lab");

    // The memo switch names the memo it switches to.
    EXPECT_EQ(st.book->panel().memoButtonCaption(), "Fixed Memo");
    st.book->panel().memoCommand();
    EXPECT_TRUE(st.book->panel().fixedMemoShown());
    EXPECT_EQ(st.book->panel().memoButtonCaption(), "Daily Memo");
}

TEST_P(BookStatus, ClosingTheOfficePaintsThePageAndStoresIt)
{
    st.book->session().openPage(Today);
    st.prompter.expectMessage();
    st.book->panel().statusChosen(1);
    EXPECT_EQ(st.prompter.last().text, "Please logout all other stations before changing office status!");
    EXPECT_EQ(st.prompter.last().title, "Change Office Status");
    EXPECT_TRUE(store::Database::toBool(pageField(Today, "Clinic")));
    const auto &g = st.book->session().grid();
    for (int c = 1; c < g.cols(); ++c)
        for (int r = 3; r < g.rows(); ++r)
            ASSERT_EQ(g.cellColor(r, c), book::DesktopColor);
    EXPECT_EQ(st.book->panel().statusIndex(), 1);

    st.prompter.expectMessage();
    st.book->panel().statusChosen(0);
    EXPECT_FALSE(store::Database::toBool(pageField(Today, "Clinic")));
    EXPECT_EQ(g.cellColor(3, 1), book::DefaultCellColor);
}

TEST_P(BookStatus, AClosedWeekdayOpensClosed)
{
    // Saturday is closed by the first settings.
    st.book->session().openPage(QDate(2026, 12, 12));
    EXPECT_TRUE(st.book->session().closed());
    EXPECT_EQ(st.book->panel().statusEntries().at(st.book->panel().statusIndex()), " Office Closed");
    EXPECT_EQ(st.book->session().grid().cellColor(3, 1), book::DesktopColor);
}

TEST_P(BookStatus, TheTimerFollowsTheSettingAndStopsWhileTyping)
{
    st.book->activate();
    EXPECT_FALSE(st.book->panel().timerEnabled());

    st.setSetting("Timer1", 1);
    st.setSetting("Refresh", 20);
    Station other(store);
    ASSERT_TRUE(other.book->load(Today));
    other.book->activate();
    EXPECT_TRUE(other.book->panel().timerEnabled());
    EXPECT_EQ(other.book->panel().timerIntervalMs(), 20000);
    other.book->entry().gridKeyPress(QLatin1Char('a'));
    EXPECT_FALSE(other.book->panel().timerEnabled());
    other.book->entry().editorKeyPress(QChar(9));
    EXPECT_TRUE(other.book->panel().timerEnabled());

    // A tick brings another station's booking onto the page.
    st.type(10, 3, "Walker");
    other.book->panel().timerTick();
    EXPECT_EQ(other.book->session().grid().textMatrix(10, 3), "Walker");
}

TEST_P(BookStatus, TheBookNameNeedsTheStationFile)
{
    st.prompter.expectMessage();
    st.book->panel().bookNameFocusIn();
    st.book->panel().bookNameEntered("Front desk");
    EXPECT_EQ(st.prompter.last().text, "Another user is updating same data. Please wait a while and try again");
    EXPECT_EQ(st.prompter.last().title, "Change Scheduler ID");
    EXPECT_EQ(st.db.scalar("SELECT BookNo FROM tbl_Setup").toString(), "Book 1");

    store::Database station;
    ASSERT_TRUE(station.open(store.dir().file("dbn.mdb"), store::Database::Kind::Station).ok());
    station.close();
    st.book->panel().bookNameEntered("Front desk");
    EXPECT_EQ(st.db.scalar("SELECT BookNo FROM tbl_Setup").toString(), "Front desk");
    EXPECT_TRUE(st.book->panel().bookNameLocked());
}

TEST_P(BookStatus, ChangingTheBlockoutString)
{
    st.prompter.answerInput("XXXX");
    st.book->blockHost().changeBlockoutString();
    EXPECT_EQ(st.prompter.last().text, "Enter Blockout String");
    EXPECT_EQ(st.prompter.last().defaultText, "- - - - - - - - - - - - - - - -");
    EXPECT_EQ(st.db.scalar("SELECT Blockout FROM tbl_Setup").toString(), "XXXX");
    st.prompter.answerInput("");
    st.book->blockHost().changeBlockoutString();
    EXPECT_EQ(st.db.scalar("SELECT Blockout FROM tbl_Setup").toString(), "XXXX");
}

TEST_P(BookStatus, AnOldPageKeepsItsOwnLayout)
{
    st.type(3, 1, "Smith");
    st.setSetting("open", "09:00 AM");
    st.setSetting("Listno", 5);
    st.setSetting("names", "A%B%C%D%E%");
    st.book->session().openPage(Today.addDays(1));
    EXPECT_EQ(st.book->session().grid().cols(), 6);
    EXPECT_EQ(st.book->session().grid().textMatrix(3, 0), "09:00 AM");
    st.book->session().openPage(Today);
    EXPECT_EQ(st.book->session().grid().cols(), 4);
    EXPECT_EQ(st.book->session().grid().textMatrix(3, 0), "08:00 AM");
    EXPECT_EQ(st.book->session().grid().textMatrix(3, 1), "Smith");
}

class SeekRecord : public testsupport::EngineTest {};

TEST_P(SeekRecord, APersistentFailureIsReportedAndEnds)
{
    Station st(store);
    ASSERT_TRUE(st.book->load(Today));
    store::Database other;
    ASSERT_TRUE(store.open(other).ok());
    st.db.setBusyTimeout(20);
    // Another station is making the same page and does not let go.
    other.beginWrite();
    other.insert(store::tables::Appt, {{"CalDate", Today.addDays(5)}});
    st.prompter.expectMessage().expectMessage().expectMessage();
    st.book->session().openPage(Today.addDays(5));
    other.rollback();
    ASSERT_EQ(st.prompter.transcript().size(), 3u);
    EXPECT_TRUE(st.prompter.transcript()[0].text.endsWith(
        "  Another user is currently creating this page. Please wait a while to open it..."));
    EXPECT_EQ(st.prompter.transcript()[0].title, "Seek Record");
    EXPECT_EQ(st.book->session().date(), Today);   // the page shown stays
    EXPECT_EQ(st.pageCount(), 1);
}

QUILLON_BOTH_ENGINES(BookStatus);
QUILLON_BOTH_ENGINES(SeekRecord);

} // namespace

namespace {

QString storedTimer(Station &st)
{
    const auto r = st.db.selectOne("SELECT Timer1, Refresh FROM tbl_Setup");
    return QStringLiteral("%1 %2").arg(store::Database::toBool(r->value(0)) ? "on" : "off").arg(r->value(1).toInt());
}

} // namespace

TEST_P(BookStatus, F4SwitchesAutoRefreshOnAtTheGivenIntervalAndOffAgainForEveryStation)
{
    st.prompter.answerInput("75").expectMessage();
    st.book->panel().autoRefreshCommand();
    EXPECT_EQ(st.prompter.transcript().at(0).title, "Auto Screen Refresh");
    EXPECT_EQ(st.prompter.transcript().at(1).text,
              "Auto screen refresh now occurs at every 60 seconds.  Please toggle off Auto Screen Refresh before "
              "reading Help file or running other applications to avoid interruptions.");
    EXPECT_EQ(storedTimer(st), "on 60");
    EXPECT_TRUE(st.book->panel().timerEnabled());
    EXPECT_EQ(st.book->panel().timerIntervalMs(), 60000);

    // Another station switched it off meanwhile: this station's F4 is told, not a second switch.
    st.db.exec("UPDATE tbl_Setup SET Timer1 = ?", {false});
    st.prompter.expectMessage();
    st.book->panel().autoRefreshCommand();
    EXPECT_EQ(st.prompter.transcript().at(2).text, "Another station has switched automatic screen refresh off meanwhile.");
    EXPECT_FALSE(st.book->panel().timerEnabled());

    st.prompter.answerInput("abc").expectMessage();
    st.book->panel().autoRefreshCommand();
    EXPECT_EQ(storedTimer(st), "off 60");

    st.prompter.answerInput("10").expectMessage().expectMessage();
    st.book->panel().autoRefreshCommand();
    st.book->panel().autoRefreshCommand();
    EXPECT_EQ(st.prompter.last().text, "Autorefresh has been disabled.");
    EXPECT_EQ(st.prompter.last().title, "AutoRefresh");
    EXPECT_EQ(storedTimer(st), "off 10");
    EXPECT_FALSE(st.book->panel().timerEnabled());

    // Another station stored its own interval meanwhile: this one's is not written over it.
    st.db.exec("UPDATE tbl_Setup SET Refresh = ?", {45});
    st.prompter.answerInput("30").expectMessage();
    st.book->panel().autoRefreshCommand();
    EXPECT_EQ(st.prompter.last().text, "Another station has changed the automatic screen refresh interval to 45 "
                                       "seconds meanwhile, so your 30 seconds were not stored and automatic screen "
                                       "refresh stays off. Press F4 again to switch it on.");
    EXPECT_EQ(storedTimer(st), "off 45");
    EXPECT_FALSE(st.book->panel().timerEnabled());
}
