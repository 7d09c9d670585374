#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

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
