// The site rule, the names a site may have, the recent sites and a cookie file's records.
#include "sites/KeepSites.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

TEST(KeepSites, KeepsAHostEqualToASiteOrBelowIt)
{
    const std::string huge(100000, 'a');
    const std::pair<std::string, bool> cases[] = {
        {"example.com", true},       {".example.com", true},      {"www.example.com", true},
        {".MAIL.Example.COM", true}, {"..example.com", true},     {"\x01\x02.example.com", true},
        {huge + ".example.com", true}, {"x.bank.org", true},      {"badexample.com", false},
        {"example.com.evil.net", false}, {"example.co", false},   {"com", false},
        {"", false},                 {"bank.org.", true},         {huge, false},
    };
    TKeepSites sites;
    ASSERT_TRUE(sites.Keep("example.com"));
    ASSERT_TRUE(sites.Keep("Bank.ORG"));
    for (const auto& [host, kept] : cases)
        EXPECT_EQ(sites.Keeps(host), kept) << host.substr(0, 40);
}

TEST(KeepSites, NamesASiteOnlyByAHostName)
{
    const std::string labels = std::string(63, 'a') + "." + std::string(63, 'b') + "." + std::string(63, 'c') + ".";
    const std::pair<std::string, bool> cases[] = {
        {"Example.COM", true}, {"localhost", true}, {"127.0.0.1", true}, {"my-site.example", true},
        {std::string(63, 'a') + ".com", true}, {std::string(64, 'a') + ".com", false},
        {labels + std::string(61, 'd'), true}, {labels + std::string(62, 'd'), false}, // 253 characters at most
        {"", false}, {".example.com", false}, {"example.com.", false}, {"example..com", false},
        {"exa mple.com", false}, {"example.com/path", false}, {std::string("exam\0ple.com", 12), false},
        {"b\xc3\xa4" "ckerei.de", false}, {"a_b.example.com", false}, {"[::1]", false},
    };
    for (const auto& [text, name] : cases)
        EXPECT_EQ(IsSiteName(text), name) << text;
}

TEST(KeepSites, NamesASiteHoweverItIsWrittenButNeverByAPublicSuffix)
{
    const std::pair<std::u16string, std::string> cases[] = {
        {u".example.com", "example.com"}, {u"example.com.", "example.com"}, {u".Example.COM.", "example.com"},
        {u"..example.com", ""}, {u"example.com..", ""}, {u".", ""},
        {u"b\u00FCcher.example", "xn--bcher-kva.example"}, {u"B\u00DCCHER.Example", "xn--bcher-kva.example"},
        {u"xn--bcher-kva.example", "xn--bcher-kva.example"},
        {u"\u041F\u0440\u0438\u043C\u0435\u0440.\u0438\u0441\u043F\u044B\u0442\u0430\u043D\u0438\u0435",
         "xn--e1afmkfd.xn--80akhbyknj4f"},
        {u"\u4F8B\u5B50.\u6D4B\u8BD5", "xn--fsqu00a.xn--0zwm56d"},
        {u"b\u00A0cher.example", ""}, {u"\u0130stanbul.example", "xn--istanbul-o0e.example"},
        {u"b\u00FCcher_.example", ""},
        {std::u16string(64, u'\u00FC') + u".example", ""},
        {u"com", ""}, {u"CO.uk.", ""}, {u".blogspot.com", ""}, {u"\u0440\u0444", ""}, {u"foo.ck", ""},
        {u"example.co.uk", "example.co.uk"}, {u"me.blogspot.com", "me.blogspot.com"}, {u"www.ck", "www.ck"},
        {u"localhost", "localhost"}, {u"127.0.0.1", "127.0.0.1"},
        // Normalised to NFC after mapping, as Python's idna (UTS 46, non-transitional) encodes them: a
        // letter and its combining mark, marks in either order, a composed letter and a further mark,
        // Hangul jamo, an Angstrom sign and a Devanagari nukta form, each as its composed letters.
        {u"cafe\u0301.example", "xn--caf-dma.example"}, {u"CAFE\u0301.example", "xn--caf-dma.example"},
        {u"man\u0303ana.example", "xn--maana-pta.example"}, {u"a\u0301\u0323.example", "xn--lsa752l.example"},
        {u"a\u0323\u0301.example", "xn--lsa752l.example"}, {u"\u00E9\u0323.example", "xn--lsa503l.example"},
        {u"\u1100\u1161\u11A8.example", "xn--p39a.example"}, {u"\u1100\u1161.example", "xn--o39a.example"},
        {u"\u1112\u1161\u11AB\u1100\u1173\u11AF.example", "xn--bj0bj06e.example"},
        {u"\u212B.example", "xn--5ca.example"}, {u"\u0915\u093C.example", "xn--11b2f.example"},
        // Past U+FFFF, in surrogate pairs: mathematical letters mapped to ASCII, an ideograph of CJK
        // Extension B, a compatibility ideograph mapped to its unified one, a variation selector dropped.
        {u"\U0001D400\U0001D401.example", "ab.example"},
        {u"\U0001D41E\U0001D431\U0001D41A\U0001D426\U0001D429\U0001D425\U0001D41E.com", "example.com"},
        {u"\U00020000.example", "xn--j50i.example"}, {u"\U0002F800.example", "xn--viq.example"},
        {u"a\U000E0100b.example", "ab.example"},
        // An emoji is valid as browsers take it (Python's idna refuses it by IDNA2008's own classes); an
        // unassigned or a tag character is disallowed; an unpaired surrogate is no character.
        {u"\U0001F4A9.la", "xn--ls8h.la"}, {std::u16string{u'b', 0xD83D, 0xDE00} + u".example", "xn--b-jv3s.example"},
        {u"\U0001D455.example", ""}, {u"\U000E0001.example", ""},
        {std::u16string{u'a', 0xD835} + u".example", ""}, {std::u16string{0xDC00, u'a'} + u".example", ""},
        {std::u16string{u'a', 0xDC00, 0xD835} + u".example", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(SiteOfName(cases[i].first), cases[i].second) << "case " << i;
}

TEST(KeepSites, AKeyKeepsItsSiteAndAnAddressExactly)
{
    // A key as written, a host or an origin ("host^top-level host"), and whether it is kept.
    const std::tuple<std::u16string, std::string, bool> cases[] = {
        {u"www.example.com", "example.com", true}, {u"www.example.com", ".mail.example.com", true},
        {u"www.example.com", "badexample.com", false}, {u"Mail.Example.co.uk", "example.co.uk", true},
        {u"192.168.1.1", "192.168.1.1", true}, {u"1.1", "10.1.1.1", false},
        {u"1", "192.168.1.1", false}, {u"10.0.1", "10.0.1", false}, {u"01.2.3.4", "1.2.3.4", false},
        {u"256.1.1.1", "256.1.1.1", false}, {u"example.1", "example.1", false},
        // Mapped as browsers map them: "ij", "l" and a middle dot, Thai nikhahit and sara aa, full-width
        // Latin and its full stop, sharp s kept, a soft hyphen dropped, an ideographic full stop; a line
        // separator is disallowed.
        {u"\u0133ssel.example", "ijssel.example", true}, {u"e\u0140la.example", "xn--ella-6ha.example", true},
        {u"\u0E17\u0E33.example", "xn--o3c8c0d.example", true},
        {u"\uFF25\uFF58\uFF41\uFF4D\uFF50\uFF4C\uFF45\uFF0E\uFF43\uFF4F\uFF4D", "www.example.com", true},
        {u"fa\u00DF.de", "xn--fa-hia.de", true}, {u"fa\u00DF.de", "fass.de", false},
        {u"a\u00ADb\u3002example", "ab.example", true}, {u"a\u2028b.example", "ab.example", false},
        // Partitioned data by its top-level site.
        {u"mail.example.com", "tracker.example^example.com", true},
        {u"example.com", "cdn.example^www.example.com", true},
        {u"mail.example.com", "tracker.example^other.example", false},
        {u"mail.example.com", "example.com^other.example", true},
    };
    for (const auto& [key, host, kept] : cases) {
        TKeepSites sites;
        const std::string site = SiteOfName(key);
        EXPECT_EQ(sites.Keep(site), !site.empty());
        const std::size_t caret = host.find('^');
        const std::string topLevel = caret == std::string::npos ? "" : host.substr(caret + 1);
        const TSiteOrigin origin{"https", host.substr(0, caret), 0, topLevel};
        EXPECT_EQ(sites.KeepsOrigin(origin), kept) << host;
        if (caret == std::string::npos)
            EXPECT_EQ(sites.Keeps(host), kept) << host;
        // A source's entry names its site the same way, a pattern or URL as well.
        TKeepSites bySource;
        for (const std::u16string& entry : {key, u"https://" + key + u":443/", u"[*.]" + key}) {
            bySource.KeepFromSources({{entry, "policy"}});
            EXPECT_EQ(bySource.KeepsOrigin(origin), kept) << host;
        }
    }
}

TEST(KeepSites, ListsAMunchedHostByItsSite)
{
    const std::pair<std::string, std::string> cases[] = {
        {".example.com", "example.com"}, {"WWW.Example.com", "example.com"}, {".www.example.com", "example.com"},
        {"mail.example.com", "example.com"}, {"www.com", "www.com"}, {"www.", "www"}, {"wwwx.com", "wwwx.com"},
        {"exa\x07mple.com", ""}, {std::string(100000, 'a'), ""}, {".", ""},
        {"Mail.Example.co.UK.", "example.co.uk"}, {"co.uk", ""}, {"a.b.foo.ck", "b.foo.ck"}, {"10.0.0.1", "10.0.0.1"},
    };
    for (const auto& [host, site] : cases)
        EXPECT_EQ(MenuSiteOfHost(host), site) << host.substr(0, 40);
}

TEST(KeepSites, ListsTheTenMostRecentSitesNotKeptMostRecentFirst)
{
    // "+host" munched, "~site" flipped; then the recent sites, joined.
    const std::pair<const char*, const char*> steps[] = {
        {"+.a.com +www.b.com", "b.com a.com"},
        {"+A.com +bad\x01host", "a.com b.com"},
        {"~b.com +x.b.com +b.com", "a.com"},         // a kept site is not recent
        {"~b.com", "b.com a.com"},                   // unkept: offered again
        {"+1.de +2.de +3.de +4.de +5.de +6.de +7.de +8.de", "8.de 7.de 6.de 5.de 4.de 3.de 2.de 1.de b.com a.com"},
        {"~zz.org", "8.de 7.de 6.de 5.de 4.de 3.de 2.de 1.de b.com a.com"},
        {"+www.b.com +mail.2.de", "2.de b.com 8.de 7.de 6.de 5.de 4.de 3.de 1.de a.com"}, // one row a site
    };
    TKeepSites sites;
    for (const auto& [actions, expected] : steps) {
        std::istringstream in(actions);
        for (std::string action; in >> action;)
            action[0] == '+' ? sites.Munched(action.substr(1)) : void(sites.Flip(action.substr(1)));
        std::string recent;
        for (const std::string& site : sites.Recent())
            recent += (recent.empty() ? "" : " ") + site;
        EXPECT_EQ(recent, expected) << actions;
    }
    EXPECT_EQ(sites.Kept(), (std::set<std::string, std::less<>>{"zz.org"}));
    EXPECT_FALSE(sites.Flip("not a site"));
}

TEST(KeepSites, KeepsWhatTheSourcesNameBesideTheUsersOwn)
{
    TKeepSites sites;
    sites.Munched("www.policy.example");
    ASSERT_TRUE(sites.Keep("mine.example"));
    const std::uint64_t before = sites.Changes();
    sites.KeepFromSources({{u"policy.example", "policy"}, {u"mine.example", "Firefox"}, {u"com", "Chrome"},
                           {u"", "policy"}});
    EXPECT_TRUE(sites.Keeps("www.policy.example"));
    EXPECT_FALSE(sites.Keeps("other.com")); // a public suffix keeps nothing
    // A site kept by the user shows once, as the user's; a kept site is no recent one.
    EXPECT_EQ(sites.KeptBySources(), (std::map<std::string, std::string, std::less<>>{{"policy.example", "policy"}}));
    EXPECT_TRUE(sites.Recent().empty());
    EXPECT_GT(sites.Changes(), before);

    // Unticked by the user, a site a source names stays kept, by the source.
    sites.Unkeep("mine.example");
    EXPECT_TRUE(sites.Keeps("mine.example"));
    EXPECT_EQ(sites.KeptBySources().at("mine.example"), "Firefox");

    // The same list again changes nothing; a source that drops a site keeps it no more.
    const std::uint64_t unchanged = sites.Changes();
    sites.KeepFromSources({{u"policy.example", "policy"}, {u"mine.example", "Firefox"}});
    EXPECT_EQ(sites.Changes(), unchanged);
    sites.KeepFromSources({});
    EXPECT_FALSE(sites.Keeps("policy.example"));
    EXPECT_TRUE(sites.Empty());
}

TEST(KeepSites, JudgesACookieFileByItsRecordsOnlyWhenEveryRecordIsWhole)
{
    auto record = [](const std::string& hostPath, const std::string& end = "\n") {
        return "n" + end + "v" + end + hostPath + end + "1024" + end + "1" + end + "2" + end + "3" + end + "4" + end +
               "*" + end;
    };
    const std::string one = record("a.com/");
    struct Case {
        const char* name;
        std::string text;
        bool whole;
        std::vector<std::string_view> hosts; // {"?"}: not judged
    } cases[] = {
        {"two", one + record(".b.org/mail/"), true, {"a.com", ".b.org"}},
        {"CR LF", record("a.com/", "\r\n"), true, {"a.com"}},
        {"no last line break", one.substr(0, one.size() - 1), true, {"a.com"}},
        {"a blank line at the end", one + "\n", true, {"a.com"}},
        {"empty", "", true, {}},
        {"no * lines", "n\nv\na.com/\n1024\n", true, {"?"}},
        {"text after the last record", one + "n\nv\nb.com/\n", true, {"?"}},
        {"a record one line short", one.substr(2), true, {"?"}},
        {"a record one line long", "x\n" + one, true, {"?"}},
        {"a host line without a path", record("a.com"), true, {"?"}},
        {"a blank line between records", one + "\n" + one, true, {"?"}},
        {"only the start of a larger file", one, false, {"?"}},
    };
    // What cannot be judged is looked at line by line; whole records before it still name their hosts.
    const std::string brokenText = one + "n\nv\nb.com/x\n";
    const TCookieFileHosts broken = CookieFileHosts(brokenText, true);
    EXPECT_THAT(broken.records, testing::ElementsAre("a.com"));
    EXPECT_THAT(broken.named, testing::Contains("b.com"));
    for (const Case& c : cases) {
        const TCookieFileHosts found = CookieFileHosts(c.text, c.whole);
        EXPECT_EQ(found.judged ? found.records : std::vector<std::string_view>{"?"}, c.hosts) << c.name;
    }
}
