// The application state shared by start-up, the munch cycle and the menu
// commands. UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
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

struct TAppState {
    std::uint16_t MunchedCount = 0;   // wraps: 65535 + 1 is 0
    std::string CrunchWaveFile;
    std::string BurpWaveFile;
    std::string OperaCookieFile;
    std::string ICQCookieFile;
    std::string IECookieDir;          // no trailing backslash from the picker or the default
    std::string CookieTxtFile;
    bool MunchActive = false;         // a copy of the Active check mark
    bool MenuOpen = false;            // the tray menu is open: munching pauses
    bool MunchBusy = false;           // a munch cycle is under way
    std::int32_t MenuOpenTicks = 0;   // ticks counted while MenuOpen is set
};
