#include "store/core/database.h"
#include "store/core/schema.h"
#include "support/teststore.h"
#include "ui/core/stationwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

using store::Database;
using store::DbError;
using store::WriteTransaction;

namespace {

// Station A writes the setup record while station B holds it (on a server
// B has locked the record; in the file B's write holds the file).
class StationWaitTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(store.open(a).ok());
        ASSERT_TRUE(store.open(b).ok());
        id = a.scalar(QStringLiteral("SELECT ID FROM tbl_Setup")).toInt();
        a.setWaitListener(&wait);
        wait.setPump([this](int) { pump(++pumped); });
        QObject::connect(&wait, &ui::StationWait::waitingChanged, [this](bool on) { shown << on; });
        QObject::connect(&wait, &ui::StationWait::stillWaiting, [this](qint64 ms) {
            if (firstTold < 0)
                firstTold = ms;
        });
    }

    void holdSetup()
    {
        b.beginWrite();
        b.selectOneForUpdate(QStringLiteral("SELECT Spare FROM tbl_Setup WHERE ID = ?"), {id});
    }
    void writeSpare(Database &db, const QString &value)
    {
        WriteTransaction tx(db);
        db.selectOneForUpdate(QStringLiteral("SELECT Spare FROM tbl_Setup WHERE ID = ?"), {id});
        db.update(store::tables::Setup, id, {{"Spare", value}});
        tx.commit();
    }
    QString spare() { return b.scalar(QStringLiteral("SELECT Spare FROM tbl_Setup WHERE ID = ?"), {id}).toString(); }

    Database a, b;
    int id = 0;
    ui::StationWait wait;
    std::function<void(int)> pump = [](int) {};
    int pumped = 0;
    qint64 firstTold = -1;
    QList<bool> shown;
};

TEST_P(StationWaitTest, TheWaitShowsAtOnceAndTheWriteGoesInOnceTheOtherLetsGo)
{
    holdSetup();
    pump = [this](int n) {
        if (n == 1) {
            // While the windows draw, this station reads but starts no write of its own.
            EXPECT_EQ(a.scalar(QStringLiteral("SELECT COUNT(*) FROM tbl_Setup")).toInt(), 1);
            try {
                WriteTransaction tx(a);
                ADD_FAILURE() << "a write began inside the wait";
            } catch (const DbError &e) {
                EXPECT_EQ(e.number(), DbError::Busy);
            }
        }
        if (n == 3) {
            b.update(store::tables::Setup, id, {{"Spare", "B"}});
            b.commit();
        }
    };
    QElapsedTimer took;
    took.start();
    writeSpare(a, QStringLiteral("A"));

    EXPECT_EQ(spare(), "A");
    EXPECT_GE(pumped, 3);
    EXPECT_GE(firstTold, 0);
    EXPECT_LT(firstTold, 1000);
    EXPECT_EQ(shown, (QList<bool>{true, false}));
    EXPECT_LT(took.elapsed(), Database::DefaultBusyTimeoutMs);
    EXPECT_FALSE(a.inTransaction());
}

TEST_P(StationWaitTest, StoppingEndsTheWaitAsALockFailureAndWritesNothing)
{
    const QString before = spare();
    holdSetup();
    pump = [this](int) { wait.stop(); };
    QElapsedTimer took;
    took.start();
    try {
        writeSpare(a, QStringLiteral("A"));
        FAIL() << "the write went in under the other station's hold";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::Busy) << e.numbered().toStdString();
    }
    EXPECT_LT(took.elapsed(), 2000);
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(shown, (QList<bool>{true, false}));
    EXPECT_FALSE(a.inTransaction());

    // The rest of the stopped action (a save reads again) does not wait.
    EXPECT_THROW(writeSpare(a, QStringLiteral("A")), DbError);
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(shown, (QList<bool>{true, false}));
    // Back in the main loop, the next action waits again.
    QElapsedTimer later;
    later.start();
    while (wait.stopHolds() && later.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(wait.stopHolds());

    b.rollback();
    EXPECT_EQ(spare(), before);
    // The next write does not wait.
    writeSpare(a, QStringLiteral("A"));
    EXPECT_EQ(spare(), "A");
    EXPECT_EQ(pumped, 1);
}

QUILLON_BOTH_ENGINES(StationWaitTest);

} // namespace
