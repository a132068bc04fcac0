// The names a file-system search finds, in the order it finds them.
#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <vector>

inline std::vector<std::string> searchNames(platform::IFileSystem& fileSystem, const std::string& pattern)
{
    std::vector<std::string> result;
    fileSystem.findFiles(pattern, [&](const platform::FindEntry& e) {
        result.push_back(e.name);
        return true;
    });
    return result;
}
