// Win32 only. The UI adapter: timers in the message loop, errors from callbacks.
#include "platform/win32/Win32Ui.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Win32Ui, ATimerTicksFromTheLoopUntilStopped)
{
    Win32Callbacks callbacks;
    Win32Ui ui{callbacks};
    int ticks = 0;
    platform::TimerId timer = 0;
    timer = ui.startTimer(10, [&] {
        if (++ticks == 3) {
            ui.stopTimer(timer);
            ui.quit();
        }
    });
    ASSERT_NE(timer, 0u);
    ui.runMessageLoop();
    EXPECT_EQ(ticks, 3);
}

TEST(Win32Ui, AnErrorInACallbackReachesTheHandlerAndTheLoopGoesOn)
{
    Win32Callbacks callbacks;
    Win32Ui ui{callbacks};
    std::string caught;
    ui.setExceptionHandler([&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            caught = e.what();
        }
    });
    int ticks = 0;
    platform::TimerId timer = ui.startTimer(10, [&] {
        if (++ticks == 1)
            throw std::runtime_error("tick failed");
        ui.quit();
    });
    ui.runMessageLoop();
    ui.stopTimer(timer);
    EXPECT_EQ(caught, "tick failed");
    EXPECT_EQ(ticks, 2);
}

TEST(Win32Ui, ProcessMessagesLeavesTheQuitForTheLoop)
{
    Win32Callbacks callbacks;
    Win32Ui ui{callbacks};
    ui.quit();
    ui.processMessages();
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
