// What only a made Chromium LevelDB store shows; the real browsers' stores are the contract's and the read-back check's.
#include "platform/sitedata/LevelDbSiteStores.h"
#include "support/LevelDbStoreFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;
using platform::SiteStoreKind;
using Keys = std::vector<std::pair<std::string, std::string>>;

namespace {

const platform::LastStep passThrough = [](const std::function<bool()>& step) { return step(); };

struct TempFolder {
    std::string path = [] {
        std::string pattern = (fs::temp_directory_path() / "nomblet-leveldb-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    ~TempFolder() { fs::remove_all(path); }
};

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
    EXPECT_TRUE(opening.store->Delete(namesAGoingSite, passThrough).ok);
    opening.store.reset();
    EXPECT_EQ(leveldb_store_files::allKeys(folder), (Keys{made[0], made[2], made[4], made[6]}));
}

TEST(LevelDbSiteStores, NoGoingValueIsLeftInAnyFileOfTheStore)
{
    TempFolder temp;
    const std::string folder = temp.path + "/leveldb";
    Keys made = {{"VERSION", "1"}, {"META:https://keep.example", "m"}, {std::string("_https://keep.example\0k", 23), "kept-value"}};
    for (const std::string origin : {"https://news.example", "https://tracker.example"}) {
        made.push_back({"META:" + origin, "going-meta"});
        for (int i = 0; i < 200; ++i)
            made.push_back({"_" + origin + '\0' + std::to_string(i), "going-value-" + std::to_string(i)});
    }
    // Written in two openings, so that values lie both in a table and in the log.
    for (const std::size_t half : {std::size_t{0}, made.size() / 2}) {
        const auto db = leveldb_store_files::openDb(folder, true);
        for (std::size_t i = half; i < (half == 0 ? made.size() / 2 : made.size()); ++i)
            db->Put(leveldb::WriteOptions(), made[i].first, made[i].second);
    }
    platform::SiteStoreOpening opening = platform::OpenLevelDbSiteStore(SiteStoreKind::chromiumLocalStorage, folder);
    ASSERT_TRUE(opening.store);
    ASSERT_TRUE(opening.store->Delete(namesAGoingSite, passThrough).ok);
    opening.store.reset();
    for (const auto& file : fs::directory_iterator(folder)) {
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(bytes.find("going-"), std::string::npos) << file.path();
    }
    EXPECT_EQ(leveldb_store_files::allKeys(folder), (Keys{made[1], made[0], made[2]}));
}

TEST(LevelDbSiteStores, TheServiceWorkersStoreIsReadWithoutAByteWritten)
{
    TempFolder temp;
    const std::string folder = temp.path + "/Database";
    leveldb_store_files::Stores().makeStore(SiteStoreKind::chromiumServiceWorker, folder,
                                            {{"https://news.example/", "1"}, {"https://keep.example/", "2"}});
    const auto files = [&] {
        std::map<std::string, std::string> contents;
        for (const auto& file : fs::directory_iterator(folder)) {
            std::ifstream in(file.path(), std::ios::binary);
            contents[file.path().filename().string()].assign(std::istreambuf_iterator<char>(in), {});
        }
        return contents;
    };
    const auto before = files();
    platform::SiteStoreOpening opening = platform::OpenLevelDbSiteStore(SiteStoreKind::chromiumServiceWorker, folder);
    ASSERT_TRUE(opening.store);
    EXPECT_EQ(opening.store->Origins(), (std::vector<std::string>{"https://keep.example/", "https://news.example/"}));
    EXPECT_FALSE(opening.store->Delete(namesAGoingSite, passThrough).ok);
    opening.store.reset();
    EXPECT_EQ(files(), before);
}

} // namespace
