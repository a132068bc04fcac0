// Win32 only. The user-interface service over user32 and gdi32.
#pragma once

#include "platform/Ui.h"
#include "platform/win32/ScopedHandle.h"

#include <windows.h>

#include <map>

class Win32Ui final : public platform::IUi {
public:
    Win32Ui();
    ~Win32Ui() override;

    std::unique_ptr<platform::IWindow> newWindow(const platform::WindowParams& params,
                                                 platform::IWindowEvents& events) override;
    void runMessageLoop() override;
    void processMessages() override;
    void quit() override;
    platform::TimerId startTimer(unsigned intervalMs, std::function<void()> tick) override;
    void stopTimer(platform::TimerId timer) override;
    platform::Size screenSize() override;
    platform::Rgb sysColor(int index) override;
    void messageBox(const std::string& text, const std::string& caption, platform::BoxIcon icon) override;
    void setExceptionHandler(std::function<void(std::exception_ptr)> handler) override;
    void runOnUiThread(const std::function<void()>& call) override;
    void waitForThreadEnd(platform::IThread& thread) override;

    // ---- Windows at message level, icons and popup menus ----
    std::unique_ptr<platform::IUtilityWindow> newUtilityWindow(const std::string& className,
                                                               platform::WindowProc proc) override;
    std::unique_ptr<platform::IWindowHook> hookWindow(platform::IWindow& window,
                                                      platform::MessageObserver observer) override;
    unsigned registerMessage(const std::string& name) override;
    bool postMessage(platform::WindowHandle window, const platform::WindowMessage& message) override;
    void setForegroundWindow(platform::WindowHandle window) override;
    void showWindow(platform::WindowHandle window, platform::ShowCommand command) override;
    std::optional<platform::Point> cursorPos() override;
    void setScreenCursor(platform::ScreenCursor cursor) override;
    bool keyDown(int virtualKey) override;
    std::unique_ptr<platform::IIcon> loadIcon(const std::string& resourceName, platform::Size size) override;
    unsigned trackPopupMenu(const std::vector<platform::MenuEntry>& entries, platform::Point at) override;
    std::optional<std::string> openFileDialog(const platform::OpenFileRequest& request) override;
    platform::CursorHandle loadCursor(const std::string& resourceName) override;
    platform::CursorHandle arrowCursor() override;
    platform::CursorHandle handCursor() override;

    // Hands an exception caught at a Win32 callback to the program's handler.
    void reportException(std::exception_ptr error);

private:
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD);
    // Runs a call on this thread with the catch-all every callback gets.
    void runGuarded(const std::function<void()>& call);
    static LRESULT CALLBACK handOverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void(std::exception_ptr)> exceptionHandler_;
    std::map<platform::TimerId, std::function<void()>> timers_;
    // The window that owns tracked popup menus, made on first use.
    std::unique_ptr<platform::IUtilityWindow> menuOwner_;
    // The thread that made the service, and its hidden window that takes
    // calls sent over from worker threads.
    DWORD uiThread_;
    ScopedWindow handOverWindow_;
};

// The window behind a window of this service; null for none.
HWND windowHandle(const platform::IWindow* window);
