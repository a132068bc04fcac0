// The store worker: one thread beside the UI thread for work on the browsers'
// stores that must not hold the UI thread, one job at a time. A cookie
// database's munch is one transaction that cannot be split; run here, it never
// keeps the tray menu waiting, and no message runs while the store is held.
//
// SQLite is built for one thread at a time (SQLITE_THREADSAFE=0): every call
// of it in the program is made by a job of this worker, never on the UI thread,
// and never by two jobs at once.
//
// Threading: the worker is made, driven and freed on the UI thread; a job's
// work runs on the worker thread and shares nothing mutable with the UI thread
// but the state its caller hands it, read by the caller only once the job has
// ended. The UI thread never waits for a job, except at shutdown.
#pragma once

#include "platform/Cancellation.h"
#include "platform/Threads.h"
#include "platform/UiThread.h"

#include <atomic>
#include <functional>
#include <memory>

class TStoreJob {
public:
    // Whether the job's work has returned; what it wrote is then the UI thread's.
    bool Ended() const { return ended_.load(std::memory_order_acquire); }
    // Stops the work soon; a commit under way finishes first (see Cancellation).
    void Cancel() { cancellation_.Cancel(); }

private:
    friend class TStoreWorker;
    platform::Cancellation cancellation_;
    std::atomic<bool> ended_{false};
};

class TStoreWorker {
public:
    // The work of a job; it looks at the cancellation as it goes.
    using Work = std::function<void(platform::Cancellation& cancellation)>;

    TStoreWorker(platform::IUiThread& uiThread, platform::IThreads& threads);
    // Cancels the job under way and waits for its end.
    ~TStoreWorker();
    TStoreWorker(const TStoreWorker&) = delete;
    TStoreWorker& operator=(const TStoreWorker&) = delete;

    // Starts work on the worker thread. Null while a job is under way, or when
    // no thread is to be had: the caller tries again later.
    std::shared_ptr<TStoreJob> Start(Work work);
    // Whether a job is under way.
    bool Busy() const;
    // Returns once the job under way has ended, taking the calls handed over to
    // the UI thread meanwhile (shutdown; tests).
    void WaitForJob();
    // Cancels the job under way and waits for its end.
    void Shutdown();

private:
    class JobThread;

    platform::IUiThread& uiThread_;
    platform::IThreads& threads_;
    std::unique_ptr<JobThread> thread_;
    std::shared_ptr<TStoreJob> job_;
};
