// Win32 only. The file-system service over the kernel's wide file search, attribute,
// delete and read calls.
#pragma once

#include "platform/FileSystem.h"
#include "platform/win32/ScopedHandle.h"

#include <windows.h>

#include <vector>

class Win32FileSystem final : public platform::IFileSystem {
public:
    // With the handle calls of the system (Windows Vista on), loaded at run
    // time so that the program still starts where they are missing.
    Win32FileSystem();
    // As on a system without them (false): plain calls on the joined path.
    explicit Win32FileSystem(bool useHandleCalls);

    void findFiles(const std::string& pattern, const std::function<bool(const platform::FindEntry&)>& visit) override;
    std::uint32_t attributes(const std::string& path) override;
    std::optional<std::uint64_t> lastWriteTime(const std::string& path) override;
    std::string finalPath(const std::string& folder) override;
    bool deleteFile(const std::string& folder, const std::string& name) override;
    bool removeDirectory(const std::string& folder, const std::string& name) override;
    bool canDeleteTogether(const std::string& folder, const std::vector<std::string>& names) override;
    bool deleteTogether(const std::string& folder, const std::vector<std::string>& names) override;
    platform::FileContent readWholeFile(const std::string& path) override;
    platform::FileContent readFileStart(const std::string& path, std::uint32_t maxBytes) override;
    std::string currentDirectory() override;

private:
    using FinalPathCall = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    using SetInformationCall = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
    using QueryObjectCall = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);

    // The final path of an open handle, without "\\?\"; empty when it cannot be had.
    std::wstring finalPathOf(HANDLE handle) const;
    // The kernel's name of an open handle, when it is a DOS path; empty otherwise.
    std::wstring objectName(HANDLE handle) const;
    // Deletes or removes a listed entry, by the rule the system allows.
    bool deleteListed(const std::string& folder, const std::string& name, bool isFolder) const;
    // The listed entry opened for deletion, only when it is that very entry (and, for a
    // folder, a folder); empty otherwise. Every delete of a listed entry opens it here.
    ScopedFile openListed(const std::string& folder, const std::string& name, bool isFolder) const;
    // Sets or clears the mark that deletes an open entry once its last handle closes.
    bool markForDeletion(HANDLE handle, bool deleted) const;
    // Every one of the listed files opened by openListed, or none when one of them cannot be.
    std::vector<ScopedFile> openTogether(const std::string& folder, const std::vector<std::string>& names) const;

    FinalPathCall finalPathCall_ = nullptr;
    SetInformationCall setInformationCall_ = nullptr;
    QueryObjectCall queryObjectCall_ = nullptr;
};
