// Win32 only. A fresh folder under the temporary folder, removed with what it
// holds, and whole-file helpers; all take absolute paths of any length.
#pragma once

#include <windows.h>

#include <string>

// Text of the tests (in the ANSI calls' code page) as wide text.
inline std::wstring wideText(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                             static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wide;
}

// An absolute path as the wide calls take it at any length, and with its last
// name whole (a trailing dot or blank stays).
inline std::wstring kernelPath(const std::string& path)
{
    return L"\\\\?\\" + wideText(path);
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

// A symbolic link to a file or a folder, made as the system makes it; under
// Wine, whose call makes none, by the host: cmake/link-maker, which ctest runs
// before the Windows tests, serves requests left in C:\nomblet-links. Answers
// "" once made, else why not.
inline std::string makeLink(const std::string& link, const std::string& target, bool folder)
{
    const std::wstring wideLink = kernelPath(link), wideTarget = wideText(target);
    if (::CreateSymbolicLinkW(wideLink.c_str(), wideTarget.c_str(), folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) &&
        ::GetFileAttributesW(wideLink.c_str()) != INVALID_FILE_ATTRIBUTES)
        return {};
    using UnixNameCall = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixNameCall>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return "no privilege to make a symbolic link";
    const std::string requests = "C:\\nomblet-links";
    if (::GetFileAttributesW(kernelPath(requests).c_str()) == INVALID_FILE_ATTRIBUTES)
        return "no link maker (ctest runs cmake/link-maker start before the Windows tests)";
    char* unixLink = unixName(wideText(link).c_str());
    char* unixTarget = unixName(wideTarget.c_str());
    const std::string request = std::string(unixLink ? unixLink : "") + "\n" + (unixTarget ? unixTarget : "") + "\n";
    ::HeapFree(::GetProcessHeap(), 0, unixLink);
    ::HeapFree(::GetProcessHeap(), 0, unixTarget);
    // Written aside, then renamed: the maker never reads half a request.
    static int serial = 0;
    const std::string name =
        requests + "\\" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial);
    writeWholeFile(name + ".part", request);
    if (!::MoveFileW(kernelPath(name + ".part").c_str(), kernelPath(name + ".request").c_str()))
        return "the request could not be left for the link maker";
    for (int waited = 0; waited < 400 && ::GetFileAttributesW(kernelPath(name + ".request").c_str()) !=
                                             INVALID_FILE_ATTRIBUTES;
         ++waited)
        ::Sleep(50);
    return ::GetFileAttributesW(wideLink.c_str()) != INVALID_FILE_ATTRIBUTES ? "" : "the host's link maker made no link";
}
