// Exception entries read as the hosts they name.
#include "sites/SitePatterns.h"

#include <algorithm>

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool lowerEquals(std::u16string_view text, std::u16string_view lower)
{
    return text.size() == lower.size() && std::equal(text.begin(), text.end(), lower.begin(), [](char16_t a, char16_t b) {
               return (a >= u'A' && a <= u'Z' ? static_cast<char16_t>(a + 32) : a) == b;
           });
}

} // namespace

std::u16string HostOfPattern(std::u16string_view pattern)
{
    pattern = pattern.substr(0, pattern.find(u',')); // the primary pattern of a pair
    while (!pattern.empty() && isBlank(pattern.front()))
        pattern.remove_prefix(1);
    while (!pattern.empty() && isBlank(pattern.back()))
        pattern.remove_suffix(1);
    if (const std::size_t scheme = pattern.find(u"://"); scheme != std::u16string_view::npos) {
        const std::u16string_view name = pattern.substr(0, scheme);
        // Cookies are web sites' only: another scheme (file, an extension's) names no site.
        if (!lowerEquals(name, u"http") && !lowerEquals(name, u"https") && name != u"*")
            return {};
        pattern.remove_prefix(scheme + 3);
    }
    pattern = pattern.substr(0, std::min({pattern.find(u'/'), pattern.find(u'^'), pattern.find(u'?'), pattern.find(u'#')}));
    if (const std::size_t user = pattern.rfind(u'@'); user != std::u16string_view::npos)
        pattern.remove_prefix(user + 1);
    if (pattern.starts_with(u"[*.]"))
        pattern.remove_prefix(4);
    else if (pattern.starts_with(u"*."))
        pattern.remove_prefix(2);
    // A port goes; an address in brackets (IPv6) is no name a site is kept by,
    // nor is a scheme without hosts ("about:blank", "moz-nullprincipal:{...}").
    if (const std::size_t colon = pattern.find(u':'); colon != std::u16string_view::npos) {
        const std::u16string_view port = pattern.substr(colon + 1);
        if (port != u"*" && (port.empty() || !std::all_of(port.begin(), port.end(), [](char16_t c) {
                                 return c >= u'0' && c <= u'9';
                             })))
            return {};
        pattern = pattern.substr(0, colon);
    }
    if (pattern.empty() || pattern.find_first_of(u"*[]") != std::u16string_view::npos)
        return {};
    return std::u16string(pattern);
}
