// Paths read from the settings file, which may have been cut to its buffer.
#pragma once

#include <cstddef>
#include <string>

// Settings values are read into a buffer of this many bytes.
constexpr std::size_t settingsValueBuffer = 2048;

// Whether a value fills that buffer and so may have been cut: a cut store path
// can name a folder above the one meant, or another file, so the munch cycle
// passes such a store over (the file calls take paths that long).
inline bool mayBeCut(const std::string& value)
{
    return value.size() >= settingsValueBuffer - 1;
}
