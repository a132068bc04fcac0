// The folders the munch cycle must never empty, whatever the settings name: a
// drive root, a folder of the system or of the user's own (as the system names
// them), or a folder above one of them.
#pragma once

#include "platform/Folders.h"

#include <optional>
#include <string>
#include <vector>

class SystemFolderGuard {
public:
    explicit SystemFolderGuard(platform::IFolders& folders) : folders_(folders) {}

    // Whether emptying the files of the folder would empty such a folder. Paths
    // are compared as full long paths, letter case ignored, so a short name, a
    // relative path or a trailing backslash does not hide one.
    bool Refuses(const std::string& folder);

private:
    std::string comparable(const std::string& folder);

    platform::IFolders& folders_;
    // The system's folders in comparable form, asked for once: they do not move
    // while the program runs, and asking costs milliseconds.
    std::optional<std::vector<std::string>> systemFolders_;
    // The last absolute folder judged, and the verdict: the cycle asks for the
    // same folder twice a second. A relative one follows the current folder.
    std::string lastFolder_;
    bool lastRefused_ = false;
};
