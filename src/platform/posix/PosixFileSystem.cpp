// The file-system service on POSIX files, with Windows path and search rules.
#include "platform/posix/PosixFileSystem.h"

#include "platform/Errors.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

using platform::FileContent;
using platform::FindEntry;

namespace {

std::uint32_t windowsError(int error)
{
    switch (error) {
    case ENOENT: return platform::errorFileNotFound;
    case ENOTDIR: return platform::errorPathNotFound;
    case EMFILE:
    case ENFILE: return platform::errorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR: return platform::errorAccessDenied;
    case ENOMEM: return platform::errorNotEnoughMemory;
    default: return platform::errorGenFailure;
    }
}

FileContent failure(std::uint32_t error)
{
    FileContent content;
    content.error = error;
    return content;
}

bool isDotOrDotDot(const std::string& name)
{
    return name == "." || name == "..";
}

std::string lastElement(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    std::size_t cut = trimmed.find_last_of("\\/:");
    return cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
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

std::string realPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
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

PosixFileSystem::PosixFileSystem(std::string driveFolder, char drive)
    : driveFolder_(std::move(driveFolder)), drive_(platform::asciiLower(drive))
{
    while (driveFolder_.size() > 1 && driveFolder_.back() == '/')
        driveFolder_.pop_back();
}

std::string PosixFileSystem::hostPath(const std::string& path) const
{
    std::string rest = path;
    bool onDrive = false;
    if (rest.size() >= 2 && rest[1] == ':') {
        if (platform::asciiLower(rest[0]) != drive_)
            return {};
        rest.erase(0, 2);
        onDrive = true;
    }
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    if (onDrive || (!rest.empty() && rest[0] == '/'))
        return driveFolder_ + (rest.empty() || rest[0] != '/' ? "/" : "") + rest;
    return rest;
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

std::uint32_t PosixFileSystem::attributes(const std::string& path)
{
    std::string host = hostPath(path);
    Description found;
    if (host.empty() || !describe(host, lastElement(path), found))
        return platform::invalidAttributes;
    return found.attributes;
}

std::optional<std::uint64_t> PosixFileSystem::lastWriteTime(const std::string& path)
{
    const std::string host = hostPath(path);
    struct stat info;
    if (host.empty() || ::lstat(host.c_str(), &info) != 0 || S_ISLNK(info.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u + static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
}

std::string PosixFileSystem::finalPath(const std::string& folder)
{
    const std::string host = hostPath(folder);
    const std::string real = host.empty() ? std::string() : realPath(host);
    const std::string drive = realPath(driveFolder_);
    // Only what lies on the drive has a name in the program's terms.
    if (real.empty() || drive.empty() || real.compare(0, drive.size(), drive) != 0 ||
        (real.size() > drive.size() && real[drive.size()] != '/'))
        return {};
    std::string final = std::string(1, static_cast<char>(drive_ - 'a' + 'A')) + ":" + real.substr(drive.size());
    for (char& c : final)
        if (c == '/')
            c = '\\';
    return final.size() == 2 ? final + "\\" : final;
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
        if (host.empty() || !describe(host, name, found))
            return false;
    }
    last_.hostPath.clear();
    // A link's final path is elsewhere: it is never deleted or removed through.
    return (found.attributes & platform::faReparsePoint) == 0;
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
            if (platform::sameIgnoringCase(names[i], names[j]))
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

FileContent PosixFileSystem::readFrom(const std::string& path, std::uint32_t limit, bool whole)
{
    std::string host = hostPath(path);
    if (host.empty())
        return failure(platform::errorPathNotFound);
    int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        // Windows tells a missing folder on the way from a missing file.
        struct stat folder;
        const std::size_t cut = host.find_last_of('/');
        if (error == ENOENT && cut != std::string::npos &&
            (::stat(host.substr(0, std::max<std::size_t>(cut, 1)).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)))
            return failure(platform::errorPathNotFound);
        return failure(windowsError(error));
    }
    std::unique_ptr<int, void (*)(int*)> closer(&fd, [](int* f) { ::close(*f); });

    struct stat info;
    if (::fstat(fd, &info) != 0)
        return failure(windowsError(errno));
    if (S_ISDIR(info.st_mode))
        return failure(platform::errorAccessDenied);
    if (whole && info.st_size > static_cast<off_t>(limit))
        return failure(platform::errorNotEnoughMemory);

    FileContent content;
    try {
        content.bytes.resize(static_cast<std::size_t>(std::min<off_t>(info.st_size, limit)));
    } catch (const std::bad_alloc&) {
        return failure(platform::errorNotEnoughMemory);
    }
    std::size_t done = 0;
    while (done < content.bytes.size()) {
        ssize_t n = ::read(fd, content.bytes.data() + done, content.bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(windowsError(errno));
        if (n == 0 && !whole) {
            content.bytes.resize(done);
            break;
        }
        if (n == 0)
            return failure(platform::errorHandleEof); // the file shrank while it was read
        done += static_cast<std::size_t>(n);
    }
    content.ok = true;
    return content;
}

FileContent PosixFileSystem::readWholeFile(const std::string& path)
{
    return readFrom(path, INT32_MAX, true);
}

FileContent PosixFileSystem::readFileStart(const std::string& path, std::uint32_t maxBytes)
{
    return readFrom(path, maxBytes, false);
}

std::string PosixFileSystem::currentDirectory()
{
    std::string root = std::string(1, static_cast<char>(drive_ - 'a' + 'A')) + ":\\";
    std::string cwd = realPath(".");
    std::string base = realPath(driveFolder_);
    if (cwd.empty() || base.empty() || cwd.compare(0, base.size(), base) != 0)
        return root;
    std::string rest = cwd.substr(base.size());
    if (!rest.empty() && rest[0] != '/')
        return root; // a sibling folder that merely starts with the same name
    while (!rest.empty() && rest[0] == '/')
        rest.erase(0, 1);
    for (char& c : rest)
        if (c == '/')
            c = '\\';
    return root + rest;
}
