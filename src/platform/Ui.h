// The user-interface service: the message loop, top-level windows, timers,
// message boxes and screen facts. UI thread only.
//
// Errors: callbacks into the program (window events, timer ticks, and those of
// the other UI services) may throw; the services catch what escapes them and
// hand it to the one exception handler set here, so nothing ever unwinds
// through the platform's own frames.
#pragma once

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/Handles.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace platform {

enum class MouseButton { Left, Right, Middle };
// What is held while the mouse acts: one bit each.
enum MouseShift : unsigned { ShiftKey = 1, ControlKey = 2, LeftHeld = 4, RightHeld = 8, MiddleHeld = 16 };

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

    // ---- The mouse and the cursor, for the windowless controls a window paints ----
    // Points are in the window's client pixels.
    virtual void onMouseButton(MouseButton, bool /*down*/, Point, unsigned /*shift*/) {}
    virtual void onMouseMove(Point, unsigned /*shift*/) {}
    // The pointer has left the window (reported once after each move into it).
    virtual void onMouseLeave() {}
    // The window lost the mouse capture it had taken (to another window, or released).
    virtual void onCaptureLost() {}
    // The cursor to show over a point of the window; 0 leaves the window's own.
    virtual CursorHandle cursorAt(Point) { return {}; }
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

    // ---- For the windowless controls the window paints ----
    virtual void invalidateRect(const Rect& rect) = 0;
    // Every mouse message goes to this window until the capture is released.
    virtual void setCapture() = 0;
    virtual void releaseCapture() = 0;
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
    // The screen's pixels per inch as the program is to lay itself out (96 at
    // the system's 100%).
    virtual int pixelsPerInch() = 0;
    virtual Rgb sysColor(int index) = 0;

    // A modal box with an OK button; returns when the user has closed it.
    virtual void messageBox(const std::string& text, const std::string& caption, BoxIcon icon) = 0;

    virtual void setExceptionHandler(std::function<void(std::exception_ptr)> handler) = 0;

    // ---- Cursors ----

    // A cursor resource of the program, shared by all its users and never
    // freed; 0 when there is none.
    virtual CursorHandle loadCursor(const std::string& resourceName) = 0;
    // The system's arrow or hand cursor.
    virtual CursorHandle arrowCursor() = 0;
    virtual CursorHandle handCursor() = 0;
    // The cursor shown over the program while it is busy, and back.
    virtual void setScreenCursor(ScreenCursor cursor) = 0;
};

} // namespace platform
