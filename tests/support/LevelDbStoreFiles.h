// Chromium's LevelDB site-data stores made and read from outside the service, with LevelDB itself, in the shapes
// Chromium 156 gives them (tests/data/browsers/chromium); the site-store contract's real world takes its LevelDB
// kinds from here.
#pragma once

#include "contracts/SiteStoreContract.h"

#include <leveldb/db.h>
#include <leveldb/env.h>

#include <cstdarg>
#include <map>
#include <memory>
#include <stdexcept>

namespace leveldb_store_files {

using platform::SiteStoreKind;
using Keys = std::vector<std::pair<std::string, std::string>>;

inline bool isLevelDbKind(SiteStoreKind kind)
{
    return kind == SiteStoreKind::chromiumLocalStorage || kind == SiteStoreKind::chromiumSessionStorage ||
           kind == SiteStoreKind::chromiumServiceWorker;
}

// Opened as the service opens a store: without a log of LevelDB's own, so that the browser's stays as it was.
inline std::unique_ptr<leveldb::DB> openDb(const std::string& folder, bool create = false)
{
    struct SilentLog final : leveldb::Logger {
        void Logv(const char*, std::va_list) override {}
    };
    static SilentLog silent;
    leveldb::Options options;
    options.create_if_missing = create;
    options.info_log = &silent;
    leveldb::DB* db = nullptr;
    const leveldb::Status status = leveldb::DB::Open(options, folder, &db);
    if (!status.ok())
        throw std::runtime_error("LevelDB: " + status.ToString());
    return std::unique_ptr<leveldb::DB>(db);
}

inline Keys allKeys(const std::string& folder)
{
    const auto db = openDb(folder);
    Keys keys;
    const std::unique_ptr<leveldb::Iterator> it(db->NewIterator(leveldb::ReadOptions()));
    for (it->SeekToFirst(); it->Valid(); it->Next())
        keys.emplace_back(it->key().ToString(), it->value().ToString());
    return keys;
}

class Stores {
public:
    // Each entry as Chromium writes one: a Local Storage item with its origin's "META:"; a Session Storage item in
    // its origin's own map, which a namespace entry names; a service worker's registration with its
    // "REGID_TO_ORIGIN:" and "INITDATA_UNIQUE_ORIGIN:". Then the key that says which kind of store it is.
    void makeStore(SiteStoreKind kind, const std::string& folder, const SiteEntries& entries)
    {
        const auto db = openDb(folder, true);
        std::map<std::string, std::string> maps;
        for (const auto& [origin, value] : entries) {
            const std::string map = maps.emplace(origin, std::to_string(maps.size())).first->second;
            const Keys keys = kind == SiteStoreKind::chromiumLocalStorage
                                  ? Keys{{"_" + origin + '\0' + "\x01k" + value, "\x01" + value},
                                         {"META:" + origin, "\x08\x01"}}
                              : kind == SiteStoreKind::chromiumSessionStorage
                                  ? Keys{{"namespace-0c1d2e3f_0000_4000_8000_000000000001-" + origin, map},
                                         {"map-" + map + "-k" + value, value}}
                                  : Keys{{"REG:" + origin + '\0' + value, "registration"},
                                         {"REGID_TO_ORIGIN:" + value, origin},
                                         {"INITDATA_UNIQUE_ORIGIN:" + origin, ""}};
            for (const auto& [key, stored] : keys)
                db->Put(leveldb::WriteOptions(), key, stored);
        }
        const char* version = kind == SiteStoreKind::chromiumLocalStorage     ? "VERSION"
                              : kind == SiteStoreKind::chromiumSessionStorage ? "version"
                                                                              : "INITDATA_DB_VERSION";
        leveldb::WriteOptions durable;
        durable.sync = true;
        db->Put(durable, version, "1");
    }

    // A folder that reads as a database whose descriptor is damaged.
    void makeDamaged(SiteStoreKind, const std::string& folder)
    {
        leveldb::Env* env = leveldb::Env::Default();
        env->CreateDir(folder);
        leveldb::WriteStringToFile(env, "MANIFEST-000002\n", folder + "/CURRENT");
        leveldb::WriteStringToFile(env, std::string(64, '\x5a'), folder + "/MANIFEST-000002");
    }

    // The store stays open, its LOCK held, until the world ends, as a running browser holds it.
    void hold(SiteStoreKind, const std::string& folder) { held_.push_back(openDb(folder)); }

    // The entries read back as they were made.
    SiteEntries entries(SiteStoreKind kind, const std::string& folder) const
    {
        SiteEntries entries;
        const Keys keys = allKeys(folder);
        std::map<std::string, std::string> mapOrigins;
        for (const auto& [key, value] : keys)
            if (key.starts_with("namespace-"))
                mapOrigins[value] = key.substr(key.find('-', 10) + 1);
        for (const auto& [key, value] : keys) {
            const std::size_t nul = key.find('\0');
            if (kind == SiteStoreKind::chromiumLocalStorage && key[0] == '_')
                entries.emplace_back(key.substr(1, nul - 1), value.substr(1));
            else if (kind == SiteStoreKind::chromiumServiceWorker && key.starts_with("REG:"))
                entries.emplace_back(key.substr(4, nul - 4), key.substr(nul + 1));
            else if (kind == SiteStoreKind::chromiumSessionStorage && key.starts_with("map-"))
                entries.emplace_back(mapOrigins.at(key.substr(4, key.find('-', 4) - 4)), value);
        }
        return entries;
    }

private:
    std::vector<std::unique_ptr<leveldb::DB>> held_;
};

} // namespace leveldb_store_files
