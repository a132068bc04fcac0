// Windowless controls on a form: which control gets the mouse, the capture of a
// left press, clicks, and repainting where a control was and is.
#include "toolkit/Control.h"

#include "support/FakeUi.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using platform::MouseButton;

namespace {

// A control that logs what the form hands it.
class Probe final : public TControl {
public:
    Probe(TComponent* owner, TForm& parent, std::vector<std::string>& log, std::string name)
        : TControl(owner, parent), log_(log), name_(std::move(name))
    {
    }
    void MouseDown(TMouseButton b, TShiftState, int X, int Y) override { note("down", b, X, Y); }
    void MouseUp(TMouseButton b, TShiftState, int X, int Y) override { note("up", b, X, Y); }
    void Click() override
    {
        log_.push_back(name_ + " click");
        TControl::Click();
    }
    void MouseEnter() override { log_.push_back(name_ + " enter"); }
    void MouseLeave() override { log_.push_back(name_ + " leave"); }
    void CaptureLost() override { log_.push_back(name_ + " lost"); }

private:
    void note(const char* what, TMouseButton b, int X, int Y)
    {
        log_.push_back(name_ + " " + what + (b == mbLeft ? " left " : " right ") + std::to_string(X) + "," +
                       std::to_string(Y));
    }
    std::vector<std::string>& log_;
    std::string name_;
};

class ControlTest : public ::testing::Test {
protected:
    ControlTest()
    {
        a.SetBounds(0, 0, 20, 10);
        b.SetBounds(10, 0, 20, 10); // over a's right half
    }
    FakeUi ui;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TControlForm");
    FakeWindow& window = *ui.windowByHandle(form.Handle().handle());
    std::vector<std::string> log;
    Probe& a = form.Create<Probe>(form, log, "a");
    Probe& b = form.Create<Probe>(form, log, "b");
};

TEST_F(ControlTest, TheTopmostControlTakesTheMouseAndALeftPressKeepsItUntilTheRelease)
{
    window.mouseMove({5, 5});
    window.mouseButton(MouseButton::Left, true, {5, 5});
    window.mouseMove({15, 5}); // onto b, still held
    window.mouseButton(MouseButton::Left, false, {15, 5});
    window.mouseButton(MouseButton::Right, true, {15, 5});
    window.mouseButton(MouseButton::Right, false, {15, 5});
    window.mouseButton(MouseButton::Left, true, {12, 2});
    window.mouseButton(MouseButton::Left, false, {12, 2});
    window.mouseButton(MouseButton::Left, true, {12, 2});
    window.releaseCapture(); // another window takes the mouse
    window.mouseButton(MouseButton::Left, false, {12, 2});
    window.mouseLeave();
    EXPECT_THAT(log, ::testing::ElementsAre("a enter", "a down left 5,5", "a leave", "b enter", "a up left 15,5",
                                            "b down right 5,5", "b up right 5,5", "b down left 2,2", "b click",
                                            "b up left 2,2", "b down left 2,2", "b lost", "b up left 2,2",
                                            "b leave"));
    EXPECT_FALSE(window.captured);
}

TEST_F(ControlTest, AControlFreedByItsClickGetsNoRelease)
{
    b.OnClick = [&](TObject*) { form.DestroyComponent(b); };
    window.mouseButton(MouseButton::Left, true, {15, 5});
    window.mouseButton(MouseButton::Left, false, {15, 5});
    window.mouseMove({15, 5}); // a is under the pointer now
    EXPECT_THAT(log, ::testing::ElementsAre("b enter", "b down left 5,5", "b click", "a enter"));
}

TEST_F(ControlTest, MovingAControlRepaintsWhereItWasAndWhereItIs)
{
    window.invalidated.clear();
    a.SetBounds(40, 20, 20, 10);
    EXPECT_THAT(window.invalidated,
                ::testing::ElementsAre(platform::Rect{0, 0, 20, 10}, platform::Rect{40, 20, 20, 10}));
    window.invalidated.clear();
    a.SetBounds(40, 20, 20, 10);
    EXPECT_THAT(window.invalidated, ::testing::IsEmpty());
}

} // namespace
