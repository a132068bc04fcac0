// The sounds of munched cookies. A cookie munched while the player rests is
// heard at once: the crunch, and on every fifth cookie the burp that cuts it
// short. Cookies that follow within a spacing make a burst; each of their
// sounds would cut the one before short within a millisecond, so that the ear
// hears only the last. A burst is therefore heard at its start and, once a
// spacing has passed without a cookie, with what its last cookie would have
// left playing; the player is not restarted thousands of times for sounds
// nobody hears, which under Wine costs more than the munching itself.
// UI thread only. The spacing is a window timer: it runs whenever messages do.
#pragma once

#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "widgets/WaveSound.h"

#include <cstdint>
#include <optional>

class MunchSounds {
public:
    static constexpr unsigned spacingMs = 50;

    // soundsOn is read whenever a sound would start.
    MunchSounds(platform::IUi& ui, TWave& crunch, TWave& burp, const TMenuItem& soundsOn);

    // cookies were munched in a row and the counter now stands at count: heard
    // as that many cookies one after the other.
    void Munched(std::uint16_t count, std::uint64_t cookies);

private:
    void play(std::uint16_t count);
    void spacingEnded();

    TWave& crunch_;
    TWave& burp_;
    const TMenuItem& soundsOn_;
    TTimer spacing_;                     // runs while a burst may go on
    bool burstGoesOn_ = false;           // a cookie came within the current spacing
    std::optional<std::uint16_t> last_;  // the count of the burst's latest cookie not yet heard
};
