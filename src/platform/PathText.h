// Text rules of Windows paths and names shared by the program, its file systems and their fakes.
#pragma once

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

} // namespace platform
