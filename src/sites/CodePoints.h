// The characters of a site's name as code points, from and to the text forms
// names come in: UTF-16 (the code page's, the registry's) and UTF-8 (the
// browsers' files). Text that is not of its form names no character: an
// unpaired surrogate, a cut, overlong or surrogate UTF-8 sequence. Portable, no state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The code points of UTF-16 text; nullopt when a surrogate is unpaired.
std::optional<std::u32string> CodePointsOfUtf16(std::u16string_view text);

// UTF-16 of code points, those past U+FFFF as surrogate pairs.
std::u16string Utf16OfCodePoints(std::u32string_view text);

// UTF-16 of UTF-8 text; nullopt when it is not UTF-8.
std::optional<std::u16string> Utf16OfUtf8(std::string_view text);

// Appends one code point (a scalar value) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);
