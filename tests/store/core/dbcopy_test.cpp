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

QUILLON_BOTH_ENGINES(DatabaseCopyTest);

} // namespace
