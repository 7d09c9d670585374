#include "ui/core/resizer.h"

#include <gtest/gtest.h>
#include <cmath>
#include <optional>

using ui::Resizer;

namespace {

// A window of plain rectangles; a control may refuse its font or geometry.
class FakeWindow : public ui::LayoutTarget {
public:
    struct Control {
        QRectF rect;
        std::optional<double> font;
        bool refusesGeometry = false;
    };

    QSizeF size;
    std::vector<Control> controls;
    int heightCalls = 0;

    QSizeF innerSize() const override { return size; }
    void setHeight(double h) override
    {
        ++heightCalls;
        size.setHeight(h);
    }
    int controlCount() const override { return int(controls.size()); }
    bool geometry(int i, QRectF &out) const override
    {
        if (controls[i].refusesGeometry)
            return false;
        out = controls[i].rect;
        return true;
    }
    bool fontSize(int i, double &out) const override
    {
        if (!controls[i].font)
            return false;
        out = *controls[i].font;
        return true;
    }
    bool setGeometry(int i, const QRectF &r) override
    {
        if (controls[i].refusesGeometry)
            return false;
        controls[i].rect = r;
        return true;
    }
    bool setFontSize(int i, double s) override
    {
        if (!controls[i].font)
            return false;
        controls[i].font = s;
        return true;
    }
};

class ResizerTest : public ::testing::Test {
protected:
    ResizerTest()
    {
        window.size = QSizeF(1000, 800);
        window.controls = {{QRectF(100, 200, 300, 400), 10.0},
                           {QRectF(0, 0, 50, 20), std::nullopt},
                           {QRectF(500, 500, 120, 30), 8.25}};
        resizer.windowLoaded();
        resizer.windowResized(); // the first resize records
    }

    FakeWindow window;
    Resizer resizer{window};
};

} // namespace

TEST_F(ResizerTest, ScalesPositionsAndSizesByEachAxis)
{
    ASSERT_TRUE(resizer.recorded());
    window.size = QSizeF(2000, 1200);
    resizer.windowResized();
    EXPECT_EQ(window.controls[0].rect, QRectF(200, 300, 600, 600));
    EXPECT_EQ(window.controls[2].rect, QRectF(1000, 750, 240, 45));
    EXPECT_DOUBLE_EQ(*window.controls[0].font, 10.0) << "fonts stay unless asked";
}

TEST_F(ResizerTest, FontsFollowTheSmallerFactor)
{
    resizer.resizeFont = true;
    window.size = QSizeF(2000, 1200);
    resizer.refresh();
    EXPECT_DOUBLE_EQ(*window.controls[0].font, 15.0);
    EXPECT_FALSE(window.controls[1].font.has_value()) << "a control without a font is skipped";
    EXPECT_EQ(window.controls[1].rect, QRectF(0, 0, 100, 30)) << "but still moved";
}

TEST_F(ResizerTest, BackToTheRecordedSizeRestoresExactly)
{
    resizer.resizeFont = true;
    const auto before = window.controls;
    for (QSizeF s : {QSizeF(1333, 777), QSizeF(311, 97), QSizeF(2500, 2100)}) {
        window.size = s;
        resizer.refresh();
    }
    window.size = QSizeF(1000, 800);
    resizer.refresh();
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(window.controls[i].rect, before[i].rect) << i;
        EXPECT_EQ(window.controls[i].font, before[i].font) << i;
    }
}

TEST_F(ResizerTest, ControlsAddedLaterWaitForRebuild)
{
    window.controls.push_back({QRectF(10, 10, 10, 10), 9.0});
    window.size = QSizeF(2000, 1600);
    resizer.refresh();
    EXPECT_EQ(window.controls[3].rect, QRectF(10, 10, 10, 10));
    EXPECT_EQ(window.controls[0].rect, QRectF(200, 400, 600, 800));

    // Recorded anew at this size: the factors start from here.
    resizer.rebuild();
    window.size = QSizeF(1000, 800);
    resizer.refresh();
    EXPECT_EQ(window.controls[3].rect, QRectF(5, 5, 5, 5));
    EXPECT_EQ(window.controls[0].rect, QRectF(100, 200, 300, 400));
}

TEST_F(ResizerTest, ARefusingControlKeepsItsPlaceAndTheOthersMove)
{
    window.controls[1].refusesGeometry = true;
    resizer.rebuild();
    window.size = QSizeF(2000, 1600);
    resizer.refresh();
    EXPECT_EQ(window.controls[1].rect, QRectF(0, 0, 50, 20));
    EXPECT_EQ(window.controls[2].rect, QRectF(1000, 1000, 240, 60));
}

TEST_F(ResizerTest, KeepRatioForcesTheHeightFromTheWidth)
{
    resizer.keepRatio = true;
    window.size = QSizeF(2000, 300);
    resizer.refresh();
    EXPECT_DOUBLE_EQ(window.size.height(), 1600.0); // 0.8 of the width, as loaded
    EXPECT_EQ(window.controls[0].rect, QRectF(200, 400, 600, 800));
}

TEST(ResizerEdgeTest, WindowRecordedAtZeroSizeLeavesControlsAlone)
{
    FakeWindow window;
    window.size = QSizeF(0, 0);
    window.controls = {{QRectF(10, 20, 30, 40), 10.0}};
    Resizer resizer(window);
    resizer.resizeFont = true;
    resizer.keepRatio = true;
    resizer.windowLoaded();
    resizer.windowResized();
    EXPECT_FALSE(resizer.recorded());

    window.size = QSizeF(400, 300);
    resizer.refresh(); // infinite factors: nothing changes, nothing crashes
    EXPECT_EQ(window.controls[0].rect, QRectF(10, 20, 30, 40));
    EXPECT_DOUBLE_EQ(*window.controls[0].font, 10.0);

    // The next resize records the layout at last.
    resizer.windowResized();
    EXPECT_TRUE(resizer.recorded());
}

TEST(ResizerEdgeTest, ControlsRemovedAfterRecordingAreSkipped)
{
    FakeWindow window;
    window.size = QSizeF(100, 100);
    window.controls = {{QRectF(10, 10, 10, 10), 10.0}, {QRectF(20, 20, 10, 10), 10.0}};
    Resizer resizer(window);
    resizer.windowLoaded();
    resizer.windowResized();
    window.controls.pop_back();
    window.size = QSizeF(200, 200);
    resizer.windowResized();
    ASSERT_EQ(window.controls.size(), 1u);
    EXPECT_EQ(window.controls[0].rect, QRectF(20, 20, 20, 20));
}
