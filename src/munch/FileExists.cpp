// The exists-as-a-file test.
#include "munch/FileExists.h"

bool FileExists(platform::IFileSystem& fileSystem, const std::string& path)
{
    if (path.empty())
        return false;
    // One attribute query: it sees the same entry a search for the exact path
    // would, without opening and reading the folder (under Wine a search for a
    // file that is not there reads the whole folder, ten times the cost).
    const std::uint32_t attributes = fileSystem.attributes(path);
    return attributes != platform::invalidAttributes && (attributes & platform::faDirectory) == 0;
}
