#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "storefixture.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

using store::Database;
using storetest::bytesOf;
namespace tables = store::tables;

namespace {

// Opening a file that is not a usable db.mdb reports why and leaves the file
// exactly as it was: it may be the practice's only copy.
class BadFile : public ::testing::Test {
protected:
    QString path() const { return dir.file("db.mdb"); }
    void write(const QByteArray &bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Opens the file and checks its bytes did not change.
    Database::OpenResult openUnchanged(bool createIfMissing = true)
    {
        const QByteArray before = bytesOf(path());
        Database db;
        const auto r = db.open(path(), Database::Kind::Main, createIfMissing);
        db.close();
        EXPECT_EQ(bytesOf(path()), before);
        EXPECT_FALSE(r.ok());
        return r;
    }
    testsupport::TestDir dir;
};

TEST_F(BadFile, EmptyAndTextFilesAreForeign)
{
    write(QByteArray());
    EXPECT_EQ(openUnchanged().status, Database::Status::Foreign);
    EXPECT_EQ(QFileInfo(path()).size(), 0);

    write("Name,Phone\r\nSmith,5550 1234\r\n");
    EXPECT_EQ(openUnchanged().status, Database::Status::Foreign);
}

TEST_F(BadFile, DatabaseLackingTablesIsIncomplete)
{
    {
        Database db;
        ASSERT_EQ(db.open(path()).status, Database::Status::Created);
        db.exec("DROP VIEW qry_Accounts");
        db.exec("DROP TABLE tbl_Print");
    }
    const auto r = openUnchanged();
    EXPECT_EQ(r.status, Database::Status::Incomplete);
    EXPECT_TRUE(r.detail.contains("tbl_Print"));
    EXPECT_TRUE(r.detail.contains("qry_Accounts"));
    EXPECT_FALSE(r.detail.contains("tbl_Appt"));
}

TEST_F(BadFile, ForeignSqliteFileIsIncompleteWithEveryName)
{
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "foreign-file");
        raw.setDatabaseName(path());
        ASSERT_TRUE(raw.open());
        QSqlQuery(raw).exec("CREATE TABLE other (x INTEGER)");
        raw.close();
    }
    QSqlDatabase::removeDatabase("foreign-file");
    const auto r = openUnchanged();
    EXPECT_EQ(r.status, Database::Status::Incomplete);
    for (const QString &t : {tables::Appt, tables::Setup, tables::Color, tables::PatientDetails,
                             tables::Accounts, tables::Print, tables::Letterhead, tables::Order,
                             tables::AccountsQuery})
        EXPECT_TRUE(r.detail.contains(t)) << t.toStdString();
}

TEST_F(BadFile, NewerSchemaIsTooNew)
{
    {
        Database db;
        ASSERT_EQ(db.open(path()).status, Database::Status::Created);
        db.exec("UPDATE sys_Schema SET Version = ?", {Database::SchemaVersion + 1});
    }
    EXPECT_EQ(openUnchanged().status, Database::Status::TooNew);
}

TEST_F(BadFile, ReadOnlyFileIsUnreadable)
{
    {
        Database db;
        ASSERT_EQ(db.open(path()).status, Database::Status::Created);
    }
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QFileInfo(path()).isWritable())
        GTEST_SKIP() << "the file stays writable for this user";
    EXPECT_EQ(openUnchanged().status, Database::Status::Unreadable);
}

TEST_F(BadFile, MissingIsNotCreatedWhenNotAllowed)
{
    Database db;
    EXPECT_EQ(db.open(path(), Database::Kind::Main, false).status, Database::Status::Missing);
    EXPECT_FALSE(QFileInfo::exists(path()));
}

// File and invoice numbers run past 16 bits; a record stored with its own
// number moves the counter on past it.
class Numbers : public storetest::StoreTest {};

TEST_P(Numbers, FileAndInvoiceNumbersAre32Bit)
{
    EXPECT_EQ(db.insert(tables::PatientDetails, {{"FileNo", 40000}, {"PLastName", "BIG"}}), 40000);
    EXPECT_EQ(db.insert(tables::PatientDetails, {{"PLastName", "NEXT"}}), 40001);
    db.insert(tables::Accounts, {{"Invoice", 70000}, {"FileNo", 40001}});

    store::RecordSource rs(db);
    rs.bind(tables::Accounts);
    rs.addNew();
    rs.setValue("FileNo", 40001);
    rs.update();
    EXPECT_EQ(rs.lastModified().toInt(), 70001);
    rs.setBookmark(rs.lastModified());
    EXPECT_EQ(rs.value("FileNo").toInt(), 40001);
    rs.bind(tables::AccountsQuery);
    ASSERT_TRUE(rs.findFirst("Invoice = 70001"));
    EXPECT_EQ(rs.text("PLastName"), "NEXT");
}

QUILLON_BOTH_ENGINES(Numbers);

// Data of version 2 gets the indexes the referrer and practitioner listings
// read by, whatever case the names were typed in; its invoices stay.
class Version2Data : public storetest::StoreTest {};

TEST_P(Version2Data, GetsTheFoldedNameIndexesAndKeepsItsInvoices)
{
    db.insert(tables::Accounts, {{"FileNo", 1}, {"PayTo", "Dr Zeller"}});
    db.exec("DROP INDEX tbl_Accounts_Referrer");
    db.exec("DROP INDEX tbl_Accounts_PayTo");
    db.exec("UPDATE sys_Schema SET Version = 2");
    db.close();
    Database again;
    const auto r = store.open(again);
    ASSERT_EQ(r.status, Database::Status::Opened) << r.detail.toStdString();
    EXPECT_EQ(again.scalar("SELECT MAX(Version) FROM sys_Schema").toInt(), Database::SchemaVersion);
    for (const char *index : {"tbl_Accounts_Referrer", "tbl_Accounts_PayTo"})
        EXPECT_TRUE(again.selectOne(again.dialect().indexExists(), {index}).has_value()) << index;
    EXPECT_EQ(again.scalar("SELECT COUNT(*) FROM tbl_Accounts WHERE upper(PayTo) = 'DR ZELLER'").toInt(), 1);
}

QUILLON_BOTH_ENGINES(Version2Data);

} // namespace

namespace {

// A file of an earlier version lacks fields and tables added since: opening
// it takes the numbered steps up to this version, keeping every record.
TEST(OlderFile, GetsTheNewFieldsAndKeepsItsRecords)
{
    testsupport::TestDir dir;
    {
        Database db;
        ASSERT_EQ(db.open(dir.file("db.mdb")).status, Database::Status::Created);
        db.insert(tables::Appt, {{"CalDate", QDate(2026, 3, 16)}, {"Data", "Smith"}});
        db.exec("ALTER TABLE tbl_Appt DROP COLUMN BlankPage");
        db.exec("ALTER TABLE tbl_Setup DROP COLUMN DWidth");
        db.exec("DROP INDEX tbl_Accounts_IssueDate");
        db.exec("DROP TABLE sys_State");
        db.exec("UPDATE sys_Schema SET Version = 1");
    }
    Database db;
    ASSERT_EQ(db.open(dir.file("db.mdb")).status, Database::Status::Opened);
    EXPECT_EQ(db.scalar("SELECT MAX(Version) FROM sys_Schema").toInt(), Database::SchemaVersion);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM sys_Schema").toInt(), Database::SchemaVersion);
    EXPECT_FALSE(db.generation().isEmpty());
    EXPECT_EQ(db.generation(), db.scalar("SELECT Generation FROM sys_State").toString());
    EXPECT_GE(db.connection().record("tbl_Appt").indexOf("BlankPage"), 0);
    EXPECT_GE(db.connection().record("tbl_Setup").indexOf("DWidth"), 0);
    EXPECT_EQ(db.scalar("SELECT Data FROM tbl_Appt").toString(), "Smith");
    EXPECT_EQ(db.scalar("SELECT location FROM tbl_Setup").toString(), "Office");
    EXPECT_TRUE(db.selectOne(db.dialect().indexExists(), {"tbl_Accounts_IssueDate"}).has_value());
}

} // namespace
