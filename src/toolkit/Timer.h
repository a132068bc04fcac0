// The window-message timer: OnTimer every Interval milliseconds on the UI
// thread while enabled. UI thread only.
#pragma once

#include "toolkit/Component.h"
#include "platform/Ui.h"

class TTimer : public TComponent {
public:
    TTimer(TComponent* owner, platform::IUi& ui);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

private:
    // Restarts the system timer to match the properties; an interval of 0, a
    // disabled timer or no handler means none runs.
    void updateTimer();

    platform::IUi& ui_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    platform::TimerId timer_ = 0;
};
