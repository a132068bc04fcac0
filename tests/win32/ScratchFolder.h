// Win32 only. A fresh folder under the temporary folder, removed with what it
// holds, and whole-file helpers; all take absolute paths of any length.
#pragma once

#include <windows.h>

#include <string>

// An absolute ASCII path as the wide calls take it at any length, and with
// its last name whole (a trailing dot or blank stays).
inline std::wstring kernelPath(const std::string& path)
{
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "nomblet-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount());
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { removeTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    static void removeTree(const std::string& folder)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW(kernelPath(folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring wide = data.cFileName;
                if (wide == L"." || wide == L"..")
                    continue;
                // Names the tests make outside ASCII go by their short names.
                const std::wstring shortName = data.cAlternateFileName;
                const std::wstring& name = shortName.empty() ? wide : shortName;
                const std::string full = folder + "\\" + std::string(name.begin(), name.end());
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    removeTree(full);
                } else {
                    ::SetFileAttributesW(kernelPath(full).c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(kernelPath(full).c_str());
                }
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(kernelPath(folder).c_str());
    }

    std::string path_;
};

// The whole content of a file, or empty.
inline std::string readWholeFile(const std::string& path)
{
    std::string text;
    HANDLE file =
        ::CreateFileW(kernelPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

inline void writeWholeFile(const std::string& path, const std::string& text)
{
    HANDLE file = ::CreateFileW(kernelPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

// A symbolic link to a file, made as the system makes it; under Wine, whose
// call does nothing, by the host's own "ln". Answers "" once made, else why not.
inline std::string makeFileLink(const std::string& link, const std::string& target)
{
    const std::wstring wideLink(link.begin(), link.end()), wideTarget(target.begin(), target.end());
    if (::CreateSymbolicLinkW(wideLink.c_str(), wideTarget.c_str(), 0) &&
        ::GetFileAttributesW(wideLink.c_str()) != INVALID_FILE_ATTRIBUTES)
        return {};
    using UnixNameCall = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixNameCall>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return "no privilege to make a symbolic link";
    char* unixLink = unixName(wideLink.c_str());
    char* unixTarget = unixName(wideTarget.c_str());
    std::string command = std::string("/bin/ln -s \"") + (unixTarget ? unixTarget : "") + "\" \"" +
                          (unixLink ? unixLink : "") + "\"";
    ::HeapFree(::GetProcessHeap(), 0, unixLink);
    ::HeapFree(::GetProcessHeap(), 0, unixTarget);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA("Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return "the host's ln could not be started";
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return ::GetFileAttributesW(wideLink.c_str()) != INVALID_FILE_ATTRIBUTES ? "" : "the link was not made";
}
