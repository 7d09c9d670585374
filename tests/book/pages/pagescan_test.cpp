#include "book/pages/pagestore.h"

#include "store/core/database.h"
#include "store/core/settings.h"
#include "support/teststore.h"

#include <gtest/gtest.h>

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

QUILLON_BOTH_ENGINES(PageScan);

} // namespace
