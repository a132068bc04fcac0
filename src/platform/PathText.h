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

// Whether a path names a device rather than a file: any "\\.\" path, or a last
// element that is CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, with any
// extension, letter case ignored, as the platform reads it (blanks before the
// extension and a colon after the name do not count).
inline bool namesDevice(std::string_view path)
{
    if (path.size() >= 4 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/') &&
        path[2] == '.' && (path[3] == '\\' || path[3] == '/'))
        return true;
    const std::size_t cut = path.find_last_of("\\/");
    std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    name = name.substr(0, name.find_first_of(".:"));
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL"})
        if (sameIgnoringCase(name, device))
            return true;
    return name.size() == 4 && (sameIgnoringCase(name.substr(0, 3), "COM") || sameIgnoringCase(name.substr(0, 3), "LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

// A path without the "\\?\" that final paths carry ("\\?\UNC\" becomes "\\").
inline std::string withoutLongPrefix(std::string_view path)
{
    if (path.size() >= 8 && path.substr(0, 4) == "\\\\?\\" && sameIgnoringCase(path.substr(4, 4), "UNC\\"))
        return "\\\\" + std::string(path.substr(8));
    if (path.size() >= 4 && path.substr(0, 4) == "\\\\?\\")
        return std::string(path.substr(4));
    return std::string(path);
}

// Whether a name from a listing stands for an entry of that folder alone: not
// empty, not "." or "..", and holding no separator (a POSIX name may).
inline bool isListedName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/") == std::string_view::npos;
}

// Whether a final path is the entry listed as name in folder (itself a final
// path): the folder followed by that very name, letter case ignored. Anything
// else, such as a link's target, is another entry.
inline bool isEntryOf(std::string_view finalPath, std::string_view folder, std::string_view name)
{
    std::string expected = withoutLongPrefix(folder);
    if (expected.empty() || expected.back() != '\\')
        expected += '\\';
    expected += name;
    return isListedName(name) && sameIgnoringCase(withoutLongPrefix(finalPath), expected);
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
