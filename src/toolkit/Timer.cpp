// The window-message timer.
#include "toolkit/Timer.h"

#include "toolkit/Error.h"

TTimer::TTimer(TComponent* owner, platform::IUi& ui) : TComponent(owner), ui_(ui) {}

TTimer::~TTimer()
{
    if (timer_)
        ui_.stopTimer(timer_);
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    updateTimer();
}

void TTimer::SetInterval(unsigned interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    updateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    updateTimer();
}

void TTimer::updateTimer()
{
    if (timer_) {
        ui_.stopTimer(timer_);
        timer_ = 0;
    }
    if (!enabled_ || interval_ == 0 || !onTimer_)
        return;
    timer_ = ui_.startTimer(interval_, [this] { fire(onTimer_, this); });
    if (!timer_)
        throw EOutOfResources("Not enough timers available");
}
