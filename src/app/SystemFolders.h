// The folders the program must never empty, whatever the settings name: a
// drive root, a folder of the system or of the user's own (as the host names
// them), or a folder above one of them, judged by where each really is.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Host.h"

#include <optional>
#include <string>
#include <vector>

class SystemFolderGuard {
public:
    SystemFolderGuard(platform::IHost& host, platform::IFileSystem& files) : host_(host), files_(files) {}

    // Whether emptying the files of a folder would empty such a folder. The
    // folder is given by its final path (IFileSystem::finalPath), and the
    // host's folders are taken by theirs, so no link, mapped drive, short
    // name or prefix form hides one; letter case is ignored.
    bool Refuses(const std::string& finalFolder);

private:
    platform::IHost& host_;
    platform::IFileSystem& files_;
    // The host's folders by where they are, asked for once: they do not move
    // while the program runs, and asking costs milliseconds.
    std::optional<std::vector<std::string>> systemFolders_;
    // The last folder judged, and the verdict: the cycle asks for the same
    // folder twice a second.
    std::string lastFolder_;
    bool lastRefused_ = false;
};
