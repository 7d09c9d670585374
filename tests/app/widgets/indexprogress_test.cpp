#include "app/widgets/indexprogress.h"

#include <QApplication>
#include <gtest/gtest.h>

// The start-up's line while the search index builds: shown with the busy
// pointer at the first count, gone with it at the last.
TEST(IndexProgress, ShowsTheCountWithTheBusyPointerUntilTheLastPage)
{
    app::IndexProgress progress;
    progress.report(1234, 3652);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.text(), "Building the search index: 1,234 of 3,652 pages");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    progress.report(3652, 3652);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
