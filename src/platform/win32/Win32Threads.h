// Win32 only. Threads, auto-reset events and thread priorities over kernel32.
#pragma once

#include "platform/Threads.h"
#include "platform/win32/ScopedHandle.h"

class Win32Thread final : public platform::IThread {
public:
    explicit Win32Thread(std::function<void()> body);
    ~Win32Thread() override;

    bool setPriority(int priority) override;
    int priority() override;
    bool ended() override;

    // 0 when the system refused the thread.
    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(handle_.get()); }

private:
    static DWORD WINAPI run(LPVOID body);

    std::function<void()> body_;
    ScopedKernelHandle handle_;
};

class Win32Threads final : public platform::IThreads {
public:
    std::unique_ptr<platform::IEvent> newEvent() override;
    std::unique_ptr<platform::IThread> newThread(std::function<void()> body) override;
};
