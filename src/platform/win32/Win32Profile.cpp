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

std::vector<std::string> Win32Profile::readKeyNames(const std::string& file, const std::string& section)
{
    // Names end in a null each and the list in two. A buffer too small is
    // filled to its size less two, the last name cut: a larger one is tried.
    constexpr std::size_t largest = 16 * 1024 * 1024;
    for (std::size_t size = 4096;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = ::GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                                        static_cast<DWORD>(size), file.c_str());
        const bool cut = length + 2 >= size;
        if (cut && size < largest)
            continue;
        std::vector<std::string> names;
        std::size_t start = 0;
        for (std::size_t i = 0; i < length; ++i) {
            if (buffer[i] != '\0')
                continue;
            names.emplace_back(buffer.data() + start, i - start);
            start = i + 1;
        }
        // A name the buffer ended in the middle of is no name of the file.
        if (start < length && !cut)
            names.emplace_back(buffer.data() + start, length - start);
        return names;
    }
}

bool Win32Profile::removeKey(const std::string& file, const std::string& section, const std::string& key)
{
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != FALSE;
}
