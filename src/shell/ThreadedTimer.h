// A timer component whose OnTimer runs on the UI thread, timed by a worker
// thread of its own instead of a window timer, so it keeps ticking in modal loops.
//
// Threading: every property, HandleTick, OnTimer, construction and destruction
// belong to the UI thread. The worker sleeps in one wait per interval, then hands
// the tick over and stays blocked until OnTimer has returned: ticks never
// overlap or pile up, and the next interval starts when the handler ends.
// Errors: what escapes OnTimer is shown by the application's error box, and the
// timer goes on ticking. A timer must not be freed from inside its own OnTimer.
#pragma once

#include "platform/Platform.h"
#include "toolkit/Component.h"
#include "toolkit/Thread.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class TThreadedTimer;

// The worker. Parked, it sleeps until released; running, it waits one interval on
// its wake event and ticks when the wait runs out. A signal ends a wait without a tick.
class TTimerThread final : public TThread {
public:
    TTimerThread(TThreadedTimer& owner, platform::IUiThread& uiThread, platform::IThreads& threads);
    ~TTimerThread() override;

    std::uint32_t Interval() const { return interval_; }
    // Write it while the worker is parked: a running wait keeps the old time-out.
    void SetInterval(std::uint32_t interval) { interval_ = interval; }

    bool Parked() const { return parked_; }
    // A two-state switch: parking twice and releasing once leaves it running.
    void Park();
    void Release();
    // Signals the wake event: a wait under way ends at once, without a tick.
    void Wake();

protected:
    void Execute() override;

private:
    TThreadedTimer& owner_;
    std::atomic<std::uint32_t> interval_{1000};
    std::atomic<bool> parked_{true};
    std::unique_ptr<platform::IEvent> wake_;
    const std::function<void()> tick_; // built once: a tick allocates nothing
};

class TThreadedTimer : public TComponent {
public:
    TThreadedTimer(TComponent* owner, const platform::Platform& platform);
    ~TThreadedTimer() override;

    bool Enabled() const { return enabled_; }
    // True starts the ticks (the first one a full interval later) unless the
    // interval is 0; false stops them. Setting the current value changes nothing.
    void SetEnabled(bool enabled);

    std::uint32_t Interval() const { return worker_->Interval(); }
    // A different value restarts the period: the next tick comes one full new
    // interval later. 0 stops the ticks but leaves Enabled as it is.
    void SetInterval(std::uint32_t interval);

    // How promptly the worker wakes; OnTimer always runs at the UI thread's priority.
    TThreadPriority ThreadPriority() const { return worker_->Priority(); }
    void SetThreadPriority(TThreadPriority priority) { worker_->SetPriority(priority); }

    TNotifyEvent OnTimer;

    // What the worker hands to the UI thread at each tick: OnTimer, while enabled.
    void HandleTick();

private:
    std::unique_ptr<TTimerThread> worker_;
    bool enabled_ = false;
};
