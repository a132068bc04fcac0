// The screenless user-interface service.
#include "support/FakeUi.h"

#include "platform/Threads.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

class FakeWindowHook final : public platform::IWindowHook {
public:
    FakeWindowHook(FakeWindow& window, platform::MessageObserver observer)
        : window_(&window), observer_(std::move(observer))
    {
        window_->hooks_.push_back(this);
    }
    ~FakeWindowHook() override
    {
        if (window_)
            std::erase(window_->hooks_, this);
    }

    FakeWindow* window_;
    platform::MessageObserver observer_;
};

class FakeIcon final : public platform::IIcon {
public:
    FakeIcon(FakeUi& ui, platform::IconHandle handle, const std::string& resource) : ui_(ui), handle_(handle)
    {
        ui_.icons_[handle] = resource;
    }
    ~FakeIcon() override { ui_.icons_.erase(handle_); }
    platform::IconHandle handle() const override { return handle_; }

private:
    FakeUi& ui_;
    platform::IconHandle handle_;
};

FakeWindow::FakeWindow(FakeUi& ui, const platform::WindowParams& p, platform::IWindowEvents& events)
    : params(p), ui_(ui), events_(events), handle_(ui.newHandle())
{
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
    platform::CursorHandle cursor = 0;
    ui_.deliver([&] { cursor = events_.cursorAt(at); });
    return cursor;
}

std::unique_ptr<platform::IWindow> FakeUi::newWindow(const platform::WindowParams& params,
                                                     platform::IWindowEvents& events)
{
    record("newWindow", {params.className});
    return std::make_unique<FakeWindow>(*this, params, events);
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
    record("messageBox", {text, caption});
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

FakeUtilityWindow::FakeUtilityWindow(FakeUi& ui, std::string name, platform::WindowProc proc)
    : className(std::move(name)), ui_(ui), proc_(std::move(proc)), handle_(ui.newHandle())
{
    ui_.utilities_[handle_] = this;
}

FakeUtilityWindow::~FakeUtilityWindow()
{
    ui_.utilities_.erase(handle_);
}

std::intptr_t FakeUtilityWindow::defaultProc(const platform::WindowMessage& message)
{
    defaulted.push_back(message);
    return 0;
}

namespace {

std::string number(std::uintmax_t value)
{
    return std::to_string(value);
}

// Finds the entry at a caption path ("Modify Sounds/Burp Sound").
const platform::MenuEntry* findEntry(const std::vector<platform::MenuEntry>& entries, std::string_view path)
{
    std::string_view head = path.substr(0, path.find('/'));
    for (const auto& entry : entries) {
        if (entry.caption != head)
            continue;
        if (head.size() == path.size())
            return &entry;
        return findEntry(entry.items, path.substr(head.size() + 1));
    }
    return nullptr;
}

} // namespace

std::unique_ptr<platform::IUtilityWindow> FakeUi::newUtilityWindow(const std::string& className,
                                                                   platform::WindowProc proc)
{
    if (record("newUtilityWindow", {className}))
        return nullptr;
    return std::make_unique<FakeUtilityWindow>(*this, className, std::move(proc));
}

std::unique_ptr<platform::IWindowHook> FakeUi::hookWindow(platform::IWindow& window,
                                                          platform::MessageObserver observer)
{
    if (record("hookWindow", {number(window.handle())}))
        return nullptr;
    auto& fake = static_cast<FakeWindow&>(window);
    if (fake.hookCount() != 0)
        return nullptr; // one hook per window, as the real service allows
    return std::make_unique<FakeWindowHook>(fake, std::move(observer));
}

unsigned FakeUi::registerMessage(const std::string& name)
{
    record("registerMessage", {name});
    auto [it, added] = messages_.try_emplace(name, 0xC000u + static_cast<unsigned>(messages_.size()));
    return it->second;
}

bool FakeUi::postMessage(platform::WindowHandle window, const platform::WindowMessage& m)
{
    return !record("postMessage", {number(window), number(m.message), number(m.wParam), std::to_string(m.lParam)});
}

void FakeUi::setForegroundWindow(platform::WindowHandle window)
{
    record("setForegroundWindow", {number(window)});
    foreground = window;
}

void FakeUi::showWindow(platform::WindowHandle window, platform::ShowCommand command)
{
    const bool hide = command == platform::ShowCommand::Hide;
    record("showWindow", {number(window), hide ? "Hide" : "Restore"});
    if (FakeWindow* w = windowByHandle(window))
        w->setVisible(!hide);
}

std::optional<platform::Point> FakeUi::cursorPos()
{
    if (record("cursorPos"))
        return std::nullopt;
    return cursor;
}

bool FakeUi::keyDown(int virtualKey)
{
    return keysDown.count(virtualKey) != 0;
}

std::unique_ptr<platform::IIcon> FakeUi::loadIcon(const std::string& resourceName, platform::Size size)
{
    if (record("loadIcon", {resourceName, number(size.width) + "x" + number(size.height)}))
        return nullptr;
    return std::make_unique<FakeIcon>(*this, newHandle(), resourceName);
}

unsigned FakeUi::trackPopupMenu(const std::vector<platform::MenuEntry>& entries, platform::Point at)
{
    if (record("trackPopupMenu", {std::to_string(at.x), std::to_string(at.y)}))
        return 0;
    lastMenu = entries;
    if (whileMenuOpen)
        whileMenuOpen();
    const platform::MenuEntry* chosen = menuChoice.empty() ? nullptr : findEntry(entries, menuChoice);
    return chosen && chosen->items.empty() && chosen->caption != "-" ? chosen->id : 0;
}

std::intptr_t FakeUi::send(platform::WindowHandle window, const platform::WindowMessage& message)
{
    if (FakeWindow* w = windowByHandle(window)) {
        w->send(message);
        return 0;
    }
    auto it = utilities_.find(window);
    if (it == utilities_.end())
        return 0;
    std::intptr_t result = 0;
    platform::WindowProc proc = it->second->proc_;
    deliver([&] { result = proc(message); });
    return result;
}

void FakeUi::broadcast(const platform::WindowMessage& message)
{
    std::vector<platform::WindowHandle> targets;
    for (const auto& utility : utilities_)
        targets.push_back(utility.first);
    for (platform::WindowHandle target : targets)
        send(target, message);
}

FakeUtilityWindow* FakeUi::utilityWindow(const std::string& className) const
{
    for (const auto& utility : utilities_)
        if (utility.second->className == className)
            return utility.second;
    return nullptr;
}

FakeWindow* FakeUi::windowByHandle(platform::WindowHandle handle) const
{
    auto it = std::find_if(windows.begin(), windows.end(), [&](FakeWindow* w) { return w->handle() == handle; });
    return it == windows.end() ? nullptr : *it;
}

std::string FakeUi::iconResource(platform::IconHandle icon) const
{
    auto it = icons_.find(icon);
    return it == icons_.end() ? "" : it->second;
}

platform::CursorHandle FakeUi::loadCursor(const std::string& resourceName)
{
    if (record("loadCursor", {resourceName}))
        return 0;
    auto it = cursorResources.find(resourceName);
    return it == cursorResources.end() ? 0 : it->second;
}

std::optional<std::string> FakeUi::openFileDialog(const platform::OpenFileRequest& request)
{
    record("openFileDialog", {request.title, request.fileName, request.initialDir});
    openFileRequests.push_back(request);
    std::optional<std::string> chosen;
    deliver([&] { chosen = onOpenFile ? onOpenFile(request) : std::nullopt; });
    return chosen;
}

void FakeUi::runOnUiThread(const std::function<void()>& call)
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

void FakeUi::waitForThreadEnd(platform::IThread& thread)
{
    record("waitForThreadEnd");
    // The fake has no handle to wait on together with the hand-overs: it looks
    // at the thread between short waits for a hand-over.
    while (!thread.ended()) {
        serveHandOvers();
        std::unique_lock lock(handOverMutex_);
        handOverChanged_.wait_for(lock, std::chrono::milliseconds(1), [this] { return !handOvers_.empty(); });
    }
}
