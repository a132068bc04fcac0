// Win32 only. The threaded timer over the real thread and UI services: ticks are
// handed to the UI thread and keep coming while a modal loop runs there.
#include "platform/win32/Win32Threads.h"
#include "platform/win32/Win32UiThread.h"
#include "shell/ThreadedTimer.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

class Win32ThreadedTimerTest : public ::testing::Test {
protected:
    Win32Platform win32;
    platform::IUi& ui = win32.services().ui;
    TComponent owner{nullptr};
    TThreadedTimer* timer = &owner.Create<TThreadedTimer>(win32.services());
    std::vector<DWORD> tickThreads;

    // Takes messages until done() holds or the time-out has passed.
    bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000)
    {
        DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > timeoutMs)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            ui.processMessages();
        }
        return true;
    }
};

} // namespace

TEST_F(Win32ThreadedTimerTest, TicksRunOnTheUiThreadOneIntervalApart)
{
    std::vector<DWORD> times;
    timer->OnTimer = [&](TObject*) {
        tickThreads.push_back(::GetCurrentThreadId());
        times.push_back(::GetTickCount());
    };
    timer->SetInterval(50);
    DWORD enabled = ::GetTickCount();
    timer->SetEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return tickThreads.size() >= 3; }));
    for (DWORD thread : tickThreads)
        EXPECT_EQ(thread, ::GetCurrentThreadId());
    // GetTickCount may step by up to 16 ms.
    EXPECT_GE(times[0] - enabled, 50u - 16u);
    EXPECT_GE(times[2] - times[1], 50u - 16u);
}

TEST_F(Win32ThreadedTimerTest, TicksKeepComingWhileAMessageBoxIsOpen)
{
    static constexpr char caption[] = "Threaded timer test box";
    int ticksInBox = 0;
    timer->OnTimer = [&](TObject*) {
        HWND box = ::FindWindowA("#32770", caption);
        if (!box)
            return;
        // The box's own modal loop took this tick: close it after a few.
        if (++ticksInBox == 3)
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    };
    timer->SetInterval(30);
    timer->SetEnabled(true);
    DWORD start = ::GetTickCount();
    ::MessageBoxA(nullptr, "ticking", caption, MB_OK | MB_TASKMODAL);
    EXPECT_EQ(ticksInBox, 3);
    EXPECT_LT(::GetTickCount() - start, 5000u);
}

TEST_F(Win32ThreadedTimerTest, AnErrorEscapingTheHandlerGoesToTheExceptionHandlerAndTicksGoOn)
{
    std::vector<std::string> shown;
    ui.setExceptionHandler([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const Exception& e) {
            shown.push_back(e.Message());
        }
    });
    timer->OnTimer = [&](TObject*) {
        tickThreads.push_back(::GetCurrentThreadId());
        if (tickThreads.size() == 1)
            throw Exception("Access denied");
    };
    timer->SetInterval(20);
    timer->SetEnabled(true);
    ASSERT_TRUE(pumpUntil([&] { return tickThreads.size() >= 3; }));
    EXPECT_EQ(shown, std::vector<std::string>{"Access denied"});
    ui.setExceptionHandler(nullptr);
}

TEST_F(Win32ThreadedTimerTest, FreeingWhileATickWaitsForTheUiThreadServesItAndReturns)
{
    timer->OnTimer = [&](TObject*) { tickThreads.push_back(::GetCurrentThreadId()); };
    timer->SetInterval(10);
    timer->SetEnabled(true);
    // The UI thread takes no messages: the worker stays blocked in its hand-over.
    ::Sleep(100);
    DWORD start = ::GetTickCount();
    owner.DestroyComponent(*timer);
    EXPECT_LT(::GetTickCount() - start, 1000u);
    EXPECT_TRUE(tickThreads.empty());
}

TEST_F(Win32ThreadedTimerTest, ThreadPriorityReachesTheWorker)
{
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpNormal);
    timer->SetThreadPriority(TThreadPriority::tpLower);
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpLower);
    timer->SetThreadPriority(TThreadPriority::tpIdle);
    EXPECT_EQ(timer->ThreadPriority(), TThreadPriority::tpIdle);
}

TEST(Win32Threads, AnAutoResetEventEndsOneWaitPerSignal)
{
    Win32Threads threads;
    auto event = threads.newEvent();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->wait(0), platform::WaitResult::TimedOut);
    event->set();
    event->set();
    EXPECT_EQ(event->wait(0), platform::WaitResult::Signalled);
    EXPECT_EQ(event->wait(10), platform::WaitResult::TimedOut);
}

TEST(Win32Threads, AThreadRunsItsBodyAndReportsItsEnd)
{
    Win32Threads threads;
    std::atomic<DWORD> ran{0};
    auto thread = threads.newThread([&] { ran = ::GetCurrentThreadId(); });
    ASSERT_NE(thread, nullptr);
    Win32Callbacks callbacks;
    Win32UiThread uiThread{callbacks};
    uiThread.waitForThreadEnd(*thread);
    EXPECT_TRUE(thread->ended());
    EXPECT_NE(ran.load(), 0u);
    EXPECT_NE(ran.load(), ::GetCurrentThreadId());
}
