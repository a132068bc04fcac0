// Win32 only. A LevelDB site-data store at a path that only the ANSI code page spells: LevelDB's Windows layer
// reads its paths as UTF-8, the program's are ANSI text.
#include "ScratchFolder.h"
#include "platform/sitedata/LevelDbSiteStores.h"
#include "support/LevelDbStoreFiles.h"

#include <gtest/gtest.h>

namespace {

std::string utf8Text(const std::string& ansi)
{
    const std::wstring wide = wideText(ansi);
    std::string utf8(wide.size() * 3, '\0');
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                                             static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return utf8;
}

TEST(Win32LevelDbSiteStores, AStoreInAFolderThatOnlyTheAnsiCodePageSpellsOpens)
{
    using platform::SiteStoreKind;
    ScratchFolder scratch;
    const std::string folder = scratch.file("Caf\xe9 Storage");
    leveldb_store_files::Stores().makeStore(SiteStoreKind::chromiumLocalStorage, utf8Text(folder),
                                            {{"https://a.example", "1"}});
    const platform::SiteStoreOpening opening =
        platform::OpenLevelDbSiteStore(SiteStoreKind::chromiumLocalStorage, folder);
    ASSERT_EQ(opening.state, platform::SiteStoreState::opened);
    EXPECT_EQ(opening.store->Origins(), std::vector<std::string>{"https://a.example"});
}

} // namespace
