// The cookie-database contract against SQLite under Windows: its own file
// locks, and the program's ANSI paths.
#include "ScratchFolder.h"
#include "support/SqliteStores.h"

namespace {

// The folder goes last, once the world's connections are closed.
class Win32SqliteWorld : private ScratchFolder, public sqlite_stores::SqliteWorld {
public:
    static constexpr const char* name = "Win32";
    std::string path(const std::string& name) const { return file(name); }
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, CookieDatabaseContract, Win32SqliteWorld, WorldNames);
