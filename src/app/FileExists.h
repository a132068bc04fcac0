// Whether a path names an existing file: a search for exactly that path finds
// an entry that is not a folder. An empty path never does.
#pragma once

#include "platform/FileSystem.h"

#include <string>

bool FileExists(platform::IFileSystem& fileSystem, const std::string& path);
