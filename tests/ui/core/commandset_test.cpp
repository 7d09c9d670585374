#include "ui/core/commandset.h"

#include <gtest/gtest.h>

namespace {

class CommandSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        set.addMenu("mnuFile", "&File");
        // Declared out of key order: the legend sorts them.
        set.add({.menu = "mnuFile", .entry = "mnuFileExit", .text = "E&xit", .functionKey = Qt::Key_F12,
                 .legend = "F12 Exit", .run = [this] { ++exits; }});
        set.add({.menu = "mnuFile", .entry = "mnuFileSave", .text = "&Save", .shortcut = "Ctrl+S",
                 .functionKey = Qt::Key_F4, .legend = "F4 Save", .available = [this] { return saveable; },
                 .run = [this] { ++saves; }});
        set.add({.functionKey = Qt::Key_F2, .legend = "F2 Summary", .built = false, .run = [this] { ++summaries; }});
        set.add({.menu = "mnuFile", .entry = "mnuFileHistory", .text = "&History", .shortcut = "Ctrl+H",
                 .legend = "Ctrl+H History", .run = [] {}});
        set.add({.tool = "Help", .toolTip = "Help Contents", .run = [] {}});
    }

    ui::CommandSet set;
    bool saveable = false;
    int exits = 0, saves = 0, summaries = 0;
};

TEST_F(CommandSetTest, LegendInKeyOrderAndIdsAndNames)
{
    // Keys first, then a command that has a shortcut alone.
    EXPECT_EQ(set.legend(), "F2 Summary   F4 Save   F12 Exit   Ctrl+H History");
    set.setLegendGap("  ");
    EXPECT_EQ(set.legend(), "F2 Summary  F4 Save  F12 Exit  Ctrl+H History");
    EXPECT_EQ(set.keys(), (std::vector<int>{Qt::Key_F2, Qt::Key_F4, Qt::Key_F12}));

    ASSERT_TRUE(set.find("mnuFileSave"));
    EXPECT_EQ(set.forKey(Qt::Key_F4), set.find("mnuFileSave"));
    EXPECT_EQ(set.forKey(Qt::Key_F2), set.find("F2"));
    EXPECT_EQ(set.find("tbHelp")->toolTip, "Help Contents");
    EXPECT_EQ(set.forKey(Qt::Key_F5), nullptr);
    EXPECT_EQ(set.forKey(0), nullptr);

    EXPECT_EQ(ui::CommandSet::accessibleName(*set.find("mnuFileExit")), "Exit");
    EXPECT_EQ(ui::CommandSet::accessibleName(*set.find("tbHelp")), "Help Contents");
    EXPECT_EQ(ui::CommandSet::withoutMnemonic("Save && E&xit"), "Save & Exit");
}

TEST_F(CommandSetTest, TriggersOnlyWhatIsAvailable)
{
    // A key of the window is used up even when its command cannot run now.
    EXPECT_TRUE(set.functionKey(Qt::Key_F4));
    EXPECT_TRUE(set.functionKey(Qt::Key_F2));
    EXPECT_FALSE(set.trigger("mnuFileSave"));
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(summaries, 0);
    EXPECT_FALSE(set.isAvailable("F2"));

    saveable = true;
    EXPECT_TRUE(set.isAvailable("mnuFileSave"));
    EXPECT_TRUE(set.functionKey(Qt::Key_F4));
    EXPECT_TRUE(set.trigger("mnuFileSave"));
    EXPECT_EQ(saves, 2);

    EXPECT_FALSE(set.functionKey(Qt::Key_F9));
    EXPECT_FALSE(set.trigger("nothing"));
    EXPECT_TRUE(set.functionKey(Qt::Key_F12));
    EXPECT_EQ(exits, 1);
}

} // namespace
