// The kept sites' outside sources: read at start and as the menu opens, and
// between only when a policy key tells of a change.
#include "sites/KeptSiteSources.h"

#include "support/FakeRegistry.h"

#include <gtest/gtest.h>

TEST(KeptSiteSources, ReadsWhenASourceMayHaveChangedAndAnIdleTickTouchesNothingElse)
{
    FakeRegistry registry;
    const std::string list = nombletKeepSitesKey;
    registry.setString(platform::RegRoot::LocalMachine, list, "1", "policy.example");
    TKeepSites sites;
    std::vector<TSourceSite> exceptions{{u"firefox.example", "Firefox"}};
    int exceptionReads = 0;
    std::vector<std::string> changing; // what was kept as each change was announced
    TKeptSiteSources sources(
        registry, sites, [&] { return ++exceptionReads, exceptions; },
        [&] { changing.push_back(std::to_string(sites.KeptBySources().size())); });

    EXPECT_TRUE(sources.Look()); // at start
    EXPECT_TRUE(sites.Keeps("www.policy.example"));
    EXPECT_EQ(sites.KeptBySources().at("firefox.example"), "Firefox");
    EXPECT_EQ(changing, std::vector<std::string>{"0"}) << "announced before the change";

    // Ticks at rest ask the watch once each, without waiting, and read nothing.
    registry.calls.clear();
    EXPECT_FALSE(sources.Tick());
    EXPECT_FALSE(sources.Tick());
    EXPECT_EQ(registry.calls.size(), 2u);
    EXPECT_EQ(registry.callsOf("watchChanged").size(), 2u);

    // As the menu opens the exceptions are asked again; unchanged policies are not read.
    EXPECT_FALSE(sources.Look());
    EXPECT_TRUE(registry.callsOf("openKeyToRead").empty());
    EXPECT_EQ(exceptionReads, 2);
    EXPECT_EQ(changing.size(), 1u);

    // A policy written while the program runs is read at the next tick.
    registry.setString(platform::RegRoot::CurrentUser, list, "2", "b\xfc" "cher.example");
    registry.setValue(platform::RegRoot::CurrentUser, nombletPolicyKey, munchSiteDataPolicy, platform::regDword, {1, 0, 0, 0});
    EXPECT_TRUE(sources.Tick());
    EXPECT_EQ(sources.MunchSiteData(), true);
    EXPECT_TRUE(sites.Keeps("xn--bcher-kva.example"));
    EXPECT_EQ(changing.size(), 2u);
}

TEST(KeptSiteSources, WithoutAWatchEveryLookReadsThePoliciesAndTicksReadNothing)
{
    FakeRegistry registry;
    registry.faults.failNext("watchKeys");
    TKeepSites sites;
    TKeptSiteSources sources(registry, sites, {}, {});
    registry.setString(platform::RegRoot::CurrentUser, nombletKeepSitesKey, "1", "policy.example");
    EXPECT_FALSE(sources.Tick());
    EXPECT_TRUE(registry.callsOf("openKeyToRead").empty());
    EXPECT_TRUE(sources.Look());
    EXPECT_TRUE(sites.Keeps("policy.example"));
    registry.setString(platform::RegRoot::CurrentUser, nombletKeepSitesKey, "1", "other.example");
    EXPECT_TRUE(sources.Look());
    EXPECT_FALSE(sites.Keeps("policy.example"));
}
