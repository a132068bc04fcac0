// The hand-over from worker threads to the UI thread (the thread that made
// the service), beside the threading service.
#pragma once

#include <functional>

namespace platform {

class IThread;

class IUiThread {
public:
    virtual ~IUiThread() = default;
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
