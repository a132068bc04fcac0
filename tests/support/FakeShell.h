// A shell that logs its "open" requests.
#pragma once

#include "platform/Shell.h"
#include "support/FakeService.h"

class FakeShell final : public platform::IShell, public FakeService {
public:
    void shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand) override
    {
        record("shellOpen", {operation, file, parameters, directory, std::to_string(showCommand)});
    }
};
