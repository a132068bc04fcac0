// Win32 only. The hand-over to the UI thread: a message sent to a hidden
// message-only window of that thread, so modal loops take it too.
#pragma once

#include "platform/UiThread.h"
#include "platform/win32/Win32Windows.h"

#include <memory>

class Win32UiThread final : public platform::IUiThread {
public:
    // The calling thread becomes the UI thread.
    explicit Win32UiThread(Win32Callbacks& callbacks);
    ~Win32UiThread() override;

    void runOnUiThread(const std::function<void()>& call) override;
    void waitForThreadEnd(platform::IThread& thread) override;

private:
    class HandOverWindow;

    DWORD uiThread_;
    std::unique_ptr<HandOverWindow> window_;
};
