// Win32 only. The shell service over ShellExecute.
#pragma once

#include "platform/Shell.h"

class Win32Shell final : public platform::IShell {
public:
    void shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand) override;
};
