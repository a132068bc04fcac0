// Win32 only. The user-interface service over user32 and gdi32: windows, the
// message loop, thread timers and message boxes.
#pragma once

#include "platform/Ui.h"
#include "platform/win32/Win32Windows.h"

#include <map>

class Win32Ui final : public platform::IUi {
public:
    explicit Win32Ui(Win32Callbacks& callbacks);
    ~Win32Ui() override;

    std::unique_ptr<platform::IWindow> newWindow(const platform::WindowParams& params,
                                                 platform::IWindowEvents& events) override;
    void runMessageLoop() override;
    void processMessages() override;
    void quit() override;
    platform::TimerId startTimer(unsigned intervalMs, std::function<void()> tick) override;
    void stopTimer(platform::TimerId timer) override;
    platform::Size screenSize() override;
    int pixelsPerInch() override;
    platform::Rgb sysColor(int index) override;
    void messageBox(const std::string& text, const std::string& caption, platform::BoxIcon icon) override;
    void setExceptionHandler(std::function<void(std::exception_ptr)> handler) override;
    platform::CursorHandle loadCursor(const std::string& resourceName) override;
    platform::CursorHandle arrowCursor() override;
    platform::CursorHandle handCursor() override;
    void setScreenCursor(platform::ScreenCursor cursor) override;

private:
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD);

    Win32Callbacks& callbacks_;
    std::map<platform::TimerId, std::function<void()>> timers_;
};
