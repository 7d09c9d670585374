// The program's windows working together through the registry, as the
// receptionist meets them: menu, book, setup and templates.
#include "app/widgets/registration.h"
#include "book/widgets/bookwindows.h"
#include "setup/widgets/setupwindows.h"
#include "setup/widgets/templatewindows.h"
#include "store/core/database.h"
#include "support/station.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace win = ui::win;

namespace {

class Flow : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        registry.setServices(&services);
        app::registerWindows(registry);
        book::registerWindows(registry);
        setup::registerWindows(registry);
        setup::registerTemplateWindow(registry);
        app::registerUnavailableWindows(registry);
    }
    void TearDown() override
    {
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(prompter.allAnswered());
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

    testsupport::TestDir dir;
    ui::WindowRegistry &registry = windows;
};

TEST_F(Flow, KeyOneOpensTheBookOnTodaysPageAndKeepsTheMenu)
{
    registry.show(win::Menu);
    QTest::keyClick(registry.window(win::Menu), Qt::Key_1);
    settle();
    QWidget *book = registry.window(win::Appt);
    ASSERT_NE(book, nullptr);
    EXPECT_EQ(book->windowTitle(), "Appointments Scheduler");
    EXPECT_TRUE(registry.isLoaded(win::Menu));
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM \"tbl_Appt\" WHERE \"CalDate\" = ?", {clock.today()}).toInt(), 1);
}

TEST_F(Flow, SavingTheSetupLeadsToTheTemplates)
{
    registry.show(win::Menu);
    registry.show(win::Appt);
    settle();
    registry.show(win::Setup);
    settle();
    QWidget *setupWindow = registry.window(win::Setup);
    ASSERT_NE(setupWindow, nullptr);
    auto *okay = setupWindow->findChild<QPushButton *>("CmdOkay");
    ASSERT_NE(okay, nullptr);

    prompter.expectMessage().answerYes().expectMessage();
    QTest::mouseClick(okay, Qt::LeftButton);
    settle();
    EXPECT_EQ(prompter.transcript().at(0).title, "Changing Time Settings");
    EXPECT_EQ(prompter.transcript().at(1).text, "Do you wish to configure page templates for each day of the week?");
    EXPECT_FALSE(registry.isLoaded(win::Setup));
    EXPECT_FALSE(registry.isLoaded(win::Appt));   // starts afresh with the new settings
    ASSERT_TRUE(registry.isLoaded(win::Configure));
    EXPECT_EQ(registry.window(win::Configure)->windowTitle(), "Configure Page Templates");
    EXPECT_EQ(prompter.transcript().at(2).title, "Configure Page templates");
}

TEST_F(Flow, KeyFourLeavesTheFocusOnTheTemplateGrid)
{
    registry.show(win::Menu);
    QWidget *menu = registry.window(win::Menu);
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu));
    // The instructions' box belongs to the menu, which was active when it
    // came, and hands the activation back to it when it closes.
    prompter.expectMessage().onNext([menu](const auto &) { menu->activateWindow(); });
    QTest::keyClick(menu, Qt::Key_4);
    settle();
    QWidget *templates = registry.window(win::Configure);
    ASSERT_NE(templates, nullptr);
    EXPECT_EQ(prompter.last().title, "Configure Page templates");
    EXPECT_EQ(QApplication::activeWindow(), templates);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Grid1");
    // A digit typed now goes into the grid, not to the menu.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    settle();
    EXPECT_FALSE(registry.isLoaded(win::Appt));
}

// A window that cannot read the settings says so and leads back to the menu
// instead of showing an empty form.
class FailedLoad : public Flow, public ::testing::WithParamInterface<QString> {};

TEST_P(FailedLoad, ReturnsToTheMenu)
{
    registry.show(win::Menu);
    settle();
    registry.unload(win::Menu);
    db.exec("ALTER TABLE \"tbl_Setup\" RENAME TO \"tbl_SetupAway\"");
    prompter.expectMessage();
    registry.show(GetParam());
    settle();
    EXPECT_FALSE(registry.isLoaded(GetParam()));
    EXPECT_TRUE(registry.isLoaded(win::Menu));
}

INSTANTIATE_TEST_SUITE_P(Flow, FailedLoad, ::testing::Values(win::Setup, win::Configure),
                         [](const auto &p) { return p.param.toStdString(); });

} // namespace

namespace {

// Leaving the program from the menu while the book holds a typed, unsaved
// cell stops at the entry as F3 does: nothing is unloaded, nothing lost.
TEST_F(Flow, ExitFromTheMenuStopsAtATypedCellInTheBook)
{
    registry.show(win::Menu);
    QTest::keyClick(registry.window(win::Menu), Qt::Key_1);
    settle();
    QWidget *book = registry.window(win::Appt);
    ASSERT_NE(book, nullptr);
    auto *grid = book->findChild<QWidget *>(QStringLiteral("Grid1"));
    auto *editor = book->findChild<QPlainTextEdit *>(QStringLiteral("txtEdit"));
    ASSERT_TRUE(grid && editor);
    QTest::keyClicks(grid, QStringLiteral("S"));
    QTest::keyClicks(editor, QStringLiteral("mith"));
    ASSERT_EQ(editor->toPlainText(), "Smith");

    prompter.expectMessage();
    QTest::keyClick(registry.window(win::Menu), Qt::Key_8);
    settle();

    EXPECT_EQ(prompter.last().text, "Save last appointment entry!?");
    EXPECT_TRUE(registry.isLoaded(win::Appt));
    EXPECT_TRUE(registry.isLoaded(win::Menu));
    EXPECT_EQ(editor->toPlainText(), "Smith");
}

} // namespace
