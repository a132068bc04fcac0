// Win32 only. Windows, the message loop, timers and message boxes.
#include "platform/win32/Win32Ui.h"

#include "platform/win32/Win32Canvas.h"

#include <utility>

namespace {

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
    platform::WindowHandle handle() const override { return toHandle<platform::WindowHandle>(hwnd()); }
    void invalidateRect(const platform::Rect& r) override
    {
        RECT rect{r.left, r.top, r.left + r.width, r.top + r.height};
        ::InvalidateRect(hwnd(), &rect, TRUE);
    }
    void setCapture() override { ::SetCapture(hwnd()); }
    void releaseCapture() override
    {
        if (::GetCapture() == hwnd())
            ::ReleaseCapture();
    }

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
            if (mouse(message, wParam, lParam))
                return message == WM_SETCURSOR ? TRUE : 0;
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
    }

    // The mouse messages, for the windowless controls the window paints; true when handled.
    bool mouse(UINT message, WPARAM wParam, LPARAM lParam)
    {
        const platform::Point at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        unsigned shift = 0;
        for (auto [flag, bit] : {std::pair{MK_SHIFT, platform::ShiftKey}, {MK_CONTROL, platform::ControlKey},
                                 {MK_LBUTTON, platform::LeftHeld}, {MK_RBUTTON, platform::RightHeld},
                                 {MK_MBUTTON, platform::MiddleHeld}})
            if (wParam & flag)
                shift |= bit;
        using platform::MouseButton;
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            events_.onMouseButton(MouseButton::Left, message == WM_LBUTTONDOWN, at, shift);
            return true;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            events_.onMouseButton(MouseButton::Right, message == WM_RBUTTONDOWN, at, shift);
            return true;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            events_.onMouseButton(MouseButton::Middle, message == WM_MBUTTONDOWN, at, shift);
            return true;
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
                tracking_ = ::TrackMouseEvent(&track) != FALSE;
            }
            events_.onMouseMove(at, shift);
            return true;
        case WM_MOUSELEAVE:
            tracking_ = false;
            events_.onMouseLeave();
            return true;
        case WM_CAPTURECHANGED:
            events_.onCaptureLost();
            return true;
        case WM_SETCURSOR: {
            POINT p{};
            if (LOWORD(lParam) != HTCLIENT || !::GetCursorPos(&p) || !::ScreenToClient(hwnd(), &p))
                return false;
            HCURSOR cursor = reinterpret_cast<HCURSOR>(events_.cursorAt({p.x, p.y}));
            if (!cursor)
                return false;
            ::SetCursor(cursor);
            return true;
        }
        default:
            return false;
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
    bool tracking_ = false; // a leave report has been asked for
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

int Win32Ui::pixelsPerInch()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return 96;
    const int perInch = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return perInch > 0 ? perInch : 96;
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

platform::CursorHandle Win32Ui::loadCursor(const std::string& resourceName)
{
    return toHandle<platform::CursorHandle>(::LoadCursorA(::GetModuleHandleA(nullptr), resourceName.c_str()));
}

platform::CursorHandle Win32Ui::arrowCursor()
{
    return toHandle<platform::CursorHandle>(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

platform::CursorHandle Win32Ui::handCursor()
{
    return toHandle<platform::CursorHandle>(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
}

void Win32Ui::setScreenCursor(platform::ScreenCursor cursor)
{
    // Busy work lets no message through, so nothing sets the cursor back meanwhile.
    LPCSTR shape = reinterpret_cast<LPCSTR>(cursor == platform::ScreenCursor::HourGlass ? IDC_WAIT : IDC_ARROW);
    ::SetCursor(::LoadCursorA(nullptr, shape));
}
