// Folders with a settable Windows directory, system folders and shell folders.
#pragma once

#include "platform/Folders.h"
#include "support/FakeService.h"

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

    std::string windowsDir = "C:\\WINDOWS";
    std::vector<std::string> folders{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32", "C:\\Program Files",
                                     "C:\\Documents and Settings\\user", "C:\\Documents and Settings\\user\\Desktop"};
    // The folders the shell names; one left out is one it cannot name.
    std::map<platform::ShellFolder, std::string> shellFolders;
};
