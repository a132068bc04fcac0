// A sound service that plays nothing but watches the images it is given: a
// "playing" image is compared with what it held when it started each time the
// player would still read it (when it is cut short or stopped), so an image
// freed or changed while it plays shows up (and AddressSanitizer sees the read).
#pragma once

#include "platform/Sound.h"
#include "support/FakeService.h"

#include <cstdint>
#include <vector>

class FakeSound final : public platform::ISound, public FakeService {
public:
    void play(const std::uint8_t* image, std::size_t size) override;
    void stop() override;

    bool isPlaying() const { return playing_ != nullptr; }
    // What each successful play started with, in order.
    std::vector<std::vector<std::uint8_t>> played;
    // Times the player found its image freed or changed under it.
    int imagesChangedWhilePlaying = 0;

private:
    void letGo();

    const std::uint8_t* playing_ = nullptr;
    std::vector<std::uint8_t> snapshot_;
};
