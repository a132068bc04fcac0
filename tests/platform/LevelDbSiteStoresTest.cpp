// What only a made Chromium LevelDB store shows; the real browsers' stores are the contract's and the read-back check's.
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
    EXPECT_TRUE(opening.store->Delete(namesAGoingSite).ok);
    opening.store.reset();
    EXPECT_EQ(leveldb_store_files::allKeys(folder), (Keys{made[0], made[2], made[4], made[6]}));
}

} // namespace
