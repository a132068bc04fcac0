// The hand-over to the UI thread through the UI fake's queue: worker threads
// really block until the fake's UI thread has run their call.
#pragma once

#include "platform/Threads.h"
#include "platform/UiThread.h"
#include "support/FakeService.h"
#include "support/FakeUi.h"

class FakeUiThread final : public platform::IUiThread, public FakeService {
public:
    explicit FakeUiThread(FakeUi& ui) : ui_(ui) {}

    void runOnUiThread(const std::function<void()>& call) override { ui_.handOver(call); }

    void waitForThreadEnd(platform::IThread& thread) override
    {
        record("waitForThreadEnd");
        // The fake has no handle to wait on together with the hand-overs: it looks
        // at the thread between short waits for a hand-over.
        while (!thread.ended())
            ui_.serveUntil([&] { return thread.ended(); }, std::chrono::milliseconds(1));
    }

private:
    FakeUi& ui_;
};
