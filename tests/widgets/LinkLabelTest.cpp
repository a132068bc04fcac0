// The hyperlink label on a form of the fake UI: its looks through pointer,
// press and release, the text a click hands to the shell, the capture, and
// the hand cursor.
#include "widgets/LinkLabel.h"

#include "support/FakeShell.h"
#include "support/FakeUi.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using platform::MouseButton;

namespace {

class LinkLabelTest : public ::testing::Test {
protected:
    FakeUi ui;
    FakeShell shell;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TLinkForm");
    FakeWindow& window = *ui.windowByHandle(form.Handle().handle());

    TLinkLabel& newLabel(const std::string& caption, TLabelType type = hmHTTP)
    {
        TLinkLabel& label = form.Create<TLinkLabel>(form, shell);
        label.SetBounds(10, 20, 100, 13);
        label.SetCaption(caption);
        label.SetLabelType(type);
        return label;
    }

    // The pointer and the left button, in the form's client pixels.
    void enter() { window.mouseMove({50, 25}); }
    void leave() { window.mouseMove({200, 200}); }
    void press(MouseButton button = MouseButton::Left) { window.mouseButton(button, true, {50, 25}); }
    void release(MouseButton button = MouseButton::Left, platform::Point at = {50, 25})
    {
        window.mouseButton(button, false, at);
    }
    void click()
    {
        enter();
        press();
        release();
    }

    std::vector<std::string> opened() const
    {
        std::vector<std::string> files;
        for (const Call& call : shell.callsOf("shellOpen")) {
            EXPECT_EQ(call.args[0], ""); // the default verb
            EXPECT_EQ(call.args[4], "1"); // shown normally
            files.push_back(call.args[1]);
        }
        return files;
    }
};

// What the label looks like: colour, underline, and its top.
struct Look {
    TColor colour;
    bool underlined;
    int top;
    bool operator==(const Look&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Look& look)
{
    return out << std::hex << look.colour << std::dec << (look.underlined ? " underlined" : " plain") << " top "
               << look.top;
}

Look lookOf(const TLinkLabel& label)
{
    return {label.Font().Color, (label.Font().Style & fsUnderline) != 0, label.Top()};
}

TEST_F(LinkLabelTest, LooksFollowThePointerAndTheLeftButtonInBothHoverModes)
{
    struct Case {
        bool effect98;
        Look rest, over, held, released, left;
    };
    const Case cases[] = {
        {false, {clBlue, true, 20}, {clBlue, true, 20}, {clRed, true, 21}, {clBlue, true, 20}, {clBlue, true, 20}},
        {true, {clBlue, false, 20}, {clRed, true, 20}, {clRed, true, 21}, {clRed, true, 20}, {clBlue, false, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.effect98 ? "Effect98 on" : "Effect98 off");
        TLinkLabel& label = newLabel("www.example.org");
        label.SetAllowDown(true);
        label.SetEffect98(c.effect98);
        EXPECT_EQ(lookOf(label), c.rest);
        enter();
        EXPECT_EQ(lookOf(label), c.over);
        press();
        EXPECT_EQ(lookOf(label), c.held);
        release();
        EXPECT_EQ(lookOf(label), c.released);
        leave();
        EXPECT_EQ(lookOf(label), c.left);
        form.DestroyComponent(label);
    }
}

TEST_F(LinkLabelTest, AClickHandsTheSchemeAndTheWholeCaptionToTheShell)
{
    const std::string longName = "www." + std::string(200, 'a') + ".example/" + std::string(100, 'b');
    struct Case {
        TLabelType type;
        std::string caption;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {hmHTTP, "www.example.org", {"http:\\\\www.example.org"}},
        {hmFTP, "ftp.example.org", {"ftp:\\\\ftp.example.org"}},
        {hmMAIL, "me@example.org", {"mailto:me@example.org"}},
        {hmHTTP, "http://www.example.org", {"http:\\\\http://www.example.org"}},
        {hmHTTP, longName, {"http:\\\\" + longName}},
        {hmHTTP, "caf\xE9.example", {"http:\\\\caf\xE9.example"}},
        {hmCUSTOM, "www.example.org", {}},
        // Text that would end the handler's argument and pass switches of its own.
        {hmHTTP, "a.example\" -x", {}},
        {hmMAIL, "me@example.org -y", {}},
        {hmHTTP, "a.example\t-z", {}},
        {hmHTTP, "a.example\x7F", {}},
        {hmHTTP, "a.example\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        shell.calls.clear();
        TLinkLabel& label = newLabel(c.caption, c.type);
        int clicks = 0;
        label.OnClick = [&](TObject* sender) {
            EXPECT_EQ(sender, &label);
            EXPECT_TRUE(shell.calls.empty()) << "OnClick runs first";
            ++clicks;
        };
        click();
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(opened(), c.opened);
        form.DestroyComponent(label);
    }
}

TEST_F(LinkLabelTest, OnlyALeftPressAndReleaseOnTheLabelOpensIt)
{
    TLinkLabel& label = newLabel("www.example.org");
    label.SetAllowDown(true);

    // A right press changes nothing; its release puts the normal colour back.
    label.SetURLColPre(clGreen);
    enter();
    press(MouseButton::Right);
    EXPECT_EQ(lookOf(label), (Look{clBlue, true, 20}));
    release(MouseButton::Right);
    EXPECT_EQ(lookOf(label), (Look{clBlue, true, 20}));

    // Pressed, left and released outside: no click, and back in place.
    press();
    leave();
    release(MouseButton::Left, {200, 200});
    EXPECT_EQ(lookOf(label), (Look{clBlue, true, 20}));
    EXPECT_FALSE(window.captured);

    // A left release over the label whose press began elsewhere: no click, no move.
    window.mouseButton(MouseButton::Left, true, {200, 200});
    release();
    EXPECT_EQ(label.Top(), 20);
    EXPECT_THAT(opened(), ::testing::IsEmpty());
}

TEST_F(LinkLabelTest, LosingTheCaptureIsAReleaseWithoutAClick)
{
    for (bool effect98 : {false, true}) {
        SCOPED_TRACE(effect98 ? "Effect98 on" : "Effect98 off");
        TLinkLabel& label = newLabel("www.example.org");
        label.SetAllowDown(true);
        label.SetEffect98(effect98);
        enter();
        press();
        ASSERT_TRUE(window.captured);
        window.releaseCapture(); // another window takes the mouse
        // The colour for where the pointer is: over the label, hovered with Effect98.
        EXPECT_EQ(lookOf(label), (Look{effect98 ? clRed : clBlue, true, 20}));
        release();
        EXPECT_EQ(label.Top(), 20);
        leave();
        form.DestroyComponent(label);
    }
    EXPECT_THAT(opened(), ::testing::IsEmpty());
}

TEST_F(LinkLabelTest, ALabelMovesUpOnlyIfItsOwnPressMovedItDown)
{
    TLinkLabel& label = newLabel("www.example.org");
    enter();
    press();
    label.SetAllowDown(true); // switched on while held: the press moved nothing
    release();
    EXPECT_EQ(label.Top(), 20);

    press();
    label.SetAllowDown(false); // switched off while held: it still comes back
    release();
    EXPECT_EQ(label.Top(), 20);
}

TEST_F(LinkLabelTest, PropertiesRewriteTheWholeStyleAndColour)
{
    TLinkLabel& label = newLabel("www.example.org");
    TFont font = label.Font();
    font.Style = fsBold | fsItalic | fsUnderline;
    font.Color = clGreen;
    label.SetFont(font);
    EXPECT_EQ(label.URLColStd(), clGreen);
    EXPECT_EQ(label.Font().Style, static_cast<TFontStyles>(fsBold | fsItalic | fsUnderline));

    label.SetEffect98(true);
    EXPECT_EQ(lookOf(label), (Look{clGreen, false, 20}));
    enter();
    label.SetEffect98(false); // the hovered colour goes with the hover style
    EXPECT_EQ(lookOf(label), (Look{clGreen, true, 20}));
    leave();

    label.SetLabelType(hmCUSTOM);
    EXPECT_EQ(label.Font().Style, 0u);
    label.SetEffect98(true);
    label.SetEffect98(false); // a custom label's style stays
    EXPECT_EQ(label.Font().Style, 0u);
    label.SetLabelType(hmFTP);
    EXPECT_EQ(label.Font().Style, static_cast<TFontStyles>(fsUnderline));

    label.SetURLColStd(clYellow);
    EXPECT_EQ(label.Font().Color, clYellow);
    label.SetURLColPre(clLime);
    EXPECT_EQ(label.Font().Color, clYellow);
}

TEST_F(LinkLabelTest, SettersRepaintOnlyWhenTheValueChanges)
{
    TLinkLabel& label = newLabel("www.example.org");
    struct Case {
        const char* what;
        std::function<void()> set;
        bool repaints;
    };
    const Case cases[] = {
        {"new type", [&] { label.SetLabelType(hmMAIL); }, true},
        {"same type", [&] { label.SetLabelType(hmMAIL); }, false},
        {"new normal colour", [&] { label.SetURLColStd(clGreen); }, true},
        {"same normal colour", [&] { label.SetURLColStd(clGreen); }, false},
        {"new pressed colour", [&] { label.SetURLColPre(clLime); }, true},
        {"same pressed colour", [&] { label.SetURLColPre(clLime); }, false},
        {"new AllowDown", [&] { label.SetAllowDown(true); }, true},
        {"same AllowDown", [&] { label.SetAllowDown(true); }, false},
        {"new Effect98", [&] { label.SetEffect98(true); }, true},
        {"same Effect98", [&] { label.SetEffect98(true); }, false},
        {"a whole font", [&] { label.SetFont(label.Font()); }, true},
    };
    for (const Case& c : cases) {
        window.invalidated.clear();
        c.set();
        EXPECT_EQ(!window.invalidated.empty(), c.repaints) << c.what;
    }
}

TEST_F(LinkLabelTest, TheFirstLabelInstallsTheProgramsHandCursorForEveryControl)
{
    EXPECT_EQ(window.cursorAt({50, 25}), FakeUi::ArrowCursor);
    TLinkLabel& first = newLabel("www.example.org");
    ui.cursorResources["URLHAND"] = platform::CursorHandle{0x40}; // a second load would see another cursor
    newLabel("www.example.net").SetTop(40);
    EXPECT_THAT(ui.callsOf("loadCursor"), ::testing::ElementsAre(Call{"loadCursor", {"URLHAND"}}));
    EXPECT_EQ(app.Cursors().Cursor(crHandPoint), platform::CursorHandle{0x30});
    EXPECT_EQ(window.cursorAt({50, 25}), platform::CursorHandle{0x30});
    EXPECT_EQ(window.cursorAt({50, 45}), platform::CursorHandle{0x30});
    EXPECT_EQ(window.cursorAt({5, 5}), FakeUi::ArrowCursor);
    form.DestroyComponent(first);
}

TEST(LinkLabelCursor, WithoutTheResourceTheToolkitsHandStays)
{
    FakeUi ui;
    FakeShell shell;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TLinkForm");
    ui.faults.failNext("loadCursor");
    form.Create<TLinkLabel>(form, shell);
    form.Create<TLinkLabel>(form, shell);
    EXPECT_EQ(ui.callsOf("loadCursor").size(), 1u);
    EXPECT_EQ(app.Cursors().Cursor(crHandPoint), FakeUi::HandCursor);
}

} // namespace
