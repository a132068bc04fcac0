// Deleting the file that a store path names.
#include "browserdata/StoreFiles.h"

#include "platform/PathChars.h"

bool DeleteStoreFile(platform::IFileSystem& files, platform::ICodePage& codePage, const std::string& path)
{
    platform::PathParts parts = platform::splitPath(&codePage, path);
    // The name as a whole: a trail byte 0x5C within it cuts nothing.
    if (platform::opensDevice(path.substr(0, 4)) || platform::opensDevice(parts.name) ||
        !platform::isListedName(&codePage, parts.name))
        return false;
    // "C:name" lies in the drive's current folder, "name" in the program's.
    if (parts.folder.empty() || platform::endsWithChar(&codePage, parts.folder, ':'))
        parts.folder += '.';
    const std::string folder = files.finalPath(parts.folder);
    return !folder.empty() && files.deleteFile(folder, parts.name);
}
