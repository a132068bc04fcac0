// Win32 only. Hidden windows, window hooks and messages.
#include "platform/win32/Win32WindowMessages.h"

#include "platform/Ui.h"

namespace {

class Win32UtilityWindow final : public platform::IUtilityWindow, private Win32WindowTarget {
public:
    Win32UtilityWindow(Win32Callbacks& callbacks, platform::WindowProc proc)
        : Win32WindowTarget(callbacks), proc_(std::move(proc))
    {
    }

    bool create(const std::string& className)
    {
        return Win32WindowTarget::create({.className = className, .exStyle = WS_EX_TOOLWINDOW});
    }

    platform::WindowHandle handle() const override { return toHandle<platform::WindowHandle>(hwnd()); }
    std::intptr_t defaultProc(const platform::WindowMessage& m) override
    {
        return ::DefWindowProcA(hwnd(), m.message, m.wParam, m.lParam);
    }

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        // Until the window is fully made, the system handles everything.
        if (!this->hwnd() || !proc_)
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        return proc_({message, wParam, lParam});
    }

    platform::WindowProc proc_;
};

} // namespace

std::unique_ptr<platform::IUtilityWindow> Win32WindowMessages::newUtilityWindow(const std::string& className,
                                                                                platform::WindowProc proc)
{
    auto window = std::make_unique<Win32UtilityWindow>(callbacks_, std::move(proc));
    if (!window->create(className))
        return nullptr;
    return window;
}

std::unique_ptr<platform::IWindowHook> Win32WindowMessages::hookWindow(platform::IWindow& window,
                                                                       platform::MessageObserver observer)
{
    HWND hwnd = toHwnd(window.handle());
    if (!hwnd || Win32WindowHook::hooked(hwnd))
        return nullptr;
    return std::make_unique<Win32WindowHook>(callbacks_, hwnd, std::move(observer));
}

unsigned Win32WindowMessages::registerMessage(const std::string& name)
{
    return ::RegisterWindowMessageA(name.c_str());
}

bool Win32WindowMessages::postMessage(platform::WindowHandle window, const platform::WindowMessage& m)
{
    return ::PostMessageA(toHwnd(window), m.message, m.wParam, m.lParam) != FALSE;
}

void Win32WindowMessages::setForegroundWindow(platform::WindowHandle window)
{
    ::SetForegroundWindow(toHwnd(window));
}

void Win32WindowMessages::showWindow(platform::WindowHandle window, platform::ShowCommand command)
{
    ::ShowWindow(toHwnd(window), command == platform::ShowCommand::Hide ? SW_HIDE : SW_RESTORE);
}

std::optional<platform::Point> Win32WindowMessages::cursorPos()
{
    POINT p{};
    if (!::GetCursorPos(&p))
        return std::nullopt;
    return platform::Point{p.x, p.y};
}

bool Win32WindowMessages::keyDown(int virtualKey)
{
    return ::GetKeyState(virtualKey) < 0;
}
