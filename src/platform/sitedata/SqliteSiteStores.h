// The site-data stores that are SQLite databases: Firefox's webappsstore.sqlite
// and storage.sqlite, Chromium's WebStorage/QuotaManager.
#pragma once

#include "platform/SiteDataStore.h"

namespace platform {

// Opens a store of one of the SQLite kinds (mozillaLocalStorage,
// mozillaQuotaCache, chromiumQuotaManager) inside its write transaction.
SiteStoreOpening OpenSqliteSiteStore(SiteStoreKind kind, const std::string& path);

} // namespace platform
