// Real site-data stores made and read from outside the service, with the
// libraries themselves, in the browsers' own shapes; and the site-store
// contract's world over them, in a folder its subclass names.
#pragma once

#include "contracts/SiteStoreContract.h"
#include "platform/sitedata/SiteDataStores.h"
#include "support/LevelDbStoreFiles.h"
#include "support/SqliteStores.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace site_store_files {

using platform::SiteStoreKind;
using sqlite_stores::Db;

// The browsers' own table shapes, as Firefox 153 and Chromium 156 made them (tests/data/browsers);
// the row an entry makes (?1 its origin, ?2 its value: the quota cache lists
// it among its origins, a bucket takes it as its id); and the entries read back.
struct Shape {
    const char* schema;
    const char* insert;
    const char* select;
};

inline Shape shapeOf(SiteStoreKind kind)
{
    switch (kind) {
    case SiteStoreKind::mozillaLocalStorage:
        return {"CREATE TABLE webappsstore2 (originAttributes TEXT, originKey TEXT, scope TEXT, key TEXT, value TEXT);"
                "CREATE UNIQUE INDEX origin_key_index ON webappsstore2(originAttributes, originKey, key)",
                "INSERT INTO webappsstore2 VALUES ('', ?1, ?1, 'k' || ?2, ?2)",
                "SELECT originKey || originAttributes, value FROM webappsstore2"};
    case SiteStoreKind::mozillaQuotaCache:
        return {"CREATE TABLE database( cache_version INTEGER NOT NULL DEFAULT 0);"
                "CREATE TABLE cache( valid INTEGER NOT NULL DEFAULT 0, build_id TEXT NOT NULL DEFAULT '');"
                "CREATE TABLE repository( id INTEGER PRIMARY KEY, name TEXT NOT NULL);"
                "CREATE TABLE origin( repository_id INTEGER NOT NULL, suffix TEXT, group_ TEXT NOT NULL, origin "
                "TEXT NOT NULL, client_usages TEXT NOT NULL, usage INTEGER NOT NULL, last_access_time INTEGER NOT "
                "NULL, last_maintenance_date INTEGER NOT NULL, accessed INTEGER NOT NULL, persisted INTEGER NOT "
                "NULL, PRIMARY KEY (repository_id, origin), FOREIGN KEY (repository_id) REFERENCES repository(id) );"
                "INSERT INTO database VALUES (2); INSERT INTO cache VALUES (1, '20261117185949');"
                "INSERT INTO repository VALUES (2, 'default')",
                "INSERT INTO origin VALUES (?2, '', ?1, ?1, '', 0, 0, 0, 1, 0)", "SELECT origin, repository_id FROM origin"};
    default:
        return {"CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
                "CREATE TABLE buckets(id INTEGER PRIMARY KEY AUTOINCREMENT, storage_key TEXT NOT NULL, host TEXT "
                "NOT NULL, name TEXT NOT NULL, use_count INTEGER NOT NULL, last_accessed INTEGER NOT NULL, "
                "last_modified INTEGER NOT NULL, expiration INTEGER NOT NULL, quota INTEGER NOT NULL, persistent "
                "INTEGER NOT NULL, durability INTEGER NOT NULL) STRICT;"
                "CREATE UNIQUE INDEX buckets_by_storage_key ON buckets(storage_key, name);"
                "CREATE INDEX buckets_by_host ON buckets(host);"
                "CREATE INDEX buckets_by_last_accessed ON buckets(last_accessed);"
                "CREATE INDEX buckets_by_last_modified ON buckets(last_modified);"
                "CREATE INDEX buckets_by_expiration ON buckets(expiration)",
                "INSERT INTO buckets VALUES (?2, ?1, ?1, 'b' || ?2, 0, 0, 0, 0, 0, 0, 0)",
                "SELECT storage_key, id FROM buckets"};
    }
}

inline void makeSqliteStore(SiteStoreKind kind, const std::string& path, const SiteEntries& entries)
{
    Db db(path);
    db.exec(std::string("PRAGMA secure_delete=ON;") + shapeOf(kind).schema);
    for (const auto& [origin, value] : entries) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db.db, shapeOf(kind).insert, -1, &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, origin.data(), static_cast<int>(origin.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string("insert: ") + sqlite3_errmsg(db.db));
    }
}

// The contract's world on the real stores, in the folder a subclass gives.
class RealWorld {
public:
    platform::ISiteStores& stores() { return stores_; }
    // A LevelDB kind's stranger is another LevelDB kind: the keys tell them apart.
    SiteStoreKind strangerTo(SiteStoreKind kind) const
    {
        if (leveldb_store_files::isLevelDbKind(kind))
            return kind == SiteStoreKind::chromiumLocalStorage ? SiteStoreKind::chromiumSessionStorage
                                                               : SiteStoreKind::chromiumLocalStorage;
        return kind == SiteStoreKind::chromiumQuotaManager ? SiteStoreKind::mozillaLocalStorage
                                                           : SiteStoreKind::chromiumQuotaManager;
    }
    void makeStore(SiteStoreKind kind, const std::string& path, const SiteEntries& entries)
    {
        if (leveldb_store_files::isLevelDbKind(kind))
            return leveldb_.makeStore(kind, path, entries);
        makeSqliteStore(kind, path, entries);
    }
    void makeDamaged(SiteStoreKind kind, const std::string& path)
    {
        if (leveldb_store_files::isLevelDbKind(kind))
            return leveldb_.makeDamaged(kind, path);
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fputs("SQLite format 3? no: a text file", file);
        std::fclose(file);
    }
    // Another connection holds the write lock until the world ends, as a running browser does.
    void hold(SiteStoreKind kind, const std::string& path)
    {
        if (leveldb_store_files::isLevelDbKind(kind))
            return leveldb_.hold(kind, path);
        held_.push_back(std::make_unique<Db>(path));
        held_.back()->exec("BEGIN EXCLUSIVE");
    }
    SiteEntries entries(SiteStoreKind kind, const std::string& path) const
    {
        if (leveldb_store_files::isLevelDbKind(kind))
            return leveldb_.entries(kind, path);
        return Db(path, SQLITE_OPEN_READONLY).query(shapeOf(kind).select);
    }
    bool cacheValid(const std::string& path) const
    {
        return Db(path, SQLITE_OPEN_READONLY).query("SELECT valid FROM cache").at(0).first == "1";
    }

private:
    platform::SiteDataStores stores_;
    std::vector<std::unique_ptr<Db>> held_;
    leveldb_store_files::Stores leveldb_;
};

} // namespace site_store_files
