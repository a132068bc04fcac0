// Win32 only. Private-profile files.
#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include <vector>

std::string Win32Profile::readString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& fallback,
                                     std::size_t bufferSize)
{
    if (bufferSize == 0)
        return {};
    std::vector<char> buffer(bufferSize, '\0');
    DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                              static_cast<DWORD>(bufferSize), file.c_str());
    return std::string(buffer.data(), length);
}

bool Win32Profile::writeString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value)
{
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}
