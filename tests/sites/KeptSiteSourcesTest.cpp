// The kept sites' outside sources: read at start and as the menu opens, and
// between only when a policy key tells of a change.
#include "sites/KeptSiteSources.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

class KeptSiteSourcesTest : public testing::Test {
protected:
    KeptSiteSourcesTest() { fakes.threads.runAtOnce = true; } // a reading hands over as it starts
    FakePlatform fakes;
    FakeRegistry& registry = fakes.registry;
};

TEST_F(KeptSiteSourcesTest, ReadsWhenASourceMayHaveChangedAndAnIdleTickTouchesNothingElse)
{
    const std::string list = nombletKeepSitesKey;
    registry.setString(platform::RegRoot::LocalMachine, list, "1", "policy.example");
    TKeepSites sites;
    std::vector<TSourceSite> exceptions{{u"firefox.example", "Firefox"}};
    int exceptionReads = 0;
    std::vector<std::string> changing; // what was kept as each change was announced
    TKeptSiteSources sources(
        registry, fakes.uiThread, fakes.threads, sites, [&] { return ++exceptionReads, exceptions; },
        [&] { changing.push_back(std::to_string(sites.KeptBySources().size())); });

    sources.Look(); // the menu at start: the exceptions, then the policies
    EXPECT_TRUE(sites.Keeps("www.policy.example"));
    EXPECT_EQ(sites.KeptBySources().at("firefox.example"), "Firefox");
    EXPECT_EQ(changing, std::vector<std::string>{"0"}) << "announced before the change";

    // Ticks at rest ask the watch once each, without waiting, and read nothing.
    registry.calls.clear();
    sources.Tick();
    sources.Tick();
    EXPECT_EQ(registry.calls.size(), 2u);
    EXPECT_EQ(registry.callsOf("watchChanged").size(), 2u);

    // As the menu opens the exceptions are asked again; unchanged policies are not read.
    sources.Look();
    EXPECT_TRUE(registry.callsOf("openKeyToRead").empty());
    EXPECT_EQ(exceptionReads, 2);
    EXPECT_EQ(changing.size(), 1u);

    // A policy written while the program runs is read at the next tick.
    registry.setString(platform::RegRoot::CurrentUser, list, "2", "b\xfc" "cher.example");
    registry.setValue(platform::RegRoot::CurrentUser, nombletPolicyKey, munchSiteDataPolicy, platform::regDword, {1, 0, 0, 0});
    sources.Tick();
    EXPECT_EQ(sources.MunchSiteData(), true);
    EXPECT_TRUE(sites.Keeps("xn--bcher-kva.example"));
    EXPECT_EQ(changing.size(), 2u);
}

TEST_F(KeptSiteSourcesTest, WithoutAWatchEveryLookReadsThePoliciesAndOnlyTheFirstTickDoes)
{
    registry.faults.failNext("watchKeys");
    TKeepSites sites;
    TKeptSiteSources sources(registry, fakes.uiThread, fakes.threads, sites, {}, {});
    sources.Tick();
    registry.setString(platform::RegRoot::CurrentUser, nombletKeepSitesKey, "1", "policy.example");
    registry.calls.clear();
    sources.Tick();
    EXPECT_TRUE(registry.callsOf("openKeyToRead").empty());
    sources.Look();
    EXPECT_TRUE(sites.Keeps("policy.example"));
    registry.setString(platform::RegRoot::CurrentUser, nombletKeepSitesKey, "1", "other.example");
    sources.Look();
    EXPECT_FALSE(sites.Keeps("policy.example"));
}
