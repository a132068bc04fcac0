// Win32 only. Host name and addresses, the Windows directory, lead bytes, shell open.
#include "platform/win32/Win32Host.h"

#include <winsock.h>
#include <windows.h>
#include <shellapi.h>

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

bool Win32Host::isLeadByte(std::uint8_t byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

void Win32Host::shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                          const std::string& directory, int showCommand)
{
    // No operation is the default one, as the shell reads a null verb.
    ::ShellExecuteA(nullptr, operation.empty() ? nullptr : operation.c_str(), file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                    directory.c_str(), showCommand);
}
