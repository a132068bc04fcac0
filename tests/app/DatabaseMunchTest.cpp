// The munch of a browser's store read as its cookie database: what is left,
// what goes whole, which rows go, and what is counted.
#include "app/MainFormFixture.h"

#include <gmock/gmock.h>

#include <future>
#include <semaphore>

namespace {

using Row = FakeCookieDatabases::Row;
using platform::CookieTable;

const std::string localData = "C:\\users\\u\\AppData\\Local";
const std::string roamingData = "C:\\users\\u\\AppData\\Roaming";
const std::string chromeProfile = localData + "\\Google\\Chrome\\User Data\\Default";
const std::string chromeNetwork = chromeProfile + "\\Network";
const std::string firefoxProfile = roamingData + "\\Mozilla\\Firefox\\Profiles\\a.default";

// A program of its own per case of a table.
struct Program {
    explicit Program(const std::map<platform::ShellFolder, std::string>& shellFolders)
    {
        fakes.folders.shellFolders = shellFolders;
        TUrlCache::TestLibraryAtStart(fakes.urlCache);
    }
    TForm1& start()
    {
        TForm1& form = app.CreateForm<TForm1>(fakes.services);
        fakes.threads.runAtOnce = true;
        form.KeptSites.Keep("kept.example");
        return form;
    }
    FakePlatform fakes;
    TApplication app{fakes.ui};
};

class DatabaseMunchTest : public MainFormFixture {
protected:
    void SetUp() override
    {
        fakes.folders.shellFolders[platform::ShellFolder::RoamingAppData] = roamingData;
        fakes.folders.shellFolders[platform::ShellFolder::LocalAppData] = localData;
        fakes.fileSystem.addFile(roamingData + "\\Mozilla\\Firefox\\profiles.ini",
                                 "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n");
        fakes.fileSystem.addFolder(chromeNetwork);
        fakes.fileSystem.addFile(chromeProfile + "\\Preferences", "{}");
        fakes.fileSystem.addFolder(firefoxProfile);
    }
    TForm1& started()
    {
        TForm1& form = start();
        form.ThreadedTimer1->SetInterval(0);
        // The program's first tick reads the kept sites' sources; its munch waits for them.
        form.State.MunchActive = false;
        form.ThreadedTimer1->HandleTick();
        form.State.MunchActive = true;
        return form;
    }
    // Rows of the hosts given, each used before the one above it.
    static std::vector<Row> rows(std::initializer_list<std::pair<const char*, int>> hosts)
    {
        std::vector<Row> made;
        for (const auto& [host, n] : hosts)
            for (int i = 0; i < n; ++i)
                made.push_back({host, std::string(host) + "#" + std::to_string(i), -static_cast<std::int64_t>(made.size())});
        return made;
    }
    // Starts the worker's job on a thread of its own, and returns once it is at the step given (as the munch
    // starts, or inside its commit); it stays there until letGo is set.
    void tickIntoAHeldMunch(TForm1& form, std::string_view heldAt = "Munch")
    {
        inside = {};
        letGo = {};
        fakes.threads.runAtOnce = false;
        fakes.cookieDatabases.during = [this, heldAt, released = letGo.get_future().share()](std::string_view step) {
            if (step != heldAt)
                return;
            inside.set_value();
            released.wait();
        };
        form.ThreadedTimer1->HandleTick();
        inside.get_future().wait();
    }
    // Lets the held job end, then runs jobs at once again.
    void releaseTheMunch(TForm1& form)
    {
        letGo.set_value();
        form.MunchCycle().WaitForStoreWork();
        fakes.cookieDatabases.during = nullptr;
        fakes.threads.runAtOnce = true;
    }
    std::promise<void> inside, letGo;
};

} // namespace

TEST_F(DatabaseMunchTest, AStoreIsLeftGoesWholeOrLosesTheRowsOfSitesNotKept)
{
    const std::string store = chromeNetwork + "\\Cookies";
    const std::string journal = store + "-journal";
    struct Case {
        const char* name;
        std::vector<Row> made;
        bool busy;
        bool storeStays;
        std::vector<std::string> hostsLeft; // in the store, when it stays
        int counted;
        std::vector<std::string> noted; // the sites munched lately, the latest used first
        std::string journal = "j";
        enum { readable, unreadable, unchangeable } kind = readable;
        bool keep = true; // kept.example is kept
    };
    const std::vector<Row> mixed = rows({{".mail.kept.example", 2}, {"www.a.example", 3}, {".b.example", 1}});
    for (const Case& c : std::initializer_list<Case>{
             {"busy: left, nothing counted", mixed, true, true, {}, 0, {}},
             {"no rows: left silently", {}, false, true, {}, 0, {}},
             {"only kept rows: left", rows({{"kept.example", 3}}), false, true, {"kept.example", "kept.example",
              "kept.example"}, 0, {}},
             {"no kept site: whole, each row counted", rows({{"a.example", 4}, {"b.example", 1}}), false, false, {},
              5, {"a.example", "b.example"}},
             {"a kept site among its rows: the others go", mixed, false, true,
              {".mail.kept.example", ".mail.kept.example"}, 4, {"a.example", "b.example"}},
             {"unreadable, no site kept: whole, counting one", {}, false, false, {}, 1, {}, "kept.example",
              Case::unreadable, false},
             {"unreadable, naming no kept site: whole, counting one", {}, false, false, {}, 1, {}, "a.example",
              Case::unreadable},
             {"unreadable, a kept site named in its journal: stays, uncounted", {}, false, true, {}, 0, {},
              std::string("k\0E\0P\0T\0.\0e\0x\0a\0m\0p\0l\0e", 23), Case::unreadable},
             {"readable, never changeable, a kept site among its rows: stays", mixed, false, true,
              {".mail.kept.example", ".mail.kept.example", "www.a.example", "www.a.example", "www.a.example",
               ".b.example"}, 0, {}, "j", Case::unchangeable},
         }) {
        Program program(fakes.folders.shellFolders);
        FakePlatform& fresh = program.fakes;
        fresh.fileSystem.addFolder(chromeNetwork);
        fresh.fileSystem.addFile(chromeProfile + "\\Preferences", "{}");
        if (c.kind == Case::unreadable)
            fresh.fileSystem.addFile(store, "SQLite format 3, damaged");
        else
            fresh.cookieDatabases.addStore(store, CookieTable::chromium, c.made);
        fresh.fileSystem.addFile(journal, c.journal);
        if (c.kind == Case::unchangeable)
            fresh.cookieDatabases.setUnchangeable(store);
        if (c.busy)
            fresh.cookieDatabases.setBusy(store, true);
        TForm1& form = program.start();
        if (!c.keep)
            form.KeptSites.KeepNone();
        form.ThreadedTimer1->HandleTick();

        EXPECT_EQ(fresh.fileSystem.exists(store), c.storeStays) << c.name;
        EXPECT_EQ(fresh.fileSystem.exists(journal), c.storeStays) << c.name;
        if (c.storeStays && !c.busy) {
            std::vector<std::string> left;
            for (const Row& row : fresh.cookieDatabases.rows(store))
                left.push_back(row.host);
            EXPECT_EQ(left, c.hostsLeft) << c.name;
        }
        EXPECT_EQ(form.State.MunchedCount, c.counted) << c.name;
        EXPECT_EQ(form.Cookies1->Caption, "Munched = " + std::to_string(c.counted)) << c.name;
        EXPECT_EQ(form.KeptSites.Recent(), c.noted) << c.name;
        EXPECT_EQ(fresh.cookieDatabases.openStores(), 0) << c.name;
        if (c.busy) { // the browser lets go: the next tick munches it
            EXPECT_EQ(fresh.cookieDatabases.rows(store), mixed) << c.name;
            fresh.cookieDatabases.setBusy(store, false);
            form.ThreadedTimer1->HandleTick();
            EXPECT_EQ(form.State.MunchedCount, 4) << c.name;
        }
    }
}

TEST_F(DatabaseMunchTest, NoMunchBeforeTheSourcesAreInAndNothingWaitsForAPolicyReadingAChangeDuringItReadAfter)
{
    const std::string store = firefoxProfile + "\\cookies.sqlite", list = nombletKeepSitesKey;
    fakes.cookieDatabases.addStore(store, CookieTable::mozilla, rows({{"a.example", 2}, {"e.example", 1}, {"z.example", 1}}));
    fakes.cookieDatabases.addPermissions(firefoxProfile + "\\permissions.sqlite", {{"https://e.example", 1, 0, 0}});
    fakes.registry.setString(platform::RegRoot::LocalMachine, list, "1", "a.example");
    fakes.registry.setString(platform::RegRoot::CurrentUser, list, "1", "x.example");
    TForm1& form = start();
    form.ThreadedTimer1->SetInterval(0);
    fakes.threads.runAtOnce = false; // each reading on its own thread, held between the machine's list and the user's
    std::binary_semaphore held(0), letGo(0);
    fakes.registry.beforeListing = [&, lists = std::make_shared<std::atomic<int>>(0)] {
        if (++*lists % 2 == 0)
            held.release(), letGo.acquire();
    };
    const auto readingIn = [&](const char* site) {
        letGo.release();
        return ui.serveUntil([&] { return form.KeptSites.Keeps(site); }, std::chrono::seconds(60));
    };
    form.ThreadedTimer1->HandleTick();
    held.acquire();
    form.MunchCycle().WaitForStoreWork();
    ASSERT_TRUE(readingIn("a.example"));
    form.ThreadedTimer1->HandleTick();
    form.MunchCycle().WaitForStoreWork();
    EXPECT_EQ(fakes.cookieDatabases.rows(store), rows({{"a.example", 2}, {"e.example", 1}})) << "munched once all were in";

    fakes.registry.setString(platform::RegRoot::LocalMachine, list, "2", "b.example");
    form.ThreadedTimer1->HandleTick();
    held.acquire();
    fakes.registry.setString(platform::RegRoot::LocalMachine, list, "3", "c.example");
    fakes.registry.openKey(platform::RegRoot::CurrentUser, list)->deleteValue("1");
    form.ThreadedTimer1->HandleTick(); // asks for the next reading
    fakes.notifyArea.mouse(516); // the menu opens (were the reading waited for, this would never return)
    EXPECT_FALSE(form.KeptSites.Keeps("b.example")) << "the last reading stands";
    ASSERT_TRUE(readingIn("b.example"));
    EXPECT_TRUE(form.KeptSites.Keeps("x.example")) << "a reading a change overlapped keeps the last one's sites too";
    form.ThreadedTimer1->HandleTick();
    held.acquire();
    ASSERT_TRUE(readingIn("c.example"));
    EXPECT_FALSE(form.KeptSites.Keeps("x.example"));
}

TEST_F(DatabaseMunchTest, EachBrowserKindIsReadByItsOwnTable)
{
    fakes.cookieDatabases.addStore(firefoxProfile + "\\cookies.sqlite", CookieTable::mozilla, rows({{"a.example", 2}}));
    fakes.cookieDatabases.addStore(chromeNetwork + "\\Cookies", CookieTable::chromium, rows({{"b.example", 3}}));
    TForm1& form = started();
    form.ThreadedTimer1->HandleTick();
    EXPECT_THAT(fakes.cookieDatabases.callsOf("Open"),
                ::testing::UnorderedElementsAre(Call{"Open", {firefoxProfile + "\\cookies.sqlite", "mozilla"}},
                                                Call{"Open", {chromeNetwork + "\\Cookies", "chromium"}}));
    EXPECT_EQ(form.State.MunchedCount, 5);
}

TEST_F(DatabaseMunchTest, ASiteKeptDuringAMunchOnTheWorkerRollsItBackUnlessItsCommitHasBegun)
{
    const std::string store = firefoxProfile + "\\cookies.sqlite";
    const std::vector<Row> made = rows({{"a.example", 3}, {"kept.example", 1}, {"b.example", 2}});
    fakes.cookieDatabases.addStore(store, CookieTable::mozilla, made);
    TForm1& form = started();
    form.KeptSites.Keep("kept.example");
    form.KeptSites.Munched("a.example");
    tickIntoAHeldMunch(form, "Munch");

    // Meanwhile ticks munch the other stores, the menu answers, and no second job starts.
    const std::string cookie = form.State.IECookieDir + "\\u@a.txt";
    fakes.fileSystem.addFile(cookie, "c");
    form.ThreadedTimer1->HandleTick();
    EXPECT_FALSE(fakes.fileSystem.exists(cookie));
    EXPECT_EQ(form.State.MunchedCount, 1);
    fakes.iconsAndMenus.menuChoice = "Keep Sites/a.example";
    fakes.notifyArea.mouse(516);
    EXPECT_TRUE(form.KeptSites.Keeps("a.example"));
    releaseTheMunch(form);
    EXPECT_EQ(fakes.cookieDatabases.callsOf("Open").size(), 1u);
    EXPECT_EQ(fakes.cookieDatabases.rows(store), made);

    // The next tick munches the store again with the new list. A change once its commit has begun lets it last,
    // and the menu answers without waiting for it (were the commit waited for, this would never return).
    tickIntoAHeldMunch(form, "Commit");
    fakes.notifyArea.mouse(516);
    EXPECT_FALSE(form.KeptSites.Keeps("a.example"));
    releaseTheMunch(form);
    EXPECT_EQ(fakes.cookieDatabases.rows(store), rows({{"a.example", 3}, {"kept.example", 1}}));
    form.ThreadedTimer1->HandleTick(); // taken, and munched again with the list as it is now
    EXPECT_EQ(fakes.cookieDatabases.rows(store), (std::vector<Row>{made[3]}));
    EXPECT_EQ(form.State.MunchedCount, 6);
}

TEST_F(DatabaseMunchTest, StoresFoundTogetherTakeTurnsAndOneWhoseMunchFailsWaitsLongerEachTime)
{
    const std::string failing = firefoxProfile + "\\cookies.sqlite";
    const std::string profile2 = localData + "\\Google\\Chrome\\User Data\\Profile 2";
    const std::vector<std::string> others = {chromeNetwork + "\\Cookies", profile2 + "\\Network\\Cookies"};
    fakes.fileSystem.addFolder(profile2 + "\\Network");
    fakes.fileSystem.addFile(profile2 + "\\Preferences", "{}");
    fakes.cookieDatabases.addStore(failing, CookieTable::mozilla, rows({{"kept.example", 1}, {"a.example", 2}}));
    fakes.cookieDatabases.setFailing(failing, true);
    TForm1& form = started();
    form.KeptSites.Keep("kept.example");
    fakes.threads.runAtOnce = false; // each job on the worker's own thread
    std::chrono::steady_clock::time_point now{};
    form.MunchCycle().Now = [&] { return now; };
    const auto opensOfFailing = [&] {
        const auto opens = fakes.cookieDatabases.callsOf("Open");
        return std::count_if(opens.begin(), opens.end(), [&](const Call& call) { return call.args[0] == failing; });
    };
    struct Round {
        int at; // ms
        long failingOpens; // by the end of the round
    };
    int round = 0;
    for (const Round& r : {Round{0, 1}, Round{250, 1}, Round{500, 2}, Round{1000, 2}, Round{1500, 3}, Round{3000, 3},
                           Round{3500, 4}, Round{7400, 4}, Round{7500, 5}}) {
        // The other stores take new cookies at every round; all found at one tick are queued together.
        ++round;
        for (const std::string& store : others) {
            fakes.cookieDatabases.addStore(store, CookieTable::chromium, rows({{"kept.example", 1}, {"b.example", 3}}));
            fakes.fileSystem.setLastWriteTime(store, 1000 + round);
        }
        now = std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(r.at);
        for (int tick = 0; tick < 2; ++tick) { // the second tick takes what the first queued
            form.ThreadedTimer1->HandleTick();
            form.MunchCycle().WaitForStoreWork();
        }
        EXPECT_EQ(opensOfFailing(), r.failingOpens) << r.at;
        EXPECT_EQ(form.State.MunchedCount, 6 * round) << r.at;
    }
    // Once it can be munched again, it is, at its next turn.
    fakes.cookieDatabases.setFailing(failing, false);
    now += std::chrono::seconds(8);
    form.ThreadedTimer1->HandleTick();
    form.MunchCycle().WaitForStoreWork();
    form.ThreadedTimer1->HandleTick();
    EXPECT_EQ(fakes.cookieDatabases.rows(failing), rows({{"kept.example", 1}}));
}

TEST_F(DatabaseMunchTest, AVerdictWaitingForItsTickHoldsOnlyForTheStoreTheWorkerRead)
{
    const std::string store = chromeNetwork + "\\Cookies";
    fakes.cookieDatabases.addStore(store, CookieTable::chromium, rows({{"kept.example", 1}, {"a.example", 2}}));
    fakes.cookieDatabases.setUnchangeable(store); // read, never changed: spared
    TForm1& form = started();
    form.KeptSites.Keep("kept.example");
    tickIntoAHeldMunch(form);
    // The browser writes a new store in its place while the worker reads the old one.
    fakes.cookieDatabases.addStore(store, CookieTable::chromium, rows({{"kept.example", 1}, {"b.example", 2}}));
    fakes.fileSystem.setLastWriteTime(store, 4242);
    releaseTheMunch(form);
    form.ThreadedTimer1->HandleTick();
    EXPECT_EQ(fakes.cookieDatabases.rows(store), rows({{"kept.example", 1}}));
    EXPECT_EQ(form.State.MunchedCount, 2);
}

TEST_F(DatabaseMunchTest, AFailedMunchOrCommitCountsNothingAndLeavesTheStoreAsItWas)
{
    const std::string store = firefoxProfile + "\\cookies.sqlite";
    const std::vector<Row> made = rows({{"kept.example", 1}, {"a.example", 2500}});
    for (const char* failing : {"Munch", "Commit"}) {
        Program program(fakes.folders.shellFolders);
        FakePlatform& fresh = program.fakes;
        fresh.fileSystem.addFile(roamingData + "\\Mozilla\\Firefox\\profiles.ini",
                                 "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n");
        fresh.cookieDatabases.addStore(store, CookieTable::mozilla, made);
        TForm1& form = program.start();
        std::chrono::steady_clock::time_point now{};
        form.MunchCycle().Now = [&] { return now; };
        fresh.cookieDatabases.faults.failFrom(failing);
        form.ThreadedTimer1->HandleTick();
        EXPECT_EQ(fresh.cookieDatabases.rows(store), made) << failing;
        EXPECT_EQ(form.State.MunchedCount, 0) << failing;
        EXPECT_EQ(fresh.cookieDatabases.openStores(), 0) << failing;
        fresh.cookieDatabases.faults.clear();
        now += std::chrono::milliseconds(500); // its next turn
        form.ThreadedTimer1->HandleTick();
        EXPECT_EQ(form.State.MunchedCount, 2500) << failing;
    }
}

TEST_F(DatabaseMunchTest, AStoreWithNothingToDeleteIsReadAgainOnlyOnceItOrItsFolderOrTheKeptSitesChange)
{
    const std::string store = chromeNetwork + "\\Cookies";
    fakes.cookieDatabases.addStore(store, CookieTable::chromium, rows({{"kept.example", 2}, {"a.example", 1}}));
    TForm1& form = started();
    form.KeptSites.Keep("kept.example");
    form.KeptSites.Keep("a.example");
    const auto opens = [&] { return fakes.cookieDatabases.callsOf("Open").size(); };
    struct Step {
        const char* name;
        std::function<void()> change;
        std::size_t opensAfter;
    };
    for (const Step& step : {
             Step{"the first look", [] {}, 1},
             Step{"nothing changed", [] {}, 1},
             Step{"the browser wrote the store", [&] { fakes.fileSystem.setLastWriteTime(store, 777); }, 2},
             Step{"nothing changed since", [] {}, 2},
             Step{"a log made beside it", [&] { fakes.fileSystem.addFile(store + "-wal", "log"); }, 3},
             Step{"a site no longer kept", [&] { form.KeptSites.Flip("a.example"); }, 4},
         }) {
        step.change();
        form.ThreadedTimer1->HandleTick();
        EXPECT_EQ(opens(), step.opensAfter) << step.name;
    }
    EXPECT_EQ(form.State.MunchedCount, 1);
}
