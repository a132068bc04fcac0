// Win32 only. The canvas service over GDI: its contract, the gradient caption
// painted with real glyphs, and the GDI objects and device-context state that
// painting leaves behind.
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Ui.h"
#include "contracts/CanvasContract.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "widgets/GradientLabel.h"

#include <windows.h>

#include <vector>

INSTANTIATE_TYPED_TEST_SUITE_P(Gdi, CanvasContract, Win32CanvasService);

namespace {

// The process's GDI objects. Wine's GetGuiResources is a stub that answers 0;
// there the objects in use are what the handle table cannot give any more.
long gdiObjects()
{
    if (DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<long>(count);
    std::vector<HGDIOBJ> free;
    while (HGDIOBJ brush = ::CreateSolidBrush(0))
        free.push_back(brush);
    for (HGDIOBJ brush : free)
        ::DeleteObject(brush);
    return 65536 - static_cast<long>(free.size());
}

constexpr platform::Rgb black = 0, yellow = 0x00FFFF, lime = 0x00FF00, white = 0xFFFFFF, blue = 0xFF0000;

class Win32GradientLabelTest : public ::testing::Test {
protected:
    Win32GradientLabelTest()
    {
        form.SetBounds(100, 100, 298, 78);
        form.BorderStyle = TFormBorderStyle::bsNone;
        form.SetColor(clBlack);
        // The about window's caption.
        label.SetBounds(32, 12, 249, 25);
        TFont font = label.Font();
        font.Name = "Arial";
        font.Height = -21;
        font.Style = fsBold;
        label.SetFont(font);
        label.SetCaption("Nomblet 3.7");
        label.SetBorderColor(clWhite);
        label.SetStartColor(clYellow);
        label.SetEndColor(clLime);
        label.SetShadowDeep(2);
    }

    // The label painted alone into a black bitmap of its size.
    std::unique_ptr<platform::IBitmap> paintAlone()
    {
        auto bitmap = canvases.newBitmap({label.Width(), label.Height()}, false);
        bitmap->canvas().fillRect({0, 0, label.Width(), label.Height()}, black);
        label.Paint(bitmap->canvas());
        return bitmap;
    }

    Win32Ui ui;
    Win32CanvasService canvases;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TGradientTestForm");
    TGradientLabel& label = form.Create<TGradientLabel>(form, canvases);
};

TEST_F(Win32GradientLabelTest, GlyphsRunFromYellowAtTheLeftToLimeAtTheRightAndTheRestStaysBlack)
{
    auto bitmap = paintAlone();
    platform::ICanvas& c = bitmap->canvas();
    int inked = 0, leftmost = label.Width(), rightmost = -1;
    platform::Rgb leftColour = 0, rightColour = 0;
    for (int y = 0; y < label.Height(); ++y) {
        int previousRed = 256;
        for (int x = 0; x < label.Width(); ++x) {
            const platform::Rgb p = c.pixel({x, y});
            if (p == black)
                continue;
            ++inked;
            // Only gradient colours: green full, no blue; red falls from left to right.
            ASSERT_EQ(p & 0xFFFF00, 0x00FF00u) << x << "," << y << " " << std::hex << p;
            const int red = static_cast<int>(p & 0xFF);
            EXPECT_LE(red, previousRed) << x << "," << y;
            previousRed = red;
            if (x < leftmost)
                leftmost = x, leftColour = p;
            if (x > rightmost)
                rightmost = x, rightColour = p;
        }
    }
    ASSERT_GT(inked, 200);
    EXPECT_GE(leftColour & 0xFF, 230u) << std::hex << leftColour;   // about yellow
    EXPECT_LE(rightColour & 0xFF, 25u) << std::hex << rightColour;  // about lime
    // The text's box is what the gradient spans, not the label's width.
    EXPECT_LT(rightmost, 200);
}

TEST_F(Win32GradientLabelTest, OutlineAndShadowShowForTheTypesThatHaveThem)
{
    TFont font = label.Font();
    font.Color = clYellow;
    label.SetFont(font);
    label.SetShadowColor(clBlue);
    struct Case {
        TextureType type;
        bool shadow;
        bool outline;
    };
    for (Case c : {Case{TyHGradient, false, false}, Case{TyHGradient, true, false}, Case{TyOutline, false, true},
                   Case{TyOutline, true, true}, Case{TyBitmap, false, true}}) {
        label.SetTxType(c.type);
        label.SetShadow(c.shadow);
        auto bitmap = paintAlone();
        int whites = 0, blues = 0;
        for (int y = 0; y < label.Height(); ++y)
            for (int x = 0; x < label.Width(); ++x) {
                platform::Rgb p = bitmap->canvas().pixel({x, y});
                whites += p == white;
                blues += p == blue;
            }
        SCOPED_TRACE(::testing::Message() << "type " << int(c.type) << (c.shadow ? " with shadow" : ""));
        EXPECT_EQ(whites > 0, c.outline) << whites;
        EXPECT_EQ(blues > 0, c.shadow) << blues;
    }
}

TEST_F(Win32GradientLabelTest, PaintingLeavesTheDeviceContextAsItFoundIt)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP surface = ::CreateCompatibleBitmap(screen, 300, 80);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ firstBitmap = ::SelectObject(dc, surface);
    HFONT font = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
    HGDIOBJ firstFont = ::SelectObject(dc, font);
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ firstBrush = ::SelectObject(dc, brush);
    ::SetTextColor(dc, RGB(9, 8, 7));
    ::SetBkMode(dc, OPAQUE);
    for (TextureType type : {TyBitmap, TyHGradient, TyVGradient, TyOutline}) {
        label.SetTxType(type);
        label.SetShadow(true);
        {
            Win32Canvas canvas(dc);
            canvas.setViewport(label.BoundsRect());
            label.Paint(canvas);
        }
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), font);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brush);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), surface);
        EXPECT_EQ(::GetTextColor(dc), RGB(9, 8, 7));
        EXPECT_EQ(::GetBkMode(dc), OPAQUE);
        POINT origin{};
        ::GetViewportOrgEx(dc, &origin);
        EXPECT_EQ(origin.x, 0);
        EXPECT_EQ(origin.y, 0);
    }
    ::SelectObject(dc, firstBrush);
    ::SelectObject(dc, firstFont);
    ::SelectObject(dc, firstBitmap);
    ::DeleteObject(brush);
    ::DeleteObject(font);
    ::DeleteObject(surface);
    ::DeleteDC(dc);
}

TEST_F(Win32GradientLabelTest, TenThousandRepaintsOfTheWindowLeaveTheGdiObjectCountWhereItWas)
{
    label.SetShadow(true);
    form.Show();
    HWND hwnd = windowHandle(&form.Handle());
    auto repaint = [&] { ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
    repaint(); // the first paint may load fonts for good
    const long before = gdiObjects();
    for (int i = 0; i < 10000; ++i)
        repaint();
    EXPECT_EQ(gdiObjects(), before);
    form.Hide();
}

} // namespace
