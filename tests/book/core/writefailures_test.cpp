// Writes the database refuses for a cause no other station makes (a full
// disk, a folder that takes no journal, a database that takes no changes):
// the user is told that cause, nothing is half written, nothing typed is lost.
#include "bookfixture.h"

#include "book/core/blockops.h"
#include "store/core/dberror.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

using namespace booktest;
using store::DbError;
using store::DbTrouble;

namespace {

// What stands in the way of one station's writes; reads still work.
class Obstacle {
public:
    enum Kind {
        NoJournal,   // the folder takes no journal file (file only)
        FullDisk,    // no room for the change (file only)
        ReadOnly,    // the database takes no changes from this station
    };
    Obstacle(Station &st, Kind kind) : m_st(st), m_kind(kind)
    {
        switch (kind) {
        case NoJournal:
            // Where the journal would go, a link into a folder that is not there.
            EXPECT_TRUE(QFile::link(QStringLiteral("/nonexistent-quillon/journal"), journal()));
            break;
        case FullDisk: fill(); break;
        case ReadOnly:
            st.db.exec(st.db.onServer() ? "SET default_transaction_read_only = on" : "PRAGMA query_only = 1");
            break;
        }
    }
    void lift()
    {
        switch (m_kind) {
        case NoJournal: QFile::remove(journal()); break;
        case FullDisk: m_st.db.exec("PRAGMA max_page_count = 1073741823"); break;
        case ReadOnly:
            m_st.db.exec(m_st.db.onServer() ? "SET default_transaction_read_only = off" : "PRAGMA query_only = 0");
            break;
        }
    }
    // What the message names as the cause.
    QString cause() const
    {
        switch (m_kind) {
        case NoJournal: return "cannot be written to (14 unable to open database file)";
        case FullDisk: return "is full (13 ";
        case ReadOnly: return m_st.db.onServer() ? "takes no changes from this station" : "cannot be written to (8 ";
        }
        return {};
    }

private:
    QString journal() const { return m_st.db.path() + "-journal"; }
    // The file may not grow, and its pages of day pages and colours are
    // filled to the last bytes.
    void fill()
    {
        const int pages = m_st.db.scalar("PRAGMA page_count").toInt();
        m_st.db.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages));
        QDate d(2040, 1, 1);
        for (const char *table : {"tbl_Appt (CalDate, Data)", "tbl_Color (caldate, CColor)"})
            for (const int size : {1500, 150, 15, 1})
                try {
                    for (;;)
                        m_st.db.exec(QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(table),
                                     {d = d.addDays(1), QString(size, 'x')});
                } catch (const DbError &e) {
                    ASSERT_EQ(store::troubleOf(e), DbTrouble::DiskFull) << e.numbered().toStdString();
                }
    }

    Station &m_st;
    Kind m_kind;
};

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

class WriteFailures : public BookTest {
protected:
    // The obstacles each engine can be given.
    std::vector<Obstacle::Kind> obstacles() const
    {
        if (onServer())
            return {Obstacle::ReadOnly};
        return {Obstacle::NoJournal, Obstacle::FullDisk, Obstacle::ReadOnly};
    }
};

TEST_P(WriteFailures, AnEntryTheDatabaseRefusesIsKeptAndTheCauseNamed)
{
    const Obstacle::Kind kind = onServer() ? Obstacle::ReadOnly : Obstacle::NoJournal;
    Obstacle obstacle(st, kind);
    st.prompter.expectMessage();
    st.type(5, 1, "Smith");
    const QString said = st.prompter.last().text;
    EXPECT_EQ(st.prompter.last().title, "Save Cell Content");
    EXPECT_TRUE(said.contains(obstacle.cause())) << said.toStdString();
    EXPECT_TRUE(said.contains("Your entry was not stored. It is still in the editor")) << said.toStdString();
    EXPECT_TRUE(st.book->editor().visible);
    EXPECT_EQ(st.book->editor().text, "Smith");

    obstacle.lift();
    st.book->editorKeyPress(QChar(9));
    EXPECT_EQ(st.stored(Today, 5, 1), "Smith");
    EXPECT_FALSE(st.windows.quitCalled());
}

// Cut, Delete and Blockout write texts (and colours) of the whole block, or
// nothing; a full disk is no other user updating the record.
TEST_P(WriteFailures, BlockCommandsTheDatabaseRefusesWriteNothingAndNameTheCause)
{
    enum class Command { Cut, Delete, Blockout };
    for (const Obstacle::Kind kind : obstacles())
        for (const Command command : {Command::Cut, Command::Delete, Command::Blockout}) {
            testsupport::TestStore fresh(engine());
            Station a(fresh);
            ASSERT_TRUE(a.book->load(Today));
            a.type(3, 1, "Smith");
            a.type(4, 2, "Jones");
            a.book->gridMouseDown(1, 0, 3, 1);
            a.book->gridMouseUp(1, 0, 3, 1);
            a.book->gridMouseUp(1, book::ShiftKey, 4, 2);
            Obstacle obstacle(a, kind);
            if (command == Command::Delete)
                a.prompter.answerYes();
            a.prompter.expectMessage();
            switch (command) {
            case Command::Cut: a.book->blocks().cut(); break;
            case Command::Delete: a.book->blocks().remove(); break;
            case Command::Blockout: a.book->blocks().blockout(); break;
            }
            const QString said = a.prompter.last().text;
            SCOPED_TRACE(a.prompter.last().title.toStdString() + ": " + said.toStdString());
            EXPECT_TRUE(said.contains(obstacle.cause()));
            EXPECT_TRUE(said.contains("Nothing was changed."));
            EXPECT_EQ(a.stored(Today, 3, 1), "Smith");
            EXPECT_EQ(a.stored(Today, 4, 2), "Jones");
            EXPECT_EQ(a.book->grid().textMatrix(3, 1), "Smith");
            EXPECT_TRUE(a.prompter.failures().isEmpty()) << a.prompter.failures().join("\n").toStdString();
        }
}

// F2 failing for a held database or a refused write says so, not that the
// user typed something other than a number.
TEST_P(WriteFailures, ARecurrentBookingSaysWhyItFailed)
{
    st.type(5, 1, "Smith");
    st.book->grid().setCursor(5, 1);
    Station other(store);
    st.db.setBusyTimeout(50);
    QSqlQuery hold(other.db.connection());
    // Another station takes the pages while the confirmation is on screen.
    st.prompter.answerInput("1").answerInput("4").answerYes().expectMessage();
    onPrompt(st.prompter, 2, [&] {
        ASSERT_TRUE(onServer() ? hold.exec("BEGIN") && hold.exec("LOCK TABLE tbl_appt IN ACCESS EXCLUSIVE MODE")
                               : hold.exec("BEGIN EXCLUSIVE"));
    });
    st.book->recurrentBooking();
    ASSERT_TRUE(hold.exec("ROLLBACK"));
    QString said = st.prompter.last().text;
    EXPECT_TRUE(said.startsWith("Another station is holding the database")) << said.toStdString();
    EXPECT_TRUE(said.contains("Recurrent booking failed: nothing was booked.")) << said.toStdString();
    EXPECT_EQ(st.stored(Today.addDays(7), 5, 1), "");

    for (const Obstacle::Kind kind : obstacles()) {
        Obstacle obstacle(st, kind);
        st.prompter.clear();
        st.prompter.answerInput("1").answerInput("4").answerYes().expectMessage();
        st.book->recurrentBooking();
        said = st.prompter.last().text;
        EXPECT_TRUE(said.contains(obstacle.cause())) << said.toStdString();
        EXPECT_FALSE(said.contains("numbers")) << said.toStdString();
        EXPECT_EQ(st.stored(Today.addDays(7), 5, 1), "");
        obstacle.lift();
    }
}

TEST(WriteFailureCauses, ServerErrorsReadAsTheFileEnginesDo)
{
    const auto trouble = [](const char *code) {
        return store::troubleOf(DbError::from(QSqlError(QString(), "ERROR:  refused", QSqlError::StatementError, code)));
    };
    EXPECT_EQ(trouble("53100"), DbTrouble::DiskFull);     // server: disk full
    EXPECT_EQ(trouble("25006"), DbTrouble::Unwritable);   // server: read-only transaction
    EXPECT_EQ(trouble("55P03"), DbTrouble::Busy);         // server: lock timeout
    EXPECT_EQ(trouble("13"), DbTrouble::DiskFull);
    EXPECT_EQ(trouble("14"), DbTrouble::Unwritable);
    EXPECT_EQ(trouble("1032"), DbTrouble::Unwritable);    // read-only: the file was moved
    EXPECT_EQ(trouble("5"), DbTrouble::Busy);
    EXPECT_EQ(trouble("19"), DbTrouble::Other);           // a duplicate key
    EXPECT_EQ(store::troubleOf(DbError(DbError::NoCurrentRecord, "gone")), DbTrouble::Gone);
}

QUILLON_BOTH_ENGINES(WriteFailures);

} // namespace
