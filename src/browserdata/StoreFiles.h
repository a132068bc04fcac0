// Deleting the file that a browser's store path names: every store that is a
// single file (a cookie file, a browser's cookie database) goes through here,
// so that a device's name, a link or a name the platform would rewrite never
// deletes anything but that file. UI thread only; nothing here throws.
#pragma once

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

#include <string>

// Deletes the file a store path names, only when it is that very file: its
// folder is taken by its final path and the name goes whole. True when it was
// deleted; a path naming a device (in any folder, with any extension), a
// link, a read-only or held file, or a folder that cannot be opened: false.
// The path is read by characters of the code page.
bool DeleteStoreFile(platform::IFileSystem& files, platform::ICodePage& codePage, const std::string& path);
