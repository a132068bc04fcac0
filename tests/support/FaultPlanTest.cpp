// The fakes' fault injection: next call, n-th call, every call from now on.
#include "support/FakeService.h"

#include <gtest/gtest.h>

TEST(FaultPlan, FailsTheNextCallOnlyOfTheNamedOperation)
{
    FaultPlan plan;
    plan.failNext("write");
    EXPECT_FALSE(plan.shouldFail("read"));
    EXPECT_TRUE(plan.shouldFail("write"));
    EXPECT_FALSE(plan.shouldFail("write"));
}

TEST(FaultPlan, FailsTheNthCallCountedFromNow)
{
    FaultPlan plan;
    plan.failNth("write", 3);
    EXPECT_FALSE(plan.shouldFail("write"));
    EXPECT_FALSE(plan.shouldFail("write"));
    EXPECT_TRUE(plan.shouldFail("write"));
    EXPECT_FALSE(plan.shouldFail("write"));
}

TEST(FaultPlan, FailsEveryCallFromNowOnUntilCleared)
{
    FaultPlan plan;
    plan.failFrom("*");
    EXPECT_TRUE(plan.shouldFail("read"));
    EXPECT_TRUE(plan.shouldFail("write"));
    plan.clear();
    EXPECT_FALSE(plan.shouldFail("write"));
}

TEST(FakeService, WithLoggingOffCallsAreNotLoggedButStillFail)
{
    struct Service : FakeService {
        bool call() { return !record("call"); }
    } service;
    service.logging = false;
    service.faults.failNext("call");
    EXPECT_FALSE(service.call());
    EXPECT_TRUE(service.call());
    EXPECT_TRUE(service.calls.empty());
}
