// Win32 only. Windows, the message loop and message boxes.
#include "platform/win32/Win32Ui.h"

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32Threads.h"

#include <commdlg.h>

#include <set>
#include <stdexcept>

namespace {

class Win32Window final : public platform::IWindow {
public:
    Win32Window(Win32Ui& ui, const platform::WindowParams& params, platform::IWindowEvents& events);
    ~Win32Window() override;

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

    HWND hwnd() const { return window_.get(); }

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    // The mouse messages, for the windowless controls the window paints; true when handled.
    bool mouse(UINT message, WPARAM wParam, LPARAM lParam);
    bool tracking_ = false; // a leave report has been asked for

    Win32Ui& ui_;
    platform::IWindowEvents& events_;
    platform::Rgb background_;
    ScopedWindow window_;
};

void registerClass(const std::string& name)
{
    static std::set<std::string> registered;
    if (registered.count(name))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32Window::windowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = name.c_str();
    ::RegisterClassExA(&wc);
    registered.insert(name);
}

Win32Window::Win32Window(Win32Ui& ui, const platform::WindowParams& params, platform::IWindowEvents& events)
    : ui_(ui), events_(events), background_(params.background)
{
    registerClass(params.className);
    DWORD style = params.borderless ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    DWORD exStyle = params.topmost ? WS_EX_TOPMOST : 0;
    HWND owner = params.owner ? static_cast<Win32Window*>(params.owner)->hwnd() : nullptr;
    const platform::Rect& b = params.bounds;
    // The object is reachable from the window before CreateWindowExA returns:
    // the first messages arrive during the call.
    window_.reset(::CreateWindowExA(exStyle, params.className.c_str(), params.caption.c_str(), style, b.left,
                                    b.top, b.width, b.height, owner, nullptr, ::GetModuleHandleA(nullptr), this));
}

Win32Window::~Win32Window()
{
    // No event may reach a half-destroyed owner.
    if (hwnd())
        ::SetWindowLongPtrA(hwnd(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* window = reinterpret_cast<Win32Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    Win32Ui& ui = window->ui_;
    try {
        return window->handle(hwnd, message, wParam, lParam);
    } catch (...) {
        ui.reportException(std::current_exception());
        return 0;
    }
}

LRESULT Win32Window::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
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

bool Win32Window::mouse(UINT message, WPARAM wParam, LPARAM lParam)
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

void Win32Window::paint()
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

constexpr UINT WM_HANDOVER = WM_APP + 1; // wParam: the Win32Ui, lParam: the call
constexpr char handOverClass[] = "NombletHandOver";

} // namespace

HWND windowHandle(const platform::IWindow* window)
{
    return window ? static_cast<const Win32Window*>(window)->hwnd() : nullptr;
}


namespace {
// Thread timers carry no pointer of ours; the one UI service is found here.
Win32Ui* timerOwner = nullptr;
}

Win32Ui::Win32Ui() : uiThread_(::GetCurrentThreadId())
{
    timerOwner = this;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32Ui::handOverProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = handOverClass;
    ::RegisterClassExA(&wc); // fails harmlessly when a former service registered it
    handOverWindow_.reset(::CreateWindowExA(0, handOverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            ::GetModuleHandleA(nullptr), nullptr));
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
    try {
        tick();
    } catch (...) {
        timerOwner->reportException(std::current_exception());
    }
}

std::unique_ptr<platform::IWindow> Win32Ui::newWindow(const platform::WindowParams& params,
                                                      platform::IWindowEvents& events)
{
    return std::make_unique<Win32Window>(*this, params, events);
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
    exceptionHandler_ = std::move(handler);
}

void Win32Ui::reportException(std::exception_ptr error)
{
    if (exceptionHandler_)
        exceptionHandler_(error);
}

// ---- Windows at message level, icons and popup menus ----

namespace {

class Win32UtilityWindow final : public platform::IUtilityWindow {
public:
    Win32UtilityWindow(Win32Ui& ui, platform::WindowProc proc) : ui_(ui), proc_(std::move(proc)) {}
    ~Win32UtilityWindow() override
    {
        if (hwnd())
            ::SetWindowLongPtrA(hwnd(), GWLP_USERDATA, 0);
    }

    bool create(const std::string& className)
    {
        registerClass(className);
        window_.reset(::CreateWindowExA(WS_EX_TOOLWINDOW, className.c_str(), "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, ::GetModuleHandleA(nullptr), this));
        return static_cast<bool>(window_);
    }

    platform::WindowHandle handle() const override { return reinterpret_cast<platform::WindowHandle>(hwnd()); }
    std::intptr_t defaultProc(const platform::WindowMessage& m) override
    {
        return ::DefWindowProcA(hwnd(), m.message, m.wParam, m.lParam);
    }

private:
    HWND hwnd() const { return window_.get(); }

    static void registerClass(const std::string& name)
    {
        static std::set<std::string> registered;
        if (registered.count(name))
            return;
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Win32UtilityWindow::windowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = name.c_str();
        ::RegisterClassExA(&wc);
        registered.insert(name);
    }

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* window = reinterpret_cast<Win32UtilityWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        // Until the window is fully made, and while it is destroyed, the system handles everything.
        if (!window || !window->window_ || !window->proc_)
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        try {
            return window->proc_({message, wParam, lParam});
        } catch (...) {
            window->ui_.reportException(std::current_exception());
            return 0;
        }
    }

    Win32Ui& ui_;
    platform::WindowProc proc_;
    ScopedWindow window_;
};

// The hook is found from the window through a property, so the replacement
// procedure can be one function for every hooked window.
constexpr const char* hookProperty = "Nomblet.WindowHook";

class Win32WindowHook final : public platform::IWindowHook {
public:
    Win32WindowHook(Win32Ui& ui, HWND hwnd, platform::MessageObserver observer)
        : ui_(ui), hwnd_(hwnd), observer_(std::move(observer))
    {
        ::SetPropA(hwnd_, hookProperty, this);
        saved_ = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd_, GWLP_WNDPROC));
        ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowHook::hookProc));
    }
    ~Win32WindowHook() override
    {
        if (!hwnd_)
            return; // the window went first
        ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
        ::RemovePropA(hwnd_, hookProperty);
    }

private:
    static LRESULT CALLBACK hookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* hook = static_cast<Win32WindowHook*>(::GetPropA(hwnd, hookProperty));
        if (!hook)
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        try {
            hook->observer_({message, wParam, lParam});
        } catch (...) {
            hook->ui_.reportException(std::current_exception());
        }
        WNDPROC saved = hook->saved_;
        if (message == WM_NCDESTROY) {
            // The handle may name another window later: forget it now.
            ::RemovePropA(hwnd, hookProperty);
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
            hook->hwnd_ = nullptr;
        }
        return ::CallWindowProcA(saved, hwnd, message, wParam, lParam);
    }

    Win32Ui& ui_;
    HWND hwnd_;
    platform::MessageObserver observer_;
    WNDPROC saved_ = nullptr;
};

class Win32Icon final : public platform::IIcon {
public:
    explicit Win32Icon(HICON icon) : icon_(icon) {}
    platform::IconHandle handle() const override { return reinterpret_cast<platform::IconHandle>(icon_.get()); }

private:
    ScopedIcon icon_;
};

HWND toHwnd(platform::WindowHandle window)
{
    return reinterpret_cast<HWND>(window);
}

// Builds a menu from its entries; false when the system refused a part of it.
bool fillMenu(HMENU menu, const std::vector<platform::MenuEntry>& entries)
{
    for (const platform::MenuEntry& entry : entries) {
        if (entry.caption == "-") {
            if (!::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr))
                return false;
        } else if (!entry.items.empty()) {
            ScopedMenu sub(::CreatePopupMenu());
            if (!sub || !fillMenu(sub.get(), entry.items))
                return false;
            UINT flags = MF_POPUP | MF_STRING | (entry.checked ? MF_CHECKED : 0);
            if (!::AppendMenuA(menu, flags, reinterpret_cast<UINT_PTR>(sub.get()), entry.caption.c_str()))
                return false;
            sub.release(); // the parent menu frees it now
        } else {
            UINT flags = MF_STRING | (entry.checked ? MF_CHECKED : 0);
            if (!::AppendMenuA(menu, flags, entry.id, entry.caption.c_str()))
                return false;
        }
        if (entry.isDefault && entry.items.empty())
            ::SetMenuDefaultItem(menu, entry.id, FALSE);
    }
    return true;
}

} // namespace

std::unique_ptr<platform::IUtilityWindow> Win32Ui::newUtilityWindow(const std::string& className,
                                                                    platform::WindowProc proc)
{
    auto window = std::make_unique<Win32UtilityWindow>(*this, std::move(proc));
    if (!window->create(className))
        return nullptr;
    return window;
}

std::unique_ptr<platform::IWindowHook> Win32Ui::hookWindow(platform::IWindow& window,
                                                           platform::MessageObserver observer)
{
    HWND hwnd = toHwnd(window.handle());
    if (!hwnd || ::GetPropA(hwnd, hookProperty))
        return nullptr;
    return std::make_unique<Win32WindowHook>(*this, hwnd, std::move(observer));
}

unsigned Win32Ui::registerMessage(const std::string& name)
{
    return ::RegisterWindowMessageA(name.c_str());
}

bool Win32Ui::postMessage(platform::WindowHandle window, const platform::WindowMessage& m)
{
    return ::PostMessageA(toHwnd(window), m.message, m.wParam, m.lParam) != FALSE;
}

void Win32Ui::setForegroundWindow(platform::WindowHandle window)
{
    ::SetForegroundWindow(toHwnd(window));
}

void Win32Ui::showWindow(platform::WindowHandle window, platform::ShowCommand command)
{
    ::ShowWindow(toHwnd(window), command == platform::ShowCommand::Hide ? SW_HIDE : SW_RESTORE);
}

void Win32Ui::setScreenCursor(platform::ScreenCursor cursor)
{
    // Busy work lets no message through, so nothing sets the cursor back meanwhile.
    LPCSTR shape = reinterpret_cast<LPCSTR>(cursor == platform::ScreenCursor::HourGlass ? IDC_WAIT : IDC_ARROW);
    ::SetCursor(::LoadCursorA(nullptr, shape));
}

std::optional<platform::Point> Win32Ui::cursorPos()
{
    POINT p{};
    if (!::GetCursorPos(&p))
        return std::nullopt;
    return platform::Point{p.x, p.y};
}

bool Win32Ui::keyDown(int virtualKey)
{
    return ::GetKeyState(virtualKey) < 0;
}

std::unique_ptr<platform::IIcon> Win32Ui::loadIcon(const std::string& resourceName, platform::Size size)
{
    HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), resourceName.c_str(), IMAGE_ICON, size.width,
                               size.height, 0);
    if (!icon)
        return nullptr;
    return std::make_unique<Win32Icon>(static_cast<HICON>(icon));
}

unsigned Win32Ui::trackPopupMenu(const std::vector<platform::MenuEntry>& entries, platform::Point at)
{
    if (!menuOwner_)
        menuOwner_ = newUtilityWindow("TPUtilWindow", [this](const platform::WindowMessage& m) {
            return menuOwner_->defaultProc(m);
        });
    ScopedMenu menu(::CreatePopupMenu());
    if (!menuOwner_ || !menu || !fillMenu(menu.get(), entries))
        return 0;
    // Returning the command instead of posting it lets the caller run the item
    // after the menu has gone, and keeps the choice out of the message queue.
    UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
    return static_cast<unsigned>(::TrackPopupMenu(menu.get(), flags, at.x, at.y, 0,
                                                  toHwnd(menuOwner_->handle()), nullptr));
}

platform::CursorHandle Win32Ui::loadCursor(const std::string& resourceName)
{
    return reinterpret_cast<platform::CursorHandle>(::LoadCursorA(::GetModuleHandleA(nullptr), resourceName.c_str()));
}

platform::CursorHandle Win32Ui::arrowCursor()
{
    return reinterpret_cast<platform::CursorHandle>(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

platform::CursorHandle Win32Ui::handCursor()
{
    return reinterpret_cast<platform::CursorHandle>(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
}

std::optional<std::string> Win32Ui::openFileDialog(const platform::OpenFileRequest& request)
{
    // "Description|pattern|..." becomes the system's zero-separated list.
    std::string filter = request.filter;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter.append(2, '\0');
    // The system wants the extension alone ("wav"); a pattern such as "*.wav"
    // would be appended as it stands and never name a file.
    std::string defaultExt = request.defaultExt.substr(request.defaultExt.rfind('.') + 1);

    std::string fileName = request.fileName;
    fileName.resize(std::max<std::size_t>(fileName.size() + 1, 4096), '\0');

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = fileName.data();
    ofn.nMaxFile = static_cast<DWORD>(fileName.size());
    ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | (request.hideReadOnly ? OFN_HIDEREADONLY : 0) |
                (request.pathMustExist ? OFN_PATHMUSTEXIST : 0) | (request.fileMustExist ? OFN_FILEMUSTEXIST : 0) |
                (request.enableSizing ? OFN_ENABLESIZING : 0);
    if (!::GetOpenFileNameA(&ofn))
        return std::nullopt;
    return std::string(fileName.c_str());
}

void Win32Ui::runGuarded(const std::function<void()>& call)
{
    try {
        call();
    } catch (...) {
        reportException(std::current_exception());
    }
}

LRESULT CALLBACK Win32Ui::handOverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_HANDOVER)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    reinterpret_cast<Win32Ui*>(wParam)->runGuarded(*reinterpret_cast<const std::function<void()>*>(lParam));
    return 0;
}

void Win32Ui::runOnUiThread(const std::function<void()>& call)
{
    if (::GetCurrentThreadId() == uiThread_)
        runGuarded(call);
    else
        ::SendMessageA(handOverWindow_.get(), WM_HANDOVER, reinterpret_cast<WPARAM>(this),
                       reinterpret_cast<LPARAM>(&call));
}

void Win32Ui::waitForThreadEnd(platform::IThread& thread)
{
    auto* win32 = dynamic_cast<Win32Thread*>(&thread);
    if (!win32)
        throw std::logic_error("waitForThreadEnd: not a thread of the Win32 service");
    HANDLE handle = win32->handle();
    if (::GetCurrentThreadId() != uiThread_) {
        ::WaitForSingleObject(handle, INFINITE);
        return;
    }
    // Sent messages are taken while the thread runs: a worker in the middle of a
    // hand-over finishes it. Peeking runs them and leaves posted ones queued.
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
}
