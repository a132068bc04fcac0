// Text rules of Windows paths and names shared by the program, its file systems and their fakes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// A path cut after its last backslash or colon: the folder keeps that
// separator; without one the folder is empty and the whole path is the name.
struct PathParts {
    std::string folder;
    std::string name;
};

inline PathParts splitPath(std::string_view path)
{
    const std::size_t cut = path.find_last_of("\\:");
    const std::size_t start = cut == std::string_view::npos ? 0 : cut + 1;
    return {std::string(path.substr(0, start)), std::string(path.substr(start))};
}

// A to Z in lower case, every other byte as it is, whatever the C locale says.
inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text with A to Z in lower case.
inline std::string asciiLowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = asciiLower(c);
    return lowered;
}

// Whether two texts are the same once A to Z are taken in lower case, as
// Windows compares file names, keys and values.
inline bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

namespace detail {

// Whether a name matches a pattern of "*" and "?", which stay wildcards even
// where the name holds them (POSIX names may).
inline bool plainWildcardMatch(std::string_view pattern, std::string_view name)
{
    // Greedy matching with one point of return for the last "*".
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace detail

// Whether a name matches a Windows search pattern's last element as the file
// search has it: "*" any run, "?" any one character, letters without regard to
// case, and a pattern ending in ".*" also matching the name without that
// ending ("*.*" matches "README").
inline bool windowsWildcardMatch(std::string_view pattern, std::string_view name)
{
    if (detail::plainWildcardMatch(pattern, name))
        return true;
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
           detail::plainWildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}

} // namespace platform
