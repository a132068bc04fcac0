// The file-system service on POSIX files, with Windows path and search rules:
// set-up, host paths, attributes, times and final paths. The delete rule is in
// PosixFileDeletes, the search in PosixFileListing, the reads in PosixFileReads.
#include "platform/posix/PosixFileSystem.h"

#include "platform/PathText.h"

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

std::string lastElement(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    std::size_t cut = trimmed.find_last_of("\\/:");
    return cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

std::string realPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

} // namespace

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
