// A station hears of the other stations' committed writes, and only of those.
#include "storefixture.h"

#include "store/core/changewatcher.h"
#include "store/core/schema.h"
#include "store/core/transfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

using namespace storetest;

namespace {

struct Heard {
    QString kind, key;
};

class ChangeWatcherTest : public StoreTest {
protected:
    // Runs the event loop until the watcher reported something, or `ms` passed.
    bool heardWithin(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (heard.empty() && t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        return !heard.empty();
    }
    void writeMemo(store::Database &on, const QString &text, bool commit)
    {
        store::WriteTransaction tx(on);
        on.exec(QStringLiteral("UPDATE tbl_Setup SET FixedMemo = ?"), {text});
        store::ChangeWatcher::announce(on, QStringLiteral("setup"), QStringLiteral("1"));
        if (commit)
            tx.commit();
    }
    std::vector<Heard> heard;
};

TEST_P(ChangeWatcherTest, ReportsAnotherStationsCommittedWriteButNotItsOwnNorARolledBackOne)
{
    store::Database other;
    openOther(other);
    store::ChangeWatcher watcher(db);
    QObject::connect(&watcher, &store::ChangeWatcher::changed,
                     [this](const QString &kind, const QString &key) { heard.push_back({kind, key}); });
    watcher.start();

    writeMemo(db, "own", true);
    writeMemo(other, "rolled back", false);
    EXPECT_FALSE(heardWithin(3 * store::ChangeWatcher::PollMs));

    writeMemo(other, "committed", true);
    ASSERT_TRUE(heardWithin(1000));
    ASSERT_EQ(heard.size(), 1u);
    // The server names what changed; the file only says that something did.
    EXPECT_EQ(heard[0].kind, onServer() ? "setup" : "");
    EXPECT_EQ(heard[0].key, onServer() ? "1" : "");

    // Stopped, it hears nothing more.
    heard.clear();
    watcher.stop();
    writeMemo(other, "after", true);
    EXPECT_FALSE(heardWithin(3 * store::ChangeWatcher::PollMs));
}

// A restore replaces every record: the stations hear that all data changed.
TEST_P(ChangeWatcherTest, ReplacingTheDataIsHeardAsEverythingChanged)
{
    testsupport::TestDir backup;
    store::Database file, other;
    ASSERT_TRUE(file.open(backup.file("db.mdb")).ok());
    openOther(other);
    store::ChangeWatcher watcher(db);
    QObject::connect(&watcher, &store::ChangeWatcher::changed,
                     [this](const QString &kind, const QString &key) { heard.push_back({kind, key}); });
    watcher.start();

    store::Transfer::replaceAll(file, other);
    ASSERT_TRUE(heardWithin(1000));
    EXPECT_EQ(heard[0].kind, onServer() ? "data" : "");
}

QUILLON_BOTH_ENGINES(ChangeWatcherTest);

} // namespace
