// The one table of origin names as the browsers write them, and what each reads as.
#include "sites/SiteOrigins.h"

#include <gtest/gtest.h>

namespace {

using N = TOriginNaming;

struct Case {
    TOriginNaming naming;
    const char* name;
    std::optional<TSiteOrigin> origin; // nothing: not an origin, left alone
    bool web = false;
};

TEST(SiteOrigins, EachNameReadsAsTheOriginItStandsForOrAsNone)
{
    const Case cases[] = {
        {N::onMozillaFolder, "https+++www.example.com", TSiteOrigin{"https", "www.example.com", 0, ""}, true},
        {N::onMozillaFolder, "http+++news.example+8080", TSiteOrigin{"http", "news.example", 8080, ""}, true},
        {N::onMozillaFolder, "http+++[++1]+8080", TSiteOrigin{"http", "[::1]", 8080, ""}, true},
        {N::onMozillaFolder, "https+++a.example^userContextId=1", TSiteOrigin{"https", "a.example", 0, ""}, true},
        {N::onMozillaFolder, "https+++t.example^partitionKey=%28https%2Cexample.com%29",
         TSiteOrigin{"https", "t.example", 0, "example.com"}, true},
        {N::onMozillaFolder, "https+++t.example^userContextId=2&partitionKey=%28http%2Clocalhost%2C8080%29",
         TSiteOrigin{"https", "t.example", 0, "localhost"}, true},
        {N::onMozillaFolder, "https+++t.example^firstPartyDomain=kept.example",
         TSiteOrigin{"https", "t.example", 0, "kept.example"}, true},
        {N::onMozillaFolder, "moz-extension+++0b5e7c3a-1f2d-4c1e-9e2f-3a4b5c6d7e8f^addonId=a%40b",
         TSiteOrigin{"moz-extension", "++0b5e7c3a-1f2d-4c1e-9e2f-3a4b5c6d7e8f", 0, ""}},
        {N::onMozillaFolder, "file++++home+user+page.html", TSiteOrigin{"file", "+++home+user+page.html", 0, ""}},
        {N::onMozillaFolder, "chrome", TSiteOrigin{"chrome", "", 0, ""}},
        {N::onMozillaFolder, "https+++", std::nullopt},
        {N::onMozillaFolder, "https+++a.example+", std::nullopt},
        {N::onMozillaFolder, "https+++a.example+99999", std::nullopt},
        {N::onMozillaFolder, "https+++a.exa mple", std::nullopt},
        {N::onMozillaFolder, "https+++a.example^partitionKey=%28https%29", std::nullopt},
        {N::onMozillaFolder, "https+++a.example^partitionKey=%2", std::nullopt},
        {N::onMozillaFolder, ".metadata-v2", std::nullopt},
        {N::onMozillaKey, "moc.elpmaxe.:https:443", TSiteOrigin{"https", "example.com", 443, ""}, true},
        {N::onMozillaKey, "moc.elpmaxe.www.:http:80^userContextId=1", TSiteOrigin{"http", "www.example.com", 80, ""}, true},
        {N::onMozillaKey, "]1::[.:http:8080", TSiteOrigin{"http", "[::1]", 8080, ""}, true},
        {N::onMozillaKey, "moc.elpmaxe:https:443", std::nullopt},
        {N::onChromiumIndexedDb, "https_www.example.com_0.indexeddb.leveldb",
         TSiteOrigin{"https", "www.example.com", 0, ""}, true},
        {N::onChromiumIndexedDb, "http_localhost_8080.indexeddb.blob", TSiteOrigin{"http", "localhost", 8080, ""}, true},
        {N::onChromiumIndexedDb, "chrome-extension_abcdefghijklmnop_0.indexeddb.leveldb",
         TSiteOrigin{"chrome-extension", "abcdefghijklmnop", 0, ""}},
        {N::onChromiumIndexedDb, "file__0.indexeddb.leveldb", TSiteOrigin{"file", "", 0, ""}},
        {N::onChromiumIndexedDb, "https_www.example.com_0.indexeddb", std::nullopt},
        {N::onChromiumIndexedDb, "https_0.indexeddb.leveldb", std::nullopt},
        {N::onStorageKey, "https://example.com/", TSiteOrigin{"https", "example.com", 0, ""}, true},
        {N::onStorageKey, "http://news.example:8080", TSiteOrigin{"http", "news.example", 8080, ""}, true},
        {N::onStorageKey, "https://[::1]:8443/", TSiteOrigin{"https", "[::1]", 8443, ""}, true},
        {N::onStorageKey, "https://t.example/^0https://kept.example", TSiteOrigin{"https", "t.example", 0, "kept.example"}, true},
        {N::onStorageKey, "https://t.example/^31", TSiteOrigin{"https", "t.example", 0, ""}, true},
        {N::onStorageKey, "chrome-extension://abcdefghijklmnop/", TSiteOrigin{"chrome-extension", "abcdefghijklmnop", 0, ""}},
        {N::onStorageKey, "file:///", TSiteOrigin{"file", "", 0, ""}},
        {N::onStorageKey, "chrome://settings", TSiteOrigin{"chrome", "settings", 0, ""}},
        {N::onStorageKey, "https://a.example/path", std::nullopt},
        {N::onStorageKey, "https://a.example:/", std::nullopt},
        {N::onStorageKey, "https://[::1/", std::nullopt},
        {N::onStorageKey, "https://t.example/^0chrome-extension://x", std::nullopt},
        {N::onStorageKey, "https://t.example/^x", std::nullopt},
        {N::onStorageKey, "example.com", std::nullopt},
        // A cache index: a cache named "https://x.example/" (field 1), its storage key (field 3).
        {N::onCacheIndex, "\x0a\x14\x0a\x12https://x.example/\x10\x01\x1a\x16https://cache.example/",
         TSiteOrigin{"https", "cache.example", 0, ""}, true},
        {N::onCacheIndex, "\x0a\x14\x0a\x12https://x.example/\x10\x01", std::nullopt},
        {N::onCacheIndex, "\x1a\x40https://cut.example/", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<TSiteOrigin> read = ReadSiteOrigin(c.naming, c.name);
        EXPECT_EQ(read, c.origin) << c.name;
        EXPECT_EQ(read && read->Web(), c.web) << c.name;
    }
}

} // namespace
