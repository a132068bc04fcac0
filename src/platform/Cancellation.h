// A stop for work running on another thread: set from any thread, read by the
// work as it goes. The work's last step (a commit) runs under the stop's lock
// while it is clear, so a stop comes either before that step, and nothing of
// the work lasts, or after it, and all of it does: never in between.
#pragma once

#include <atomic>
#include <mutex>

namespace platform {

class Cancellation {
public:
    // Waits while the last step runs, then no step runs any more.
    void Cancel()
    {
        std::lock_guard<std::mutex> lock(lastStep_);
        cancelled_ = true;
    }
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    // Runs step unless cancelled, and no cancel comes in while it runs.
    // False when cancelled, else what step gives.
    template <typename Step>
    bool RunUnlessCancelled(Step&& step)
    {
        std::lock_guard<std::mutex> lock(lastStep_);
        return !cancelled_ && step();
    }

private:
    std::mutex lastStep_;
    std::atomic<bool> cancelled_{false};
};

} // namespace platform
