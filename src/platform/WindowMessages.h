// Windows at message level: hidden windows with a procedure of the program's,
// hooks on other windows, posted and registered messages, and the input state
// a message handler asks for. UI thread only; what escapes a procedure or an
// observer goes to the UI service's exception handler.
#pragma once

#include "platform/Geometry.h"
#include "platform/Handles.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class IWindow;

// A window message with its two parameters, as the system delivers it.
struct WindowMessage {
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// A window procedure: handles one message and gives its result.
using WindowProc = std::function<std::intptr_t(const WindowMessage&)>;
// Sees a message before the window's own procedure handles it.
using MessageObserver = std::function<void(const WindowMessage&)>;

// A hidden top-level window whose every message goes to one procedure; it
// receives broadcasts. Destroying the object destroys the window.
class IUtilityWindow {
public:
    virtual ~IUtilityWindow() = default;
    virtual WindowHandle handle() const = 0;
    // What the system does with a message the procedure leaves alone.
    virtual std::intptr_t defaultProc(const WindowMessage& message) = 0;
};

// A window's procedure replaced by one that shows each message to an
// observer first. Destroying the object puts the window's own procedure back.
class IWindowHook {
public:
    virtual ~IWindowHook() = default;
};

enum class ShowCommand { Hide, Restore };

class IWindowMessages {
public:
    virtual ~IWindowMessages() = default;

    // A hidden window of the class; null when the system has none to give.
    virtual std::unique_ptr<IUtilityWindow> newUtilityWindow(const std::string& className, WindowProc proc) = 0;
    // Hooks a window's procedure; null when it cannot be hooked (one hook per window).
    virtual std::unique_ptr<IWindowHook> hookWindow(IWindow& window, MessageObserver observer) = 0;
    // The system-wide number of a named message (the shell's broadcasts).
    virtual unsigned registerMessage(const std::string& name) = 0;
    virtual bool postMessage(WindowHandle window, const WindowMessage& message) = 0;
    virtual void setForegroundWindow(WindowHandle window) = 0;
    virtual void showWindow(WindowHandle window, ShowCommand command) = 0;
    // The mouse cursor's screen position, or nothing when the system cannot tell.
    virtual std::optional<Point> cursorPos() = 0;
    // Whether a key (a virtual-key code) is down now, as the thread's input state says.
    virtual bool keyDown(int virtualKey) = 0;
};

} // namespace platform
