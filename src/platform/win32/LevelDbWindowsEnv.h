// Win32 only. Read before LevelDB's fetched Windows environment (env_win.cc), for what it takes from a port header
// of another toolkit: the system's declarations, without the macro that would rename its member DeleteFile, and
// the 64-bit constant suffix of another compiler.
#pragma once

#include <windows.h>
#undef DeleteFile

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wliteral-suffix"
constexpr long long operator""i64(unsigned long long value) { return static_cast<long long>(value); }
#pragma GCC diagnostic pop
