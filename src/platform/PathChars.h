// Path text read by characters of the ANSI code page, never by bytes: the
// second byte of a double-byte character may be that of a backslash (0x5C:
// "表" and "ソ" in code page 932), which separates nothing.
#pragma once

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

// The bytes of the character that starts at text[at]: two for a lead byte
// with a byte after it, otherwise one. No code page: every byte is one.
inline std::size_t charLength(ICodePage* codePage, std::string_view text, std::size_t at)
{
    return codePage && at + 1 < text.size() && codePage->isLeadByte(static_cast<std::uint8_t>(text[at])) ? 2 : 1;
}

// Where the last character that is one of chars starts; npos when there is none.
inline std::size_t lastCharOf(ICodePage* codePage, std::string_view text, std::string_view chars)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); at += charLength(codePage, text, at))
        if (charLength(codePage, text, at) == 1 && chars.find(text[at]) != std::string_view::npos)
            found = at;
    return found;
}

// Whether the last character of text is c.
inline bool endsWithChar(ICodePage* codePage, std::string_view text, char c)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); at += charLength(codePage, text, at))
        last = at;
    return last != std::string_view::npos && last + 1 == text.size() && text[last] == c;
}

// splitPath by characters: cut after the last backslash or colon.
inline PathParts splitPath(ICodePage* codePage, std::string_view path)
{
    const std::size_t cut = lastCharOf(codePage, path, "\\:");
    const std::size_t start = cut == std::string_view::npos ? 0 : cut + 1;
    return {std::string(path.substr(0, start)), std::string(path.substr(start))};
}

// isListedName by characters: not empty, not "." or "..", no backslash or slash.
inline bool isListedName(ICodePage* codePage, std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && lastCharOf(codePage, name, "\\/") == std::string_view::npos;
}

// isOwnEntry by characters: a listed name and no link.
inline bool isOwnEntry(ICodePage* codePage, const FindEntry& entry)
{
    return isListedName(codePage, entry.name) && (entry.attributes & faReparsePoint) == 0;
}

// A single-byte character in lower case as Windows compares names: A to Z,
// and where no code page is given the letters of code page 1252 (the native
// file systems' text: "\xC9" is "\xE9", "\x8A" is "\x9A", "\x9F" is "\xFF").
inline char lowerLetter(ICodePage* codePage, char c)
{
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<char>(byte + 0x20);
    if (codePage)
        return c;
    if ((byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) || byte == 0x8A || byte == 0x8C || byte == 0x8E)
        return static_cast<char>(byte + (byte < 0xC0 ? 0x10 : 0x20));
    return byte == 0x9F ? '\xFF' : c;
}

// Whether two names or paths are the same as the file system compares them:
// character for character, letter case ignored (a double-byte character only
// equals itself).
inline bool sameName(ICodePage* codePage, std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t at = 0; at < a.size();) {
        const std::size_t length = charLength(codePage, a, at);
        if (length != charLength(codePage, b, at))
            return false;
        if (length == 2 ? a.substr(at, 2) != b.substr(at, 2) : lowerLetter(codePage, a[at]) != lowerLetter(codePage, b[at]))
            return false;
        at += length;
    }
    return true;
}

} // namespace platform
