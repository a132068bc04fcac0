// What every cookie-database service promises the munch, run against each
// implementation. A world gives the service, paths in a folder of its own,
// and arranges stores from outside: makeStore (a cookie database of a kind,
// with rows of host and value, each row used after the one before it),
// makeFile (a file that is no database), makePermissions (a Mozilla
// permissions database in a journal mode), damage (its rows' page overwritten),
// exists (a file is there),
// hold (another program holds the store's write lock) and rows (what a store
// holds, read from outside).
#pragma once

#include "contracts/WorldNames.h"
#include "platform/CookieDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using CookieRows = std::vector<std::pair<std::string, std::string>>; // host, value

template <typename World>
class CookieDatabaseContract : public testing::Test {
protected:
    platform::ICookieDatabases& databases() { return world.databases(); }
    static std::vector<platform::CookieHostRows> sorted(std::vector<platform::CookieHostRows> hosts)
    {
        std::sort(hosts.begin(), hosts.end(), [](const auto& a, const auto& b) { return a.host < b.host; });
        return hosts;
    }
    static CookieRows sorted(CookieRows rows)
    {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    World world;
};

TYPED_TEST_SUITE_P(CookieDatabaseContract);

TYPED_TEST_P(CookieDatabaseContract, OpeningTellsAStoreFromABusyOneAndFromWhatHoldsNoCookies)
{
    using platform::CookieStoreState;
    using platform::CookieTable;
    const CookieRows rows = {{".a.example", "1"}, {"b.example", "2"}, {".a.example", "3"}};
    struct Case {
        const char* name;
        void (*make)(TypeParam& world, const std::string& path, const CookieRows& rows);
        CookieTable table;
        CookieStoreState expected;
        bool cancelled = false;
    };
    const Case cases[] = {
        {"a Mozilla store", [](auto& w, auto& p, auto& r) { w.makeStore(p, CookieTable::mozilla, r); },
         CookieTable::mozilla, CookieStoreState::opened},
        {"a Chromium store", [](auto& w, auto& p, auto& r) { w.makeStore(p, CookieTable::chromium, r); },
         CookieTable::chromium, CookieStoreState::opened},
        {"the other browser's store", [](auto& w, auto& p, auto& r) { w.makeStore(p, CookieTable::chromium, r); },
         CookieTable::mozilla, CookieStoreState::notCookies},
        {"a text file", [](auto& w, auto& p, auto&) { w.makeFile(p, "host=a.example\n"); }, CookieTable::mozilla,
         CookieStoreState::notCookies},
        {"missing", [](auto&, auto&, auto&) {}, CookieTable::mozilla, CookieStoreState::busy},
        {"held by its browser",
         [](auto& w, auto& p, auto& r) {
             w.makeStore(p, CookieTable::mozilla, r);
             w.hold(p);
         },
         CookieTable::mozilla, CookieStoreState::busy},
        {"asked to stop", [](auto& w, auto& p, auto& r) { w.makeStore(p, CookieTable::mozilla, r); },
         CookieTable::mozilla, CookieStoreState::busy, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = this->world.path("store" + std::to_string(++n) + ".sqlite");
        c.make(this->world, path, rows);
        platform::Cancellation cancellation;
        if (c.cancelled)
            cancellation.Cancel();
        platform::CookieStoreOpening opening = this->databases().Open(path, c.table, cancellation);
        EXPECT_EQ(opening.state, c.expected) << c.name;
        EXPECT_EQ(opening.store != nullptr, c.expected == CookieStoreState::opened) << c.name;
        if (opening.store) {
            EXPECT_EQ(this->sorted(opening.store->Hosts()),
                      (std::vector<platform::CookieHostRows>{{".a.example", 2, 3}, {"b.example", 1, 2}}))
                << c.name;
        }
    }
}

TYPED_TEST_P(CookieDatabaseContract, AMunchDeletesTheRowsNotKeptInOneCommitOrNothingWhenCancelled)
{
    using Outcome = platform::CookieMunchOutcome;
    const auto keeps = [](std::string_view host) { return host == "keep.example"; };
    const CookieRows mostGo = {{"x.example", "x1"}, {"keep.example", "k1"}, {".y.example", "y1"},
                               {"x.example", "x2"}, {"x.example", "x3"}};
    const CookieRows fewGo = {{"keep.example", "k1"}, {"x.example", "x1"}, {"keep.example", "k2"},
                              {"keep.example", "k3"}};
    struct Case {
        const char* name;
        CookieRows rows;
        bool cancelled;
        Outcome outcome;
        CookieRows left;
    };
    int n = 0;
    for (const Case& c : {Case{"most rows go: the kept ones set aside and put back", mostGo, false, Outcome::munched,
                               {{"keep.example", "k1"}}},
                          Case{"few rows go: deleted where they are", fewGo, false, Outcome::munched,
                               {{"keep.example", "k1"}, {"keep.example", "k2"}, {"keep.example", "k3"}}},
                          Case{"cancelled: rolled back", mostGo, true, Outcome::cancelled, mostGo}}) {
        const std::string path = this->world.path("munch" + std::to_string(++n) + ".sqlite");
        this->world.makeStore(path, platform::CookieTable::chromium, c.rows);
        platform::Cancellation cancellation;
        {
            platform::CookieStoreOpening opening =
                this->databases().Open(path, platform::CookieTable::chromium, cancellation);
            ASSERT_EQ(opening.state, platform::CookieStoreState::opened) << c.name;
            if (c.cancelled)
                cancellation.Cancel();
            EXPECT_EQ(opening.store->Munch(keeps), c.outcome) << c.name;
        }
        // Closed once dropped: the store is read from outside and opened again.
        EXPECT_EQ(this->sorted(this->world.rows(path)), this->sorted(c.left)) << c.name;
        platform::Cancellation again;
        EXPECT_EQ(this->databases().Open(path, platform::CookieTable::chromium, again).state,
                  platform::CookieStoreState::opened)
            << c.name;
    }
}

TYPED_TEST_P(CookieDatabaseContract, PermissionsAreReadAsStoredWithoutWritingOrWaiting)
{
    using platform::CookieStoreState;
    const std::vector<platform::CookiePermission> rows = {{"https://keep.example", 1, 0, 0},
                                                          {"https://gone.example^userContextId=2", 2, 2, 17000}};
    // How a file is made: a database in a journal mode (or none), then changed.
    enum class Then { stays, damaged, held, text, cookies, missing };
    const std::tuple<const char*, const char*, Then, CookieStoreState> cases[] = {
        {"with a rollback journal", "DELETE", Then::stays, CookieStoreState::opened},
        {"in write-ahead mode, its log gone", "WAL", Then::stays, CookieStoreState::opened},
        {"damaged", "DELETE", Then::damaged, CookieStoreState::notCookies},
        {"held by its browser", "DELETE", Then::held, CookieStoreState::busy},
        {"a text file", nullptr, Then::text, CookieStoreState::notCookies},
        {"a cookie store", nullptr, Then::cookies, CookieStoreState::notCookies},
        {"missing", nullptr, Then::missing, CookieStoreState::busy},
    };
    int n = 0;
    for (const auto& [name, journal, then, expected] : cases) {
        const std::string path = this->world.path("permissions" + std::to_string(++n) + ".sqlite");
        if (journal)
            this->world.makePermissions(path, rows, journal);
        if (then == Then::damaged)
            this->world.damage(path);
        else if (then == Then::held)
            this->world.hold(path);
        else if (then == Then::text)
            this->world.makeFile(path, "origin=https://keep.example\n");
        else if (then == Then::cookies)
            this->world.makeStore(path, platform::CookieTable::mozilla, {});
        const platform::CookiePermissionsReading reading = this->databases().ReadCookiePermissions(path);
        EXPECT_EQ(reading.state, expected) << name;
        EXPECT_EQ(reading.rows, expected == CookieStoreState::opened ? rows : decltype(rows){}) << name;
        for (const char* beside : {"-journal", "-wal", "-shm"})
            EXPECT_FALSE(this->world.exists(path + beside)) << name << beside;
    }
}

REGISTER_TYPED_TEST_SUITE_P(CookieDatabaseContract, OpeningTellsAStoreFromABusyOneAndFromWhatHoldsNoCookies,
                            AMunchDeletesTheRowsNotKeptInOneCommitOrNothingWhenCancelled,
                            PermissionsAreReadAsStoredWithoutWritingOrWaiting);
