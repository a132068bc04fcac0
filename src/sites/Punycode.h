// Punycode (RFC 3492): one label of an internationalised host name between its
// characters and the letters, digits and hyphens it is written with after
// "xn--", as code points (U+10000 and beyond as one each, not as surrogate
// pairs). Portable, no state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The label's ASCII form (without "xn--"); nullopt for a surrogate, a number
// past U+10FFFF, or a label too long to count.
std::optional<std::string> PunycodeEncode(std::u32string_view label);

// The characters the ASCII form stands for; nullopt when it is not Punycode (a
// letter that is no digit of it, a cut number) or stands for a surrogate or a
// number past U+10FFFF.
std::optional<std::u32string> PunycodeDecode(std::string_view ascii);
