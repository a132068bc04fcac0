// The store worker: jobs queued run in turn on a thread of their own; a cancel
// never waits; shutdown stops them all. (Munches on it: DatabaseMunchTest.)
#include "munch/StoreWorker.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <future>

TEST(StoreWorker, QueuedJobsRunInTurnACancelNeverWaitsAndShutdownStopsThemAll)
{
    FakePlatform fakes;
    TStoreWorker worker(fakes.uiThread, fakes.threads);
    std::vector<int> ran; // written by the worker, read once it has ended
    std::thread::id ranOn;
    std::promise<void> running;
    bool lasted = false, seenAfter = false, sawShutdown = false;
    const auto first = worker.Start([&](platform::Cancellation& cancellation) {
        ran.push_back(1);
        ranOn = std::this_thread::get_id();
        // A cancel during the last step returns at once (here it would never
        // return otherwise) and is seen once the step is over.
        lasted = cancellation.RunUnlessCancelled([&] {
            cancellation.Cancel();
            return !cancellation.Cancelled();
        });
        seenAfter = cancellation.Cancelled();
    });
    const auto second = worker.Start([&](platform::Cancellation& cancellation) {
        ran.push_back(2);
        running.set_value();
        while (!cancellation.Cancelled())
            std::this_thread::yield();
        sawShutdown = true;
    });
    const auto third = worker.Start([&](platform::Cancellation&) { ran.push_back(3); });
    ASSERT_TRUE(first && second && third);
    running.get_future().wait();
    EXPECT_TRUE(worker.Busy());

    worker.Shutdown();
    EXPECT_TRUE(first->Ended() && second->Ended() && third->Ended());
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(lasted && seenAfter && sawShutdown);
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(worker.Busy());

    // No thread to be had: nothing is queued, and the next try runs.
    fakes.threads.faults.failNext("newThread");
    EXPECT_EQ(worker.Start([&](platform::Cancellation&) { ran.push_back(4); }), nullptr);
    const auto again = worker.Start([&](platform::Cancellation&) { ran.push_back(5); });
    ASSERT_NE(again, nullptr);
    worker.WaitForJob();
    EXPECT_TRUE(again->Ended());
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 5}));
}
