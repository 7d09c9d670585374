#include "ui/widgets/qtcolour.h"

#include <gtest/gtest.h>

namespace {

TEST(QtColour, StoredOrderIsBlueGreenRed)
{
    // Pale yellow is stored 0xEEFFFF: red and green full, blue 0xEE.
    EXPECT_EQ(ui::toQColor(ui::colours::PaleYellow), QColor(0xFF, 0xFF, 0xEE));
    EXPECT_EQ(ui::toQColor(ui::colours::Desktop), QColor(160, 176, 200));
    EXPECT_EQ(ui::rgbFromBgr(ui::colours::PageLocked), 0xFF8080u);
    for (const ui::Bgr c : {0x000000, 0x123456, ui::colours::LightPurple, 0xFFFFFF}) {
        EXPECT_EQ(ui::toBgr(ui::toQColor(c)), c);
        EXPECT_EQ(ui::bgrFromRgb(ui::rgbFromBgr(c)), c);
    }
}

} // namespace
