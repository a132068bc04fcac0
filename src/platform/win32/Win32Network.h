// Win32 only. The network service over Winsock 1.1.
#pragma once

#include "platform/Network.h"

class Win32Network final : public platform::INetwork {
public:
    void socketsStartup(std::uint16_t version) override;
    void socketsCleanup() override;
    std::string hostName(std::size_t bufferSize) override;
    std::optional<std::vector<std::string>> hostAddresses(const std::string& name) override;
};
