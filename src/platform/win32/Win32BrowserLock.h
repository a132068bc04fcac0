// Win32 only. Whether a browser holds its profile's lock file (the program's
// ANSI path) open without letting it be deleted, as it does while it runs.
// Thread-safe: the store worker asks it right before a store is opened.
#pragma once

#include <string>

bool Win32BrowserLockHeld(const std::string& path);
