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

namespace {

struct Counted : FakeService {
    bool call(const char* operation) { return !record(operation); }
};

} // namespace

TEST(FaultSequence, CountsTheCallsOfEveryFakeInOneSequenceBesideEachPlan)
{
    struct Case {
        FaultSequence::Mode mode;
        std::vector<bool> succeeded; // a, b, a, b, a
    };
    for (const Case& c : {Case{FaultSequence::Mode::Once, {true, true, false, true, true}},
                          Case{FaultSequence::Mode::FromThenOn, {true, true, false, false, false}}}) {
        FaultSequence sequence;
        Counted a, b;
        a.sequence = b.sequence = &sequence;
        sequence.failAt(3, c.mode);
        std::vector<bool> succeeded;
        for (int i = 0; i < 5; ++i)
            succeeded.push_back(i % 2 == 0 ? a.call("x") : b.call("y"));
        EXPECT_EQ(succeeded, c.succeeded);
        EXPECT_EQ(sequence.count(), 5);
        EXPECT_EQ(sequence.operations(), (std::vector<std::string>{"x", "y", "x", "y", "x"}));
    }
    FaultSequence sequence;
    Counted a;
    a.sequence = &sequence;
    a.faults.failNext("x");
    EXPECT_FALSE(a.call("x")) << "the service's own plan still applies";
    EXPECT_TRUE(a.call("x"));
}

TEST(FaultSequence, ACallOverTheLimitThrowsAndMarksTheRunAsRunaway)
{
    FaultSequence sequence;
    sequence.limit = 2;
    sequence.label = "the run";
    Counted a;
    a.sequence = &sequence;
    a.call("x");
    a.call("x");
    EXPECT_FALSE(sequence.runaway);
    EXPECT_THROW(a.call("x"), RunawayCalls);
    EXPECT_TRUE(sequence.runaway);
}
