// Exception entries of both browsers and of policies, read as the hosts they name.
#include "sites/SitePatterns.h"

#include <gtest/gtest.h>

TEST(SitePatterns, ReadsTheHostAnEntryNamesOrNone)
{
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"[*.]example.com", u"example.com"},
        {u"https://www.example.com:443", u"www.example.com"},
        {u"https://www.example.com:443,*", u"www.example.com"},
        {u"http://[*.]example.com/path", u"example.com"},
        {u"  example.com  ", u"example.com"},
        {u"https://mail.example.com^userContextId=1", u"mail.example.com"},
        {u"HTTPS://user@Example.com/?q#f", u"Example.com"},
        {u"*://*.example.org", u"example.org"},
        {u"https://b\u00fccher.example", u"b\u00fccher.example"},
        {u"192.168.1.1:8080", u"192.168.1.1"},
        {u"*", u""},
        {u"https://*", u""},
        {u"[*.]", u""},
        {u"file:///C:/x.html", u""},
        {u"chrome-extension://abcdef", u""},
        {u"https://[::1]:443", u""},
        {u"", u""},
        {u"*,example.com", u""},
        {u"[*.]example.com:*", u"example.com"},
        {u"about:reader", u""},
        {u"moz-nullprincipal:{0b5e}", u""},
    };
    for (const auto& [pattern, host] : cases)
        EXPECT_EQ(HostOfPattern(pattern), host) << std::string(pattern.begin(), pattern.end());
}
