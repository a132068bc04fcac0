// Win32 only. The floor that Clear IE Cache is measured against: empties a
// folder tree with nothing but the system's calls (one listing per folder, one
// delete per file, one remove per folder, wide calls) and keeps the folder
// itself, as the command does (bench/wine_cleanup.sh).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Counts {
    unsigned long files = 0;
    unsigned long folders = 0;
};

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
        const std::wstring path = folder + L"\\" + name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            continue; // never through a link
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            subfolders.push_back(path);
        else
            counts.files += ::DeleteFileW(path.c_str()) != FALSE;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    for (const std::wstring& subfolder : subfolders) {
        empty(subfolder, counts);
        counts.folders += ::RemoveDirectoryW(subfolder.c_str()) != FALSE;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: nomblet_wine_floor FOLDER\n");
        return 2;
    }
    std::wstring folder(MAX_PATH, L'\0');
    int length = ::MultiByteToWideChar(CP_ACP, 0, argv[1], -1, folder.data(), MAX_PATH);
    if (length <= 1)
        return 2;
    folder.resize(static_cast<std::size_t>(length - 1));
    Counts counts;
    empty(folder, counts);
    std::printf("%lu files, %lu folders\n", counts.files, counts.folders);
    return 0;
}
