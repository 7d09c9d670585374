// Writes the database refuses for a cause no other station makes: the user
// is told that cause, nothing is half written, nothing typed is lost.
#include "bookfixture.h"

#include "book/pages/blockops.h"
#include "store/core/dberror.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>

using namespace booktest;
using store::DbError;
using store::DbTrouble;

namespace {

enum class Obstacle { NoJournal, FullDisk, ReadOnly };

// Puts the obstacle in the way of the station's writes (reads still work)
// and returns the words naming it; lift() takes it away.
QString block(Station &st, Obstacle o)
{
    switch (o) {
    case Obstacle::NoJournal:
        // Where the journal would go, a link into a folder that is not there.
        EXPECT_TRUE(QFile::link("/nonexistent-quillon/journal", st.db.path() + "-journal"));
        return "cannot be written to (14 unable to open database file)";
    case Obstacle::FullDisk: {
        // The file may not grow, and its pages of day pages and colours are
        // filled to the last bytes.
        st.db.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(st.db.scalar("PRAGMA page_count").toInt()));
        QDate d(2040, 1, 1);
        for (const char *table : {"tbl_Appt (CalDate, Data)", "tbl_Color (caldate, CColor)"})
            for (const int size : {1500, 150, 15, 1})
                try {
                    for (;;)
                        st.db.exec(QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(table), {d = d.addDays(1), QString(size, 'x')});
                } catch (const DbError &) {
                }
        return "is full (13 ";
    }
    case Obstacle::ReadOnly:
        st.db.exec(st.db.onServer() ? "SET default_transaction_read_only = on" : "PRAGMA query_only = 1");
        return st.db.onServer() ? "takes no changes from this station" : "cannot be written to (8 ";
    }
    return {};
}

void lift(Station &st, Obstacle o)
{
    QFile::remove(st.db.path() + "-journal");
    if (o == Obstacle::FullDisk)
        st.db.exec("PRAGMA max_page_count = 1073741823");
    if (o == Obstacle::ReadOnly)
        st.db.exec(st.db.onServer() ? "SET default_transaction_read_only = off" : "PRAGMA query_only = 0");
}

class WriteFailures : public BookTest {
protected:
    std::vector<Obstacle> obstacles() const
    {
        if (onServer())
            return {Obstacle::ReadOnly};
        return {Obstacle::NoJournal, Obstacle::FullDisk, Obstacle::ReadOnly};
    }
};

TEST_P(WriteFailures, AnEntryTheDatabaseRefusesIsKeptAndTheCauseNamed)
{
    const Obstacle o = onServer() ? Obstacle::ReadOnly : Obstacle::NoJournal;
    const QString cause = block(st, o);
    st.prompter.expectMessage();
    st.type(5, 1, "Smith");
    const QString said = st.prompter.last().text;
    EXPECT_TRUE(said.contains(cause)) << said.toStdString();
    EXPECT_TRUE(said.contains("Your entry was not stored. It is still in the editor")) << said.toStdString();
    EXPECT_EQ(st.book->entry().editor().text, "Smith");

    lift(st, o);
    st.book->entry().editorKeyPress(QChar(9));
    EXPECT_EQ(st.stored(Today, 5, 1), "Smith");
}

// Cut, Delete and Blockout write the whole block or nothing; a full disk is
// no other user updating the record.
TEST_P(WriteFailures, BlockCommandsTheDatabaseRefusesWriteNothingAndNameTheCause)
{
    for (const Obstacle o : obstacles())
        for (const int command : {0, 1, 2}) {
            testsupport::TestStore fresh(engine());
            Station a(fresh);
            ASSERT_TRUE(a.book->load(Today));
            a.type(3, 1, "Smith");
            a.type(4, 2, "Jones");
            a.book->gridMouseDown(1, 0, 3, 1);
            a.book->entry().gridMouseUp(1, 0, 3, 1);
            a.book->entry().gridMouseUp(1, book::ShiftKey, 4, 2);
            const QString cause = block(a, o);
            if (command == 1)
                a.prompter.answerYes();
            a.prompter.expectMessage();
            command == 0 ? a.book->blocks().cut() : command == 1 ? a.book->blocks().remove() : a.book->blocks().blockout();
            const QString said = a.prompter.last().text;
            SCOPED_TRACE(a.prompter.last().title.toStdString() + ": " + said.toStdString());
            EXPECT_TRUE(said.contains(cause));
            EXPECT_TRUE(said.contains("Nothing was changed."));
            EXPECT_EQ(a.stored(Today, 3, 1), "Smith");
            EXPECT_EQ(a.stored(Today, 4, 2), "Jones");
            EXPECT_EQ(a.book->session().grid().textMatrix(3, 1), "Smith");
        }
}

// F2 failing for a held or refusing database says so, not that the user
// typed something other than a number.
TEST_P(WriteFailures, ARecurrentBookingSaysWhyItFailed)
{
    st.type(5, 1, "Smith");
    st.book->session().grid().setCursor(5, 1);
    Station other(store);
    st.db.setBusyTimeout(50);
    QSqlQuery hold(other.db.connection());
    // Another station takes the pages while the confirmation is on screen.
    st.prompter.answerInput("1").answerInput("4").answerYes().expectMessage();
    st.prompter.onNext([&](const ui::ScriptedPrompter::Prompt &) {
        st.prompter.onNext([&](const ui::ScriptedPrompter::Prompt &) {
            st.prompter.onNext([&](const ui::ScriptedPrompter::Prompt &) {
                ASSERT_TRUE(onServer() ? hold.exec("BEGIN") && hold.exec("LOCK TABLE tbl_appt IN ACCESS EXCLUSIVE MODE")
                                       : hold.exec("BEGIN EXCLUSIVE"));
            });
        });
    });
    // Another station holding the pages first, then each obstacle.
    std::vector<std::optional<Obstacle>> runs{std::nullopt};
    for (const Obstacle o : obstacles())
        runs.emplace_back(o);
    for (const auto &o : runs) {
        QString cause = "Another station is holding the database";
        if (o) {
            cause = block(st, *o);
            st.prompter.answerInput("1").answerInput("4").answerYes().expectMessage();
        }
        st.book->recurrent().run();
        if (o)
            lift(st, *o);
        else
            ASSERT_TRUE(hold.exec("ROLLBACK"));
        const QString said = st.prompter.last().text;
        EXPECT_TRUE(said.contains(cause)) << said.toStdString();
        EXPECT_TRUE(said.contains("Recurrent booking failed: nothing was booked.")) << said.toStdString();
        EXPECT_EQ(st.stored(Today.addDays(7), 5, 1), "");
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
    EXPECT_EQ(trouble("1032"), DbTrouble::Unwritable);    // read-only: the file was moved
    EXPECT_EQ(trouble("19"), DbTrouble::Other);           // a duplicate key
}

QUILLON_BOTH_ENGINES(WriteFailures);

} // namespace
