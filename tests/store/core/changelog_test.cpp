#include "store/core/changelog.h"
#include "store/core/dbcopy.h"
#include "store/core/migrations.h"
#include "store/core/schema.h"
#include "store/core/settings.h"
#include "storefixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUuid>
#include <functional>

using store::ChangeLog;
using store::SettingsStore;

namespace {

class ChangeLogTest : public storetest::StoreTest {
protected:
    std::vector<store::LogEntry> setupLog() { return ChangeLog::forRecord(db, "setup", "1"); }
};

// A write and its entry are stored together: a refused write, and a write
// whose transaction is abandoned, leave no entry; a written one records the
// station, the command and each field's old and new value.
TEST_P(ChangeLogTest, EntriesAreWrittenInTheChangesOwnTransaction)
{
    db.setStation({"Front desk", "pc-1", "mary"});
    SettingsStore settings(db);
    EXPECT_FALSE(settings.writeFields({{"location", "Elsewhere"}}, {{"location", "Clinic"}}).written());
    {
        store::WriteTransaction outer(db);
        settings.write({{"location", "Abandoned"}});
    }
    EXPECT_TRUE(setupLog().empty());
    EXPECT_EQ(count(store::tables::ChangeLog), 0);

    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    {
        store::CommandScope scope(db, "Okay");
        store::CommandScope inner(db, "ignored");
        settings.write({{"location", "Clinic \"A\""}, {"timeslot", 15}});
    }
    settings.write({{"location", "Clinic B"}});
    const auto log = setupLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].command, "setup");   // outside a scope: the write path's own name
    const store::LogEntry &e = log[1];
    EXPECT_EQ(e.command, "Okay");
    EXPECT_EQ(e.station, "Front desk");
    EXPECT_EQ(e.host, "pc-1");
    EXPECT_EQ(e.user, "mary");
    EXPECT_GE(e.at, before);
    EXPECT_LE(e.at, QDateTime::currentDateTime().addSecs(2));
    ASSERT_EQ(e.changes.size(), 2u);
    EXPECT_EQ(e.changes[0].field, "location");
    EXPECT_EQ(ChangeLog::shown(e.changes[0].after), "Clinic \"A\"");
    EXPECT_EQ(ChangeLog::shown(e.changes[1].before), "30");
    EXPECT_EQ(ChangeLog::shown(e.changes[1].after), "15");

    store::LogFilter f;
    f.from = QDate::currentDate();
    f.to = f.from;
    f.user = "mary";
    EXPECT_EQ(ChangeLog::between(db, f).size(), 2u);
    f.user = "john";
    EXPECT_TRUE(ChangeLog::between(db, f).empty());
    f = {};
    f.to = QDate::currentDate().addDays(-1);
    EXPECT_TRUE(ChangeLog::between(db, f).empty());
    EXPECT_EQ(ChangeLog::stations(db), QStringList{"Front desk"});
}

// A command over several records is one batch of entries.
TEST_P(ChangeLogTest, ACommandOverSeveralRecordsIsOneBatch)
{
    store::Edit a{"page", QDate(2026, 3, 2), {}}, b{"page", QDate(2026, 3, 9), {}}, none{"page", QDate(2026, 3, 16), {}};
    a.add("3,1", "", "SMITH", "08:00 AM\tDr A");
    b.add("3,1", "JONES", "SMITH");
    {
        store::WriteTransaction tx(db);
        ChangeLog::append(db, std::vector<store::Edit>{a, none, b}, "series of 3");
        tx.commit();
    }
    store::LogFilter all;
    const auto log = ChangeLog::between(db, all);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].batch, log[1].id);
    EXPECT_EQ(log[1].batch, log[1].id);
    EXPECT_EQ(log[1].key, "2026-03-02");
    EXPECT_EQ(log[1].changes[0].label, "08:00 AM\tDr A");
    EXPECT_EQ(log[0].changes[0].before.toString(), "JONES");
}

// A restore brings the data back, not the log: what was logged since the
// backup stays, with the restore itself after it, on either engine.
TEST_P(ChangeLogTest, ARestoreKeepsTheLogAndIsLogged)
{
    SettingsStore settings(db);
    settings.write({{"location", "Backed up"}});
    const auto copy = store::DatabaseCopy::forDatabase(db);
    QTemporaryDir dest;
    const QString file = QDir(dest.path()).filePath("db.mdb");
    copy->writeSnapshot(file);
    settings.write({{"location", "After the backup"}});
    {
        store::CommandScope scope(db, "Restore from backup");
        copy->replaceWith(file);
    }
    EXPECT_EQ(settings.load().location, "Backed up");
    ASSERT_EQ(setupLog().size(), 2u);
    EXPECT_EQ(setupLog()[0].changes[0].after.toString(), "After the backup");
    const auto restores = ChangeLog::forRecord(db, "database", "restore");
    ASSERT_EQ(restores.size(), 1u);
    EXPECT_EQ(restores[0].command, "Restore from backup");
    EXPECT_GT(restores[0].id, setupLog()[0].id);
    // And the log goes on after it.
    settings.write({{"location", "Next"}});
    EXPECT_GT(setupLog()[0].id, restores[0].id);
}

// The server set-up the README documents: the front desk role may only add
// to the log and read it, and every write of the program, a backup and a
// restore included, still goes through.
TEST_P(ChangeLogTest, OnAServerTheDeskNeedsOnlyToAddToTheLog)
{
    if (!db.onServer())
        GTEST_SKIP() << "roles are the server's";
    const QString role = "quillon_desk_" + QUuid::createUuid().toString(QUuid::Id128).left(12);
    for (const QString &sql : {"CREATE ROLE " + role, "GRANT ALL ON ALL TABLES IN SCHEMA public TO " + role,
                               "GRANT ALL ON ALL SEQUENCES IN SCHEMA public TO " + role,
                               "REVOKE ALL ON sys_changelog FROM " + role,
                               "GRANT SELECT, INSERT ON sys_changelog TO " + role,
                               "REVOKE ALL ON SEQUENCE sys_changelog_id_seq FROM " + role,
                               "GRANT SELECT ON SEQUENCE sys_changelog_id_seq TO " + role})
        db.exec(sql);
    store::Database desk;
    openOther(desk);
    desk.exec("SET ROLE " + role);
    SettingsStore(desk).write({{"location", "As the desk"}});
    const auto copy = store::DatabaseCopy::forDatabase(desk);
    QTemporaryDir dest;
    const QString file = QDir(dest.path()).filePath("db.mdb");
    copy->writeSnapshot(file);
    copy->replaceWith(file);
    EXPECT_EQ(ChangeLog::forRecord(desk, "database", "restore").size(), 1u);
    EXPECT_THROW(desk.exec("DELETE FROM sys_ChangeLog"), store::DbError);
    EXPECT_THROW(desk.exec("UPDATE sys_ChangeLog SET Command = 'x'"), store::DbError);
    desk.close();
    db.exec("DROP OWNED BY " + role);
    db.exec("DROP ROLE " + role);
}

// Data of the version before the log gets it when a station opens it.
TEST_P(ChangeLogTest, OlderDataGetsTheLog)
{
    db.exec("DROP TABLE sys_ChangeLog");
    db.exec("UPDATE sys_Schema SET Version = ?", {store::ChangeLogStep - 1});
    db.close();
    const auto r = store.open(db);
    ASSERT_EQ(r.status, store::Database::Status::Opened) << r.detail.toStdString();
    EXPECT_EQ(db.scalar("SELECT MAX(Version) FROM sys_Schema").toInt(), store::Database::SchemaVersion);
    SettingsStore(db).write({{"location", "Logged"}});
    EXPECT_EQ(setupLog().size(), 1u);
}

// A log of the version before the block range index: on a server its
// B-tree by time becomes one, and its entries (no batch, no host where it
// was the station's name) read as they were written.
TEST_P(ChangeLogTest, AnOlderLogIsKeptWithItsIndexByTimeMadeSmaller)
{
    const QString index = store::tables::ChangeLog + "_ChangeAt";
    db.exec("DROP INDEX " + store::Dialect::quote(index));
    db.exec("CREATE INDEX " + store::Dialect::quote(index) + " ON sys_ChangeLog (At)");
    db.exec("INSERT INTO sys_ChangeLog (At, Batch, Station, Host, OSUser, Command, Kind, RecordKey, Changes) "
            "VALUES (1765000000, NULL, 'pc-1', NULL, 'mary', 'setup', 'setup', '1', '[[\"location\",\"A\",\"B\"]]')");
    db.exec("UPDATE sys_Schema SET Version = ?", {store::RangedLogStep - 1});
    db.close();
    const auto r = store.open(db);
    ASSERT_EQ(r.status, store::Database::Status::Opened) << r.detail.toStdString();
    EXPECT_EQ(db.scalar("SELECT MAX(Version) FROM sys_Schema").toInt(), store::Database::SchemaVersion);
    if (db.onServer()) {
        EXPECT_TRUE(db.scalar("SELECT indexdef FROM pg_indexes WHERE indexname = lower(?)", {index})
                        .toString()
                        .contains("brin"));
    }
    SettingsStore(db).write({{"location", "C"}});
    const auto log = setupLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].batch, log[1].id);
    EXPECT_EQ(log[1].host, "pc-1");
    EXPECT_EQ(ChangeLog::shown(log[1].changes[0].after), "B");
    EXPECT_EQ(log[0].batch, log[0].id);
    EXPECT_EQ(log[0].host, log[0].station);
    store::LogFilter f;
    f.from = QDate::currentDate();
    EXPECT_EQ(ChangeLog::between(db, f).size(), 1u);
    f.from = QDate(2025, 12, 1);
    f.to = QDate(2025, 12, 31);
    EXPECT_EQ(ChangeLog::between(db, f).size(), 1u);
}

// A log of the version before its smaller indexes: on a server its unique
// B-tree of numbers and its B-tree of kind and key texts give way to block
// ranges and a number made from kind and key, which the readers then use;
// its entries read as they were written and new ones follow on.
TEST_P(ChangeLogTest, AnOlderLogIsKeptWithItsIndexesByNumberAndRecordMadeSmaller)
{
    const QString record = store::Dialect::quote(store::tables::ChangeLog + "_ChangeRecord");
    if (db.onServer()) {
        db.exec("DROP INDEX " + store::Dialect::quote(store::tables::ChangeLog + "_ChangeID"));
        db.exec("DROP INDEX " + record);
        db.exec("CREATE INDEX " + record + " ON sys_ChangeLog (Kind, RecordKey)");
        db.exec("ALTER TABLE sys_ChangeLog ADD PRIMARY KEY (ID)");
    }
    SettingsStore(db).write({{"location", "Before"}});
    store::Edit page{"page", QDate(2026, 3, 2), {}};
    page.add("3,1", "", "SMITH", "08:00 AM\tDr A");
    {
        store::WriteTransaction tx(db);
        ChangeLog::append(db, page, "cells and colours");
        tx.commit();
    }
    db.exec("UPDATE sys_Schema SET Version = ?", {store::CompactLogStep - 1});
    db.close();
    const auto r = store.open(db);
    ASSERT_EQ(r.status, store::Database::Status::Opened) << r.detail.toStdString();
    EXPECT_EQ(db.scalar("SELECT MAX(Version) FROM sys_Schema").toInt(), store::Database::SchemaVersion);
    SettingsStore(db).write({{"location", "After"}});

    const auto read = [&](const std::function<void()> &reader) {
        if (!db.onServer())
            return reader();
        // Whether the reader found its rows by the record's index.
        store::WriteTransaction tx(db);
        db.exec("SET LOCAL enable_seqscan = off");
        reader();
        EXPECT_GT(db.scalar("SELECT pg_stat_get_xact_numscans(to_regclass(lower(?)))",
                            {store::tables::ChangeLog + "_ChangeRecord"})
                      .toInt(),
                  0);
    };
    read([&] {
        const auto log = setupLog();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_GT(log[0].id, log[1].id);
        EXPECT_EQ(ChangeLog::shown(log[1].changes[0].after), "Before");
        EXPECT_EQ(ChangeLog::shown(log[0].changes[0].after), "After");
    });
    read([&] {
        store::LogFilter f;
        f.kind = "page";
        f.key = "2026-03-02";
        const auto log = ChangeLog::between(db, f);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].changes[0].label, "08:00 AM\tDr A");
    });
    if (db.onServer()) {
        EXPECT_FALSE(db.selectOne("SELECT 1 FROM pg_constraint WHERE conrelid = 'sys_changelog'::regclass AND contype = 'p'"));
        EXPECT_TRUE(db.scalar("SELECT indexdef FROM pg_indexes WHERE indexname = lower(?)",
                              {store::tables::ChangeLog + "_ChangeID"})
                        .toString()
                        .contains("brin"));
    }
}

QUILLON_BOTH_ENGINES(ChangeLogTest);

} // namespace
