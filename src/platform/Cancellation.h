// A stop for work running on another thread: set from any thread, read by the
// work as it goes. The work's last step (a commit) is begun only while the stop
// is clear, so a stop comes either before that step, and nothing of the work
// lasts, or once it has begun, and all of it does: never in between. Nobody
// waits: a stop that comes during the last step is seen once it is over.
#pragma once

#include <atomic>
#include <mutex>

namespace platform {

class Cancellation {
public:
    // Returns at once, whatever the work is doing.
    void Cancel()
    {
        std::lock_guard<std::mutex> lock(state_);
        requested_ = true;
        if (!inLastStep_)
            cancelled_ = true;
    }
    // Whether the work is to stop now; false while its last step runs.
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    // Runs step unless cancelled; a stop that comes while it runs lets it end.
    // False when cancelled, else what step gives.
    template <typename Step>
    bool RunUnlessCancelled(Step&& step)
    {
        {
            std::lock_guard<std::mutex> lock(state_);
            if (cancelled_)
                return false;
            inLastStep_ = true;
        }
        struct Over {
            Cancellation& self;
            ~Over()
            {
                std::lock_guard<std::mutex> lock(self.state_);
                self.inLastStep_ = false;
                self.cancelled_ = self.requested_;
            }
        } over{*this};
        return step();
    }

private:
    std::mutex state_; // held only to change the state, never while a step runs
    bool requested_ = false, inLastStep_ = false;
    std::atomic<bool> cancelled_{false};
};

} // namespace platform
