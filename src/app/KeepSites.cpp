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

void TKeepSites::KeepOnly(const std::vector<std::string>& sites)
{
    kept_.clear();
    ++changes_;
    for (const std::string& site : sites)
        Keep(site);
}

bool TKeepSites::Keep(std::string_view site)
{
    if (!IsSiteName(site))
        return false;
    std::string name = HostForMatching(site);
    std::erase(recent_, name);
    changes_ += kept_.insert(std::move(name)).second;
    return true;
}

void TKeepSites::Unkeep(std::string_view site)
{
    const std::string name = HostForMatching(site);
    const auto found = kept_.find(name);
    if (found == kept_.end())
        return;
    kept_.erase(found);
    ++changes_;
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

TCookieFileHosts CookieFileHosts(std::string_view text, bool whole)
{
    constexpr int recordLines = 9;
    TCookieFileHosts result;
    bool broken = false;
    int line = 0; // of the record under way
    std::string_view host;
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        std::string_view current = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (current.ends_with('\r'))
            current.remove_suffix(1);
        result.named.push_back(current.substr(0, current.find('/')));
        if (broken)
            continue;
        ++line;
        if (line == 3) {
            const std::size_t slash = current.find('/');
            broken = slash == std::string_view::npos;
            host = current.substr(0, slash);
        } else if (current == "*") {
            broken = line != recordLines;
            if (!broken)
                result.records.push_back(host);
            line = 0;
        } else if (line == recordLines) {
            broken = true; // a ninth line that ends no record
        } else if (line == 1 && current.empty() && rest.empty()) {
            line = 0; // one blank line at the very end is no record
        }
    }
    result.judged = whole && !broken && line == 0;
    if (result.judged)
        result.named.clear();
    return result;
}
