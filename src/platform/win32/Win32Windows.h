// Win32 only. The one window plumbing of the UI adapters: the catch-all that
// every callback into the program runs in, one registry of window classes,
// one window procedure that hands each message to the object behind the
// window, and the hook that puts an observer before another window's procedure.
#pragma once

#include "platform/Geometry.h"
#include "platform/Handles.h"
#include "platform/WindowMessages.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

// Where errors escaping the program's callbacks go: the exception handler the
// program set through the UI service. One per set of UI services.
class Win32Callbacks {
public:
    void setHandler(std::function<void(std::exception_ptr)> handler) { handler_ = std::move(handler); }
    void report(std::exception_ptr error)
    {
        if (handler_)
            handler_(error);
    }
    // Runs a callback; what escapes it is reported, never passed on.
    template <typename Callback>
    void guard(Callback&& callback)
    {
        try {
            callback();
        } catch (...) {
            report(std::current_exception());
        }
    }

private:
    std::function<void(std::exception_ptr)> handler_;
};

inline HWND toHwnd(platform::WindowHandle window)
{
    return toSystem<HWND>(window);
}

// What a window is made with.
struct Win32WindowRequest {
    std::string className{};
    std::string caption{};
    DWORD style = WS_POPUP;
    DWORD exStyle = 0;
    platform::Rect bounds{};
    HWND parent = nullptr; // the owner, or HWND_MESSAGE for a message-only window
};

// A window of an adapter. Its messages, from the first one sent while it is
// made, come to handleMessage inside the catch-all (an error answers 0); the
// window is destroyed with the object, and no message reaches the object
// after its own destruction has begun.
class Win32WindowTarget {
public:
    explicit Win32WindowTarget(Win32Callbacks& callbacks) : callbacks_(callbacks) {}
    virtual ~Win32WindowTarget();
    Win32WindowTarget(const Win32WindowTarget&) = delete;
    Win32WindowTarget& operator=(const Win32WindowTarget&) = delete;

    // Registers the class once per process and makes the window; false when refused.
    bool create(const Win32WindowRequest& request);
    HWND hwnd() const { return window_.get(); }

protected:
    // The system's handling unless a target says otherwise; hwnd is the
    // window, also while it is being made and hwnd() is still null.
    virtual LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Win32Callbacks& callbacks() const { return callbacks_; }

private:
    static LRESULT CALLBACK dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Win32Callbacks& callbacks_;
    ScopedWindow window_;
};

// Another window's procedure replaced by one that shows each message to an
// observer first (inside the catch-all), then passes it on. One hook per
// window; the hook lets go of a window that is destroyed before it.
class Win32WindowHook final : public platform::IWindowHook {
public:
    Win32WindowHook(Win32Callbacks& callbacks, HWND hwnd, platform::MessageObserver observer);
    ~Win32WindowHook() override;

    static bool hooked(HWND hwnd);

private:
    static LRESULT CALLBACK hookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Win32Callbacks& callbacks_;
    HWND hwnd_;
    platform::MessageObserver observer_;
    WNDPROC saved_ = nullptr;
};
