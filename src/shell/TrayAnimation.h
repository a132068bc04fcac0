// The tray icon's animation: a timer of its own steps the icon through the
// image list, from the image shown to the next and round to the first.
#pragma once

#include "toolkit/Component.h"

#include <cstdint>

class TTimer;
class TTrayIcon;

class TTrayAnimation {
public:
    // The timer is a component of the tray icon, made stopped.
    explicit TTrayAnimation(TTrayIcon& tray);
    ~TTrayAnimation();
    TTrayAnimation(const TTrayAnimation&) = delete;
    TTrayAnimation& operator=(const TTrayAnimation&) = delete;

    TTimer& Timer() const { return *timer_; }
    bool Cycling() const { return cycling_; }
    // Starting begins at the first image.
    void SetCycling(bool cycling);
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t interval);
    // One step: the image due now is shown with what OnCycle changed, and the next one is chosen.
    void Step();
    // The index OnCycle is told: the next image, or the first after the last.
    std::int32_t NextIndex() const;

private:
    TTrayIcon& tray_;
    TTimer* timer_;
    bool cycling_ = false;
    std::uint32_t interval_ = 0;
};
