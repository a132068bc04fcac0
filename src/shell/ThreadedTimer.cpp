// The threaded timer and its worker.
#include "shell/ThreadedTimer.h"

#include "toolkit/Error.h"

TTimerThread::TTimerThread(TThreadedTimer& owner, platform::IUiThread& uiThread, platform::IThreads& threads)
    : TThread(uiThread, threads), owner_(owner), wake_(threads.newEvent()), tick_([this] { owner_.HandleTick(); })
{
    if (!wake_)
        throw Exception("Thread creation error");
    Start();
}

TTimerThread::~TTimerThread()
{
    Terminate();
    Wake();
    WaitFor();
}

void TTimerThread::Park()
{
    parked_ = true;
    // Out of a running wait at once, so a parked worker never ticks.
    Wake();
}

void TTimerThread::Release()
{
    parked_ = false;
    Wake();
}

void TTimerThread::Wake()
{
    wake_->set();
}

void TTimerThread::Execute()
{
    do {
        if (parked_) {
            wake_->wait(platform::waitForever);
        } else if (wake_->wait(interval_) == platform::WaitResult::TimedOut && !parked_) {
            Synchronize(tick_);
        }
    } while (!Terminated());
}

TThreadedTimer::TThreadedTimer(TComponent* owner, const platform::Platform& platform) : TComponent(owner)
{
    worker_ = std::make_unique<TTimerThread>(*this, platform.uiThread, platform.threads);
    worker_->SetPriority(TThreadPriority::tpNormal);
}

TThreadedTimer::~TThreadedTimer()
{
    // A tick already on its way while the owner is being torn down is dropped.
    enabled_ = false;
    worker_.reset();
}

void TThreadedTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled)
        worker_->Park();
    else if (worker_->Interval() != 0)
        worker_->Release();
}

void TThreadedTimer::SetInterval(std::uint32_t interval)
{
    if (interval == worker_->Interval())
        return;
    bool wasEnabled = enabled_;
    SetEnabled(false);
    worker_->SetInterval(interval);
    SetEnabled(wasEnabled);
}

void TThreadedTimer::HandleTick()
{
    if (enabled_)
        fire(OnTimer, this);
}
