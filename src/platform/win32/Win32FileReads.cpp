// Win32 only. Whole-file reads and reads of a file's start, through the wide calls.
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Paths.h"

#include <algorithm>
#include <new>

namespace {

platform::FileContent failure(DWORD error)
{
    platform::FileContent content;
    content.error = error;
    return content;
}

// Reads a file from its start: all of it when whole (failing when it is larger
// than limit or shrinks meanwhile), otherwise at most limit bytes.
platform::FileContent readFrom(const std::string& path, std::uint32_t limit, bool whole)
{
    ScopedFile file(::CreateFileW(win32paths::pathForWideCalls(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file)
        return failure(::GetLastError());

    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size))
        return failure(::GetLastError());
    if (whole && size.QuadPart > limit)
        return failure(ERROR_NOT_ENOUGH_MEMORY);

    platform::FileContent content;
    try {
        content.bytes.resize(static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, limit)));
    } catch (const std::bad_alloc&) {
        return failure(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!content.bytes.empty()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), content.bytes.data(), static_cast<DWORD>(content.bytes.size()), &read, nullptr))
            return failure(::GetLastError());
        if (read != content.bytes.size()) {
            if (whole)
                return failure(ERROR_HANDLE_EOF); // the file shrank between sizing and reading
            content.bytes.resize(read);
        }
    }
    content.ok = true;
    return content;
}

} // namespace

platform::FileContent Win32FileSystem::readWholeFile(const std::string& path)
{
    // The program holds a sound's size in 32 signed bits.
    return readFrom(path, 0x7FFFFFFF, true);
}

platform::FileContent Win32FileSystem::readFileStart(const std::string& path, std::uint32_t maxBytes)
{
    return readFrom(path, maxBytes, false);
}
