// The threading service for tests: real threads and events (the native ones),
// with a log of the calls made on the test's own thread, a count of the waits
// every event has done, and a priority the system can be made to report.
#pragma once

#include "platform/Threads.h"
#include "platform/posix/PosixThreads.h"
#include "support/FakeService.h"

#include <atomic>
#include <optional>

class FakeThreads final : public platform::IThreads, public FakeService {
public:
    // Operations: "newEvent", "newThread", "setPriority" (the value), "set".
    // A failing creation gives null; a failing setPriority changes nothing.
    std::unique_ptr<platform::IEvent> newEvent() override;
    std::unique_ptr<platform::IThread> newThread(std::function<void()> body) override;

    // Waits done by all events so far, and the time-out of the latest one.
    std::atomic<int> waits{0};
    std::atomic<std::uint32_t> lastTimeout{0};
    // When set, every thread reports this priority whatever it was given.
    std::optional<int> reportedPriority;
    // When set, a thread made from now on runs its body to its end on the
    // caller's thread before it is handed out, so that a test sees no two
    // threads at once (a long-lived thread made meanwhile would never return).
    bool runAtOnce = false;

    // For the fake's own events and threads.
    void logSet();
    bool logSetPriority(int priority);

private:
    PosixThreads real_;
};
