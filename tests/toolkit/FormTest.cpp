// A form laid out at the screen's pixels per inch once its layout is read, and
// widened to hold its controls.
#include "toolkit/Form.h"

#include "support/FakeUi.h"
#include "toolkit/Application.h"
#include "toolkit/Control.h"

#include <gtest/gtest.h>

namespace {

class FormTest : public ::testing::Test {
protected:
    FakeUi ui;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TScaledForm");

    // Reads a layout made at 96 pixels per inch: the form and one control.
    TControl& readLayout()
    {
        form.BeginLoading();
        form.SetBounds(10, 20, 298, 78);
        TControl& control = form.Create<TControl>(form);
        control.SetBounds(4, 56, 123, 13);
        TFont font = control.Font();
        font.Height = -21;
        control.SetFont(font);
        form.EndLoading();
        return control;
    }
};

TEST_F(FormTest, ALoadedFormIsLaidOutAgainAtTheScreensPixelsPerInch)
{
    struct Case {
        int perInch;
        bool scaled;
        platform::Rect form;
        platform::Rect control;
        int fontHeight;
    };
    const Case cases[] = {
        {96, true, {10, 20, 298, 78}, {4, 56, 123, 13}, -21},
        {144, true, {15, 30, 447, 117}, {6, 84, 185, 20}, -32}, // halves away from zero
        {120, true, {13, 25, 373, 98}, {5, 70, 154, 16}, -26},
        {144, false, {10, 20, 298, 78}, {4, 56, 123, 13}, -21},
    };
    for (const Case& c : cases) {
        ui.perInch = c.perInch;
        form.Scaled = c.scaled;
        form.PixelsPerInch = 96;
        TControl& control = readLayout();
        const platform::Rect bounds{form.Left(), form.Top(), form.Width(), form.Height()};
        EXPECT_EQ(bounds, c.form) << c.perInch;
        EXPECT_EQ(control.BoundsRect(), c.control) << c.perInch;
        EXPECT_EQ(control.Font().Height, c.fontHeight) << c.perInch;
        EXPECT_EQ(form.PixelsPerInch, c.scaled ? c.perInch : 96) << c.perInch;
        // Loaded once more, a form already at the screen's scale stays as it is.
        form.BeginLoading();
        form.EndLoading();
        EXPECT_EQ(control.BoundsRect(), c.control) << c.perInch << ": loaded again";
        form.DestroyComponent(control);
    }
}

TEST_F(FormTest, AFormIsWidenedToHoldItsWidestControlWithTheRoomOfItsLeftmost)
{
    struct Case {
        const char* what;
        std::vector<platform::Rect> controls;
        int width;
    };
    const Case cases[] = {
        {"all inside", {{4, 56, 123, 13}, {136, 56, 151, 13}}, 298},
        {"one too wide", {{4, 56, 123, 13}, {136, 56, 170, 13}}, 310},
        {"the room is the leftmost's", {{32, 12, 249, 25}, {10, 0, 290, 8}}, 310},
        {"no control", {}, 298},
    };
    for (const Case& c : cases) {
        form.SetBounds(0, 0, 298, 78);
        std::vector<TControl*> made;
        for (const platform::Rect& r : c.controls) {
            made.push_back(&form.Create<TControl>(form));
            made.back()->SetBounds(r.left, r.top, r.width, r.height);
        }
        form.WidenToHoldControls();
        EXPECT_EQ(form.Width(), c.width) << c.what;
        EXPECT_EQ(form.Height(), 78) << c.what;
        for (TControl* control : made)
            form.DestroyComponent(*control);
    }
}

} // namespace
