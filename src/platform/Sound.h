// The sound service: plays a wave file image straight from memory. UI thread only.
// Nothing here throws, and nothing is reported: a sound that cannot play is silence.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

class ISound {
public:
    virtual ~ISound() = default;

    // Starts playing a complete wave file image (RIFF WAVE, as a .wav file holds
    // it) and returns at once; a sound still playing is cut short. The player
    // keeps reading the image after the call, so it must stay allocated and
    // unchanged until stop() or the next play().
    virtual void play(const std::uint8_t* image, std::size_t size) = 0;

    // Stops whatever is playing; afterwards no image is read any more.
    virtual void stop() = 0;
};

} // namespace platform
