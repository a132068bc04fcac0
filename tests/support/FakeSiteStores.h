// Site-data stores as entries in memory, over the fake file system: a store is
// a file (SQLite kinds) or a folder (LevelDB kinds) there, made by addStore,
// whose entries (origin name, value) this fake keeps; a bucket's value is its
// id. Opening a missing path or a store set busy gives busy; a path with no
// store, or one of another kind, is no store; a LevelDB one without CURRENT is busy. Logs "Open" (kind, path),
// "Delete" and "LockHeld"; a failing Open gives busy, a failing Delete changes
// nothing. beforeLastStep, when set, runs on the deleting thread right before
// a delete's last step (a browser or the user acting then).
#pragma once

#include "platform/PathText.h"
#include "platform/SiteDataStore.h"
#include "support/FakeFileSystem.h"
#include "support/FakeService.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

class FakeSiteStores final : public platform::ISiteStores, public FakeService {
public:
    using Kind = platform::SiteStoreKind;
    using Entry = std::pair<std::string, std::string>; // origin name, value
    struct Store {
        Kind kind;
        std::vector<Entry> entries;
        bool busy = false;       // its browser holds it
        bool cacheValid = true;  // the quota cache's flag
    };

    explicit FakeSiteStores(FakeFileSystem& files) : files_(files) {}

    platform::SiteStoreOpening Open(Kind kind, const std::string& path) override
    {
        platform::SiteStoreOpening opening;
        if (record("Open", {std::to_string(static_cast<int>(kind)), path}) || !files_.exists(path))
            return opening;
        Store* store = find(path);
        if (store && (store->busy || (isLevelDb(store->kind) && !files_.exists(path + "\\CURRENT"))))
            return opening;
        opening.state = store && store->kind == kind ? platform::SiteStoreState::opened : platform::SiteStoreState::notStore;
        if (opening.state == platform::SiteStoreState::opened)
            opening.store = std::make_unique<OpenStore>(*this, *store);
        return opening;
    }

    // Makes the store's file or folder (when missing) and its entries.
    Store& addStore(Kind kind, const std::string& path, std::vector<Entry> entries)
    {
        if (!files_.exists(path))
            isLevelDb(kind) ? files_.addFile(path + "\\CURRENT", "MANIFEST-000001\n") : files_.addFile(path, "SQLite format 3");
        return stores_[platform::asciiLowered(path)] = {kind, std::move(entries)};
    }
    Store* find(const std::string& path)
    {
        auto it = stores_.find(platform::asciiLowered(path));
        return it == stores_.end() ? nullptr : &it->second;
    }
    int openStores() const { return open_; }

    bool LockHeld(const std::string& path) override
    {
        record("LockHeld", {path});
        return heldLocks.count(platform::asciiLowered(path)) != 0;
    }
    std::set<std::string> heldLocks; // lock files' paths in lower case
    std::function<void()> beforeLastStep;

private:
    static bool isLevelDb(Kind kind)
    {
        return kind == Kind::chromiumLocalStorage || kind == Kind::chromiumSessionStorage ||
               kind == Kind::chromiumServiceWorker;
    }

    class OpenStore final : public platform::ISiteStore {
    public:
        OpenStore(FakeSiteStores& owner, Store& store) : owner_(owner), store_(store)
        {
            ++owner_.open_;
            if (store.kind != Kind::mozillaQuotaCache)
                for (const Entry& entry : store.entries) {
                    if (std::find(origins_.begin(), origins_.end(), entry.first) == origins_.end())
                        origins_.push_back(entry.first);
                    if (store.kind == Kind::chromiumQuotaManager)
                        buckets_.push_back(entry.second);
                }
        }
        ~OpenStore() override { --owner_.open_; }
        const std::vector<platform::SiteOriginName>& Origins() const override { return origins_; }
        const std::vector<std::string>& Buckets() const override { return buckets_; }
        platform::SiteDeletion Delete(const std::function<bool(const platform::SiteOriginName&)>& goes,
                                      const platform::LastStep& lastStep) override
        {
            platform::SiteDeletion deletion;
            if (owner_.record("Delete") || deleted_ || store_.kind == Kind::chromiumServiceWorker)
                return deletion;
            deleted_ = true;
            if (owner_.beforeLastStep)
                owner_.beforeLastStep();
            if (!lastStep([] { return true; }))
                return deletion;
            deletion.ok = true;
            store_.cacheValid = store_.cacheValid && store_.kind != Kind::mozillaQuotaCache;
            std::erase_if(store_.entries, [&](const Entry& entry) {
                const bool gone = store_.kind != Kind::mozillaQuotaCache && goes(entry.first);
                if (gone && std::find(deletion.gone.begin(), deletion.gone.end(), entry.first) == deletion.gone.end())
                    deletion.gone.push_back(entry.first);
                if (gone && store_.kind == Kind::chromiumQuotaManager)
                    deletion.buckets.push_back(entry.second);
                return gone;
            });
            return deletion;
        }

    private:
        FakeSiteStores& owner_;
        Store& store_;
        std::vector<platform::SiteOriginName> origins_;
        std::vector<std::string> buckets_;
        bool deleted_ = false;
    };

    FakeFileSystem& files_;
    std::map<std::string, Store> stores_; // by path in lower case
    int open_ = 0;
};
