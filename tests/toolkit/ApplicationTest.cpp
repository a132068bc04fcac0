// The application object: the loop, the main form's life and the error box.
#include "toolkit/Application.h"

#include "support/FakeUi.h"
#include "toolkit/Error.h"
#include "toolkit/Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

class PlainForm : public TForm {
public:
    explicit PlainForm(TApplication& app) : TForm(app, "TPlainForm") {}
};

class ApplicationTest : public ::testing::Test {
protected:
    FakeUi ui;
    TApplication app{ui};
};

} // namespace

TEST_F(ApplicationTest, RunShowsTheMainFormAndFreesItOnceTheLoopEnds)
{
    auto& form = app.CreateForm<PlainForm>();
    int destroyed = 0;
    form.OnDestroy = [&](TObject* sender) {
        EXPECT_EQ(sender, &form);
        ++destroyed;
    };
    ui.post([&] {
        EXPECT_TRUE(ui.window("TPlainForm")->visible());
        app.Terminate();
    });

    app.Run();

    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(app.MainForm(), nullptr);
    EXPECT_EQ(ui.window("TPlainForm"), nullptr);
}

TEST_F(ApplicationTest, AnErrorEscapingAnEventShowsTheStandardBoxAndTheLoopGoesOn)
{
    app.SetTitle("Nomblet");
    app.CreateForm<PlainForm>();
    ui.post([] { throw Exception("Unable to write to nomblet.ini"); });
    ui.post([] { throw std::runtime_error("not ours"); });
    ui.post([&] { app.Terminate(); });

    app.Run();

    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "Unable to write to nomblet.ini.");
    EXPECT_EQ(ui.boxes[0].caption, "Nomblet");
    EXPECT_EQ(ui.boxes[0].icon, platform::BoxIcon::Stop);
    EXPECT_EQ(ui.boxes[1].text, "not ours.");
}

TEST_F(ApplicationTest, TheHiddenApplicationWindowCarriesTheTitle)
{
    app.SetTitle("Nomblet");
    FakeWindow* window = ui.window("TApplication");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->params.caption, "Nomblet");
    EXPECT_FALSE(window->visible());
}

TEST_F(ApplicationTest, ClosingTheApplicationWindowClosesTheMainForm)
{
    auto& form = app.CreateForm<PlainForm>();
    bool asked = false;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        asked = true;
        canClose = true;
    };
    ui.post([&] { ui.window("TApplication")->requestClose(); });
    app.Run();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(app.Terminated());
}

TEST_F(ApplicationTest, ARefusedCloseKeepsTheProgramRunning)
{
    auto& form = app.CreateForm<PlainForm>();
    form.OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    ui.post([&] { ui.window("TPlainForm")->requestClose(); });
    ui.post([&] {
        EXPECT_FALSE(app.Terminated());
        app.Terminate();
    });
    app.Run();
}

TEST_F(ApplicationTest, ProcessMessagesRunsWhatIsPendingAndLeavesAQuitForTheLoop)
{
    std::vector<int> order;
    ui.post([&] { order.push_back(1); });
    ui.post([&] {
        order.push_back(2);
        app.Terminate();
    });
    ui.post([&] { order.push_back(3); });
    app.ProcessMessages();
    EXPECT_THAT(order, ::testing::ElementsAre(1, 2));
    EXPECT_TRUE(app.Terminated());
}
