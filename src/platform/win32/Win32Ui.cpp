// Win32 only. Windows, the message loop, timers and message boxes.
#include "platform/win32/Win32Ui.h"

namespace {

class Win32Canvas final : public platform::ICanvas {
public:
    explicit Win32Canvas(HDC dc) : dc_(dc) {}
    void fillRect(const platform::Rect& rect, platform::Rgb colour) override
    {
        ScopedGdiObject brush(::CreateSolidBrush(colour));
        RECT r{rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
        ::FillRect(dc_, &r, static_cast<HBRUSH>(brush.get()));
    }

private:
    HDC dc_;
};

class Win32Window final : public platform::IWindow, private Win32WindowTarget {
public:
    Win32Window(Win32Callbacks& callbacks, const platform::WindowParams& params, platform::IWindowEvents& events)
        : Win32WindowTarget(callbacks), events_(events), background_(params.background)
    {
        create({.className = params.className,
                .caption = params.caption,
                .style = params.borderless ? DWORD{WS_POPUP} : DWORD{WS_OVERLAPPEDWINDOW},
                .exStyle = params.topmost ? DWORD{WS_EX_TOPMOST} : DWORD{0},
                .bounds = params.bounds,
                .parent = params.owner ? toHwnd(params.owner->handle()) : nullptr});
    }

    void setBounds(const platform::Rect& b) override
    {
        ::SetWindowPos(hwnd(), nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    platform::Rect bounds() const override
    {
        RECT r{};
        ::GetWindowRect(hwnd(), &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    void setVisible(bool visible) override { ::ShowWindow(hwnd(), visible ? SW_SHOWNORMAL : SW_HIDE); }
    bool visible() const override { return ::IsWindowVisible(hwnd()) != FALSE; }
    void setCaption(const std::string& caption) override { ::SetWindowTextA(hwnd(), caption.c_str()); }
    void setBackground(platform::Rgb colour) override { background_ = colour; }
    void invalidate() override { ::InvalidateRect(hwnd(), nullptr, TRUE); }
    platform::WindowHandle handle() const override { return reinterpret_cast<platform::WindowHandle>(hwnd()); }

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_CLOSE:
            events_.onCloseRequest();
            return 0;
        case WM_QUERYENDSESSION:
            return events_.onQueryEndSession() ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wParam)
                events_.onEndSession();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        default:
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
    }

    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd(), &ps);
        struct EndPaintGuard {
            HWND hwnd;
            PAINTSTRUCT* ps;
            ~EndPaintGuard() { ::EndPaint(hwnd, ps); }
        } guard{hwnd(), &ps};
        Win32Canvas canvas(dc);
        events_.onPaint(canvas);
    }

    platform::IWindowEvents& events_;
    platform::Rgb background_;
};

// Thread timers carry no pointer of ours; the one UI service is found here.
Win32Ui* timerOwner = nullptr;

} // namespace

Win32Ui::Win32Ui(Win32Callbacks& callbacks) : callbacks_(callbacks)
{
    timerOwner = this;
}

Win32Ui::~Win32Ui()
{
    for (const auto& timer : timers_)
        ::KillTimer(nullptr, timer.first);
    timerOwner = nullptr;
}

platform::TimerId Win32Ui::startTimer(unsigned intervalMs, std::function<void()> tick)
{
    UINT_PTR id = ::SetTimer(nullptr, 0, intervalMs, &Win32Ui::timerProc);
    if (id)
        timers_[id] = std::move(tick);
    return id;
}

void Win32Ui::stopTimer(platform::TimerId timer)
{
    ::KillTimer(nullptr, timer);
    timers_.erase(timer);
}

void CALLBACK Win32Ui::timerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!timerOwner)
        return;
    auto it = timerOwner->timers_.find(id);
    if (it == timerOwner->timers_.end())
        return;
    // The tick may stop or restart its own timer: call a copy.
    std::function<void()> tick = it->second;
    timerOwner->callbacks_.guard(tick);
}

std::unique_ptr<platform::IWindow> Win32Ui::newWindow(const platform::WindowParams& params,
                                                      platform::IWindowEvents& events)
{
    return std::make_unique<Win32Window>(callbacks_, params, events);
}

void Win32Ui::runMessageLoop()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Win32Ui::processMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the loop that is waiting for it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Win32Ui::quit()
{
    ::PostQuitMessage(0);
}

platform::Size Win32Ui::screenSize()
{
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

platform::Rgb Win32Ui::sysColor(int index)
{
    return ::GetSysColor(index);
}

void Win32Ui::messageBox(const std::string& text, const std::string& caption, platform::BoxIcon icon)
{
    UINT flags = MB_OK | MB_TASKMODAL;
    if (icon == platform::BoxIcon::Stop)
        flags |= MB_ICONSTOP;
    else if (icon == platform::BoxIcon::Information)
        flags |= MB_ICONINFORMATION;
    ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

void Win32Ui::setExceptionHandler(std::function<void(std::exception_ptr)> handler)
{
    callbacks_.setHandler(std::move(handler));
}

void Win32Ui::setScreenCursor(platform::ScreenCursor cursor)
{
    // Busy work lets no message through, so nothing sets the cursor back meanwhile.
    LPCSTR shape = reinterpret_cast<LPCSTR>(cursor == platform::ScreenCursor::HourGlass ? IDC_WAIT : IDC_ARROW);
    ::SetCursor(::LoadCursorA(nullptr, shape));
}
