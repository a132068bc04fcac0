// A network with a settable host name and address list.
#pragma once

#include "platform/Network.h"
#include "support/FakeService.h"

class FakeNetwork final : public platform::INetwork, public FakeService {
public:
    // Winsock answers nothing before a start that succeeded (WSANOTINITIALISED).
    void socketsStartup(std::uint16_t version) override
    {
        if (!record("socketsStartup", {std::to_string(version)}))
            ++socketsStarted;
    }
    void socketsCleanup() override
    {
        if (!record("socketsCleanup") && socketsStarted > 0)
            --socketsStarted;
    }
    std::string hostName(std::size_t bufferSize) override
    {
        if (record("hostName", {std::to_string(bufferSize)}) || socketsStarted == 0)
            return {};
        return name.substr(0, bufferSize - 1);
    }
    std::optional<std::vector<std::string>> hostAddresses(const std::string& host) override
    {
        // Winsock takes an empty name for this machine.
        if (record("hostAddresses", {host}) || socketsStarted == 0 || (host != name && !host.empty()))
            return std::nullopt;
        return addresses;
    }

    std::string name = "muncher";
    std::vector<std::string> addresses{"10.0.0.5"};
    int socketsStarted = 0;
};
