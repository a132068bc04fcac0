// The folders the program must never empty, whatever the settings name: a
// drive root, a folder of the system or of the user's own (as the system names
// them), or a folder above one of them, judged by where each really is.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Folders.h"

#include <optional>
#include <string>
#include <vector>

class SystemFolderGuard {
public:
    SystemFolderGuard(platform::IFolders& folders, platform::IFileSystem& files) : folders_(folders), files_(files) {}

    // Whether emptying the files of a folder would empty such a folder. The
    // folder is given by its final path (IFileSystem::finalPath), and the
    // system's folders are taken by theirs, so no link, mapped drive, short
    // name or prefix form hides one; letter case is ignored.
    bool Refuses(const std::string& finalFolder);

private:
    platform::IFolders& folders_;
    platform::IFileSystem& files_;
    // The system's folders by where they are, asked for once: they do not move
    // while the program runs, and asking costs milliseconds.
    std::optional<std::vector<std::string>> systemFolders_;
    // The last folder judged, and the verdict: the cycle asks for the same
    // folder twice a second.
    std::string lastFolder_;
    bool lastRefused_ = false;
};
