// The host that an entry of a browser's or a policy's cookie exceptions names.
#pragma once

#include <string>
#include <string_view>

// The host an exception entry names, as a kept site's name: Chromium's content
// setting patterns ("[*.]example.com", "https://www.example.com:443", the first
// of a "primary,secondary" pair), Firefox's permission origins
// ("https://example.com^userContextId=1") and policy URLs. Empty when it names
// no single host: every host ("*", "https://*"), a scheme without hosts
// ("file:///", an extension's), or text that is no host name.
std::u16string HostOfPattern(std::u16string_view pattern);
