// The gradient caption label on a form of the fake UI, painted on the software
// canvas: the colour table, the bands, the fills clipped to the glyphs, the
// outline and shadow, the texture, the repaint rules and the temporary bitmaps.
#include "widgets/GradientLabel.h"

#include "support/FakeUi.h"
#include "support/SoftwareCanvas.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace {

constexpr platform::Rgb rgb(int r, int g, int b)
{
    return static_cast<platform::Rgb>(r | g << 8 | b << 16);
}

class GradientLabelTest : public ::testing::Test {
protected:
    GradientLabelTest()
    {
        form.SetBounds(0, 0, 300, 80);
        form.SetColor(clBlack);
        label.SetBounds(32, 12, 249, 25);
        label.SetCaption("Nomblet 3.7");
        TFont font = label.Font();
        font.Height = -21;
        font.Color = clWhite;
        label.SetFont(font);
    }

    // The label's box of its caption on the form, from the software text.
    platform::Rect captionBox(int dx = 1, int dy = 1) const
    {
        platform::Size cell = SoftwareCanvas::cellOf(FontSpecOf(label.Font()));
        return {label.Left() + dx, label.Top() + dy, cell.width * static_cast<int>(label.Caption().size()),
                cell.height};
    }

    FakeUi ui;
    FakeCanvasService canvases;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TGradientForm");
    FakeWindow& window = *ui.windowByHandle(form.Handle().handle());
    TGradientLabel& label = form.Create<TGradientLabel>(form, canvases);
};

TEST_F(GradientLabelTest, ColourTableRoundsHalvesAwayFromZeroAndWrapsEachChannel)
{
    struct Case {
        TColor start, end;
        int entry;
        platform::Rgb colour;
    };
    const Case cases[] = {
        {clYellow, clLime, 0, rgb(255, 255, 0)},   {clYellow, clLime, 126, rgb(129, 255, 0)},
        {clYellow, clLime, 127, rgb(127, 255, 0)}, {clYellow, clLime, 128, rgb(126, 255, 0)},
        {clYellow, clLime, 254, rgb(0, 255, 0)},   {clMaroon, clGreen, 127, rgb(64, 64, 0)},
        {clMaroon, clGreen, 254, rgb(0, 128, 0)},  {clBlack, clWhite, 255, rgb(0, 0, 0)}, // 256 wraps to 0
        {clWhite, clBlack, 255, rgb(255, 255, 255)}, // -1 wraps to 255
        {clRed, clRed, 200, rgb(255, 0, 0)},
        // A system colour is looked up when the table is built (the fake's colour 16 is 0x101010).
        {clBtnShadow, clBlack, 0, rgb(16, 16, 16)},
    };
    for (const Case& c : cases) {
        label.SetStartColor(c.start);
        label.SetEndColor(c.end);
        EXPECT_EQ(label.ColorTable()[c.entry], c.colour) << std::hex << c.start << " to " << c.end << std::dec
                                                          << ", entry " << c.entry;
    }
}

TEST_F(GradientLabelTest, BandsFollowTheRoundingAndSomeAreEmpty)
{
    // Start and end chosen so that table entry i has red i: each band shows who drew it.
    label.SetStartColor(clBlack);
    label.SetEndColor(rgb(254, 0, 0));
    for (bool across : {true, false}) {
        SCOPED_TRACE(across ? "horizontal" : "vertical");
        const platform::Size size = across ? platform::Size{249, 3} : platform::Size{3, 249};
        auto target = canvases.newBitmap(size, false);
        if (across)
            label.FillHorizontal(target->canvas(), size.width, size.height);
        else
            label.FillVertical(target->canvas(), size.width, size.height);
        std::set<int> shown;
        for (int i = 0; i < 249; ++i) {
            platform::Point p = across ? platform::Point{i, 1} : platform::Point{1, i};
            shown.insert(static_cast<int>(target->canvas().pixel(p) & 0xFF));
        }
        EXPECT_EQ(target->canvas().pixel({0, 0}), rgb(0, 0, 0));
        EXPECT_EQ(target->canvas().pixel(across ? platform::Point{248, 2} : platform::Point{2, 248}),
                  rgb(254, 0, 0));
        std::set<int> missing;
        for (int band = 0; band <= 254; ++band)
            if (!shown.count(band))
                missing.insert(band);
        EXPECT_THAT(missing, ::testing::ElementsAre(21, 63, 106, 148, 191, 233));
    }
}

TEST_F(GradientLabelTest, TheGradientShowsOnlyInsideTheGlyphsFromTheLeftToTheRightOfTheText)
{
    label.SetStartColor(clYellow);
    label.SetEndColor(clLime);
    auto canvas = window.paint();
    const platform::Rect box = captionBox();
    const platform::Size cell = SoftwareCanvas::cellOf(FontSpecOf(label.Font()));
    // The first glyph's first column, the last glyph's last column, and a row through both.
    const int y = box.top + box.height / 2;
    // The gradient is scaled to the text's box: its ends meet the box's ends.
    EXPECT_GE(canvas->pixel({box.left + 1, y}) & 0xFF, 250u);
    EXPECT_LE(canvas->pixel({box.left + box.width - 2, y}) & 0xFF, 5u);
    platform::Rgb previous = rgb(255, 255, 0);
    for (int x = box.left; x < box.left + box.width; ++x) {
        const platform::Rgb p = canvas->pixel({x, y});
        const bool inGlyph = (x - box.left) % cell.width != 0 && (x - box.left) % cell.width != cell.width - 1 &&
                             label.Caption()[(x - box.left) / cell.width] != ' ';
        if (!inGlyph) {
            EXPECT_EQ(p, rgb(0, 0, 0)) << "x " << x;
            continue;
        }
        EXPECT_EQ(p & 0xFFFF00, 0x00FF00u) << "x " << x; // green full, no blue
        EXPECT_LE(p & 0xFF, previous & 0xFF) << "x " << x; // red only falls
        previous = p;
    }
    // Above and below the text's box the background stays.
    EXPECT_EQ(canvas->pixel({box.left + 2, box.top - 1}), rgb(0, 0, 0));
    EXPECT_EQ(canvas->pixel({box.left + 2, box.top + box.height}), rgb(0, 0, 0));
}

TEST_F(GradientLabelTest, OutlineAndShadowAreWrittenAroundTheCaptionForTheTypesThatHaveThem)
{
    using Texts = std::vector<std::pair<platform::Point, platform::Rgb>>;
    const platform::Rgb white = rgb(255, 255, 255), border = rgb(0, 0, 128), shadow = rgb(16, 16, 16);
    const int x = 32 + 1, y = 12 + 1;
    struct Case {
        TextureType type;
        bool shadow;
        Texts texts;
    };
    const Texts outline{{{x + 1, y + 1}, border}, {{x - 1, y + 1}, border}, {{x - 1, y - 1}, border},
                        {{x + 1, y - 1}, border}, {{x, y}, white}};
    Texts shadowed{{{x + 3, y + 3}, shadow}, {{x, y}, white}};
    Texts shadowedOutline = shadowed;
    shadowedOutline.insert(shadowedOutline.end(), outline.begin(), outline.end());
    const Case cases[] = {
        {TyHGradient, false, {}},          {TyVGradient, true, shadowed}, {TyOutline, false, outline},
        {TyOutline, true, shadowedOutline}, {TyBitmap, false, outline},
    };
    label.SetShadowDeep(3);
    for (const Case& c : cases) {
        label.SetTxType(c.type);
        label.SetShadow(c.shadow);
        auto canvas = window.paint();
        Texts written;
        for (const SoftwareCanvas::Text& t : canvas->texts)
            if (t.at.y >= 0 && t.text == "Nomblet 3.7" && t.font.name == "Arial")
                written.emplace_back(t.at, t.colour);
        // The mask's own text is written at (0, 0) of its bitmap, not on the form.
        EXPECT_EQ(written, c.texts) << "type " << int(c.type) << (c.shadow ? " with shadow" : "");
    }
}

TEST_F(GradientLabelTest, TheTextureIsCopiedInAndStretchedOverTheText)
{
    TBitmap texture(canvases);
    texture.SetSize(2, 1);
    texture.Image()->canvas().fillRect({0, 0, 1, 1}, rgb(255, 0, 0));
    texture.Image()->canvas().fillRect({1, 0, 1, 1}, rgb(0, 0, 255));
    label.SetTxType(TyBitmap);
    label.SetTexture(texture);
    texture.Image()->canvas().fillRect({0, 0, 2, 1}, rgb(0, 255, 0)); // the caller's copy only
    EXPECT_EQ(label.Texture().Image()->canvas().pixel({0, 0}), rgb(255, 0, 0));

    auto canvas = window.paint();
    const platform::Rect box = captionBox();
    const int y = box.top + box.height / 2;
    EXPECT_EQ(canvas->pixel({box.left + 1, y}), rgb(255, 0, 0));
    EXPECT_EQ(canvas->pixel({box.left + box.width - 2, y}), rgb(0, 0, 255));
}

TEST_F(GradientLabelTest, NothingIsFilledWithoutTextOrTexture)
{
    label.SetTxType(TyBitmap); // no texture: the outlined caption alone
    auto outlined = window.paint();
    const platform::Rect box = captionBox();
    EXPECT_EQ(outlined->pixel({box.left + 2, box.top + box.height / 2}), rgb(255, 255, 255));

    label.SetCaption("");
    label.SetShadow(true);
    for (TextureType type : {TyBitmap, TyHGradient, TyVGradient, TyOutline}) {
        label.SetTxType(type);
        auto canvas = window.paint();
        EXPECT_THAT(canvas->texts, ::testing::IsEmpty());
        for (int x = 0; x < 300; x += 7)
            EXPECT_EQ(canvas->pixel({x, 20}), rgb(0, 0, 0));
    }
}

TEST_F(GradientLabelTest, EveryTemporaryBitmapIsFreedWhicheverOneTheSystemRefuses)
{
    label.SetTxType(TyHGradient);
    canvases.calls.clear();
    window.paint();
    const std::size_t made = canvases.callsOf("newBitmap").size();
    ASSERT_EQ(made, 3u); // the fill, the mask and the work bitmap
    EXPECT_EQ(canvases.liveBitmaps, 0);
    for (std::size_t n = 1; n <= made; ++n) {
        canvases.faults.failNth("newBitmap", static_cast<int>(n));
        auto canvas = window.paint();
        canvases.faults.clear();
        EXPECT_EQ(canvases.liveBitmaps, 0) << "bitmap " << n << " refused";
        // Without its bitmaps the fill is left out, and nothing else is drawn.
        EXPECT_EQ(canvas->pixel({captionBox().left + 2, captionBox().top + 5}), rgb(0, 0, 0)) << n;
    }
}

TEST_F(GradientLabelTest, ShadowDepthTakesZeroToNineOnly)
{
    label.SetShadowDeep(5);
    for (int rejected : {10, -1, 100, -9})
        label.SetShadowDeep(rejected);
    EXPECT_EQ(label.ShadowDeep(), 5);
    label.SetShadowDeep(0);
    EXPECT_EQ(label.ShadowDeep(), 0);
    label.SetShadowDeep(9);
    EXPECT_EQ(label.ShadowDeep(), 9);
}

TEST_F(GradientLabelTest, SettersRepaintByTheirRules)
{
    struct Case {
        const char* what;
        std::function<void()> set;
        bool repaints;
    };
    const Case cases[] = {
        {"start colour of a gradient", [&] { label.SetStartColor(clRed); }, true},
        {"same start colour", [&] { label.SetStartColor(clRed); }, false},
        {"end colour of a gradient", [&] { label.SetEndColor(clBlue); }, true},
        {"border colour of a gradient", [&] { label.SetBorderColor(clRed); }, false},
        {"shadow colour without shadow", [&] { label.SetShadowColor(clRed); }, false},
        {"shadow depth without shadow", [&] { label.SetShadowDeep(4); }, false},
        {"shadow on", [&] { label.SetShadow(true); }, true},
        {"shadow colour with shadow", [&] { label.SetShadowColor(clLime); }, true},
        {"shadow depth with shadow", [&] { label.SetShadowDeep(5); }, true},
        {"rejected shadow depth", [&] { label.SetShadowDeep(10); }, false},
        {"type outline", [&] { label.SetTxType(TyOutline); }, true},
        {"start colour of an outline", [&] { label.SetStartColor(clYellow); }, false},
        {"end colour of an outline", [&] { label.SetEndColor(clLime); }, false},
        {"border colour of an outline", [&] { label.SetBorderColor(clNavy); }, true},
        {"same type", [&] { label.SetTxType(TyOutline); }, false},
        {"caption", [&] { label.SetCaption("Nomblet"); }, true},
        {"font", [&] { label.SetFont(label.Font()); }, true},
        {"texture", [&] { label.SetTexture(TBitmap(canvases)); }, true},
    };
    for (const Case& c : cases) {
        window.invalidated.clear();
        c.set();
        EXPECT_EQ(!window.invalidated.empty(), c.repaints) << c.what;
    }
}

TEST_F(GradientLabelTest, SwitchingToAGradientTakesTheColoursSetMeanwhile)
{
    label.SetTxType(TyOutline);
    label.SetStartColor(clYellow);
    label.SetEndColor(clLime);
    EXPECT_EQ(label.ColorTable()[0], rgb(128, 0, 0)); // not rebuilt for an outline
    label.SetTxType(TyHGradient);
    EXPECT_EQ(label.ColorTable()[0], rgb(255, 255, 0));
    EXPECT_EQ(label.ColorTable()[254], rgb(0, 255, 0));
}

} // namespace
