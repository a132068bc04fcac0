// The sites kept and the sites munched lately.
#include "app/KeepSites.h"

#include "platform/PathText.h"

#include <algorithm>

namespace {

constexpr std::size_t maxNameLength = 253;
constexpr std::size_t maxLabelLength = 63;

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

} // namespace

bool IsSiteName(std::string_view text)
{
    if (text.empty() || text.size() > maxNameLength)
        return false;
    std::size_t label = 0;
    for (char c : text) {
        if (c == '.') {
            if (label == 0)
                return false; // a leading dot, or two in a row
            label = 0;
        } else if (!isNameCharacter(c) || ++label > maxLabelLength) {
            return false;
        }
    }
    return label != 0; // no trailing dot
}

std::string HostForMatching(std::string_view host)
{
    if (!host.empty() && host.front() == '.')
        host.remove_prefix(1);
    return platform::asciiLowered(host);
}

std::string MenuSiteOfHost(std::string_view host)
{
    // Judged before anything is copied: a host of 100,000 characters is no name.
    if (host.size() > maxNameLength + 1)
        return {};
    std::string site = HostForMatching(host);
    // "www.com" stays whole: keeping "com" would keep a whole top-level domain.
    constexpr std::string_view www = "www.";
    if (site.starts_with(www) && site.find('.', www.size()) != std::string::npos)
        site.erase(0, www.size());
    return IsSiteName(site) ? site : std::string();
}

bool TKeepSites::Keeps(std::string_view host) const
{
    if (kept_.empty())
        return false;
    const std::string name = HostForMatching(host);
    // The host itself, then every ending after one of its dots.
    std::string_view rest = name;
    for (;;) {
        if (kept_.find(rest) != kept_.end())
            return true;
        const std::size_t dot = rest.find('.');
        if (dot == std::string_view::npos)
            return false;
        rest.remove_prefix(dot + 1);
    }
}

bool TKeepSites::Keep(std::string_view site)
{
    if (!IsSiteName(site))
        return false;
    std::string name = HostForMatching(site);
    std::erase(recent_, name);
    kept_.insert(std::move(name));
    return true;
}

void TKeepSites::Unkeep(std::string_view site)
{
    const std::string name = HostForMatching(site);
    const auto found = kept_.find(name);
    if (found == kept_.end())
        return;
    kept_.erase(found);
    std::erase(recent_, name);
    recent_.push_front(name);
    if (recent_.size() > recentRows)
        recent_.pop_back();
}

bool TKeepSites::Flip(std::string_view site)
{
    if (kept_.find(HostForMatching(site)) != kept_.end()) {
        Unkeep(site);
        return false;
    }
    return Keep(site);
}

void TKeepSites::Munched(std::string_view host)
{
    std::string site = MenuSiteOfHost(host);
    if (site.empty() || kept_.find(site) != kept_.end())
        return;
    if (!recent_.empty() && recent_.front() == site)
        return; // the common case: many cookies of one site in a row
    std::erase(recent_, site);
    recent_.push_front(std::move(site));
    if (recent_.size() > recentRows)
        recent_.pop_back();
}

std::vector<std::string> TKeepSites::Recent() const
{
    return {recent_.begin(), recent_.end()};
}
