// Whole-file reads and reads of a file's start on POSIX files, failing with the
// error codes Windows gives.
#include "platform/posix/PosixFileSystem.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

using platform::FileContent;

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

} // namespace

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
