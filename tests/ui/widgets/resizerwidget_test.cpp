#include "ui/widgets/resizerwidget.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Resizes a shown window and lets its resize event arrive.
void resizeTo(QWidget &w, int width, int height)
{
    w.resize(width, height);
    QCoreApplication::processEvents();
}

} // namespace

TEST(WidgetResizerTest, RecordsOnFirstShowAndScalesChildrenAfterwards)
{
    QWidget window;
    auto *button = new QPushButton("OK", &window);
    button->setGeometry(100, 200, 300, 40);
    auto *label = new QLabel("Name", &window);
    label->setGeometry(10, 10, 80, 20);
    QFont f = label->font();
    f.setPointSizeF(10);
    label->setFont(f);
    auto *resizer = new ui::WidgetResizer(&window);
    window.resize(500, 400);
    EXPECT_FALSE(resizer->recorded());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(resizer->recorded());
    EXPECT_EQ(button->geometry(), QRect(100, 200, 300, 40)) << "the design layout stays as it is";

    resizer->setResizeFont(true);
    resizeTo(window, 1000, 600);
    EXPECT_EQ(window.size(), QSize(1000, 600));
    EXPECT_EQ(button->geometry(), QRect(200, 300, 600, 60));
    EXPECT_EQ(label->geometry(), QRect(20, 15, 160, 30));
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 15.0);

    // A control added now keeps its place until the layout is recorded anew.
    auto *late = new QLabel("Late", &window);
    late->setGeometry(50, 50, 100, 20);
    late->show();
    resizeTo(window, 500, 400);
    EXPECT_EQ(button->geometry(), QRect(100, 200, 300, 40));
    EXPECT_EQ(late->geometry(), QRect(50, 50, 100, 20));

    resizer->rebuild();
    resizeTo(window, 1000, 800);
    EXPECT_EQ(late->geometry(), QRect(100, 100, 200, 40));

    // A recorded control that goes away is skipped; the others still move.
    delete label;
    resizeTo(window, 500, 400);
    EXPECT_EQ(late->geometry(), QRect(50, 50, 100, 20));
    EXPECT_EQ(button->geometry(), QRect(100, 200, 300, 40));
}
