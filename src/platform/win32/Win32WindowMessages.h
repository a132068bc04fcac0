// Win32 only. Windows at message level over user32: hidden windows, hooks on
// windows' procedures, posted and registered messages, the input state.
#pragma once

#include "platform/WindowMessages.h"
#include "platform/win32/Win32Windows.h"

class Win32WindowMessages final : public platform::IWindowMessages {
public:
    explicit Win32WindowMessages(Win32Callbacks& callbacks) : callbacks_(callbacks) {}

    std::unique_ptr<platform::IUtilityWindow> newUtilityWindow(const std::string& className,
                                                               platform::WindowProc proc) override;
    std::unique_ptr<platform::IWindowHook> hookWindow(platform::IWindow& window,
                                                      platform::MessageObserver observer) override;
    unsigned registerMessage(const std::string& name) override;
    bool postMessage(platform::WindowHandle window, const platform::WindowMessage& message) override;
    void setForegroundWindow(platform::WindowHandle window) override;
    void showWindow(platform::WindowHandle window, platform::ShowCommand command) override;
    std::optional<platform::Point> cursorPos() override;
    bool keyDown(int virtualKey) override;

private:
    Win32Callbacks& callbacks_;
};
