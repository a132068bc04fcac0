// The site-data store service: a browser's stores of site data that are
// databases (SQLite files, LevelDB folders), read and changed only through the
// library that writes them, never by hand. Runs on the store worker thread only
// (one thread uses SQLite and LevelDB at a time); a store is opened for one
// munch and closed when dropped. Nothing here throws.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class SiteStoreKind {
    mozillaLocalStorage,    // webappsstore.sqlite: table webappsstore2, rows per originKey
    mozillaQuotaCache,      // storage.sqlite: the quota manager's cache of origins (table cache, flag valid)
    chromiumQuotaManager,   // WebStorage/QuotaManager: table buckets (id, storage_key, host)
    chromiumLocalStorage,   // Local Storage/leveldb: one LevelDB folder, keys carry the origin
    chromiumSessionStorage, // Session Storage: one LevelDB folder (namespace-<id>-<origin> -> map id; map-<id>-<key>)
    chromiumServiceWorker,  // Service Worker/Database: one LevelDB folder, registrations by origin (REG:<origin>...);
                            // only read: its Delete changes nothing and says so (ok = false)
};

// An origin's name exactly as the store holds it, read by the program's origin
// parser (not here): webappsstore's originKey followed by its originAttributes
// ("moc.elpmaxe.:https:443", "moc.elpmaxe.:https:443^userContextId=1"), a
// bucket's storage_key ("https://example.com/", "https://a.example/^0https://b.example"),
// the origin part of a LevelDB key ("https://example.com", "chrome-extension://<id>").
// An entry whose origin cannot be read is listed as the empty name: never web,
// so a store holding one is never emptied whole.
using SiteOriginName = std::string;

enum class SiteStoreState {
    opened,   // there to read and change
    busy,     // held by another program, absent, or not to be had now: left alone, tried again later
    notStore, // of another shape, or damaged: left alone, never munched by hand
};

// Runs a store's last step, the one that makes its change last (a commit, a
// synced write), unless the work has been stopped; false when stopped or when
// the step fails. Only that step runs under it: what comes before (finding the
// rows) and after (a compaction, the close) runs outside.
using LastStep = std::function<bool(const std::function<bool()>& step)>;

struct SiteDeletion {
    bool ok = false;                  // false: nothing changed (the whole write rolled back)
    std::vector<SiteOriginName> gone; // the origins whose entries went, each once
    std::vector<std::string> buckets; // chromiumQuotaManager: the ids of the buckets whose rows went
};

class ISiteStore {
public:
    virtual ~ISiteStore() = default;

    // Every origin with entries in the store, each once, web or not, as they
    // stood at the opening. mozillaQuotaCache lists none: it holds no site's
    // data, only the browser's count of it.
    virtual const std::vector<SiteOriginName>& Origins() const = 0;

    // chromiumQuotaManager: the id of every bucket as it stood at the opening
    // (each names a folder beside the store); the other kinds list none.
    virtual const std::vector<std::string>& Buckets() const = 0;

    // Deletes every entry of each origin goes() says goes, all in one
    // transaction (SQLite, with secure_delete) or one synced write batch
    // (LevelDB), and makes it last through lastStep; every other entry stays
    // as it was. A LevelDB store then compacts the deleted keys' range, so
    // that no going value is left in its files, and closes. Called at most
    // once per opening. mozillaQuotaCache: marks the cache invalid (valid = 0)
    // whatever goes() says, and lists nothing as gone.
    virtual SiteDeletion Delete(const std::function<bool(const SiteOriginName&)>& goes, const LastStep& lastStep) = 0;
};

struct SiteStoreOpening {
    SiteStoreState state = SiteStoreState::busy;
    std::unique_ptr<ISiteStore> store; // set when opened
};

class ISiteStores {
public:
    virtual ~ISiteStores() = default;

    // path: the file (SQLite kinds) or the folder (LevelDB kinds), the
    // program's ANSI path. Never creates a store, never waits for a lock.
    virtual SiteStoreOpening Open(SiteStoreKind kind, const std::string& path) = 0;

    // Whether a browser holds its profile's lock file (the program's ANSI path)
    // open without letting it be deleted, as it does while it runs: asked
    // right before a store is opened. False where the platform has no such hold.
    virtual bool LockHeld(const std::string& path) = 0;
};

} // namespace platform
