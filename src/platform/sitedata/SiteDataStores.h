// The site-data store service: each kind opened through the library that writes it.
#pragma once

#include "platform/SiteDataStore.h"

namespace platform {

class SiteDataStores final : public ISiteStores {
public:
    SiteStoreOpening Open(SiteStoreKind kind, const std::string& path) override;
    bool LockHeld(const std::string& path) override;
};

} // namespace platform
