// Threads and auto-reset events for the native build.
#include "platform/posix/PosixThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

class PosixEvent final : public platform::IEvent {
public:
    void set() override
    {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        changed_.notify_one();
    }

    platform::WaitResult wait(std::uint32_t timeoutMs) override
    {
        std::unique_lock lock(mutex_);
        auto signalled = [this] { return signalled_; };
        if (timeoutMs == platform::waitForever)
            changed_.wait(lock, signalled);
        else if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), signalled))
            return platform::WaitResult::TimedOut;
        signalled_ = false;
        return platform::WaitResult::Signalled;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

class PosixThread final : public platform::IThread {
public:
    explicit PosixThread(std::function<void()> body)
        : thread_([this, body = std::move(body)] {
              body();
              ended_ = true;
          })
    {
    }
    ~PosixThread() override { thread_.join(); }

    bool setPriority(int priority) override
    {
        priority_ = priority;
        return true;
    }
    int priority() override { return priority_; }
    bool ended() override { return ended_; }
    std::uintptr_t handle() const override { return 0; } // nothing to wait on with messages

private:
    std::atomic<int> priority_{0};
    std::atomic<bool> ended_{false};
    std::thread thread_; // last: it starts once the rest is ready
};

} // namespace

std::unique_ptr<platform::IEvent> PosixThreads::newEvent()
{
    return std::make_unique<PosixEvent>();
}

std::unique_ptr<platform::IThread> PosixThreads::newThread(std::function<void()> body)
{
    return std::make_unique<PosixThread>(std::move(body));
}
