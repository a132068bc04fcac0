// Win32 only. The floor that the program's deletes are measured against: empties
// a folder tree with nothing but the system's calls (one listing per folder, one
// delete per file, one remove per folder, wide calls) and keeps the folder
// itself, as Clear IE Cache and the munch do (bench/wine_cleanup.sh,
// bench/wine_munch.sh). Each delete is checked as the program checks it: the
// entry opened for deletion, its final path compared with the folder's (taken
// once) and its name, then deleted through that handle. --plain: the plain
// calls on the joined names, unchecked. --except NAME: site data's floor
// (bench/wine_site_data.sh): each subfolder of the folder but NAME (a kept
// origin) emptied and removed, checked.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Counts {
    unsigned long files = 0;
    unsigned long folders = 0;
};

bool checked = true;

// The final path of an open handle without "\\?\" (paths here stay short).
std::wstring finalPathOf(HANDLE handle)
{
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = ::GetFinalPathNameByHandleW(handle, buffer, MAX_PATH * 2, 0);
    if (length == 0 || length >= MAX_PATH * 2)
        return {};
    std::wstring final(buffer, length);
    return final.compare(0, 4, L"\\\\?\\") == 0 ? final.substr(4) : final;
}

bool remove(const std::wstring& folder, const std::wstring& name, bool isFolder)
{
    const std::wstring path = folder + L"\\" + name;
    if (!checked)
        return (isFolder ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str())) != FALSE;
    HANDLE handle = ::CreateFileW((L"\\\\?\\" + path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  isFolder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring final = finalPathOf(handle);
    FILE_DISPOSITION_INFO disposition{TRUE};
    const bool done = ::CompareStringOrdinal(final.c_str(), static_cast<int>(final.size()), path.c_str(),
                                             static_cast<int>(path.size()), TRUE) == CSTR_EQUAL &&
                      ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
    ::CloseHandle(handle);
    return done;
}

void empty(const std::wstring& folder, Counts& counts)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> subfolders;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            continue; // never through a link
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            subfolders.push_back(name);
        else
            counts.files += remove(folder, name, false);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    for (const std::wstring& subfolder : subfolders) {
        empty(folder + L"\\" + subfolder, counts);
        counts.folders += remove(folder, subfolder, true);
    }
}

// Every subfolder of folder but keep removed whole, as origins go.
void removeAllBut(const std::wstring& folder, const std::wstring& keep, Counts& counts)
{
    std::vector<std::wstring> subfolders;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                FILE_ATTRIBUTE_DIRECTORY && name != L"." && name != L".." && name != keep)
            subfolders.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    for (const std::wstring& subfolder : subfolders) {
        empty(folder + L"\\" + subfolder, counts);
        counts.folders += remove(folder, subfolder, true);
    }
}

// ANSI text as the program's wide form; empty when it has none.
std::wstring wide(const char* text)
{
    std::wstring result(MAX_PATH, L'\0');
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), MAX_PATH);
    result.resize(length > 1 ? static_cast<std::size_t>(length - 1) : 0);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    checked = !(argc == 3 && std::strcmp(argv[1], "--plain") == 0);
    const bool except = argc == 4 && std::strcmp(argv[1], "--except") == 0;
    if (argc != (except ? 4 : checked ? 2 : 3)) {
        std::fprintf(stderr, "usage: nomblet_wine_floor [--plain | --except NAME] FOLDER\n");
        return 2;
    }
    std::wstring folder = wide(argv[argc - 1]);
    if (folder.empty())
        return 2;
    if (checked) {
        // The folder taken where it is, once.
        HANDLE handle = ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return 2;
        folder = finalPathOf(handle);
        ::CloseHandle(handle);
    }
    Counts counts;
    if (except)
        removeAllBut(folder, wide(argv[2]), counts);
    else
        empty(folder, counts);
    std::printf("%lu files, %lu folders\n", counts.files, counts.folders);
    return 0;
}
