// The tray icon's animation.
#include "shell/TrayAnimation.h"

#include "shell/TrayIcon.h"
#include "toolkit/Application.h"
#include "toolkit/ImageList.h"
#include "toolkit/Timer.h"

TTrayAnimation::TTrayAnimation(TTrayIcon& tray)
    : tray_(tray), timer_(&tray.Create<TTimer>(tray.application_.Ui()))
{
    timer_->SetEnabled(false);
    timer_->SetInterval(interval_);
    timer_->SetOnTimer([this](TObject* sender) { tray_.CycleTick(sender); });
}

TTrayAnimation::~TTrayAnimation()
{
    tray_.DestroyComponent(*timer_);
}

void TTrayAnimation::SetCycling(bool cycling)
{
    cycling_ = cycling;
    if (cycling)
        tray_.SetIconIndex(0);
    timer_->SetEnabled(cycling);
}

void TTrayAnimation::SetInterval(std::uint32_t interval)
{
    interval_ = interval;
    timer_->SetInterval(interval);
}

std::int32_t TTrayAnimation::NextIndex() const
{
    TImageList* list = tray_.IconList();
    return list && tray_.IconIndex() < list->Count() - 1 ? tray_.IconIndex() + 1 : 0;
}

void TTrayAnimation::Step()
{
    TImageList* list = tray_.IconList();
    if (!list)
        return;
    list->GetIcon(tray_.IconIndex(), *tray_.icon_);
    tray_.FireCycle();
    tray_.RefreshInTray(); // also carries what OnCycle changed
    tray_.SetIconIndex(NextIndex());
}
