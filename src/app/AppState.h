// The application state shared by start-up, the munch cycle and the menu
// commands. UI thread only.
#pragma once

#include "munch/CutPaths.h"

#include <cstdint>
#include <string>

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
    bool MunchSiteDataChoice = false; // the user's own, stored while a policy rules the row
};
