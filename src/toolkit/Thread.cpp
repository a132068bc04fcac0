// The toolkit's worker thread.
#include "toolkit/Thread.h"

#include "toolkit/Error.h"

#include <array>

namespace {

constexpr std::array<int, 7> systemPriorities{-15, -2, -1, 0, 1, 2, 15};

} // namespace

int SystemPriority(TThreadPriority priority)
{
    return systemPriorities.at(static_cast<std::size_t>(priority));
}

TThreadPriority ThreadPriorityOf(int systemPriority)
{
    for (std::size_t i = 0; i < systemPriorities.size(); ++i)
        if (systemPriorities[i] == systemPriority)
            return static_cast<TThreadPriority>(i);
    return TThreadPriority::tpNormal;
}

TThread::TThread(platform::IUiThread& uiThread, platform::IThreads& threads) : uiThread_(uiThread), threads_(threads) {}

TThread::~TThread()
{
    WaitFor();
}

void TThread::Start()
{
    if (thread_)
        return;
    thread_ = threads_.newThread([this] { Execute(); });
    if (!thread_)
        throw Exception("Thread creation error");
    thread_->setPriority(SystemPriority(pendingPriority_));
}

TThreadPriority TThread::Priority() const
{
    return thread_ ? ThreadPriorityOf(thread_->priority()) : pendingPriority_;
}

void TThread::SetPriority(TThreadPriority priority)
{
    pendingPriority_ = priority;
    if (thread_)
        thread_->setPriority(SystemPriority(priority));
}

void TThread::WaitFor()
{
    if (thread_ && !thread_->ended())
        uiThread_.waitForThreadEnd(*thread_);
}
