#include "setup/widgets/setupwindow.h"
#include "store/core/database.h"
#include "support/station.h"
#include "ui/core/windows.h"
#include "ui/widgets/gridview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using setup::Field;

namespace {

class SetupWindowTest : public ::testing::Test, protected testsupport::Station<> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        window = std::make_unique<setup::SetupWindow>(services);
        ASSERT_TRUE(window->load());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <class T = QWidget>
    T *find(const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }

    std::string focused()
    {
        QCoreApplication::processEvents();   // the focus sent back after a refused value
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName().toStdString() : std::string("(none)");
    }

    void press(Qt::Key key)
    {
        QTest::keyClick(QApplication::focusWidget(), key);
    }

    testsupport::TestDir dir;
    std::unique_ptr<setup::SetupWindow> window;
};

TEST_F(SetupWindowTest, ControlsCarryTheirNames)
{
    for (const char *name : {"Text1", "txtHrO", "txtMinO", "txtAM", "txtHrC", "txtMinC", "txtPM",
                             "Text4", "txtRHT", "Text5", "txtEdit"})
        EXPECT_TRUE(find<QLineEdit>(name)) << name;
    EXPECT_TRUE(find<ui::GridView>("Grid1"));
    EXPECT_EQ(find<QPushButton>("CmdOkay")->text(), "Okay");
    EXPECT_EQ(find<QPushButton>("CmdReset")->text(), "Reset");
    EXPECT_EQ(window->windowTitle(), "  Set-up Page");
    EXPECT_EQ(find<QLineEdit>("txtHrC")->text(), "05");
}

TEST_F(SetupWindowTest, EnterWalksTheFieldsInOrder)
{
    find("Text1")->setFocus();
    const char *order[] = {"txtHrO", "txtMinO", "txtAM", "txtHrC", "txtMinC",
                           "txtPM",  "Text4",   "txtRHT", "Text5", "Grid1"};
    for (const char *next : order) {
        press(Qt::Key_Return);
        EXPECT_EQ(focused(), next);
    }
}

TEST_F(SetupWindowTest, EnterInEmptyFieldStaysAndRefusedHourTakesTheFocusBack)
{
    auto *slot = find<QLineEdit>("Text4");
    slot->setFocus();
    slot->selectAll();
    press(Qt::Key_Backspace);
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), "Text4");
    QTest::keyClicks(slot, "45");

    auto *hour = find<QLineEdit>("txtHrO");
    hour->setFocus();
    hour->selectAll();
    QTest::keyClicks(hour, "8x");
    EXPECT_EQ(hour->text(), "8");
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), "txtMinO");
    EXPECT_EQ(hour->text(), "08");

    hour->setFocus();
    hour->selectAll();
    QTest::keyClicks(hour, "13");
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), "txtHrO");
}

TEST_F(SetupWindowTest, AmPmIsTypedInCapitals)
{
    auto *am = find<QLineEdit>("txtAM");
    am->setFocus();
    am->selectAll();
    QTest::keyClicks(am, "pm");
    EXPECT_EQ(am->text(), "PM");
    EXPECT_EQ(window->controller().text(Field::txtAM), "PM");
}

TEST_F(SetupWindowTest, ArrowsMoveBetweenLines)
{
    find("txtMinO")->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), "txtMinC");
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), "Text4");
    find("CmdReset")->setFocus();
    press(Qt::Key_Up);
    EXPECT_EQ(focused(), "Text5");
}

TEST_F(SetupWindowTest, TypingInTheGridOpensTheEditorAndWritesTheCell)
{
    auto *grid = find<ui::GridView>("Grid1");
    auto *editor = find<QLineEdit>("txtEdit");
    grid->setFocus();
    grid->model()->setCursor(1, 2);
    QTest::keyClicks(grid, "X");
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(focused(), "txtEdit");
    EXPECT_EQ(editor->text(), "Dr BrookX");
    EXPECT_EQ(grid->model()->textMatrix(1, 2), "Dr BrookX");
    EXPECT_EQ(editor->geometry(), grid->cellRectInWidget(1, 2));

    QTest::keyClicks(editor, "%y");
    EXPECT_EQ(grid->model()->textMatrix(1, 2), "Dr BrookXy");
    press(Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(focused(), "Grid1");

    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), "CmdOkay");
}

} // namespace
