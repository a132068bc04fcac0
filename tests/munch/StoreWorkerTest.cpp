// The store worker: one job at a time on a thread of its own, cancelled and
// waited for at shutdown.
#include "munch/StoreWorker.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <future>

TEST(StoreWorker, OneJobAtATimeRunsOnItsOwnThreadAndShutdownCancelsAndWaitsForIt)
{
    FakePlatform fakes;
    TStoreWorker worker(fakes.uiThread, fakes.threads);
    std::promise<void> running;
    std::atomic<bool> sawCancel{false};
    std::thread::id ranOn;
    std::shared_ptr<TStoreJob> job = worker.Start([&](platform::Cancellation& cancellation) {
        ranOn = std::this_thread::get_id();
        running.set_value();
        while (!cancellation.Cancelled())
            std::this_thread::yield();
        sawCancel = true;
    });
    ASSERT_NE(job, nullptr);
    running.get_future().wait();
    EXPECT_TRUE(worker.Busy());
    EXPECT_EQ(worker.Start([](platform::Cancellation&) {}), nullptr);
    EXPECT_FALSE(job->Ended());

    worker.Shutdown();
    EXPECT_TRUE(job->Ended());
    EXPECT_TRUE(sawCancel);
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(worker.Busy());

    // No thread to be had: nothing starts, and the next try does.
    fakes.threads.faults.failNext("newThread");
    EXPECT_EQ(worker.Start([](platform::Cancellation&) {}), nullptr);
    bool ran = false;
    job = worker.Start([&](platform::Cancellation&) { ran = true; });
    ASSERT_NE(job, nullptr);
    worker.WaitForJob();
    EXPECT_TRUE(job->Ended() && ran);
}
