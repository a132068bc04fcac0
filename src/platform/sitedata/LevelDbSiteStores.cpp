// Chromium's site-data stores that are LevelDB databases, read and changed through LevelDB only.
#include "platform/sitedata/LevelDbSiteStores.h"

#include "platform/sqlite/SqliteConnection.h"

#include "platform/sitedata/UnwrittenLevelDbEnv.h"

#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/write_batch.h>

#include <cstdarg>
#include <map>
#include <set>
#include <string_view>


namespace platform {
namespace {

// What a key of a store is: an entry of an origin (the empty name when its origin cannot be read), the store's
// own bookkeeping, or the key that says which kind of store it is.
struct KeyReading {
    enum Role { entry, bookkeeping, version } role = entry;
    std::string origin;
    // When not empty, every key from this one up to skipTo is of the same origin, or bookkeeping too.
    std::string skipTo;
};

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The text of key from `from` to the first `stop` after it; none when there is no stop.
std::string upTo(std::string_view key, std::size_t from, char stop)
{
    const std::size_t end = key.find(stop, from);
    return end == std::string_view::npos ? std::string() : std::string(key.substr(from, end - from));
}

// The first key after every key that begins with prefix (whose last byte is never 0xff here).
std::string pastPrefix(std::string prefix)
{
    prefix.back() = static_cast<char>(prefix.back() + 1);
    return prefix;
}

// Local Storage: "_<origin>\0<key>" per item, "META:<origin>" and "METAACCESS:<origin>" per origin, "VERSION".
KeyReading readLocalStorageKey(std::string_view key)
{
    if (key == "VERSION")
        return {KeyReading::version, {}, {}};
    if (startsWith(key, "_")) {
        const std::size_t end = key.find('\0');
        if (end == std::string_view::npos)
            return {};
        const std::string origin(key.substr(1, end - 1));
        return {KeyReading::entry, origin, "_" + origin + '\x01'};
    }
    for (const std::string_view prefix : {"META:", "METAACCESS:"})
        if (startsWith(key, prefix))
            return {KeyReading::entry, std::string(key.substr(prefix.size())), {}};
    return {};
}

// Session Storage: "namespace-<id>-<origin>" -> a map's number, "map-<number>-<key>" per item, "version",
// "next-map-id". A map's items are its namespace entries' origin's.
KeyReading readSessionStorageKey(std::string_view key)
{
    if (key == "version")
        return {KeyReading::version, {}, {}};
    if (key == "next-map-id")
        return {KeyReading::bookkeeping, {}, {}};
    constexpr std::string_view namespacePrefix = "namespace-";
    if (startsWith(key, namespacePrefix)) {
        const std::size_t end = key.find('-', namespacePrefix.size());
        const std::string origin = end == std::string_view::npos ? std::string() : std::string(key.substr(end + 1));
        return {KeyReading::entry, origin, {}};
    }
    if (startsWith(key, "map-")) {
        const std::string map = upTo(key, 4, '-');
        return {KeyReading::bookkeeping, {}, map.empty() ? std::string() : "map-" + map + "."};
    }
    return {};
}

// The service workers' registrations: "REG:<origin>\0<id>", "INITDATA_UNIQUE_ORIGIN:<origin>", and records kept
// by registration or resource number ("REGID_TO_ORIGIN:", "RES:", ...) and counters ("INITDATA_...").
KeyReading readServiceWorkerKey(std::string_view key)
{
    if (key == "INITDATA_DB_VERSION")
        return {KeyReading::version, {}, {}};
    if (startsWith(key, "REG:"))
        return {KeyReading::entry, upTo(key, 4, '\0'), {}};
    constexpr std::string_view uniqueOrigin = "INITDATA_UNIQUE_ORIGIN:";
    if (startsWith(key, uniqueOrigin))
        return {KeyReading::entry, std::string(key.substr(uniqueOrigin.size())), {}};
    if (startsWith(key, "INITDATA_"))
        return {KeyReading::bookkeeping, {}, {}};
    for (const std::string_view prefix : {"REGID_TO_ORIGIN:", "RES:", "URES:", "PRES:", "REG_USER_DATA:",
                                          "REG_HAS_USER_DATA:"})
        if (startsWith(key, prefix))
            return {KeyReading::bookkeeping, {}, pastPrefix(std::string(prefix))};
    return {};
}

KeyReading readKey(SiteStoreKind kind, std::string_view key)
{
    switch (kind) {
    case SiteStoreKind::chromiumLocalStorage:
        return readLocalStorageKey(key);
    case SiteStoreKind::chromiumSessionStorage:
        return readSessionStorageKey(key);
    default:
        return readServiceWorkerKey(key);
    }
}

std::string_view viewOf(const leveldb::Slice& slice) { return {slice.data(), slice.size()}; }

// LevelDB writes a log of its own beside a database it opens unless it is given one: this one keeps nothing, so
// that the browser's log files stay as they were.
class SilentLog final : public leveldb::Logger {
public:
    void Logv(const char*, std::va_list) override {}
};

class LevelDbSiteStore final : public ISiteStore {
public:
    explicit LevelDbSiteStore(SiteStoreKind kind) : kind_(kind) {}

    SiteStoreState open(const std::string& path)
    {
        leveldb::Options options;
        options.create_if_missing = false;
        options.paranoid_checks = true;
        options.info_log = &log_;
        // The service workers' store is only read: never written, not even by its opening.
        if (kind_ == SiteStoreKind::chromiumServiceWorker)
            options.env = &unwritten_;
        leveldb::DB* db = nullptr;
        const leveldb::Status status = leveldb::DB::Open(options, path, &db);
        if (!status.ok())
            return status.IsIOError() ? SiteStoreState::busy : SiteStoreState::notStore;
        db_.reset(db);
        return readOrigins() ? SiteStoreState::opened : SiteStoreState::notStore;
    }

    const std::vector<SiteOriginName>& Origins() const override { return origins_; }

    const std::vector<std::string>& Buckets() const override { return noBuckets_; }

    SiteDeletion Delete(const std::function<bool(const SiteOriginName&)>& goes, const LastStep& lastStep) override
    {
        SiteDeletion deletion;
        // The service workers' store is only read; a store deletes once.
        if (!db_ || kind_ == SiteStoreKind::chromiumServiceWorker)
            return deletion;
        std::set<std::string> going;
        for (const SiteOriginName& origin : origins_)
            if (!origin.empty() && goes(origin))
                going.insert(origin);
        DeletedKeys batch;
        const bool scanned = kind_ == SiteStoreKind::chromiumLocalStorage ? deleteLocalStorage(going, batch)
                                                                           : deleteSessionStorage(going, batch);
        leveldb::WriteOptions durable;
        durable.sync = true;
        if (scanned && (going.empty() || lastStep([&] { return db_->Write(durable, &batch.keys).ok(); }))) {
            deletion.ok = true;
            deletion.gone.assign(going.begin(), going.end());
            // The values stay in the tables (and the log) beside the tombstones until compacted away.
            if (!going.empty()) {
                const leveldb::Slice first(batch.first), last(batch.last);
                db_->CompactRange(&first, &last);
            }
        }
        db_.reset();
        return deletion;
    }

private:
    static leveldb::ReadOptions scanning()
    {
        leveldb::ReadOptions options;
        options.verify_checksums = true;
        options.fill_cache = false; // each block is read once
        return options;
    }

    // Lists each origin once, and for Session Storage its namespace entries; false when the store is not of its
    // kind (no key says so) or cannot be read whole.
    bool readOrigins()
    {
        std::set<std::string> origins;
        bool versioned = false;
        const std::unique_ptr<leveldb::Iterator> keys(db_->NewIterator(scanning()));
        for (keys->SeekToFirst(); keys->Valid();) {
            const KeyReading reading = readKey(kind_, viewOf(keys->key()));
            versioned = versioned || reading.role == KeyReading::version;
            if (reading.role == KeyReading::entry) {
                origins.insert(reading.origin);
                if (kind_ == SiteStoreKind::chromiumSessionStorage && !reading.origin.empty())
                    namespaces_.push_back({keys->key().ToString(), reading.origin, keys->value().ToString()});
            }
            if (reading.skipTo.empty())
                keys->Next();
            else
                keys->Seek(reading.skipTo);
        }
        origins_.assign(origins.begin(), origins.end());
        return keys->status().ok() && versioned;
    }

    // A batch of deletes, and the range of keys it spans.
    struct DeletedKeys {
        leveldb::WriteBatch keys;
        std::string first, last;
        bool any = false;
        void Delete(const leveldb::Slice& key)
        {
            keys.Delete(key);
            if (!any || key.compare(first) < 0)
                first = key.ToString();
            if (!any || key.compare(last) > 0)
                last = key.ToString();
            any = true;
        }
    };

    // Every key that begins with prefix goes into the batch.
    bool deleteAllFrom(const std::string& prefix, DeletedKeys& batch)
    {
        const std::unique_ptr<leveldb::Iterator> keys(db_->NewIterator(scanning()));
        for (keys->Seek(prefix); keys->Valid() && startsWith(viewOf(keys->key()), prefix); keys->Next())
            batch.Delete(keys->key());
        return keys->status().ok();
    }

    bool deleteLocalStorage(const std::set<std::string>& going, DeletedKeys& batch)
    {
        for (const std::string& origin : going) {
            if (!deleteAllFrom("_" + origin + '\0', batch))
                return false;
            batch.Delete("META:" + origin);
            batch.Delete("METAACCESS:" + origin);
        }
        return true;
    }

    // A going origin's namespace entries go; a map goes with them unless an entry that stays still names it.
    bool deleteSessionStorage(const std::set<std::string>& going, DeletedKeys& batch)
    {
        std::map<std::string, bool> mapsGo;
        for (const Namespace& entry : namespaces_) {
            const bool goes = going.count(entry.origin) != 0;
            if (goes)
                batch.Delete(entry.key);
            const auto [map, added] = mapsGo.emplace(entry.map, goes);
            if (!added)
                map->second = map->second && goes;
        }
        for (const auto& [map, goes] : mapsGo) {
            const bool number = !map.empty() && map.find_first_not_of("0123456789") == std::string::npos;
            if (goes && number && !deleteAllFrom("map-" + map + "-", batch))
                return false;
        }
        return true;
    }

    struct Namespace {
        std::string key, origin, map;
    };

    SiteStoreKind kind_;
    SilentLog log_; // outlives the database
    UnwrittenLevelDbEnv unwritten_{leveldb::Env::Default()}; // so does this
    std::unique_ptr<leveldb::DB> db_;
    std::vector<SiteOriginName> origins_;
    std::vector<Namespace> namespaces_;
    const std::vector<std::string> noBuckets_;
};

} // namespace

SiteStoreOpening OpenLevelDbSiteStore(SiteStoreKind kind, const std::string& folder)
{
    // LevelDB takes UTF-8 paths on Windows, as SQLite does; the program's are ANSI text.
    const std::optional<std::string> path = sqlite::EnginePath(folder);
    // LevelDB makes the folder of a database it opens: one without CURRENT is left for its browser to make.
    if (!path || !leveldb::Env::Default()->FileExists(*path + "/CURRENT"))
        return {SiteStoreState::busy, nullptr};
    auto store = std::make_unique<LevelDbSiteStore>(kind);
    const SiteStoreState state = store->open(*path);
    if (state != SiteStoreState::opened)
        return {state, nullptr};
    return {state, std::move(store)};
}

} // namespace platform
