// The Public Suffix List, compiled in from Debian's publicsuffix package at
// build time (cmake/make_public_suffixes.py): the names under which anyone
// may register a site ("com", "co.uk", "blogspot.com"). Portable, no state.
#pragma once

#include <cstddef>
#include <string_view>

// How many labels at the end of a host name (lower case, ASCII, without an
// outer dot) are its public suffix by the list's rules (normal, wildcard,
// exception; ICANN's and the private ones); 0 when no rule matches (the list's
// default rule would then take the last label). A label "xn--..." is matched
// by the Unicode name it stands for.
std::size_t PublicSuffixLabels(std::string_view host);
