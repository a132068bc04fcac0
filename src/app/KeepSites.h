// The sites whose cookies stay, and the sites munched lately, from which the
// user picks them in the tray menu. A site is a host name in lower case
// without a leading dot; it keeps a cookie whose host equals it or ends with
// "." and the site, so that "example.com" keeps "www.example.com" and not
// "badexample.com". UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Whether text is a host name a kept site may be named by: letters, digits,
// '-' and '.', labels of 1 to 63 characters, 253 characters at most, without
// a leading or trailing dot. Letters of either case.
bool IsSiteName(std::string_view text);

// The site a munched cookie's host is listed as in the menu: no leading dot,
// lower case, no leading "www." when a dotted name stays. Empty when the
// host is not a host name (control bytes, 100,000 characters, ...).
std::string MenuSiteOfHost(std::string_view host);

// A cookie's host as the site rule compares it: one leading dot dropped, in
// lower case (ASCII letters only).
std::string HostForMatching(std::string_view host);

// The hosts of a cookie file of the cookie folder: records of nine lines, the
// third "host/path", the ninth "*". Where the text cannot be read as such
// records, a kept site's cookie may still hide in any line, so every line
// counts by what it names before its first "/".
struct TCookieFileHosts {
    bool judged = false;                   // every record whole and of that form
    std::vector<std::string_view> records; // the host of each record read whole, up to the first that is not
    std::vector<std::string_view> named;   // not judged: each line up to its first "/"
};
// whole: the text is the whole file; a cut one is never judged.
TCookieFileHosts CookieFileHosts(std::string_view text, bool whole);

class TKeepSites {
public:
    static constexpr std::size_t recentRows = 10; // recent sites the menu lists

    // No site kept: the cookie folder reads nothing.
    bool Empty() const { return kept_.empty(); }
    // Whether a cookie of this host, as stored, belongs to a kept site.
    bool Keeps(std::string_view host) const;

    // Keeps these sites and no other (those that are no site names are passed over).
    void KeepOnly(const std::vector<std::string>& sites);
    // Keeps a site (lower-cased); false and nothing kept when it is not a site name.
    bool Keep(std::string_view site);
    // Keeps a site no longer; it goes to the front of the recent sites, so
    // that the menu still offers it.
    void Unkeep(std::string_view site);
    // Flips a site between kept and not kept; gives back whether it is kept now.
    bool Flip(std::string_view site);
    // Counts the changes of the kept sites: a verdict on a file holds while it stays.
    std::uint64_t Changes() const { return changes_; }
    // Every site kept, in alphabetical order.
    const std::set<std::string, std::less<>>& Kept() const { return kept_; }

    // Notes a munched cookie's host among the recent sites, at the front.
    void Munched(std::string_view host);
    // Up to ten sites munched lately that are not kept, the most recent first.
    std::vector<std::string> Recent() const;

private:
    std::set<std::string, std::less<>> kept_;
    std::uint64_t changes_ = 0;
    std::deque<std::string> recent_; // most recent first, never a kept site
};
