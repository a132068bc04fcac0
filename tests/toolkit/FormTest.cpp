// A form laid out again at the screen's pixels per inch once its layout is
// read, and widened to hold its controls.
#include "toolkit/Form.h"

#include "support/FakeUi.h"
#include "toolkit/Application.h"
#include "toolkit/Control.h"

#include <gtest/gtest.h>

namespace {

using platform::Rect;

class FormTest : public ::testing::Test {
protected:
    FakeUi ui;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TScaledForm");

    Rect bounds() const { return {form.Left(), form.Top(), form.Width(), form.Height()}; }
};

TEST_F(FormTest, ALoadedFormIsLaidOutAgainAtTheScreensPixelsPerInch)
{
    struct Case {
        int perInch;
        bool scaled;
        Rect form, control;
        int fontHeight;
    } const cases[] = {
        {96, true, {10, 20, 298, 78}, {4, 56, 123, 13}, -21},
        {144, true, {15, 30, 447, 117}, {6, 84, 185, 20}, -32}, // halves away from zero
        {120, true, {13, 25, 373, 98}, {5, 70, 154, 16}, -26},
        {144, false, {10, 20, 298, 78}, {4, 56, 123, 13}, -21},
    };
    for (const Case& c : cases) {
        ui.perInch = c.perInch;
        form.Scaled = c.scaled;
        form.PixelsPerInch = 96;
        form.BeginLoading(); // a layout made at 96 pixels per inch
        form.SetBounds(10, 20, 298, 78);
        TControl& control = form.Create<TControl>(form);
        control.SetBounds(4, 56, 123, 13);
        TFont font = control.Font();
        font.Height = -21;
        control.SetFont(font);
        for (int load = 0; load < 2; ++load) { // loaded again, a form at the screen's scale stays
            form.EndLoading();
            EXPECT_EQ(bounds(), c.form) << c.perInch << " load " << load;
            EXPECT_EQ(control.BoundsRect(), c.control) << c.perInch << " load " << load;
            EXPECT_EQ(control.Font().Height, c.fontHeight) << c.perInch << " load " << load;
            form.BeginLoading();
        }
        form.EndLoading();
        form.DestroyComponent(control);
    }
}

TEST_F(FormTest, AFormIsWidenedToHoldItsWidestControlWithTheRoomOfItsLeftmost)
{
    struct Case {
        std::vector<Rect> controls;
        int width;
    } const cases[] = {
        {{{4, 56, 123, 13}, {136, 56, 151, 13}}, 298},
        {{{4, 56, 123, 13}, {136, 56, 170, 13}}, 310},
        {{{32, 12, 249, 25}, {10, 0, 290, 8}}, 310},
        {{}, 298},
    };
    for (const Case& c : cases) {
        form.SetBounds(0, 0, 298, 78);
        std::vector<TControl*> made;
        for (const Rect& r : c.controls) {
            made.push_back(&form.Create<TControl>(form));
            made.back()->SetBounds(r.left, r.top, r.width, r.height);
        }
        form.WidenToHoldControls();
        EXPECT_EQ(bounds(), (Rect{0, 0, c.width, 78})) << c.controls.size() << " controls, " << c.width;
        for (TControl* control : made)
            form.DestroyComponent(*control);
    }
}

} // namespace
