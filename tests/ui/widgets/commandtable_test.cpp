#include "ui/widgets/commandtable.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

using Command = ui::CommandTable::Command;

class CommandTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.addMenu("mnuPage", "&Page");
        table.addMenu("mnuGrid", "Grid", true);
        table.add({.menu = "mnuPage", .entry = "mnuPageOpen", .text = "&Open",
                   .shortcut = "Ctrl+O", .tool = "Open", .toolTip = "Open",
                   .run = [this] { ++opened; }});
        table.add({.menu = "mnuPage", .entry = "mnuPageExit", .text = "E&xit", .functionKey = Qt::Key_F11,
                   .legend = "F11 Exit", .menuGap = true, .run = [this] { ++exits; }});
        table.add({.menu = "mnuGrid", .entry = "mnuGridSearch", .text = "Search", .functionKey = Qt::Key_F5,
                   .tool = "Search", .toolTip = "Search Client", .legend = "F5 Search", .built = false,
                   .toolGap = true, .run = [this] { ++searches; }});
        table.add({.menu = "mnuPage", .entry = "mnuPageSave", .text = "&Save", .tool = "Save",
                   .available = [this] { return saveable; }, .run = [this] { ++saves; }});
        table.buildMenuBar(window.menuBar());
        table.buildToolBar(window.addToolBar("tools"), nullptr);
        grid = table.buildMenu("mnuGrid", &window);
    }
    template <class T = QAction> T *find(const char *name) { return window.findChild<T *>(name); }

    QMainWindow window;
    ui::CommandTable table;
    QMenu *grid = nullptr;
    bool saveable = false;
    int opened = 0, exits = 0, searches = 0, saves = 0;
};

TEST_F(CommandTableTest, BuildsMenusToolbarAndLegendInTableOrder)
{
    auto *page = find<QMenu>("mnuPage");
    ASSERT_TRUE(page && grid);
    EXPECT_EQ(window.menuBar()->actions().size(), 1);   // the context menu stays out of the bar
    QStringList texts;
    for (QAction *a : page->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts, QStringList({"&Open", "-", "E&xit\tF11", "&Save"}));
    EXPECT_EQ(find("mnuPageOpen")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_TRUE(find("mnuPageExit")->shortcut().isEmpty());   // the window's own key, shown only
    EXPECT_EQ(grid->title(), "Grid");

    QAction *open = find("tbOpen");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->text(), "Open");
    EXPECT_EQ(open->toolTip(), "Open");
    EXPECT_EQ(open->data().toString(), "Open");
    EXPECT_EQ(table.legend(), "F5 Search   F11 Exit");
}

TEST_F(CommandTableTest, KeyEntryAndButtonReachTheSameHandler)
{
    EXPECT_TRUE(table.functionKey(Qt::Key_F11));
    find("mnuPageExit")->trigger();
    EXPECT_EQ(exits, 2);
    find("mnuPageOpen")->trigger();
    find("tbOpen")->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_FALSE(table.functionKey(Qt::Key_F12));
}

TEST_F(CommandTableTest, UnavailableCommandIsDisabledAndDoesNothing)
{
    for (QAction *a : {find("mnuGridSearch"), find("tbSearch")}) {
        ASSERT_TRUE(a);
        EXPECT_FALSE(a->isEnabled());
        EXPECT_EQ(a->toolTip(), "Not available yet");
        a->trigger();
    }
    EXPECT_TRUE(table.functionKey(Qt::Key_F5));   // still the window's key
    EXPECT_EQ(searches, 0);
}

TEST_F(CommandTableTest, EntryAndButtonFollowAvailability)
{
    QAction *entry = find("mnuPageSave"), *button = find("tbSave");
    ASSERT_TRUE(entry && button);
    EXPECT_FALSE(entry->isEnabled());
    button->trigger();
    EXPECT_EQ(saves, 0);
    saveable = true;
    table.set().refresh();
    EXPECT_TRUE(entry->isEnabled() && button->isEnabled());
    entry->trigger();
    button->trigger();
    EXPECT_EQ(saves, 2);
    // The button a reader reaches says the command, not its toolbar key.
    EXPECT_EQ(window.findChild<QToolBar *>()->widgetForAction(button)->accessibleName(), "Save");
}

} // namespace
