// The notification-area service: one icon of the program shown by the shell,
// which reports mouse actions on it to a window as a callback message.
// UI thread only. Failures are answers (false), never errors.
#pragma once

#include "platform/Ui.h"

#include <array>
#include <cstdint>

namespace platform {

// The shell's record of an icon, field for field.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    WindowHandle hWnd = 0;           // the window the callback message goes to
    std::uint32_t uID = 0;           // tells one icon of that window from another
    std::uint32_t uFlags = 0;        // which of the fields below are meant
    std::uint32_t uCallbackMessage = 0;
    IconHandle hIcon = 0;
    std::array<char, 64> szTip{};    // zero-terminated tooltip
};

// Flags of uFlags.
inline constexpr std::uint32_t notifyMessage = 1; // NIF_MESSAGE
inline constexpr std::uint32_t notifyIcon = 2;    // NIF_ICON
inline constexpr std::uint32_t notifyTip = 4;     // NIF_TIP

class INotifyArea {
public:
    virtual ~INotifyArea() = default;
    // Whether the shell accepted the request.
    virtual bool add(const NotifyIconData& data) = 0;
    virtual bool modify(const NotifyIconData& data) = 0;
    virtual bool remove(const NotifyIconData& data) = 0;
};

} // namespace platform
