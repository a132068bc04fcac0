// A Firefox and a Chromium profile's site data munched over the in-memory file
// system and stores: what goes, when, what bad input leaves, and rounds.
#include "munch/SiteDataMunch.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>

namespace {

using Kind = platform::SiteStoreKind;
const TSiteProfile firefox{TSiteFamily::sfMozilla, "C:\\ff", "C:\\ff"};
const TSiteProfile chromium{TSiteFamily::sfChromium, "C:\\ud\\Default", "C:\\ud"};

// "o:NAME" is Firefox's origin folder NAME, "c:PATH" a path in the Chromium profile.
std::string at(const std::string& place)
{
    return (place[0] == 'o' ? "C:\\ff\\storage\\default\\" : "C:\\ud\\Default\\") + place.substr(2);
}

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
            files.addFile(at(std::string("o:") + name + "\\ls\\data.sqlite"));
        stores.addStore(Kind::mozillaLocalStorage, "C:\\ff\\webappsstore.sqlite",
                        {{"elpmaxe.a.:https:443", "1"}, {"elpmaxe.b.:https:443", "2"}, {"", "3"}});
        stores.addStore(Kind::mozillaQuotaCache, "C:\\ff\\storage.sqlite", {});
        for (const char* name : {"IndexedDB\\https_a.example_0.indexeddb.leveldb", "IndexedDB\\https_b.example_0.indexeddb.blob",
                                 "IndexedDB\\chrome-extension_x_0.indexeddb.leveldb", "WebStorage\\1", "WebStorage\\2"})
            files.addFile(at(std::string("c:") + name + "\\x"));
        stores.addStore(Kind::chromiumLocalStorage, at("c:Local Storage\\leveldb"),
                        {{"https://a.example", "1"}, {"https://b.example", "2"}});
        stores.addStore(Kind::chromiumSessionStorage, at("c:Session Storage"), {{"https://c.example/", "1"}});
        stores.addStore(Kind::chromiumServiceWorker, at("c:Service Worker\\Database"), {{"https://a.example/", "1"}});
        files.addFile(at("c:Service Worker\\CacheStorage\\h1\\index.txt"), "\x1a\x15https://c.example:81/");
        stores.addStore(Kind::chromiumQuotaManager, at("c:WebStorage\\QuotaManager"),
                        {{"https://a.example/", "1"}, {"https://b.example/", "2"}});
    }
    bool munchBoth(int goOnFor = 1 << 30)
    {
        munch.StartCycle();
        int asked = 0;
        const auto goOn = [&] { return asked++ < goOnFor; };
        const bool ff = munch.Munch(firefox, goOn);
        return munch.Munch(chromium, goOn) || ff;
    }
    void holdLock(const char* lock)
    {
        files.addFile(lock);
        files.lock(lock, false);
        stores.heldLocks.insert(platform::asciiLowered(lock));
    }
    // Cycles with the jobs' ends waited for in between, as ticks would find them.
    void settle(int cycles = 4)
    {
        for (int i = 0; i < cycles; ++i) {
            munchBoth();
            worker.WaitForJob();
        }
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
    struct Case {
        std::vector<std::string> kept, gone, stay, heard;
    };
    const Case cases[] = {
        {{"a.example"},
         {"o:https+++b.example", "o:https+++b.example^userContextId=1", "o:http+++c.example+8080",
          "c:IndexedDB\\https_b.example_0.indexeddb.blob", "c:Session Storage", "c:WebStorage\\2",
          "c:Service Worker\\CacheStorage\\h1"},
         {"o:https+++a.example", "o:moz-extension+++id", "o:not an origin",
          "c:IndexedDB\\https_a.example_0.indexeddb.leveldb", "c:IndexedDB\\chrome-extension_x_0.indexeddb.leveldb",
          "c:Local Storage\\leveldb", "c:Service Worker\\Database", "c:WebStorage\\1\\x"},
         {"b.example", "b.example", "c.example", "c.example"}},
        {{},
         {"o:https+++a.example", "c:IndexedDB\\https_a.example_0.indexeddb.leveldb", "c:Local Storage",
          "c:Service Worker", "c:WebStorage"},
         {"o:moz-extension+++id", "c:IndexedDB\\chrome-extension_x_0.indexeddb.leveldb"},
         {"a.example", "a.example", "b.example", "b.example", "c.example", "c.example"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        for (const std::string& site : c.kept)
            rig.kept.Keep(site);
        EXPECT_TRUE(rig.munchBoth());
        for (const std::string& place : c.gone)
            EXPECT_FALSE(rig.files.exists(at(place))) << c.kept.size() << ": " << place;
        for (const std::string& place : c.stay)
            EXPECT_TRUE(rig.files.exists(at(place))) << c.kept.size() << ": " << place;
        std::sort(rig.heard.begin(), rig.heard.end());
        EXPECT_EQ(rig.heard, c.heard) << c.kept.size();
        // Per site in the stores that stay: the others' entries went, through the store.
        EXPECT_EQ(rig.stores.find("C:\\ff\\webappsstore.sqlite")->entries.size(), c.kept.size() + 1);
        EXPECT_FALSE(rig.stores.find("C:\\ff\\storage.sqlite")->cacheValid);
        EXPECT_EQ(rig.stores.openStores(), 0);
    }
}

TEST(SiteDataMunch, NothingIsTouchedWhileTheBrowserHoldsItsLockNorLookedAtAgainUntilItLetsGo)
{
    const char* locks[] = {"C:\\ff\\parent.lock", "C:\\ud\\lockfile"};
    for (const bool held : {true, false}) {
        Rig rig;
        for (const char* lock : locks)
            held ? rig.holdLock(lock) : rig.files.addFile(lock); // one a crash left can be opened
        EXPECT_EQ(rig.munchBoth(), !held) << held;
        EXPECT_EQ(rig.files.exists(at("o:https+++a.example")), held) << held;
        EXPECT_EQ(rig.stores.callsOf("Open").empty(), held) << held;
        // Settled, a cycle asks for the two lock folders' times alone.
        rig.munchBoth();
        rig.files.calls.clear();
        rig.munchBoth();
        EXPECT_EQ(rig.files.calls.size(), 2u) << held;
        for (const char* lock : locks)
            rig.files.unlock(lock), rig.files.erase(lock), rig.stores.heldLocks.clear();
        rig.munchBoth();
        EXPECT_FALSE(rig.files.exists(at("o:https+++a.example"))) << held;
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
         [](Rig& r) { r.stores.addStore(Kind::chromiumQuotaManager, "C:\\ff\\storage.sqlite", {}); }, {"o:https+++a.example"}},
        {"a held quota cache", [](Rig& r) { r.files.lock("C:\\ff\\storage.sqlite"); }, {"o:https+++a.example"}},
        {"storage a link",
         [](Rig& r) { r.files.erase("C:\\ff\\storage"), r.files.addLink("C:\\ff\\storage", "C:\\o", platform::faDirectory); },
         {}},
        {"a link among the origins",
         [](Rig& r) { r.files.addLink(at("o:https+++d.example"), "C:\\o", platform::faDirectory); },
         {"o:https+++d.example"}},
        {"a held file in an origin", [](Rig& r) { r.files.lock(at("o:https+++b.example\\ls\\data.sqlite")); },
         {"o:https+++b.example\\ls\\data.sqlite"}},
        {"damaged stores",
         [](Rig& r) {
             for (const char* store : {"c:Local Storage\\leveldb", "c:Session Storage"})
                 r.stores.addStore(Kind::chromiumQuotaManager, at(store), {});
         },
         {"c:Local Storage\\leveldb", "c:Session Storage"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.files.addFile("C:\\o\\default\\https+++a.example\\x");
        c.arrange(rig);
        rig.munchBoth();
        EXPECT_TRUE(rig.files.exists("C:\\o\\default\\https+++a.example\\x")) << c.name;
        for (const std::string& place : c.stay)
            EXPECT_TRUE(rig.files.exists(at(place))) << c.name << ": " << place;
    }
}

TEST(SiteDataMunch, ACycleThatStopsLeavesTheRestForTheNextAndABrowserStartingMeanwhileKeepsIt)
{
    for (const bool browserStarts : {false, true}) {
        Rig rig;
        for (int i = 0; i < 40; ++i)
            rig.files.addFile(at("o:https+++b.example\\idb\\" + std::to_string(i)));
        rig.munchBoth(0);
        EXPECT_TRUE(rig.files.exists(at("o:https+++b.example"))) << browserStarts;
        rig.munch.StartCycle();
        rig.munch.Munch(firefox, [&] {
            if (browserStarts && !rig.files.exists("C:\\ff\\parent.lock"))
                rig.holdLock("C:\\ff\\parent.lock");
            return true;
        });
        EXPECT_EQ(rig.files.exists(at("o:https+++b.example")), browserStarts) << browserStarts;
    }
}

TEST(SiteDataMunch, ASiteTickedAtAnyStepKeepsWhatIsLeftOfIt)
{
    // Real threads: the job runs beside the menu's tick. At the LevelDB batch
    // step the tick comes between the batch and its write; at the folder step,
    // at the fifth round of pending messages once the removal has begun; or
    // the site is ticked and unticked ten times over, then ticked.
    enum Step { batch, folder, flipping };
    for (const Step step : {batch, folder, flipping}) {
        Rig rig;
        rig.fakes.threads.runAtOnce = step == flipping; // the flips come from the tick alone
        rig.kept.Keep("c.example");
        rig.stores.find(at("c:Local Storage\\leveldb"))->entries.push_back({"https://c.example", "3"});
        for (int i = 0; i < 40; ++i)
            rig.files.addFile(at("c:IndexedDB\\https_b.example_0.indexeddb.blob\\" + std::to_string(i)));
        std::promise<void> atStep, ticked;
        const std::shared_future<void> tickedDone = ticked.get_future().share();
        const auto flip = [&] {
            rig.munch.KeptSitesChanging();
            rig.kept.Flip("b.example");
        };
        if (step == batch)
            rig.stores.beforeLastStep = [&, once = std::make_shared<bool>(true)] {
                if (std::exchange(*once, false)) {
                    atStep.set_value();
                    tickedDone.wait();
                }
            };
        int rounds = 0, flips = 0;
        for (int call = 0; call < 30; ++call) {
            rig.munch.StartCycle();
            rig.munch.Munch(chromium, [&] {
                rounds += call > 0;
                if ((step == folder && rounds == 5) || (step == flipping && flips < 21))
                    flip(), ++flips;
                return true;
            });
            if (step == batch && call == 0) {
                atStep.get_future().wait();
                flip();
                ticked.set_value();
            }
            rig.worker.WaitForJob();
        }
        rig.settle();
        EXPECT_TRUE(rig.kept.Keeps("b.example")) << step;
        EXPECT_TRUE(rig.files.exists(at("c:IndexedDB\\https_b.example_0.indexeddb.blob\\39"))) << step;
        EXPECT_FALSE(rig.files.exists(at("c:IndexedDB\\https_a.example_0.indexeddb.leveldb"))) << step;
        // The batch never lasted: b.example's entry is still there; a.example's went at the next look.
        std::vector<FakeSiteStores::Entry> left{{"https://c.example", "3"}};
        if (step == batch)
            left.insert(left.begin(), {"https://b.example", "2"});
        if (step != flipping)
            EXPECT_EQ(rig.stores.find(at("c:Local Storage\\leveldb"))->entries, left) << step;
    }
}

TEST(SiteDataMunch, WhatCannotGoIsLeftUntilASlowLookAndTheRestGoesAndSettles)
{
    struct Case {
        const char* name;
        void (*arrange)(Rig& rig);
        std::vector<std::string> stay;
    };
    const Case cases[] = {
        {"a read-only file and a junction in two origins",
         [](Rig& r) {
             r.files.addFile(at("o:https+++b.example\\idb\\ro"), {}, platform::faReadOnly);
             r.files.addLink(at("o:https+++c.example\\j"), "C:\\o", platform::faDirectory | platform::faReparsePoint);
         },
         {"o:https+++b.example\\idb\\ro", "o:https+++c.example\\j"}},
        {"Local Storage without CURRENT", [](Rig& r) { r.files.erase(at("c:Local Storage\\leveldb\\CURRENT")); },
         {"c:Local Storage\\leveldb"}},
        {"a read-only webappsstore", [](Rig& r) { r.files.setAttributes("C:\\ff\\webappsstore.sqlite", platform::faReadOnly); },
         {"C:\\ff\\webappsstore.sqlite"}},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.files.addFile("C:\\o\\default\\https+++a.example\\x");
        rig.kept.Keep("a.example");
        c.arrange(rig);
        rig.settle();
        EXPECT_TRUE(rig.files.exists("C:\\o\\default\\https+++a.example\\x")) << c.name;
        EXPECT_TRUE(rig.files.exists(at("o:https+++a.example"))) << c.name;
        for (const std::string& place : c.stay)
            EXPECT_TRUE(rig.files.exists(place.rfind("C:", 0) == 0 ? place : at(place))) << c.name << ": " << place;
        EXPECT_FALSE(rig.files.exists(at("o:http+++c.example+8080\\ls"))) << c.name;
        EXPECT_FALSE(rig.files.exists(at("c:Session Storage"))) << c.name;
        // At rest: a hundred ticks open nothing and list nothing; a slow look then lists the profile again.
        const std::size_t opens = rig.stores.callsOf("Open").size();
        rig.files.calls.clear();
        for (int i = 0; i < 100; ++i)
            rig.munchBoth();
        EXPECT_EQ(rig.files.callsOf("findFiles").size(), 0u) << c.name;
        EXPECT_EQ(rig.stores.callsOf("Open").size(), opens) << c.name;
        rig.settle(30);
        EXPECT_GT(rig.files.callsOf("findFiles").size(), 0u) << c.name;
    }
}

TEST(SiteDataMunch, ASettledStoreIsOpenedAgainOnlyOnceItOrTheKeptSitesChanged)
{
    Rig rig;
    rig.kept.Keep("a.example");
    rig.settle();
    const auto opensOf = [&](const std::string& path) {
        const auto opens = rig.stores.callsOf("Open");
        return std::count_if(opens.begin(), opens.end(), [&](const auto& call) { return call.args.at(1) == path; });
    };
    const std::string local = at("c:Local Storage\\leveldb"), session = at("c:Session Storage");
    const auto before = opensOf(local), sessionBefore = opensOf(session);
    // The browser ran and ended (its lock folder changed), writing only Session Storage.
    rig.files.addFile("C:\\ud\\lockfile");
    rig.stores.addStore(Kind::chromiumSessionStorage, at("c:Session Storage"), {{"https://d.example/", "1"}});
    rig.settle();
    EXPECT_EQ(opensOf(local), before);
    EXPECT_EQ(opensOf(session), sessionBefore + 1);
    rig.kept.Keep("c.example");
    rig.settle();
    EXPECT_EQ(opensOf(local), before + 1);
}

TEST(SiteDataMunch, LeftoversOfCutWorkAreFoundFromWhatIsOnDiskAndASiteCountsOnce)
{
    Rig rig;
    rig.kept.Keep("a.example");
    // A bucket folder no row names; a cache whose removal was cut before its index; a site under two hosts.
    rig.files.addFile(at("c:WebStorage\\7\\x"));
    rig.files.addFile(at("c:WebStorage\\notabucket\\x"));
    rig.files.addFile(at("c:Service Worker\\CacheStorage\\h1\\data"));
    rig.files.addFile(at("o:https+++www.b.example\\ls\\data.sqlite"));
    rig.munch.StartCycle();
    rig.munch.Munch(firefox, [] { return true; });
    rig.munch.Munch(chromium, [&] { return rig.files.exists(at("c:Service Worker\\CacheStorage\\h1\\data")); });
    EXPECT_TRUE(rig.files.exists(at("c:Service Worker\\CacheStorage\\h1\\index.txt")));
    rig.settle();
    for (const char* gone : {"c:WebStorage\\7", "c:WebStorage\\2", "c:Service Worker\\CacheStorage\\h1"})
        EXPECT_FALSE(rig.files.exists(at(gone))) << gone;
    EXPECT_TRUE(rig.files.exists(at("c:WebStorage\\notabucket\\x")));
    EXPECT_TRUE(rig.files.exists(at("c:WebStorage\\1\\x")));
    EXPECT_EQ(std::count(rig.heard.begin(), rig.heard.end(), "b.example"), 2); // once per profile
}

} // namespace
