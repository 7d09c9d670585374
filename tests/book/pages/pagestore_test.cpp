#include "book/pages/pagestore.h"
#include "book/pages/pagegrid.h"

#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "store/core/settings.h"
#include "support/teststore.h"

#include <QSqlRecord>
#include <gtest/gtest.h>
#include <thread>

using book::PageStore;
using store::Database;
using store::DbError;
namespace page = book::page;

namespace {

const QDate Monday(2026, 3, 16);
const QDate Friday(2026, 3, 20);
const QDate Saturday(2026, 3, 21);
const QDate Sunday(2026, 3, 22);

// A weekday template of the seeded shape (22 rows of 3 cells) with one
// marked cell, so each weekday's template can be told apart.
QString markedTemplate(const QString &mark)
{
    page::Cells cells = page::decode(page::blank(22, 3));
    cells[5][1] = mark;
    return page::encode(cells);
}

class PageStoreTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(store.open(db).status, Database::Status::Created);
        store::SettingsStore(db).write({{"Mon", markedTemplate("LUNCH")},
                                        {"Fri", markedTemplate("FRIDAY")},
                                        {"Sat", markedTemplate("SAT")},
                                        {"Sun", markedTemplate("SUN")}});
        settings = store::SettingsStore(db).load();
    }
    int count(const QString &table)
    {
        return db.scalar("SELECT COUNT(*) FROM " + store::Dialect::quote(table)).toInt();
    }
    QSqlRecord pageRow(int id)
    {
        return *db.selectOne("SELECT * FROM tbl_Appt WHERE ID = ?", {id});
    }
    QString cell(int id, int row, int col)   // grid position
    {
        const page::Cells cells = page::decode(pageRow(id).value("Data").toString());
        return cells.at(row - 2).at(col - 1);
    }

    Database db;
    store::Settings settings;
    PageStore pages{db};
};

TEST_P(PageStoreTest, SeekCreatesOnePageFromTheSettings)
{
    EXPECT_EQ(pages.find(Monday).id, 0);
    EXPECT_FALSE(pages.exists(Monday));

    const book::PageRecord p = pages.seek(Monday, settings);
    EXPECT_TRUE(p.created);
    ASSERT_GT(p.id, 0);
    ASSERT_GT(p.colorId, 0);
    EXPECT_EQ(count(store::tables::Appt), 1);
    EXPECT_EQ(count(store::tables::Color), 1);

    const QSqlRecord r = pageRow(p.id);
    EXPECT_EQ(r.value("CalDate").toString(), "2026-03-16");
    EXPECT_EQ(r.value("Data").toString(), markedTemplate("LUNCH"));
    EXPECT_EQ(r.value("BlankPage").toString(), markedTemplate("LUNCH"));
    EXPECT_EQ(r.value("location").toString(), "Office");
    EXPECT_EQ(r.value("open").toString(), "08:00 AM");
    EXPECT_EQ(r.value("Close").toString(), "05:00 PM");
    EXPECT_EQ(r.value("timeslot").toInt(), 30);
    EXPECT_EQ(r.value("Listno").toInt(), 3);
    EXPECT_EQ(r.value("names").toString(), settings.names);
    EXPECT_TRUE(r.value("Memo").toString().isEmpty());
    EXPECT_EQ(r.value("CColor").toString(), "0");
    EXPECT_EQ(r.value("Spare").toString(), "0");
    EXPECT_FALSE(Database::toBool(r.value("Clinic")));

    const auto color = db.selectOne("SELECT caldate, CColor FROM tbl_Color WHERE ID = ?", {p.colorId});
    ASSERT_TRUE(color);
    EXPECT_EQ(color->value(0).toString(), "2026-03-16");
    EXPECT_EQ(color->value(1).toString(), "0");
    EXPECT_EQ(p.colors, "0");
    EXPECT_TRUE(pages.exists(Monday));
}

TEST_P(PageStoreTest, SeekingAgainCreatesNothingAndKeepsTheStoredPage)
{
    const book::PageRecord first = pages.seek(Monday, settings);
    pages.writeCells(first.id, {{{3, 1}, "Smith"}});
    // Later settings do not reach an existing page.
    store::SettingsStore(db).write({{"Listno", 5}, {"open", "07:00 AM"}, {"Mon", markedTemplate("NEW")}});
    const book::PageRecord again = pages.seek(Monday, store::SettingsStore(db).load());
    EXPECT_FALSE(again.created);
    EXPECT_EQ(again.id, first.id);
    EXPECT_EQ(again.colorId, first.colorId);
    EXPECT_EQ(count(store::tables::Appt), 1);
    EXPECT_EQ(count(store::tables::Color), 1);
    EXPECT_EQ(again.listno, 3);
    EXPECT_EQ(again.open, "08:00 AM");
    EXPECT_EQ(cell(again.id, 3, 1), "Smith");
    EXPECT_EQ(again.blankPage, markedTemplate("LUNCH"));
}

TEST_P(PageStoreTest, ClosedDaysFollowTheWeekdayFlags)
{
    const book::PageRecord sat = pages.seek(Saturday, settings);
    EXPECT_TRUE(sat.clinic);
    EXPECT_EQ(sat.data, markedTemplate("SAT"));
    const book::PageRecord sun = pages.seek(Sunday, settings);
    EXPECT_TRUE(sun.clinic);
    EXPECT_EQ(sun.data, markedTemplate("SUN"));
    const book::PageRecord fri = pages.seek(Friday, settings);
    EXPECT_FALSE(fri.clinic);
    EXPECT_EQ(fri.data, markedTemplate("FRIDAY"));
    EXPECT_EQ(count(store::tables::Appt), 3);
    EXPECT_EQ(count(store::tables::Color), 3);
}

TEST_P(PageStoreTest, MissingColourRecordIsAddedToAnExistingPage)
{
    const int id = db.insert(store::tables::Appt, {{"CalDate", Monday}, {"Data", "kept"}});
    const book::PageRecord p = pages.seek(Monday, settings);
    EXPECT_FALSE(p.created);
    EXPECT_EQ(p.id, id);
    EXPECT_GT(p.colorId, 0);
    EXPECT_EQ(p.data, "kept");
    EXPECT_EQ(count(store::tables::Appt), 1);
    EXPECT_EQ(count(store::tables::Color), 1);
    // A second page for the date collides on the date index.
    try {
        db.insert(store::tables::Appt, {{"CalDate", Monday}});
        FAIL() << "two pages for one date";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::Duplicate);
    }
}

TEST_P(PageStoreTest, TwoStationsWritingOnePageKeepBothEntries)
{
    Database otherDb;
    ASSERT_EQ(store.open(otherDb).status, Database::Status::Opened);
    PageStore other(otherDb);
    const int id = pages.seek(Monday, settings).id;
    const int otherId = other.seek(Monday, settings).id;
    ASSERT_EQ(otherId, id);

    pages.writeCells(id, {{{3, 1}, "Smith"}});
    const auto w = other.writeCells(id, {{{4, 2}, "Jones"}, {{23, 3}, "bottom"}});
    EXPECT_FALSE(w.conflict);
    EXPECT_EQ(cell(id, 3, 1), "Smith");
    EXPECT_EQ(cell(id, 4, 2), "Jones");
    EXPECT_EQ(cell(id, 23, 3), "bottom");
    EXPECT_EQ(cell(id, 7, 2), "LUNCH");   // the template's own text is kept
    EXPECT_EQ(w.storedText, pageRow(id).value("Data").toString());
    EXPECT_EQ(page::decode(w.storedText).size(), 22u);

    // Text that would break the encoding is made harmless.
    pages.writeCells(id, {{{5, 3}, "a\tb\r\nc"}});
    EXPECT_EQ(cell(id, 5, 3), "a b\nc");
    EXPECT_EQ(page::decode(pageRow(id).value("Data").toString()).size(), 22u);
}

TEST_P(PageStoreTest, ExpectedTextGuardsAgainstOverwriting)
{
    Database otherDb;
    ASSERT_EQ(store.open(otherDb).status, Database::Status::Opened);
    PageStore other(otherDb);
    const int id = pages.seek(Monday, settings).id;
    pages.writeCells(id, {{{3, 1}, "Smith"}});
    const QString before = pageRow(id).value("Data").toString();

    // The other station still believes the cell is empty.
    const book::CellChanges expected{{{3, 1}, QString()}};
    const auto w = other.writeCells(id, {{{3, 1}, "Brown"}, {{4, 1}, "also"}}, &expected);
    EXPECT_TRUE(w.conflict);
    EXPECT_EQ(w.storedText, before);
    EXPECT_EQ(pageRow(id).value("Data").toString(), before);
    EXPECT_FALSE(otherDb.inTransaction());

    const book::CellChanges current{{{3, 1}, "Smith"}};
    EXPECT_FALSE(other.writeCells(id, {{{3, 1}, "Brown"}}, &current).conflict);
    EXPECT_EQ(cell(id, 3, 1), "Brown");

    db.remove(store::tables::Appt, id);
    try {
        pages.writeCells(id, {{{3, 1}, "x"}});
        FAIL() << "wrote a removed page";
    } catch (const DbError &e) {
        EXPECT_EQ(e.number(), DbError::NoCurrentRecord);
    }
}

TEST_P(PageStoreTest, ColoursMergeAndKeepTheirShape)
{
    Database otherDb;
    ASSERT_EQ(store.open(otherDb).status, Database::Status::Opened);
    PageStore other(otherDb);
    const book::PageRecord p = pages.seek(Monday, settings);
    // 3 consultant columns, 24 grid rows: 21 colour rows per column.
    const int cols = 4, rows = 24;
    pages.writeColors(p.colorId, cols, rows, {{{3, 1}, 0xFF}});
    const QString text = other.writeColors(p.colorId, cols, rows,
                                           {{{5, 2}, 0xFF00}, {{23, 3}, 7},
                                            {{2, 1}, 9}, {{24, 1}, 9}, {{3, 0}, 9}, {{3, 4}, 9}}).storedText;
    const std::vector<int> values = book::decodeColors(text);
    ASSERT_EQ(values.size(), 3u * 21u);
    EXPECT_EQ(values[0], 0xFF);
    EXPECT_EQ(values[21 + 2], 0xFF00);
    EXPECT_EQ(values[42 + 20], 7);
    // The cells not painted keep the default colour the never-painted page
    // showed, and nothing outside the colour rectangle was written.
    int set = 0;
    for (int v : values)
        set += v != book::DefaultCellColor;
    EXPECT_EQ(set, 3);
    EXPECT_EQ(db.scalar("SELECT CColor FROM tbl_Color WHERE ID = ?", {p.colorId}).toString(), text);
    EXPECT_EQ(pages.find(Monday).colors, text);

    EXPECT_THROW(pages.writeColors(p.colorId + 100, cols, rows, {{{3, 1}, 1}}), DbError);
}

// A block command's texts and colours: written together, or, when a guarded
// cell changed meanwhile, not at all. The edit names each changed value.
TEST_P(PageStoreTest, ABlockWritesTextsAndColoursTogetherOrNotAtAll)
{
    const book::PageRecord p = pages.seek(Monday, settings);
    pages.writeCells(p.id, {{{3, 1}, "Smith"}});
    pages.writeColors(p.colorId, 4, 24, {{{4, 1}, 0xFF}});   // another station paints (4,1)
    QString colours = QStringLiteral("0");                    // as this station read them
    const book::CellChanges shown{{{3, 1}, "Smith"}};
    book::PageStore::BlockChange c{p.id, p.colorId, 4, 24, {{{3, 1}, ""}}, &shown, {{{3, 1}, 0}, {{4, 1}, 0}}, &colours};
    EXPECT_EQ(pages.writeBlock(c).changed, (book::CellList{{4, 1}}));
    EXPECT_EQ(cell(p.id, 3, 1), "Smith");

    colours = pages.find(Monday).colors;
    const store::Edit edit = pages.writeBlock(c).edit;
    EXPECT_EQ(cell(p.id, 3, 1), "");
    EXPECT_EQ(edit.key.toDate(), Monday);
    ASSERT_EQ(edit.changes.size(), 3u);
    EXPECT_EQ(edit.changes[0].field + "=" + edit.changes[0].before.toString(), "3,1=Smith");
    EXPECT_EQ(edit.changes[2].field + "=" + edit.changes[2].before.toString(), "4,1 colour=255");
}

// Station B's write is under way (its transaction open) when station A, in
// its own thread, writes another cell of the same page: A waits, then merges
// into what B stored, and neither booking is lost.
TEST_P(PageStoreTest, AWriteWaitsForAnotherStationsWriteOfThePage)
{
    const int id = pages.seek(Monday, settings).id;
    db.beginWrite();
    pages.writeCells(id, {{{3, 1}, "Smith"}});
    std::thread a([&] {
        Database stationA;
        ASSERT_TRUE(store.open(stationA).ok());
        PageStore(stationA).writeCells(id, {{{4, 2}, "Jones"}});
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    db.commit();
    a.join();
    EXPECT_EQ(cell(id, 3, 1), "Smith");
    EXPECT_EQ(cell(id, 4, 2), "Jones");
}

// Two stations make the same date's page at once: one page is stored, and
// the station that lost the race waits for it and takes it, without an error.
TEST_P(PageStoreTest, TwoStationsCreatingOnePageLeaveOne)
{
    db.beginWrite();
    const book::PageRecord mine = pages.seek(Friday, settings);
    book::PageRecord theirs;
    std::thread a([&] {
        Database stationA;
        ASSERT_TRUE(store.open(stationA).ok());
        try {
            theirs = PageStore(stationA).seek(Friday, settings);
        } catch (const DbError &e) {
            ADD_FAILURE() << e.numbered().toStdString();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    db.commit();
    a.join();
    EXPECT_TRUE(mine.created);
    EXPECT_FALSE(theirs.created);
    EXPECT_EQ(theirs.id, mine.id);
    EXPECT_EQ(theirs.colorId, mine.colorId);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_Appt WHERE CalDate = ?", {Friday}).toInt(), 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM tbl_Color WHERE caldate = ?", {Friday}).toInt(), 1);
}

TEST(PageColours, EncodingRoundTrip)
{
    EXPECT_TRUE(book::decodeColors("0").empty());
    EXPECT_EQ(book::encodeColors({}), "0");
    const std::vector<int> v{0, 15658751, 255, 0};
    EXPECT_EQ(book::decodeColors(book::encodeColors(v)), v);
}

TEST_P(PageStoreTest, MemoAndClosedFlag)
{
    const int id = pages.seek(Monday, settings).id;
    pages.writeMemo(id, "Call the lab; don't forget");
    EXPECT_EQ(pages.read(id).memo, "Call the lab; don't forget");
    db.update(store::tables::Appt, id, {{"CColor", "5"}});
    pages.writeClinic(id, true);
    EXPECT_TRUE(pages.read(id).clinic);
    EXPECT_EQ(pageRow(id).value("CColor").toString(), "0");
    pages.writeClinic(id, false);
    EXPECT_FALSE(pages.read(id).clinic);
    EXPECT_EQ(pages.read(id).memo, "Call the lab; don't forget");

    EXPECT_THROW(pages.writeMemo(id + 100, "x"), DbError);
    EXPECT_THROW(pages.writeClinic(id + 100, true), DbError);
    EXPECT_THROW(pages.read(id + 100), DbError);
}

QUILLON_BOTH_ENGINES(PageStoreTest);

} // namespace
