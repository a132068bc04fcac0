// The IDNA mapping of Unicode (UTS 46), compiled in from Debian's python3-idna
// package at build time (cmake/make_idna_mapping.py): how a browser reads the
// letters of a host name before it encodes them ("ĳ" as "ij", full-width
// Latin and mathematical letters as ASCII, upper case as lower case).
// Non-transitional ("ß" stays), without the STD3 rules. Portable, no state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The name with each code point mapped: a valid one kept, an ignored one
// dropped, a mapped one replaced (U+3002 by a dot too). nullopt when it holds
// a disallowed code point or a surrogate. Not normalised (NfcNormalized).
std::optional<std::u32string> IdnaMapped(std::u32string_view name);
