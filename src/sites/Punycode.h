// Punycode (RFC 3492): one label of an internationalised host name between its
// characters and the letters, digits and hyphens it is written with after
// "xn--". Characters of the Basic Multilingual Plane only, where every letter a
// host name may hold lies: each UTF-16 unit one character. Portable, no state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The label's ASCII form (without "xn--"); nullopt for a surrogate or a label
// too long to count.
std::optional<std::string> PunycodeEncode(std::u16string_view label);

// The characters the ASCII form stands for; nullopt when it is not Punycode (a
// letter that is no digit of it, a cut number) or stands for a character past
// U+FFFF or a surrogate.
std::optional<std::u16string> PunycodeDecode(std::string_view ascii);
