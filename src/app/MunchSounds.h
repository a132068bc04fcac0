// The sounds of munched cookies, paced for bursts. A cookie munched while the
// player rests is heard at once: the crunch, and on every fifth cookie the burp
// that cuts it short. While cookies follow one another faster than that, one
// sound at most starts per spacing: the one the latest cookie would have left
// playing. A burst thus ends with what its last cookie would have left playing,
// and the player is not restarted thousands of times for sounds nobody hears.
// UI thread only. The spacing is a window timer: it runs whenever messages do.
#pragma once

#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "widgets/WaveSound.h"

#include <cstdint>

class MunchSounds {
public:
    static constexpr unsigned spacingMs = 50; // at most about 20 sounds a second

    // soundsOn is read whenever a sound would start.
    MunchSounds(platform::IUi& ui, TWave& crunch, TWave& burp, const TMenuItem& soundsOn);

    // A cookie was munched and the counter now stands at count.
    void Munched(std::uint16_t count);

private:
    void spacingEnded();

    TWave& crunch_;
    TWave& burp_;
    const TMenuItem& soundsOn_;
    TTimer spacing_; // runs while the last sound's spacing lasts
    TWave* pending_ = nullptr; // what the latest cookie within the spacing would have left playing
};
