#include "store/core/dbcopy.h"
#include "store/core/schema.h"
#include "storefixture.h"

#include <QDir>
#include <QTemporaryDir>

namespace tables = store::tables;

namespace {

class DatabaseCopyTest : public storetest::StoreTest {};

// On either engine a backup is a db.mdb any station can restore, and a
// restore brings back exactly what was backed up, seen by other stations.
TEST_P(DatabaseCopyTest, ABackupIsAFileThatRestoresTheRecords)
{
    const int fileNo = db.insert(tables::PatientDetails, {{"PLastName", "Backed Up"}});
    const auto copy = store::DatabaseCopy::forDatabase(db);
    ASSERT_NE(copy, nullptr);
    QTemporaryDir dest;
    const QString file = QDir(dest.path()).filePath("db.mdb");
    copy->writeSnapshot(file);
    EXPECT_EQ(copy->problemWith(file), QString());

    db.remove(tables::PatientDetails, fileNo);
    db.insert(tables::PatientDetails, {{"PLastName", "After"}});
    store::Database other;
    openOther(other);
    copy->replaceWith(file);
    EXPECT_EQ(other.scalar("SELECT PLastName FROM tbl_PatientDetails WHERE FileNo = ?", {fileNo}).toString(),
              "Backed Up");
    EXPECT_EQ(other.scalar("SELECT COUNT(*) FROM tbl_PatientDetails WHERE PLastName = 'After'").toInt(), 0);
    // The counter goes on after the restored keys.
    EXPECT_GT(db.insert(tables::PatientDetails, {{"PLastName", "Next"}}), fileNo);
}

// A station that read before a restore writes nothing after it, and
// numbers issued before the restore are never issued again.
TEST_P(DatabaseCopyTest, AStationThatReadBeforeARestoreWritesNothingAndNoNumberComesTwice)
{
    const auto copy = store::DatabaseCopy::forDatabase(db);
    QTemporaryDir dest;
    const QString file = QDir(dest.path()).filePath("db.mdb");
    copy->writeSnapshot(file);
    const int deleted = db.insert(tables::Accounts, {{"FileNo", 1}});
    db.remove(tables::Accounts, deleted);
    const int kept = db.insert(tables::PatientDetails, {{"PLastName", "Issued after the backup"}});

    store::Database other;
    openOther(other);
    const int epoch = other.epoch();
    copy->replaceWith(file);

    // The other station still holds file number `kept`: its write is refused.
    try {
        store::WriteTransaction tx(other);
        other.update(tables::PatientDetails, kept, {{"PLastName", "Lands in another file"}});
        tx.commit();
        ADD_FAILURE() << "a write over restored data went through";
    } catch (const store::DbError &e) {
        EXPECT_EQ(e.number(), store::DbError::Restored);
    }
    EXPECT_EQ(other.epoch(), epoch + 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails WHERE FileNo = ?", {kept}).toInt(), 0);
    // Having been told, it goes on with the restored data; so does the
    // restoring station, without being told.
    EXPECT_GT(other.insert(tables::PatientDetails, {{"PLastName", "New"}}), kept);
    store::WriteTransaction tx(db);
    EXPECT_GT(db.insert(tables::Accounts, {{"FileNo", 1}}), deleted);
    tx.commit();
}

QUILLON_BOTH_ENGINES(DatabaseCopyTest);

} // namespace
