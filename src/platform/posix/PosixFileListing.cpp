// The file search on POSIX files, with the Windows search's rules, and the look
// at an entry that a search takes and a delete of that entry reuses.
#include "platform/posix/PosixFileSystem.h"

#include "platform/PathText.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

using platform::FindEntry;

namespace {

bool isDotOrDotDot(const std::string& name)
{
    return name == "." || name == "..";
}

// The attribute word that Windows would give the entry (Wine's view: dot-files hidden).
bool describeEntry(int folder, const char* path, const std::string& name, std::uint32_t& attributes,
                   std::uint32_t& sizeLow)
{
    struct stat link;
    if (::fstatat(folder, path, &link, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    struct stat target = link;
    bool isLink = S_ISLNK(link.st_mode);
    if (isLink && ::fstatat(folder, path, &target, 0) != 0)
        target = link; // a dangling link is a file-like link

    // A link is described as itself, as Windows does: only whether it points
    // at a folder comes from its target; it is never read-only and has no size.
    attributes = 0;
    if (S_ISDIR(target.st_mode))
        attributes |= platform::faDirectory;
    else
        attributes |= platform::faArchive;
    if (!isLink && (link.st_mode & S_IWUSR) == 0)
        attributes |= platform::faReadOnly;
    if (!name.empty() && name[0] == '.' && !isDotOrDotDot(name))
        attributes |= platform::faHidden;
    if (isLink)
        attributes |= platform::faReparsePoint;
    sizeLow = isLink || S_ISDIR(link.st_mode) ? 0 : static_cast<std::uint32_t>(static_cast<std::uint64_t>(link.st_size));
    return true;
}

} // namespace

bool PosixFileSystem::describe(const std::string& hostPath, const std::string& name, Description& found)
{
    if (!hostPath.empty() && last_.hostPath == hostPath) {
        found = last_;
        return true;
    }
    Relative at = relative(hostPath);
    if (!describeEntry(at.folder, at.path, name, found.attributes, found.sizeLow))
        return false;
    found.hostPath = hostPath;
    return true;
}

PosixFileSystem::Relative PosixFileSystem::relative(const std::string& hostPath) const
{
    const std::string& folder = listing_.folder;
    if (!folder.empty() && hostPath.size() > folder.size() && hostPath.compare(0, folder.size(), folder) == 0 &&
        hostPath.find('/', folder.size()) == std::string::npos)
        return {listing_.fd, hostPath.c_str() + folder.size()};
    return {AT_FDCWD, hostPath.c_str()};
}

void PosixFileSystem::findFiles(const std::string& pattern, const std::function<bool(const FindEntry&)>& visit)
{
    const auto [folder, namePattern] = platform::splitPath(pattern);
    if (namePattern.empty())
        return;
    std::string hostFolder = folder.empty() ? std::string(".") : hostPath(folder);
    if (hostFolder.empty())
        return;
    if (hostFolder.back() != '/')
        hostFolder += '/';

    FindEntry entry;
    Description found;
    // One exact name: no need to read the folder, unless only the letter case differs.
    if (namePattern.find_first_of("*?") == std::string::npos) {
        if (describe(hostFolder + namePattern, namePattern, found)) {
            entry = {namePattern, found.attributes, found.sizeLow};
            visit(entry);
            return;
        }
    }

    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostFolder.c_str()), &::closedir);
    if (!dir)
        return;
    // A drive's root lists no "." and "..", as on Windows.
    // (Two looks, not a resolution of both paths: a walk asks this of every folder.)
    struct stat listed, root;
    bool isRoot = ::fstat(::dirfd(dir.get()), &listed) == 0 && ::stat(driveFolder_.c_str(), &root) == 0 &&
                  listed.st_dev == root.st_dev && listed.st_ino == root.st_ino;
    // Nested searches (the visitor's own) put back the listing they found.
    struct ListingScope {
        Listing& current;
        Listing saved;
        ~ListingScope() { current = saved; }
    } scope{listing_, listing_};
    listing_ = {hostFolder, ::dirfd(dir.get())};
    // readdir streams: entries deleted by the visitor are simply not met again.
    while (const dirent* listed = ::readdir(dir.get())) {
        std::string name = listed->d_name;
        if (isRoot && isDotOrDotDot(name))
            continue;
        if (!platform::windowsWildcardMatch(namePattern, name))
            continue;
        last_.hostPath.clear(); // a name met in a listing is looked at afresh
        if (!describe(hostFolder + name, name, found))
            continue; // gone since the folder was read
        entry = {name, found.attributes, found.sizeLow};
        found.path = folder + name;
        struct Showing {
            Description& last;
            ~Showing() { last.hostPath.clear(); }
        } showing{last_};
        last_ = found;
        if (!visit(entry))
            return;
    }
}
