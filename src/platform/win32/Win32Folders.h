// Win32 only. The folders service over kernel32 and the shell's folder calls.
#pragma once

#include "platform/Folders.h"

class Win32Folders final : public platform::IFolders {
public:
    std::string windowsDirectory() override;
    std::vector<std::string> systemFolders() override;
    std::string shellFolder(platform::ShellFolder folder) override;
    platform::DriveKind driveKind(const std::string& path) override;
};
