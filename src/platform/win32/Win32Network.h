// Win32 only. The network service over Winsock 1.1.
#pragma once

#include "platform/Network.h"

class Win32Network final : public platform::INetwork {
public:
    std::vector<std::string> machineAddresses() override;
};
