// Chromium's LevelDB site-data stores on copies of the stores Chromium itself wrote (tests/data/browsers), and what
// only a made store shows.
#include "platform/sitedata/LevelDbSiteStores.h"
#include "support/LevelDbStoreFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using platform::SiteStoreKind;
using Keys = std::vector<std::pair<std::string, std::string>>;

namespace {

struct TempFolder {
    std::string path = [] {
        std::string pattern = (fs::temp_directory_path() / "nomblet-leveldb-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    ~TempFolder() { fs::remove_all(path); }
};

std::string bytesOf(const std::string& path)
{
    std::string bytes;
    leveldb::ReadFileToString(leveldb::Env::Default(), path, &bytes);
    return bytes;
}

// Text that names a going site's host, as it is or in the UTF-16 of Chromium's values.
bool namesAGoingSite(const std::string& text)
{
    for (const std::string host : {"news.example", "shop.example", "tracker.example"}) {
        std::string wide;
        for (const char c : host)
            wide += std::string{c, '\0'};
        if (text.find(host) != std::string::npos || text.find(wide) != std::string::npos)
            return true;
    }
    return false;
}

// The sites of the stores as the store names them, the file page's first; the going ones left out unless asked for.
std::vector<std::string> originsOf(const std::string& file, const std::string& tail, bool going)
{
    std::vector<std::string> origins;
    if (!file.empty())
        origins.push_back(file);
    for (const std::string host : {"mail.keep.example", "news.example", "shop.example", "tracker.example",
                                   "www.keep.example"})
        if (going || !namesAGoingSite(host))
            origins.push_back("http://" + host + ":18731" + tail);
    return origins;
}

TEST(LevelDbSiteStores, ChromiumsStoresLoseTheGoingSitesKeysAndKeepEveryOtherByteAsItWas)
{
    struct Case {
        const char* folder;
        SiteStoreKind kind;
        const char* file; // the file page's origin, as the store names it
        const char* tail;
        bool deletes; // false: the store is only read
    };
    const Case cases[] = {
        {"Local Storage/leveldb", SiteStoreKind::chromiumLocalStorage, "file://", "", true},
        {"Session Storage", SiteStoreKind::chromiumSessionStorage, "file:///", "/", true},
        {"Service Worker/Database", SiteStoreKind::chromiumServiceWorker, "", "/", false},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        const std::string folder = temp.path + "/store";
        fs::copy(fs::path(NOMBLET_SOURCE_DIR) / "tests/data/browsers/chromium/Default" / c.folder, folder);
        const Keys before = leveldb_store_files::allKeys(folder);
        const std::string log = bytesOf(folder + "/LOG");
        {
            const platform::SiteStoreOpening opening = platform::OpenLevelDbSiteStore(c.kind, folder);
            ASSERT_TRUE(opening.store) << c.folder;
            EXPECT_EQ(opening.store->Origins(), originsOf(c.file, c.tail, true)) << c.folder;
            const platform::SiteDeletion deletion = opening.store->Delete(namesAGoingSite);
            std::vector<std::string> gone = originsOf("", c.tail, true);
            std::erase_if(gone, [&](const std::string& origin) { return !c.deletes || !namesAGoingSite(origin); });
            EXPECT_EQ(deletion.ok, c.deletes) << c.folder;
            EXPECT_EQ(deletion.gone, gone) << c.folder;
        }
        Keys left = before;
        std::erase_if(left,
                      [&](const auto& key) { return c.deletes && namesAGoingSite(key.first + '|' + key.second); });
        EXPECT_EQ(leveldb_store_files::allKeys(folder), left) << c.folder;
        EXPECT_EQ(bytesOf(folder + "/LOG"), log) << c.folder << ": the browser's own log";
        const platform::SiteStoreOpening again = platform::OpenLevelDbSiteStore(c.kind, folder);
        ASSERT_TRUE(again.store) << c.folder;
        EXPECT_EQ(again.store->Origins(), originsOf(c.file, c.tail, !c.deletes)) << c.folder;
    }
}

TEST(LevelDbSiteStores, ASessionMapThatAStayingEntryStillNamesStays)
{
    TempFolder temp;
    const std::string folder = temp.path + "/Session Storage";
    const Keys made = {{"map-0-id", "shared"},
                       {"map-1-id", "shop's"},
                       {"map-10-id", "named by none"},
                       {"namespace-aaaaaaaa_0000_4000_8000_000000000001-https://news.example/", "0"},
                       {"namespace-bbbbbbbb_0000_4000_8000_000000000002-https://keep.example/", "0"},
                       {"namespace-bbbbbbbb_0000_4000_8000_000000000002-https://shop.example/", "1"},
                       {"version", "1"}};
    {
        const auto db = leveldb_store_files::openDb(folder, true);
        for (const auto& [key, value] : made)
            db->Put(leveldb::WriteOptions(), key, value);
    }
    platform::SiteStoreOpening opening = platform::OpenLevelDbSiteStore(SiteStoreKind::chromiumSessionStorage, folder);
    ASSERT_TRUE(opening.store);
    EXPECT_TRUE(opening.store->Delete(namesAGoingSite).ok);
    opening.store.reset();
    EXPECT_EQ(leveldb_store_files::allKeys(folder), (Keys{made[0], made[2], made[4], made[6]}));
}

} // namespace
