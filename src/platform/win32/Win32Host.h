// Win32 only. The host service over Winsock 1.1, kernel32 and the shell.
#pragma once

#include "platform/Host.h"

class Win32Host final : public platform::IHost {
public:
    void socketsStartup(std::uint16_t version) override;
    void socketsCleanup() override;
    std::string hostName(std::size_t bufferSize) override;
    std::optional<std::vector<std::string>> hostAddresses(const std::string& name) override;
    std::string windowsDirectory(std::size_t maxChars) override;
    std::vector<std::string> systemFolders() override;
    std::string shellFolder(platform::ShellFolder folder) override;
    std::string fullLongPath(const std::string& path) override;
    bool isLeadByte(std::uint8_t byte) override;
    void shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand) override;
};
