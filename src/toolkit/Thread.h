// A worker thread: a run routine of its own, a terminate flag, priority access,
// a synchronous hand-over of a call to the UI thread, and a wait for its end
// that keeps taking such hand-overs.
//
// Threading: the object is created, started, waited for and freed on the UI
// thread; Execute runs on the worker, which may call Terminated and Synchronize.
#pragma once

#include "platform/Threads.h"
#include "platform/UiThread.h"

#include <atomic>
#include <functional>
#include <memory>

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The Windows thread priority a value stands for, and back; a system value
// that stands for none of them reads as tpNormal.
int SystemPriority(TThreadPriority priority);
TThreadPriority ThreadPriorityOf(int systemPriority);

class TThread {
public:
    TThread(platform::IUiThread& uiThread, platform::IThreads& threads);
    // The thread must have ended (WaitFor) before a derived object is torn down.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts the run routine, once; a derived class calls it when it is complete.
    void Start();

    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    TThreadPriority Priority() const;
    // Applied at once, or when the thread starts; the system's refusal is ignored.
    void SetPriority(TThreadPriority priority);

    // Returns when the run routine has returned (at once when it never started).
    void WaitFor();

protected:
    // The run routine, on the worker thread.
    virtual void Execute() = 0;
    // Runs method on the UI thread and returns when it has; an error escaping it
    // is shown there by the UI's exception handler and does not reach the worker.
    void Synchronize(const std::function<void()>& method) { uiThread_.runOnUiThread(method); }

private:
    platform::IUiThread& uiThread_;
    platform::IThreads& threads_;
    std::atomic<bool> terminated_{false};
    TThreadPriority pendingPriority_ = TThreadPriority::tpNormal;
    std::unique_ptr<platform::IThread> thread_;
};
