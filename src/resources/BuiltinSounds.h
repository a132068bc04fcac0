// The two built-in sounds, embedded in the program: a burp (for Wave1) and a
// crunch (for Wave2), each a complete wave file image.
#pragma once

#include "toolkit/MemoryStream.h"

#include <cstdint>
#include <span>

std::span<const std::uint8_t> BuiltinBurpImage();
std::span<const std::uint8_t> BuiltinCrunchImage();

// Each as the layout carries it: the stream of a sound's "Data" property (the
// image's size as 4 little-endian bytes, then the image), positioned at its start.
TMemoryStream BuiltinBurpData();
TMemoryStream BuiltinCrunchData();
