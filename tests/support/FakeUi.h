// A user-interface service without a screen: windows are records, the message
// queue is a list of tasks that the loop runs in order, message boxes are logged.
// The thread that made the FakeUi is its UI thread: calls handed over from
// worker threads wait in its queue and run whenever it runs messages or serves.
// The other fakes of the UI family run their callbacks through it.
#pragma once

#include "platform/Ui.h"
#include "platform/WindowMessages.h"
#include "support/FakeService.h"
#include "support/SoftwareCanvas.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class FakeUi;
class FakeWindowMessages;
class FakeWindowHook;

class FakeWindow final : public platform::IWindow {
public:
    // A window the system could not make (made false) has handle 0, is never
    // listed or found by its handle, and never shows.
    FakeWindow(FakeUi& ui, const platform::WindowParams& params, platform::IWindowEvents& events, bool made = true);
    ~FakeWindow() override;

    void setBounds(const platform::Rect& bounds) override { params.bounds = bounds; }
    platform::Rect bounds() const override { return params.bounds; }
    void setVisible(bool visible) override { visible_ = visible && handle_ != platform::WindowHandle{}; }
    bool visible() const override { return visible_; }
    void setCaption(const std::string& caption) override { params.caption = caption; }
    void setBackground(platform::Rgb colour) override { params.background = colour; }
    void invalidate() override {}
    platform::WindowHandle handle() const override { return handle_; }

    // ---- Painting, the mouse and the cursor ----
    void invalidateRect(const platform::Rect& rect) override { invalidated.push_back(rect); }
    void setCapture() override { captured = true; }
    // As the system does, the window hears that it lost the capture; a test
    // calls it when another window takes the capture.
    void releaseCapture() override;
    std::vector<platform::Rect> invalidated;
    bool captured = false;
    // The client area as a paint request leaves it.
    std::unique_ptr<SoftwareCanvas> paint();
    // What the system reports of the mouse; errors go to the UI's handler.
    void mouseButton(platform::MouseButton button, bool down, platform::Point at, unsigned shift = 0);
    void mouseMove(platform::Point at, unsigned shift = 0);
    void mouseLeave();
    platform::CursorHandle cursorAt(platform::Point at);

    // Delivers a message as the system would: the hooks see it first.
    void send(const platform::WindowMessage& message);
    std::size_t hookCount() const { return hooks_.size(); }
    std::vector<platform::WindowMessage> received; // what the window's own procedure got

    // What the system would report to the window; errors go to the UI's handler.
    void requestClose();
    bool queryEndSession();
    void endSession();

    platform::WindowParams params;

private:
    FakeUi& ui_;
    platform::IWindowEvents& events_;
    bool visible_ = false;
    platform::WindowHandle handle_;

    friend class FakeWindowHook;
    std::vector<FakeWindowHook*> hooks_;
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    platform::BoxIcon icon;
};

class FakeUi final : public platform::IUi, public FakeService {
public:
    std::unique_ptr<platform::IWindow> newWindow(const platform::WindowParams& params,
                                                 platform::IWindowEvents& events) override;
    void runMessageLoop() override;
    void processMessages() override;
    void quit() override;
    platform::TimerId startTimer(unsigned intervalMs, std::function<void()> tick) override;
    void stopTimer(platform::TimerId timer) override;
    platform::Size screenSize() override { return screen; }
    int pixelsPerInch() override { return perInch; }
    platform::Rgb sysColor(int index) override { return 0x010101u * static_cast<unsigned>(index); }
    void messageBox(const std::string& text, const std::string& caption, platform::BoxIcon icon) override;
    void setExceptionHandler(std::function<void(std::exception_ptr)> handler) override;

    // Runs call on the UI thread: at once there, else queued for it while the
    // calling worker waits until it has run.
    void handOver(const std::function<void()>& call);
    // Takes handed-over calls until done() holds or the time-out has passed;
    // true when done() held. UI thread only.
    bool serveUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Takes the calls handed over so far, then returns.
    void serveHandOvers();

    // ---- Cursors ----
    platform::CursorHandle loadCursor(const std::string& resourceName) override;
    platform::CursorHandle arrowCursor() override { return ArrowCursor; }
    platform::CursorHandle handCursor() override { return HandCursor; }
    static constexpr platform::CursorHandle ArrowCursor{0x10};
    static constexpr platform::CursorHandle HandCursor{0x20};
    // The program's cursor resources, by name.
    std::map<std::string, platform::CursorHandle> cursorResources{{"URLHAND", platform::CursorHandle{0x30}}};
    void setScreenCursor(platform::ScreenCursor cursor) override
    {
        record("setScreenCursor", {cursor == platform::ScreenCursor::HourGlass ? "HourGlass" : "Default"});
        screenCursor = cursor;
    }
    platform::ScreenCursor screenCursor = platform::ScreenCursor::Default;

    std::uintptr_t newHandle() { return nextHandle_ += 4; }

    // What happens, besides the queue, each time the program lets pending
    // messages run (time passing, the user acting): run first, as the system
    // would deliver it among the pending messages.
    std::function<void()> onProcessMessages;

    // Queues a message: the loop runs it in turn, as if dispatched.
    void post(std::function<void()> message);
    // Runs a callback as a dispatched message runs, reporting what escapes it.
    void deliver(const std::function<void()>& callback);

    // Lets time pass: every timer that falls due runs, in time order.
    void advanceTime(unsigned ms);
    unsigned long long now() const { return now_; }
    bool timerRunning(platform::TimerId timer) const { return timers_.count(timer) != 0; }
    std::size_t runningTimers() const { return timers_.size(); }

    // The live window of a class, or null.
    FakeWindow* window(const std::string& className) const;
    FakeWindow* windowByHandle(platform::WindowHandle handle) const;

    platform::Size screen{1024, 768};
    int perInch = 96;
    std::vector<MessageBoxRecord> boxes;
    std::vector<FakeWindow*> windows;

private:
    struct Timer {
        unsigned interval;
        unsigned long long due;
        std::function<void()> tick;
    };
    std::deque<std::function<void()>> queue_;
    std::map<platform::TimerId, Timer> timers_;
    platform::TimerId nextTimer_ = 0;
    unsigned long long now_ = 0;

    struct HandOver {
        const std::function<void()>* call;
        bool done = false;
    };

    const std::thread::id uiThread_ = std::this_thread::get_id();
    std::mutex handOverMutex_;
    std::condition_variable handOverChanged_;
    std::deque<HandOver*> handOvers_;
    bool quitPosted_ = false;
    std::function<void(std::exception_ptr)> exceptionHandler_;

    std::uintptr_t nextHandle_ = 0x1000;
};
