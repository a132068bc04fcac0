// Folders with a settable Windows directory, system folders and shell folders.
#pragma once

#include "platform/Folders.h"
#include "support/FakeService.h"

#include <cctype>
#include <map>

class FakeFolders final : public platform::IFolders, public FakeService {
public:
    std::string windowsDirectory() override
    {
        if (record("windowsDirectory"))
            return {};
        return windowsDir;
    }
    std::vector<std::string> systemFolders() override
    {
        if (record("systemFolders"))
            return {};
        return folders;
    }
    std::string shellFolder(platform::ShellFolder folder) override
    {
        if (record("shellFolder", {std::to_string(static_cast<int>(folder))}))
            return {};
        auto named = shellFolders.find(folder);
        return named == shellFolders.end() ? std::string() : named->second;
    }

    platform::DriveKind driveKind(const std::string& path) override
    {
        if (record("driveKind", {path}))
            return platform::DriveKind::Unknown;
        std::string plain = path.rfind("\\\\?\\", 0) == 0 ? path.substr(4) : path;
        if (plain.rfind("UNC\\", 0) == 0 || plain.rfind("\\\\", 0) == 0)
            return platform::DriveKind::Network;
        if (plain.size() < 2 || plain[1] != ':')
            return platform::DriveKind::Unknown;
        auto known = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(plain[0]))));
        return known == drives.end() ? platform::DriveKind::Fixed : known->second;
    }

    std::string windowsDir = "C:\\WINDOWS";
    std::vector<std::string> folders{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32", "C:\\Program Files",
                                     "C:\\Documents and Settings\\user", "C:\\Documents and Settings\\user\\Desktop"};
    // The folders the shell names; one left out is one it cannot name.
    std::map<platform::ShellFolder, std::string> shellFolders;
    std::map<char, platform::DriveKind> drives; // by upper-case letter; a drive not named is fixed
};
