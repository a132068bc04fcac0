// The tray icon against the fake notification area and UI.
#include "shell/TrayIcon.h"

#include "shell/TrayIconFixture.h"
#include "toolkit/Error.h"
#include "toolkit/Messages.h"
#include "toolkit/Timer.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class TrayIcon : public TrayIconFixture {
protected:
    void SetUp() override { createTrayIcon(); }

    // Every event of the icon, in order, as short words.
    void logEvents()
    {
        tray->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) { log.push_back("down" + name(b)); };
        tray->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) { log.push_back("up" + name(b)); };
        tray->OnClick = [this](TObject*) { log.push_back("click"); };
        tray->OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
        tray->OnMouseMove = [this](TObject*, TShiftState, int, int) { log.push_back("move"); };
        menu->OnPopup = [this](TObject*) { log.push_back(tray->ClickPending() ? "menu(pending)" : "menu"); };
    }
    static std::string name(TMouseButton b) { return b == mbLeft ? "L" : b == mbRight ? "R" : "M"; }

    std::vector<std::string> log;
};

} // namespace

TEST_F(TrayIcon, IsAddedOnceLoadedWithTheRecordTheShellExpects)
{
    const auto& requests = fakes.notifyArea.requests;
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().operation, "add");
    // Before the add, only refreshes, which the shell refused.
    for (std::size_t i = 0; i + 1 < requests.size(); ++i)
        EXPECT_EQ(requests[i].operation, "modify");

    const platform::NotifyIconData& d = requests.back().data;
    EXPECT_EQ(d.hWnd, messages.utilityWindow("TTrayIconWindow")->handle());
    EXPECT_EQ(d.uCallbackMessage, 2048u);
    EXPECT_EQ(menus.iconResource(d.hIcon), "TRAY0");
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_EQ(fakes.notifyArea.icons.size(), 1u);
}

TEST_F(TrayIcon, TipIsTheHintCutTo63CharactersOrAllZeros)
{
    tray->SetHint(std::string(100, 'h'));
    platform::NotifyIconData d = fakes.notifyArea.requests.back().data;
    EXPECT_EQ(FakeNotifyArea::tipOf(d), std::string(63, 'h'));
    EXPECT_EQ(d.szTip[63], '\0');

    auto allZero = [](const platform::NotifyIconData& data) {
        return std::all_of(data.szTip.begin(), data.szTip.end(), [](char c) { return c == '\0'; });
    };
    tray->SetShowHint(false);
    EXPECT_TRUE(allZero(fakes.notifyArea.requests.back().data));
    tray->SetShowHint(true);
    tray->SetHint("");
    EXPECT_TRUE(allZero(fakes.notifyArea.requests.back().data));
    tray->SetHint("Nomblet");
    EXPECT_EQ(FakeNotifyArea::tipOf(fakes.notifyArea.icons.begin()->second), "Nomblet");
}

TEST_F(TrayIcon, IconIndexIsClampedToTheListAndZeroWithoutOne)
{
    tray->SetIconIndex(10);
    EXPECT_EQ(tray->IconIndex(), 5);
    EXPECT_EQ(shownImage(), "TRAY5");
    tray->SetIconIndex(3);
    EXPECT_EQ(shownImage(), "TRAY3");
    tray->SetIconList(nullptr);
    tray->SetIconIndex(4);
    EXPECT_EQ(tray->IconIndex(), 0);
    EXPECT_EQ(shownImage(), "TRAY3"); // without a list the icon keeps its image
}

TEST_F(TrayIcon, AnimationStepsThroughTheImagesAndOnCycleGetsTheNextIndex)
{
    std::vector<int> next;
    tray->OnCycle = [&](TObject* sender, std::int32_t n) {
        EXPECT_EQ(sender, tray);
        next.push_back(n);
    };
    tray->SetIconIndex(3);
    tray->SetCycleIcons(true);
    EXPECT_EQ(shownImage(), "TRAY0"); // at once
    std::vector<std::string> shown;
    for (int i = 0; i < 7; ++i) {
        ui.advanceTime(100);
        shown.push_back(shownImage());
    }
    EXPECT_THAT(shown, ElementsAre("TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5", "TRAY0", "TRAY1"));
    EXPECT_THAT(next, ElementsAre(1, 2, 3, 4, 5, 0, 1));

    tray->SetCycleIcons(false);
    ui.advanceTime(1000);
    EXPECT_EQ(shownImage(), "TRAY1"); // frozen
    EXPECT_EQ(next.size(), 7u);
}

TEST_F(TrayIcon, SwitchingTheAnimationOnAgainJumpsToImageZeroKeepingThePeriod)
{
    tray->SetCycleIcons(true);
    ui.advanceTime(250); // two steps, 50 ms into the third period
    EXPECT_EQ(shownImage(), "TRAY2");
    tray->SetCycleIcons(true);
    EXPECT_EQ(shownImage(), "TRAY0");
    ui.advanceTime(50); // the period was not restarted: the step is due now
    EXPECT_EQ(shownImage(), "TRAY1");
}

TEST_F(TrayIcon, ChangesAnOnCycleHandlerMakesReachTheShellInTheSameStep)
{
    tray->OnCycle = [&](TObject*, std::int32_t n) { tray->SetHint("step " + std::to_string(n)); };
    tray->SetCycleIcons(true);
    ui.advanceTime(100);
    EXPECT_EQ(FakeNotifyArea::tipOf(fakes.notifyArea.icons.begin()->second), "step 1");
}

TEST_F(TrayIcon, NoTimerForTheAnimationIsAnError)
{
    ui.faults.failNext("startTimer");
    try {
        tray->SetCycleIcons(true);
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), "Not enough timers available");
    }
}

TEST_F(TrayIcon, LeftPressWithLeftPopupOpensTheMenuAndTheReleaseStillClicks)
{
    logEvents();
    mouse(WM_LBUTTONDOWN);
    EXPECT_THAT(log, ElementsAre("downL", "menu(pending)"));
    EXPECT_TRUE(tray->ClickPending());
    mouse(WM_LBUTTONUP);
    EXPECT_THAT(log, ElementsAre("downL", "menu(pending)", "click", "upL"));
    EXPECT_FALSE(tray->ClickPending());
}

TEST_F(TrayIcon, LeftDoubleClickGivesOneClickAndRunsTheFirstDefaultItem)
{
    tray->LeftPopup = false;
    addItem("Plain");
    TMenuItem& first = addItem("First default", true);
    TMenuItem& second = addItem("Second default", true);
    first.OnClick = [&](TObject*) { log.push_back("first"); };
    second.OnClick = [&](TObject*) { log.push_back("second"); };
    logEvents();
    // What the shell reports for a double click.
    mouse(WM_LBUTTONDOWN);
    mouse(WM_LBUTTONUP);
    mouse(WM_LBUTTONDBLCLK);
    mouse(WM_LBUTTONUP);
    EXPECT_THAT(log, ElementsAre("downL", "click", "upL", "dblclick", "first", "upL"));
    EXPECT_TRUE(menus.callsOf("trackPopupMenu").empty());
}

TEST_F(TrayIcon, DoubleClickRunsNoItemWhenTheLeftButtonOpensTheMenuOrThereIsNoDefault)
{
    TMenuItem& item = addItem("Default", true);
    int clicks = 0;
    item.OnClick = [&](TObject*) { ++clicks; };
    mouse(WM_LBUTTONDBLCLK); // LeftPopup is set
    tray->LeftPopup = false;
    item.Default = false;
    mouse(WM_LBUTTONDBLCLK);
    EXPECT_EQ(clicks, 0);
}

TEST_F(TrayIcon, RightPressAlwaysOpensTheMenuAndARightDoubleClickDoesNothing)
{
    for (bool leftPopup : {true, false}) {
        tray->LeftPopup = leftPopup;
        log.clear();
        logEvents();
        mouse(WM_RBUTTONDOWN);
        mouse(WM_RBUTTONUP);
        mouse(WM_RBUTTONDBLCLK);
        mouse(WM_RBUTTONUP);
        EXPECT_THAT(log, ElementsAre("downR", "menu", "upR", "upR")) << leftPopup;
    }
    menu->AutoPopup = false;
    log.clear();
    mouse(WM_RBUTTONDOWN);
    EXPECT_THAT(log, ElementsAre("downR"));
}

TEST_F(TrayIcon, MiddleButtonAndMovesOnlyReportEvents)
{
    logEvents();
    mouse(WM_MBUTTONDOWN);
    mouse(WM_MBUTTONUP);
    mouse(WM_MOUSEMOVE);
    mouse(0x0209); // a wheel turn: not in the table
    EXPECT_THAT(log, ElementsAre("downM", "upM", "move"));
}

TEST_F(TrayIcon, EventsCarryTheKeyboardStateTheButtonAndTheCursorAtHandling)
{
    TShiftState shift = 0;
    int x = 0, y = 0;
    tray->OnMouseUp = [&](TObject* sender, TMouseButton, TShiftState s, int px, int py) {
        EXPECT_EQ(sender, tray);
        shift = s, x = px, y = py;
    };
    messages.keysDown = {VK_SHIFT, VK_CONTROL};
    messages.cursor = platform::Point{700, 750};
    mouse(WM_RBUTTONUP);
    EXPECT_EQ(shift, ssShift | ssCtrl | ssRight);
    EXPECT_EQ(x, 700);
    EXPECT_EQ(y, 750);

    messages.keysDown = {VK_MENU};
    tray->OnMouseMove = [&](TObject*, TShiftState s, int, int) { shift = s; };
    mouse(WM_MOUSEMOVE);
    EXPECT_EQ(shift, unsigned{ssAlt});
}

TEST_F(TrayIcon, MenuOpensAtTheCursorWithTheProgramInFrontAndTheChosenItemRuns)
{
    TMenuItem& exit = addItem("Exit");
    bool ran = false;
    exit.OnClick = [&](TObject*) { ran = true; };
    messages.cursor = platform::Point{1000, 740};
    menus.menuChoice = "Exit";
    bool pendingRan = false;
    ui.post([&] { pendingRan = true; });
    menus.whileMenuOpen = [&] {
        EXPECT_TRUE(pendingRan); // pending messages ran before it opened
        EXPECT_EQ(menu->PopupComponent, tray);
        EXPECT_EQ(messages.foreground, form.Handle().handle());
    };
    fakes.uiJournal.clear();
    mouse(WM_RBUTTONDOWN);
    EXPECT_TRUE(ran);

    std::vector<std::string> order;
    for (const Call& call : fakes.uiJournal)
        if (call.operation != "cursorPos")
            order.push_back(call.operation);
    EXPECT_THAT(order, ElementsAre("processMessages", "setForegroundWindow", "trackPopupMenu", "postMessage"));
    EXPECT_EQ(menus.callsOf("trackPopupMenu")[0].args, (std::vector<std::string>{"1000", "740"}));
    EXPECT_EQ(messages.callsOf("postMessage")[0].args,
              (std::vector<std::string>{handleText(form.Handle().handle()), "0", "0", "0"}));
}

TEST_F(TrayIcon, NoCursorPositionMeansNoMenu)
{
    messages.faults.failFrom("cursorPos");
    mouse(WM_RBUTTONDOWN);
    EXPECT_TRUE(menus.callsOf("trackPopupMenu").empty());
}

TEST_F(TrayIcon, DisabledIgnoresTheMouseButKeepsTheIconAndItsAnimation)
{
    addItem("Default", true).OnClick = [&](TObject*) { log.push_back("item"); };
    logEvents();
    tray->Enabled = false;
    for (unsigned m = WM_MOUSEMOVE; m <= WM_MBUTTONUP; ++m)
        mouse(m);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(tray->ClickPending());
    EXPECT_TRUE(menus.callsOf("trackPopupMenu").empty());

    tray->SetCycleIcons(true);
    ui.advanceTime(200);
    EXPECT_EQ(shownImage(), "TRAY2");
}

TEST_F(TrayIcon, HiddenWindowAgreesToSessionEndAndLeavesOtherMessagesToTheSystem)
{
    FakeUtilityWindow* window = messages.utilityWindow("TTrayIconWindow");
    EXPECT_EQ(messages.send(window->handle(), {WM_QUERYENDSESSION, 0, 0}), 1);
    EXPECT_TRUE(window->defaulted.empty());
    messages.send(window->handle(), {0x001A, 5, 6});
    ASSERT_EQ(window->defaulted.size(), 1u);
    EXPECT_EQ(window->defaulted[0].message, 0x001Au);
    EXPECT_EQ(window->defaulted[0].wParam, 5u);
    EXPECT_EQ(window->defaulted[0].lParam, 6);
}

TEST_F(TrayIcon, IconComesBackWhenTheShellMakesANewNotificationArea)
{
    tray->SetIconIndex(2);
    fakes.notifyArea.restart();
    messages.broadcast({messages.registerMessage("TaskbarCreated"), 0, 0});
    EXPECT_EQ(shownImage(), "TRAY2");

    tray->SetIconVisible(false);
    fakes.notifyArea.restart();
    messages.broadcast({messages.registerMessage("TaskbarCreated"), 0, 0});
    EXPECT_TRUE(fakes.notifyArea.icons.empty()); // hidden on purpose stays hidden
}

TEST_F(TrayIcon, VisibilityAddsAndRemovesAndTheShellsRefusalsAreHarmless)
{
    EXPECT_FALSE(tray->AddToTray()); // already there
    tray->SetIconVisible(false);
    EXPECT_FALSE(tray->IconVisible());
    EXPECT_TRUE(fakes.notifyArea.icons.empty());
    EXPECT_FALSE(tray->RefreshInTray());
    EXPECT_FALSE(tray->RemoveFromTray());
    tray->SetIconVisible(true);
    EXPECT_EQ(shownImage(), "TRAY0");
}

TEST_F(TrayIcon, FreeingItRemovesTheIconStopsTheTimerAndRestoresBothWindows)
{
    tray->SetCycleIcons(true);
    FakeWindow* formWindow = ui.windowByHandle(form.Handle().handle());
    FakeWindow* appWindow = ui.windowByHandle(app.Handle().handle());
    EXPECT_EQ(formWindow->hookCount(), 1u);
    EXPECT_EQ(appWindow->hookCount(), 1u);
    const std::size_t timersBefore = ui.runningTimers();

    form.DestroyComponent(*tray);
    EXPECT_TRUE(fakes.notifyArea.icons.empty());
    EXPECT_EQ(fakes.notifyArea.requests.back().operation, "remove");
    EXPECT_EQ(formWindow->hookCount(), 0u);
    EXPECT_EQ(appWindow->hookCount(), 0u);
    EXPECT_EQ(messages.utilityWindow("TTrayIconWindow"), nullptr);
    EXPECT_EQ(ui.runningTimers(), timersBefore - 1);
    // The windows' own procedures still get their messages.
    formWindow->send({WM_SHOWWINDOW, 1, 0});
    EXPECT_EQ(formWindow->received.size(), 1u);
    EXPECT_TRUE(messages.callsOf("showWindow").empty());
}

TEST_F(TrayIcon, FreeingTheFormFreesTheIconWhileTheFormsWindowStillExists)
{
    FakeWindow* appWindow = ui.windowByHandle(app.Handle().handle());
    app.Terminate();
    app.Run(); // shows nothing new, frees the main form
    EXPECT_TRUE(fakes.notifyArea.icons.empty());
    EXPECT_EQ(appWindow->hookCount(), 0u);
}

TEST_F(TrayIcon, ForgetsTheImageListAndTheMenuWhenTheyAreFreed)
{
    tray->SetIconIndex(4);
    form.DestroyComponent(*images);
    EXPECT_EQ(tray->IconList(), nullptr);
    EXPECT_EQ(tray->IconIndex(), 0);
    EXPECT_EQ(shownImage(), "TRAY4"); // keeps its last image
    tray->SetCycleIcons(true);
    ui.advanceTime(300); // nothing to cycle through
    EXPECT_EQ(shownImage(), "TRAY4");

    form.DestroyComponent(*menu);
    EXPECT_EQ(tray->PopupMenu, nullptr);
    mouse(WM_RBUTTONDOWN);
    EXPECT_TRUE(menus.callsOf("trackPopupMenu").empty());
}

TEST_F(TrayIcon, MinimisingTheApplicationHidesItIntoTheTray)
{
    FakeWindow* appWindow = ui.windowByHandle(app.Handle().handle());
    form.Show();
    tray->SetIconVisible(false);
    appWindow->send({WM_SIZE, SIZE_MINIMIZED, 0}); // MinimizeToTray is off
    EXPECT_TRUE(form.Visible());

    tray->MinimizeToTray = true;
    appWindow->send({WM_SIZE, 0, 0}); // restored, not minimised
    EXPECT_TRUE(form.Visible());
    appWindow->send({WM_SIZE, SIZE_MINIMIZED, 0});
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(messages.callsOf("showWindow").back().args,
              (std::vector<std::string>{handleText(app.Handle().handle()), "Hide"}));
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_EQ(shownImage(), "TRAY0");
    EXPECT_EQ(appWindow->received.size(), 3u); // and the window's own procedure had each message
}

TEST_F(TrayIcon, ShowingTheFormBringsTheApplicationToTheFront)
{
    FakeWindow* formWindow = ui.windowByHandle(form.Handle().handle());
    const std::string app_ = handleText(app.Handle().handle());
    const std::string form_ = handleText(form.Handle().handle());
    formWindow->send({WM_SHOWWINDOW, 1, 3}); // shown because its owner was restored
    formWindow->send({WM_SHOWWINDOW, 0, 0}); // hidden
    EXPECT_TRUE(messages.callsOf("showWindow").empty());
    formWindow->send({WM_SHOWWINDOW, 1, 0});
    std::vector<Call> calls;
    for (const Call& c : messages.calls)
        if (c.operation == "showWindow" || c.operation == "setForegroundWindow")
            calls.push_back(c);
    EXPECT_THAT(calls, ElementsAre(Call{"showWindow", {app_, "Restore"}}, Call{"setForegroundWindow", {app_}},
                                   Call{"setForegroundWindow", {form_}}));
}

TEST_F(TrayIconFixture, StartMinimizedHidesTheApplicationOnceLoaded)
{
    form.BeginLoading();
    tray = &form.Create<TTrayIcon>(app, messages, fakes.notifyArea);
    tray->StartMinimized = true;
    EXPECT_TRUE(app.ShowMainForm);
    form.EndLoading();
    EXPECT_FALSE(app.ShowMainForm);
    EXPECT_EQ(messages.callsOf("showWindow").back().args,
              (std::vector<std::string>{handleText(app.Handle().handle()), "Hide"}));
    EXPECT_EQ(fakes.notifyArea.icons.size(), 1u);
}

TEST_F(TrayIconFixture, OnlyAFormCanOwnIt)
{
    TComponent notAForm(nullptr);
    try {
        notAForm.Create<TTrayIcon>(app, messages, fakes.notifyArea);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid class typecast");
    }
    EXPECT_EQ(messages.utilityWindow("TTrayIconWindow"), nullptr);
    EXPECT_EQ(ui.windowByHandle(app.Handle().handle())->hookCount(), 0u);

    // Without an owner the hidden window stands in for the owner's.
    TTrayIcon ownerless(nullptr, app, messages, fakes.notifyArea);
    TPopupMenu popup(nullptr, menus);
    ownerless.PopupMenu = &popup;
    ownerless.SetIconVisible(true);
    ASSERT_TRUE(fakes.notifyArea.mouse(WM_RBUTTONDOWN));
    EXPECT_EQ(messages.foreground, ownerless.NotifyData().hWnd);
}

TEST_F(TrayIconFixture, InADesignEnvironmentOnlyThePreviewShowsTheIcon)
{
    form.SetDesigning(true);
    createTrayIcon();
    EXPECT_TRUE(fakes.notifyArea.icons.empty());
    EXPECT_TRUE(fakes.notifyArea.callsOf("add").empty());
    EXPECT_EQ(ui.windowByHandle(form.Handle().handle())->hookCount(), 0u);
    tray->SetDesignPreview(true);
    EXPECT_EQ(shownImage(), "TRAY0");
    EXPECT_TRUE(tray->IconVisible());
    tray->SetDesignPreview(false);
    EXPECT_TRUE(fakes.notifyArea.icons.empty());
    EXPECT_TRUE(tray->IconVisible()); // the switch leaves the field alone
}
