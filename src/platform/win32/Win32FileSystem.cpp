// Win32 only. File search, attributes, deletion and whole-file reads.
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/ScopedHandle.h"

#include <new>
#include <vector>

namespace {

platform::FindEntry entryOf(const WIN32_FIND_DATAA& data)
{
    return {data.cFileName, data.dwFileAttributes, data.nFileSizeLow};
}

platform::FileContent failure(DWORD error)
{
    platform::FileContent content;
    content.error = error;
    return content;
}

} // namespace

void Win32FileSystem::findFiles(const std::string& pattern,
                                const std::function<bool(const platform::FindEntry&)>& visit)
{
    // One entry at a time: the caller may delete what it has been shown.
    WIN32_FIND_DATAA data;
    ScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return;
    do {
        if (!visit(entryOf(data)))
            return;
    } while (::FindNextFileA(find.get(), &data));
}

std::uint32_t Win32FileSystem::attributes(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str());
}

bool Win32FileSystem::deleteFile(const std::string& path)
{
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::removeDirectory(const std::string& path)
{
    return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

platform::FileContent Win32FileSystem::readWholeFile(const std::string& path)
{
    ScopedFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return failure(::GetLastError());

    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.get(), &size))
        return failure(::GetLastError());
    // The program holds a sound's size in 32 signed bits.
    if (size.QuadPart > 0x7FFFFFFF)
        return failure(ERROR_NOT_ENOUGH_MEMORY);

    platform::FileContent content;
    try {
        content.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return failure(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!content.bytes.empty()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), content.bytes.data(), static_cast<DWORD>(content.bytes.size()), &read, nullptr))
            return failure(::GetLastError());
        // The file shrank between sizing and reading.
        if (read != content.bytes.size())
            return failure(ERROR_HANDLE_EOF);
    }
    content.ok = true;
    return content;
}

std::string Win32FileSystem::currentDirectory()
{
    DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    if (needed == 0)
        return {};
    std::vector<char> buffer(needed, '\0');
    DWORD length = ::GetCurrentDirectoryA(needed, buffer.data());
    if (length == 0 || length >= needed)
        return {};
    return std::string(buffer.data(), length);
}
