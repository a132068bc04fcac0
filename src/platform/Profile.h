// The private-profile (INI) service: one key of one file per call.
// A bare file name means the file of that name in the Windows directory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

class IProfile {
public:
    virtual ~IProfile() = default;

    // The key's value, or fallback when the file, section or key is missing;
    // cut to bufferSize - 1 characters, as a buffer of that size holds.
    virtual std::string readString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& fallback,
                                   std::size_t bufferSize) = 0;

    // Writes the key, adding the file or section as needed; false when refused.
    virtual bool writeString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;

    // The names of the section's keys in the file's order, blanks around them
    // cut; none when the file or the section is missing or cannot be read.
    virtual std::vector<std::string> readKeyNames(const std::string& file, const std::string& section) = 0;

    // Removes the one key (letter case ignored), leaving the rest of the file
    // as it stands; true also when it was not there, false when refused.
    virtual bool removeKey(const std::string& file, const std::string& section, const std::string& key) = 0;
};

} // namespace platform
