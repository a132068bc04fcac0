// Windows at message level without a system: hidden windows and hooks are
// records, messages are sent at once through the UI fake, which reports what
// escapes a procedure. Cursor, keys and the foreground window are settable.
#pragma once

#include "platform/WindowMessages.h"
#include "support/FakeService.h"
#include "support/FakeUi.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A hidden window whose messages go to the program's procedure.
class FakeUtilityWindow final : public platform::IUtilityWindow {
public:
    FakeUtilityWindow(FakeWindowMessages& messages, std::string className, platform::WindowProc proc);
    ~FakeUtilityWindow() override;
    platform::WindowHandle handle() const override { return handle_; }
    // Records the message and answers 0, as a system default would for most.
    std::intptr_t defaultProc(const platform::WindowMessage& message) override;

    const std::string className;
    std::vector<platform::WindowMessage> defaulted; // messages passed to the default procedure

private:
    friend class FakeWindowMessages;
    FakeWindowMessages& messages_;
    platform::WindowProc proc_;
    platform::WindowHandle handle_;
};

// An observer on a window's message path; it leaves the path with its window.
class FakeWindowHook final : public platform::IWindowHook {
public:
    FakeWindowHook(FakeWindow& window, platform::MessageObserver observer);
    ~FakeWindowHook() override;

    FakeWindow* window_;
    platform::MessageObserver observer_;
};

class FakeWindowMessages final : public platform::IWindowMessages, public FakeService {
public:
    explicit FakeWindowMessages(FakeUi& ui) : ui_(ui) {}

    std::unique_ptr<platform::IUtilityWindow> newUtilityWindow(const std::string& className,
                                                               platform::WindowProc proc) override;
    std::unique_ptr<platform::IWindowHook> hookWindow(platform::IWindow& window,
                                                      platform::MessageObserver observer) override;
    unsigned registerMessage(const std::string& name) override;
    bool postMessage(platform::WindowHandle window, const platform::WindowMessage& message) override;
    void setForegroundWindow(platform::WindowHandle window) override;
    void showWindow(platform::WindowHandle window, platform::ShowCommand command) override;
    std::optional<platform::Point> cursorPos() override;
    bool keyDown(int virtualKey) override;

    // Sends a message to the window with that handle (utility or not), as a
    // dispatched message runs; the procedure's result, or 0 when there is none.
    std::intptr_t send(platform::WindowHandle window, const platform::WindowMessage& message);
    // Sends a message to every utility window, as a broadcast reaches hidden top-level windows.
    void broadcast(const platform::WindowMessage& message);
    FakeUtilityWindow* utilityWindow(const std::string& className) const;

    std::optional<platform::Point> cursor = platform::Point{0, 0};
    std::set<int> keysDown;
    platform::WindowHandle foreground{};

private:
    friend class FakeUtilityWindow;
    FakeUi& ui_;
    std::map<std::string, unsigned> messages_;
    std::map<platform::WindowHandle, FakeUtilityWindow*> utilities_;
};
