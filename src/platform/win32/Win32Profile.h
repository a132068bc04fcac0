// Win32 only. The private-profile service over GetPrivateProfileStringA and
// WritePrivateProfileStringA (a null key lists the
// names, a null value removes the key).
#pragma once

#include "platform/Profile.h"

class Win32Profile final : public platform::IProfile {
public:
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback, std::size_t bufferSize) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<std::string> readKeyNames(const std::string& file, const std::string& section) override;
    bool removeKey(const std::string& file, const std::string& section, const std::string& key) override;
};
