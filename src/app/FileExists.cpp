// The exists-as-a-file test.
#include "app/FileExists.h"

bool FileExists(platform::IFileSystem& fileSystem, const std::string& path)
{
    if (path.empty())
        return false;
    bool found = false;
    fileSystem.findFiles(path, [&found](const platform::FindEntry& entry) {
        found = (entry.attributes & platform::faDirectory) == 0;
        return false; // the first entry decides
    });
    return found;
}
