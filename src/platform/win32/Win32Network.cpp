// Win32 only. Host name and addresses over Winsock 1.1.
#include "platform/win32/Win32Network.h"

#include <winsock.h>

void Win32Network::socketsStartup(std::uint16_t version)
{
    WSADATA data;
    ::WSAStartup(version, &data);
}

void Win32Network::socketsCleanup()
{
    ::WSACleanup();
}

std::string Win32Network::hostName(std::size_t bufferSize)
{
    std::string buffer(bufferSize, '\0');
    if (::gethostname(buffer.data(), static_cast<int>(bufferSize)) != 0)
        return {};
    buffer.resize(buffer.find('\0') == std::string::npos ? bufferSize : buffer.find('\0'));
    return buffer;
}

std::optional<std::vector<std::string>> Win32Network::hostAddresses(const std::string& name)
{
    hostent* entry = ::gethostbyname(name.c_str());
    if (!entry)
        return std::nullopt;
    std::vector<std::string> addresses;
    for (char** address = entry->h_addr_list; address && *address; ++address)
        addresses.emplace_back(::inet_ntoa(*reinterpret_cast<in_addr*>(*address)));
    return addresses;
}
