// A user-interface service without a screen: windows are records, the message
// queue is a list of tasks that the loop runs in order, message boxes are logged.
#pragma once

#include "platform/Ui.h"
#include "support/FakeService.h"

#include <deque>
#include <map>
#include <functional>
#include <vector>

class FakeUi;

class FakeWindow final : public platform::IWindow {
public:
    FakeWindow(FakeUi& ui, const platform::WindowParams& params, platform::IWindowEvents& events);
    ~FakeWindow() override;

    void setBounds(const platform::Rect& bounds) override { params.bounds = bounds; }
    platform::Rect bounds() const override { return params.bounds; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }
    void setCaption(const std::string& caption) override { params.caption = caption; }
    void setBackground(platform::Rgb colour) override { params.background = colour; }
    void invalidate() override {}

    // What the system would report to the window; errors go to the UI's handler.
    void requestClose();
    bool queryEndSession();
    void endSession();

    platform::WindowParams params;

private:
    FakeUi& ui_;
    platform::IWindowEvents& events_;
    bool visible_ = false;
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
    platform::Rgb sysColor(int index) override { return 0x010101u * static_cast<unsigned>(index); }
    void messageBox(const std::string& text, const std::string& caption, platform::BoxIcon icon) override;
    void setExceptionHandler(std::function<void(std::exception_ptr)> handler) override;

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

    platform::Size screen{1024, 768};
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
    bool quitPosted_ = false;
    std::function<void(std::exception_ptr)> exceptionHandler_;
};
