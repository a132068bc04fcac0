// Win32 only. Threads, auto-reset events and thread priorities.
#include "platform/win32/Win32Threads.h"

namespace {

class Win32Event final : public platform::IEvent {
public:
    explicit Win32Event(HANDLE event) : event_(event) {}
    void set() override { ::SetEvent(event_.get()); }
    platform::WaitResult wait(std::uint32_t timeoutMs) override
    {
        return ::WaitForSingleObject(event_.get(), timeoutMs) == WAIT_TIMEOUT ? platform::WaitResult::TimedOut
                                                                              : platform::WaitResult::Signalled;
    }

private:
    ScopedKernelHandle event_;
};

} // namespace

Win32Thread::Win32Thread(std::function<void()> body) : body_(std::move(body))
{
    handle_.reset(::CreateThread(nullptr, 0, &Win32Thread::run, &body_, 0, nullptr));
}

Win32Thread::~Win32Thread()
{
    // The thread runs this object's body: it must not outlive it.
    if (handle_)
        ::WaitForSingleObject(handle_.get(), INFINITE);
}

DWORD WINAPI Win32Thread::run(LPVOID body)
{
    (*static_cast<std::function<void()>*>(body))();
    return 0;
}

bool Win32Thread::setPriority(int priority)
{
    return ::SetThreadPriority(handle_.get(), priority) != FALSE;
}

int Win32Thread::priority()
{
    return ::GetThreadPriority(handle_.get());
}

bool Win32Thread::ended()
{
    return ::WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0;
}

std::unique_ptr<platform::IEvent> Win32Threads::newEvent()
{
    HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!event)
        return nullptr;
    return std::make_unique<Win32Event>(event);
}

std::unique_ptr<platform::IThread> Win32Threads::newThread(std::function<void()> body)
{
    auto thread = std::make_unique<Win32Thread>(std::move(body));
    if (!thread->handle())
        return nullptr;
    return thread;
}
