// The site-data store service: each kind opened through the library that writes it.
#pragma once

#include "platform/SiteDataStore.h"

#include <functional>
#include <string>

namespace platform {

class SiteDataStores final : public ISiteStores {
public:
    // lockHeld: the system's look at a browser's lock file; none where no
    // program holds a file so (a lock is then never held).
    explicit SiteDataStores(std::function<bool(const std::string&)> lockHeld = {}) : lockHeld_(std::move(lockHeld)) {}

    SiteStoreOpening Open(SiteStoreKind kind, const std::string& path) override;
    bool LockHeld(const std::string& path) override { return lockHeld_ && lockHeld_(path); }

private:
    std::function<bool(const std::string&)> lockHeld_;
};

} // namespace platform
