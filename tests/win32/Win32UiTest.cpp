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

TEST(Win32Ui, TheProgramsHandCursorIsATwoColour32By32CursorPointingFromTheTopLeftCorner)
{
    Win32Callbacks callbacks;
    Win32Ui ui{callbacks};
    HCURSOR cursor = toSystem<HCURSOR>(ui.loadCursor("URLHAND"));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(ui.loadCursor("URLHAND"), toHandle<platform::CursorHandle>(cursor)); // shared
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    // A two-colour cursor has one mask bitmap of twice its height and no colour bitmap.
    BITMAP mask{};
    ::GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    EXPECT_EQ(info.hbmColor, nullptr);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    EXPECT_EQ(ui.loadCursor("NOSUCHCURSOR"), platform::CursorHandle{});
}
