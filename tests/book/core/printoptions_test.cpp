#include "book/core/printoptions.h"

#include <gtest/gtest.h>

using book::PrintOptions;
using Choice = PrintOptions::Choice;
using Focus = PrintOptions::Focus;

TEST(PrintOptions, OpensOnTheDailyChoiceWithTheColumnCountInTheCaption)
{
    PrintOptions p;
    p.open(7, 3, 12);
    EXPECT_TRUE(p.visible());
    EXPECT_EQ(p.choice(), Choice::Daily);
    EXPECT_TRUE(p.entryReadOnly());
    EXPECT_EQ(p.columnCaption(), "Print Column No. ( 1 to 12 )");
    EXPECT_EQ(p.print().kind, PrintOptions::Action::Daily);
    p.close();
    EXPECT_EQ(p.savedRow(), 7);
    EXPECT_EQ(p.savedCol(), 3);
}

TEST(PrintOptions, TheEntryBoxTakesDigitsAndIsClampedOnLeaving)
{
    PrintOptions p;
    p.open(3, 1, 6);
    p.setEntry("4");
    EXPECT_EQ(p.entry(), "");   // read-only until the column choice
    p.choose(Choice::Column);
    EXPECT_TRUE(p.entryKeyPress('7'));
    EXPECT_TRUE(p.entryKeyPress(QChar(8)));
    EXPECT_FALSE(p.entryKeyPress('a'));
    EXPECT_FALSE(p.entryKeyPress('-'));
    for (const auto &[typed, kept] : {std::pair{"0", "1"}, {"99", "6"}, {"99999999999999999999", "6"}, {"4", "4"}}) {
        p.setEntry(typed);
        p.entryLeft();
        EXPECT_EQ(p.entry(), kept) << typed;
    }
    EXPECT_EQ(p.entryKeyDown(Qt::Key_Return), Focus::PrintButton);
    EXPECT_EQ(p.entryKeyDown(Qt::Key_Up), Focus::Column);
    const auto a = p.print();
    EXPECT_EQ(a.kind, PrintOptions::Action::Column);
    EXPECT_EQ(a.column, 4);
    p.choose(Choice::Weekly);
    EXPECT_EQ(p.entry(), "");
}

TEST(PrintOptions, PrintWithoutAColumnNumberAsksForOne)
{
    PrintOptions p;
    p.open(3, 1, 6);
    p.enterOnOption(Choice::Daily);   // Enter on the chosen option switches it off
    EXPECT_EQ(p.choice(), Choice::None);
    EXPECT_EQ(p.entryKeyDown(Qt::Key_Return), Focus::Stay);
    const auto a = p.print();
    EXPECT_EQ(a.kind, PrintOptions::Action::Nothing);
    EXPECT_EQ(a.focus, Focus::Entry);
    EXPECT_EQ(p.choice(), Choice::Column);
    EXPECT_FALSE(p.entryReadOnly());
}
