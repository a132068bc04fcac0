// The store worker: one thread beside the UI thread for work on the browsers'
// stores that must not hold the UI thread. Jobs are queued and run one after
// the other, in the order queued, so that every kind of work (a cookie
// database's munch, a profile's site data, a small read) gets its turn. A
// cookie database's munch is one transaction that cannot be split; run here,
// it never keeps the tray menu waiting, and no message runs while the store is
// held.
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
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class TStoreJob {
public:
    // Whether the job is over (its work returned, or it was cancelled before
    // it ran); what it wrote is then the UI thread's.
    bool Ended() const { return ended_.load(std::memory_order_acquire); }
    // Stops the work soon, never waiting for it; a commit under way finishes
    // (see Cancellation). A job cancelled while queued never runs.
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
    // Cancels every job and waits for the one under way.
    ~TStoreWorker();
    TStoreWorker(const TStoreWorker&) = delete;
    TStoreWorker& operator=(const TStoreWorker&) = delete;

    // Queues work behind the jobs queued before it. Null only when no thread
    // is to be had: the caller tries again later.
    std::shared_ptr<TStoreJob> Start(Work work);
    // Whether a job is queued or under way.
    bool Busy() const;
    // Returns once every job queued has ended, taking the calls handed over to
    // the UI thread meanwhile (shutdown; tests).
    void WaitForJob();
    // Cancels every job, queued or under way, and waits for the end of the one under way.
    void Shutdown();

private:
    class JobThread;
    struct Queued {
        Work work;
        std::shared_ptr<TStoreJob> job;
    };
    // The next job for the worker thread, or none: the thread then ends.
    bool takeNext(Queued& next);

    platform::IUiThread& uiThread_;
    platform::IThreads& threads_;
    mutable std::mutex queueLock_;
    std::deque<Queued> queue_; // under queueLock_
    bool running_ = false;     // a thread takes from the queue; under queueLock_
    std::shared_ptr<TStoreJob> current_; // the job under way; under queueLock_
    std::unique_ptr<JobThread> thread_;
};
