// The site rule, the names a site may have, and the recent sites.
#include "app/KeepSites.h"

#include <gtest/gtest.h>

TEST(KeepSites, KeepsAHostEqualToASiteOrBelowIt)
{
    struct Case {
        std::string host;
        bool kept;
    } cases[] = {
        {"example.com", true},      {".example.com", true},      {"www.example.com", true},
        {"mail.example.com", true}, {".MAIL.Example.COM", true}, {"a.b.example.com", true},
        {"badexample.com", false},  {".badexample.com", false},  {"example.com.evil.net", false},
        {"example.co", false},      {"com", false},              {"", false},
        {"..example.com", true}, // the second dot stays: still below the site
        {"bank.org", true},         {"x.bank.org", true},        {"bank.org.", false},
        {std::string(100000, 'a') + ".example.com", true},
        {std::string("\x01\x02.example.com"), true}, // below the site whatever comes before
        {std::string(100000, 'a'), false},
    };
    TKeepSites sites;
    ASSERT_TRUE(sites.Keep("example.com"));
    ASSERT_TRUE(sites.Keep("Bank.ORG")); // kept lowered
    for (const Case& c : cases)
        EXPECT_EQ(sites.Keeps(c.host), c.kept) << c.host.substr(0, 40);
    EXPECT_FALSE(TKeepSites().Keeps("example.com"));
}

TEST(KeepSites, NamesASiteOnlyByAHostName)
{
    struct Case {
        std::string text;
        bool name;
    } cases[] = {
        {"example.com", true},
        {"Example.COM", true},
        {"localhost", true},
        {"127.0.0.1", true},
        {"my-site.example", true},
        {std::string(63, 'a') + ".com", true},
        {std::string(64, 'a') + ".com", false},
        {std::string(61, 'a') + "." + std::string(61, 'b') + "." + std::string(61, 'c') + "." +
             std::string(61, 'd') + ".abcde",
         true}, // 253 characters
        {std::string(61, 'a') + "." + std::string(61, 'b') + "." + std::string(61, 'c') + "." +
             std::string(61, 'd') + ".abcdef",
         false},
        {"", false},
        {".example.com", false},
        {"example.com.", false},
        {"example..com", false},
        {"exa mple.com", false},
        {"example.com/path", false},
        {std::string("exam\0ple.com", 12), false},
        {"ex\x01" "ample.com", false},
        {"b\xc3\xa4" "ckerei.de", false},
        {"a_b.example.com", false},
        {"[::1]", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSiteName(c.text), c.name) << c.text;
}

TEST(KeepSites, ListsAMunchedHostByItsSite)
{
    struct Case {
        std::string host;
        std::string site;
    } cases[] = {
        {".example.com", "example.com"},
        {"WWW.Example.com", "example.com"},
        {".www.example.com", "example.com"},
        {"mail.example.com", "mail.example.com"},
        {"www.com", "www.com"}, // never a bare top-level domain
        {"www.", ""},
        {"wwwexample.com", "wwwexample.com"},
        {"localhost", "localhost"},
        {"exa\x07mple.com", ""},
        {std::string(100000, 'a'), ""},
        {"", ""},
        {".", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuSiteOfHost(c.host), c.site) << c.host.substr(0, 40);
}

TEST(KeepSites, ListsTheTenMostRecentSitesNotKeptMostRecentFirst)
{
    using Sites = std::vector<std::string>;
    struct Step {
        const char* munched; // a host munched, or null
        const char* flipped; // a site flipped, or null
        Sites recent;        // the recent sites after the step
    } steps[] = {
        {".a.com", nullptr, {"a.com"}},
        {"www.b.com", nullptr, {"b.com", "a.com"}},
        {"A.com", nullptr, {"a.com", "b.com"}}, // once, moved to the front
        {"bad\x01host", nullptr, {"a.com", "b.com"}},
        {nullptr, "b.com", {"a.com"}},          // kept: no longer recent
        {"x.b.com", nullptr, {"x.b.com", "a.com"}},
        {"b.com", nullptr, {"x.b.com", "a.com"}}, // a kept site is not recent
        {nullptr, "b.com", {"b.com", "x.b.com", "a.com"}}, // unkept: offered again
        {"c1.com", nullptr, {"c1.com", "b.com", "x.b.com", "a.com"}},
        {"c2.com", nullptr, {"c2.com", "c1.com", "b.com", "x.b.com", "a.com"}},
        {"c3.com", nullptr, {"c3.com", "c2.com", "c1.com", "b.com", "x.b.com", "a.com"}},
        {"c4.com", nullptr, {"c4.com", "c3.com", "c2.com", "c1.com", "b.com", "x.b.com", "a.com"}},
        {"c5.com", nullptr, {"c5.com", "c4.com", "c3.com", "c2.com", "c1.com", "b.com", "x.b.com", "a.com"}},
        {"c6.com", nullptr, {"c6.com", "c5.com", "c4.com", "c3.com", "c2.com", "c1.com", "b.com", "x.b.com", "a.com"}},
        {"c7.com",
         nullptr,
         {"c7.com", "c6.com", "c5.com", "c4.com", "c3.com", "c2.com", "c1.com", "b.com", "x.b.com", "a.com"}},
        {"c8.com",
         nullptr,
         {"c8.com", "c7.com", "c6.com", "c5.com", "c4.com", "c3.com", "c2.com", "c1.com", "b.com", "x.b.com"}},
        {nullptr,
         "zz.org", // kept though never munched
         {"c8.com", "c7.com", "c6.com", "c5.com", "c4.com", "c3.com", "c2.com", "c1.com", "b.com", "x.b.com"}},
    };
    TKeepSites sites;
    for (const Step& step : steps) {
        if (step.munched)
            sites.Munched(step.munched);
        if (step.flipped)
            sites.Flip(step.flipped);
        EXPECT_EQ(sites.Recent(), step.recent) << (step.munched ? step.munched : step.flipped);
    }
    EXPECT_EQ(sites.Kept(), (std::set<std::string, std::less<>>{"zz.org"}));
    EXPECT_FALSE(sites.Flip("not a site"));
    EXPECT_EQ(sites.Kept().size(), 1u);
}
