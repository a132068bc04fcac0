// Text rules of Windows paths and names shared by the program, its file systems and their fakes.
#pragma once

#include <algorithm>
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

// A to Z in lower case, every other character as it is, whatever the C locale says.
template <class Char>
constexpr Char asciiLower(Char c)
{
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

// A backslash or a slash: both part a Windows path.
template <class Char>
constexpr bool isSeparator(Char c)
{
    return c == Char('\\') || c == Char('/');
}

// The text with A to Z in lower case.
inline std::string asciiLowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = asciiLower(c);
    return lowered;
}

namespace detail {

template <class Char>
bool sameIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

// "\\?\", "\\.\" or "\??\".
template <class Char>
bool hasKernelPrefix(std::basic_string_view<Char> path)
{
    return path.size() >= 4 && path[0] == Char('\\') && (path[1] == Char('\\') || path[1] == Char('?')) &&
           (path[2] == Char('?') || (path[2] == Char('.') && path[1] == Char('\\'))) && path[3] == Char('\\');
}

template <class Char>
std::basic_string<Char> withoutKernelPrefix(std::basic_string_view<Char> path)
{
    if (!hasKernelPrefix(path))
        return std::basic_string<Char>(path);
    const std::basic_string_view<Char> rest = path.substr(4);
    if (rest.size() >= 4 && asciiLower(rest[0]) == Char('u') && asciiLower(rest[1]) == Char('n') &&
        asciiLower(rest[2]) == Char('c') && rest[3] == Char('\\'))
        return std::basic_string<Char>(2, Char('\\')) + std::basic_string<Char>(rest.substr(4));
    if (rest.size() >= 2 && asciiLower(rest[0]) >= Char('a') && asciiLower(rest[0]) <= Char('z') && rest[1] == Char(':'))
        return std::basic_string<Char>(rest);
    return std::basic_string<Char>(path);
}

template <class Char>
bool isAbsolute(std::basic_string_view<Char> path)
{
    return (path.size() >= 3 && path[1] == Char(':') && isSeparator(path[2])) ||
           (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]));
}

} // namespace detail

// Whether two texts are the same once A to Z are taken in lower case, as
// Windows compares file names, keys and values.
inline bool sameIgnoringCase(std::string_view a, std::string_view b) { return detail::sameIgnoringCase(a, b); }
inline bool sameIgnoringCase(std::wstring_view a, std::wstring_view b) { return detail::sameIgnoringCase(a, b); }

// Whether a path starts with "\\?\", "\\.\" or "\??\": a path the kernel takes
// without reading it as a DOS path.
inline bool hasKernelPrefix(std::string_view path) { return detail::hasKernelPrefix(path); }
inline bool hasKernelPrefix(std::wstring_view path) { return detail::hasKernelPrefix(path); }

// A path without "\\?\", "\\?\UNC\" (which leaves "\\"), "\\.\" or "\??\"
// before a drive or a share; any other path as it is.
inline std::string withoutKernelPrefix(std::string_view path) { return detail::withoutKernelPrefix(path); }
inline std::wstring withoutKernelPrefix(std::wstring_view path) { return detail::withoutKernelPrefix(path); }

// "X:\" or "\\server": the same path whatever the current folder and drive
// ("C:name" is relative to the current folder of drive C).
inline bool isAbsolute(std::string_view path) { return detail::isAbsolute(path); }
inline bool isAbsolute(std::wstring_view path) { return detail::isAbsolute(path); }

// Whether a path opens a device rather than a file: any "\\.\" path, or a last
// element that is CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, with any
// extension, letter case ignored, as the platform reads it (blanks before the
// extension and a colon after the name do not count).
inline bool opensDevice(std::string_view path)
{
    if (path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) && path[2] == '.' && isSeparator(path[3]))
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

// Whether a name from a listing stands for an entry of that folder alone: not
// empty, not "." or "..", and holding no separator (a POSIX name may).
inline bool isListedName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && std::none_of(name.begin(), name.end(), isSeparator<char>);
}

// Whether a final path is the entry listed as name in folder (itself a final
// path): the folder followed by that very name, letter case ignored. Anything
// else, such as a link's target, is another entry.
inline bool isEntryOf(std::string_view finalPath, std::string_view folder, std::string_view name)
{
    std::string expected = withoutKernelPrefix(folder);
    if (expected.empty() || expected.back() != '\\')
        expected += '\\';
    expected += name;
    return isListedName(name) && sameIgnoringCase(withoutKernelPrefix(finalPath), expected);
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
