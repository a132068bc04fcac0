// Win32 only. The sound service over PlaySoundA with an image in memory.
#pragma once

#include "platform/Sound.h"

class Win32Sound final : public platform::ISound {
public:
    void play(const std::uint8_t* image, std::size_t size) override;
    void stop() override;
};
