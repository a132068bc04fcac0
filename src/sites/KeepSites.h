// The sites whose cookies stay, and the sites munched lately, from which the
// user picks them in the tray menu. A site is a registrable domain by the
// Public Suffix List (or an IPv4 address), in lower case, ASCII (an
// internationalised label in its "xn--" form), without an outer dot; it keeps
// a cookie whose host equals it or ends with "." and the site, so that
// "example.com" keeps "www.example.com" and not "badexample.com", and an
// address keeps that address only. UI thread only; a copy may be read on
// another thread.
#pragma once

#include "platform/CodePage.h"
#include "sites/SiteOrigins.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Whether text is a host name a kept site may be named by: letters, digits,
// '-' and '.', labels of 1 to 63 characters, 253 characters at most, without
// a leading or trailing dot. Letters of either case.
bool IsSiteName(std::string_view text);

// The site a name written by a person stands for: its characters mapped as
// browsers map them (IdnaMapped: letters lowered, "ĳ" as "ij", full-width
// Latin as ASCII) and normalised to NFC (NfcNormalized: "e" and U+0301 as
// "é"), one leading and one trailing dot dropped, a label beyond ASCII in its
// "xn--" form, then its registrable domain ("www.example.co.uk" stands for
// "example.co.uk"). Empty when the name is then no host name, holds a
// character no host name may hold or an unpaired surrogate, is a public
// suffix ("com", "co.uk"), or is a number that is no whole IPv4 address ("1",
// "10.0.1").
std::string SiteOfName(std::u16string_view name);

// The site a name in the ANSI code page stands for (a [Keep Sites] key, a
// menu row); empty when it stands for none.
std::string SiteOfSpelling(platform::ICodePage& codePage, std::string_view spelling);

// How the menu shows a site no one spelled: its labels in Unicode in the code
// page, where each reads back as the site; otherwise the site itself.
std::string CaptionOfSite(platform::ICodePage& codePage, std::string_view site);

// The site a munched cookie's host is listed as in the menu: its registrable
// domain by the Public Suffix List ("www.example.co.uk" is "example.co.uk"),
// a numeric address or a name of one label the list does not know as itself.
// Empty when the host is a public suffix or not a host name (control bytes,
// 100,000 characters, ...).
std::string MenuSiteOfHost(std::string_view host);

// A cookie's host as the site rule compares it: one leading and one trailing
// dot dropped, in lower case (ASCII letters only).
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

// A site kept by something other than the user's tick: a browser's own
// cookie exceptions or a policy. name: a host, or a pattern or URL as the
// source writes it (HostOfPattern), naming its site as a key does;
// source: how the menu says why ("Firefox", "policy").
struct TSourceSite {
    std::u16string name;
    std::string source;
};

class TKeepSites {
public:
    static constexpr std::size_t recentRows = 10; // recent sites the menu lists

    // No site kept: the cookie folder reads nothing.
    bool Empty() const { return kept_.empty() && bySource_.empty(); }
    // Whether a cookie of this host, as stored, belongs to a kept site. Pure.
    bool Keeps(std::string_view host) const;
    // Whether a site data origin belongs to a kept site, or is partitioned
    // under one (its top-level host's site is kept): how site data is judged. Pure.
    bool KeepsOrigin(const TSiteOrigin& origin) const;

    // Keeps no site (until Keep is called).
    void KeepNone();
    // Keeps the site an ASCII name stands for (SiteOfName); false and nothing
    // kept when it stands for none. spelling: how the user wrote it, shown in
    // the menu instead of the site; the first one given for a site stays.
    bool Keep(std::string_view name, std::string_view spelling = {});
    // Keeps a site no longer; it goes to the front of the recent sites, with
    // its spelling, so that the menu still offers it.
    void Unkeep(std::string_view name);
    // Flips a site between kept and not kept; gives back whether it is kept now.
    bool Flip(std::string_view name, std::string_view spelling = {});
    // Counts the changes of the kept sites: a verdict on a file holds while it stays.
    std::uint64_t Changes() const { return changes_; }
    // Every site the user kept, in alphabetical order.
    const std::set<std::string, std::less<>>& Kept() const { return kept_; }

    // Keeps the sites the sources name, instead of those they named before; a
    // name that is no site keeps nothing. Changes() moves only when what the
    // sources keep changed.
    void KeepFromSources(const std::vector<TSourceSite>& named);
    // The sites kept by a source and not by the user, each with the first source naming it.
    const std::map<std::string, std::string, std::less<>>& KeptBySources() const { return bySource_; }
    // How the user wrote a kept or recent site; empty when not otherwise than the site.
    std::string_view Spelling(std::string_view site) const;

    // Notes a munched cookie's host among the recent sites, as its site, at the front.
    void Munched(std::string_view host);
    // Up to ten sites munched lately that are not kept, the most recent first.
    std::vector<std::string> Recent() const;

private:
    void noteRecent(std::string site);

    bool keptAtAll(std::string_view site) const { return kept_.contains(site) || bySource_.contains(site); }

    std::set<std::string, std::less<>> kept_;
    std::map<std::string, std::string, std::less<>> bySource_; // kept by a source, not by the user
    std::map<std::string, std::string, std::less<>> sourceSites_; // every site the sources keep
    std::uint64_t changes_ = 0;
    std::vector<std::string> recent_; // most recent first, never a kept site
    std::map<std::string, std::string, std::less<>> spellings_; // of kept and recent sites only
};
