#include "book/pages/pagestore.h"

#include "store/core/database.h"
#include "store/core/migrations.h"
#include "store/core/searchindex.h"
#include "store/core/settings.h"
#include "support/teststore.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <map>

using book::PageStore;
using book::TextHit;
using store::Database;

namespace {

const QDate Monday(2026, 3, 16);

// Three days of pages: Monday, Tuesday, Wednesday, each with entries that
// look alike to SQL's LIKE but not to the exact check.
class PageScan : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_EQ(store.open(db).status, Database::Status::Created);
        const store::Settings s = store::SettingsStore(db).load();
        for (int d = 0; d < 3; ++d)
            ids.push_back(pages.seek(Monday.addDays(d), s).id);
        pages.writeCells(ids[0], {{{3, 1}, "Smith 50%"}, {{4, 2}, "Jones"}});
        pages.writeCells(ids[1], {{{5, 3}, "smith_b\nnew patient"}, {{6, 1}, "Smyth"}});
        pages.writeCells(ids[2], {{{3, 1}, "Zoë Brown"}, {{7, 2}, "50 percent"}});
    }

    Database db;
    PageStore pages{db};
    std::vector<int> ids;
};

TEST_P(PageScan, PagesBetweenComeDecodedInDateOrder)
{
    const auto found = pages.pagesBetween(Monday.addDays(1), Monday.addDays(5));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].record.date, Monday.addDays(1));
    EXPECT_EQ(found[1].record.date, Monday.addDays(2));
    EXPECT_GT(found[0].record.colorId, 0);
    EXPECT_EQ(book::page::cellAt(found[0].cells, 5, 3), "smith_b\nnew patient");
    EXPECT_TRUE(pages.pagesBetween(Monday.addDays(3), Monday.addDays(9)).empty());
}

struct Scan {
    const char *name;
    QString needle;
    std::vector<std::pair<int, std::pair<int, int>>> hits;   // day, (row, col)
};

TEST_P(PageScan, FindsTheCellsThatContainTheNeedle)
{
    const Scan scans[] = {{"any case", "SMITH", {{0, {3, 1}}, {1, {5, 3}}}},
                          // The wildcards of LIKE are plain characters of the needle.
                          {"percent", "50%", {{0, {3, 1}}}},
                          {"underscore", "h_b", {{1, {5, 3}}}},
                          {"wildcard", "Sm_th", {}},
                          {"across lines", "b\nnew", {{1, {5, 3}}}},
                          {"not ascii", "zoË", {{2, {3, 1}}}},
                          {"empty", "", {}}};
    for (const Scan &scan : scans) {
        SCOPED_TRACE(scan.name);
        std::vector<TextHit> expected;
        for (const auto &[day, at] : scan.hits) {
            const QDate date = Monday.addDays(day);
            const auto cells = book::page::decode(pages.find(date).data);
            expected.push_back({date, at.first, at.second, book::page::cellAt(cells, at.first, at.second)});
        }
        EXPECT_EQ(pages.findText(Monday, Monday.addDays(2), scan.needle), expected);
    }
}

TEST_P(PageScan, ScanStaysInsideTheDates)
{
    const auto hits = pages.findText(Monday.addDays(1), Monday.addDays(1), "smith");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].date, Monday.addDays(1));
}

// A name on most pages is read by one pass over the pages, a rare one
// through the index, chosen before either reads a page. Text written past
// the index (a raw statement) shows which way answered.
TEST_P(PageScan, ACommonNameIsReadByTheScanARareOneByTheIndex)
{
    const QDate first(2027, 1, 4);
    const store::Settings s = store::SettingsStore(db).load();
    std::vector<QDate> dates;
    {
        store::WriteTransaction tx(db);
        for (int i = 0; i < 120; ++i) {
            const QDate d = first.addDays(3 * i);
            dates.push_back(d);
            book::CellChanges cells{{{3, 1}, i % 40 == 7 ? "Rarely Seen" : "Maria Common"}};
            if (i % 5 == 0)
                cells[{4, 1}] = "Maria Common";
            pages.writeCells(pages.seek(d, s).id, cells);
        }
        tx.commit();
    }
    ASSERT_TRUE(db.searchIndex().searchable) << db.searchIndex().why.toStdString();
    // The index knows neither of these two.
    db.exec("UPDATE tbl_Appt SET Data = Data || ? WHERE CalDate = ?", {QString("\tMaria Common"), Database::toSql(dates[47])});
    db.exec("UPDATE tbl_Appt SET Data = Data || ? WHERE CalDate = ?", {QString("\tRarely Seen"), Database::toSql(dates[60])});
    const auto datesOf = [&](const QString &needle) {
        std::vector<QDate> out;
        for (const book::PageRecord &p : pages.pagesContaining(first, dates.back(), needle, false, 0))
            out.push_back(p.date);
        return out;
    };
    std::vector<QDate> common = dates;
    common.erase(common.begin() + 87);
    common.erase(common.begin() + 7);
    EXPECT_EQ(datesOf("maria common"), common);   // with the page the index does not know: the scan
    EXPECT_EQ(datesOf("rarely seen"), (std::vector<QDate>{dates[7], dates[47], dates[87]}));   // the index
}

// Which pages hold each needle, by the index and by reading every page.
std::map<QString, std::pair<std::vector<QDate>, std::vector<QDate>>> indexedAndRead(Database &db,
                                                                                  const QStringList &needles)
{
    std::map<QString, std::pair<std::vector<QDate>, std::vector<QDate>>> out;
    const auto all = PageStore(db).pagesBetween(QDate(2000, 1, 1), QDate(2100, 1, 1));
    for (const QString &needle : needles) {
        auto &[indexed, read] = out[needle];
        indexed = store::SearchIndex::pagesWith(db, {}, {}, needle).value_or(std::vector<QDate>{QDate()});
        for (const auto &p : all)
            for (const QStringList &row : p.cells)
                if (std::any_of(row.begin(), row.end(), [&](const QString &c) { return c.contains(needle, Qt::CaseInsensitive); })) {
                    read.push_back(p.record.date);
                    break;
                }
    }
    return out;
}

const QStringList Needles{"smith", "SMITH 5", "50%", "h_b", "brown", "séries", "ÉRIES", "far", "temp", "jones", "rare"};

// Every way a page's text is written keeps the index exactly as a rebuild
// from the stored pages makes it, and it names the pages that hold a name.
TEST_P(PageScan, TheIndexFollowsEveryWriteOfThePages)
{
    ASSERT_TRUE(db.searchIndex().searchable) << db.searchIndex().why.toStdString();
    store::SettingsStore(db).write({{"Sun", "Temp Smith"}});
    const store::Settings s = store::SettingsStore(db).load();

    PageStore::BlockChange block;
    block.id = ids[0];
    block.cells = {{{3, 1}, "Brown-Smith"}, {{4, 2}, ""}, {{5, 200}, "Far Smith"}};   // the last past every column
    pages.writeBlock(block);
    ASSERT_TRUE(pages.writeCellSeries({Monday.addDays(1), Monday.addDays(2)}, 8, 2, "Séries Smith", 3,
                                      [](const QDate &, const QString &) { return true; })
                    .written);
    pages.writeCells(ids[2], {{{3, 1}, ""}});
    pages.seek(Monday.addDays(6), s);                    // made from Sunday's template
    pages.seek(Monday.addDays(12), s);
    pages.writeCells(pages.find(Monday.addDays(12)).id, {{{4, 1}, "Rare"}});
    EXPECT_EQ(pages.removeEmptyPages(), 1);               // Monday + 6 goes, with its template's name

    const auto before = indexedAndRead(db, Needles);
    for (const auto &[needle, found] : before)
        EXPECT_EQ(found.first, found.second) << needle.toStdString();
    EXPECT_EQ(before.at("smith").second, (std::vector<QDate>{Monday, Monday.addDays(1), Monday.addDays(2)}));
    EXPECT_EQ(before.at("temp").second, std::vector<QDate>{});
    {
        store::WriteTransaction tx(db);
        store::SearchIndex::rebuild(db);
        tx.commit();
    }
    EXPECT_EQ(indexedAndRead(db, Needles), before);
    // Short needles are left to the scan, which finds them all the same.
    EXPECT_FALSE(store::SearchIndex::pagesWith(db, {}, {}, "sm").has_value());
    EXPECT_EQ(pages.findText(Monday, Monday.addDays(2), "50").size(), 1u);
}

// An older database gets the index of the pages it holds when it is opened,
// and a station's writes keep it from then on.
TEST_P(PageScan, AnOlderDatabaseGetsTheIndexOfItsPages)
{
    db.exec("DROP TABLE sys_Find");
    db.insert(store::tables::Appt, {{"CalDate", Monday.addDays(9)}, {"Data", "\tOld Smith"}});
    db.exec("UPDATE sys_Schema SET Version = ?", {store::SearchIndexStep - 1});
    db.close();
    int heard = 0;
    db.setIndexProgress([&heard](int done, int) { heard = done; });
    const auto opened = store.open(db);
    ASSERT_EQ(opened.status, Database::Status::Opened) << opened.detail.toStdString();
    EXPECT_TRUE(db.searchIndex().searchable);
    EXPECT_EQ(heard, 4);   // the step that made it was heard to the last page
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "old smi"), std::vector<QDate>{Monday.addDays(9)});
    EXPECT_EQ(pages.findText(Monday, Monday.addDays(9), "smith").size(), 3u);
}

// An index as an earlier version kept it (a row per cell; on a server the
// page texts alone, indexed) is made again as a station opens the database,
// in this version's form; what a station of that version, still running,
// writes beside it is found.
TEST_P(PageScan, AnIndexOfAnEarlierFormIsMadeAgainAtOpen)
{
    const bool file = !db.onServer();
    if (file) {
        db.exec("INSERT INTO sys_Find (sys_Find) VALUES ('delete-all')");
    } else {
        db.exec("ALTER TABLE sys_Find DROP COLUMN Words");
        db.exec("DELETE FROM sys_Find");
        db.exec("CREATE INDEX sys_find_text ON sys_find USING gin (text gin_trgm_ops)");
    }
    const auto add = [&](qint64 key, const QString &text) {
        if (file)
            db.exec("INSERT INTO sys_Find (rowid, Text) VALUES (?, ?)", {key, text});
        else
            db.exec("INSERT INTO sys_Find (Cell, Text) VALUES (?, ?)", {key, text});
    };
    for (int i = 0; i < 3; ++i)   // a key per cell
        add((Monday.toJulianDay() << 20) + 3 * 128 + i, QStringLiteral("smith %1").arg(i));
    add(Monday.addDays(1).toJulianDay() << 20, "ghost");   // a stray row naming the wrong page
    db.exec("UPDATE sys_Schema SET Version = ?", {store::ColumnIndexStep - 1});
    db.close();
    ASSERT_EQ(store.open(db).status, Database::Status::Opened);
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "smith"), (std::vector<QDate>{Monday, Monday.addDays(1)}));
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "ghost"), std::vector<QDate>{});
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "smith 2"), std::vector<QDate>{});
    EXPECT_EQ(*store::SearchIndex::pagesWithin(db, Monday, Monday.addDays(6), "smith"), 2u);
    EXPECT_EQ(db.searchIndex().keptWords, !file);

    // The earlier version's writes: a cell's entry on the file, a page's
    // text alone on a server.
    const qint64 wednesday = Monday.addDays(2).toJulianDay() << 20;
    if (!file)
        db.exec("DELETE FROM sys_Find WHERE Cell = ?", {wednesday});
    add(file ? wednesday + 5 * 128 + 1 : wednesday, "zoë brown\nms kate nash");
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "ms kate"), std::vector<QDate>{Monday.addDays(2)});
    EXPECT_EQ(*store::SearchIndex::pagesWithin(db, Monday, Monday.addDays(6), "kate nash"), 1u);
}

// A server's trigram index keeps no changes pending (each search would read
// them all), whether made now or by an earlier version and settled at open.
TEST_P(PageScan, AServerIndexKeepsNoChangesPending)
{
    if (!db.onServer())
        GTEST_SKIP() << "the file's index has no pending list";
    const auto options = [&] {
        return db.scalar("SELECT array_to_string(reloptions, ',') FROM pg_class WHERE relname = 'sys_find_words'")
            .toString();
    };
    EXPECT_EQ(options(), "fastupdate=off");
    db.exec("ALTER INDEX sys_find_words RESET (fastupdate)");
    pages.writeCells(ids[0], {{{8, 1}, "Pending Name"}});
    db.exec("UPDATE sys_Schema SET Version = ?", {store::SettledIndexStep - 1});
    db.close();
    ASSERT_EQ(store.open(db).status, Database::Status::Opened);
    EXPECT_EQ(options(), "fastupdate=off");
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "pending name"), std::vector<QDate>{Monday});
}

// A search steers a server's planner only while it reads the index: the
// session's settings are as they were after it, whatever they were.
TEST_P(PageScan, AServerSearchLeavesThePlannerAsItFoundIt)
{
    if (!db.onServer())
        GTEST_SKIP() << "the file has no planner settings";
    db.exec("SET enable_indexscan = off");
    EXPECT_EQ(pages.findText(Monday, Monday.addDays(2), "smith").size(), 2u);
    EXPECT_EQ(db.scalar("SHOW enable_seqscan").toString(), "on");
    EXPECT_EQ(db.scalar("SHOW enable_indexscan").toString(), "off");
}

// Rebuilt from many pages, slice by slice and batch by batch, the index
// names exactly the pages that hold a name, and the build is heard from 0 to
// every page with counts that only grow.
TEST_P(PageScan, ARebuildOfManyPagesIsHeardAsItGoes)
{
    ASSERT_TRUE(db.searchIndex().searchable) << db.searchIndex().why.toStdString();
    {
        store::WriteTransaction tx(db);
        for (int d = 10; d < 610; ++d)
            db.insert(store::tables::Appt, {{"CalDate", Monday.addDays(d)},
                                            {"Data", QStringLiteral("\tPatient %1\tKate %2").arg(d).arg(d % 7 ? "Low" : "Nash")}});
        tx.commit();
    }
    std::vector<std::pair<int, int>> heard;
    db.setIndexProgress([&heard](int done, int total) { heard.emplace_back(done, total); });
    {
        store::WriteTransaction tx(db);
        store::SearchIndex::rebuild(db);
        tx.commit();
    }
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard.front(), std::make_pair(0, 603));
    EXPECT_EQ(heard.back(), std::make_pair(603, 603));
    for (size_t i = 1; i < heard.size(); ++i)
        EXPECT_GT(heard[i].first, heard[i - 1].first);
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "patient 433"), std::vector<QDate>{Monday.addDays(433)});
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "kate nash")->size(), 86u);
    EXPECT_EQ(pages.findText(Monday, Monday.addDays(700), "kate nash").size(), 86u);
    EXPECT_EQ(indexedAndRead(db, Needles).at("smith").first, indexedAndRead(db, Needles).at("smith").second);
}

// A station that cannot keep the index (its SQLite lacks FTS5's trigrams)
// marks it stale with its page writes: the other station's searches still
// find its bookings, and the next station that can keep it builds it again
// as it starts.
TEST_P(PageScan, ABookingOfAStationWithoutTheIndexIsFoundByTheOthers)
{
    ASSERT_TRUE(db.searchIndex().searchable) << db.searchIndex().why.toStdString();
    ASSERT_TRUE(pages.findText(Monday, Monday.addDays(2), "quincy").empty());
    Database other;
    ASSERT_TRUE(store.open(other).ok());
    store::SearchIndex::State without;
    without.why = "no FTS5 here";
    without.marksStale = true;
    other.setSearchIndex(without);
    PageStore(other).writeCells(ids[1], {{{9, 2}, "Quincy Hart"}});

    EXPECT_FALSE(store::SearchIndex::pagesWith(db, {}, {}, "quincy").has_value());
    const auto hits = pages.findText(Monday, Monday.addDays(2), "quincy");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].date, Monday.addDays(1));

    db.close();
    ASSERT_TRUE(store.open(db).ok());
    EXPECT_EQ(store::SearchIndex::pagesWith(db, {}, {}, "quincy"), std::vector<QDate>{Monday.addDays(1)});
    EXPECT_EQ(indexedAndRead(db, Needles).at("smith").first, indexedAndRead(db, Needles).at("smith").second);
}

QUILLON_BOTH_ENGINES(PageScan);

} // namespace
