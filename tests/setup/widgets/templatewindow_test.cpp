#include "setup/widgets/templatewindow.h"

#include "book/pages/pagetext.h"
#include "support/station.h"
#include "ui/core/windows.h"
#include "ui/widgets/gridview.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

TEST(TemplateWindowTest, TypingTabAndFinishStoreMondayAndShowTuesday)
{
    testsupport::TestDir dir;
    testsupport::Station<> st;
    ASSERT_TRUE(st.open(dir).ok());
    auto &[db, prompter, windows, state, clock, clipboard, desktop, services] = st;

    prompter.expectMessage();   // the instructions on first showing
    setup::TemplateWindow window(services);
    ASSERT_TRUE(window.load());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompter.allAnswered(); }));
    EXPECT_EQ(prompter.last().title, "Configure Page templates");

    auto *day = window.findChild<QLabel *>("lblCalDay");
    auto *finish = window.findChild<QPushButton *>("CmdFinish");
    auto *status = window.findChild<QComboBox *>("Combo0");
    ASSERT_TRUE(day && finish && status);
    EXPECT_EQ(day->text(), "Monday");
    EXPECT_EQ(finish->text(), "Tue");
    EXPECT_EQ(status->itemText(1), " Office Closed");
    QStringList actions;
    for (QAction *a : window.gridMenu()->actions())
        if (!a->isSeparator())
            actions << a->text();
    EXPECT_EQ(actions, QStringList({"Copy", "Cut", "Paste", "Delete", "Blockout", "Exit"}));

    // A typed key opens the editor over the cell; Tab keeps the entry.
    window.controller().grid().setCursor(4, 2);
    window.gridView()->setFocus();
    QTest::keyClicks(window.gridView(), "L");
    QPlainTextEdit *edit = window.cellEditor();
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->geometry(), window.gridView()->cellRect(4, 2));
    QTest::keyClicks(edit, "unch{");
    EXPECT_EQ(edit->toPlainText(), "Lunch");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(window.controller().grid().textMatrix(4, 2), "Lunch");

    QTest::keyClick(window.gridView(), Qt::Key_F8);
    EXPECT_TRUE(status->hasFocus());

    QTest::mouseClick(finish, Qt::LeftButton);
    EXPECT_EQ(day->text(), "Tuesday");
    EXPECT_EQ(finish->text(), "Wed");
    const auto mon = book::page::decode(db.scalar("SELECT \"Mon\" FROM \"tbl_Setup\"").toString());
    ASSERT_GT(mon.size(), 2u);
    EXPECT_EQ(mon[2][1], "Lunch");
    EXPECT_TRUE(prompter.failures().isEmpty());
}

} // namespace
