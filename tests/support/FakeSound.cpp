// The watching sound service.
#include "support/FakeSound.h"

#include <cstring>
#include <string>

void FakeSound::letGo()
{
    if (playing_ && std::memcmp(playing_, snapshot_.data(), snapshot_.size()) != 0)
        ++imagesChangedWhilePlaying;
    playing_ = nullptr;
    snapshot_.clear();
}

void FakeSound::play(const std::uint8_t* image, std::size_t size)
{
    bool fail = record("play", {std::to_string(size)});
    letGo(); // cut short
    if (fail || !image || size == 0)
        return; // silence, as for an image that cannot play
    playing_ = image;
    snapshot_.assign(image, image + size);
    played.push_back(snapshot_);
}

void FakeSound::stop()
{
    record("stop");
    letGo();
}
