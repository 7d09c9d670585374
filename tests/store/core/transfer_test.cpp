#include "store/core/transfer.h"

#include "store/core/database.h"
#include "store/core/schema.h"
#include "support/teststore.h"

#include <QDate>
#include <gtest/gtest.h>

using store::Database;
using store::Transfer;
namespace tables = store::tables;

namespace {

// A practice moves its db.mdb onto the server and writes the server back
// into a new db.mdb, as a backup or to leave the server.
class TransferTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(file.open(source.dir().file("db.mdb")).status, Database::Status::Created);
        // Numbers past the first records, with gaps: they are printed on
        // invoices and must not change.
        file.insert(tables::PatientDetails, {{"FileNo", 40000}, {"PLastName", "O'HARA"}});
        for (int i = 0; i < 3; ++i)
            file.insert(tables::Accounts, {{"Invoice", 70000 + 10 * i}, {"FileNo", 40000}, {"Cash", i != 1}});
        file.remove(tables::Accounts, 70010);
        for (int d = 0; d < 40; ++d)
            file.insert(tables::Appt, {{"CalDate", QDate(2025, 1, 1).addDays(d)},
                                       {"Data", QStringLiteral("a\tb\rc\nd;'%1'").arg(d)},
                                       {"Clinic", d % 7 == 0}, {"Memo", "memo\r\n\"quoted\""}});
    }
    int count(Database &db, const QString &t)
    {
        return db.scalar("SELECT COUNT(*) FROM " + store::Dialect::quote(t)).toInt();
    }
    QVariantList invoices(Database &db)
    {
        QVariantList out;
        for (const auto &r : db.select("SELECT Invoice FROM tbl_Accounts ORDER BY Invoice"))
            out << r.value(0).toInt();
        return out;
    }

    testsupport::TestStore source{testsupport::Engine::Sqlite};
    Database file;
};

TEST_P(TransferTest, ImportThenExportKeepsEveryRecordAndNumber)
{
    // Issued on the file and deleted: never issued again on the server.
    file.insert(tables::Accounts, {{"Invoice", 70029}, {"FileNo", 40000}});
    file.remove(tables::Accounts, 70029);
    Database server;
    ASSERT_EQ(server.openServer(store.conninfo(), false).status, Database::Status::Empty);
    QStringList reported;
    Transfer::toEmptyServer(file, server, [&](const QString &t, int) { reported << t; });
    EXPECT_EQ(reported.size(), static_cast<int>(store::mainTables().size()));
    for (const auto &t : store::mainTables())
        EXPECT_EQ(count(server, t.name), count(file, t.name)) << t.name.toStdString();
    EXPECT_EQ(invoices(server), invoices(file));
    EXPECT_EQ(server.scalar("SELECT PLastName FROM tbl_PatientDetails WHERE FileNo = 40000").toString(), "O'HARA");
    EXPECT_TRUE(Database::toBool(server.scalar("SELECT Cash FROM tbl_Accounts WHERE Invoice = 70000")));
    EXPECT_EQ(server.scalar("SELECT Data FROM tbl_Appt WHERE CalDate = ?", {QDate(2025, 1, 3)}).toString(),
              "a\tb\rc\nd;'2'");
    // New records go on after the highest numbers ever issued.
    EXPECT_EQ(server.insert(tables::Accounts, {{"FileNo", 1}}), 70030);
    EXPECT_EQ(server.insert(tables::PatientDetails, {{"PLastName", "NEW"}}), 40001);
    // A second import would mix two practices: refused, nothing changed.
    EXPECT_THROW(Transfer::toEmptyServer(file, server), store::DbError);
    server.close();
    ASSERT_EQ(server.openServer(store.conninfo()).status, Database::Status::Opened);

    testsupport::TestDir backup;
    const QString path = backup.file("db.mdb");
    {
        Database out;
        ASSERT_EQ(out.open(path).status, Database::Status::Created);
        Transfer::toNewFile(server, out);
        EXPECT_EQ(out.scalar("PRAGMA integrity_check").toString(), "ok");
    }
    Database copy;
    ASSERT_EQ(copy.open(path, Database::Kind::Main, false).status, Database::Status::Opened);
    for (const auto &t : store::mainTables())
        EXPECT_EQ(count(copy, t.name), count(server, t.name)) << t.name.toStdString();
    EXPECT_EQ(invoices(copy), invoices(server));
    EXPECT_EQ(copy.scalar("SELECT CalDate FROM tbl_Appt WHERE Clinic = 1 ORDER BY CalDate LIMIT 1").toString(),
              "2025-01-01");
    EXPECT_EQ(copy.scalar("SELECT Memo FROM tbl_Appt LIMIT 1").toString(), "memo\r\n\"quoted\"");
    EXPECT_EQ(copy.insert(tables::Accounts, {{"FileNo", 1}}), 70031);
}

// The server cases only: the file side is always SQLite.
INSTANTIATE_TEST_SUITE_P(Engines, TransferTest, ::testing::Values(testsupport::Engine::Postgres),
                         testsupport::engineName);

} // namespace
