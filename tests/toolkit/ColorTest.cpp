// Colour values and their resolution.
#include "toolkit/Color.h"

#include "support/FakeUi.h"

#include <gtest/gtest.h>

TEST(Color, NamedColoursHoldRedInTheLowByte)
{
    EXPECT_EQ(clRed, 0x0000FF);
    EXPECT_EQ(clBlue, 0xFF0000);
    EXPECT_EQ(clYellow, 0x00FFFF);
    EXPECT_EQ(clLime, 0x00FF00);
    EXPECT_EQ(clNavy, 0x800000);
    EXPECT_EQ(clMaroon, 0x000080);
    EXPECT_EQ(clGreen, 0x008000);
}

TEST(Color, SystemColoursAreNegativeAndResolvedAtUse)
{
    FakeUi ui;
    EXPECT_LT(clWindowText, 0);
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnShadow), 0x80000010u);
    EXPECT_EQ(ColorToRGB(clBtnShadow, ui), ui.sysColor(16));
    EXPECT_EQ(ColorToRGB(clWindowText, ui), ui.sysColor(8));
    EXPECT_EQ(ColorToRGB(clYellow, ui), 0x00FFFFu);
}
