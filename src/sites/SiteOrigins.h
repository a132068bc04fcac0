// The origins of a browser's site data, read from the names the browsers give
// them: Firefox's origin folders and webappsstore keys, Chromium's IndexedDB
// folders and storage keys. A name that does not read as an origin gives
// nothing, and what it names is left alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where a name comes from, which says how it is spelled.
enum class TOriginNaming {
    onMozillaFolder,     // storage/default/<name>: "https+++www.example.com^userContextId=1"
    onMozillaKey,        // webappsstore: originKey and originAttributes, "moc.elpmaxe.:https:443^userContextId=1"
    onChromiumIndexedDb, // IndexedDB/<name>: "https_www.example.com_0.indexeddb.leveldb" (or ".indexeddb.blob")
    onStorageKey,        // a storage key or origin: "https://example.com/", "https://a.example/^0https://b.example"
    onCacheIndex,        // the bytes of a Cache API index (Service Worker/CacheStorage/<hash>/index.txt)
};

struct TSiteOrigin {
    std::string Scheme;       // lower case: "https", "moz-extension", "file", ...
    std::string Host;         // as named; empty for a file origin
    std::uint16_t Port = 0;   // 0: the scheme's own
    std::string TopLevelHost; // storage partitioned under another site: that site's host
    bool operator==(const TSiteOrigin&) const = default;

    // A web site's origin (http or https with a host): the only site data there is.
    bool Web() const;
};

// The origin a name stands for; nothing when the name does not read as one.
std::optional<TSiteOrigin> ReadSiteOrigin(TOriginNaming naming, std::string_view name);
