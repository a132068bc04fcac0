// Deleting the file that a store path names.
#include "browserdata/StoreFiles.h"

#include "platform/PathText.h"

bool DeleteStoreFile(platform::IFileSystem& files, const std::string& path)
{
    if (platform::opensDevice(path))
        return false;
    platform::PathParts parts = platform::splitPath(path);
    if (!platform::isListedName(parts.name))
        return false;
    // "C:name" lies in the drive's current folder, "name" in the program's.
    if (parts.folder.empty() || parts.folder.back() == ':')
        parts.folder += '.';
    const std::string folder = files.finalPath(parts.folder);
    return !folder.empty() && files.deleteFile(folder, parts.name);
}
