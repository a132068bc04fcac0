// Win32 only. The window plumbing of the UI adapters.
#include "platform/win32/Win32Windows.h"

#include <set>

namespace {

void registerClass(const std::string& name, WNDPROC proc)
{
    static std::set<std::string> registered;
    if (registered.count(name))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = name.c_str();
    ::RegisterClassExA(&wc);
    registered.insert(name);
}

// The hook is found from the window through a property, so the replacement
// procedure can be one function for every hooked window.
constexpr const char* hookProperty = "Nomblet.WindowHook";

} // namespace

Win32WindowTarget::~Win32WindowTarget()
{
    // No message may reach a half-destroyed owner.
    if (hwnd())
        ::SetWindowLongPtrA(hwnd(), GWLP_USERDATA, 0);
}

bool Win32WindowTarget::create(const Win32WindowRequest& request)
{
    registerClass(request.className, &Win32WindowTarget::dispatch);
    const platform::Rect& b = request.bounds;
    // The object is reachable from the window before CreateWindowExA returns:
    // the first messages arrive during the call.
    window_.reset(::CreateWindowExA(request.exStyle, request.className.c_str(), request.caption.c_str(), request.style, b.left,
                                    b.top, b.width, b.height, request.parent, nullptr, ::GetModuleHandleA(nullptr),
                                    static_cast<Win32WindowTarget*>(this)));
    return static_cast<bool>(window_);
}

LRESULT Win32WindowTarget::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32WindowTarget::dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* target = reinterpret_cast<Win32WindowTarget*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!target)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    target->callbacks_.guard([&] { result = target->handleMessage(hwnd, message, wParam, lParam); });
    return result;
}

Win32WindowHook::Win32WindowHook(Win32Callbacks& callbacks, HWND hwnd, platform::MessageObserver observer)
    : callbacks_(callbacks), hwnd_(hwnd), observer_(std::move(observer))
{
    ::SetPropA(hwnd_, hookProperty, this);
    saved_ = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd_, GWLP_WNDPROC));
    ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowHook::hookProc));
}

Win32WindowHook::~Win32WindowHook()
{
    if (!hwnd_)
        return; // the window went first
    ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
    ::RemovePropA(hwnd_, hookProperty);
}

bool Win32WindowHook::hooked(HWND hwnd)
{
    return ::GetPropA(hwnd, hookProperty) != nullptr;
}

LRESULT CALLBACK Win32WindowHook::hookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* hook = static_cast<Win32WindowHook*>(::GetPropA(hwnd, hookProperty));
    if (!hook)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    hook->callbacks_.guard([&] { hook->observer_({message, wParam, lParam}); });
    WNDPROC saved = hook->saved_;
    if (message == WM_NCDESTROY) {
        // The handle may name another window later: forget it now.
        ::RemovePropA(hwnd, hookProperty);
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
        hook->hwnd_ = nullptr;
    }
    return ::CallWindowProcA(saved, hwnd, message, wParam, lParam);
}
