// System objects as the system names them (HWND, HICON, HCURSOR, HDC); 0 is none.
#pragma once

#include <cstdint>

namespace platform {

using WindowHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;
using CursorHandle = std::uintptr_t;
using DeviceContextHandle = std::uintptr_t;

} // namespace platform
