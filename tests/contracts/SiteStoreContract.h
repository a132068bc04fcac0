// What every site-data store service promises, run against each implementation.
// A world gives the service, makes stores of every kind, gives paths in a folder of
// its own, and arranges stores from outside: makeStore (a store of a kind with
// entries of origin name and value; a bucket's value is its id), makeDamaged (a
// file or folder of the kind's medium that is no store), strangerTo (a kind
// whose store is no store of the kind given), hold (the browser holds it),
// entries (what a store holds, read from outside) and cacheValid (the quota
// cache's flag).
#pragma once

#include "contracts/WorldNames.h"
#include "platform/SiteDataStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

using SiteEntries = std::vector<std::pair<std::string, std::string>>; // origin name, value

inline const platform::SiteStoreKind everySiteStoreKind[] = {
    platform::SiteStoreKind::mozillaLocalStorage,    platform::SiteStoreKind::mozillaQuotaCache,
    platform::SiteStoreKind::chromiumQuotaManager,   platform::SiteStoreKind::chromiumLocalStorage,
    platform::SiteStoreKind::chromiumSessionStorage, platform::SiteStoreKind::chromiumServiceWorker};

template <typename World>
class SiteStoreContract : public testing::Test {
protected:
    template <typename T>
    static std::vector<T> sorted(std::vector<T> items)
    {
        std::sort(items.begin(), items.end());
        return items;
    }
    std::string pathFor(platform::SiteStoreKind kind, const std::string& what)
    {
        return world.path(what + std::to_string(static_cast<int>(kind)) + "-" + std::to_string(++made_));
    }
    World world;

private:
    int made_ = 0;
};

TYPED_TEST_SUITE_P(SiteStoreContract);

TYPED_TEST_P(SiteStoreContract, OpeningTellsAStoreFromABusyOneAndFromOneOfAnotherShape)
{
    using platform::SiteStoreKind;
    using platform::SiteStoreState;
    const SiteEntries entries = {{"https://a.example/", "1"}, {"https://b.example/", "2"}, {"https://a.example/", "3"}};
    enum Made { itsStore, anotherKinds, noStore, missing, held };
    const std::pair<Made, SiteStoreState> cases[] = {{itsStore, SiteStoreState::opened},
                                                     {anotherKinds, SiteStoreState::notStore},
                                                     {noStore, SiteStoreState::notStore},
                                                     {missing, SiteStoreState::busy},
                                                     {held, SiteStoreState::busy}};
    for (const SiteStoreKind kind : everySiteStoreKind) {
        for (const auto& [made, expected] : cases) {
            const std::string path = this->pathFor(kind, "open");
            if (made == itsStore || made == held)
                this->world.makeStore(kind, path, entries);
            if (made == held)
                this->world.hold(kind, path); // as its browser does
            if (made == anotherKinds)
                this->world.makeStore(this->world.strangerTo(kind), path, entries);
            if (made == noStore)
                this->world.makeDamaged(kind, path);
            const platform::SiteStoreOpening opening = this->world.stores().Open(kind, path);
            const std::string label = "case " + std::to_string(made) + ", kind " + std::to_string(static_cast<int>(kind));
            EXPECT_EQ(opening.state, expected) << label;
            ASSERT_EQ(opening.store != nullptr, expected == SiteStoreState::opened) << label;
            if (opening.store && kind != SiteStoreKind::mozillaQuotaCache) {
                EXPECT_EQ(this->sorted(opening.store->Origins()),
                          (std::vector<std::string>{"https://a.example/", "https://b.example/"}))
                    << label;
                EXPECT_EQ(this->sorted(opening.store->Buckets()), kind == SiteStoreKind::chromiumQuotaManager
                                                                      ? (std::vector<std::string>{"1", "2", "3"})
                                                                      : std::vector<std::string>{})
                    << label;
            }
        }
    }
}

TYPED_TEST_P(SiteStoreContract, DeleteTakesEveryEntryOfTheOriginsThatGoAndLeavesTheRestAsItWas)
{
    using platform::SiteStoreKind;
    const SiteEntries entries = {{"https://a.example/", "1"},  {"https://keep.example/", "2"},
                                 {"https://a.example/", "3"},  {"chrome-extension://id/", "4"},
                                 {"https://c.example/", "5"}};
    const std::set<std::string> going = {"https://a.example/", "https://c.example/"};
    const auto goes = [&](const std::string& origin) { return going.count(origin) != 0; };
    // A stop that comes before the last step leaves the store as it was.
    for (const bool stopped : {false, true})
        for (const SiteStoreKind kind : everySiteStoreKind) {
            const std::string label = "kind " + std::to_string(static_cast<int>(kind)) + (stopped ? ", stopped" : "");
            const std::string path = this->pathFor(kind, "delete");
            this->world.makeStore(kind, path, entries);
            const platform::LastStep lastStep = [&](const std::function<bool()>& step) { return !stopped && step(); };
            {
                platform::SiteStoreOpening opening = this->world.stores().Open(kind, path);
                ASSERT_TRUE(opening.store) << label;
                const platform::SiteDeletion deletion = opening.store->Delete(goes, lastStep);
                // The service worker's store is only read; the quota cache is only marked stale.
                const bool changes = kind != SiteStoreKind::chromiumServiceWorker && !stopped;
                const bool deletes = changes && kind != SiteStoreKind::mozillaQuotaCache;
                EXPECT_EQ(deletion.ok, changes) << label;
                EXPECT_EQ(this->sorted(deletion.gone), deletes ? std::vector<std::string>(going.begin(), going.end())
                                                               : std::vector<std::string>{})
                    << label;
                EXPECT_EQ(this->sorted(deletion.buckets), deletes && kind == SiteStoreKind::chromiumQuotaManager
                                                              ? (std::vector<std::string>{"1", "3", "5"})
                                                              : std::vector<std::string>{})
                    << label;
                EXPECT_FALSE(opening.store->Delete(goes, lastStep).ok) << label << ": a second delete";
            }
            // Closed once dropped: read from outside, and opened again.
            SiteEntries left = entries;
            if (kind == SiteStoreKind::mozillaQuotaCache)
                EXPECT_EQ(this->world.cacheValid(path), stopped) << label;
            else if (kind != SiteStoreKind::chromiumServiceWorker && !stopped)
                std::erase_if(left, [&](const auto& entry) { return goes(entry.first); });
            EXPECT_EQ(this->sorted(this->world.entries(kind, path)), this->sorted(left)) << label;
            EXPECT_EQ(this->world.stores().Open(kind, path).state, platform::SiteStoreState::opened) << label;
        }
}

REGISTER_TYPED_TEST_SUITE_P(SiteStoreContract, OpeningTellsAStoreFromABusyOneAndFromOneOfAnotherShape,
                            DeleteTakesEveryEntryOfTheOriginsThatGoAndLeavesTheRestAsItWas);
