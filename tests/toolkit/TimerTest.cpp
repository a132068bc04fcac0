// The window-message timer.
#include "toolkit/Timer.h"

#include "support/FakeUi.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

namespace {
class TimerTest : public ::testing::Test {
protected:
    FakeUi ui;
    TComponent owner{nullptr};
    TTimer& timer = owner.Create<TTimer>(ui);
    int ticks = 0;
    void handle() { timer.SetOnTimer([this](TObject* sender) { EXPECT_EQ(sender, &timer); ++ticks; }); }
};
} // namespace

TEST_F(TimerTest, RunsOnlyOnceItHasAHandlerEnabledWithAnInterval)
{
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_EQ(ui.runningTimers(), 0u);
    handle();
    ui.advanceTime(2500);
    EXPECT_EQ(ticks, 2);
    timer.SetInterval(0);
    ui.advanceTime(5000);
    EXPECT_EQ(ticks, 2);
}

TEST_F(TimerTest, ChangingTheIntervalRestartsThePeriodAndDisablingStopsIt)
{
    handle();
    ui.advanceTime(900);
    timer.SetInterval(500);
    ui.advanceTime(499);
    EXPECT_EQ(ticks, 0);
    ui.advanceTime(1);
    EXPECT_EQ(ticks, 1);
    timer.SetEnabled(false);
    ui.advanceTime(5000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(ui.runningTimers(), 0u);
}

TEST_F(TimerTest, NoSystemTimerLeftIsAnError)
{
    ui.faults.failNext("startTimer");
    try {
        handle();
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), "Not enough timers available");
    }
}

TEST_F(TimerTest, FreeingTheTimerStopsIt)
{
    handle();
    owner.DestroyComponent(timer);
    EXPECT_EQ(ui.runningTimers(), 0u);
}
