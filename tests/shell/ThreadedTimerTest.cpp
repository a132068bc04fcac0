// The threaded timer with real worker threads: the test's thread is the UI
// thread and takes the ticks through the fake UI's hand-over. Bounds on time are
// lower bounds (a wait never ends early) or generous upper ones.
#include "shell/ThreadedTimer.h"

#include "support/FakePlatform.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto slack = 5ms;       // clock granularity between the two threads
constexpr auto patience = 3000ms; // how long a test waits for what must come

class ThreadedTimerTest : public ::testing::Test {
protected:
    FakePlatform fake;
    TComponent owner{nullptr};
    TThreadedTimer* timer = &owner.Create<TThreadedTimer>(fake.services);
    std::vector<Clock::time_point> ticks;

    void SetUp() override
    {
        timer->OnTimer = [this](TObject* sender) {
            EXPECT_EQ(sender, timer);
            ticks.push_back(Clock::now());
        };
    }

    bool waitForTicks(std::size_t count) { return fake.ui.serveUntil([&] { return ticks.size() >= count; }, patience); }
    void serveFor(std::chrono::milliseconds time) { fake.ui.serveUntil([] { return false; }, time); }

    // Frees the timer and tells how long that took.
    Clock::duration destroy()
    {
        auto start = Clock::now();
        owner.DestroyComponent(*timer);
        timer = nullptr;
        return Clock::now() - start;
    }
};

} // namespace

TEST_F(ThreadedTimerTest, AFreshTimerIsDisabledAndNeverTicks)
{
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpNormal);
    timer->SetInterval(10);
    serveFor(150ms);
    EXPECT_TRUE(ticks.empty());
}

TEST_F(ThreadedTimerTest, TheFirstTickComesOneIntervalAfterEnablingThenTheyKeepComing)
{
    timer->SetInterval(100);
    auto enabled = Clock::now();
    timer->SetEnabled(true);
    ASSERT_TRUE(waitForTicks(3));
    EXPECT_GE(ticks[0] - enabled, 100ms - slack);
    EXPECT_GE(ticks[1] - ticks[0], 100ms - slack);
    EXPECT_GE(ticks[2] - ticks[1], 100ms - slack);
}

TEST_F(ThreadedTimerTest, DisablingStopsTheTicksAndReenablingWaitsAFullInterval)
{
    timer->SetInterval(20);
    timer->SetEnabled(true);
    ASSERT_TRUE(waitForTicks(2));
    timer->SetEnabled(false);
    std::size_t before = ticks.size();
    serveFor(150ms);
    EXPECT_EQ(ticks.size(), before);

    // A wait under way when the timer is disabled does not count.
    timer->SetInterval(300);
    timer->SetEnabled(true);
    serveFor(200ms);
    timer->SetEnabled(false);
    serveFor(50ms);
    auto reenabled = Clock::now();
    timer->SetEnabled(true);
    ASSERT_TRUE(waitForTicks(before + 1));
    EXPECT_GE(ticks[before] - reenabled, 300ms - slack);
}

TEST_F(ThreadedTimerTest, EnablingAnEnabledTimerDoesNotRestartThePeriod)
{
    timer->SetInterval(500);
    auto enabled = Clock::now();
    timer->SetEnabled(true);
    serveFor(250ms);
    int signals = static_cast<int>(fake.threads.callsOf("set").size());
    timer->SetEnabled(true);
    EXPECT_EQ(fake.threads.callsOf("set").size(), static_cast<std::size_t>(signals));
    ASSERT_TRUE(waitForTicks(1));
    // A restart would put the tick at least 750 ms after enabling.
    EXPECT_LT(ticks[0] - enabled, 740ms);
    EXPECT_TRUE(timer->Enabled());
}

TEST_F(ThreadedTimerTest, ChangingTheIntervalRestartsThePeriodAndTheSameValueChangesNothing)
{
    timer->SetInterval(400);
    timer->SetEnabled(true);
    serveFor(250ms);
    auto signals = fake.threads.callsOf("set").size();
    timer->SetInterval(400);
    EXPECT_EQ(fake.threads.callsOf("set").size(), signals);

    auto changed = Clock::now();
    timer->SetInterval(300);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 300u);
    ASSERT_TRUE(waitForTicks(1));
    EXPECT_GE(ticks[0] - changed, 300ms - slack);
}

TEST_F(ThreadedTimerTest, IntervalZeroParksTheWorkerUntilANonZeroIntervalComes)
{
    timer->SetInterval(0);
    timer->SetEnabled(true);
    serveFor(150ms);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(fake.threads.lastTimeout, platform::waitForever);

    timer->SetInterval(20);
    timer->SetEnabled(true);
    timer->SetInterval(0);
    serveFor(150ms);
    EXPECT_TRUE(ticks.empty());
    EXPECT_TRUE(timer->Enabled());

    timer->SetInterval(20);
    EXPECT_TRUE(waitForTicks(2));
}

TEST_F(ThreadedTimerTest, ASlowHandlerIsNeverReenteredAndTicksDoNotPileUp)
{
    timer->SetInterval(20);
    int depth = 0, deepest = 0;
    std::vector<Clock::time_point> ends;
    timer->OnTimer = [&](TObject*) {
        deepest = std::max(deepest, ++depth);
        ticks.push_back(Clock::now());
        // The handler runs five intervals and keeps taking messages meanwhile.
        fake.ui.serveUntil([] { return false; }, 100ms);
        ends.push_back(Clock::now());
        --depth;
    };
    auto start = Clock::now();
    timer->SetEnabled(true);
    ASSERT_TRUE(waitForTicks(4));
    auto elapsed = Clock::now() - start;

    EXPECT_EQ(deepest, 1);
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i] - ends[i - 1], 20ms - slack) << "tick " << i;
    // Every tick costs an interval plus the handler's 100 ms: no backlog is served.
    EXPECT_LE(static_cast<long>(ticks.size()), elapsed / 120ms + 1);
}

TEST_F(ThreadedTimerTest, AnErrorEscapingTheHandlerIsShownAndTheTicksGoOn)
{
    TApplication application(fake.ui);
    application.SetTitle("Nomblet");
    timer->SetInterval(20);
    timer->OnTimer = [&](TObject*) {
        ticks.push_back(Clock::now());
        if (ticks.size() == 1)
            throw Exception("Access denied");
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(waitForTicks(3));
    ASSERT_EQ(fake.ui.boxes.size(), 1u);
    EXPECT_EQ(fake.ui.boxes[0].text, "Access denied.");
    EXPECT_EQ(fake.ui.boxes[0].caption, "Nomblet");
    EXPECT_LT(destroy(), 1s);
}

TEST_F(ThreadedTimerTest, FreeingReturnsPromptlyWhetherEnabledOrDisabled)
{
    timer->SetInterval(60000);
    timer->SetEnabled(true);
    serveFor(20ms);
    EXPECT_LT(destroy(), 1s);

    timer = &owner.Create<TThreadedTimer>(fake.services);
    timer->SetInterval(60000);
    EXPECT_LT(destroy(), 1s);
    EXPECT_TRUE(ticks.empty());
}

TEST_F(ThreadedTimerTest, FreeingWhileATickWaitsForTheUiThreadEndsWithoutRunningIt)
{
    timer->SetInterval(10);
    timer->SetEnabled(true);
    // The UI thread is busy: the worker's tick is left waiting for it.
    std::this_thread::sleep_for(100ms);
    EXPECT_LT(destroy(), 1s);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(fake.ui.callsOf("handOver").size(), 1u);
}

TEST_F(ThreadedTimerTest, TheWorkerSleepsInOneWaitPerTick)
{
    timer->SetInterval(20);
    timer->SetEnabled(true);
    ASSERT_TRUE(waitForTicks(10));
    // The parked wait at creation, the one that enabling ended, then one per tick.
    EXPECT_LE(fake.threads.waits, 13);
    EXPECT_EQ(fake.threads.lastTimeout, 20u);
}

TEST_F(ThreadedTimerTest, ThreadPriorityGoesThroughTheWindowsScale)
{
    const std::pair<TThreadPriority, int> scale[] = {
        {TThreadPriority::tpIdle, -15},   {TThreadPriority::tpLowest, -2}, {TThreadPriority::tpLower, -1},
        {TThreadPriority::tpNormal, 0},   {TThreadPriority::tpHigher, 1},  {TThreadPriority::tpHighest, 2},
        {TThreadPriority::tpTimeCritical, 15}};
    EXPECT_EQ(fake.threads.callsOf("setPriority").back().args, std::vector<std::string>{"0"});
    for (auto [priority, system] : scale) {
        timer->SetThreadPriority(priority);
        EXPECT_EQ(fake.threads.callsOf("setPriority").back().args[0], std::to_string(system));
        EXPECT_EQ(timer->ThreadPriority(), priority);
    }
    fake.threads.reportedPriority = 7;
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpNormal);
    fake.threads.reportedPriority = -1;
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpLower);
}

TEST_F(ThreadedTimerTest, AThreadOrEventTheSystemRefusesFailsTheCreation)
{
    fake.threads.faults.failNext("newEvent");
    EXPECT_THROW(owner.Create<TThreadedTimer>(fake.services), Exception);
    fake.threads.faults.failNext("newThread");
    EXPECT_THROW(owner.Create<TThreadedTimer>(fake.services), Exception);
}
