// The policies read from the registry.
#include "sites/PolicySites.h"

#include "sites/SitePatterns.h"

#include <string>

namespace {

constexpr const char* siteLists[] = {
    nombletKeepSitesKey,
    // The Chromium family's "Allow cookies on these sites".
    "Software\\Policies\\Google\\Chrome\\CookiesAllowedForUrls",
    "Software\\Policies\\Microsoft\\Edge\\CookiesAllowedForUrls",
    // Edge's "Save cookies when Microsoft Edge closes".
    "Software\\Policies\\Microsoft\\Edge\\SaveCookiesOnExit",
    "Software\\Policies\\Chromium\\CookiesAllowedForUrls",
    "Software\\Policies\\BraveSoftware\\Brave\\CookiesAllowedForUrls",
    "Software\\Policies\\YandexBrowser\\CookiesAllowedForUrls",
    // Firefox's cookie exceptions that are allowed.
    "Software\\Policies\\Mozilla\\Firefox\\Cookies\\Allow",
};

// A string value's text up to its first zero; the browsers read text of both
// string types alike, and an unexpanded variable names no host anyway.
std::u16string textOf(const platform::RegListedValue& value)
{
    std::u16string text;
    if (value.type != platform::regSz && value.type != platform::regExpandSz)
        return text;
    for (std::size_t at = 0; at + 1 < value.data.size(); at += 2) {
        const auto unit = static_cast<char16_t>(value.data[at] | value.data[at + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

std::optional<bool> flagOf(const platform::RegValue& value)
{
    if (!value.found || value.type != platform::regDword || value.data.size() != 4)
        return std::nullopt;
    const std::uint32_t number =
        value.data[0] | value.data[1] << 8 | value.data[2] << 16 | static_cast<std::uint32_t>(value.data[3]) << 24;
    if (number > 1)
        return std::nullopt;
    return number == 1;
}

} // namespace

std::span<const char* const> PolicySiteLists()
{
    return siteLists;
}

TPolicies ReadPolicies(platform::IRegistry& registry)
{
    TPolicies policies;
    for (const platform::RegRoot root : policyRoots) {
        if (!policies.munchSiteData)
            if (auto key = registry.openKeyToRead(root, nombletPolicyKey))
                policies.munchSiteData = flagOf(key->readValue(munchSiteDataPolicy));
        for (const char* list : siteLists) {
            auto key = registry.openKeyToRead(root, list);
            if (!key)
                continue;
            // Every value counts, whatever its name: keeping a site too many never loses the user's data.
            for (const platform::RegListedValue& value : key->listValues(maxPolicyValues))
                if (std::u16string host = HostOfPattern(textOf(value)); !host.empty())
                    policies.sites.push_back({std::move(host), "policy"});
        }
    }
    return policies;
}
