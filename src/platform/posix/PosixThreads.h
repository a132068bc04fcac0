// Threads and auto-reset events for the native build, over the standard library.
// The native scheduler has no per-thread scale like Windows' priorities that an
// unprivileged process could raise again, so a thread keeps the value it is given.
#pragma once

#include "platform/Threads.h"

class PosixThreads final : public platform::IThreads {
public:
    std::unique_ptr<platform::IEvent> newEvent() override;
    std::unique_ptr<platform::IThread> newThread(std::function<void()> body) override;
};
