// The built-in sounds, from the byte arrays that the build makes of the .wav files.
#include "resources/BuiltinSounds.h"

#include <cstddef>

extern const std::uint8_t builtinBurpWave[];
extern const std::size_t builtinBurpWaveSize;
extern const std::uint8_t builtinCrunchWave[];
extern const std::size_t builtinCrunchWaveSize;

namespace {

TMemoryStream dataStream(std::span<const std::uint8_t> image)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + image.size());
    auto size = static_cast<std::uint32_t>(image.size());
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(size >> shift));
    bytes.insert(bytes.end(), image.begin(), image.end());
    return TMemoryStream(std::move(bytes));
}

} // namespace

std::span<const std::uint8_t> BuiltinBurpImage()
{
    return {builtinBurpWave, builtinBurpWaveSize};
}

std::span<const std::uint8_t> BuiltinCrunchImage()
{
    return {builtinCrunchWave, builtinCrunchWaveSize};
}

TMemoryStream BuiltinBurpData()
{
    return dataStream(BuiltinBurpImage());
}

TMemoryStream BuiltinCrunchData()
{
    return dataStream(BuiltinCrunchImage());
}
