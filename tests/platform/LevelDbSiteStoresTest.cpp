// Chromium's LevelDB site-data stores on copies of the stores Chromium itself wrote (tests/data/browsers), and what
// only a made store shows.
#include "platform/sitedata/LevelDbSiteStores.h"
#include "support/LevelDbStoreFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using platform::OpenLevelDbSiteStore;
using platform::SiteStoreKind;
using platform::SiteStoreState;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "nomblet-leveldb-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(folder_); }
    std::string path(const std::string& name) const { return (fs::path(folder_) / name).string(); }

private:
    std::string folder_;
};

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A key of a site whose host its key or value names, as text or as Chromium's UTF-16 values hold it.
bool namesHost(const std::pair<std::string, std::string>& key, const std::string& host)
{
    std::string wide;
    for (const char c : host)
        wide += std::string{c, '\0'};
    const std::string both = key.first + '|' + key.second;
    return both.find(host) != std::string::npos || both.find(wide) != std::string::npos;
}

const std::vector<std::string> goingHosts = {"news.example", "shop.example", "tracker.example"};

bool goes(const std::string& origin)
{
    for (const std::string& host : goingHosts)
        if (origin.find(host) != std::string::npos)
            return true;
    return false;
}

std::vector<std::string> withPorts(const std::vector<std::string>& hosts, const std::string& tail)
{
    std::vector<std::string> origins;
    for (const std::string& host : hosts)
        origins.push_back("http://" + host + ":18731" + tail);
    return origins;
}

TEST(LevelDbSiteStores, ChromiumsStoresLoseTheGoingSitesKeysAndKeepEveryOtherByteAsItWas)
{
    const std::vector<std::string> kept = {"mail.keep.example", "www.keep.example"};
    const std::vector<std::string> web = {"mail.keep.example", "news.example", "shop.example", "tracker.example",
                                          "www.keep.example"};
    struct Case {
        const char* folder;
        SiteStoreKind kind;
        std::vector<std::string> listed;
        std::vector<std::string> gone; // empty: the store is only read
    };
    auto withFile = [](std::vector<std::string> origins, const char* file) {
        origins.insert(origins.begin(), file);
        return origins;
    };
    const Case cases[] = {
        {"Local Storage/leveldb", SiteStoreKind::chromiumLocalStorage, withFile(withPorts(web, ""), "file://"),
         withPorts(goingHosts, "")},
        {"Session Storage", SiteStoreKind::chromiumSessionStorage, withFile(withPorts(web, "/"), "file:///"),
         withPorts(goingHosts, "/")},
        {"Service Worker/Database", SiteStoreKind::chromiumServiceWorker, withPorts(web, "/"), {}},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        const std::string folder = temp.path("store");
        fs::copy(fs::path(NOMBLET_SOURCE_DIR) / "tests/data/browsers/chromium/Default" / c.folder, folder);
        const auto before = leveldb_store_files::allKeys(folder);
        const std::string log = bytesOf(folder + "/LOG");
        {
            platform::SiteStoreOpening opening = OpenLevelDbSiteStore(c.kind, folder);
            ASSERT_EQ(opening.state, SiteStoreState::opened) << c.folder;
            EXPECT_EQ(opening.store->Origins(), c.listed) << c.folder;
            const platform::SiteDeletion deletion = opening.store->Delete(goes);
            EXPECT_EQ(deletion.ok, !c.gone.empty()) << c.folder;
            EXPECT_EQ(deletion.gone, c.gone) << c.folder;
        }
        // Every key of a going site went; every other key is as Chromium wrote it.
        std::vector<std::pair<std::string, std::string>> expected;
        for (const auto& key : before)
            if (c.gone.empty() || std::none_of(goingHosts.begin(), goingHosts.end(),
                                               [&](const std::string& host) { return namesHost(key, host); }))
                expected.push_back(key);
        EXPECT_EQ(leveldb_store_files::allKeys(folder), expected) << c.folder;
        EXPECT_EQ(bytesOf(folder + "/LOG"), log) << c.folder << ": the browser's own log";
        const platform::SiteStoreOpening again = OpenLevelDbSiteStore(c.kind, folder);
        ASSERT_EQ(again.state, SiteStoreState::opened) << c.folder;
        std::vector<std::string> left = c.listed;
        std::erase_if(left, [&](const std::string& origin) { return !c.gone.empty() && goes(origin); });
        EXPECT_EQ(again.store->Origins(), left) << c.folder;
    }
}

TEST(LevelDbSiteStores, ASessionMapThatAStayingEntryStillNamesStays)
{
    TempFolder temp;
    const std::string folder = temp.path("Session Storage");
    {
        const auto db = leveldb_store_files::openDb(folder, true);
        for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
                 {"namespace-aaaaaaaa_0000_4000_8000_000000000001-https://news.example/", "0"},
                 {"namespace-bbbbbbbb_0000_4000_8000_000000000002-https://keep.example/", "0"},
                 {"namespace-bbbbbbbb_0000_4000_8000_000000000002-https://shop.example/", "1"},
                 {"map-0-id", "shared"}, {"map-1-id", "shop's"}, {"map-10-id", "unnamed"}, {"version", "1"}})
            db->Put(leveldb::WriteOptions(), key, value);
    }
    platform::SiteStoreOpening opening = OpenLevelDbSiteStore(SiteStoreKind::chromiumSessionStorage, folder);
    ASSERT_TRUE(opening.store);
    EXPECT_TRUE(opening.store->Delete(goes).ok);
    opening.store.reset();
    EXPECT_EQ(leveldb_store_files::allKeys(folder),
              (std::vector<std::pair<std::string, std::string>>{
                  {"map-0-id", "shared"},
                  {"map-10-id", "unnamed"},
                  {"namespace-bbbbbbbb_0000_4000_8000_000000000002-https://keep.example/", "0"},
                  {"version", "1"}}));
}

} // namespace
