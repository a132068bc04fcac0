// System objects as the system names them (HWND, HICON, HCURSOR, HDC), one type
// for each kind so that one cannot stand for another. The value-initialised
// handle (WindowHandle{}) is none. Only the Win32 adapters and the fakes turn
// them into numbers and back.
#pragma once

#include <cstdint>

namespace platform {

enum class WindowHandle : std::uintptr_t {};
enum class IconHandle : std::uintptr_t {};
enum class CursorHandle : std::uintptr_t {};
enum class DeviceContextHandle : std::uintptr_t {};

} // namespace platform
