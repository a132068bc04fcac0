// The network service: Winsock 1.1's start and clean-up, the machine's name and
// a host's addresses. UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class INetwork {
public:
    virtual ~INetwork() = default;

    // Winsock: start (asking for the version word), end.
    virtual void socketsStartup(std::uint16_t version) = 0;
    virtual void socketsCleanup() = 0;
    // The machine's host name, read into a buffer of bufferSize bytes; empty on failure.
    virtual std::string hostName(std::size_t bufferSize) = 0;
    // The IPv4 addresses of a host in dotted-decimal form, in the host entry's
    // order; nullopt when there is no host entry. An empty name is this machine,
    // as Winsock takes it.
    virtual std::optional<std::vector<std::string>> hostAddresses(const std::string& name) = 0;
};

} // namespace platform
