// The site-data store contract against the real service under Windows: its
// file locks, and the program's ANSI paths.
#include "ScratchFolder.h"
#include "support/SiteStoreFiles.h"

namespace {

// The folder goes last, once the world's connections are closed.
class Win32SiteWorld : private ScratchFolder, public site_store_files::RealWorld {
public:
    static constexpr const char* name = "Win32";
    std::string path(const std::string& name) const { return file(name); }
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, SiteStoreContract, Win32SiteWorld, WorldNames);
