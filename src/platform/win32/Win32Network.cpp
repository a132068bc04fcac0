// Win32 only. The machine's addresses over Winsock 1.1.
#include "platform/win32/Win32Network.h"

#include <winsock.h>

namespace {

// The machine's host name, in the buffer the program has always used; empty on failure.
std::string hostName()
{
    constexpr int bufferSize = 64;
    std::string buffer(bufferSize, '\0');
    if (::gethostname(buffer.data(), bufferSize) != 0)
        return {};
    buffer.resize(buffer.find('\0') == std::string::npos ? bufferSize : buffer.find('\0'));
    return buffer;
}

} // namespace

std::vector<std::string> Win32Network::machineAddresses()
{
    WSADATA data;
    ::WSAStartup(MAKEWORD(1, 1), &data);
    std::vector<std::string> addresses;
    // Without a name there is nothing to look up: Winsock would take "" for this machine.
    const std::string name = hostName();
    if (hostent* entry = name.empty() ? nullptr : ::gethostbyname(name.c_str()))
        for (char** address = entry->h_addr_list; address && *address; ++address)
            addresses.emplace_back(::inet_ntoa(*reinterpret_cast<in_addr*>(*address)));
    ::WSACleanup();
    return addresses;
}
