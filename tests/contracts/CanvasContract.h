// The contract of the canvas and bitmap service, as typed tests: the same
// text runs natively against the software canvas and under Wine against GDI.
// Instantiate with a service type that can be default-constructed.
#pragma once

#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <memory>

template <class Service>
class CanvasContract : public ::testing::Test {
protected:
    static constexpr platform::Rgb red = 0x0000FF, blue = 0xFF0000, black = 0, white = 0xFFFFFF;

    std::unique_ptr<platform::IBitmap> bitmap(int w, int h, platform::Rgb colour = white, bool mono = false)
    {
        auto made = service.newBitmap({w, h}, mono);
        if (made)
            made->canvas().fillRect({0, 0, w, h}, colour);
        return made;
    }

    // The pixels of one row, left to right.
    static std::vector<platform::Rgb> row(platform::IBitmap& b, int y)
    {
        std::vector<platform::Rgb> pixels;
        for (int x = 0; x < b.size().width; ++x)
            pixels.push_back(b.canvas().pixel({x, y}));
        return pixels;
    }

    Service service;
};

TYPED_TEST_SUITE_P(CanvasContract);

TYPED_TEST_P(CanvasContract, NewBitmapsAreWhiteAndAnEmptySizeMakesNone)
{
    for (bool mono : {false, true}) {
        auto b = this->service.newBitmap({3, 2}, mono);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->size(), (platform::Size{3, 2}));
        EXPECT_EQ(b->monochrome(), mono);
        EXPECT_EQ(this->row(*b, 1), (std::vector<platform::Rgb>(3, this->white)));
    }
    EXPECT_FALSE(this->service.newBitmap({0, 5}, false));
    EXPECT_FALSE(this->service.newBitmap({5, -1}, true));
}

TYPED_TEST_P(CanvasContract, DrawingIsClippedToTheSurfaceAndTheViewport)
{
    auto b = this->bitmap(6, 1);
    platform::ICanvas& c = b->canvas();
    c.fillRect({-10, -10, 12, 30}, this->red); // only columns 0 and 1 are on the surface
    c.setViewport({3, 0, 2, 1});
    c.fillRect({-1, 0, 10, 1}, this->blue); // only the viewport's two columns
    EXPECT_EQ(c.pixel({0, 0}), this->blue);  // the viewport's own coordinates
    c.setViewport({0, 0, 6, 1});
    using V = std::vector<platform::Rgb>;
    EXPECT_EQ(this->row(*b, 0), (V{this->red, this->red, this->white, this->blue, this->blue, this->white}));
}

TYPED_TEST_P(CanvasContract, RasterOperationsCombineSourceAndTarget)
{
    using platform::RasterOp;
    struct Case {
        RasterOp op;
        platform::Rgb target, source, result;
    };
    const Case cases[] = {
        {RasterOp::SrcCopy, 0x112233, 0x445566, 0x445566},
        {RasterOp::SrcInvert, 0x112233, 0xFFFFFF, 0xEEDDCC},
        {RasterOp::SrcInvert, 0x0F0F0F, 0x0F00F0, 0x000FFF},
        {RasterOp::SrcAnd, 0x112233, 0x0F0F0F, 0x010203},
    };
    for (const Case& c : cases) {
        auto target = this->bitmap(2, 2, c.target);
        auto source = this->bitmap(1, 1, c.source);
        target->canvas().draw({1, 1}, *source, c.op);
        EXPECT_EQ(target->canvas().pixel({1, 1}), c.result) << std::hex << static_cast<unsigned>(c.op);
        EXPECT_EQ(target->canvas().pixel({0, 0}), c.target);
    }
}

TYPED_TEST_P(CanvasContract, AMonochromeMaskKeepsWhatItsWhiteCoversAndBlackensTheRest)
{
    auto mask = this->bitmap(2, 1, this->white, true);
    mask->canvas().fillRect({0, 0, 1, 1}, this->black);
    auto target = this->bitmap(2, 1, this->red);
    target->canvas().draw({0, 0}, *mask, platform::RasterOp::SrcAnd);
    EXPECT_EQ(this->row(*target, 0), (std::vector<platform::Rgb>{this->black, this->red}));
}

TYPED_TEST_P(CanvasContract, StretchingRepeatsPixelsWithoutBlendingThem)
{
    auto source = this->bitmap(2, 1, this->red);
    source->canvas().fillRect({1, 0, 1, 1}, this->blue);
    auto target = this->bitmap(6, 2);
    target->canvas().stretchDraw({1, 0, 4, 2}, *source, platform::RasterOp::SrcCopy);
    using V = std::vector<platform::Rgb>;
    const V expected{this->white, this->red, this->red, this->blue, this->blue, this->white};
    EXPECT_EQ(this->row(*target, 0), expected);
    EXPECT_EQ(this->row(*target, 1), expected);
}

TYPED_TEST_P(CanvasContract, CopyRectTakesTheSourceRectangle)
{
    auto source = this->bitmap(4, 1, this->white);
    source->canvas().fillRect({2, 0, 1, 1}, this->red);
    source->canvas().fillRect({3, 0, 1, 1}, this->blue);
    auto target = this->bitmap(3, 1, this->black);
    target->canvas().copyRect({1, 0, 2, 1}, source->canvas(), {2, 0, 2, 1});
    EXPECT_EQ(this->row(*target, 0), (std::vector<platform::Rgb>{this->black, this->red, this->blue}));
}

TYPED_TEST_P(CanvasContract, EmptyRectanglesAndSourcesDrawNothing)
{
    auto target = this->bitmap(3, 3, this->blue);
    auto source = this->bitmap(1, 1, this->red);
    platform::ICanvas& c = target->canvas();
    c.fillRect({0, 0, 0, 3}, this->red);
    c.fillRect({0, 0, 3, -1}, this->red);
    c.stretchDraw({0, 0, 0, 3}, *source, platform::RasterOp::SrcCopy);
    c.copyRect({0, 0, 3, 3}, source->canvas(), {0, 0, 0, 0});
    c.copyRect({0, 0, -2, 3}, source->canvas(), {0, 0, 1, 1});
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(this->row(*target, y), (std::vector<platform::Rgb>(3, this->blue)));
}

TYPED_TEST_P(CanvasContract, TextIsWrittenInItsColourWithinItsExtent)
{
    auto b = this->bitmap(120, 40, this->blue);
    platform::ICanvas& c = b->canvas();
    c.setFont({"Arial", -20, true});
    const platform::Size one = c.textExtent("W");
    const platform::Size two = c.textExtent("WW");
    ASSERT_GT(one.width, 0);
    EXPECT_GT(two.width, one.width);
    EXPECT_EQ(two.height, one.height);

    c.setTextColor(this->red);
    c.setTextBackground(true);
    c.textOut({10, 5}, "W");
    int inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            platform::Rgb p = c.pixel({x, y});
            bool inside = x >= 10 && x < 10 + one.width && y >= 5 && y < 5 + one.height;
            if (p == this->red)
                inked += inside ? 1 : 1000; // ink outside the extent fails below
            else if (!inside) {
                EXPECT_EQ(p, this->blue) << x << "," << y;
            }
        }
    EXPECT_GT(inked, 0);
    EXPECT_LT(inked, 1000);
    // A clear background left the box's empty corner; an opaque one paints it white.
    EXPECT_EQ(c.pixel({10, 5 + one.height - 1}), this->blue);
    c.setTextBackground(false);
    c.textOut({60, 5}, "W");
    EXPECT_EQ(c.pixel({60, 5 + one.height - 1}), this->white);
}

REGISTER_TYPED_TEST_SUITE_P(CanvasContract, NewBitmapsAreWhiteAndAnEmptySizeMakesNone,
                            DrawingIsClippedToTheSurfaceAndTheViewport, RasterOperationsCombineSourceAndTarget,
                            AMonochromeMaskKeepsWhatItsWhiteCoversAndBlackensTheRest,
                            StretchingRepeatsPixelsWithoutBlendingThem, CopyRectTakesTheSourceRectangle,
                            EmptyRectanglesAndSourcesDrawNothing, TextIsWrittenInItsColourWithinItsExtent);
