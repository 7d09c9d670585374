#include "ui/widgets/taskwindow.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

// These run offscreen in the suite; on a display with a window manager
// (QT_QPA_PLATFORM=xcb) they check what only a real frame shows.

namespace {

QRect available(const QWidget &w)
{
    return w.screen()->availableGeometry();
}

} // namespace

// A task window's frame, title bar included, takes the screen's width at its
// top edge, and keeps its place when it comes to the front again.
TEST(TaskWindowPlacement, FrameSitsAtTheTopEdgeAndStaysThere)
{
    // The menu is up, framed, whenever a task window opens.
    QWidget menu;
    menu.resize(200, 100);
    menu.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QWidget w;
    w.resize(300, 200);
    ui::placeTaskWindow(&w);   // before the frame is known, as on first show
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRect avail = w.screen()->availableGeometry();
    const QRect first = w.frameGeometry();
    EXPECT_EQ(first.topLeft(), avail.topLeft());
    EXPECT_EQ(first.width(), avail.width());

    ui::placeTaskWindow(&w);   // the next activation
    QApplication::processEvents();
    EXPECT_EQ(w.frameGeometry().topLeft(), avail.topLeft());
    EXPECT_EQ(w.frameGeometry().width(), avail.width());
}

// With no framed window to go by (the splash has no frame), a window asks
// for its frame, not its inside, to go to the spot: the title bar is where
// it was meant to be whatever the frame turns out to be.
TEST(TaskWindowPlacement, AWindowNotFramedYetHasItsFramePutAtTheSpot)
{
    QWidget w;
    w.resize(300, 200);
    ui::placeFrame(&w, QRect(100, 80, 400, 300));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(ui::isFramed(&w));
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(100, 80));
}

// The first task window of the program: inside the screen, at the top edge,
// the screen's width, once its frame is known.
TEST(TaskWindowPlacement, TheFirstTaskWindowOpensInsideTheScreen)
{
    ui::TaskWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRect avail = available(w);
    QTRY_COMPARE(w.frameGeometry().width(), avail.width());
    EXPECT_EQ(w.frameGeometry().topLeft(), avail.topLeft());
    EXPECT_TRUE(avail.contains(w.frameGeometry()));
}

// Margins read while the window manager was still resizing a window (its
// right edge far inside the window) would make the window about twice the
// screen: they are no frame's, and the window goes by another's.
TEST(TaskWindowPlacement, MarginsNoFrameCanHaveCountAsUnknown)
{
    const QSize screen(1366, 768);
    EXPECT_TRUE(ui::plausibleFrame(QMargins(1, 20, 1, 1), screen));
    EXPECT_TRUE(ui::plausibleFrame(QMargins(), screen));
    EXPECT_FALSE(ui::plausibleFrame(QMargins(1, 20, -985, 1), screen));
    EXPECT_FALSE(ui::plausibleFrame(QMargins(1, -20, 1, 1), screen));
    EXPECT_FALSE(ui::plausibleFrame(QMargins(683, 20, 683, 1), screen));
    EXPECT_FALSE(ui::plausibleFrame(QMargins(1, 200, 1, 1), screen));
}
