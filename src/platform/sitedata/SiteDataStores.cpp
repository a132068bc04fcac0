// The site-data store service, by kind.
#include "platform/sitedata/SiteDataStores.h"

#include "platform/sitedata/LevelDbSiteStores.h"
#include "platform/sitedata/SqliteSiteStores.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

SiteStoreOpening SiteDataStores::Open(SiteStoreKind kind, const std::string& path)
{
    switch (kind) {
    case SiteStoreKind::mozillaLocalStorage:
    case SiteStoreKind::mozillaQuotaCache:
    case SiteStoreKind::chromiumQuotaManager:
        return OpenSqliteSiteStore(kind, path);
    case SiteStoreKind::chromiumLocalStorage:
    case SiteStoreKind::chromiumSessionStorage:
    case SiteStoreKind::chromiumServiceWorker:
        return OpenLevelDbSiteStore(kind, path);
    }
    return {SiteStoreState::notStore, nullptr};
}

bool SiteDataStores::LockHeld(const std::string& path)
{
#ifdef _WIN32
    // Opened for deletion, as the one delete rule opens a file, and closed at once: a running browser holds its
    // lock without delete sharing. Thread-safe: nothing here is shared.
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 0u, L'\0');
    if (length <= 0 || MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.c_str(), -1, wide.data(), length) != length)
        return true;
    const HANDLE lock = CreateFileW(wide.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (lock != INVALID_HANDLE_VALUE) {
        CloseHandle(lock);
        return false;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
#else
    (void)path;
    return false;
#endif
}

} // namespace platform
