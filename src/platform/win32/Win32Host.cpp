// Win32 only. Host name and addresses, the system's folders, full paths, lead bytes, shell open.
#include "platform/win32/Win32Host.h"

#include <winsock.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/Win32Paths.h"

#include <cstring>

void Win32Host::socketsStartup(std::uint16_t version)
{
    WSADATA data;
    ::WSAStartup(version, &data);
}

void Win32Host::socketsCleanup()
{
    ::WSACleanup();
}

std::string Win32Host::hostName(std::size_t bufferSize)
{
    std::string buffer(bufferSize, '\0');
    if (::gethostname(buffer.data(), static_cast<int>(bufferSize)) != 0)
        return {};
    buffer.resize(buffer.find('\0') == std::string::npos ? bufferSize : buffer.find('\0'));
    return buffer;
}

std::optional<std::vector<std::string>> Win32Host::hostAddresses(const std::string& name)
{
    hostent* entry = ::gethostbyname(name.c_str());
    if (!entry)
        return std::nullopt;
    std::vector<std::string> addresses;
    for (char** address = entry->h_addr_list; address && *address; ++address)
        addresses.emplace_back(::inet_ntoa(*reinterpret_cast<in_addr*>(*address)));
    return addresses;
}

std::string Win32Host::windowsDirectory(std::size_t maxChars)
{
    std::string buffer(maxChars + 1, '\0');
    ::GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(maxChars));
    return buffer.substr(0, buffer.find('\0'));
}

std::vector<std::string> Win32Host::systemFolders()
{
    std::vector<std::string> folders;
    auto keep = [&](const char* text, UINT length) {
        if (length > 0 && length < MAX_PATH)
            folders.emplace_back(text, length);
    };
    char buffer[MAX_PATH];
    keep(buffer, ::GetWindowsDirectoryA(buffer, MAX_PATH));
    keep(buffer, ::GetSystemDirectoryA(buffer, MAX_PATH));
    keep(buffer, ::GetSystemWindowsDirectoryA(buffer, MAX_PATH));
    // Every folder the shell names, but the three that hold what a browser
    // leaves behind: the user's cookies, Internet cache and history.
    for (int csidl = CSIDL_DESKTOP; csidl <= CSIDL_COMPUTERSNEARME; ++csidl)
        if (csidl != CSIDL_COOKIES && csidl != CSIDL_INTERNET_CACHE && csidl != CSIDL_HISTORY &&
            ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) == S_OK)
            keep(buffer, static_cast<UINT>(std::strlen(buffer)));
    return folders;
}

std::string Win32Host::fullLongPath(const std::string& path)
{
    const std::wstring full = win32paths::fullPath(win32paths::toWide(path));
    if (full.empty())
        return path;
    // Long names where the path exists; a path that does not keeps its full form.
    const std::wstring longer = win32paths::longPath(full);
    // Without the prefix, as the folders of the system are named; converted as
    // the ANSI calls that name them convert.
    return win32paths::toAnsiAsSystem(win32paths::withoutPrefix(longer.empty() ? full : longer));
}

bool Win32Host::isLeadByte(std::uint8_t byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

void Win32Host::shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                          const std::string& directory, int showCommand)
{
    // No operation is the default one, as the shell reads a null verb.
    ::ShellExecuteA(nullptr, operation.empty() ? nullptr : operation.c_str(), file.c_str(),
                    parameters.empty() ? nullptr : parameters.c_str(), directory.empty() ? nullptr : directory.c_str(),
                    showCommand);
}
