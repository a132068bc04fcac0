// The sites kept by something other than the user's tick, gathered into the
// kept sites: Group Policy and the browsers' own cookie exceptions. Read at
// start and as the menu opens; between, only when a policy key tells of a
// change (one look without waiting per tick). UI thread only.
#pragma once

#include "platform/Registry.h"
#include "sites/KeepSites.h"
#include "sites/PolicySites.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TKeptSiteSources {
public:
    // The browsers' own exceptions of the browsers found, each file read again
    // only when it changed.
    using ExceptionsReader = std::function<std::vector<TSourceSite>()>;

    // changing: called before the kept sites change, so that work under way
    // with the old list never finishes with it.
    TKeptSiteSources(platform::IRegistry& registry, TKeepSites& keptSites, ExceptionsReader exceptions,
                     std::function<void()> changing);

    // Reads every source (the policies again only when their keys changed or
    // cannot be watched). Gives whether what the sources say changed.
    bool Look();
    // A tick: reads the policies when their keys changed, else touches nothing.
    bool Tick();

    // The policy's "Munch Site Data", when one is set: it rules the row.
    std::optional<bool> MunchSiteData() const { return policies_.munchSiteData; }

private:
    // Whether the policy's "Munch Site Data" changed.
    bool readPolicies();
    // Hands the sources' sites to the kept sites when they changed.
    bool keep();

    platform::IRegistry& registry_;
    TKeepSites& keptSites_;
    ExceptionsReader exceptions_;
    std::function<void()> changing_;
    std::unique_ptr<platform::IRegistryWatch> watch_;
    bool policiesRead_ = false;
    TPolicies policies_;
    std::vector<TSourceSite> exceptionSites_;
    std::vector<TSourceSite> handed_; // what the kept sites took last, in order
};
