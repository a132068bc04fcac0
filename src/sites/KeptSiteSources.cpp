// The kept sites' outside sources, read when they may have changed.
#include "sites/KeptSiteSources.h"

#include <algorithm>

namespace {

bool sameEntry(const TSourceSite& a, const TSourceSite& b)
{
    return a.name == b.name && a.source == b.source;
}

} // namespace

TKeptSiteSources::TKeptSiteSources(platform::IRegistry& registry, TKeepSites& keptSites, ExceptionsReader exceptions,
                                   std::function<void()> changing)
    : registry_(registry), keptSites_(keptSites), exceptions_(std::move(exceptions)), changing_(std::move(changing))
{
    // Everything below Software\Policies, so that one event serves every browser's key.
    std::vector<platform::RegKeyName> watched;
    for (const platform::RegRoot root : policyRoots)
        watched.push_back({root, "Software\\Policies"});
    watch_ = registry_.watchKeys(watched);
}

bool TKeptSiteSources::Look()
{
    // Without a watch every look reads; with one, a read stands until its keys change.
    const bool policiesChanged = (!policiesRead_ || !watch_ || watch_->changed()) && readPolicies();
    if (exceptions_)
        exceptionSites_ = exceptions_();
    return keep() || policiesChanged;
}

bool TKeptSiteSources::Tick()
{
    if (!watch_ || !watch_->changed())
        return false;
    const bool policiesChanged = readPolicies();
    return keep() || policiesChanged;
}

bool TKeptSiteSources::readPolicies()
{
    policiesRead_ = true;
    TPolicies read = ReadPolicies(registry_);
    const bool munchSiteDataChanged = read.munchSiteData != policies_.munchSiteData;
    policies_ = std::move(read);
    return munchSiteDataChanged; // the sites are judged with the exceptions'
}

bool TKeptSiteSources::keep()
{
    // The policies first: a site both name shows as the administrator's.
    std::vector<TSourceSite> named = policies_.sites;
    named.insert(named.end(), exceptionSites_.begin(), exceptionSites_.end());
    if (std::equal(named.begin(), named.end(), handed_.begin(), handed_.end(), sameEntry))
        return false;
    if (changing_)
        changing_();
    keptSites_.KeepFromSources(named);
    handed_ = std::move(named);
    return true;
}
