// Group Policy: the program's own policies and the browsers' cookie policies
// whose sites stay, as the registry holds them under Software\Policies.
#pragma once

#include "platform/Registry.h"
#include "sites/KeepSites.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The program's own policy key and its values (the administrative template
// names the same ones).
inline constexpr const char* nombletPolicyKey = "Software\\Policies\\Nomblet";
inline constexpr const char* nombletKeepSitesKey = "Software\\Policies\\Nomblet\\KeepSites"; // one site per value
inline constexpr const char* munchSiteDataPolicy = "MunchSiteData"; // a number in the key, 0 or 1

// The keys whose values each name a site whose cookies stay, as the browsers'
// list policies are written ("1", "2", ... as text), the program's own first.
std::span<const char* const> PolicySiteLists();

// The roots in the order they are read: the machine's, then the user's. A
// number set in both is the machine's (as the browsers rule).
inline constexpr platform::RegRoot policyRoots[] = {platform::RegRoot::LocalMachine, platform::RegRoot::CurrentUser};

// The values of one key read at most: a key of more keeps only these.
inline constexpr std::size_t maxPolicyValues = 10000;

// What the policies say now.
struct TPolicies {
    std::vector<TSourceSite> sites; // named by a string value of any list, source "policy"
    std::optional<bool> munchSiteData;
};

// Reads every list and the program's own number. A key that is missing or may
// not be read says nothing; a value that is no string (or a string naming no
// single host) keeps nothing; a number other than a four-byte 0 or 1 sets nothing.
// Any thread: it opens its own keys.
TPolicies ReadPolicies(platform::IRegistry& registry);
