// The store worker: a thread per job, one job at a time.
#include "munch/StoreWorker.h"

#include "toolkit/Error.h"
#include "toolkit/Thread.h"

class TStoreWorker::JobThread final : public TThread {
public:
    JobThread(platform::IUiThread& uiThread, platform::IThreads& threads, Work work, std::shared_ptr<TStoreJob> job)
        : TThread(uiThread, threads), work_(std::move(work)), job_(std::move(job))
    {
    }
    ~JobThread() override { WaitFor(); }

protected:
    void Execute() override
    {
        // Nothing may unwind out of a thread: work that fails has simply ended.
        try {
            work_(job_->cancellation_);
        } catch (...) {
        }
        job_->ended_.store(true, std::memory_order_release);
    }

private:
    Work work_;
    std::shared_ptr<TStoreJob> job_;
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
    if (Busy())
        return nullptr;
    thread_.reset(); // ended: the wait inside is over at once
    auto job = std::make_shared<TStoreJob>();
    auto thread = std::make_unique<JobThread>(uiThread_, threads_, std::move(work), job);
    try {
        thread->Start();
    } catch (const Exception&) {
        return nullptr; // no thread now
    }
    thread_ = std::move(thread);
    job_ = job;
    return job;
}

bool TStoreWorker::Busy() const
{
    return job_ && !job_->Ended();
}

void TStoreWorker::WaitForJob()
{
    if (thread_)
        thread_->WaitFor();
}

void TStoreWorker::Shutdown()
{
    if (job_)
        job_->Cancel();
    WaitForJob();
}
