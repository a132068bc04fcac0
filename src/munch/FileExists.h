// Whether a path names an existing file: the entry it names is there and is
// not a folder. An empty path never does, nor a pattern with wildcards, which
// names no file.
#pragma once

#include "platform/FileSystem.h"

#include <string>

bool FileExists(platform::IFileSystem& fileSystem, const std::string& path);
