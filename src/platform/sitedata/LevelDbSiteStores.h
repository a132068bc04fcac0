// The site-data stores that are LevelDB databases: Chromium's Local Storage,
// Session Storage and the service workers' registrations.
#pragma once

#include "platform/SiteDataStore.h"

namespace platform {

// Opens the existing database in folder (chromiumLocalStorage,
// chromiumSessionStorage, chromiumServiceWorker) and lists its origins. A
// database another program holds (its LOCK) or that is not there is busy; one
// of another kind, or damaged, is notStore, and is never repaired.
SiteStoreOpening OpenLevelDbSiteStore(SiteStoreKind kind, const std::string& folder);

} // namespace platform
