#include "store/core/schema.h"
#include "storefixture.h"

#include <QDate>
#include <QDateTime>
#include <stdexcept>

using store::Database;
using store::DbError;
using store::WriteTransaction;
namespace tables = store::tables;

namespace {

class DatabaseTest : public storetest::StoreTest {};

TEST_P(DatabaseTest, ValuesAreBoundNotSpliced)
{
    const QString nasty = QStringLiteral("O'Brien\"; DROP TABLE tbl_Accounts; --");
    const int fileNo = db.insert(tables::PatientDetails, {{"plastname", nasty}, {"PFIRSTNAME", "a;b"}});
    EXPECT_EQ(db.scalar("SELECT PLastName FROM tbl_PatientDetails WHERE FileNo = ?", {fileNo}).toString(), nasty);
    EXPECT_EQ(db.scalar("SELECT PFirstName FROM tbl_PatientDetails WHERE PLastName = ?", {nasty}).toString(), "a;b");
    EXPECT_EQ(db.update(tables::PatientDetails, fileNo, {{"PCity", nasty}}), 1);
    EXPECT_EQ(db.scalar("SELECT PCity FROM tbl_PatientDetails WHERE FileNo = ?", {fileNo}).toString(), nasty);
    EXPECT_TRUE(db.tableExists(tables::Accounts));
    EXPECT_EQ(count(tables::Accounts), 3);
}

TEST_P(DatabaseTest, UnknownFieldIsRefusedAndNothingStored)
{
    try {
        db.insert(tables::PatientDetails, {{"PLastName", "X"}, {"NoSuchField", 1}});
        FAIL() << "insert accepted an unknown field";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::NoSuchField);
    }
    EXPECT_EQ(count(tables::PatientDetails), 3);
    EXPECT_THROW(db.update(tables::PatientDetails, 1, {{"Bogus", 1}}), DbError);
    EXPECT_THROW(db.insert("tbl_Nowhere", {{"x", 1}}), DbError);
}

TEST_P(DatabaseTest, RemoveAndUpdateByKey)
{
    EXPECT_EQ(db.update(tables::PatientDetails, 2, {{"PCity", "HERE"}}), 1);
    EXPECT_EQ(db.update(tables::PatientDetails, 999, {{"PCity", "HERE"}}), 0);
    db.remove(tables::PatientDetails, 3);
    EXPECT_EQ(count(tables::PatientDetails), 2);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails WHERE PCity = ?", {"HERE"}).toInt(), 1);
}

TEST_P(DatabaseTest, WriteTransactionRollsBackOnException)
{
    try {
        WriteTransaction tx(db);
        db.insert(tables::PatientDetails, {{"PLastName", "LOST"}});
        EXPECT_TRUE(db.inTransaction());
        throw std::runtime_error("abandon");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(tables::PatientDetails), 3);

    {
        WriteTransaction tx(db);
        db.insert(tables::PatientDetails, {{"PLastName", "KEPT"}});
        tx.commit();
    }
    EXPECT_EQ(count(tables::PatientDetails), 4);
}

TEST_P(DatabaseTest, NestedTransactionsJoinTheOutermost)
{
    {
        WriteTransaction outer(db);
        db.insert(tables::PatientDetails, {{"PLastName", "A"}});
        {
            WriteTransaction inner(db);
            db.insert(tables::PatientDetails, {{"PLastName", "B"}});
            inner.commit();
        }
        EXPECT_TRUE(db.inTransaction());   // the inner commit did not end it
        outer.commit();
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(tables::PatientDetails), 5);

    // An inner failure undoes the whole transaction, even if the outer block
    // goes on to commit: the outer commit reports it.
    WriteTransaction outer(db);
    db.insert(tables::PatientDetails, {{"PLastName", "C"}});
    try {
        WriteTransaction inner(db);
        db.insert(tables::PatientDetails, {{"PLastName", "D"}});
        throw std::runtime_error("inner");
    } catch (const std::runtime_error &) {
    }
    EXPECT_THROW(outer.commit(), DbError);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(tables::PatientDetails), 5);
}

// Another station holds a write of patient 1: this station's write of the
// same record waits for the busy timeout and then fails as Busy. (The file
// is locked whole, so there even a transaction cannot begin; on a server
// only the record is locked.)
TEST_P(DatabaseTest, WriteBlockedByAnotherStationFailsAsBusy)
{
    Database other;
    ASSERT_NO_FATAL_FAILURE(openOther(other));
    db.setBusyTimeout(100);
    other.beginWrite();
    other.update(tables::PatientDetails, 1, {{"PCity", "OTHER"}});

    try {
        db.update(tables::PatientDetails, 1, {{"PCity", "MINE"}});
        FAIL() << "write went through another station's lock";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::Busy) << e.numbered().toStdString();
    }
    if (!onServer()) {
        try {
            WriteTransaction tx(db);
            FAIL() << "transaction began under another station's lock";
        } catch (const DbError &e) {
            EXPECT_EQ(e.number(), DbError::Busy);
        }
    }
    EXPECT_FALSE(db.inTransaction());

    other.commit();
    // Once released, this station writes as usual.
    {
        WriteTransaction tx(db);
        db.update(tables::PatientDetails, 1, {{"PCity", "MINE"}});
        tx.commit();
    }
    EXPECT_EQ(db.scalar("SELECT PCity FROM tbl_PatientDetails WHERE FileNo = 1").toString(), "MINE");
}

TEST_P(DatabaseTest, DatesStoredAsIsoText)
{
    db.insert(tables::Appt, {{"CalDate", QDate(2026, 3, 4)}});
    db.insert(tables::Color, {{"caldate", QDateTime(QDate(2026, 3, 5), QTime(23, 30))}});
    EXPECT_EQ(db.scalar("SELECT CalDate FROM tbl_Appt").toString(), "2026-03-04");
    EXPECT_EQ(db.scalar("SELECT caldate FROM tbl_Color").toString(), "2026-03-05");
    // A bound date finds the stored one.
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_Appt WHERE CalDate = ?", {QDate(2026, 3, 4)}).toInt(), 1);
    EXPECT_EQ(Database::toDate(QString("2026-03-04")), QDate(2026, 3, 4));
    EXPECT_EQ(Database::toDate(QString("2026-03-04T10:00:00")), QDate(2026, 3, 4));
    EXPECT_FALSE(Database::toDate(QVariant()).isValid());
}

TEST(DatabaseValues, ToBool)
{
    for (const QVariant &v : {QVariant(1), QVariant(-1), QVariant(true), QVariant("1"), QVariant("-1"),
                              QVariant("True"), QVariant(" yes "), QVariant(qlonglong(1))})
        EXPECT_TRUE(Database::toBool(v)) << v.toString().toStdString();
    for (const QVariant &v : {QVariant(0), QVariant(false), QVariant(""), QVariant("0"), QVariant("no"),
                              QVariant("false"), QVariant()})
        EXPECT_FALSE(Database::toBool(v)) << v.toString().toStdString();
    EXPECT_EQ(Database::toSql(true), QVariant(1));
    EXPECT_EQ(Database::toSql(false), QVariant(0));
}

TEST(DatabaseClosed, CallsOnAClosedDatabaseThrow)
{
    Database db;
    EXPECT_FALSE(db.isOpen());
    EXPECT_THROW(db.exec("SELECT 1"), DbError);
}

QUILLON_BOTH_ENGINES(DatabaseTest);

} // namespace
