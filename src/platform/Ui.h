// The user-interface service: the message loop, top-level windows, message
// boxes and screen facts. Everything here is called on the UI thread only,
// except the hand-over of a call from a worker thread (runOnUiThread).
//
// Errors: callbacks into the program (window events) may throw; the service
// catches what escapes them and hands it to the exception handler, so nothing
// ever unwinds through the platform's own frames.
#pragma once

#include "platform/Canvas.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A system window or icon as the system names it (HWND, HICON); 0 is none.
using WindowHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;

using CursorHandle = std::uintptr_t; // HCURSOR; 0 is none

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
    virtual CursorHandle cursorAt(Point) { return 0; }
};

class IWindow;
class IThread;

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

// ---- Windows at message level, icons and popup menus (the tray icon's needs) ----

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

// An icon image loaded by the system; destroying the object frees it.
class IIcon {
public:
    virtual ~IIcon() = default;
    virtual IconHandle handle() const = 0;
};

// One entry of a popup menu to track: caption "-" is a separator; an entry
// with items opens a sub-menu. Ids are the program's, never 0.
struct MenuEntry {
    std::string caption;
    unsigned id = 0;
    bool checked = false;
    bool isDefault = false; // shown bold
    std::vector<MenuEntry> items;
};

enum class ShowCommand { Hide, Restore };

// What the file-open dialog shows and allows.
struct OpenFileRequest {
    std::string title;
    std::string fileName;    // proposed in the name box
    std::string initialDir;  // empty: the system's choice
    std::string filter;      // "Description|pattern|..." pairs; empty: none
    std::string defaultExt;  // added to a typed name without extension
    bool hideReadOnly = false;
    bool pathMustExist = false;
    bool fileMustExist = false;
    bool enableSizing = false;
};

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

    // ---- Windows at message level, icons and popup menus (the tray icon's needs) ----

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
    // The cursor shown over the program while it is busy, and back.
    virtual void setScreenCursor(ScreenCursor cursor) = 0;
    // Whether a key (a virtual-key code) is down now, as the thread's input state says.
    virtual bool keyDown(int virtualKey) = 0;
    // An icon resource of the program, at the given size; null when there is none.
    virtual std::unique_ptr<IIcon> loadIcon(const std::string& resourceName, Size size) = 0;
    // Shows a popup menu with its top-left corner at a screen point and
    // returns, once it has closed, the id of the chosen entry or 0.
    virtual unsigned trackPopupMenu(const std::vector<MenuEntry>& entries, Point at) = 0;

    // ---- Cursors ----

    // A cursor resource of the program, shared by all its users and never
    // freed; 0 when there is none.
    virtual CursorHandle loadCursor(const std::string& resourceName) = 0;
    // The system's arrow or hand cursor.
    virtual CursorHandle arrowCursor() = 0;
    virtual CursorHandle handCursor() = 0;

    // ---- Dialogs of the menu commands ----

    // The modal file-open dialog: the chosen file's full path, or nothing when cancelled.
    virtual std::optional<std::string> openFileDialog(const OpenFileRequest& request) = 0;

    // ---- Worker threads ----

    // Runs call on the UI thread and returns once it has
    // returned; the calling thread stays blocked meanwhile. The UI thread takes
    // the call whenever it retrieves or waits for messages, modal loops included.
    // What escapes the call goes to the exception handler, not back to the caller.
    // On the UI thread itself the call runs at once.
    virtual void runOnUiThread(const std::function<void()>& call) = 0;
    // Returns when the thread has ended. On the UI thread it keeps taking handed-over
    // calls while it waits, so a worker in the middle of one can finish it and end.
    virtual void waitForThreadEnd(IThread& thread) = 0;
};

} // namespace platform
