// Message-level windows without a system.
#include "support/FakeWindowMessages.h"

#include <algorithm>

FakeWindowHook::FakeWindowHook(FakeWindow& window, platform::MessageObserver observer)
    : window_(&window), observer_(std::move(observer))
{
    window_->hooks_.push_back(this);
}

FakeWindowHook::~FakeWindowHook()
{
    if (window_)
        std::erase(window_->hooks_, this);
}

FakeUtilityWindow::FakeUtilityWindow(FakeWindowMessages& messages, std::string name, platform::WindowProc proc)
    : className(std::move(name)), messages_(messages), proc_(std::move(proc)),
      handle_(platform::WindowHandle{messages.ui_.newHandle()})
{
    messages_.utilities_[handle_] = this;
}

FakeUtilityWindow::~FakeUtilityWindow()
{
    messages_.utilities_.erase(handle_);
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

} // namespace

std::unique_ptr<platform::IUtilityWindow> FakeWindowMessages::newUtilityWindow(const std::string& className,
                                                                               platform::WindowProc proc)
{
    if (record("newUtilityWindow", {className}))
        return nullptr;
    return std::make_unique<FakeUtilityWindow>(*this, className, std::move(proc));
}

std::unique_ptr<platform::IWindowHook> FakeWindowMessages::hookWindow(platform::IWindow& window,
                                                                      platform::MessageObserver observer)
{
    if (record("hookWindow", {handleText(window.handle())}))
        return nullptr;
    FakeWindow* fake = ui_.windowByHandle(window.handle());
    if (!fake || fake->hookCount() != 0)
        return nullptr; // one hook per window, as the real service allows
    return std::make_unique<FakeWindowHook>(*fake, std::move(observer));
}

unsigned FakeWindowMessages::registerMessage(const std::string& name)
{
    if (record("registerMessage", {name}))
        return 0;
    auto [it, added] = messages_.try_emplace(name, 0xC000u + static_cast<unsigned>(messages_.size()));
    return it->second;
}

bool FakeWindowMessages::postMessage(platform::WindowHandle window, const platform::WindowMessage& m)
{
    return !record("postMessage", {handleText(window), number(m.message), number(m.wParam), std::to_string(m.lParam)});
}

void FakeWindowMessages::setForegroundWindow(platform::WindowHandle window)
{
    if (!record("setForegroundWindow", {handleText(window)}))
        foreground = window;
}

void FakeWindowMessages::showWindow(platform::WindowHandle window, platform::ShowCommand command)
{
    const bool hide = command == platform::ShowCommand::Hide;
    if (record("showWindow", {handleText(window), hide ? "Hide" : "Restore"}))
        return;
    if (FakeWindow* w = ui_.windowByHandle(window))
        w->setVisible(!hide);
}

std::optional<platform::Point> FakeWindowMessages::cursorPos()
{
    if (record("cursorPos"))
        return std::nullopt;
    return cursor;
}

bool FakeWindowMessages::keyDown(int virtualKey)
{
    return keysDown.count(virtualKey) != 0;
}

std::intptr_t FakeWindowMessages::send(platform::WindowHandle window, const platform::WindowMessage& message)
{
    if (FakeWindow* w = ui_.windowByHandle(window)) {
        w->send(message);
        return 0;
    }
    auto it = utilities_.find(window);
    if (it == utilities_.end())
        return 0;
    std::intptr_t result = 0;
    platform::WindowProc proc = it->second->proc_;
    ui_.deliver([&] { result = proc(message); });
    return result;
}

void FakeWindowMessages::broadcast(const platform::WindowMessage& message)
{
    std::vector<platform::WindowHandle> targets;
    for (const auto& utility : utilities_)
        targets.push_back(utility.first);
    for (platform::WindowHandle target : targets)
        send(target, message);
}

FakeUtilityWindow* FakeWindowMessages::utilityWindow(const std::string& className) const
{
    for (const auto& utility : utilities_)
        if (utility.second->className == className)
            return utility.second;
    return nullptr;
}
