#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "storefixture.h"

#include <QDate>
#include <functional>

using store::Database;
using store::DbError;
using store::RecordSource;
namespace tables = store::tables;

namespace {

// The seeded files: 1 JOHN A SAMPLE, 2 MARY B EXAMPLE, 3 JANE C SPECIMEN.
class RecordSourceTest : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure())
            rs.bind(tables::PatientDetails);
    }
    int fileNo() const { return rs.value("FileNo").toInt(); }
    int errorOf(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const DbError &e) {
            return e.number();
        }
        return 0;
    }

    RecordSource rs{db};
};

TEST_P(RecordSourceTest, MovesThroughRecordsWithEofAndBof)
{
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_FALSE(rs.eof());
    EXPECT_FALSE(rs.bof());
    EXPECT_EQ(fileNo(), 1);
    rs.moveNext();
    rs.moveNext();
    EXPECT_EQ(fileNo(), 3);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorOf([&] { rs.value("FileNo"); }), DbError::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs.moveNext(); }), DbError::NoCurrentRecord);

    rs.moveLast();
    EXPECT_EQ(fileNo(), 3);
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_EQ(fileNo(), 1);
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(errorOf([&] { rs.movePrevious(); }), DbError::NoCurrentRecord);
    rs.moveFirst();
    EXPECT_EQ(fileNo(), 1);

    // An empty table is at both ends at once.
    rs.bind(tables::Appt);
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.bof());
    EXPECT_THROW(rs.value("Data"), DbError);
    EXPECT_THROW(rs.bind("tbl_Nowhere"), DbError);
}

TEST_P(RecordSourceTest, FieldNamesIgnoreCase)
{
    EXPECT_EQ(rs.text("plastname"), "SAMPLE");
    EXPECT_EQ(rs.text("PLASTNAME"), "SAMPLE");
    EXPECT_EQ(rs.record().value("PFirstName").toString(), "JOHN");
    EXPECT_EQ(errorOf([&] { rs.value("NoSuchField"); }), DbError::NoSuchField);
}

TEST_P(RecordSourceTest, IndexOrdersAndSeeks)
{
    rs.setIndex("LastName");
    EXPECT_EQ(fileNo(), 1);   // the current record stays current
    rs.moveFirst();
    QStringList order;
    for (; !rs.eof(); rs.moveNext())
        order << rs.text("PLastName");
    EXPECT_EQ(order, (QStringList{"EXAMPLE", "SAMPLE", "SPECIMEN"}));

    EXPECT_TRUE(rs.seek(QVariant("SPECIMEN")));
    EXPECT_FALSE(rs.noMatch());
    EXPECT_EQ(fileNo(), 3);
    EXPECT_FALSE(rs.seek(QVariant("NOBODY")));
    EXPECT_TRUE(rs.noMatch());

    rs.setIndex("NameDOB");
    EXPECT_TRUE(rs.seek(QVariantList{"MARY", "B", "EXAMPLE", "06/30/1972"}));
    EXPECT_EQ(fileNo(), 2);
    EXPECT_FALSE(rs.seek(QVariantList{"MARY", "B", "EXAMPLE", "06/30/1973"}));
    EXPECT_TRUE(rs.noMatch());

    rs.setIndex("FileNo");
    EXPECT_TRUE(rs.seek(QVariant(2)));
    EXPECT_EQ(rs.text("PLastName"), "EXAMPLE");
    EXPECT_THROW(rs.setIndex("NoSuchIndex"), DbError);

    // A date index seeks on a date.
    db.insert(tables::Appt, {{"CalDate", QDate(2026, 3, 4)}, {"Data", "x"}});
    rs.bind(tables::Appt);
    rs.setIndex("CalDate");
    EXPECT_TRUE(rs.seek(QVariant(QDate(2026, 3, 4))));
    EXPECT_EQ(rs.text("Data"), "x");
    EXPECT_FALSE(rs.seek(QVariant(QDate(2026, 3, 5))));
}

TEST_P(RecordSourceTest, FindsWithCriteria)
{
    EXPECT_TRUE(rs.findFirst("FileNo = 2"));
    EXPECT_EQ(fileNo(), 2);
    EXPECT_TRUE(rs.findFirst("PLastName = 'SAMPLE'"));
    EXPECT_EQ(fileNo(), 1);

    EXPECT_TRUE(rs.findFirst("PLastName Like 'S*'"));
    EXPECT_EQ(fileNo(), 1);
    EXPECT_TRUE(rs.findNext("PLastName Like 'S*'"));
    EXPECT_EQ(fileNo(), 3);
    EXPECT_FALSE(rs.findNext("PLastName Like 'S*'"));
    EXPECT_TRUE(rs.noMatch());
    EXPECT_TRUE(rs.findLast("plastname like 's*'"));
    EXPECT_EQ(fileNo(), 3);
    EXPECT_TRUE(rs.findPrevious("PLastName Like 'S*'"));
    EXPECT_EQ(fileNo(), 1);
    EXPECT_FALSE(rs.findPrevious("PLastName Like 'S*'"));

    EXPECT_TRUE(rs.findFirst("PLastName Like 'S*' AND PFirstName = 'JANE'"));
    EXPECT_EQ(fileNo(), 3);
    EXPECT_TRUE(rs.findLast("FileNo = 1 OR FileNo = 2"));
    EXPECT_EQ(fileNo(), 2);
    EXPECT_TRUE(rs.findFirst("NOT (FileNo = 1) AND [PMI] <> 'B'"));
    EXPECT_EQ(fileNo(), 3);

    EXPECT_FALSE(rs.findFirst("FileNo = 99"));
    EXPECT_TRUE(rs.noMatch());
    EXPECT_EQ(fileNo(), 3);   // a failed find leaves the record where it was

    // Quotes inside a value, and finds that follow the index order.
    db.insert(tables::PatientDetails, {{"PLastName", "O'BRIEN"}});
    rs.refresh();
    EXPECT_TRUE(rs.findFirst("PLastName = 'O''BRIEN'"));
    EXPECT_EQ(fileNo(), 4);
    rs.setIndex("LastName");
    EXPECT_TRUE(rs.findFirst("FileNo > 1"));
    EXPECT_EQ(rs.text("PLastName"), "EXAMPLE");
}

TEST_P(RecordSourceTest, FindsDates)
{
    db.insert(tables::Appt, {{"CalDate", QDate(2026, 3, 4)}});
    db.insert(tables::Appt, {{"CalDate", QDate(2026, 3, 5)}});
    rs.bind(tables::Appt);
    EXPECT_TRUE(rs.findFirst("CalDate = #3/5/2026#"));
    EXPECT_EQ(Database::toDate(rs.value("CalDate")), QDate(2026, 3, 5));
    EXPECT_TRUE(rs.findFirst("CalDate < #2026-03-05#"));
    EXPECT_EQ(Database::toDate(rs.value("CalDate")), QDate(2026, 3, 4));
    EXPECT_FALSE(rs.findFirst("CalDate = #3/6/2026#"));
    EXPECT_THROW(rs.findFirst("CalDate = #13/45/2026#"), DbError);
}

TEST_P(RecordSourceTest, BadCriteriaAreRefusedAndChangeNothing)
{
    rs.bind(tables::Accounts);
    rs.moveNext();
    for (const QString &bad :
         {QStringLiteral("FileNo = 1; DROP TABLE tbl_Accounts"), QStringLiteral("FileNo = 1 -- x"),
          QStringLiteral("Firm = 'x' OR 1=1 --"), QStringLiteral("NoSuchField = 1"),
          QStringLiteral("FileNo = "), QStringLiteral("Firm = 'unterminated"),
          QStringLiteral("FileNo = (SELECT 1)"), QStringLiteral("FileNo"),
          QStringLiteral("Firm = Firm")}) {
        EXPECT_THROW(rs.findFirst(bad), DbError) << bad.toStdString();
        EXPECT_THROW(rs.findNext(bad), DbError) << bad.toStdString();
    }
    EXPECT_EQ(rs.value("Invoice").toInt(), 2);
    EXPECT_TRUE(db.tableExists(tables::Accounts));
    EXPECT_EQ(count(tables::Accounts), 3);

    rs.bind(tables::PatientDetails);
    EXPECT_EQ(errorOf([&] { rs.findFirst("PLastName = 'x' OR 1=1 --"); }), DbError::NoSuchField);
    EXPECT_EQ(errorOf([&] { rs.findFirst("FileNo = 1; DROP TABLE tbl_Accounts"); }), DbError::BadCriteria);
}

TEST_P(RecordSourceTest, BookmarksKeepAPosition)
{
    rs.moveNext();
    const QVariant mark = rs.bookmark();
    rs.moveLast();
    rs.setBookmark(mark);
    EXPECT_EQ(fileNo(), 2);
    rs.moveNext();
    EXPECT_EQ(fileNo(), 3);   // navigation goes on from the restored record
    EXPECT_THROW(rs.setBookmark(999), DbError);
    rs.moveLast();
    rs.moveNext();
    EXPECT_FALSE(rs.bookmark().isValid());
}

TEST_P(RecordSourceTest, AddNewUpdateAndLastModified)
{
    rs.moveNext();
    rs.addNew();
    rs.setValue("plastname", "NEWCOMER");
    rs.setValue("PFirstName", "NED");
    EXPECT_EQ(rs.text("PLastName"), "NEWCOMER");   // the edit buffer
    EXPECT_TRUE(rs.text("PCity").isEmpty());
    rs.update();
    EXPECT_FALSE(rs.editing());
    EXPECT_EQ(rs.lastModified().toInt(), 4);
    EXPECT_EQ(fileNo(), 2);   // the record current before AddNew stays current
    EXPECT_EQ(rs.recordCount(), 4);
    rs.setBookmark(rs.lastModified());
    EXPECT_EQ(rs.text("PLastName"), "NEWCOMER");
    EXPECT_EQ(rs.text("PFirstName"), "NED");

    rs.addNew();
    rs.setValue("PLastName", "DROPPED");
    rs.cancelUpdate();
    EXPECT_EQ(count(tables::PatientDetails), 4);
    EXPECT_EQ(rs.text("PLastName"), "NEWCOMER");

    EXPECT_THROW(rs.setValue("PLastName", "X"), DbError);   // no AddNew or Edit
    EXPECT_THROW(rs.update(), DbError);
}

TEST_P(RecordSourceTest, EditUpdatesTheCurrentRecord)
{
    rs.moveNext();
    rs.edit();
    rs.setValue("PCity", "NEWTOWN");
    rs.update();
    EXPECT_EQ(rs.lastModified().toInt(), 2);
    EXPECT_EQ(rs.text("PCity"), "NEWTOWN");
    EXPECT_EQ(db.scalar("SELECT PCity FROM tbl_PatientDetails WHERE FileNo = 2").toString(), "NEWTOWN");
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_PatientDetails WHERE PCity = 'NEWTOWN'").toInt(), 1);

    // Moving away drops an unsaved edit.
    rs.edit();
    rs.setValue("PCity", "NEVER");
    rs.moveFirst();
    rs.moveNext();
    EXPECT_EQ(rs.text("PCity"), "NEWTOWN");
}

TEST_P(RecordSourceTest, QueryEditsGoToTheInvoice)
{
    rs.bind(tables::AccountsQuery);
    ASSERT_TRUE(rs.findFirst("Invoice = 2"));
    EXPECT_EQ(rs.text("PLastName"), "EXAMPLE");
    rs.edit();
    rs.setValue("Firm", "INSURER");
    rs.setValue("PLastName", "NOT WRITTEN");   // a patient column of the query
    rs.update();
    EXPECT_EQ(db.scalar("SELECT Firm FROM tbl_Accounts WHERE Invoice = 2").toString(), "INSURER");
    EXPECT_EQ(db.scalar("SELECT PLastName FROM tbl_PatientDetails WHERE FileNo = 2").toString(), "EXAMPLE");
    EXPECT_EQ(rs.text("Firm"), "INSURER");

    rs.addNew();
    rs.setValue("FileNo", 3);
    rs.update();
    EXPECT_EQ(rs.lastModified().toInt(), 4);
    rs.refresh();
    ASSERT_TRUE(rs.findLast("FileNo = 3"));
    EXPECT_EQ(rs.value("Invoice").toInt(), 4);
    EXPECT_EQ(rs.text("PLastName"), "SPECIMEN");
}

TEST_P(RecordSourceTest, DeleteLeavesNoCurrentRecordUntilAMove)
{
    db.insert(tables::PatientDetails, {{"PLastName", "FOUR"}});
    db.insert(tables::PatientDetails, {{"PLastName", "FIVE"}});
    rs.refresh();
    ASSERT_TRUE(rs.findFirst("FileNo = 4"));
    rs.remove();
    EXPECT_EQ(count(tables::PatientDetails), 4);
    EXPECT_EQ(rs.recordCount(), 4);
    // The deleted record is gone; its successor is not silently current.
    EXPECT_EQ(errorOf([&] { rs.value("PLastName"); }), DbError::NoCurrentRecord);
    EXPECT_THROW(rs.edit(), DbError);
    EXPECT_THROW(rs.remove(), DbError);
    EXPECT_EQ(count(tables::PatientDetails), 4);
    rs.moveNext();
    EXPECT_EQ(fileNo(), 5);

    ASSERT_TRUE(rs.findFirst("FileNo = 2"));
    rs.remove();
    rs.movePrevious();
    EXPECT_EQ(fileNo(), 1);

    // Deleting the last record, then moving on, reaches the end.
    rs.moveLast();
    rs.remove();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(count(tables::PatientDetails), 2);
}

TEST_P(RecordSourceTest, RefreshShowsAnotherStationsChanges)
{
    Database other;
    ASSERT_NO_FATAL_FAILURE(openOther(other));
    rs.moveNext();
    EXPECT_EQ(rs.text("PCity"), "KELLERTON");
    other.insert(tables::PatientDetails, {{"PLastName", "ELSEWHERE"}});
    other.update(tables::PatientDetails, 2, {{"PCity", "MOVED"}});
    EXPECT_EQ(rs.recordCount(), 3);
    rs.refresh();
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(fileNo(), 2);   // still on the same record
    EXPECT_EQ(rs.text("PCity"), "MOVED");
    rs.moveLast();
    EXPECT_EQ(rs.text("PLastName"), "ELSEWHERE");

    // A seek finds a record stored elsewhere since the last read.
    const int added = other.insert(tables::PatientDetails, {{"PLastName", "LATER"}});
    rs.setIndex("LastName");
    other.insert(tables::PatientDetails, {{"PLastName", "LATEST"}});
    EXPECT_TRUE(rs.seek(QVariant("LATEST")));
    EXPECT_EQ(fileNo(), added + 1);
}

TEST_P(RecordSourceTest, IdleSourcesDoNotBlockAnotherStationsSave)
{
    RecordSource query(db);
    query.bind(tables::AccountsQuery);
    query.moveLast();
    EXPECT_FALSE(query.text("PLastName").isEmpty());
    rs.setIndex("LastName");
    rs.seek(QVariant("SAMPLE"));
    rs.findNext("FileNo > 0");
    EXPECT_FALSE(rs.text("PCity").isEmpty());
    db.selectOne("SELECT * FROM tbl_Appt");
    db.scalar("SELECT COUNT(*) FROM tbl_Setup");

    Database other;
    ASSERT_NO_FATAL_FAILURE(openOther(other));
    other.setBusyTimeout(100);
    store::WriteTransaction tx(other);
    other.insert(tables::PatientDetails, {{"PLastName", "SAVED"}});
    EXPECT_NO_THROW(tx.commit());
    EXPECT_EQ(count(tables::PatientDetails), 4);
}

TEST_P(RecordSourceTest, SqlSourceIsReadOnly)
{
    rs.bindSql("SELECT FileNo, PLastName FROM tbl_PatientDetails WHERE FileNo > ? ORDER BY FileNo DESC", {1});
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(fileNo(), 3);
    rs.moveNext();
    EXPECT_EQ(rs.text("plastname"), "EXAMPLE");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.moveLast();
    EXPECT_THROW(rs.addNew(), DbError);
    EXPECT_THROW(rs.edit(), DbError);
    EXPECT_THROW(rs.remove(), DbError);
    EXPECT_THROW(rs.setIndex("LastName"), DbError);
    EXPECT_EQ(count(tables::PatientDetails), 3);
}

QUILLON_BOTH_ENGINES(RecordSourceTest);

} // namespace
