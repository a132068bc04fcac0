// The threading service for tests.
#include "support/FakeThreads.h"

#include <string>

namespace {

// Events are set on the test's thread (logged) and waited on by workers (counted only).
class FakeEvent final : public platform::IEvent {
public:
    FakeEvent(FakeThreads& threads, std::unique_ptr<platform::IEvent> real) : threads_(threads), real_(std::move(real)) {}
    void set() override
    {
        threads_.logSet();
        real_->set();
    }
    platform::WaitResult wait(std::uint32_t timeoutMs) override
    {
        threads_.lastTimeout = timeoutMs;
        ++threads_.waits;
        return real_->wait(timeoutMs);
    }

private:
    FakeThreads& threads_;
    std::unique_ptr<platform::IEvent> real_;
};

class FakeThread final : public platform::IThread {
public:
    FakeThread(FakeThreads& threads, std::unique_ptr<platform::IThread> real) : threads_(threads), real_(std::move(real)) {}
    bool setPriority(int priority) override
    {
        if (threads_.logSetPriority(priority))
            return false;
        return real_->setPriority(priority);
    }
    int priority() override { return threads_.reportedPriority.value_or(real_->priority()); }
    bool ended() override { return real_->ended(); }
    std::uintptr_t handle() const override { return real_->handle(); }

private:
    FakeThreads& threads_;
    std::unique_ptr<platform::IThread> real_;
};

// A thread that ran its body on its maker's thread, and has ended.
class RanThread final : public platform::IThread {
public:
    explicit RanThread(FakeThreads& threads) : threads_(threads) {}
    bool setPriority(int priority) override { return !threads_.logSetPriority(priority); }
    int priority() override { return threads_.reportedPriority.value_or(0); }
    bool ended() override { return true; }
    std::uintptr_t handle() const override { return 0; }

private:
    FakeThreads& threads_;
};

} // namespace

std::unique_ptr<platform::IEvent> FakeThreads::newEvent()
{
    if (record("newEvent"))
        return nullptr;
    return std::make_unique<FakeEvent>(*this, real_.newEvent());
}

std::unique_ptr<platform::IThread> FakeThreads::newThread(std::function<void()> body)
{
    if (record("newThread"))
        return nullptr;
    if (runAtOnce) {
        body();
        return std::make_unique<RanThread>(*this);
    }
    return std::make_unique<FakeThread>(*this, real_.newThread(std::move(body)));
}

void FakeThreads::logSet()
{
    record("set");
}

bool FakeThreads::logSetPriority(int priority)
{
    return record("setPriority", {std::to_string(priority)});
}
