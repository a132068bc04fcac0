// The network service: the machine's own addresses. UI thread only.
#pragma once

#include <string>
#include <vector>

namespace platform {

class INetwork {
public:
    virtual ~INetwork() = default;

    // The IPv4 addresses of this machine in dotted-decimal form, in its host
    // entry's order; empty when its name or its host entry cannot be had.
    virtual std::vector<std::string> machineAddresses() = 0;
};

} // namespace platform
