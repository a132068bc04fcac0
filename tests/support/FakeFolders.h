// Folders with a settable Windows directory, system folders, shell folders and long forms of paths.
#pragma once

#include "platform/Folders.h"
#include "support/FakeService.h"

#include <map>

class FakeFolders final : public platform::IFolders, public FakeService {
public:
    std::string windowsDirectory(std::size_t maxChars) override
    {
        if (record("windowsDirectory", {std::to_string(maxChars)}))
            return {};
        return windowsDir.substr(0, maxChars);
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
    std::string fullLongPath(const std::string& path) override
    {
        if (record("fullLongPath", {path}))
            return path;
        auto known = longPaths.find(path);
        return known == longPaths.end() ? path : known->second;
    }

    std::string windowsDir = "C:\\WINDOWS";
    std::vector<std::string> folders{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32", "C:\\Program Files",
                                     "C:\\Documents and Settings\\user", "C:\\Documents and Settings\\user\\Desktop"};
    // The folders the shell names; one left out is one it cannot name.
    std::map<platform::ShellFolder, std::string> shellFolders;
    std::map<std::string, std::string> longPaths; // what fullLongPath makes of a path; others stay
};
