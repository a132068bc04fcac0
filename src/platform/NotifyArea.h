// The notification-area service: one icon of the program shown by the shell,
// which reports mouse actions on it to a window as a callback message.
// UI thread only. Failures are answers (false), never errors.
#pragma once

#include "platform/Handles.h"

#include <array>
#include <cstdint>

namespace platform {

// A window's one icon as the shell shows it: every field is always meant.
struct NotifyIconData {
    WindowHandle hWnd{};             // the window the callback message goes to
    std::uint32_t uCallbackMessage = 0;
    IconHandle hIcon{};
    std::array<char, 64> szTip{};    // zero-terminated tooltip
};

class INotifyArea {
public:
    virtual ~INotifyArea() = default;
    // Whether the shell accepted the request.
    virtual bool add(const NotifyIconData& data) = 0;
    virtual bool modify(const NotifyIconData& data) = 0;
    virtual bool remove(const NotifyIconData& data) = 0;
};

} // namespace platform
