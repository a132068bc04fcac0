// The screenless user-interface service.
#include "support/FakeUi.h"

#include "support/FakeWindowMessages.h"

#include <algorithm>
#include <stdexcept>

FakeWindow::FakeWindow(FakeUi& ui, const platform::WindowParams& p, platform::IWindowEvents& events, bool made)
    : params(p), ui_(ui), events_(events), handle_(made ? platform::WindowHandle{ui.newHandle()} : platform::WindowHandle{})
{
    if (made)
        ui_.windows.push_back(this);
}

FakeWindow::~FakeWindow()
{
    for (FakeWindowHook* hook : hooks_)
        hook->window_ = nullptr;
    std::erase(ui_.windows, this);
}

void FakeWindow::requestClose()
{
    ui_.deliver([this] { events_.onCloseRequest(); });
}

bool FakeWindow::queryEndSession()
{
    bool allowed = false;
    ui_.deliver([&] { allowed = events_.onQueryEndSession(); });
    return allowed;
}

void FakeWindow::endSession()
{
    ui_.deliver([this] { events_.onEndSession(); });
}

void FakeWindow::releaseCapture()
{
    if (!captured)
        return;
    captured = false;
    ui_.deliver([this] { events_.onCaptureLost(); });
}

std::unique_ptr<SoftwareCanvas> FakeWindow::paint()
{
    auto canvas = std::make_unique<SoftwareCanvas>(platform::Size{params.bounds.width, params.bounds.height}, false);
    ui_.deliver([&] { events_.onPaint(*canvas); });
    canvas->setViewport({0, 0, params.bounds.width, params.bounds.height}); // read in client pixels
    invalidated.clear();
    return canvas;
}

void FakeWindow::mouseButton(platform::MouseButton button, bool down, platform::Point at, unsigned shift)
{
    ui_.deliver([&] { events_.onMouseButton(button, down, at, shift); });
}

void FakeWindow::mouseMove(platform::Point at, unsigned shift)
{
    ui_.deliver([&] { events_.onMouseMove(at, shift); });
}

void FakeWindow::mouseLeave()
{
    ui_.deliver([&] { events_.onMouseLeave(); });
}

platform::CursorHandle FakeWindow::cursorAt(platform::Point at)
{
    platform::CursorHandle cursor{};
    ui_.deliver([&] { cursor = events_.cursorAt(at); });
    return cursor;
}

std::unique_ptr<platform::IWindow> FakeUi::newWindow(const platform::WindowParams& params,
                                                     platform::IWindowEvents& events)
{
    const bool failed = record("newWindow", {params.className});
    return std::make_unique<FakeWindow>(*this, params, events, !failed);
}

void FakeUi::runMessageLoop()
{
    record("runMessageLoop");
    // An empty queue would wait for ever on a real system; here it is a test's mistake.
    while (!quitPosted_) {
        serveHandOvers();
        if (queue_.empty())
            throw std::logic_error("message loop idle without a quit message");
        auto message = std::move(queue_.front());
        queue_.pop_front();
        deliver(message);
    }
    quitPosted_ = false;
}

void FakeUi::processMessages()
{
    record("processMessages");
    serveHandOvers();
    if (onProcessMessages)
        deliver(onProcessMessages);
    while (!queue_.empty() && !quitPosted_) {
        auto message = std::move(queue_.front());
        queue_.pop_front();
        deliver(message);
    }
}

void FakeUi::quit()
{
    record("quit");
    quitPosted_ = true;
}

platform::TimerId FakeUi::startTimer(unsigned intervalMs, std::function<void()> tick)
{
    if (record("startTimer", {std::to_string(intervalMs)}))
        return 0;
    timers_[++nextTimer_] = {intervalMs, now_ + intervalMs, std::move(tick)};
    return nextTimer_;
}

void FakeUi::stopTimer(platform::TimerId timer)
{
    record("stopTimer", {std::to_string(timer)});
    timers_.erase(timer);
}

void FakeUi::advanceTime(unsigned ms)
{
    const unsigned long long target = now_ + ms;
    for (;;) {
        auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
        if (next == timers_.end() || next->second.due > target)
            break;
        now_ = next->second.due;
        next->second.due += std::max(1u, next->second.interval);
        std::function<void()> tick = next->second.tick; // it may stop its own timer
        deliver(tick);
    }
    now_ = target;
}

void FakeUi::messageBox(const std::string& text, const std::string& caption, platform::BoxIcon icon)
{
    // A box that cannot be shown returns at once, as if closed.
    if (record("messageBox", {text, caption}))
        return;
    boxes.push_back({text, caption, icon});
}

void FakeUi::setExceptionHandler(std::function<void(std::exception_ptr)> handler)
{
    exceptionHandler_ = std::move(handler);
}

void FakeUi::post(std::function<void()> message)
{
    queue_.push_back(std::move(message));
}

void FakeUi::deliver(const std::function<void()>& callback)
{
    try {
        callback();
    } catch (...) {
        if (!exceptionHandler_)
            throw;
        exceptionHandler_(std::current_exception());
    }
}

FakeWindow* FakeUi::window(const std::string& className) const
{
    auto it = std::find_if(windows.begin(), windows.end(),
                           [&](FakeWindow* w) { return w->params.className == className; });
    return it == windows.end() ? nullptr : *it;
}

void FakeWindow::send(const platform::WindowMessage& message)
{
    ui_.deliver([&] {
        // The hook installed last sees the message first, as with replaced window procedures.
        std::vector<FakeWindowHook*> hooks(hooks_.rbegin(), hooks_.rend());
        for (FakeWindowHook* hook : hooks)
            hook->observer_(message);
        received.push_back(message);
    });
}

FakeWindow* FakeUi::windowByHandle(platform::WindowHandle handle) const
{
    auto it = std::find_if(windows.begin(), windows.end(), [&](FakeWindow* w) { return w->handle() == handle; });
    return it == windows.end() ? nullptr : *it;
}

platform::CursorHandle FakeUi::loadCursor(const std::string& resourceName)
{
    if (record("loadCursor", {resourceName}))
        return {};
    auto it = cursorResources.find(resourceName);
    return it == cursorResources.end() ? platform::CursorHandle{} : it->second;
}

void FakeUi::handOver(const std::function<void()>& call)
{
    if (std::this_thread::get_id() == uiThread_) {
        deliver(call);
        return;
    }
    HandOver handOver{&call};
    std::unique_lock lock(handOverMutex_);
    handOvers_.push_back(&handOver);
    handOverChanged_.notify_all();
    handOverChanged_.wait(lock, [&] { return handOver.done; });
}

void FakeUi::serveHandOvers()
{
    std::unique_lock lock(handOverMutex_);
    while (!handOvers_.empty()) {
        HandOver* handOver = handOvers_.front();
        handOvers_.pop_front();
        lock.unlock();
        {
            // However the call ends, its worker goes on.
            struct Finish {
                FakeUi& ui;
                HandOver& handOver;
                ~Finish()
                {
                    std::lock_guard lock(ui.handOverMutex_);
                    handOver.done = true;
                    ui.handOverChanged_.notify_all();
                }
            } finish{*this, *handOver};
            record("handOver");
            deliver(*handOver->call);
        }
        lock.lock();
    }
}

bool FakeUi::serveUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        serveHandOvers();
        if (done())
            return true;
        std::unique_lock lock(handOverMutex_);
        if (!handOverChanged_.wait_until(lock, deadline, [this] { return !handOvers_.empty(); }))
            return done();
    }
}
