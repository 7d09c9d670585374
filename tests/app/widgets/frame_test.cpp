#include "app/widgets/menuwindow.h"
#include "app/widgets/registration.h"
#include "app/widgets/reportwindow.h"
#include "app/widgets/textwindow.h"
#include "store/core/database.h"
#include "store/core/seed.h"
#include "support/station.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace win = ui::win;

namespace {

QString shown(QString s)
{
    return s.replace("\r\n", "\n");
}

class FrameTest : public ::testing::Test, protected testsupport::Station<ui::WindowRegistry> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open(dir).ok());
        registry.setServices(&services);
        app::registerWindows(registry);
        app::registerUnavailableWindows(registry);
    }
    void TearDown() override
    {
        EXPECT_TRUE(prompter.failures().isEmpty()) << prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(prompter.allAnswered());
    }

    // Lets unloaded windows go.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    template <class T = QWidget> T *window(const QString &name)
    {
        return qobject_cast<T *>(registry.window(name));
    }

    app::MenuWindow *openMenu()
    {
        registry.show(win::Menu);
        auto *menu = window<app::MenuWindow>(win::Menu);
        EXPECT_NE(menu, nullptr);
        return menu;
    }

    testsupport::TestDir dir;
    ui::WindowRegistry &registry = windows;
};

} // namespace

TEST_F(FrameTest, SplashWaitsForAKeyThenGivesWayToTheMenu)
{
    registry.show(win::Splash);
    QPointer<QWidget> splash = window(win::Splash);
    ASSERT_TRUE(splash);
    settle();
    EXPECT_TRUE(registry.isLoaded(win::Splash)) << "no timer takes it away";
    EXPECT_FALSE(registry.isLoaded(win::Menu));

    QTest::keyClick(splash, Qt::Key_Space);
    settle();
    EXPECT_TRUE(registry.isLoaded(win::Menu));
    EXPECT_TRUE(window(win::Menu)->isVisible());
    EXPECT_FALSE(registry.isLoaded(win::Splash));
    EXPECT_FALSE(splash);
}

TEST_F(FrameTest, ClickOnTheSplashOpensTheMenu)
{
    registry.show(win::Splash);
    QTest::mouseClick(window(win::Splash), Qt::RightButton, {}, QPoint(500, 300));
    settle();
    EXPECT_TRUE(registry.isLoaded(win::Menu));
    EXPECT_FALSE(registry.isLoaded(win::Splash));
}

TEST_F(FrameTest, MenuShowsItsOptionsAndLocation)
{
    auto *menu = openMenu();
    EXPECT_EQ(menu->windowTitle(), "Main Menu");
    const QStringList captions{"1.    Appointments",      "2.    Accounts",
                               "3.    Setup Page",        "4.    Modify Templates",
                               "5.    Design Letterhead", "6.    Backup Files",
                               "8.    Exit"};
    QStringList found;
    for (int n : {1, 2, 3, 4, 5, 6, 8}) {
        auto *b = menu->findChild<QRadioButton *>(QStringLiteral("Option%1").arg(n));
        ASSERT_NE(b, nullptr) << n;
        found << b->text();
    }
    EXPECT_EQ(found, captions);
    EXPECT_EQ(menu->findChild<QRadioButton *>("Option7"), nullptr);
    auto *text = menu->findChild<QLineEdit *>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Office");
    EXPECT_EQ(text->palette().color(QPalette::Base), QColor(0xE0, 0xE0, 0xE0));
}

TEST_F(FrameTest, DigitKeyOpensTheWindowAndKeepsTheMenuWhileTheOptionReplacesIt)
{
    auto *menu = openMenu();
    QTest::keyClick(menu->option(1), Qt::Key_3);
    settle();
    EXPECT_TRUE(registry.isLoaded(win::Setup));
    EXPECT_TRUE(registry.isLoaded(win::Menu));

    registry.unload(win::Setup);
    settle();
    QTest::keyClick(menu->option(3), Qt::Key_Space);
    settle();
    EXPECT_TRUE(registry.isLoaded(win::Setup));
    EXPECT_FALSE(registry.isLoaded(win::Menu));
}

TEST_F(FrameTest, MousePressOnAnOptionActs)
{
    auto *menu = openMenu();
    QTest::mousePress(menu->option(1), Qt::LeftButton);
    settle();
    EXPECT_TRUE(registry.isLoaded(win::Appt));
    EXPECT_TRUE(registry.isLoaded(win::Menu));
    EXPECT_TRUE(menu->option(1)->isChecked());
}

TEST_F(FrameTest, KeyFiveAsksAboutTheLetterhead)
{
    auto *menu = openMenu();
    prompter.answerNo();
    QTest::keyClick(menu, Qt::Key_5);
    settle();
    ASSERT_EQ(prompter.transcript().size(), 1u);
    EXPECT_EQ(prompter.last().title, "Letterhead Design");
    EXPECT_TRUE(registry.isLoaded(win::NoLetterHead));
    EXPECT_FALSE(registry.isLoaded(win::Menu));
}

TEST_F(FrameTest, CloseBoxAsksAboutBackupAndNoEndsTheProgram)
{
    auto *menu = openMenu();
    QSignalSpy quit(&registry, &ui::WindowRegistry::quitRequested);
    prompter.answerNo();
    menu->close();
    settle();
    ASSERT_EQ(prompter.transcript().size(), 1u);
    EXPECT_EQ(prompter.last().title, "Back-up Files");
    EXPECT_EQ(quit.count(), 1);
    EXPECT_FALSE(registry.isLoaded(win::Menu));
}

TEST_F(FrameTest, HelpShowsTheChosenHelpTextWithExitFocused)
{
    registry.show(win::Help);
    auto *help = window<app::HelpWindow>(win::Help);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Help File");
    EXPECT_EQ(help->text(), shown(store::seed::helpText()));
    auto *text = help->findChild<QPlainTextEdit *>("Text1");
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xEE));
    auto *exit = help->findChild<QPushButton *>("cmdExit");
    EXPECT_EQ(exit->text(), "Exit");
    EXPECT_EQ(help->focusWidget(), exit);

    // A patient window asks for the second text while help is open.
    state.helpField = QStringLiteral("Help2");
    registry.show(win::Help);
    EXPECT_EQ(help->text(), shown(store::seed::help2Text()));

    QTest::mouseClick(exit, Qt::LeftButton);
    settle();
    EXPECT_FALSE(registry.isLoaded(win::Help));
}

TEST_F(FrameTest, ReadmeOpensFromTheMenuAndLeadsBack)
{
    db.exec("UPDATE tbl_Setup SET Readme = ?", {QStringLiteral("Read me first.")});
    auto *menu = openMenu();
    QTest::mouseClick(menu->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    auto *readme = window<app::ReadmeWindow>(win::Readme);
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(readme->windowTitle(), "Readme");
    EXPECT_EQ(readme->text(), "Read me first.");

    registry.hide(win::Menu);
    readme->close(); // the close box leads back like the button
    settle();
    EXPECT_FALSE(registry.isLoaded(win::Readme));
    EXPECT_TRUE(window(win::Menu)->isVisible());
}

TEST_F(FrameTest, WindowsNotBuiltYetSaySoAndReturnToTheMenu)
{
    auto *menu = openMenu();
    QTest::keyClick(menu, Qt::Key_1);
    auto *appt = window(win::Appt);
    ASSERT_NE(appt, nullptr);
    EXPECT_EQ(appt->windowTitle(), "Appointments Scheduler");
    EXPECT_EQ(appt->findChild<QLabel *>("lblMessage")->text(),
              "Appointments Scheduler is not available yet.");
    registry.hide(win::Menu);
    QTest::mouseClick(appt->findChild<QPushButton *>("cmdBack"), Qt::LeftButton);
    settle();
    EXPECT_FALSE(registry.isLoaded(win::Appt));
    EXPECT_TRUE(window(win::Menu)->isVisible());
}

TEST_F(FrameTest, StandInForBackupEndsTheProgramOnTheWayOut)
{
    auto *menu = openMenu();
    QSignalSpy quit(&registry, &ui::WindowRegistry::quitRequested);
    prompter.answerYes();
    QTest::keyClick(menu, Qt::Key_8);
    settle();
    EXPECT_TRUE(state.exitFlag);
    ASSERT_TRUE(registry.isLoaded(win::Backup));
    EXPECT_FALSE(registry.isLoaded(win::Menu));
    window(win::Backup)->close();
    settle();
    EXPECT_EQ(quit.count(), 1);
    EXPECT_FALSE(registry.isLoaded(win::Menu));
}

// Pictures of the splash and the menu for a look by eye:
TEST_F(FrameTest, MenuFrameIsCentredAtTheTopEdge)
{
    auto *menu = openMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QRect avail = menu->screen()->availableGeometry();
    const QRect frame = menu->frameGeometry();
    EXPECT_EQ(frame.top(), avail.top());   // the title bar and its close box on the screen
    EXPECT_LE(std::abs(frame.left() - (avail.right() - frame.right())), 1);
}

// QUILLON_SCREENSHOTS=<folder> app_widgets_tests --gtest_filter=*Screenshots*
TEST_F(FrameTest, Screenshots)
{
    const QString out = qEnvironmentVariable("QUILLON_SCREENSHOTS");
    registry.show(win::Splash);
    const QPixmap splash = window(win::Splash)->grab();
    auto *menu = openMenu();
    const QPixmap menuShot = menu->grab();
    EXPECT_FALSE(splash.isNull());
    EXPECT_FALSE(menuShot.isNull());
    if (out.isEmpty())
        GTEST_SKIP() << "QUILLON_SCREENSHOTS not set";
    EXPECT_TRUE(splash.save(QDir(out).filePath("splash.png")));
    EXPECT_TRUE(menuShot.save(QDir(out).filePath("menu.png")));
}

namespace {

TEST_F(FrameTest, AReportNoEditorTookShowsInTheTextWindowAndANewOneReplacesIt)
{
    state.report = {"Appointments History", "line one\r\nline two\r\n", "", "Saved as x.txt; no text editor could be started for it."};
    registry.show(win::TextReport);
    auto *w = window<app::ReportWindow>(win::TextReport);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Appointments History");
    EXPECT_EQ(w->text(), "line one\nline two\n");
    EXPECT_EQ(w->note(), state.report.note);
    for (const char *button : {"cmdSaveAs", "cmdPrint", "cmdClose"})
        EXPECT_NE(w->findChild<QPushButton *>(button), nullptr) << button;
    if (qEnvironmentVariableIsSet("QUILLON_SHOTS"))
        w->grab().save(QDir(qEnvironmentVariable("QUILLON_SHOTS")).filePath("frmText.png"));

    state.report = {"Column Export", "other", "", ""};
    registry.show(win::TextReport);
    EXPECT_EQ(w->text(), "other");
    EXPECT_EQ(w->windowTitle(), "Column Export");
    w->findChild<QPushButton *>("cmdClose")->click();
    settle();
    EXPECT_FALSE(registry.isLoaded(win::TextReport));
}

// The text window opens centred on the screen, large enough for a report's
// lines, and Escape closes it.
TEST_F(FrameTest, TheTextWindowOpensCentredAndEscapeClosesIt)
{
    state.report = {"Column Export", "line", "", ""};
    registry.show(win::TextReport);
    auto *w = window<app::ReportWindow>(win::TextReport);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const QRect avail = w->screen()->availableGeometry();
    const QRect frame = w->frameGeometry();
    EXPECT_TRUE(avail.contains(frame));
    EXPECT_LE(std::abs((frame.left() - avail.left()) - (avail.right() - frame.right())), 1);
    EXPECT_LE(std::abs((frame.top() - avail.top()) - (avail.bottom() - frame.bottom())), 1);
    EXPECT_GE(frame.width(), avail.width() * 2 / 3);
    EXPECT_GE(frame.height(), avail.height() * 3 / 4);

    QTest::keyClick(w->findChild<QPlainTextEdit *>("txtReport"), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(registry.isLoaded(win::TextReport));
}

} // namespace
