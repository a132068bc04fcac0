// A network with a settable address list.
#pragma once

#include "platform/Network.h"
#include "support/FakeService.h"

class FakeNetwork final : public platform::INetwork, public FakeService {
public:
    std::vector<std::string> machineAddresses() override
    {
        if (record("machineAddresses"))
            return {};
        return addresses;
    }

    std::vector<std::string> addresses{"10.0.0.5"};
};
