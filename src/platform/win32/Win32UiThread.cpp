// Win32 only. Calls handed over from worker threads, and waits for threads
// that keep taking them.
#include "platform/win32/Win32UiThread.h"

#include "platform/Threads.h"

#include <exception>

namespace {

constexpr UINT WM_HANDOVER = WM_APP + 1; // lParam: the call

// A thread that no Win32 thread service made has no handle to wait on. Its own
// small class: the standard library's error classes bring a second string type
// into the program, a tenth of its size.
struct NotAServiceThread final : std::exception {
    const char* what() const noexcept override { return "waitForThreadEnd: not a thread of the Win32 service"; }
};

} // namespace

class Win32UiThread::HandOverWindow final : public Win32WindowTarget {
public:
    explicit HandOverWindow(Win32Callbacks& callbacks) : Win32WindowTarget(callbacks)
    {
        create({.className = "NombletHandOver", .style = 0, .parent = HWND_MESSAGE});
    }

    void runGuarded(const std::function<void()>& call) { callbacks().guard(call); }

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_HANDOVER)
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        runGuarded(*reinterpret_cast<const std::function<void()>*>(lParam));
        return 0;
    }
};

Win32UiThread::Win32UiThread(Win32Callbacks& callbacks)
    : uiThread_(::GetCurrentThreadId()), window_(std::make_unique<HandOverWindow>(callbacks))
{
}

Win32UiThread::~Win32UiThread() = default;

void Win32UiThread::runOnUiThread(const std::function<void()>& call)
{
    if (::GetCurrentThreadId() == uiThread_)
        window_->runGuarded(call);
    else
        ::SendMessageA(window_->hwnd(), WM_HANDOVER, 0, reinterpret_cast<LPARAM>(&call));
}

void Win32UiThread::waitForThreadEnd(platform::IThread& thread)
{
    HANDLE handle = reinterpret_cast<HANDLE>(thread.handle());
    if (!handle)
        throw NotAServiceThread();
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
