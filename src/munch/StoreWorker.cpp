// The store worker: a thread that runs the queued jobs one after the other and
// ends when none is left; the next job queued starts another.
#include "munch/StoreWorker.h"

#include "toolkit/Error.h"
#include "toolkit/Thread.h"

#include <algorithm>

class TStoreWorker::JobThread final : public TThread {
public:
    JobThread(TStoreWorker& worker) : TThread(worker.uiThread_, worker.threads_), worker_(worker) {}
    ~JobThread() override { WaitFor(); }

protected:
    void Execute() override
    {
        Queued next;
        while (worker_.takeNext(next)) {
            // Nothing may unwind out of a thread: work that fails has simply ended.
            if (!next.job->cancellation_.Cancelled()) {
                try {
                    next.work(next.job->cancellation_);
                } catch (...) {
                }
            }
            next.work = nullptr; // what the work holds is let go before its end is told
            next.job->ended_.store(true, std::memory_order_release);
        }
    }

private:
    TStoreWorker& worker_;
};

TStoreWorker::TStoreWorker(platform::IUiThread& uiThread, platform::IThreads& threads)
    : uiThread_(uiThread), threads_(threads)
{
}

TStoreWorker::~TStoreWorker()
{
    Shutdown();
}

std::shared_ptr<TStoreJob> TStoreWorker::Start(Work work)
{
    auto job = std::make_shared<TStoreJob>();
    bool startThread;
    {
        std::lock_guard<std::mutex> lock(queueLock_);
        queue_.push_back({std::move(work), job});
        startThread = !running_;
        running_ = true;
    }
    if (!startThread)
        return job;
    thread_.reset(); // its queue ran dry: the wait inside is over at once
    auto thread = std::make_unique<JobThread>(*this);
    try {
        thread->Start();
    } catch (const Exception&) {
        // No thread now: nothing was taken from the queue.
        std::lock_guard<std::mutex> lock(queueLock_);
        queue_.clear();
        running_ = false;
        return nullptr;
    }
    thread_ = std::move(thread);
    return job;
}

bool TStoreWorker::takeNext(Queued& next)
{
    std::lock_guard<std::mutex> lock(queueLock_);
    current_.reset();
    if (queue_.empty()) {
        running_ = false;
        return false;
    }
    next = std::move(queue_.front());
    queue_.pop_front();
    current_ = next.job;
    return true;
}

bool TStoreWorker::Busy() const
{
    std::lock_guard<std::mutex> lock(queueLock_);
    return running_;
}

void TStoreWorker::WaitForJob()
{
    if (thread_)
        thread_->WaitFor();
}

void TStoreWorker::Shutdown()
{
    {
        std::lock_guard<std::mutex> lock(queueLock_);
        for (Queued& queued : queue_)
            queued.job->Cancel();
        if (current_)
            current_->Cancel();
    }
    WaitForJob();
}
