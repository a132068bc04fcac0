// The text label's AutoSize: the box follows the caption and the font, the
// corner stays, a layout's box is replaced once its values are read, and a
// label that cannot be measured keeps its box.
#include "toolkit/Label.h"

#include "support/FakeUi.h"
#include "support/SoftwareCanvas.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class LabelTest : public ::testing::Test {
protected:
    FakeUi ui;
    FakeCanvasService canvases;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TLabelForm");

    TLabel& newLabel()
    {
        TLabel& label = form.Create<TLabel>(form, canvases);
        label.SetBounds(10, 20, 50, 8);
        return label;
    }

    // What the canvas says the text takes in the label's font now.
    static platform::Rect textBox(const TLabel& label, const std::string& text)
    {
        SoftwareCanvas canvas({1, 1}, true);
        canvas.setFont(FontSpecOf(label.Font()));
        const platform::Size size = canvas.textExtent(text);
        return {label.Left(), label.Top(), size.width, size.height};
    }
};

TEST_F(LabelTest, AnAutoSizedLabelTakesTheSizeOfItsTextAndKeepsItsCorner)
{
    struct Case {
        const char* what;
        bool autoSize;
        std::function<void(TLabel&)> change;
        const char* measured; // what the box must fit; null: the box stays as set
    };
    const Case cases[] = {
        {"a caption", true, [](TLabel& l) { l.SetCaption("nomblet@fallowmere.example"); },
         "nomblet@fallowmere.example"},
        {"a shorter caption", true,
         [](TLabel& l) {
             l.SetCaption("a much longer caption than the next");
             l.SetCaption("short");
         },
         "short"},
        {"a larger font", true,
         [](TLabel& l) {
             l.SetCaption("www.fallowmere.example");
             TFont font = l.Font();
             font.Height = -21;
             l.SetFont(font);
         },
         "www.fallowmere.example"},
        {"no caption keeps a line's height", true,
         [](TLabel& l) {
             l.SetCaption("text");
             l.SetCaption("");
         },
         " "},
        {"switched on", false,
         [](TLabel& l) {
             l.SetCaption("Get the latest version from");
             l.SetAutoSize(true);
         },
         "Get the latest version from"},
        {"off: a caption", false, [](TLabel& l) { l.SetCaption("nomblet@fallowmere.example"); }, nullptr},
        {"off: a font", false,
         [](TLabel& l) {
             l.SetCaption("x");
             TFont font = l.Font();
             font.Height = -30;
             l.SetFont(font);
         },
         nullptr},
        {"switched off after sizing", true,
         [](TLabel& l) {
             l.SetAutoSize(false);
             l.SetBounds(10, 20, 50, 8);
             l.SetCaption("a caption wider than fifty pixels");
         },
         nullptr},
    };
    for (const Case& c : cases) {
        TLabel& label = newLabel();
        label.SetAutoSize(c.autoSize);
        label.SetBounds(10, 20, 50, 8);
        c.change(label);
        const platform::Rect expected = c.measured ? textBox(label, c.measured) : platform::Rect{10, 20, 50, 8};
        EXPECT_EQ(label.BoundsRect(), expected) << c.what;
        EXPECT_EQ(canvases.liveBitmaps, 0) << c.what;
        form.DestroyComponent(label);
    }
}

TEST_F(LabelTest, ALayoutsBoxIsReplacedOnceItsValuesAreRead)
{
    struct Case {
        const char* what;
        bool autoSize;
        bool sized;
    };
    const Case cases[] = {
        {"AutoSize on", true, true},
        {"AutoSize off", false, false},
    };
    for (const Case& c : cases) {
        form.BeginLoading();
        TLabel& label = form.Create<TLabel>(form, canvases);
        label.SetBounds(4, 56, 123, 13);
        label.SetAutoSize(c.autoSize);
        label.SetCaption("Get the latest version from");
        TFont font = label.Font();
        font.Height = -15;
        label.SetFont(font);
        EXPECT_EQ(label.BoundsRect(), (platform::Rect{4, 56, 123, 13})) << c.what << ": while loading";
        EXPECT_TRUE(canvases.callsOf("newBitmap").empty()) << c.what << ": measured while loading";
        form.EndLoading();
        const platform::Rect expected =
            c.sized ? textBox(label, "Get the latest version from") : platform::Rect{4, 56, 123, 13};
        EXPECT_EQ(label.BoundsRect(), expected) << c.what;
        EXPECT_EQ(canvases.callsOf("newBitmap").size(), c.sized ? 1u : 0u) << c.what;
        form.DestroyComponent(label);
        canvases.calls.clear();
    }
}

TEST_F(LabelTest, ALabelThatCannotBeMeasuredKeepsItsBoxUntilItCanBe)
{
    struct Case {
        const char* what;
        bool autoSize;
        std::function<void(TLabel&)> change;
    };
    const Case cases[] = {
        {"a caption", true, [](TLabel& l) { l.SetCaption("nomblet@fallowmere.example"); }},
        {"a font", true, [](TLabel& l) { l.SetFont(l.Font()); }},
        {"switched on", false, [](TLabel& l) { l.SetAutoSize(true); }},
    };
    for (const Case& c : cases) {
        TLabel& label = newLabel();
        label.SetAutoSize(c.autoSize);
        canvases.faults.failNext("newBitmap");
        c.change(label);
        EXPECT_EQ(label.BoundsRect(), (platform::Rect{10, 20, 50, 8})) << c.what;
        label.SetCaption("measured now");
        EXPECT_EQ(label.BoundsRect(), textBox(label, "measured now")) << c.what;
        EXPECT_EQ(canvases.liveBitmaps, 0) << c.what;
        form.DestroyComponent(label);
    }
}

} // namespace
