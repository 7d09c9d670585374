#include "app/core/menucontroller.h"

#include "support/station.h"
#include "ui/core/windows.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace app;
namespace win = ui::win;

namespace {

class MenuControllerTest : public ::testing::Test, protected testsupport::Station<> {
protected:
    MenuControllerTest() { windows.setLoaded(win::Menu); }

    void expectQuestion(const QString &text, const QString &title)
    {
        ASSERT_EQ(prompter.transcript().size(), 1u);
        const auto &p = prompter.last();
        EXPECT_EQ(p.kind, ui::ScriptedPrompter::Kind::Question);
        EXPECT_EQ(p.text, text);
        EXPECT_EQ(p.title, title);
        EXPECT_EQ(p.icon, ui::Icon::Question);
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(prompter.allAnswered());
    }

    MenuController menu{services};
};

const QString LetterheadText = QStringLiteral(
    "Would you like to design your own letterhead for printing on the invoice/receipt "
    "statements? You do not need to if you are using preprinted letterhead paper.");
const QString BackupText = QStringLiteral(
    "Would you like to back-up your files now? Regular files back-up will minimize loss of "
    "data in case your hard disk crashes.");

} // namespace

TEST_F(MenuControllerTest, DigitKeysOpenWindowsButLeaveTheMenuOpen)
{
    EXPECT_TRUE(menu.digitKey('1'));
    EXPECT_TRUE(menu.digitKey('2'));
    EXPECT_TRUE(menu.digitKey('3'));
    EXPECT_TRUE(menu.digitKey('4'));
    EXPECT_TRUE(menu.digitKey('6'));
    EXPECT_EQ(windows.log(), QStringList({"show frmAppt", "show frmSearchMenu", "show frmSetup",
                                          "show frmConfigure", "show frmBackup"}));
    EXPECT_TRUE(windows.isLoaded(win::Menu));

    windows.clearLog();
    EXPECT_FALSE(menu.digitKey('7'));
    EXPECT_FALSE(menu.digitKey('0'));
    EXPECT_FALSE(menu.digitKey('9'));
    EXPECT_FALSE(menu.digitKey('A'));
    EXPECT_TRUE(windows.log().isEmpty());
    EXPECT_TRUE(prompter.transcript().empty());
}

TEST_F(MenuControllerTest, OptionsThreeFourSixReplaceTheMenuOneAndTwoKeepIt)
{
    menu.chooseOption(1);
    menu.chooseOption(2);
    EXPECT_EQ(windows.log(), QStringList({"show frmAppt", "show frmSearchMenu"}));

    windows.clearLog();
    menu.chooseOption(3);
    EXPECT_EQ(windows.log(), QStringList({"show frmSetup", "unload frmMenu"}));

    windows.clearLog();
    menu.chooseOption(4);
    menu.chooseOption(6);
    EXPECT_EQ(windows.log(), QStringList({"show frmConfigure", "unload frmMenu", "show frmBackup",
                                          "unload frmMenu"}));
    windows.clearLog();
    menu.chooseOption(7);
    EXPECT_TRUE(windows.log().isEmpty());
}

TEST_F(MenuControllerTest, KeyFiveAsksTheLetterheadQuestionYesOpensTheDesigner)
{
    windows.setLoaded(win::Appt);
    prompter.answerYes();
    EXPECT_TRUE(menu.digitKey('5'));
    expectQuestion(LetterheadText, QStringLiteral("Letterhead Design"));
    // The window that leads on comes first; the book goes, setup was not open.
    EXPECT_EQ(windows.log(),
              QStringList({"show frmLetterHead1", "unload frmAppt", "unload frmMenu"}));
}

TEST_F(MenuControllerTest, LetterheadNoOpensThePreprintedPaperWindow)
{
    windows.setLoaded(win::Setup);
    prompter.answerNo();
    menu.chooseOption(5);
    expectQuestion(LetterheadText, QStringLiteral("Letterhead Design"));
    EXPECT_EQ(windows.log(),
              QStringList({"show frmNoLetterHead", "unload frmSetup", "unload frmMenu"}));
}

TEST_F(MenuControllerTest, ExitWithoutBackupUnloadsTheTaskWindowsAndQuits)
{
    windows.setLoaded(win::Appt);
    windows.setLoaded(win::PatientDetails);
    windows.setLoaded(win::Account);
    prompter.answerNo();
    menu.chooseOption(8);
    expectQuestion(BackupText, QStringLiteral("Back-up Files"));
    EXPECT_EQ(windows.log(), QStringList({"unload frmAppt", "unload frmPatientDetails",
                                          "unload frmAccount", "unload frmMenu", "quit"}));
    EXPECT_FALSE(state.exitFlag);
}

TEST_F(MenuControllerTest, ExitWithBackupSetsTheFlagAndLeavesTheEndToTheBackupWindow)
{
    windows.setLoaded(win::Account);
    prompter.answerYes();
    EXPECT_TRUE(menu.digitKey('8'));
    expectQuestion(BackupText, QStringLiteral("Back-up Files"));
    EXPECT_TRUE(state.exitFlag);
    EXPECT_EQ(windows.log(),
              QStringList({"show frmBackup", "unload frmAccount", "unload frmMenu"}));
    EXPECT_FALSE(windows.quitCalled());
}

TEST_F(MenuControllerTest, ClosingTheMenuWindowTakesTheExitPath)
{
    prompter.answerNo();
    menu.closeRequested();
    expectQuestion(BackupText, QStringLiteral("Back-up Files"));
    EXPECT_TRUE(windows.quitCalled());
    EXPECT_FALSE(windows.isLoaded(win::Menu));
}

TEST(SplashControllerTest, FirstPressOpensTheMenuOnce)
{
    ui::RecordingWindows windows;
    windows.setLoaded(win::Splash);
    SplashController splash(windows);
    splash.userPressed();
    splash.userPressed(); // a key and a click in quick succession
    EXPECT_EQ(windows.log(), QStringList({"show frmMenu", "unload frmSplash"}));
}

TEST_F(MenuControllerTest, AnotherDataFolderIsRememberedForTheNextStart)
{
    testsupport::TestDir config, current, other;
    state.places.setData(current.path(), ui::Places::Source::Chosen);
    state.places.setSettingsFile(config.file("station.ini"));
    EXPECT_EQ(menu.dataText(), QDir::toNativeSeparators(current.path()));

    menu.dataFolderChosen(current.path());  // the same: nothing to say
    prompter.expectMessage();
    menu.dataFolderChosen(other.path());
    EXPECT_EQ(prompter.last().text, MenuController::dataChangedText(other.path(), false));
    EXPECT_EQ(ui::Places::chosen(config.file("station.ini")), other.path());
    // This start's folder stays in use until the program starts again.
    EXPECT_EQ(state.places.data(), current.path());

    // A folder named at start keeps coming first: the user is told.
    state.places.setData(current.path(), ui::Places::Source::CommandLine);
    prompter.expectMessage();
    menu.dataFolderChosen(config.path());
    EXPECT_TRUE(prompter.last().text.endsWith("while it is, it comes first."));
}
