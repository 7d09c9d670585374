#include "book/pages/pagestore.h"

#include "store/core/database.h"
#include "store/core/settings.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

using book::PageStore;
using book::TextHit;
using store::Database;

namespace {

const QDate Monday(2026, 3, 16);

// Three days of pages: Monday, Tuesday, Wednesday, each with entries that
// look alike to SQL's LIKE but not to the exact check.
class PageScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(db.open(dir.file("db.mdb")).status, Database::Status::Created);
        const store::Settings s = store::SettingsStore(db).load();
        for (int d = 0; d < 3; ++d)
            ids.push_back(pages.seek(Monday.addDays(d), s).id);
        pages.writeCells(ids[0], {{{3, 1}, "Smith 50%"}, {{4, 2}, "Jones"}});
        pages.writeCells(ids[1], {{{5, 3}, "smith_b\nnew patient"}, {{6, 1}, "Smyth"}});
        pages.writeCells(ids[2], {{{3, 1}, "Zoë Brown"}, {{7, 2}, "50 percent"}});
    }

    testsupport::TestDir dir;
    Database db;
    PageStore pages{db};
    std::vector<int> ids;
};

TEST_F(PageScan, PagesBetweenComeDecodedInDateOrder)
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

class TextScan : public PageScan, public ::testing::WithParamInterface<Scan> {};

TEST_P(TextScan, FindsTheCellsThatContainTheNeedle)
{
    std::vector<TextHit> expected;
    for (const auto &[day, at] : GetParam().hits) {
        const QDate date = Monday.addDays(day);
        const auto cells = book::page::decode(pages.find(date).data);
        expected.push_back({date, at.first, at.second, book::page::cellAt(cells, at.first, at.second)});
    }
    EXPECT_EQ(pages.findText(Monday, Monday.addDays(2), GetParam().needle), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Needles, TextScan,
    ::testing::Values(Scan{"AnyCase", "SMITH", {{0, {3, 1}}, {1, {5, 3}}}},
                      // The wildcards of LIKE are plain characters of the needle.
                      Scan{"Percent", "50%", {{0, {3, 1}}}},
                      Scan{"Underscore", "h_b", {{1, {5, 3}}}},
                      Scan{"Wildcard", "Sm_th", {}},
                      Scan{"AcrossLines", "b\nnew", {{1, {5, 3}}}},
                      Scan{"NotAscii", "zoË", {{2, {3, 1}}}},
                      Scan{"Empty", "", {}}),
    [](const ::testing::TestParamInfo<Scan> &scan) { return std::string(scan.param.name); });

TEST_F(PageScan, ScanStaysInsideTheDates)
{
    const auto hits = pages.findText(Monday.addDays(1), Monday.addDays(1), "smith");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].date, Monday.addDays(1));
}

} // namespace
