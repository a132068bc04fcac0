// The site-data store contract against the fake and, on real files, the service itself.
#include "contracts/SiteStoreContract.h"
#include "support/FakeSiteStores.h"
#include "support/SiteStoreFiles.h"

#include <filesystem>
#include <unistd.h>

namespace {

using platform::SiteStoreKind;

class FakeSiteWorld {
public:
    static constexpr const char* name = "Fake";
    platform::ISiteStores& stores() { return stores_; }
    SiteStoreKind strangerTo(SiteStoreKind kind) const
    {
        return kind == SiteStoreKind::chromiumQuotaManager ? SiteStoreKind::mozillaLocalStorage
                                                           : SiteStoreKind::chromiumQuotaManager;
    }
    std::string path(const std::string& name) const { return "C:\\Profile\\" + name; }
    void makeStore(SiteStoreKind kind, const std::string& path, const SiteEntries& e) { stores_.addStore(kind, path, e); }
    void makeDamaged(SiteStoreKind, const std::string& path) { files_.addFile(path, "not a store"); }
    void hold(SiteStoreKind, const std::string& path) { stores_.find(path)->busy = true; }
    SiteEntries entries(SiteStoreKind, const std::string& path) { return stores_.find(path)->entries; }
    bool cacheValid(const std::string& path) { return stores_.find(path)->cacheValid; }

private:
    FakeFileSystem files_;
    FakeSiteStores stores_{files_};
};

class PosixSiteWorld : public site_store_files::RealWorld {
public:
    static constexpr const char* name = "Real";
    PosixSiteWorld()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "nomblet-sites-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
    }
    ~PosixSiteWorld() { std::filesystem::remove_all(folder_); }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }

private:
    std::string folder_;
};

} // namespace

using SiteWorlds = testing::Types<FakeSiteWorld, PosixSiteWorld>;
INSTANTIATE_TYPED_TEST_SUITE_P(Native, SiteStoreContract, SiteWorlds, WorldNames);
