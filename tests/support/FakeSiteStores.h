// Site-data stores as entries in memory, over the fake file system: a store is
// a file (SQLite kinds) or a folder (LevelDB kinds) there, made by addStore,
// whose entries (origin name, value) this fake keeps; a bucket's value is its
// id. Opening a missing path or a store set busy gives busy; a path with no
// store, or one of another kind, is no store. Logs "Open" (kind, path) and
// "Delete"; a failing Open gives busy, a failing Delete changes nothing.
#pragma once

#include "platform/SiteDataStore.h"
#include "support/FakeFileSystem.h"
#include "support/FakeService.h"

#include <map>

class FakeSiteStores final : public platform::ISiteStores, public FakeService {
public:
    struct Entry {
        std::string origin;
        std::string value;
        bool operator==(const Entry&) const = default;
    };

    explicit FakeSiteStores(FakeFileSystem& files) : files_(files) {}

    platform::SiteStoreOpening Open(platform::SiteStoreKind kind, const std::string& path) override;

    // Makes the store's file or folder (when missing) and its entries.
    void addStore(platform::SiteStoreKind kind, const std::string& path, std::vector<Entry> entries);
    // A store its browser holds: opening it gives busy.
    void setBusy(const std::string& path, bool busy);
    std::vector<Entry> entries(const std::string& path) const;
    // The quota cache's flag: false once marked stale.
    bool cacheValid(const std::string& path) const;
    // Stores open now.
    int openStores() const { return open_; }

private:
    struct Store {
        platform::SiteStoreKind kind;
        std::vector<Entry> entries;
        bool busy = false;
        bool cacheValid = true;
    };
    class OpenStore;
    const Store* find(const std::string& path) const;

    FakeFileSystem& files_;
    std::map<std::string, Store> stores_; // by path in lower case
    int open_ = 0;
};
