// Cookie databases as rows in memory, over the fake file system: a store is a
// file there (made by addStore) whose rows this fake keeps. Opening a missing
// file, a store set busy, or a cancelled opening gives busy; a file with no rows registered, or of
// the other browser's kind, is no cookie database. Each open store is one
// transaction: its deletes show only once committed. Logs "Open" (path, kind),
// "Munch" and "Commit"; a failing Open gives busy, a failing Munch or Commit
// leaves the store as it was. A host's last use is its latest row's.
// Permission databases are files of their own (addPermissions), read by
// ReadCookiePermissions (logged with the path; failing, it gives busy) and
// opened as no cookie database.
#pragma once

#include "platform/CookieDatabase.h"
#include "support/FakeFileSystem.h"
#include "support/FakeService.h"

#include <atomic>
#include <functional>
#include <map>
#include <optional>

class FakeCookieDatabases final : public platform::ICookieDatabases, public FakeService {
public:
    struct Row {
        std::string host;
        std::string value;
        std::int64_t lastUsed = 0;
        bool operator==(const Row&) const = default;
    };

    explicit FakeCookieDatabases(FakeFileSystem& files) : files_(files) {}

    platform::CookieStoreOpening Open(const std::string& path, platform::CookieTable table,
                                      platform::Cancellation& cancellation) override;
    platform::CookiePermissionsReading ReadCookiePermissions(const std::string& path) override;

    // Makes the store's file (when missing) and its rows.
    void addStore(const std::string& path, platform::CookieTable table, std::vector<Row> rows);
    // Makes a permissions database's file (when missing) and its cookie rows.
    void addPermissions(const std::string& path, std::vector<platform::CookiePermission> rows);
    // A store another program holds: opening it gives busy.
    void setBusy(const std::string& path, bool busy);
    // The committed rows of a store.
    std::vector<Row> rows(const std::string& path) const;
    // A store that can be read but not changed (an index on a function the engine lacks).
    void setUnchangeable(const std::string& path);
    // A store whose munch fails every time (a full disk, a journal that cannot be made).
    void setFailing(const std::string& path, bool failing);
    // Stores open now.
    int openStores() const { return open_.load(); }
    // Called on the thread that munches as a munch starts ("Munch") and inside
    // its commit ("Commit"): a test's moments during a munch.
    std::function<void(std::string_view step)> during;

private:
    struct Store {
        platform::CookieTable table;
        std::vector<Row> rows;
        bool busy = false;
        bool unchangeable = false;
        bool failing = false;
        std::optional<std::vector<platform::CookiePermission>> permissions; // a permissions database's
    };
    class OpenStore;
    Store* find(const std::string& path);

    FakeFileSystem& files_;
    std::map<std::string, Store> stores_; // by path in lower case
    std::atomic<int> open_{0};
};
