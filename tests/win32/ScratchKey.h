// Win32 only. A fresh registry key under HKEY_CURRENT_USER\Software, removed with its values and keys.
#pragma once

#include <windows.h>

#include <string>

class ScratchKey {
public:
    ScratchKey()
    {
        path_ = "Software\\NombletTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount());
        ::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                          nullptr);
    }
    ~ScratchKey()
    {
        ::RegCloseKey(key_);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::string& path() const { return path_; }
    HKEY key() const { return key_; }

private:
    std::string path_;
    HKEY key_ = nullptr;
};
