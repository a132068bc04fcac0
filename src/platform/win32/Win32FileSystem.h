// Win32 only. The file-system service over the kernel's wide file search, attribute,
// delete and read calls. One class in four files by what they do:
// Win32FileSystem.cpp (set-up, attributes, final paths), Win32FileDeletes.cpp
// (the delete rule), Win32FileListing.cpp (the search), Win32FileReads.cpp.
#pragma once

#include "platform/FileSystem.h"
#include "platform/win32/ScopedHandle.h"

#include <windows.h>

#include <map>
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
    using CompareOrdinalCall = int(WINAPI*)(LPCWSTR, int, LPCWSTR, int, BOOL);
    using OpenFileCall = LONG(WINAPI*)(PHANDLE, ACCESS_MASK, PVOID, PVOID, ULONG, ULONG);

    // Whether two entries' information (GetFileInformationByHandle) is of one entry.
    static bool sameEntry(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b);

    // The final path of an open handle, without "\\?\"; empty when it cannot be had.
    std::wstring finalPathOf(HANDLE handle) const;
    // The kernel's name of an open handle, when it is a DOS path; empty otherwise.
    std::wstring objectName(HANDLE handle) const;
    // A wide final path as the program's text: exact when the code page has
    // it, otherwise each name it lacks by a short name that opens that entry
    // (the pair kept, so that deletes there compare with the wide path); empty
    // when even that cannot be had.
    std::string handOut(const std::wstring& final);
    // The wide path that a folder (a final path handed out, or one built from
    // it and listed names) stands for, with the length of its part taken from a
    // final path handed out (the rest is as written).
    std::wstring wideFolder(const std::string& folder, std::size_t& known) const;
    // Whether two wide paths name the same entry as the file system compares names.
    bool sameName(const std::wstring& a, const std::wstring& b) const;
    // The wide path of the entry listed as name in folder, by the rule of
    // deletes (known: as wideFolder); empty when name is not one listed name.
    std::wstring listedPath(const std::string& folder, const std::string& name, std::size_t& known) const;
    // The entry at a full wide path opened for deletion, as a folder or as a
    // file (the other kind does not open); links are followed.
    ScopedFile openForDeletion(const std::wstring& path, bool isFolder) const;
    // Deletes or removes a listed entry, by the rule the system allows.
    bool deleteListed(const std::string& folder, const std::string& name, bool isFolder) const;
    // The per-entry rule of every delete (each delete of a listed entry opens
    // it here): the entry that a search of folder listed as name, opened for
    // deletion, only when its own final path is the folder's final path, "\\",
    // and that name, compared as the file system compares names; a folder only
    // when asked for one. None when it is another entry (a link, a trailing dot
    // lost), is not there or is held without delete sharing. Before Vista (no
    // final paths, no file links) the name, joined whole, is that entry.
    ScopedFile openListed(const std::string& folder, const std::string& name, bool isFolder) const;
    // Sets or clears the mark that deletes an open entry once its last handle closes.
    bool markForDeletion(HANDLE handle, bool deleted) const;
    // Every one of the listed files opened by openListed, or none when one of them cannot be.
    std::vector<ScopedFile> openTogether(const std::string& folder, const std::vector<std::string>& names) const;

    FinalPathCall finalPathCall_ = nullptr;
    SetInformationCall setInformationCall_ = nullptr;
    QueryObjectCall queryObjectCall_ = nullptr;
    CompareOrdinalCall compareOrdinalCall_ = nullptr;
    // NtOpenFile: it opens a folder or a file only as what it was listed as.
    OpenFileCall openFileCall_ = nullptr;
    // Final paths handed out in a form other than their own, by that form.
    std::map<std::string, std::wstring> handedOut_;
};
