// Win32 only. The registry service over advapi32, and the program's path.
#pragma once

#include "platform/Registry.h"

class Win32Registry final : public platform::IRegistry {
public:
    std::unique_ptr<platform::IRegistryKey> openKey(platform::RegRoot root, const std::string& path) override;
    std::unique_ptr<platform::IRegistryKey> openKeyToRead(platform::RegRoot root, const std::string& path) override;
    std::unique_ptr<platform::IRegistryWatch> watchKeys(const std::vector<platform::RegKeyName>& keys) override;
    std::string programPath() override;
};
