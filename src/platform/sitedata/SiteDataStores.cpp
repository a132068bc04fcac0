// The site-data store service, by kind.
#include "platform/sitedata/SiteDataStores.h"

#include "platform/sitedata/LevelDbSiteStores.h"
#include "platform/sitedata/SqliteSiteStores.h"

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

} // namespace platform
