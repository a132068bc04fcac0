// Font sizes in points and pixels.
#include "toolkit/Font.h"

#include <gtest/gtest.h>

TEST(Font, DefaultsToEightPointMsSansSerif)
{
    TFont font;
    EXPECT_EQ(font.Name, "MS Sans Serif");
    EXPECT_EQ(font.Height, -11);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Color, clWindowText);
}

TEST(Font, SizeAndHeightConvertAtNinetySixPixelsPerInch)
{
    TFont font;
    font.Height = -21;
    EXPECT_EQ(font.Size(), 16);
    font.SetSize(8);
    EXPECT_EQ(font.Height, -11);
    font.SetSize(12);
    EXPECT_EQ(font.Height, -16);
}
