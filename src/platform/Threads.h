// The threading service: worker threads, auto-reset events with timed waits,
// and thread priorities on the Windows scale.
//
// Threading: an event may be set from any thread and waited on by one; a thread
// object is driven by the thread that created it. Nothing here throws; a failed
// creation gives null, other failures come back as results.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// A time-out that never runs out.
constexpr std::uint32_t waitForever = 0xFFFFFFFFu;

enum class WaitResult { Signalled, TimedOut };

// An auto-reset event: a wait that it ends consumes the signal; signals given
// while nobody waits collapse into one, kept for the next wait.
class IEvent {
public:
    virtual ~IEvent() = default;
    virtual void set() = 0;
    // Blocks in one kernel wait until the event is signalled or timeoutMs has passed.
    virtual WaitResult wait(std::uint32_t timeoutMs) = 0;
};

// A running thread. Its priority uses the Windows values (-15 idle, -2 lowest,
// -1 below normal, 0 normal, 1 above normal, 2 highest, 15 time critical).
// Destroying the object waits for the thread to end: end it first.
class IThread {
public:
    virtual ~IThread() = default;
    virtual bool setPriority(int priority) = 0;
    // The thread's priority, as the system reports it.
    virtual int priority() = 0;
    virtual bool ended() = 0;
    // The system's handle of the thread, to wait on; 0 where there is none.
    virtual std::uintptr_t handle() const = 0;
};

class IThreads {
public:
    virtual ~IThreads() = default;
    // Created non-signalled; null when the system refuses.
    virtual std::unique_ptr<IEvent> newEvent() = 0;
    // Starts a thread that runs body and ends when it returns; null when refused.
    virtual std::unique_ptr<IThread> newThread(std::function<void()> body) = 0;
};

} // namespace platform
