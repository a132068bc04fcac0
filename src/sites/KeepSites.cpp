// The sites kept and the sites munched lately, and the names they are written with.
#include "sites/KeepSites.h"

#include "sites/CodePoints.h"
#include "sites/IdnaMapping.h"
#include "sites/Nfc.h"
#include "sites/PublicSuffixes.h"
#include "sites/SitePatterns.h"
#include "sites/Punycode.h"
#include "platform/PathText.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::size_t maxNameLength = 253;
constexpr std::size_t maxLabelLength = 63;
constexpr std::string_view acePrefix = "xn--";

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// One label as a host name writes it (mapped and normalised already): ASCII as
// it is, or "xn--" and Punycode.
std::optional<std::string> asciiLabel(std::u32string_view label)
{
    if (std::all_of(label.begin(), label.end(), [](char32_t c) { return c < 0x80; }))
        return std::string(label.begin(), label.end());
    if (label.size() > maxLabelLength)
        return std::nullopt; // longer than its "xn--" form may be; spares the encoder a long run
    const std::optional<std::string> encoded = PunycodeEncode(label);
    return encoded ? std::string(acePrefix) + *encoded : encoded;
}

std::u16string widened(std::string_view ascii)
{
    std::u16string wide;
    for (char c : ascii)
        wide += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\uFFFD'; // no letter of a name
    return wide;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether a name of digits and dots would be read as an IPv4 address: its last
// label is a number. Such a name is a site only when written as browsers
// store an address (four numbers up to 255, no leading zero).
bool isNumeric(std::string_view name)
{
    const std::string_view last = name.substr(name.rfind('.') + 1);
    return !last.empty() && std::all_of(last.begin(), last.end(), isDigit);
}

bool isAddress(std::string_view name)
{
    int parts = 0;
    for (std::string_view rest = name;; ++parts) {
        const std::string_view part = rest.substr(0, rest.find('.'));
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part.front() == '0') ||
            !std::all_of(part.begin(), part.end(), isDigit) || (part.size() == 3 && part > "255"))
            return false;
        if (part.size() == rest.size())
            return parts == 3;
        rest.remove_prefix(part.size() + 1);
    }
}

// The site of a host name (lower case, ASCII, no outer dot): its registrable
// domain, or the address itself; empty when it is a public suffix or a number
// that is no whole address.
std::string_view siteOfHostName(std::string_view name)
{
    if (isNumeric(name))
        return isAddress(name) ? name : std::string_view();
    const std::size_t labels = static_cast<std::size_t>(std::count(name.begin(), name.end(), '.')) + 1;
    std::size_t suffix = PublicSuffixLabels(name);
    // No rule: the list's default makes an unknown top-level label the suffix;
    // a name of that one label (a machine of the local network) is a site.
    if (suffix == 0)
        suffix = labels > 1 ? 1 : 0;
    if (suffix >= labels)
        return {};
    std::size_t start = name.size();
    for (std::size_t taken = 0; taken <= suffix; ++taken)
        start = name.rfind('.', start - 1);
    return start == std::string_view::npos ? name : name.substr(start + 1);
}

std::string_view withoutOuterDots(std::string_view name)
{
    if (name.starts_with('.'))
        name.remove_prefix(1);
    if (name.ends_with('.'))
        name.remove_suffix(1);
    return name;
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

std::string SiteOfName(std::u16string_view name)
{
    if (name.size() > maxNameLength + 2)
        return {};
    // As browsers read it: the mapping lowers letters and makes an ideographic
    // full stop a dot; then a letter and its marks are composed as one.
    const std::optional<std::u32string> points = CodePointsOfUtf16(name);
    const std::optional<std::u32string> mapped = points ? IdnaMapped(*points) : std::nullopt;
    if (!mapped)
        return {};
    const std::u32string normalised = NfcNormalized(*mapped);
    std::u32string_view rest = normalised;
    if (rest.starts_with(U'.'))
        rest.remove_prefix(1);
    if (rest.ends_with(U'.'))
        rest.remove_suffix(1);
    std::string host;
    for (;;) {
        const std::size_t dot = rest.find(U'.');
        const std::optional<std::string> label = asciiLabel(rest.substr(0, dot));
        if (!label)
            return {};
        host += *label;
        if (dot == std::u32string_view::npos)
            break;
        host += '.';
        rest.remove_prefix(dot + 1);
    }
    return IsSiteName(host) ? std::string(siteOfHostName(host)) : std::string();
}

std::string SiteOfSpelling(platform::ICodePage& codePage, std::string_view spelling)
{
    const std::optional<std::u16string> name = codePage.toUtf16(spelling);
    return name ? SiteOfName(*name) : std::string();
}

std::string CaptionOfSite(platform::ICodePage& codePage, std::string_view site)
{
    if (site.find(acePrefix) == std::string_view::npos)
        return std::string(site);
    std::u16string shown;
    for (std::string_view rest = site;;) {
        const std::size_t dot = rest.find('.');
        const std::string_view label = rest.substr(0, dot);
        if (label.starts_with(acePrefix)) {
            const std::optional<std::u32string> letters = PunycodeDecode(label.substr(acePrefix.size()));
            if (!letters)
                return std::string(site);
            shown += Utf16OfCodePoints(*letters);
        } else {
            shown += widened(label);
        }
        if (dot == std::string_view::npos)
            break;
        shown += u'.';
        rest.remove_prefix(dot + 1);
    }
    const std::optional<std::string> caption = codePage.fromUtf16(shown);
    // A label that reads back otherwise ("xn--" of upper-case letters, of a
    // character no name holds) is shown as it is, so that ticking its row keeps it.
    return caption && SiteOfSpelling(codePage, *caption) == site ? *caption : std::string(site);
}

std::string HostForMatching(std::string_view host)
{
    return platform::asciiLowered(withoutOuterDots(host));
}

std::string MenuSiteOfHost(std::string_view host)
{
    // Judged before anything is copied: a host of 100,000 characters is no name.
    if (host.size() > maxNameLength + 2)
        return {};
    const std::string name = HostForMatching(host);
    return IsSiteName(name) ? std::string(siteOfHostName(name)) : std::string();
}

bool TKeepSites::Keeps(std::string_view host) const
{
    if (Empty())
        return false;
    const std::string name = HostForMatching(host);
    if (isNumeric(name))
        return keptAtAll(name); // an address is its own site: "1.1" is no ending of it
    // The host itself, then every ending after one of its dots.
    std::string_view rest = name;
    for (;;) {
        if (keptAtAll(rest))
            return true;
        const std::size_t dot = rest.find('.');
        if (dot == std::string_view::npos)
            return false;
        rest.remove_prefix(dot + 1);
    }
}

bool TKeepSites::KeepsOrigin(const TSiteOrigin& origin) const
{
    // Storage a site made while embedded in a kept site's pages serves that site too.
    return Keeps(origin.Host) || (!origin.TopLevelHost.empty() && Keeps(origin.TopLevelHost));
}

void TKeepSites::KeepFromSources(const std::vector<TSourceSite>& named)
{
    std::map<std::string, std::string, std::less<>> sites;
    for (const TSourceSite& entry : named) {
        std::string site = SiteOfName(HostOfPattern(entry.name)); // a host is its own pattern
        if (!site.empty())
            sites.emplace(std::move(site), entry.source);
    }
    if (sites == sourceSites_)
        return;
    sourceSites_ = std::move(sites);
    bySource_.clear();
    for (const auto& [site, source] : sourceSites_) {
        std::erase(recent_, site);
        if (!kept_.contains(site))
            bySource_.emplace(site, source);
    }
    ++changes_;
}

void TKeepSites::KeepNone()
{
    for (const std::string& site : kept_)
        if (std::find(recent_.begin(), recent_.end(), site) == recent_.end())
            spellings_.erase(site);
    kept_.clear();
    bySource_ = sourceSites_;
    ++changes_;
}

bool TKeepSites::Keep(std::string_view name, std::string_view spelling)
{
    std::string site = SiteOfName(widened(name));
    if (site.empty())
        return false;
    if (kept_.contains(site))
        return true;
    if (spelling.empty() || spelling == site)
        spellings_.erase(site);
    else
        spellings_.insert_or_assign(site, std::string(spelling));
    std::erase(recent_, site);
    bySource_.erase(site);
    kept_.insert(std::move(site));
    ++changes_;
    return true;
}

void TKeepSites::Unkeep(std::string_view name)
{
    const std::string site = SiteOfName(widened(name));
    const auto found = kept_.find(site);
    if (found == kept_.end())
        return;
    kept_.erase(found);
    ++changes_;
    if (const auto source = sourceSites_.find(site); source != sourceSites_.end())
        bySource_.insert(*source); // still kept, now by its source alone
    else
        noteRecent(site);
}

bool TKeepSites::Flip(std::string_view name, std::string_view spelling)
{
    if (kept_.contains(SiteOfName(widened(name)))) {
        Unkeep(name);
        return false;
    }
    return Keep(name, spelling);
}

std::string_view TKeepSites::Spelling(std::string_view site) const
{
    const auto found = spellings_.find(site);
    return found == spellings_.end() ? std::string_view() : std::string_view(found->second);
}

void TKeepSites::Munched(std::string_view host)
{
    std::string site = MenuSiteOfHost(host);
    if (site.empty() || keptAtAll(site))
        return;
    if (!recent_.empty() && recent_.front() == site)
        return; // the common case: many cookies of one site in a row
    noteRecent(std::move(site));
}

void TKeepSites::noteRecent(std::string site)
{
    std::erase(recent_, site);
    recent_.insert(recent_.begin(), std::move(site));
    if (recent_.size() > recentRows) {
        if (!kept_.contains(recent_.back()))
            spellings_.erase(recent_.back());
        recent_.pop_back();
    }
}

std::vector<std::string> TKeepSites::Recent() const
{
    return recent_;
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
