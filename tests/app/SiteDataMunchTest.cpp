// A Firefox and a Chromium profile's site data munched over the in-memory file
// system and stores: what goes, when, what bad input leaves, and rounds.
#include "app/SiteDataMunch.h"
#include "support/FakePlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Kind = platform::SiteStoreKind;
const TSiteProfile firefox{TSiteFamily::sfMozilla, "C:\\ff", "C:\\ff"};
const TSiteProfile chromium{TSiteFamily::sfChromium, "C:\\ud\\Default", "C:\\ud"};
const std::string origins = "C:\\ff\\storage\\default\\";

struct Rig {
    Rig()
    {
        fakes.threads.runAtOnce = true; // each job ends as it starts
        munch.OnMunched = [this](std::uint64_t count, const std::vector<std::string>& hosts) {
            EXPECT_EQ(count, hosts.size());
            heard.insert(heard.end(), hosts.begin(), hosts.end());
        };
        for (const char* name : {"https+++a.example", "https+++b.example", "https+++b.example^userContextId=1",
                                 "http+++c.example+8080", "moz-extension+++id", "not an origin"})
            files.addFile(origins + name + "\\ls\\data.sqlite", "x");
        stores.addStore(Kind::mozillaLocalStorage, "C:\\ff\\webappsstore.sqlite",
                        {{"elpmaxe.a.:https:443", "1"}, {"elpmaxe.b.:https:443", "2"}, {"", "3"}});
        stores.addStore(Kind::mozillaQuotaCache, "C:\\ff\\storage.sqlite", {});
        const std::string home = "C:\\ud\\Default\\";
        for (const char* name : {"https_a.example_0.indexeddb.leveldb", "https_b.example_0.indexeddb.blob",
                                 "chrome-extension_x_0.indexeddb.leveldb"})
            files.addFile(home + "IndexedDB\\" + name + "\\000003.log", "x");
        stores.addStore(Kind::chromiumLocalStorage, home + "Local Storage\\leveldb",
                        {{"https://a.example", "1"}, {"https://b.example", "2"}});
        stores.addStore(Kind::chromiumSessionStorage, home + "Session Storage", {{"https://c.example/", "1"}});
        stores.addStore(Kind::chromiumServiceWorker, home + "Service Worker\\Database", {{"https://a.example/", "1"}});
        files.addFile(home + "Service Worker\\CacheStorage\\h1\\index.txt", "\x1a\x15https://c.example:81/");
        stores.addStore(Kind::chromiumQuotaManager, home + "WebStorage\\QuotaManager",
                        {{"https://a.example/", "1"}, {"https://b.example/", "2"}});
        files.addFile(home + "WebStorage\\1\\IndexedDB\\x", "x");
        files.addFile(home + "WebStorage\\2\\IndexedDB\\x", "x");
    }
    bool munchBoth(int goOnFor = 1 << 30)
    {
        munch.StartCycle();
        int asked = 0;
        const auto goOn = [&] { return asked++ < goOnFor; };
        const bool ff = munch.Munch(firefox, goOn);
        return munch.Munch(chromium, goOn) || ff;
    }
    std::vector<std::string> sortedHeard()
    {
        std::sort(heard.begin(), heard.end());
        return heard;
    }
    FakePlatform fakes;
    FakeFileSystem& files = fakes.fileSystem;
    FakeSiteStores& stores = fakes.siteStores;
    TStoreWorker worker{fakes.uiThread, fakes.threads};
    TKeepSites kept;
    TSiteDataMunch munch{files, fakes.codePage, stores, worker, kept};
    std::vector<std::string> heard;
};

TEST(SiteDataMunch, OnlyTheWebSitesNotKeptLoseTheirDataAndAStoreOfThemAloneGoesWhole)
{
    const std::string home = "C:\\ud\\Default\\";
    struct Case {
        std::vector<std::string> kept;
        std::vector<std::string> gone, stay, heard;
    };
    const Case cases[] = {
        {{"a.example"},
         {origins + "https+++b.example", origins + "https+++b.example^userContextId=1", origins + "http+++c.example+8080",
          home + "IndexedDB\\https_b.example_0.indexeddb.blob", home + "Session Storage", home + "WebStorage\\2"},
         {origins + "https+++a.example", origins + "moz-extension+++id", origins + "not an origin",
          home + "IndexedDB\\https_a.example_0.indexeddb.leveldb", home + "IndexedDB\\chrome-extension_x_0.indexeddb.leveldb",
          home + "Local Storage\\leveldb", home + "Service Worker", home + "WebStorage\\1\\IndexedDB\\x"},
         {"b.example", "b.example", "c.example", "c.example"}},
        {{},
         {origins + "https+++a.example", home + "IndexedDB\\https_a.example_0.indexeddb.leveldb", home + "Local Storage",
          home + "Service Worker", home + "WebStorage"},
         {origins + "moz-extension+++id", home + "IndexedDB\\chrome-extension_x_0.indexeddb.leveldb"},
         {"a.example", "a.example", "b.example", "b.example", "c.example", "c.example"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.kept.KeepOnly(c.kept);
        EXPECT_TRUE(rig.munchBoth());
        const std::string label = c.kept.empty() ? "none kept" : c.kept.front();
        for (const std::string& path : c.gone)
            EXPECT_FALSE(rig.files.exists(path)) << label << ": " << path;
        for (const std::string& path : c.stay)
            EXPECT_TRUE(rig.files.exists(path)) << label << ": " << path;
        EXPECT_EQ(rig.sortedHeard(), c.heard) << label;
        // Per site in the stores that stay: the others' entries went, through the store.
        EXPECT_EQ(rig.stores.find("C:\\ff\\webappsstore.sqlite")->entries.size(), c.kept.size() + 1) << label;
        EXPECT_FALSE(rig.stores.find("C:\\ff\\storage.sqlite")->cacheValid) << label;
        EXPECT_EQ(rig.stores.openStores(), 0) << label;
    }
}

TEST(SiteDataMunch, NothingIsTouchedWhileTheBrowserHoldsItsLockNorLookedAtAgainUntilItLetsGo)
{
    const char* locks[] = {"C:\\ff\\parent.lock", "C:\\ud\\lockfile"};
    for (const bool held : {true, false}) {
        Rig rig;
        for (const char* lock : locks) {
            rig.files.addFile(lock); // one a crash left can be opened
            if (held)
                rig.files.lock(lock, false);
        }
        EXPECT_EQ(rig.munchBoth(), !held) << held;
        EXPECT_EQ(rig.files.exists(origins + "https+++a.example"), held) << held;
        EXPECT_EQ(rig.stores.callsOf("Open").empty(), held) << held;
        // Settled, a cycle asks for the two lock folders' times alone.
        rig.munchBoth();
        rig.files.calls.clear();
        rig.munchBoth();
        EXPECT_EQ(rig.files.calls.size(), 2u) << held;
        for (const char* lock : locks)
            rig.files.unlock(lock), rig.files.erase(lock);
        rig.munchBoth();
        EXPECT_FALSE(rig.files.exists(origins + "https+++a.example")) << held;
    }
}

TEST(SiteDataMunch, WhatCannotBeReadOrReachesElsewhereIsLeftAsItIs)
{
    struct Case {
        const char* name;
        void (*arrange)(Rig& rig);
        std::vector<std::string> stay;
    };
    const Case cases[] = {
        {"a quota cache of another shape",
         [](Rig& r) { r.stores.addStore(Kind::chromiumQuotaManager, "C:\\ff\\storage.sqlite", {}); },
         {origins + "https+++a.example", origins + "http+++c.example+8080"}},
        {"a held quota cache", [](Rig& r) { r.files.lock("C:\\ff\\storage.sqlite"); }, {origins + "https+++a.example"}},
        {"storage a link", [](Rig& r) { r.files.erase("C:\\ff\\storage"), r.files.addLink("C:\\ff\\storage", "C:\\o", platform::faDirectory); },
         {"C:\\o\\default\\https+++a.example\\x"}},
        {"a link among the origins",
         [](Rig& r) { r.files.addLink(origins + "https+++d.example", "C:\\o", platform::faDirectory); },
         {"C:\\o\\default\\https+++a.example\\x", origins + "https+++d.example"}},
        {"a held file in an origin", [](Rig& r) { r.files.lock(origins + "https+++b.example\\ls\\data.sqlite"); },
         {origins + "https+++b.example\\ls\\data.sqlite"}},
        {"damaged stores",
         [](Rig& r) {
             r.stores.addStore(Kind::chromiumQuotaManager, "C:\\ud\\Default\\Local Storage\\leveldb", {});
             r.stores.addStore(Kind::chromiumQuotaManager, "C:\\ud\\Default\\Session Storage", {});
         },
         {"C:\\ud\\Default\\Local Storage\\leveldb", "C:\\ud\\Default\\Session Storage"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.files.addFile("C:\\o\\default\\https+++a.example\\x");
        c.arrange(rig);
        rig.munchBoth();
        for (const std::string& path : c.stay)
            EXPECT_TRUE(rig.files.exists(path)) << c.name << ": " << path;
    }
}

TEST(SiteDataMunch, ACycleThatStopsLeavesTheRestForTheNextAndABrowserStartingMeanwhileKeepsIt)
{
    for (const bool browserStarts : {false, true}) {
        Rig rig;
        for (int i = 0; i < 40; ++i)
            rig.files.addFile(origins + "https+++b.example\\idb\\" + std::to_string(i));
        rig.munchBoth(0);
        EXPECT_TRUE(rig.files.exists(origins + "https+++b.example")) << browserStarts;
        rig.munch.StartCycle();
        rig.munch.Munch(firefox, [&] {
            if (browserStarts && !rig.files.exists("C:\\ff\\parent.lock"))
                rig.files.addFile("C:\\ff\\parent.lock"), rig.files.lock("C:\\ff\\parent.lock", false);
            return true;
        });
        EXPECT_EQ(rig.files.exists(origins + "https+++b.example"), browserStarts) << browserStarts;
    }
}

} // namespace
