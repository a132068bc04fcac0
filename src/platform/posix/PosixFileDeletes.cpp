// The delete rule on POSIX files: a listed entry, no link, in a folder that is
// its own final path, looked at once and deleted by its name.
#include "platform/posix/PosixFileSystem.h"

#include "platform/PathChars.h"
#include "platform/PathText.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

bool PosixFileSystem::isFinalFolder(const std::string& folder)
{
    const std::string host = hostPath(folder);
    struct stat reached;
    if (host.empty() || ::stat(host.c_str(), &reached) != 0)
        return false;
    // The same folder, reached by the same text, was where it said it was.
    if (checked_.folder == folder && checked_.device == reached.st_dev && checked_.inode == reached.st_ino)
        return true;
    std::string named = platform::withoutKernelPrefix(folder);
    while (named.size() > 3 && named.back() == '\\')
        named.pop_back();
    if (!platform::sameName(nullptr, finalPath(folder), named))
        return false;
    checked_ = {folder, reached.st_dev, reached.st_ino};
    return true;
}

std::string PosixFileSystem::storedName(const std::string& hostFolder, const std::string& name) const
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostFolder.c_str()), &::closedir);
    if (!dir)
        return {};
    while (const dirent* listed = ::readdir(dir.get()))
        if (platform::sameName(nullptr, listed->d_name, name))
            return listed->d_name;
    return {};
}

bool PosixFileSystem::describeListed(const std::string& folder, const std::string& name, Description& found)
{
    if (!platform::isListedName(name))
        return false;
    const std::string path = folder + (!folder.empty() && folder.back() == '\\' ? "" : "\\") + name;
    if (const Description* showing = shown(path)) {
        found = *showing;
    } else {
        const std::string host = hostPath(path);
        if (host.empty())
            return false;
        if (!describe(host, name, found)) {
            // Windows finds a name in any letter case.
            const std::string hostFolder = host.substr(0, host.size() - name.size());
            const std::string stored = storedName(hostFolder, name);
            if (stored.empty() || !describe(hostFolder + stored, stored, found))
                return false;
        }
    }
    last_.hostPath.clear();
    // The entry itself, in the very folder named: not a link, and not in a
    // folder reached through one (its final path would be elsewhere).
    return (found.attributes & platform::faReparsePoint) == 0 && isFinalFolder(folder);
}

bool PosixFileSystem::describeDeletableFile(const std::string& folder, const std::string& name, Description& found)
{
    // Windows refuses folders and read-only files.
    return describeListed(folder, name, found) && !(found.attributes & (platform::faDirectory | platform::faReadOnly));
}

bool PosixFileSystem::deleteFile(const std::string& folder, const std::string& name)
{
    Description found;
    if (!describeDeletableFile(folder, name, found))
        return false;
    Relative at = relative(found.hostPath);
    return ::unlinkat(at.folder, at.path, 0) == 0;
}

bool PosixFileSystem::describeTogether(const std::string& folder, const std::vector<std::string>& names,
                                       std::vector<Description>& found)
{
    found.assign(names.size(), {});
    for (std::size_t i = 0; i < names.size(); ++i) {
        // One entry named twice would be counted as two.
        for (std::size_t j = 0; j < i; ++j)
            if (platform::sameName(nullptr, names[i], names[j]))
                return false;
        if (!describeDeletableFile(folder, names[i], found[i]))
            return false;
    }
    return !names.empty();
}

bool PosixFileSystem::canDeleteTogether(const std::string& folder, const std::vector<std::string>& names)
{
    std::vector<Description> found;
    return describeTogether(folder, names, found);
}

bool PosixFileSystem::deleteTogether(const std::string& folder, const std::vector<std::string>& names)
{
    // POSIX holds no file against its deletion: once each is seen to be deletable, all go.
    std::vector<Description> found;
    if (!describeTogether(folder, names, found))
        return false;
    bool all = true;
    for (const Description& entry : found) {
        Relative at = relative(entry.hostPath);
        all &= ::unlinkat(at.folder, at.path, 0) == 0;
    }
    return all;
}

bool PosixFileSystem::removeDirectory(const std::string& folder, const std::string& name)
{
    Description found;
    if (!describeListed(folder, name, found) || !(found.attributes & platform::faDirectory) ||
        (found.attributes & platform::faReadOnly))
        return false;
    return ::rmdir(found.hostPath.c_str()) == 0;
}
