#include "book/pages/columnwidths.h"
#include "book/pages/pagetext.h"

#include <gtest/gtest.h>

namespace page = book::page;

namespace {

std::vector<QString> labels(const std::vector<int> &rows)
{
    std::vector<QString> out;
    for (int t : rows)
        out.push_back(page::formatTime(t));
    return out;
}

TEST(PageText, RoundTripKeepsLineBreaksInsideCells)
{
    const page::Cells cells = {{"", "", ""},
                               {"Smith\nnew patient", "", "- - -"},
                               {"", "two\nlines\n", "x"}};
    const QString text = page::encode(cells);
    EXPECT_EQ(text.count(page::RowSep), 2);
    EXPECT_EQ(text.count(page::CellSep), 6);
    EXPECT_EQ(text, QString("\t\t\rSmith\nnew patient\t\t- - -\r\ttwo\nlines\n\tx"));
    EXPECT_EQ(page::decode(text), cells);
}

TEST(PageText, BlankPage)
{
    const page::Cells cells = page::decode(page::blank(22, 3));
    ASSERT_EQ(cells.size(), 22u);
    for (const QStringList &row : cells)
        EXPECT_EQ(row, QStringList({"", "", ""}));
    EXPECT_EQ(page::dataRows(19), 22);
}

TEST(PageText, CleanCellKeepsTheEncodingIntact)
{
    EXPECT_EQ(page::cleanCell("a\tb"), "a b");
    EXPECT_EQ(page::cleanCell("one\r\ntwo\rthree\nfour"), "one\ntwo\nthree\nfour");
    const QString cleaned = page::cleanCell("x\t\r\n\ry");
    EXPECT_FALSE(cleaned.contains(page::CellSep));
    EXPECT_FALSE(cleaned.contains(page::RowSep));
    EXPECT_EQ(cleaned, "x \n\ny");
}

TEST(PageTime, RowsRunFromOpeningToTheFirstSlotAtOrAfterClosing)
{
    EXPECT_EQ(labels(page::timeRows(8 * 60, 9 * 60, 15)),
              (std::vector<QString>{"08:00 AM", "08:15 AM", "08:30 AM", "08:45 AM", "09:00 AM"}));
    EXPECT_EQ(page::dataRows(5) + 2, 10);   // grid rows of that page

    const auto to850 = page::timeRows(8 * 60, 8 * 60 + 50, 15);
    EXPECT_EQ(to850.size(), 5u);
    EXPECT_EQ(page::formatTime(to850.back()), "09:00 AM");

    EXPECT_EQ(labels(page::timeRows(8 * 60, 8 * 60, 30)), (std::vector<QString>{"08:00 AM", "08:30 AM"}));
    EXPECT_EQ(page::timeRows(8 * 60, 17 * 60, 30).size(), 19u);
}

TEST(PageTime, DegenerateSlotsAndMidnightEnd)
{
    // A slot of nothing (or less) must not loop for ever.
    for (int slot : {0, -15}) {
        const auto rows = page::timeRows(8 * 60, 9 * 60, slot);
        ASSERT_FALSE(rows.empty());
        EXPECT_LE(rows.size(), 62u);
        EXPECT_EQ(rows.back(), 9 * 60);
    }
    // Rows that pass midnight end the page.
    const auto late = page::timeRows(23 * 60, 23 * 60 + 59, 30);
    EXPECT_EQ(labels(late), (std::vector<QString>{"11:00 PM", "11:30 PM", "12:00 AM"}));
    // Closing before opening: the opening row alone.
    EXPECT_EQ(page::timeRows(17 * 60, 8 * 60, 30).size(), 1u);
    // A slot as long as the day.
    EXPECT_EQ(page::timeRows(8 * 60, 17 * 60, 1440).size(), 2u);
}

TEST(PageTime, FormatsOnTheTwelveHourClock)
{
    EXPECT_EQ(page::formatTime(8 * 60), "08:00 AM");
    EXPECT_EQ(page::formatTime(12 * 60), "12:00 PM");
    EXPECT_EQ(page::formatTime(30), "12:30 AM");
    EXPECT_EQ(page::formatTime(17 * 60 + 5), "05:05 PM");
    EXPECT_EQ(page::formatTime(QTime(20, 5)), "08:05 PM");
}

TEST(PageTime, ParsesStoredForms)
{
    EXPECT_EQ(page::parseTime("08:00 AM"), 8 * 60);
    EXPECT_EQ(page::parseTime("12:00 PM"), 12 * 60);
    EXPECT_EQ(page::parseTime("12:30 AM"), 30);
    EXPECT_EQ(page::parseTime("8:05 pm"), 20 * 60 + 5);
    EXPECT_EQ(page::parseTime("17:30"), 17 * 60 + 30);
    EXPECT_EQ(page::parseTime(" 9 AM "), 9 * 60);
    for (const char *bad : {"", "abc", "13:00 PM", "0:30 AM", "24:00", "08:60 AM", "8:00 XM",
                            "08:00 AM PM", "-1:00", "08:00:00 AM"})
        EXPECT_FALSE(page::parseTime(bad).has_value()) << bad;
    for (int m = 0; m < 24 * 60; ++m)
        ASSERT_EQ(page::parseTime(page::formatTime(m)), m) << m;
}

TEST(PageLists, NamesAndWidths)
{
    EXPECT_EQ(page::splitList("Dr A%Dr B%Dr C%"), (QStringList{"Dr A", "Dr B", "Dr C"}));
    EXPECT_EQ(page::splitList("A%B"), (QStringList{"A", "B"}));
    EXPECT_TRUE(page::splitList("").isEmpty());
    EXPECT_EQ(page::splitList("%B%"), (QStringList{"", "B"}));   // an unnamed first column
    EXPECT_EQ(page::joinList({"Dr A", "Dr B"}), "Dr A%Dr B%");
    EXPECT_EQ(book::widths::defaultColumnWidth(2), 7800);
    EXPECT_EQ(book::widths::defaultColumnWidth(3), 3850);
    EXPECT_EQ(book::widths::defaultColumnWidth(4), 2550);
    EXPECT_EQ(book::widths::defaultColumnWidth(6), 1940);
    EXPECT_EQ(book::widths::defaultColumnWidth(21), 1940);
}

} // namespace
