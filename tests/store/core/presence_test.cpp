// The stations running now: rows appear, are kept fresh and expire by the
// clock, so that a crashed station holds nobody back.
#include "storefixture.h"

#include "store/core/presence.h"
#include "store/core/sharelock.h"

using namespace storetest;

namespace {

const QDateTime Start(QDate(2026, 12, 8), QTime(9, 0));

class PresenceTest : public StoreTest {
protected:
    QDateTime now = Start;
    store::Presence::Now clock = [this] { return now; };
    QStringList names(const std::vector<store::StationSeen> &seen)
    {
        QStringList out;
        for (const auto &s : seen)
            out << s.who.name;
        return out;
    }
};

TEST_P(PresenceTest, RowsAppearStayFreshWhileBeatingAndExpireWhenNotHeardOf)
{
    store::Database other;
    openOther(other);
    db.setStation({"Reception", "desk1", "anna"});
    other.setStation({"Surgery", "desk2", "ben"});
    store::Presence mine(db, clock), theirs(other, clock);
    mine.join();
    now = now.addSecs(10);
    theirs.join(3, true);

    EXPECT_EQ(names(store::Presence::others(db, now)), QStringList{"Surgery"});
    EXPECT_EQ(names(store::Presence::others(other, now)), QStringList{"Reception"});
    const auto all = store::Presence::running(db, now);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].label(), "Surgery (desk2, ben)");
    EXPECT_EQ(all[1].since, Start.addSecs(10));
    EXPECT_EQ(std::make_pair(all[1].lockByte, all[1].lockHeld), std::make_pair(3, true));

    // The other station beats, this one stops (it crashed): after two
    // minutes only the beating one is running.
    now = now.addSecs(store::Presence::GoneSeconds - 5);
    EXPECT_TRUE(theirs.beat());
    now = now.addSecs(10);
    EXPECT_EQ(names(store::Presence::running(db, now)), QStringList{"Surgery"});

    // A row that went missing (the data was replaced) is made again.
    db.exec("DELETE FROM sys_Station");
    EXPECT_TRUE(theirs.beat());
    EXPECT_EQ(names(store::Presence::others(db, now)), QStringList{"Surgery"});

    // Leaving removes the row at once.
    theirs.leave();
    EXPECT_TRUE(store::Presence::others(db, now).empty());
    EXPECT_FALSE(theirs.beat());
}

QUILLON_BOTH_ENGINES(PresenceTest);

// Two stations of other machines on one db.mdb: each holds its own byte of
// the lock file; a byte a fresh row says is held but that this station can
// take shows a share whose locks do not reach across.
TEST(ShareLockTest, ALockThatDoesNotReachAcrossIsFoundAndOneThatDoesIsNot)
{
    testsupport::TestDir dir;
    const QString dbPath = dir.file("db.mdb");
    store::ShareLock first, second;
    ASSERT_TRUE(first.take(dbPath));
    ASSERT_TRUE(second.take(dbPath));
    EXPECT_NE(first.byte(), second.byte());

    store::StationSeen other;
    other.who = {"Surgery", "desk2", "ben"};
    other.lockByte = first.byte();
    other.lockHeld = true;
    EXPECT_TRUE(store::ShareLock::unreachedLocks(dbPath, {other}, "desk1").empty());
    // The same host's rows are not looked at: its locks are its own.
    first.release();
    EXPECT_TRUE(store::ShareLock::unreachedLocks(dbPath, {other}, "desk2").empty());
    const auto unreached = store::ShareLock::unreachedLocks(dbPath, {other}, "desk1");
    ASSERT_EQ(unreached.size(), 1u);
    EXPECT_EQ(unreached[0].who.name, "Surgery");
}

} // namespace
