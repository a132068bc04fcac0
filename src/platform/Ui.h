// The user-interface service: the message loop, top-level windows, timers,
// message boxes and screen facts. UI thread only.
//
// Errors: callbacks into the program (window events, timer ticks, and those of
// the other UI services) may throw; the services catch what escapes them and
// hand it to the one exception handler set here, so nothing ever unwinds
// through the platform's own frames.
#pragma once

#include "platform/Geometry.h"
#include "platform/Handles.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace platform {

using Rgb = std::uint32_t; // 0x00BBGGRR

// The surface a window paints on while it handles a paint request.
class ICanvas {
public:
    virtual ~ICanvas() = default;
    virtual void fillRect(const Rect& rect, Rgb colour) = 0;
};

// What a window reports to the program.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    // The user or the system asked the window to close; the program decides.
    virtual void onCloseRequest() = 0;
    // The session is about to end; true lets it end.
    virtual bool onQueryEndSession() = 0;
    // The session ends now: the process is ended right after this returns.
    virtual void onEndSession() = 0;
    virtual void onPaint(ICanvas& canvas) = 0;
};

class IWindow;

struct WindowParams {
    std::string className;   // how other programs find the window
    std::string caption;
    Rect bounds;
    bool borderless = false; // no title bar, no frame
    bool topmost = false;
    Rgb background = 0;
    IWindow* owner = nullptr;
};

// A top-level window; destroying the object destroys the window.
class IWindow {
public:
    virtual ~IWindow() = default;
    virtual void setBounds(const Rect& bounds) = 0;
    virtual Rect bounds() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool visible() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setBackground(Rgb colour) = 0;
    virtual void invalidate() = 0;
    virtual WindowHandle handle() const = 0;
};

enum class BoxIcon { Stop, Information, None };

enum class ScreenCursor { Default, HourGlass };

using TimerId = std::uintptr_t; // 0 is no timer

class IUi {
public:
    virtual ~IUi() = default;

    virtual std::unique_ptr<IWindow> newWindow(const WindowParams& params, IWindowEvents& events) = 0;

    // Dispatches messages until quit() has been asked for.
    virtual void runMessageLoop() = 0;
    // Dispatches every message that is pending now, then returns.
    virtual void processMessages() = 0;
    // Ends runMessageLoop once the messages before it are handled.
    virtual void quit() = 0;

    // A timer that calls tick on the UI thread every intervalMs milliseconds,
    // from the message loop; 0 when the system has none to give.
    virtual TimerId startTimer(unsigned intervalMs, std::function<void()> tick) = 0;
    virtual void stopTimer(TimerId timer) = 0;

    virtual Size screenSize() = 0;
    virtual Rgb sysColor(int index) = 0;

    // A modal box with an OK button; returns when the user has closed it.
    virtual void messageBox(const std::string& text, const std::string& caption, BoxIcon icon) = 0;

    virtual void setExceptionHandler(std::function<void(std::exception_ptr)> handler) = 0;

    // The cursor shown over the program while it is busy, and back.
    virtual void setScreenCursor(ScreenCursor cursor) = 0;
};

} // namespace platform
