// The main window: its layout, its place on the screen, and how it ends the program.
#include "app/MainForm.h"

#include "support/FakePlatform.h"
#include "toolkit/Application.h"

#include <gtest/gtest.h>

namespace {

class MainFormTest : public ::testing::Test {
protected:
    TForm1& start()
    {
        app.SetTitle("Nomblet");
        return app.CreateForm<TForm1>(fakes.services);
    }

    FakePlatform fakes;
    FakeUi& ui = fakes.ui;
    TApplication app{ui};
};

} // namespace

TEST_F(MainFormTest, IsABorderlessBlackStayOnTopWindowOf298By78)
{
    TForm1& form = start();
    EXPECT_EQ(Form1, &form);
    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Width(), 298);
    EXPECT_EQ(form.Height(), 78);
    EXPECT_EQ(form.BorderStyle, TFormBorderStyle::bsNone);
    EXPECT_EQ(form.FormStyle, TFormStyle::fsStayOnTop);
    EXPECT_EQ(form.Color(), clBlack);
    EXPECT_EQ(form.Caption(), "Nomblet");

    form.Show();
    FakeWindow& window = *ui.window("TForm1");
    EXPECT_TRUE(window.params.borderless);
    EXPECT_TRUE(window.params.topmost);
    EXPECT_EQ(window.params.background, 0u);
    EXPECT_EQ(window.params.owner, &app.Handle());
}

struct Centring {
    platform::Size screen;
    platform::Point expected;
};

class MainFormCentring : public MainFormTest, public ::testing::WithParamInterface<Centring> {};

TEST_P(MainFormCentring, HalvesScreenAndWindowSeparatelyTruncatingTowardZero)
{
    ui.screen = GetParam().screen;
    TForm1& form = start();
    EXPECT_EQ(form.Left(), GetParam().expected.x);
    EXPECT_EQ(form.Top(), GetParam().expected.y);
    EXPECT_EQ(form.Handle().bounds(), (platform::Rect{form.Left(), form.Top(), 298, 78}));
}

INSTANTIATE_TEST_SUITE_P(Screens, MainFormCentring,
                         ::testing::Values(Centring{{1024, 768}, {363, 345}}, Centring{{1023, 767}, {362, 344}},
                                           Centring{{200, 50}, {-49, -14}}),
                         [](const auto& info) {
                             return std::to_string(info.param.screen.width) + "x" +
                                    std::to_string(info.param.screen.height);
                         });

TEST_F(MainFormTest, ACloseRequestEndsTheProgram)
{
    start();
    ui.post([&] { ui.window("TForm1")->requestClose(); });
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(Form1, nullptr);
}

TEST_F(MainFormTest, TheEndOfTheSessionIsAllowedAndEndsTheProgram)
{
    start();
    ui.post([&] {
        FakeWindow& window = *ui.window("TForm1");
        EXPECT_TRUE(window.queryEndSession());
        window.endSession();
    });
    app.Run();
    EXPECT_TRUE(app.Terminated());
}
