// Sounds started in quick succession by a command that lets no message through
// (the cleanup commands): at most one start per spacing. A sound asked for
// within the spacing waits, replacing any that waits already, and Finish starts
// the one still waiting, so a burst ends with what its last sound would have
// left playing and the player is not restarted thousands of times for sounds
// nobody hears. UI thread only.
#pragma once

#include "widgets/WaveSound.h"

#include <chrono>
#include <functional>

class SoundPacer {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds spacing{50}; // about 20 sounds a second

    explicit SoundPacer(Clock now = std::chrono::steady_clock::now) : now_(std::move(now)) {}

    void Play(TWave& wave);
    void Finish();

    Clock& Now() { return now_; }

private:
    Clock now_;
    std::chrono::steady_clock::time_point last_{};
    bool started_ = false;
    TWave* waiting_ = nullptr;
};
