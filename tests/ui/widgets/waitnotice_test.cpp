#include "ui/core/stationwait.h"
#include "ui/widgets/waitnotice.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

namespace {

// A window whose write waits for another station: the wait shows in it from
// the first slice, takes no typing, and the user can stop it.
class WaitNoticeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setCentralWidget(edit);
        window.resize(600, 400);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
    }

    // One slice of the wait, with `during` run inside it.
    bool slice(std::function<void()> during)
    {
        QTimer::singleShot(0, &window, std::move(during));
        return wait.keepWaiting(100);
    }

    QMainWindow window;
    QLineEdit *edit = new QLineEdit;
    ui::StationWait wait;
    ui::WaitNotice notice{wait};
};

TEST_F(WaitNoticeTest, ShowsTheWaitTakesNoTypingAndStopsOnTheButton)
{
    bool keptWaiting = slice([&] {
        ASSERT_TRUE(notice.line());
        EXPECT_TRUE(notice.line()->isVisible());
        EXPECT_EQ(notice.line()->window(), &window);
        EXPECT_EQ(notice.line()->geometry().bottom(), window.rect().bottom());
        EXPECT_EQ(notice.line()->findChild<QLabel *>("lblWaiting")->text(), "Waiting for another station\u2026");
        ASSERT_TRUE(QApplication::overrideCursor());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
        QTest::keyClicks(edit, "typed");
        EXPECT_EQ(edit->text(), "");
        // A box opened during the wait (a message) takes its input.
        QLineEdit box;
        box.show();
        QTest::keyClicks(&box, "typed");
        EXPECT_EQ(box.text(), "typed");
    });
    EXPECT_TRUE(keptWaiting);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    keptWaiting = slice([&] { QTest::mouseClick(notice.line()->findChild<QPushButton *>("cmdStopWaiting"), Qt::LeftButton); });
    EXPECT_FALSE(keptWaiting);
    EXPECT_TRUE(edit->hasFocus());

    wait.waitOver();
    EXPECT_FALSE(notice.line());
    EXPECT_FALSE(QApplication::overrideCursor());
    QTest::keyClicks(edit, "typed");
    EXPECT_EQ(edit->text(), "typed");
}

// Escape stops even where it is a shortcut of the window; no shortcut acts
// during the wait.
TEST_F(WaitNoticeTest, EscapeStopsAndNoShortcutActs)
{
    int refreshed = 0;
    auto *refresh = new QAction(&window);
    refresh->setShortcut(Qt::Key_F3);
    window.addAction(refresh);
    QObject::connect(refresh, &QAction::triggered, [&] { ++refreshed; });
    auto *cancel = new QAction(&window);
    cancel->setShortcut(Qt::Key_Escape);
    window.addAction(cancel);
    EXPECT_FALSE(slice([&] {
        QTest::keyClick(edit, Qt::Key_F3);
        QTest::keyClick(edit, Qt::Key_Escape);
    }));
    EXPECT_EQ(refreshed, 0);
    wait.waitOver();
    EXPECT_FALSE(QApplication::overrideCursor());
}

} // namespace
